#pragma once
// Our bitmap: a pixel format, a size, top-down rows of packed pixels and a palette of up to
// 256 entries. Rows are tightly packed ((width * bits + 7) / 8 bytes, no padding); 24-bit
// pixels are blue, green, red; 32-bit ones blue, green, red, alpha; 15-bit words hold
// 5-5-5 and 16-bit words 5-6-5 (red highest), both little-endian; 1-, 4- and 8-bit pixels
// are palette indices, the leftmost pixel in the highest bits of a byte. The ui turns a
// bitmap into a QImage to show it.
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class Stream;
struct GraphicClass;

// A picture that cannot be read, written or built as asked.
class EInvalidGraphic : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// None: no format chosen yet; Custom: a layout no bitmap can hold (only ever an answer,
// never a bitmap's own format).
enum class PixelFormat { None, Bits1, Bits4, Bits8, Bits15, Bits16, Bits24, Bits32, Custom };

int BitsPerPixel(PixelFormat format);   // 0 for None and Custom

struct PaletteEntry {
    uint8_t red = 0, green = 0, blue = 0, flags = 0;
    bool operator==(const PaletteEntry&) const = default;
};

// What a palette is made from: version 0x300 and at most 256 entries.
struct LogicalPalette {
    uint16_t version = 0x300;
    std::vector<PaletteEntry> entries;
};

class Palette {
public:
    Palette() = default;
    // Throws EInvalidGraphic for another version or more than 256 entries.
    static Palette Create(const LogicalPalette& logical);

    const std::vector<PaletteEntry>& Entries() const { return entries_; }
    int Count() const { return int(entries_.size()); }
    bool Empty() const { return entries_.empty(); }
    bool operator==(const Palette&) const = default;

    // The system's standard 16 colours: the eight dark ones, silver, then grey and the eight
    // bright ones, as a 4-bit picture without a palette of its own shows them.
    static Palette System16();

private:
    std::vector<PaletteEntry> entries_;
};

struct Rect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Rect&) const = default;
};

enum class ProgressStage { Starting, Running, Ending };

class Bitmap;
using ProgressHandler = std::function<void(Bitmap& sender, ProgressStage stage, uint8_t percent, bool redraw,
                                           const Rect& rect, const std::string& message)>;

class Bitmap {
public:
    // No single bitmap may take more bytes than this; larger sizes throw EInvalidGraphic.
    static constexpr std::size_t MaxBytes = std::size_t(1) << 30;

    Bitmap() = default;
    // The class reference under which the picture registry knows plain bitmaps.
    static const GraphicClass& Class();
    Bitmap(const Bitmap& other) { Bitmap::Assign(other); }
    Bitmap& operator=(const Bitmap& other) { Assign(other); return *this; }
    virtual ~Bitmap() = default;

    // Copies format, size, pixels, palette and transparent colour (not the progress handler).
    virtual void Assign(const Bitmap& source);

    PixelFormat GetPixelFormat() const { return format_; }
    // Changing the format of a bitmap that has pixels converts 1- and 4-bit indices to 8-bit
    // ones; any other change starts from zeroed pixels. Custom throws EInvalidGraphic.
    void SetPixelFormat(PixelFormat format);

    uint32_t Width() const { return width_; }
    uint32_t Height() const { return height_; }
    // Keeps the pixels of the area old and new size share; new pixels are zero.
    void SetSize(uint32_t width, uint32_t height);
    void SetWidth(uint32_t width) { SetSize(width, height_); }
    void SetHeight(uint32_t height) { SetSize(width_, height); }
    // For a reader that writes every byte of every row itself: a new size whose pixels are
    // neither zeroed nor kept (the old ones are dropped), so that a large picture is not
    // written twice. Until the reader has written a row, that row holds whatever memory
    // held; a reader that may stop early (a short file, an error) zeroes the rows it did not
    // write before anyone sees them, or uses SetSize instead.
    void SetSizeForOverwrite(uint32_t width, uint32_t height);
    bool Empty() const { return width_ == 0 || height_ == 0; }
    // Back to no format, no size, no palette.
    void Clear();

    std::size_t BytesPerRow() const { return stride_; }
    // Row y, counted from the top; throws std::out_of_range outside the bitmap.
    uint8_t* ScanLine(uint32_t y);
    const uint8_t* ScanLine(uint32_t y) const;

    const Palette& GetPalette() const { return palette_; }
    void SetPalette(Palette palette) { palette_ = std::move(palette); }

    // The colour (0x00BBGGRR) shown as see-through when Transparent is on; both are kept by
    // Assign and reset by Clear.
    uint32_t GetTransparentColor() const { return transparentColor_; }
    void SetTransparentColor(uint32_t color) { transparentColor_ = color; }
    bool GetTransparent() const { return transparent_; }
    void SetTransparent(bool on) { transparent_ = on; }

    // Makes the bitmap 24-bit keeping what each pixel shows: indices become their palette
    // colours (black past the palette's end), 15- and 16-bit words are widened, 32-bit
    // pixels lose their alpha. A bitmap without a format just takes the new one.
    void ConvertTo24Bits();

    // Fills every pixel with a colour given as 0x00BBGGRR: indexed formats take the nearest
    // palette entry (0 without a palette); 32-bit pixels get alpha 0.
    void Fill(uint32_t color);

    // A plain bitmap reads and writes Windows bitmap files (platform/BitmapFile.h); a picture
    // reader that writes no format of its own saves that way too.
    virtual void LoadFromStream(Stream& stream);
    virtual void SaveToStream(Stream& stream);
    // Opens the file and reads it with LoadFromStream; a reader that needs the file's name
    // (to find a file beside it) overrides it.
    virtual void LoadFromFile(const std::string& fileName);
    // Replaces the file only once the whole picture is written; throws StreamError when
    // the file cannot be written.
    void SaveToFile(const std::string& fileName);

    void SetOnProgress(ProgressHandler handler) { onProgress_ = std::move(handler); }
    void Progress(ProgressStage stage, uint8_t percent, bool redraw, const Rect& rect, const std::string& message);

private:
    struct FreeDeleter {
        void operator()(uint8_t* p) const { std::free(p); }
    };
    using Pixels = std::unique_ptr<uint8_t, FreeDeleter>;
    static Pixels allocate(uint32_t width, uint32_t height, PixelFormat format, std::size_t& stride, bool zeroed = true);

    PixelFormat format_ = PixelFormat::None;
    uint32_t width_ = 0, height_ = 0;
    std::size_t stride_ = 0;
    Pixels pixels_;
    Palette palette_;
    uint32_t transparentColor_ = 0;
    bool transparent_ = false;
    ProgressHandler onProgress_;
};
