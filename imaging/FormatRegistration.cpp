// The registration table of the image readers: one row per extension, in the order the
// formats are registered at program start. A new reader adds its rows here.
#include "imaging/RasterGraphics.h"

#include "imaging/GraphicStrings.h"
#include "imaging/PNG.h"
#include "imaging/Targa.h"

namespace {

struct FormatRow {
    const char* extension;
    const char* common;       // the class's description; empty keeps the one it has
    const char* individual;   // this extension's own description, may be empty
    TFormatTypes types;
    const GraphicClass& (*graphicClass)();
};

const FormatRow kFormats[] = {
    {"win", gesTruevision, "", ftRaster, &TTargaGraphic::Class},
    {"vst", "", "", ftRaster, &TTargaGraphic::Class},
    {"vda", "", "", ftRaster, &TTargaGraphic::Class},
    {"tga", "", "", ftRaster, &TTargaGraphic::Class},
    {"icb", "", "", ftRaster, &TTargaGraphic::Class},
    {"png", gesPortableNetworkGraphic, "", ftRaster, &TPNGGraphic::Class},
};

// Classes unregistered at program end, in this order (PNG goes after the platform bitmap's
// "rle" and "dib" extensions).
const GraphicClass& (*const kUnregisterOrder[])() = {
    &TTargaGraphic::Class,
    &TPNGGraphic::Class,
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
}
