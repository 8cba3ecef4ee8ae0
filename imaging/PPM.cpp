#include "imaging/PPM.h"

#include "imaging/GraphicStrings.h"
#include "platform/Stream.h"

#include <algorithm>
#include <cstring>
#include <limits>

#if defined(__x86_64__) || defined(__i386__)
#define TILVENNA_X86 1
#include <immintrin.h>
#else
#define TILVENNA_X86 0
#endif

namespace {

const char* const kFormatName = "PBM, PGM or PPM";
const char* const kShortName = "PPM";

bool isDigit(uint8_t c) { return c >= '0' && c <= '9'; }

std::unique_ptr<Bitmap> create() { return std::make_unique<TPPMGraphic>(); }

// Red, green, blue triples to blue, green, red; the target may be the source itself.
void toBGRPlain(const uint8_t* in, uint8_t* out, std::size_t samples)
{
    for (std::size_t i = 0; i + 2 < samples; i += 3) {
        uint8_t red = in[i], green = in[i + 1], blue = in[i + 2];
        out[i] = blue, out[i + 1] = green, out[i + 2] = red;
    }
}

#if TILVENNA_X86
// Five pixels a step: sixteen bytes are read and written back with their last byte as it
// was, and the next step starts on that byte; one shuffle a step.
__attribute__((target("ssse3"))) void toBGRSSSE3(const uint8_t* in, uint8_t* out, std::size_t samples)
{
    const __m128i swap = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
    std::size_t i = 0;
    for (; i + 16 <= samples; i += 15) {
        __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_shuffle_epi8(x, swap));
    }
    toBGRPlain(in + i, out + i, samples - i);
}

// The same with twenty-one pixels a step, where the processor permutes bytes across 64.
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) void toBGRAVX512(const uint8_t* in, uint8_t* out,
                                                                         std::size_t samples)
{
    static constexpr auto order = [] {
        std::array<uint8_t, 64> o{};
        for (std::size_t k = 0; k < 63; ++k)
            o[k] = uint8_t(k / 3 * 3 + 2 - k % 3);
        return o;
    }();
    const __m512i swap = _mm512_loadu_si512(order.data());
    std::size_t i = 0;
    for (; i + 64 <= samples; i += 63) {
        __m512i x = _mm512_loadu_si512(in + i);
        _mm512_storeu_si512(out + i, _mm512_mask_permutexvar_epi8(x, ~(__mmask64(1) << 63), swap, x));
    }
    toBGRSSSE3(in + i, out + i, samples - i);
}
#endif

// The plain loop is not vectorised by the compiler (it has no byte shuffle before SSSE3), so
// the widest shuffle the processor has is used.
void toBGR(const uint8_t* in, uint8_t* out, std::size_t samples)
{
#if TILVENNA_X86 && defined(__SSSE3__)
    toBGRSSSE3(in, out, samples);
#elif TILVENNA_X86
    static const bool ssse3 = __builtin_cpu_supports("ssse3"), vbmi = __builtin_cpu_supports("avx512vbmi");
    vbmi ? toBGRAVX512(in, out, samples) : ssse3 ? toBGRSSSE3(in, out, samples) : toBGRPlain(in, out, samples);
#else
    toBGRPlain(in, out, samples);
#endif
}

} // namespace

const GraphicClass& TPPMGraphic::Class()
{
    static const GraphicClass cls{"TPPMGraphic", &create, &TPPMGraphic::CanLoad, true};
    return cls;
}

bool TPPMGraphic::CanLoad(Stream& stream)
{
    // Only the two magic characters are looked at: a one-pixel bitmap is just eight bytes.
    uint8_t magic[2] = {};
    return PeekHeader(stream, magic, sizeof magic) && magic[0] == 'P' && magic[1] >= '1' && magic[1] <= '6';
}

// ---- the character reader ----

bool TPPMGraphic::fill()
{
    index_ = 0;
    filled_ = Stream_->Read(buffer_.data(), BufferSize);
    return filled_ > 0;
}

bool TPPMGraphic::more()
{
    // Asking the stream for its size would cost a file stream a seek per number.
    return index_ < filled_ || fill();
}

uint64_t TPPMGraphic::bytesLeft()
{
    return (filled_ - index_) + Stream_->Remaining();
}

uint8_t TPPMGraphic::GetChar()
{
    // Only the bytes a refill really got are handed out.
    if (index_ == filled_ && !fill())
        RasterErrorFmt(gesStreamReadError, kShortName);
    return buffer_[index_++];
}

uint8_t TPPMGraphic::CurrentChar()
{
    if (index_ == filled_ && !fill())
        return 0;
    return buffer_[index_];
}

std::string TPPMGraphic::ReadLine()
{
    std::string line;
    while (more()) {
        uint8_t c = GetChar();
        if (c == '\n')
            break;
        if (c == '\r') {
            if (CurrentChar() == '\n')
                GetChar();
            break;
        }
        line += char(c);
    }
    auto comment = line.find('#');
    if (comment != std::string::npos)
        line.erase(comment);
    return line;
}

uint32_t TPPMGraphic::GetNumber()
{
    uint8_t c = GetChar();
    while (!isDigit(c)) {
        if (c == '#')
            ReadLine();   // a comment runs to the end of its line, however many follow
        c = GetChar();
    }
    uint64_t value = 0;
    for (;;) {
        value = value * 10 + uint64_t(c - '0');
        if (value > std::numeric_limits<uint32_t>::max())
            RasterErrorFmt(gesInvalidImage, kFormatName);
        if (!isDigit(CurrentChar()))
            break;
        c = GetChar();
    }
    // The one character ending the number is taken; a comment right after it goes whole.
    if (more() && GetChar() == '#')
        ReadLine();
    return uint32_t(value);
}

uint8_t TPPMGraphic::getBit()
{
    // Plain bitmaps need no separators: every digit is one pixel.
    uint8_t c = GetChar();
    while (!isDigit(c)) {
        if (c == '#')
            ReadLine();
        c = GetChar();
    }
    return c & 1;
}

void TPPMGraphic::readBytes(uint8_t* target, std::size_t count)
{
    while (count > 0) {
        // Large blocks skip the buffer once it is empty.
        if (index_ == filled_ && count >= BufferSize) {
            std::size_t got = Stream_->Read(target, count);
            if (got == 0)
                RasterErrorFmt(gesStreamReadError, kShortName);
            target += got;
            count -= got;
            continue;
        }
        if (index_ == filled_ && !fill())
            RasterErrorFmt(gesStreamReadError, kShortName);
        std::size_t n = std::min(count, filled_ - index_);
        std::memcpy(target, buffer_.data() + index_, n);
        index_ += n;
        target += n;
        count -= n;
    }
}

// ---- header and pixels ----

bool TPPMGraphic::ReadImageProperties(Stream& stream, uint32_t imageIndex)
{
    TRasterGraphic::ReadImageProperties(stream, imageIndex);
    Stream_ = &stream;
    index_ = filled_ = 0;
    kind_ = 0;
    maxValue_ = 0;
    TImageProperties& p = ImageProperties;
    p.Compression = ctNone;
    if (GetChar() != 'P')
        return false;
    uint8_t digit = GetChar();
    if (!isDigit(digit))
        return false;
    kind_ = digit - '0';
    if (kind_ < 1 || kind_ > 6)
        return true;   // a map this reader does not know; the load says so

    // The numbers follow on the same line or the next ones.
    p.Width = GetNumber();
    p.Height = GetNumber();
    bool bitmap = kind_ == 1 || kind_ == 4;
    maxValue_ = bitmap ? 1 : GetNumber();
    bool colour = kind_ == 3 || kind_ == 6;
    p.ColorScheme = colour ? csRGB : csIndexed;
    p.BitsPerSample = bitmap ? 1 : maxValue_ > 255 ? 16 : 8;
    p.SamplesPerPixel = colour ? 3 : 1;
    p.BitsPerPixel = uint8_t(p.BitsPerSample * p.SamplesPerPixel);
    return true;
}

void TPPMGraphic::LoadFromStream(Stream& stream)
try {
    Clear();
    BasePosition = stream.Position();
    if (!ReadImageProperties(stream, 0))
        RasterErrorFmt(gesInvalidImage, kFormatName);
    if (kind_ < 1 || kind_ > 6)
        RasterErrorFmt(gesUnsupportedImage, kFormatName);

    const TImageProperties& p = ImageProperties;
    bool bitmap = kind_ == 1 || kind_ == 4, colour = kind_ == 3 || kind_ == 6, text = kind_ <= 3;
    if (p.Width == 0 || p.Height == 0 || maxValue_ == 0 || maxValue_ > 65535)
        RasterErrorFmt(gesInvalidImage, kFormatName);
    uint64_t pixelBits = bitmap ? 1 : colour ? 24 : 8;
    ImageBytes(p.Width, p.Height, pixelBits, kFormatName);

    // The pixel data must be there before the bitmap is made: binary rows as stored, text
    // at least one character a pixel for bitmaps and a digit and a separator a sample else.
    uint64_t samples = uint64_t(p.Width) * p.Height * (colour ? 3 : 1);
    uint64_t needed = kind_ == 1   ? samples
                      : text       ? 2 * samples - 1
                      : kind_ == 4 ? (uint64_t(p.Width) + 7) / 8 * p.Height
                                   : samples * (maxValue_ > 255 ? 2 : 1);
    if (bytesLeft() < needed)
        RasterErrorFmt(gesStreamReadError, kShortName);

    ProgressRect = {0, 0, int32_t(p.Width), 1};
    Progress(ProgressStage::Starting, 0, false, ProgressRect, gesTransfering);
    TColorManager& cm = *ColorManager;
    cm.SetTargetSamplesPerPixel(1);
    cm.SetTargetBitsPerSample(bitmap ? 1 : 8);
    SetPixelFormat(bitmap ? PixelFormat::Bits1 : colour ? PixelFormat::Bits24 : PixelFormat::Bits8);
    if (!colour)
        SetPalette(cm.CreateGrayscalePalette(bitmap));
    // Every row below is written whole, or zeroed when the load stops short.
    SetSizeForOverwrite(p.Width, p.Height);

    scale_.resize(maxValue_ + 1);
    for (uint32_t v = 0; v <= maxValue_; ++v)
        scale_[v] = uint8_t((uint64_t(v) * 255 + maxValue_ / 2) / maxValue_);
    loadRows();
    Progress(ProgressStage::Ending, 0, false, ProgressRect, "");
} catch (...) {
    RethrowImageError(kFormatName);
}

void TPPMGraphic::loadRows()
{
    const uint32_t width = ImageProperties.Width, height = ImageProperties.Height;
    const bool colour = kind_ == 3 || kind_ == 6;
    const std::size_t samples = std::size_t(width) * (colour ? 3 : 1);
    const bool wide = maxValue_ > 255;
    // A sample above the maximum value counts as the maximum.
    auto scaled = [&](uint32_t v) { return v >= maxValue_ ? uint8_t(255) : scale_[v]; };
    std::vector<uint8_t> raw(kind_ >= 5 && wide ? 2 * samples : 0);

    // Binary rows come from the stream itself: what the header's reads buffered goes back.
    if (kind_ >= 4) {
        Stream_->Seek(-int64_t(filled_ - index_), SeekOrigin::Current);
        index_ = filled_ = 0;
    }
    uint32_t y = 0;
    try {
        for (; y < height; ++y) {
            uint8_t* row = ScanLine(y);
            const uint8_t* in = row;   // where the row's samples are
            switch (kind_) {
            case 1:
                std::memset(row, 0, BytesPerRow());
                for (uint32_t x = 0; x < width; ++x)
                    if (getBit())
                        row[x >> 3] |= uint8_t(0x80 >> (x & 7));
                break;
            case 4: readBytes(row, (std::size_t(width) + 7) / 8); break;
            case 2:
            case 3:
                for (std::size_t i = 0; i < samples; ++i)
                    row[i] = scaled(GetNumber());
                break;
            case 5:
            case 6:
                if (wide) {
                    readBytes(raw.data(), raw.size());
                    for (std::size_t i = 0; i < samples; ++i)
                        row[i] = scaled(uint32_t(raw[2 * i] << 8 | raw[2 * i + 1]));
                } else {
                    // A memory stream's bytes are converted where they lie, in one pass.
                    in = Stream_->ReadInPlace(samples);
                    if (!in) {
                        readBytes(row, samples);
                        in = row;
                    }
                    if (maxValue_ != 255) {
                        for (std::size_t i = 0; i < samples; ++i)
                            row[i] = scaled(in[i]);
                        in = row;
                    }
                }
                break;
            }
            // Files store red, green, blue; the bitmap blue, green, red.
            if (colour)
                toBGR(in, row, samples);
            else if (in != row)
                std::memcpy(row, in, samples);
            ProgressRow(y, height);
        }
    } catch (...) {
        // The rows not read were never zeroed: they must not show stale memory.
        for (; y < height; ++y)
            std::memset(ScanLine(y), 0, BytesPerRow());
        throw;
    }
}
