// The row converters of the colour manager: one row (or one interlace pass of a row) from the
// file's samples into the target bitmap's pixels.
#include "imaging/GraphicColor.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

uint16_t rd16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
void wr16(uint8_t* p, uint16_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
uint16_t up(uint16_t v) { return MulDiv16(v, 65535, 255); }
uint16_t down(uint16_t v) { return MulDiv16(v, 255, 65535); }
uint16_t swapped(uint16_t v) { return uint16_t((v >> 8) | (v << 8)); }
bool colourDepth(uint8_t bits) { return bits == 8 || bits == 16; }

// Calls f(selected) for every target pixel; the selector bit walks 0x80, 0x40, ... 0x01, 0x80.
template <class F>
void walk(uint32_t count, uint8_t mask, F&& f)
{
    if (mask == 0xFF) {
        for (uint32_t i = 0; i < count; ++i)
            f(true);
        return;
    }
    uint8_t selector = 0x80;
    for (uint32_t i = 0; i < count; ++i) {
        f((mask & selector) != 0);
        selector = uint8_t((selector >> 1) | (selector << 7));
    }
}

// Source component pointers of the colour members: planes when there is more than one
// pointer (or exactly `planarCount` when given), else consecutive samples at Source[0].
struct Components {
    const uint8_t* p[4] = {};
    std::size_t stride = 0;
    bool valid = false;
};

Components components(const void* const* s, std::size_t n, int channels, bool alpha, int sampleBytes, bool planar)
{
    Components c;
    int wanted = channels + (alpha ? 1 : 0);
    if (n == 0 || !s[0])
        return c;
    if (planar) {
        if (int(n) < channels)
            return c;
        for (int k = 0; k < channels; ++k)
            c.p[k] = static_cast<const uint8_t*>(s[k]);
        if (alpha && int(n) > channels)
            c.p[channels] = static_cast<const uint8_t*>(s[channels]);
        c.stride = std::size_t(sampleBytes);
    } else {
        auto* base = static_cast<const uint8_t*>(s[0]);
        for (int k = 0; k < wanted; ++k)
            c.p[k] = base + k * sampleBytes;
        c.stride = std::size_t(wanted * sampleBytes);
    }
    c.valid = true;
    return c;
}

// Every pixel, bytes unchanged: the three components (and alpha, when given) moved into
// place without a call per sample. Kept apart so that the pointers live in registers.
void moveBytes(const uint8_t* first, const uint8_t* second, const uint8_t* third, const uint8_t* alpha,
               std::size_t step, uint8_t* out, std::size_t outStep, uint32_t count)
{
    if (alpha) {
        for (uint32_t i = 0; i < count; ++i, out += outStep) {
            std::size_t at = std::size_t(i) * step;
            out[0] = first[at], out[1] = second[at], out[2] = third[at], out[3] = alpha[at];
        }
        return;
    }
    for (uint32_t i = 0; i < count; ++i, out += outStep, first += step, second += step, third += step) {
        uint8_t a = *first, b = *second, c = *third;
        out[0] = a, out[1] = b, out[2] = c;
    }
}

} // namespace

void TColorManager::rgbFamily(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask, bool exchange)
{
    if (!colourDepth(sourceBPS_) || !colourDepth(targetBPS_))
        return;
    bool sourceAlpha = SourceOptions & coAlpha, targetAlpha = TargetOptions & coAlpha;
    int sb = sourceBPS_ / 8, tb = targetBPS_ / 8;
    Components c = components(s, n, 3, sourceAlpha, sb, n > 1);
    if (!c.valid)
        return;
    bool copyAlpha = sourceAlpha && targetAlpha && c.p[3];
    std::size_t targetStride = std::size_t((targetAlpha ? 4 : 3) * tb);
    int o0 = exchange ? 2 : 0, o2 = exchange ? 0 : 2;
    auto* out = static_cast<uint8_t*>(t);
    bool gamma = TargetOptions & coApplyGamma, swap = SourceOptions & coNeedByteSwap;
    auto c8 = gamma ? &TColorManager::ComponentGammaConvert : &TColorManager::ComponentNoConvert8;
    auto c16 = swap ? &TColorManager::ComponentSwapConvert : &TColorManager::ComponentNoConvert16;
    auto d = gamma ? (swap ? &TColorManager::ComponentSwapScaleGammaConvert : &TColorManager::ComponentScaleGammaConvert)
                   : (swap ? &TColorManager::ComponentSwapScaleConvert : &TColorManager::ComponentScaleConvert);
    const uint8_t *p0 = c.p[0], *p1 = c.p[1], *p2 = c.p[2], *pa = c.p[3];

    auto advance = [&] {
        p0 += c.stride, p1 += c.stride, p2 += c.stride;
        if (pa)
            pa += c.stride;
    };
    if (sb == 1 && tb == 1) {
        if (!gamma && !exchange && !copyAlpha && c.stride == 3 && targetStride == 3 && mask == 0xFF) {
            std::memcpy(out, p0, std::size_t(count) * 3);
            return;
        }
        if (!gamma && mask == 0xFF) {
            moveBytes(exchange ? p2 : p0, p1, exchange ? p0 : p2, copyAlpha ? pa : nullptr, c.stride, out, targetStride,
                      count);
            return;
        }
        walk(count, mask, [&](bool on) {
            if (on) {
                out[o0] = (this->*c8)(*p0);
                out[1] = (this->*c8)(*p1);
                out[o2] = (this->*c8)(*p2);
                if (copyAlpha)
                    out[3] = *pa;
                advance();
            }
            out += targetStride;
        });
    } else if (sb == 1) {
        walk(count, mask, [&](bool on) {
            if (on) {
                wr16(out + 2 * o0, (this->*c16)(up((this->*c8)(*p0))));
                wr16(out + 2, (this->*c16)(up((this->*c8)(*p1))));
                wr16(out + 2 * o2, (this->*c16)(up((this->*c8)(*p2))));
                if (copyAlpha)
                    wr16(out + 6, (this->*c16)(up(*pa)));
                advance();
            }
            out += targetStride;
        });
    } else if (tb == 1) {
        walk(count, mask, [&](bool on) {
            if (on) {
                out[o0] = (this->*d)(rd16(p0));
                out[1] = (this->*d)(rd16(p1));
                out[o2] = (this->*d)(rd16(p2));
                if (copyAlpha)
                    out[3] = uint8_t(down(swap ? swapped(rd16(pa)) : rd16(pa)));
                advance();
            }
            out += targetStride;
        });
    } else {
        walk(count, mask, [&](bool on) {
            if (on) {
                wr16(out + 2 * o0, (this->*c16)(rd16(p0)));
                wr16(out + 2, (this->*c16)(rd16(p1)));
                wr16(out + 2 * o2, (this->*c16)(rd16(p2)));
                if (copyAlpha)
                    wr16(out + 6, (this->*c16)(rd16(pa)));
                advance();
            }
            out += targetStride;
        });
    }
}

void TColorManager::RowConvertBGR2BGR(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask)
{
    rgbFamily(s, n, t, count, mask, false);
}

void TColorManager::RowConvertBGR2RGB(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask)
{
    rgbFamily(s, n, t, count, mask, true);
}

void TColorManager::RowConvertRGB2BGR(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask)
{
    rgbFamily(s, n, t, count, mask, true);
}

void TColorManager::RowConvertRGB2RGB(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask)
{
    rgbFamily(s, n, t, count, mask, false);
}

// Writes red, green and blue bytes (or words) in the target's order.
namespace {
void putColour(uint8_t* out, int targetBytes, bool bgr, uint16_t r, uint16_t g, uint16_t b)
{
    if (bgr)
        std::swap(r, b);
    if (targetBytes == 1) {
        out[0] = uint8_t(r), out[1] = uint8_t(g), out[2] = uint8_t(b);
    } else {
        wr16(out, r), wr16(out + 2, g), wr16(out + 4, b);
    }
}
} // namespace

void TColorManager::cmykFamily(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask, bool bgr)
{
    if (!colourDepth(sourceBPS_) || !colourDepth(targetBPS_))
        return;
    int sb = sourceBPS_ / 8, tb = targetBPS_ / 8;
    Components c = components(s, n, 4, false, sb, n == 4);
    if (!c.valid)
        return;
    std::size_t targetStride = std::size_t(((TargetOptions & coAlpha) ? 4 : 3) * tb);
    auto* out = static_cast<uint8_t*>(t);
    const uint8_t* p[4] = {c.p[0], c.p[1], c.p[2], c.p[3]};
    // Big-endian 16-bit samples (TIFF "MM" files) are turned round like those of the others.
    bool swap = SourceOptions & coNeedByteSwap;
    auto word = [swap](const uint8_t* q) { return swap ? swapped(rd16(q)) : rd16(q); };
    walk(count, mask, [&](bool on) {
        if (on) {
            uint16_t v[3];
            if (sb == 1) {
                uint8_t k = *p[3];
                for (int i = 0; i < 3; ++i) {
                    uint8_t x = *p[i];
                    uint8_t value = ClampByte(255 - (x - MulDiv16(x, k, 255) + k));
                    v[i] = tb == 1 ? value : up(value);
                }
            } else {
                uint16_t k = word(p[3]);
                for (int i = 0; i < 3; ++i) {
                    uint16_t x = word(p[i]);
                    uint16_t sum = uint16_t(x - MulDiv16(x, k, 65535) + k);
                    v[i] = tb == 1 ? ClampByte(255 - down(sum)) : uint16_t(65535 - sum);
                }
            }
            putColour(out, tb, bgr, v[0], v[1], v[2]);
            for (auto& q : p)
                q += c.stride;
        }
        out += targetStride;
    });
}

void TColorManager::RowConvertCMYK2BGR(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask)
{
    cmykFamily(s, n, t, count, mask, true);
}

void TColorManager::RowConvertCMYK2RGB(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask)
{
    cmykFamily(s, n, t, count, mask, false);
}

void TColorManager::labFamily(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask, bool bgr)
{
    if (!colourDepth(sourceBPS_) || !colourDepth(targetBPS_))
        return;
    int sb = sourceBPS_ / 8, tb = targetBPS_ / 8;
    Components c = components(s, n, 3, false, sb, n > 1);
    if (!c.valid)
        return;
    std::size_t targetStride = std::size_t(((TargetOptions & coAlpha) ? 4 : 3) * tb);
    auto* out = static_cast<uint8_t*>(t);
    const uint8_t *pl = c.p[0], *pa = c.p[1], *pb = c.p[2];
    bool byteRange = SourceOptions & coLabByteRange, chromaOffset = SourceOptions & coLabChromaOffset;
    bool swap = SourceOptions & coNeedByteSwap;
    auto word = [swap](const uint8_t* q) { return swap ? swapped(rd16(q)) : rd16(q); };
    auto toByte = [](long double v) {
        v = std::nearbyint(v * 255);
        return ClampByte(v < -1 ? -1 : v > 256 ? 256 : int32_t(v));
    };
    walk(count, mask, [&](bool on) {
        if (on) {
            long double L, a, b;
            if (sb == 1) {
                L = *pl;
                if (byteRange)
                    L /= 2.55L;
                a = chromaOffset ? *pa - 128 : int8_t(*pa);
                b = chromaOffset ? *pb - 128 : int8_t(*pb);
            } else {
                // 16-bit samples: L spans 0..100 over the whole word, a and b count in
                // 1/256 steps (signed, or offset by 32768 with the chroma offset).
                L = word(pl) * 100.0L / 65535;
                a = chromaOffset ? (word(pa) - 32768) / 256.0L : int16_t(word(pa)) / 256.0L;
                b = chromaOffset ? (word(pb) - 32768) / 256.0L : int16_t(word(pb)) / 256.0L;
            }
            long double f = (L + 16) / 116, X, Y, Z;
            if (L < 7.9996L) {
                Y = L / 903.3L;
                X = a / 3893.5L + Y;
                Z = Y - b / 1557.4L;
            } else {
                X = std::pow(f + a / 500, 3.0L);
                Y = f * f * f;
                Z = std::pow(f - b / 200, 3.0L);
            }
            uint16_t r = toByte(2.998L * X - 1.458L * Y - 0.541L * Z);
            uint16_t g = toByte(-0.952L * X + 1.893L * Y + 0.059L * Z);
            uint16_t bl = toByte(0.099L * X - 0.198L * Y + 1.099L * Z);
            if (tb == 2)
                r = up(r), g = up(g), bl = up(bl);
            putColour(out, tb, bgr, r, g, bl);
            pl += c.stride, pa += c.stride, pb += c.stride;
        }
        out += targetStride;
    });
}

void TColorManager::RowConvertCIELAB2BGR(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask)
{
    labFamily(s, n, t, count, mask, true);
}

void TColorManager::RowConvertCIELAB2RGB(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask)
{
    labFamily(s, n, t, count, mask, false);
}

void TColorManager::yccFamily(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask, bool bgr)
{
    if (!colourDepth(sourceBPS_) || !colourDepth(targetBPS_) || crToRed_.size() != 256)
        return;
    int sb = sourceBPS_ / 8, tb = targetBPS_ / 8;
    Components c = components(s, n, 3, false, sb, n > 1);
    if (!c.valid)
        return;
    std::size_t targetStride = std::size_t(((TargetOptions & coAlpha) ? 4 : 3) * tb);
    auto* out = static_cast<uint8_t*>(t);
    const uint8_t *py = c.p[0], *pcb = c.p[1], *pcr = c.p[2];
    bool swap = SourceOptions & coNeedByteSwap;
    bool photoYCC16 = sourceScheme_ == csPhotoYCC && sb == 2 && tb == 2;
    auto sample = [&](const uint8_t* p) -> uint16_t {
        if (sb == 1)
            return *p;
        uint16_t v = rd16(p);
        return swap ? swapped(v) : v;
    };
    walk(count, mask, [&](bool on) {
        if (on) {
            uint16_t y = sample(py), cb = sample(pcb), cr = sample(pcr);
            if (photoYCC16) {
                // Full 16-bit precision, clamped to the 16-bit range as the 8-bit path clamps
                // to bytes: a bright colour must not wrap round to a dark one.
                float L = float(y) * 1.3584f, c1 = float(cb) - 40092.0f, c2 = float(cr) - 35209.0f;
                auto clamp16 = [](float v) { return uint16_t(std::clamp<long long>(std::llrint(v), 0, 65535)); };
                uint16_t bl = clamp16(L + 2.2179f * c1);
                uint16_t g = clamp16(L - 0.9271435f * c2 - 0.4302726f * c1);
                uint16_t r = clamp16(L + 1.8215f * c2);
                putColour(out, tb, bgr, r, g, bl);
            } else {
                if (sb == 2)
                    y = down(y), cb = down(cb), cr = down(cr);
                uint16_t bl = ClampByte(y + cbToBlue_[cb]);
                uint16_t g = ClampByte(y + cbToGreen_[cb] + crToGreen_[cr]);
                uint16_t r = ClampByte(y + crToRed_[cr]);
                if (tb == 2)
                    r = up(r), g = up(g), bl = up(bl);
                putColour(out, tb, bgr, r, g, bl);
            }
            py += c.stride, pcb += c.stride, pcr += c.stride;
        }
        out += targetStride;
    });
}

void TColorManager::RowConvertYCbCr2BGR(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask)
{
    yccFamily(s, n, t, count, mask, true);
}

void TColorManager::RowConvertYCbCr2RGB(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask)
{
    yccFamily(s, n, t, count, mask, false);
}

void TColorManager::RowConvertPhotoYCC2BGR(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask)
{
    yccFamily(s, n, t, count, mask, true);
}

void TColorManager::RowConvertPhotoYCC2RGB(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask)
{
    yccFamily(s, n, t, count, mask, false);
}

void TColorManager::RowConvertGray(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask)
{
    if (!colourDepth(sourceBPS_) || !colourDepth(targetBPS_) || n == 0 || !s[0])
        return;
    int sb = sourceBPS_ / 8, tb = targetBPS_ / 8;
    std::size_t sourceStride = std::size_t(((SourceOptions & coAlpha) ? 2 : 1) * sb);
    auto* in = static_cast<const uint8_t*>(s[0]);
    auto* out = static_cast<uint8_t*>(t);
    bool swap = SourceOptions & coNeedByteSwap;
    walk(count, mask, [&](bool on) {
        if (on) {
            if (sb == 1 && tb == 1)
                *out = *in;
            else if (sb == 1)
                wr16(out, up(*in));
            else {
                uint16_t v = swap ? swapped(rd16(in)) : rd16(in);
                if (tb == 1)
                    *out = uint8_t(down(v));
                else
                    wr16(out, v);
            }
            in += sourceStride;
        }
        out += tb;
    });
}

namespace {
// Packed index fields of 1..8 bits, most significant bits first.
struct FieldReader {
    const uint8_t* p;
    int bits, shift;
    FieldReader(const void* data, int bits) : p(static_cast<const uint8_t*>(data)), bits(bits), shift(8 - bits) {}
    uint16_t next()
    {
        uint16_t v = uint16_t((*p >> shift) & ((1 << bits) - 1));
        shift -= bits;
        if (shift < 0) {
            ++p;
            shift = 8 - bits;
        }
        return v;
    }
};

struct FieldWriter {
    uint8_t* p;
    int bits, shift, perByte, counted = 0;
    FieldWriter(void* data, int bits) : p(static_cast<uint8_t*>(data)), bits(bits), shift(8 - bits), perByte(8 / bits) {}
    void put(uint16_t v)
    {
        uint8_t fieldMask = uint8_t(((1 << bits) - 1) << shift);
        *p = uint8_t((*p & ~fieldMask) | ((v << shift) & fieldMask));
    }
    void skip()
    {
        shift -= bits;
        if (++counted == perByte) {
            counted = 0;
            ++p;
            shift = 8 - bits;
        }
    }
};

bool packedDepth(uint8_t bits) { return bits >= 1 && bits <= 8; }
} // namespace

void TColorManager::RowConvertIndexed8(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask)
{
    if (!packedDepth(sourceBPS_) || !packedDepth(targetBPS_) || n == 0 || !s[0])
        return;
    if (sourceBPS_ == targetBPS_ && mask == 0xFF) {
        // Rows hold 8 div bits fields a byte (for 1, 2, 4 and 8 bits, all a byte holds).
        const std::size_t perByte = 8 / sourceBPS_;
        std::memcpy(t, s[0], (std::size_t(count) + perByte - 1) / perByte);
        return;
    }
    uint16_t sourceMax = uint16_t((1 << sourceBPS_) - 1), targetMax = uint16_t((1 << targetBPS_) - 1);
    FieldReader in(s[0], sourceBPS_);
    FieldWriter out(t, targetBPS_);
    walk(count, mask, [&](bool on) {
        if (on)
            out.put(MulDiv16(in.next(), targetMax, sourceMax));
        out.skip();
    });
}

void TColorManager::RowConvertIndexedSource16(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask)
{
    if (!packedDepth(targetBPS_) || n == 0 || !s[0])
        return;
    uint16_t targetMax = uint16_t((1 << targetBPS_) - 1);
    bool swap = SourceOptions & coNeedByteSwap;
    auto* in = static_cast<const uint8_t*>(s[0]);
    FieldWriter out(t, targetBPS_);
    walk(count, mask, [&](bool on) {
        if (on) {
            uint16_t v = swap ? swapped(rd16(in)) : rd16(in);
            out.put(MulDiv16(v, targetMax, 65535));
            in += 2;
        }
        out.skip();
    });
}

void TColorManager::RowConvertIndexedTarget16(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask)
{
    if (!packedDepth(sourceBPS_) || n == 0 || !s[0])
        return;
    uint16_t sourceMax = uint16_t((1 << sourceBPS_) - 1);
    bool swap = SourceOptions & coNeedByteSwap;
    FieldReader in(s[0], sourceBPS_);
    auto* out = static_cast<uint8_t*>(t);
    walk(count, mask, [&](bool on) {
        if (on) {
            uint16_t v = MulDiv16(in.next(), 65535, sourceMax);
            wr16(out, swap ? swapped(v) : v);
        }
        out += 2;
    });
}

void TColorManager::RowConvertIndexedBoth16(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask)
{
    if (n == 0 || !s[0])
        return;
    bool swap = SourceOptions & coNeedByteSwap;
    if (!swap && mask == 0xFF) {
        std::memcpy(t, s[0], std::size_t(count) * 2);
        return;
    }
    auto* in = static_cast<const uint8_t*>(s[0]);
    auto* out = static_cast<uint8_t*>(t);
    walk(count, mask, [&](bool on) {
        if (on) {
            uint16_t v = rd16(in);
            wr16(out, swap ? swapped(v) : v);
            in += 2;
        }
        out += 2;
    });
}
