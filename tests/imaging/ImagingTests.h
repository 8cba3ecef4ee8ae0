#pragma once
// What the imaging tests share: the error a reader raises, and where the test data lives.
#include "imaging/GraphicColor.h"
#include "imaging/GraphicCompression.h"
#include "platform/Bitmap.h"
#include "platform/ByteIO.h"

#include <cstdlib>
#include <filesystem>
#include <string>

// The message of an error a reader or the colour manager raises on bad input, or "" when
// the call succeeds. Any other exception passes on and fails the test.
template <class F>
std::string ReaderError(F&& call)
{
    try {
        call();
    } catch (const ReadError& e) {
        return e.what();
    } catch (const EInvalidGraphic& e) {
        return e.what();
    } catch (const EGraphicCompression& e) {
        return e.what();
    } catch (const EColorConversionError& e) {
        return e.what();
    }
    return "";
}

// tests/data, as ctest names it, else found beside this file when a test runs by hand.
inline std::filesystem::path TestData()
{
    const char* data = std::getenv("TILVENNA_TEST_DATA");
    return data ? std::filesystem::path(data) : std::filesystem::path(__FILE__).parent_path().parent_path() / "data";
}
