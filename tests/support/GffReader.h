#pragma once
// Reads a GFF V3.2 file (the game's generic format: ITP palettes and others) into a tree,
// so tests can check what a writer produced. Strict on purpose: besides every offset and
// count, it requires that no struct or field is reached twice, which also rules out cycles.
// Damaged input raises ReadError.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ByteIO.h"

struct GffField;

struct GffStruct {
    uint32_t type = 0;
    uint32_t index = 0;   // position in the struct block
    std::vector<GffField> fields;

    // The field with this label (exact); nullptr when absent.
    const GffField* Find(std::string_view label) const;
    // Labels of the fields in order.
    std::vector<std::string> Labels() const;
};

struct GffField {
    uint32_t type = 0;
    std::string label;
    uint64_t value = 0;              // numbers: BYTE to INT, FLOAT and DOUBLE as their bits, 64-bit types
    std::string text;                // CExoString, CResRef, VOID
    std::vector<GffStruct> structs;  // List elements, or the one Struct
};

struct GffHeader {
    std::string fileType, fileVersion;
    uint32_t structOffset = 0, structCount = 0;
    uint32_t fieldOffset = 0, fieldCount = 0;
    uint32_t labelOffset = 0, labelCount = 0;
    uint32_t fieldDataOffset = 0, fieldDataCount = 0;
    uint32_t fieldIndicesOffset = 0, fieldIndicesCount = 0;
    uint32_t listIndicesOffset = 0, listIndicesCount = 0;
};

struct GffFile {
    GffHeader header;
    std::vector<std::string> labels;
    GffStruct top;
    uint32_t structsReached = 0;     // distinct structs reached from the top
    uint32_t fieldsReached = 0;      // distinct fields reached from the top
};

GffFile ReadGff(std::string_view bytes);
