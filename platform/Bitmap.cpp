#include "platform/Bitmap.h"

#include "platform/BitmapFile.h"
#include "platform/Files.h"
#include "platform/Sizes.h"
#include "platform/Stream.h"

#include <algorithm>
#include <cstring>
#include <limits>

int BitsPerPixel(PixelFormat format)
{
    switch (format) {
    case PixelFormat::Bits1: return 1;
    case PixelFormat::Bits4: return 4;
    case PixelFormat::Bits8: return 8;
    case PixelFormat::Bits15: return 15;
    case PixelFormat::Bits16: return 16;
    case PixelFormat::Bits24: return 24;
    case PixelFormat::Bits32: return 32;
    default: return 0;
    }
}

// 15-bit pixels take a whole 16-bit word.
static int storageBits(PixelFormat format)
{
    return format == PixelFormat::Bits15 ? 16 : BitsPerPixel(format);
}

Palette Palette::Create(const LogicalPalette& logical)
{
    if (logical.version != 0x300)
        throw EInvalidGraphic("Invalid palette version");
    if (logical.entries.size() > 256)
        throw EInvalidGraphic("A palette holds at most 256 entries");
    Palette p;
    p.entries_ = logical.entries;
    return p;
}

Palette Palette::System16()
{
    Palette p;
    p.entries_ = {
        {0, 0, 0, 0},       {128, 0, 0, 0},   {0, 128, 0, 0},   {128, 128, 0, 0},
        {0, 0, 128, 0},     {128, 0, 128, 0}, {0, 128, 128, 0}, {192, 192, 192, 0},
        {128, 128, 128, 0}, {255, 0, 0, 0},   {0, 255, 0, 0},   {255, 255, 0, 0},
        {0, 0, 255, 0},     {255, 0, 255, 0}, {0, 255, 255, 0}, {255, 255, 255, 0},
    };
    return p;
}

Bitmap::Pixels Bitmap::allocate(uint32_t width, uint32_t height, PixelFormat format, std::size_t& stride, bool zeroed)
{
    stride = 0;
    int bits = storageBits(format);
    if (width == 0 || height == 0 || bits == 0)
        return nullptr;
    auto rowBytes = CheckedRowBytes(width, uint64_t(bits), MaxBytes);
    auto bytes = rowBytes ? CheckedProduct({*rowBytes, height}, MaxBytes) : std::nullopt;
    if (!bytes)
        throw EInvalidGraphic("Bitmap too large: " + std::to_string(width) + " x " + std::to_string(height));
    // calloc hands out fresh zeroed pages without touching them, so a big bitmap costs
    // nothing until its rows are written; reused memory it has to clear, which malloc skips.
    auto* p = static_cast<uint8_t*>(zeroed ? std::calloc(*bytes, 1) : std::malloc(*bytes));
    if (!p)
        throw std::bad_alloc();
    stride = *rowBytes;
    return Pixels(p);
}

void Bitmap::Assign(const Bitmap& source)
{
    if (&source == this)
        return;
    std::size_t stride = 0;
    Pixels pixels = allocate(source.width_, source.height_, source.format_, stride);
    if (pixels)
        std::memcpy(pixels.get(), source.pixels_.get(), stride * source.height_);
    format_ = source.format_;
    width_ = source.width_;
    height_ = source.height_;
    stride_ = stride;
    pixels_ = std::move(pixels);
    palette_ = source.palette_;
    transparentColor_ = source.transparentColor_;
    transparent_ = source.transparent_;
}

void Bitmap::SetPixelFormat(PixelFormat format)
{
    if (format == PixelFormat::Custom)
        throw EInvalidGraphic("A bitmap cannot hold a custom pixel format");
    if (format == format_)
        return;
    std::size_t stride = 0;
    Pixels pixels = allocate(width_, height_, format, stride);
    bool unpack = format == PixelFormat::Bits8 && (format_ == PixelFormat::Bits1 || format_ == PixelFormat::Bits4);
    if (pixels && unpack) {
        int bits = BitsPerPixel(format_);
        int perByte = 8 / bits;
        uint8_t mask = uint8_t((1 << bits) - 1);
        for (uint32_t y = 0; y < height_; ++y) {
            const uint8_t* src = pixels_.get() + y * stride_;
            uint8_t* dst = pixels.get() + y * stride;
            for (uint32_t x = 0; x < width_; ++x) {
                int shift = 8 - bits * (int(x % perByte) + 1);
                dst[x] = uint8_t((src[x / perByte] >> shift) & mask);
            }
        }
    }
    format_ = format;
    stride_ = stride;
    pixels_ = std::move(pixels);
}

void Bitmap::SetSize(uint32_t width, uint32_t height)
{
    if (width == width_ && height == height_)
        return;
    std::size_t stride = 0;
    Pixels pixels = allocate(width, height, format_, stride);
    if (pixels && pixels_) {
        uint32_t rows = std::min(height, height_);
        std::size_t bytes = std::min(stride, stride_);
        for (uint32_t y = 0; y < rows; ++y)
            std::memcpy(pixels.get() + y * stride, pixels_.get() + y * stride_, bytes);
    }
    width_ = width;
    height_ = height;
    stride_ = stride;
    pixels_ = std::move(pixels);
}

void Bitmap::SetSizeForOverwrite(uint32_t width, uint32_t height)
{
    if (width == width_ && height == height_ && pixels_)
        return;
    std::size_t stride = 0;
    Pixels pixels = allocate(width, height, format_, stride, false);
    width_ = width;
    height_ = height;
    stride_ = stride;
    pixels_ = std::move(pixels);
}

void Bitmap::Clear()
{
    format_ = PixelFormat::None;
    width_ = height_ = 0;
    stride_ = 0;
    pixels_.reset();
    palette_ = Palette();
    transparentColor_ = 0;
    transparent_ = false;
}

void Bitmap::ConvertTo24Bits()
{
    if (format_ == PixelFormat::Bits24)
        return;
    std::size_t stride = 0;
    Pixels pixels = allocate(width_, height_, PixelFormat::Bits24, stride);
    int bits = BitsPerPixel(format_);
    const auto& entries = palette_.Entries();
    auto widen5 = [](unsigned v) { return uint8_t((v << 3) | (v >> 2)); };
    for (uint32_t y = 0; pixels && pixels_ && y < height_; ++y) {
        const uint8_t* src = pixels_.get() + y * stride_;
        uint8_t* dst = pixels.get() + y * stride;
        for (uint32_t x = 0; x < width_; ++x, dst += 3) {
            uint8_t r = 0, g = 0, b = 0;
            if (bits <= 8) {
                unsigned i = (src[std::size_t(x) * bits / 8] >> (8 - bits - x * bits % 8)) & ((1u << bits) - 1);
                if (i < entries.size())
                    r = entries[i].red, g = entries[i].green, b = entries[i].blue;
            } else if (bits == 15 || bits == 16) {
                unsigned w = src[2 * x] | unsigned(src[2 * x + 1]) << 8;
                b = widen5(w & 0x1F);
                if (bits == 15) {
                    g = widen5((w >> 5) & 0x1F);
                    r = widen5((w >> 10) & 0x1F);
                } else {
                    unsigned g6 = (w >> 5) & 0x3F;
                    g = uint8_t((g6 << 2) | (g6 >> 4));
                    r = widen5((w >> 11) & 0x1F);
                }
            } else {
                const uint8_t* p = src + std::size_t(x) * unsigned(bits / 8);
                b = p[0], g = p[1], r = p[2];
            }
            dst[0] = b, dst[1] = g, dst[2] = r;
        }
    }
    format_ = PixelFormat::Bits24;
    stride_ = stride;
    pixels_ = std::move(pixels);
}

uint8_t* Bitmap::ScanLine(uint32_t y)
{
    if (y >= height_ || !pixels_)
        throw std::out_of_range("Scan line index out of range");
    return pixels_.get() + std::size_t(y) * stride_;
}

const uint8_t* Bitmap::ScanLine(uint32_t y) const
{
    return const_cast<Bitmap*>(this)->ScanLine(y);
}

void Bitmap::Fill(uint32_t color)
{
    if (!pixels_)
        return;
    uint8_t r = uint8_t(color), g = uint8_t(color >> 8), b = uint8_t(color >> 16);
    uint8_t pixel[4] = {};
    int bytes = 1;
    switch (format_) {
    case PixelFormat::Bits1:
    case PixelFormat::Bits4:
    case PixelFormat::Bits8: {
        int bits = BitsPerPixel(format_);
        int best = 0;
        long bestDistance = std::numeric_limits<long>::max();
        const auto& entries = palette_.Entries();
        // Only the entries a pixel of this depth can name.
        int usable = std::min(int(entries.size()), 1 << bits);
        for (int i = 0; i < usable; ++i) {
            long dr = long(entries[i].red) - r, dg = long(entries[i].green) - g, db = long(entries[i].blue) - b;
            long d = dr * dr + dg * dg + db * db;
            if (d < bestDistance) {
                bestDistance = d;
                best = i;
            }
        }
        uint8_t v = 0;
        for (int shift = 8 - bits; shift >= 0; shift -= bits)
            v = uint8_t(v | (best << shift));
        std::memset(pixels_.get(), v, stride_ * height_);
        return;
    }
    case PixelFormat::Bits15: {
        uint16_t w = uint16_t(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
        pixel[0] = uint8_t(w), pixel[1] = uint8_t(w >> 8), bytes = 2;
        break;
    }
    case PixelFormat::Bits16: {
        uint16_t w = uint16_t(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
        pixel[0] = uint8_t(w), pixel[1] = uint8_t(w >> 8), bytes = 2;
        break;
    }
    case PixelFormat::Bits24: pixel[0] = b, pixel[1] = g, pixel[2] = r, bytes = 3; break;
    case PixelFormat::Bits32: pixel[0] = b, pixel[1] = g, pixel[2] = r, pixel[3] = 0, bytes = 4; break;
    default: return;
    }
    for (uint32_t y = 0; y < height_; ++y) {
        uint8_t* row = pixels_.get() + y * stride_;
        for (uint32_t x = 0; x < width_; ++x)
            std::memcpy(row + std::size_t(x) * bytes, pixel, bytes);
    }
}

void Bitmap::LoadFromStream(Stream& stream)
{
    ReadBitmapFile(stream, *this);
}

void Bitmap::SaveToStream(Stream& stream)
{
    WriteBitmapFile(*this, stream);
}

void Bitmap::LoadFromFile(const std::string& fileName)
{
    FileStream stream(fileName, FileStream::Mode::OpenRead);
    LoadFromStream(stream);
}

void Bitmap::SaveToFile(const std::string& fileName)
{
    // The file is replaced only by a complete picture: a writer that fails half way, or
    // cannot write this bitmap at all, leaves the old file as it was.
    MemoryStream stream;
    SaveToStream(stream);
    if (!WriteFileAtomic(fileName, stream.View()))
        throw StreamError("Cannot write file", fileName);
}

void Bitmap::Progress(ProgressStage stage, uint8_t percent, bool redraw, const Rect& rect, const std::string& message)
{
    if (onProgress_)
        onProgress_(*this, stage, percent, redraw, rect, message);
}
