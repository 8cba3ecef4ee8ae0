#pragma once
// Byte-string helpers shared by every layer. Texts are bytes as the files hold them;
// letter case is folded for ASCII only.
#include <stdexcept>
#include <string>
#include <string_view>

// Raised when a text that is not a number is converted to one.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

char LowerAscii(char c);
std::string LowerAscii(std::string_view s);
std::string UpperAscii(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
// True when the first n characters of text equal the first n of key, ignoring case.
// A text shorter than n never matches.
bool StartsWithNoCase(std::string_view text, std::string_view key, std::size_t n);
bool StartsWithNoCase(std::string_view text, std::string_view key);

// Whole-text conversions: blanks around the number are allowed, anything else raises
// EConvertError, as does a number outside the 32-bit range.
int StrToInt(std::string_view s);
double StrToFloat(std::string_view s);
bool TryStrToInt(std::string_view s, int& out);
std::string IntToStr(long long v);

// The number at the start of a text: blanks skipped, optional sign, digits up to the first
// non-digit; 0 when there are none. Saturates at the 32-bit limits.
int LeadingInt(std::string_view s);

// printf into a std::string.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
