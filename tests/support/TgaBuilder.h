#pragma once
// An 18-byte Targa header laid out byte by byte (little-endian fields), so tests build their
// files without the reader's own header code. Origins are 0.
#include <cstdint>
#include <string>

inline std::string TgaHeader(uint8_t type, uint16_t width, uint16_t height, uint8_t bits, uint8_t descriptor = 0,
                             uint8_t idLength = 0, uint8_t mapType = 0, uint16_t mapLength = 0, uint8_t mapBits = 0)
{
    auto le = [](uint16_t v) { return std::string{char(v & 0xFF), char(v >> 8)}; };
    return std::string{char(idLength), char(mapType), char(type)} + le(0) + le(mapLength) + char(mapBits) + le(0) +
           le(0) + le(width) + le(height) + char(bits) + char(descriptor);
}
