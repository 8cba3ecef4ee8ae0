// The registration table of the image readers: one row per extension, in the order the
// formats are registered at program start. A new reader adds its rows here.
#include "imaging/RasterGraphics.h"

#include "imaging/Autodesk.h"
#include "imaging/CUT.h"
#include "imaging/EPS.h"
#include "imaging/GraphicStrings.h"
#include "imaging/PCD.h"
#include "imaging/PCX.h"
#include "imaging/PNG.h"
#include "imaging/PPM.h"
#include "imaging/PSD.h"
#include "imaging/PSP.h"
#include "imaging/RLA.h"
#include "imaging/SGI.h"
#include "imaging/TIFF.h"
#include "imaging/Targa.h"
#include "platform/SystemPictures.h"

namespace {

struct FormatRow {
    const char* extension;
    const char* common;       // the class's description; empty keeps the one it has
    const char* individual;   // this extension's own description, may be empty
    TFormatTypes types;
    const GraphicClass& (*graphicClass)();
};

const FormatRow kFormats[] = {
    // The class library's own picture classes (platform/SystemPictures.h).
    {"bmp", gesBitmaps, "", ftRaster, &Bitmap::Class},
    {"ico", gesIcons, "", ftRaster, &Icon::Class},
    {"wmf", gesMetaFiles, "", ftVector, &Metafile::Class},
    {"emf", gesMetaFiles, gesEnhancedMetaFiles, ftVector, &Metafile::Class},
    {"jfif", gesJPGImages, gesJFIFImages, ftRaster, &JPEGImage::Class},
    {"jpg", "", gesJPGImages, ftRaster, &JPEGImage::Class},
    {"jpe", "", gesJPEImages, ftRaster, &JPEGImage::Class},
    {"jpeg", "", gesJPEGImages, ftRaster, &JPEGImage::Class},
    {"rle", gesBitmaps, gesRLEBitmaps, ftRaster, &Bitmap::Class},
    {"dib", "", gesDIBs, ftRaster, &Bitmap::Class},
    // The image readers.
    {"win", gesTruevision, "", ftRaster, &TTargaGraphic::Class},
    {"vst", "", "", ftRaster, &TTargaGraphic::Class},
    {"vda", "", "", ftRaster, &TTargaGraphic::Class},
    {"tga", "", "", ftRaster, &TTargaGraphic::Class},
    {"icb", "", "", ftRaster, &TTargaGraphic::Class},
    {"tiff", gesTIFF, gesMacTIFF, ftMultiImage | ftRaster, &TTIFFGraphic::Class},
    {"tif", "", gesPCTIF, ftMultiImage | ftRaster, &TTIFFGraphic::Class},
    {"fax", "", gesGFIFax, ftMultiImage | ftRaster, &TTIFFGraphic::Class},
    {"eps", gesEPS, "", ftRaster, &TEPSGraphic::Class},
    {"pcx", gesZSoft, "", ftRaster, &TPCXGraphic::Class},
    {"pcc", "", "", ftRaster, &TPCXGraphic::Class},
    {"scr", "", gesZSoftWord, ftRaster, &TPCXGraphic::Class},
    {"rpf", gesAliasWaveFront, "", ftRaster, &TRLAGraphic::Class},
    {"rla", "", "", ftRaster, &TRLAGraphic::Class},
    {"sgi", gesSGI, gesSGITrueColor, ftRaster, &TSGIGraphic::Class},
    {"rgba", "", gesSGITrueColorAlpha, ftRaster, &TSGIGraphic::Class},
    {"rgb", "", gesSGITrueColor, ftRaster, &TSGIGraphic::Class},
    {"bw", "", gesSGIMono, ftRaster, &TSGIGraphic::Class},
    {"psd", gesPhotoshop, "", ftLayered | ftRaster, &TPSDGraphic::Class},
    {"pdd", "", "", ftLayered | ftRaster, &TPSDGraphic::Class},
    {"ppm", gesPortable, gesPortablePixel, ftRaster, &TPPMGraphic::Class},
    {"pgm", "", gesPortableGray, ftRaster, &TPPMGraphic::Class},
    {"pbm", "", gesPortableMono, ftRaster, &TPPMGraphic::Class},
    {"cel", gesAutoDesk, "", ftRaster, &TAutodeskGraphic::Class},
    {"pic", gesAutoDesk, "", ftRaster, &TAutodeskGraphic::Class},
    {"pcd", gesKodakPhotoCD, "", ftRaster, &TPCDGraphic::Class},
    {"cut", gesHalo, "", ftRaster, &TCUTGraphic::Class},
    {"psp", gesPaintShopPro, "", ftRaster | ftVector, &TPSPGraphic::Class},
    {"png", gesPortableNetworkGraphic, "", ftRaster, &TPNGGraphic::Class},
};

// Classes unregistered at program end, in this order; then the platform bitmap's "rle" and
// "dib", then PNG. The list's Clear takes the rest (the class library's four and EPS).
const GraphicClass& (*const kUnregisterOrder[])() = {
    &TPSPGraphic::Class,
    &TPSDGraphic::Class,
    &TTargaGraphic::Class,
    &TTIFFGraphic::Class,
    &TSGIGraphic::Class,
    &TPCXGraphic::Class,
    &TAutodeskGraphic::Class,
    &TPCDGraphic::Class,
    &TPPMGraphic::Class,
    &TCUTGraphic::Class,
    &TRLAGraphic::Class,
};

} // namespace

void RegisterImageFormats(TFileFormatList& list)
{
    for (const FormatRow& row : kFormats)
        list.RegisterFileFormat(row.extension, row.common, row.individual, row.types, false, &row.graphicClass());
}

void UnregisterImageFormats(TFileFormatList& list)
{
    for (auto graphicClass : kUnregisterOrder)
        list.UnregisterFileFormat("", &graphicClass());
    list.UnregisterFileFormat("rle", &Bitmap::Class());
    list.UnregisterFileFormat("dib", &Bitmap::Class());
    list.UnregisterFileFormat("", &TPNGGraphic::Class());
}
