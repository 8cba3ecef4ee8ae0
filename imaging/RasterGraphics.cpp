#include "imaging/RasterGraphics.h"

#include "imaging/GraphicCompression.h"
#include "imaging/GraphicStrings.h"
#include "platform/Resources.h"
#include "platform/Sizes.h"
#include "platform/Stream.h"
#include "platform/Text.h"

#include <algorithm>

void RasterError(const std::string& message)
{
    throw EInvalidGraphic(message);
}

void RasterErrorFmt(const char* message, const std::string& argument)
{
    throw EInvalidGraphic(Format(message, argument.c_str()));
}

void RasterErrorFmt(const char* message, const std::string& argument1, const std::string& argument2)
{
    throw EInvalidGraphic(Format(message, argument1.c_str(), argument2.c_str()));
}

void RethrowImageError(const char* formatName)
{
    try {
        throw;
    } catch (const ReadError&) {
        throw;
    } catch (const EInvalidGraphic&) {
        throw;
    } catch (const EGraphicCompression&) {
        throw;
    } catch (const EColorConversionError&) {
        throw;
    } catch (const IoError&) {
        RasterErrorFmt(gesInvalidImage, formatName);
    } catch (const EConvertError&) {
        RasterErrorFmt(gesInvalidImage, formatName);
    }
}

bool CanLoadFile(const GraphicClass& graphicClass, const std::string& fileName)
{
    if (!graphicClass.canLoad)
        return false;
    FileStream stream(fileName, FileStream::Mode::OpenRead);
    return graphicClass.canLoad(stream);
}

void TRasterGraphic::Assign(const Bitmap& source)
{
    if (auto* raster = dynamic_cast<const TRasterGraphic*>(&source))
        ImageProperties = raster->ImageProperties;
    Bitmap::Assign(source);
}

bool TRasterGraphic::CanLoad(Stream&)
{
    return false;
}

bool TRasterGraphic::ReadImageProperties(Stream&, uint32_t)
{
    ImageProperties = TImageProperties();
    ImageProperties.FileGamma = 1.0f;
    return false;
}

bool TRasterGraphic::PeekHeader(Stream& stream, void* buffer, std::size_t size)
{
    uint64_t start = stream.Position();
    if (stream.Remaining() <= size)
        return false;
    std::size_t got = stream.Read(buffer, size);
    stream.SetPosition(start);
    return got == size;
}

std::size_t TRasterGraphic::ImageBytes(uint64_t width, uint64_t height, uint64_t bitsPerPixel, const char* formatName)
{
    auto row = CheckedRowBytes(width, bitsPerPixel, MaxImageBytes);
    auto bytes = row ? CheckedProduct({*row, height}, MaxImageBytes) : std::nullopt;
    if (!bytes)
        TooLarge(width, height, formatName);
    return *bytes;
}

std::size_t TRasterGraphic::BufferBytes(std::initializer_list<uint64_t> factors, uint64_t width, uint64_t height,
                                        const char* formatName)
{
    auto bytes = CheckedProduct(factors, MaxImageBytes);
    if (!bytes)
        TooLarge(width, height, formatName);
    return *bytes;
}

void TRasterGraphic::TooLarge(uint64_t width, uint64_t height, const char* formatName)
{
    RasterError(Format(gesInvalidImage, formatName) + " (a size of " + std::to_string(width) + " x " +
                std::to_string(height) + " pixels)");
}

void TRasterGraphic::ProgressRow(uint32_t row, uint32_t rows)
{
    Progress(ProgressStage::Running, uint8_t(uint64_t(row) * 100 / (rows ? rows : 1)), true, ProgressRect, "");
    ++ProgressRect.top;
    ++ProgressRect.bottom;
}

// ---- the format list ----

void TFileFormatList::attach(TExtensionEntry& entry, std::string_view common, TGraphicClass graphicClass)
{
    int index = FindGraphicClass(graphicClass);
    TClassEntry* classEntry;
    if (index < 0) {
        classes_.push_back(std::make_unique<TClassEntry>());
        classEntry = classes_.back().get();
        classEntry->GraphicClass = graphicClass;
    } else {
        classEntry = classes_[index].get();
    }
    if (!common.empty())
        classEntry->Description = std::string(common);
    ++classEntry->Count;
    entry.ClassReference = classEntry;
}

void TFileFormatList::removeClassEntry(TClassEntry* entry)
{
    std::erase_if(classes_, [&](const auto& c) { return c.get() == entry; });
}

void TFileFormatList::RegisterFileFormat(std::string_view extension, std::string_view common,
                                         std::string_view individual, TFormatTypes formatTypes, bool replace,
                                         TGraphicClass graphicClass)
{
    if (extension.empty() || !graphicClass)
        return;
    int index = FindExtension(extension);
    TExtensionEntry* entry;
    if (index < 0) {
        extensions_.push_back(std::make_unique<TExtensionEntry>());
        entry = extensions_.back().get();
        entry->Extension = std::string(extension);
        entry->Description = std::string(individual);
        entry->FormatTypes = formatTypes;
        attach(*entry, common, graphicClass);
    } else if (replace) {
        entry = extensions_[index].get();
        TClassEntry* old = entry->ClassReference;
        // Already this class's: the lists stay as they are, the platform still hears of it.
        if (!old || old->GraphicClass != graphicClass) {
            attach(*entry, common, graphicClass);
            if (old && --old->Count == 0)
                removeClassEntry(old);
        }
    } else {
        RasterErrorFmt(gesRegistration, std::string(extension));
    }
    platform_.RegisterFileFormat(extension, !individual.empty() ? std::string(individual) : entry->ClassReference->Description,
                                 *graphicClass);
}

void TFileFormatList::UnregisterFileFormat(std::string_view extension, TGraphicClass graphicClass)
{
    if (!extension.empty()) {
        int index = FindExtension(extension);
        if (index < 0)
            return;
        TClassEntry* classEntry = extensions_[index]->ClassReference;
        if (classEntry && --classEntry->Count == 0) {
            platform_.UnregisterGraphicClass(*classEntry->GraphicClass);
            removeClassEntry(classEntry);
        }
        extensions_.erase(extensions_.begin() + index);
        return;
    }
    int classIndex = FindGraphicClass(graphicClass);
    if (classIndex < 0)
        return;   // never registered: nothing to undo
    TClassEntry* classEntry = classes_[classIndex].get();
    for (int i = int(extensions_.size()) - 1; i >= 0 && classEntry->Count > 0; --i) {
        if (extensions_[i]->ClassReference == classEntry) {
            extensions_.erase(extensions_.begin() + i);
            --classEntry->Count;
        }
    }
    platform_.UnregisterGraphicClass(*graphicClass);
    removeClassEntry(classEntry);
}

void TFileFormatList::Clear()
{
    for (const auto& c : classes_)
        platform_.UnregisterGraphicClass(*c->GraphicClass);
    classes_.clear();
    extensions_.clear();
}

int TFileFormatList::FindExtension(std::string_view extension) const
{
    if (extension.empty())
        return -1;
    for (std::size_t i = 0; i < extensions_.size(); ++i)
        if (EqualsNoCase(extensions_[i]->Extension, extension))
            return int(i);
    return -1;
}

int TFileFormatList::FindGraphicClass(TGraphicClass graphicClass) const
{
    for (std::size_t i = 0; i < classes_.size(); ++i)
        if (classes_[i]->GraphicClass == graphicClass)
            return int(i);
    return -1;
}

std::string TFileFormatList::GetDescription(TGraphicClass graphicClass) const
{
    int index = FindGraphicClass(graphicClass);
    return index < 0 ? std::string() : classes_[index]->Description;
}

void TFileFormatList::GetExtensionList(StringList& list) const
{
    list.Clear();
    for (const auto& e : extensions_)
        list.Add(e->Extension);
}

namespace {
// A list of texts that, when sorted, keeps its order ignoring letter case and ignores a
// text already present (keeping the first).
template <class T>
struct FilterList {
    bool sorted;
    std::vector<std::pair<std::string, T>> items;

    void add(std::string key, T value)
    {
        if (!sorted) {
            items.emplace_back(std::move(key), std::move(value));
            return;
        }
        auto less = [](const auto& item, const std::string& k) { return LowerAscii(item.first) < LowerAscii(k); };
        auto at = std::lower_bound(items.begin(), items.end(), key, less);
        if (at != items.end() && EqualsNoCase(at->first, key))
            return;
        items.emplace(at, std::move(key), std::move(value));
    }
};

// The patterns of a list, joined by "; ".
std::string joinPatterns(const FilterList<int>& patterns)
{
    std::string out;
    for (const auto& item : patterns.items)
        out += (out.empty() ? "" : "; ") + item.first;
    return out;
}
} // namespace

std::string TFileFormatList::GetGraphicFilter(TFormatTypes formatTypes, TFilterSortType sortType,
                                              TFilterOptions options, TGraphicClass graphicClass) const
{
    if (formatTypes == 0)
        formatTypes = ftAll;
    FilterList<std::string> descriptions{sortType == fstBoth || sortType == fstDescription, {}};
    const bool sortExtensions = sortType == fstBoth || sortType == fstExtension;
    FilterList<int> allExtensions{sortExtensions, {}};
    bool includeAll = options & foIncludeAll;

    if (options & foCompact) {
        for (const auto& c : classes_) {
            if (graphicClass && c->GraphicClass != graphicClass)
                continue;
            FilterList<int> patterns{sortExtensions, {}};
            for (const auto& e : extensions_) {
                if (e->ClassReference == c.get() && (e->FormatTypes & formatTypes)) {
                    patterns.add("*." + e->Extension, 0);
                    if (includeAll)
                        allExtensions.add("*." + e->Extension, 0);
                }
            }
            if (!patterns.items.empty())
                descriptions.add(c->Description, joinPatterns(patterns));
        }
    } else {
        for (const auto& e : extensions_) {
            if (graphicClass && e->ClassReference->GraphicClass != graphicClass)
                continue;
            if (!(e->FormatTypes & formatTypes))
                continue;
            std::string description = e->Description.empty() ? e->ClassReference->Description : e->Description;
            descriptions.add(description, "*." + e->Extension);
            if (includeAll)
                allExtensions.add("*." + e->Extension, 0);
        }
    }

    std::string result;
    if (includeAll && !allExtensions.items.empty())
        result += std::string(gesAllImages) + "|" + joinPatterns(allExtensions) + "|";
    // The entry format "%s", or "%s%s" with the pattern in parentheses after the description.
    const char* entryFormat = (options & foIncludeExtension) ? "%s%s" : "%s";
    for (const auto& [description, pattern] : descriptions.items) {
        std::string text = Format(entryFormat, description.c_str(), (" (" + pattern + ")").c_str());
        result += text + "|" + pattern + "|";
    }
    if (!result.empty())
        result.pop_back();
    return result;
}

TGraphicClass TFileFormatList::GraphicFromExtension(std::string_view s) const
{
    auto dot = s.find('.');
    if (dot != std::string_view::npos)
        s.remove_prefix(dot + 1);
    int index = FindExtension(s);
    return index < 0 ? nullptr : extensions_[index]->ClassReference->GraphicClass;
}

TGraphicClass TFileFormatList::GraphicFromContent(const std::string& fileName) const
{
    FileStream stream(fileName, FileStream::Mode::OpenRead);
    return GraphicFromContent(stream);
}

TGraphicClass TFileFormatList::GraphicFromContent(Stream& stream) const
{
    for (const auto& c : classes_) {
        const GraphicClass* g = c->GraphicClass;
        if (!g->raster || !g->canLoad)
            continue;
        if (g->canLoad(stream))
            return g;
    }
    return nullptr;
}

TFileFormatList& FileFormatList()
{
    struct Holder {
        TFileFormatList list;
        Holder() { RegisterImageFormats(list); }
        ~Holder() { UnregisterImageFormats(list); }
    };
    static Holder holder;
    return holder.list;
}

std::unique_ptr<TRasterGraphic> LoadGraphicFromBytes(const void* data, std::size_t size)
{
    ReadOnlyMemoryStream stream(data, size);
    TGraphicClass graphicClass = FileFormatList().GraphicFromContent(stream);
    if (!graphicClass)
        return nullptr;
    std::unique_ptr<Bitmap> picture = graphicClass->create();
    auto* raster = dynamic_cast<TRasterGraphic*>(picture.get());
    if (!raster)
        return nullptr;
    picture.release();
    std::unique_ptr<TRasterGraphic> result(raster);
    result->LoadFromStream(stream);
    return result;
}

void TRasterGraphic::LoadFromResourceID(const void*, uint32_t resourceID)
{
    const std::string* bytes = FindResource(resourceID);
    if (!bytes) throw StreamError(Format("Resource %u not found", unsigned(resourceID)));
    ReadOnlyMemoryStream stream(*bytes);
    LoadFromStream(stream);
}

void TRasterGraphic::LoadFromResourceName(const void*, const std::string& resourceName)
{
    const std::string* bytes = FindResource(resourceName);
    if (!bytes) throw StreamError("Resource " + resourceName + " not found");
    ReadOnlyMemoryStream stream(*bytes);
    LoadFromStream(stream);
}
