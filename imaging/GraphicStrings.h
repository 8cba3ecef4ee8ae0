#pragma once
// Messages of the image readers, decoders and colour manager. Texts with %s take the
// format name (or feature) they name.

inline constexpr const char* gesInvalidImage = "Cannot load image. Invalid or unexpected %s image format.";
inline constexpr const char* gesInvalidColorFormat = "Invalid color format in %s file.";
inline constexpr const char* gesStreamReadError = "Stream read error in %s file.";
inline constexpr const char* gesUnsupportedImage = "Cannot load image. Unsupported %s image format.";
inline constexpr const char* gesUnsupportedFeature = "Cannot load image. %s not supported for %s files.";
inline constexpr const char* gesInvalidCRC = "Cannot load image. CRC error found in %s file.";
inline constexpr const char* gesCompression = "Cannot load image. Compression error found in %s file.";
inline constexpr const char* gesExtraCompressedData = "Cannot load image. Extra compressed data found in %s file.";
inline constexpr const char* gesInvalidPalette = "Cannot load image. Palette in %s file is invalid.";
inline constexpr const char* gesUnknownCriticalChunk = "Cannot load PNG image. Unexpected but critical chunk detected.";
inline constexpr const char* gesCompressionScheme = "The compression scheme is";
inline constexpr const char* gesRLAPixelFormat = "Image formats other than RGB and RGBA are";
inline constexpr const char* gesPSPFileType = "File versions other than 3 or 4 are";
// First arguments of gesUnsupportedFeature for TIFF layouts the reader does not decode.
inline constexpr const char* gesTiledImages = "Tiled images are";
inline constexpr const char* gesSeparatePlanes = "Images with separate sample planes are";
inline constexpr const char* gesSubsampledYCbCr = "Subsampled YCbCr images without JPEG compression are";
inline constexpr const char* gesPredictorDepth = "Horizontal differencing of samples other than 8 or 16 bits is";

inline constexpr const char* gesIndexedNotSupported =
    "Conversion between indexed and non-indexed pixel formats is not supported.";
inline constexpr const char* gesConversionUnsupported = "Color conversion failed. Could not find a proper method.";
inline constexpr const char* gesInvalidSampleDepth = "Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16.";
inline constexpr const char* gesInvalidPixelDepth = "Sample count per pixel does not correspond to the given color scheme.";
inline constexpr const char* gesInvalidSubSampling = "Subsampling value is invalid. Allowed are 1, 2 and 4.";
inline constexpr const char* gesVerticalSubSamplingError =
    "Vertical subsampling value must be <= horizontal subsampling value.";

inline constexpr const char* gesPreparing = "Preparing...";
inline constexpr const char* gesLoadingData = "Loading data...";
inline constexpr const char* gesUpsampling = "Upsampling...";
inline constexpr const char* gesTransfering = "Transfering...";

inline constexpr const char* gesLZ77Error = "LZ77 decompression error.";
inline constexpr const char* gesJPEGEOI = "JPEG decompression error. Unexpected end of input.";
inline constexpr const char* gesJPEGStripSize = "Improper JPEG strip/tile size.";
inline constexpr const char* gesJPEGComponentCount = "Improper JPEG component count.";
inline constexpr const char* gesJPEGDataPrecision = "Improper JPEG data precision.";
inline constexpr const char* gesJPEGSamplingFactors = "Improper JPEG sampling factors.";
inline constexpr const char* gesJPEGBogusTableField = "Bogus JPEG tables field.";
inline constexpr const char* gesJPEGFractionalLine = "Fractional JPEG scanline unsupported.";
inline constexpr const char* gesWarning = "Warning";
inline constexpr const char* gesAllImages = "All images";
inline constexpr const char* gesRegistration = "Attempt to register %s twice.";
// For the readers that write no format of their own and must not save as anything else.
inline constexpr const char* gesCannotSave = "Cannot save image. The %s format can be read but not saved.";

// Descriptions of the registered formats.
inline constexpr const char* gesBitmaps = "Windows bitmaps";
inline constexpr const char* gesRLEBitmaps = "Run length encoded Windows bitmaps";
inline constexpr const char* gesDIBs = "Device independant Windows bitmaps";
inline constexpr const char* gesEPS = "Encapsulated Postscript images";
inline constexpr const char* gesIcons = "Windows icons";
inline constexpr const char* gesMetaFiles = "Windows metafiles";
inline constexpr const char* gesEnhancedMetaFiles = "Windows enhanced meta files";
inline constexpr const char* gesJPGImages = "JPG images";
inline constexpr const char* gesJPEGImages = "JPEG images";
inline constexpr const char* gesJPEImages = "JPE images";
inline constexpr const char* gesJFIFImages = "JFIF images";
inline constexpr const char* gesTruevision = "Truevision images";
inline constexpr const char* gesTIFF = "Tagged image file format images";
inline constexpr const char* gesMacTIFF = "Macintosh TIFF images";
inline constexpr const char* gesPCTIF = "PC TIF images";
inline constexpr const char* gesGFIFax = "GFI fax images";
inline constexpr const char* gesSGI = "SGI images";
inline constexpr const char* gesSGITrueColor = "SGI true color images";
inline constexpr const char* gesZSoft = "ZSoft Paintbrush images";
inline constexpr const char* gesZSoftWord = "Word 5.x screen capture images";
inline constexpr const char* gesAliasWaveFront = "Alias/Wavefront images";
inline constexpr const char* gesSGITrueColorAlpha = "SGI true color images with alpha";
inline constexpr const char* gesSGIMono = "SGI black/white images";
inline constexpr const char* gesPhotoshop = "Photoshop images";
inline constexpr const char* gesPortable = "Portable map images";
inline constexpr const char* gesPortablePixel = "Portable pixel map images";
inline constexpr const char* gesPortableGray = "Portable gray map images";
inline constexpr const char* gesPortableMono = "Portable bitmap images";
inline constexpr const char* gesAutoDesk = "Autodesk images";
inline constexpr const char* gesKodakPhotoCD = "Kodak Photo-CD images";
inline constexpr const char* gesHalo = "Dr. Halo images";
inline constexpr const char* gesPaintShopPro = "Paintshop Pro images";
inline constexpr const char* gesPortableNetworkGraphic = "Portable network graphic images";
inline constexpr const char* gesCompuserve = "CompuServe images";
