#include "platform/Picture.h"

#include "platform/Files.h"
#include "platform/Text.h"

#include <algorithm>

PictureFormats& PictureFormats::Instance()
{
    static PictureFormats formats;
    return formats;
}

void PictureFormats::RegisterFileFormat(std::string_view extension, std::string_view description,
                                        const GraphicClass& graphicClass)
{
    std::erase_if(formats_, [&](const Format& f) { return EqualsNoCase(f.extension, extension); });
    formats_.push_back({std::string(extension), std::string(description), &graphicClass});
}

void PictureFormats::UnregisterGraphicClass(const GraphicClass& graphicClass)
{
    std::erase_if(formats_, [&](const Format& f) { return f.graphicClass == &graphicClass; });
}

const GraphicClass* PictureFormats::ClassOf(std::string_view extension) const
{
    for (const Format& f : formats_)
        if (EqualsNoCase(f.extension, extension))
            return f.graphicClass;
    return nullptr;
}

std::unique_ptr<Bitmap> PictureFormats::LoadFromFile(const std::string& fileName) const
{
    std::string name = FileNameOf(fileName);
    auto dot = name.rfind('.');
    std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    const GraphicClass* graphicClass = ClassOf(extension);
    if (!graphicClass || extension.empty())
        throw EInvalidGraphic("Unknown picture file extension (." + extension + ")");
    std::unique_ptr<Bitmap> picture = graphicClass->create();
    picture->LoadFromFile(fileName);
    return picture;
}

std::unique_ptr<Bitmap> LoadPicture(const std::string& fileName)
{
    return PictureFormats::Instance().LoadFromFile(fileName);
}
