#pragma once
// The tileset's palette for the game's toolset: an ITP file in the game's generic GFF V3.2
// format. The six GFF blocks are assembled in memory from the group, terrain and crosser
// lists and written in one go. The blocks grow as needed, so a palette of any size is
// written whole.
//
// One exporter serves one export. The steps run in this order:
//   BeginMain, AddCategory0, AddSingleTileGroups, AddCategory1, AddMultiTileGroups,
//   AddCategory2, AddTerrainEntries, WriteFile.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/Tileset.h"
#include "platform/ByteIO.h"
#include "platform/StringList.h"

class ITPExporter {
public:
    // GFF field types the palette uses.
    static constexpr uint32_t TypeByte = 0;
    static constexpr uint32_t TypeDword = 4;
    static constexpr uint32_t TypeExoString = 10;
    static constexpr uint32_t TypeResRef = 11;
    static constexpr uint32_t TypeList = 15;
    static constexpr std::size_t HeaderSize = 56;

    explicit ITPExporter(const Tileset& tileset = TS());

    // The top struct (index 0) with its MAIN list of the three categories.
    void BeginMain();
    // Category 0 and its entries: groups of exactly one cell.
    void AddCategory0();
    void AddSingleTileGroups();
    // Category 1 and its entries: groups of two or more cells.
    void AddCategory1();
    void AddMultiTileGroups();
    // Category 2 and its entries: every terrain, every crosser, the eraser and, when the
    // tileset has height transitions, the height changer.
    void AddCategory2();
    void AddTerrainEntries(bool hasHeightTransition);
    // Writes the file, replacing any old one only once the new one is complete. On failure
    // shows "Error on writing ITP file" with the path and the reason, leaves any old file as
    // it was and returns false.
    bool WriteFile(const std::string& path);

    // The bytes WriteFile writes.
    std::string FileBytes();

    // Building blocks. Every struct, field and label index and every block offset is 32-bit;
    // a palette that would outgrow that throws std::length_error.
    //
    // Appends a struct entry and returns its index; addToOpenList also appends the index to
    // the list opened last.
    uint32_t AddStruct(uint32_t type, uint32_t dataOrDataOffset, uint32_t fieldCount, bool addToOpenList);
    // Appends a field entry. For CExoString and CResRef the value goes to the field data
    // block and the field holds its offset; for a List a new list is opened at the end of
    // the list indices block and the field holds that offset (the given value is not used).
    // Returns the field's index or, with viaFieldIndices, the offset in the field indices
    // block where its index was appended.
    uint32_t AddField(uint32_t type, uint32_t dataOrDataOffset, std::string_view value, std::string_view label,
                      bool viaFieldIndices);
    // The index of the label, added when no label equal to it ignoring case exists yet.
    uint32_t AddLabel(std::string_view label);
    // Appends a CExoString (u32 length) or CResRef (u8 length) value; returns its offset.
    uint32_t AddFieldData(std::string_view value, uint32_t type);
    // Appends a field index to the field indices block; returns its offset.
    uint32_t AddFieldIndex(uint32_t index);
    // Opens a new, empty list at the end of the list indices block.
    void StartList();
    // Appends a struct index to the open list and updates its count.
    void AddListElement(uint32_t structIndex);
    // Overwrites the dword at the given dword position of the list indices block.
    void SetListIndex(uint32_t dwordPosition, uint32_t value);
    // Builds the 56-byte header from the blocks as they stand.
    void FillHeader();

    // The ResRef of a group's palette entry: the Model of the tile in its first cell; when
    // that cell is empty or names no tile, the Model of the first cell that names one.
    // None when no cell names a tile: such a group is left out of the palette.
    std::optional<std::string> GroupResRef(const CGroup& group) const;

    uint32_t StructCount() const { return uint32_t(structs_.Size() / 12); }
    uint32_t FieldCount() const { return uint32_t(fields_.Size() / 12); }
    uint32_t LabelCount() const { return uint32_t(labelList_.Count()); }

private:
    void AddCategory(uint32_t strRef, uint8_t id, int mainElement);
    void AddEntry(uint32_t firstType, uint32_t firstData, std::string_view firstValue, std::string_view firstLabel,
                  std::string_view resRef);
    void AddGroups(bool multiCell);

    const Tileset& tileset_;
    ByteWriter header_;
    ByteWriter structs_;
    ByteWriter fields_;
    ByteWriter labels_;
    StringList labelList_;
    ByteWriter fieldData_;
    ByteWriter fieldIndices_;
    ByteWriter listIndices_;
    std::optional<std::size_t> openListPos_;   // byte position of the open list's count
    uint32_t openListElements_ = 0;
    uint32_t mainListPos_ = 0;                 // byte position of the MAIN list
};
