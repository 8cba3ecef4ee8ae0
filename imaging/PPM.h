#pragma once
// The portable map family: bitmaps, grey maps and pixel maps, P1 to P6, each in a text and
// a binary form. The text header is parsed through a small buffered character reader and
// pixels go straight into the bitmap's rows; samples of any maximum value (up to 65535,
// two bytes big-endian above 255) are scaled to 0..255.
#include "imaging/RasterGraphics.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TPPMGraphic : public TRasterGraphic {
public:
    static const GraphicClass& Class();
    // True when the stream starts with "P" and a kind digit from 1 to 6; the stream is left
    // where it was.
    static bool CanLoad(Stream& stream);
    static bool CanLoad(const std::string& fileName) { return CanLoadFile(Class(), fileName); }

    // Reads the header from the stream's position: the kind, the size and the maximum value.
    // True for "P" and any kind digit (kinds this reader cannot load fail in the load).
    bool ReadImageProperties(Stream& stream, uint32_t imageIndex) override;
    void LoadFromStream(Stream& stream) override;

    // The character reader over the stream being loaded.
    uint8_t GetChar();
    // The next character without taking it; 0 at the end of the data.
    uint8_t CurrentChar();
    // The next decimal number, skipping anything before it and comments.
    uint32_t GetNumber();
    // The rest of the current line, without its line end or any comment.
    std::string ReadLine();

private:
    bool fill();
    bool more();   // a character is there to take
    uint64_t bytesLeft();
    void readBytes(uint8_t* target, std::size_t count);
    uint8_t getBit();
    void loadRows();

    static constexpr std::size_t BufferSize = 4096;
    std::array<uint8_t, BufferSize> buffer_{};
    std::size_t index_ = 0, filled_ = 0;   // index_ == filled_: the buffer is empty
    int kind_ = 0;
    uint32_t maxValue_ = 0;
    std::vector<uint8_t> scale_;   // a sample up to the maximum value to 0..255
};
