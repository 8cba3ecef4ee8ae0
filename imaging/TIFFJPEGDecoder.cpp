// The JPEG-in-TIFF decoder of GraphicCompression, on libjpeg.
#include "imaging/GraphicCompression.h"

#include "imaging/GraphicStrings.h"
#include "imaging/RasterGraphics.h"
#include "platform/Dialogs.h"
#include "platform/Text.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

// libjpeg ends a fatal error by calling error_exit, which must not return: it jumps back to
// the guarded call below that started the library's work.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

} // namespace

struct TTIFFJPEGDecoder::State {
    jpeg_decompress_struct info{};
    ErrorManager error{};
    jpeg_source_mgr source{};
    bool created = false;
    uint16_t hSubSampling = 1, vSubSampling = 1;
    // What the source manager hands to the library: the tables, then each strip.
    const uint8_t* data = nullptr;
    std::size_t size = 0;
    const uint8_t* tables = nullptr;
    std::size_t tablesLength = 0;
    // Warnings come from inside the library's calls; they are shown once a call is back.
    std::vector<std::string> warnings;
    bool endOfInputSeen = false;
    std::vector<JSAMPROW> rows;

    void warn(const char* text) noexcept
    {
        try {
            warnings.emplace_back(text);
        } catch (...) {
            // Out of memory: the warning is lost, the decode goes on.
        }
    }
};

namespace {

TTIFFJPEGDecoder::State& stateOf(j_common_ptr info)
{
    return *static_cast<TTIFFJPEGDecoder::State*>(info->client_data);
}

// ---- callbacks from the library; none throws, error_exit jumps ----

void errorExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void outputMessage(j_common_ptr info)
{
    char text[JMSG_LENGTH_MAX];
    info->err->format_message(info, text);
    stateOf(info).warn(text);
}

void initSource(j_decompress_ptr info)
{
    auto& s = stateOf(reinterpret_cast<j_common_ptr>(info));
    info->src->next_input_byte = s.data;
    info->src->bytes_in_buffer = s.size;
}

// The data ran out: an end-of-image marker lets the library finish as if it ended here.
boolean fillInputBuffer(j_decompress_ptr info)
{
    static const JOCTET endOfImage[2] = {0xFF, JPEG_EOI};
    auto& s = stateOf(reinterpret_cast<j_common_ptr>(info));
    if (!s.endOfInputSeen)
        s.warn(gesJPEGEOI);
    s.endOfInputSeen = true;
    info->src->next_input_byte = endOfImage;
    info->src->bytes_in_buffer = sizeof endOfImage;
    return TRUE;
}

void skipInputData(j_decompress_ptr info, long count)
{
    if (count <= 0)
        return;
    if (std::size_t(count) <= info->src->bytes_in_buffer) {
        info->src->next_input_byte += count;
        info->src->bytes_in_buffer -= std::size_t(count);
    } else {
        fillInputBuffer(info);
    }
}

void termSource(j_decompress_ptr) {}

// ---- the guarded calls: small frames that hold no C++ object, so the jump skips no
// destructor; each answers false when the library met a fatal error ----

bool guardedCreate(j_decompress_ptr info)
{
    if (setjmp(reinterpret_cast<ErrorManager*>(info->err)->jump))
        return false;
    jpeg_CreateDecompress(info, JPEG_LIB_VERSION, sizeof(jpeg_decompress_struct));
    return true;
}

bool guardedReadHeader(j_decompress_ptr info, boolean requireImage, int* result)
{
    if (setjmp(reinterpret_cast<ErrorManager*>(info->err)->jump))
        return false;
    *result = jpeg_read_header(info, requireImage);
    return true;
}

bool guardedStart(j_decompress_ptr info)
{
    if (setjmp(reinterpret_cast<ErrorManager*>(info->err)->jump))
        return false;
    return jpeg_start_decompress(info);
}

// Reads up to wanted rows into rows[*done...]; *done counts the rows read.
bool guardedReadRows(j_decompress_ptr info, JSAMPROW* rows, JDIMENSION wanted, JDIMENSION* done)
{
    if (setjmp(reinterpret_cast<ErrorManager*>(info->err)->jump))
        return false;
    while (*done < wanted) {
        JDIMENSION got = jpeg_read_scanlines(info, rows + *done, wanted - *done);
        if (got == 0)
            break;
        *done += got;
    }
    return true;
}

bool guardedFinish(j_decompress_ptr info)
{
    if (setjmp(reinterpret_cast<ErrorManager*>(info->err)->jump))
        return false;
    return jpeg_finish_decompress(info);
}

void showWarnings(TTIFFJPEGDecoder::State& s)
{
    std::vector<std::string> warnings;
    warnings.swap(s.warnings);
    for (const std::string& text : warnings)
        AppDialogs().Message(MsgKind::Warning, text, MsgButtons::Ok, gesWarning);
}

} // namespace

TTIFFJPEGDecoder::TTIFFJPEGDecoder(const TImageProperties& Properties)
    : properties_(Properties), state_(std::make_unique<State>())
{
    if (!Properties.JPEGTables.empty()) {
        state_->tables = Properties.JPEGTables.data();
        state_->tablesLength = Properties.JPEGTables.size();
    }
}

TTIFFJPEGDecoder::~TTIFFJPEGDecoder()
{
    DecodeEnd();
}

void TTIFFJPEGDecoder::fail(const char* message)
{
    jpeg_abort(reinterpret_cast<j_common_ptr>(&state_->info));
    showWarnings(*state_);
    CompressionError(message);
}

void TTIFFJPEGDecoder::DecodeInit()
{
    DecodeEnd();
    State& s = *state_;
    s.info = jpeg_decompress_struct{};
    s.info.err = jpeg_std_error(&s.error.pub);
    s.error.pub.error_exit = &errorExit;
    s.error.pub.output_message = &outputMessage;
    s.info.client_data = &s;
    if (!guardedCreate(&s.info))
        CompressionError(Format(gesCompression, "TIF/TIFF"));
    s.created = true;
    s.source.init_source = &initSource;
    s.source.fill_input_buffer = &fillInputBuffer;
    s.source.skip_input_data = &skipInputData;
    s.source.resync_to_restart = &jpeg_resync_to_restart;
    s.source.term_source = &termSource;
    s.info.src = &s.source;

    const auto& sub = properties_.YCbCrSubSampling;
    s.hSubSampling = sub.size() >= 2 ? sub[0] : 1;
    s.vSubSampling = sub.size() >= 2 ? sub[1] : 1;

    if (s.tables) {
        s.data = s.tables;
        s.size = s.tablesLength;
        s.endOfInputSeen = false;
        int result = 0;
        bool read = guardedReadHeader(&s.info, FALSE, &result);
        if (!read || result != JPEG_HEADER_TABLES_ONLY)
            fail(gesJPEGBogusTableField);
        showWarnings(s);
    }
    s.data = nullptr;
    s.size = 0;
    s.source.next_input_byte = nullptr;
    s.source.bytes_in_buffer = 0;
}

void TTIFFJPEGDecoder::Decode(const uint8_t*& Source, uint8_t*& Dest, int32_t PackedSize, int32_t UnpackedSize)
{
    if (!state_->created)
        DecodeInit();
    State& s = *state_;
    const TImageProperties& p = properties_;
    j_decompress_ptr info = &s.info;
    jpeg_abort(reinterpret_cast<j_common_ptr>(info));
    s.data = Source;
    s.size = std::size_t(std::max(PackedSize, 0));
    s.endOfInputSeen = false;
    const std::string compressionError = Format(gesCompression, "TIF/TIFF");

    int result = 0;
    if (!guardedReadHeader(info, TRUE, &result) || result != JPEG_HEADER_OK)
        fail(compressionError.c_str());
    showWarnings(s);

    // The size this strip (or tile) must have.
    uint64_t width, height, bytesPerLine;
    if (p.Options & ioTiled) {
        width = p.TileWidth;
        height = p.TileLength;
        bytesPerLine = (width * p.BitsPerSample * p.SamplesPerPixel + 7) / 8;
    } else {
        // This strip's own count (the last one for strips past the list); 0 stands for all.
        uint32_t rowsPerStrip =
            p.RowsPerStrip.empty() ? 0 : p.RowsPerStrip[std::min<std::size_t>(p.CurrentStrip, p.RowsPerStrip.size() - 1)];
        if (rowsPerStrip == 0)
            rowsPerStrip = p.Height;
        width = p.Width;
        height = std::min<uint64_t>(p.Height - std::min(p.CurrentRow, p.Height), rowsPerStrip);
        bytesPerLine = p.BytesPerLine;
    }
    // Samples are interleaved unless the file says they lie in planes of their own.
    const bool chunky = p.PlanarConfig != 2;
    if (info->image_width != width || info->image_height != height)
        fail(gesJPEGStripSize);
    if (info->num_components != (chunky ? p.SamplesPerPixel : 1))
        fail(gesJPEGComponentCount);
    if (info->data_precision != p.BitsPerSample)
        fail(gesJPEGDataPrecision);
    const jpeg_component_info* c = info->comp_info;
    bool sampling = c[0].h_samp_factor == (chunky ? s.hSubSampling : 1) &&
                    c[0].v_samp_factor == (chunky ? s.vSubSampling : 1);
    for (int i = 1; i < info->num_components; ++i)
        sampling = sampling && c[i].h_samp_factor == 1 && c[i].v_samp_factor == 1;
    if (!sampling)
        fail(gesJPEGSamplingFactors);

    // YCbCr comes out as red, green, blue; anything else (grey, RGB) passes as stored.
    if (p.ColorScheme == csYCbCr) {
        info->jpeg_color_space = JCS_YCbCr;
        info->out_color_space = JCS_RGB;
    } else {
        info->jpeg_color_space = JCS_UNKNOWN;
        info->out_color_space = JCS_UNKNOWN;
    }

    if (!guardedStart(info))
        fail(compressionError.c_str());
    showWarnings(s);
    if (bytesPerLine == 0 || std::size_t(std::max(UnpackedSize, 0)) % bytesPerLine != 0)
        fail(gesJPEGFractionalLine);
    if (uint64_t(info->output_width) * uint64_t(info->output_components) > bytesPerLine)
        fail(gesJPEGStripSize);

    // Only the rows this strip holds, however many the buffer has room for.
    const JDIMENSION wanted = JDIMENSION(std::min<uint64_t>(uint64_t(UnpackedSize) / bytesPerLine, info->output_height));
    s.rows.resize(wanted);
    for (JDIMENSION y = 0; y < wanted; ++y)
        s.rows[y] = Dest + y * bytesPerLine;
    JDIMENSION done = 0;
    bool read = guardedReadRows(info, s.rows.data(), wanted, &done);
    if (!read)
        fail(compressionError.c_str());
    // Finishing a decompressor that still has rows to give is itself a fatal error.
    if (done < info->output_height)
        jpeg_abort(reinterpret_cast<j_common_ptr>(info));
    else if (!guardedFinish(info))
        fail(compressionError.c_str());
    showWarnings(s);
}

void TTIFFJPEGDecoder::DecodeEnd()
{
    if (state_->created) {
        jpeg_destroy(reinterpret_cast<j_common_ptr>(&state_->info));
        state_->created = false;
    }
}

void TTIFFJPEGDecoder::Encode(const uint8_t*, uint8_t*, uint32_t, uint32_t&) {}
