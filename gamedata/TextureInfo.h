#pragma once
// What a texture loader found out about a texture.
#include <cstdint>

struct TextureInfo {
    // 0 custom TGA in the tileset folder, 1 custom DDS there, 2 TGA from the game archives,
    // -1 not found.
    int32_t status = -1;
    // From the TGA header; meaningful for statuses 0 and 2 only.
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t bits = 0;
};
