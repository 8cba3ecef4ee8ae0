#include "gamedata/Citp.h"

#include <limits>
#include <stdexcept>

#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Text.h"

namespace {

// Every count and offset of the format is a u32.
uint32_t ToU32(std::size_t n)
{
    if (n > std::numeric_limits<uint32_t>::max()) throw std::length_error("the palette is too large for an ITP file");
    return uint32_t(n);
}

constexpr uint32_t EntryStructType = 0;
constexpr uint32_t TopStructType = 0xFFFFFFFF;

constexpr uint32_t StrRefSingleTileGroups = 63261;
constexpr uint32_t StrRefMultiTileGroups = 63262;
constexpr uint32_t StrRefTerrains = 8282;
constexpr uint32_t StrRefEraser = 63291;
constexpr uint32_t StrRefRaiseLower = 63292;

// The palette's first field of a terrain or a crosser: its StrRef when it has a real one,
// else its unlocalized name, else its name.
template <class Entry>
void NameFieldOf(const Entry& e, bool& useStrRef, uint32_t& strRef, std::string& name)
{
    useStrRef = !e.StrRef.empty() && e.StrRef != "-1" && e.StrRef != "0";
    if (useStrRef) {
        strRef = uint32_t(StrToInt(e.StrRef));
    } else {
        name = e.UnlocalizedName.empty() ? e.Name : e.UnlocalizedName;
    }
}

} // namespace

ITPExporter::ITPExporter(const Tileset& tileset) : tileset_(tileset) {}

uint32_t ITPExporter::AddStruct(uint32_t type, uint32_t dataOrDataOffset, uint32_t fieldCount, bool addToOpenList)
{
    uint32_t index = ToU32(structs_.Size() / 12);
    structs_.U32LE(type);
    structs_.U32LE(dataOrDataOffset);
    structs_.U32LE(fieldCount);
    if (addToOpenList) AddListElement(index);
    return index;
}

uint32_t ITPExporter::AddField(uint32_t type, uint32_t dataOrDataOffset, std::string_view value,
                               std::string_view label, bool viaFieldIndices)
{
    if (type == TypeExoString || type == TypeResRef) {
        dataOrDataOffset = AddFieldData(value, type);
    } else if (type == TypeList) {
        dataOrDataOffset = ToU32(listIndices_.Size());
        StartList();
    }
    uint32_t labelIndex = AddLabel(label);
    uint32_t index = ToU32(fields_.Size() / 12);
    fields_.U32LE(type);
    fields_.U32LE(labelIndex);
    fields_.U32LE(dataOrDataOffset);
    return viaFieldIndices ? AddFieldIndex(index) : index;
}

uint32_t ITPExporter::AddLabel(std::string_view label)
{
    int found = labelList_.IndexOf(label);
    if (found >= 0) return uint32_t(found);
    // Labels are at most 16 characters; the palette's own are all shorter.
    labels_.FixedString(label, 16);
    return ToU32(std::size_t(labelList_.Add(std::string(label.substr(0, 16)))));
}

uint32_t ITPExporter::AddFieldData(std::string_view value, uint32_t type)
{
    uint32_t offset = ToU32(fieldData_.Size());
    if (type == TypeResRef) {
        // The length is one byte: a longer name is cut so that the length always tells
        // where the next value starts.
        if (value.size() > 255) value = value.substr(0, 255);
        fieldData_.U8(uint8_t(value.size()));
    } else {
        fieldData_.U32LE(ToU32(value.size()));
    }
    fieldData_.Bytes(value);
    return offset;
}

uint32_t ITPExporter::AddFieldIndex(uint32_t index)
{
    uint32_t offset = ToU32(fieldIndices_.Size());
    fieldIndices_.U32LE(index);
    return offset;
}

void ITPExporter::StartList()
{
    openListPos_ = listIndices_.Size();
    openListElements_ = 0;
    listIndices_.U32LE(0);
}

void ITPExporter::AddListElement(uint32_t structIndex)
{
    if (!openListPos_) throw std::logic_error("palette entry added before any list was opened");
    listIndices_.U32LE(structIndex);
    ++openListElements_;
    listIndices_.PatchU32LE(*openListPos_, openListElements_);
}

void ITPExporter::SetListIndex(uint32_t dwordPosition, uint32_t value)
{
    listIndices_.PatchU32LE(std::size_t(dwordPosition) * 4, value);
}

void ITPExporter::FillHeader()
{
    uint32_t structOffset = uint32_t(HeaderSize);
    uint32_t fieldOffset = ToU32(structOffset + structs_.Size());
    uint32_t labelOffset = ToU32(std::size_t(fieldOffset) + fields_.Size());
    uint32_t fieldDataOffset = ToU32(std::size_t(labelOffset) + labels_.Size());
    uint32_t fieldIndicesOffset = ToU32(std::size_t(fieldDataOffset) + fieldData_.Size());
    uint32_t listIndicesOffset = ToU32(std::size_t(fieldIndicesOffset) + fieldIndices_.Size());
    ToU32(std::size_t(listIndicesOffset) + listIndices_.Size());

    header_ = ByteWriter();
    header_.Bytes("ITP ");
    header_.Bytes("V3.2");
    header_.U32LE(structOffset);
    header_.U32LE(StructCount());
    header_.U32LE(fieldOffset);
    header_.U32LE(FieldCount());
    header_.U32LE(labelOffset);
    header_.U32LE(LabelCount());
    header_.U32LE(fieldDataOffset);
    header_.U32LE(ToU32(fieldData_.Size()));
    header_.U32LE(fieldIndicesOffset);
    header_.U32LE(ToU32(fieldIndices_.Size()));
    header_.U32LE(listIndicesOffset);
    header_.U32LE(ToU32(listIndices_.Size()));
}

std::string ITPExporter::FileBytes()
{
    FillHeader();
    std::string out;
    out.reserve(header_.Size() + structs_.Size() + fields_.Size() + labels_.Size() + fieldData_.Size() +
                fieldIndices_.Size() + listIndices_.Size());
    for (const ByteWriter* block : {&header_, &structs_, &fields_, &labels_, &fieldData_, &fieldIndices_, &listIndices_})
        out.append(block->View());
    return out;
}

void ITPExporter::BeginMain()
{
    uint32_t top = AddStruct(TopStructType, 0, 1, false);
    mainListPos_ = ToU32(listIndices_.Size());
    uint32_t mainField = AddField(TypeList, mainListPos_, {}, "MAIN", false);
    // The top struct's one field is MAIN.
    structs_.PatchU32LE(std::size_t(top) * 12 + 4, mainField);
    // Three categories; the first is the next struct, the others are set when they are made.
    for (int i = 0; i < 3; ++i) AddListElement(top + 1);
}

void ITPExporter::AddCategory(uint32_t strRef, uint8_t id, int mainElement)
{
    uint32_t first = AddField(TypeDword, strRef, {}, "STRREF", true);
    uint32_t category = AddStruct(EntryStructType, first, 3, false);
    SetListIndex(mainListPos_ / 4 + uint32_t(mainElement), category);
    AddField(TypeByte, id, {}, "ID", true);
    AddField(TypeList, ToU32(listIndices_.Size()), {}, "LIST", true);
}

void ITPExporter::AddEntry(uint32_t firstType, uint32_t firstData, std::string_view firstValue,
                           std::string_view firstLabel, std::string_view resRef)
{
    uint32_t first = AddField(firstType, firstData, firstValue, firstLabel, true);
    AddStruct(EntryStructType, first, 2, true);
    AddField(TypeResRef, 0, resRef, "RESREF", true);
}

void ITPExporter::AddCategory0()
{
    AddCategory(StrRefSingleTileGroups, 0, 1);
}

void ITPExporter::AddCategory1()
{
    AddCategory(StrRefMultiTileGroups, 1, 2);
}

void ITPExporter::AddCategory2()
{
    AddCategory(StrRefTerrains, 2, 3);
}

std::optional<std::string> ITPExporter::GroupResRef(const CGroup& group) const
{
    for (const std::string& cell : group.Cells) {
        int tile = -1;
        if (!TryStrToInt(cell, tile)) continue;
        if (const CTile* t = tileset_.TileList.At(tile)) return t->Model;
    }
    return std::nullopt;
}

void ITPExporter::AddGroups(bool multiCell)
{
    for (const CGroup* g : tileset_.GroupList) {
        int cells = g->Cells.Count();
        if (cells == 0 || (cells > 1) != multiCell) continue;
        std::optional<std::string> resRef = GroupResRef(*g);
        if (!resRef) continue;
        if (!g->StrRef.empty() && g->StrRef != "-1") {
            AddEntry(TypeDword, uint32_t(StrToInt(g->StrRef)), {}, "STRREF", *resRef);
        } else {
            AddEntry(TypeExoString, 0, g->Name, "NAME", *resRef);
        }
    }
}

void ITPExporter::AddSingleTileGroups()
{
    AddGroups(false);
}

void ITPExporter::AddMultiTileGroups()
{
    AddGroups(true);
}

void ITPExporter::AddTerrainEntries(bool hasHeightTransition)
{
    auto add = [this](const auto& entry) {
        bool useStrRef = false;
        uint32_t strRef = 0;
        std::string name;
        NameFieldOf(entry, useStrRef, strRef, name);
        if (useStrRef) {
            AddEntry(TypeDword, strRef, {}, "STRREF", entry.Name);
        } else {
            AddEntry(TypeExoString, 0, name, "NAME", entry.Name);
        }
    };
    for (const CTerrain* t : tileset_.TerrainList) add(*t);
    for (const CCrosser* c : tileset_.CrosserList) add(*c);
    AddEntry(TypeDword, StrRefEraser, {}, "STRREF", "eraser");
    if (hasHeightTransition) AddEntry(TypeDword, StrRefRaiseLower, {}, "STRREF", "raiselower");
}

bool ITPExporter::WriteFile(const std::string& path)
{
    const char* const failed = "Error on writing ITP file";
    std::error_code why;
    try {
        if (WriteFileAtomic(path, FileBytes(), &why)) return true;
    } catch (const std::length_error& e) {
        AppDialogs().Notice(std::string(failed) + "\n" + path + ": " + e.what());
        return false;
    }
    AppDialogs().Notice(FileErrorText(failed, path, why));
    return false;
}
