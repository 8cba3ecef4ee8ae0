#include "support/GffReader.h"

#include <string>

const GffField* GffStruct::Find(std::string_view label) const
{
    for (const GffField& f : fields)
        if (f.label == label) return &f;
    return nullptr;
}

std::vector<std::string> GffStruct::Labels() const
{
    std::vector<std::string> out;
    for (const GffField& f : fields) out.push_back(f.label);
    return out;
}

namespace {

class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes), all_(bytes) {}

    GffFile Read()
    {
        if (bytes_.size() < 56) throw ReadError("GFF: file shorter than its 56-byte header");
        GffHeader& h = file_.header;
        h.fileType = all_.Bytes(4);
        h.fileVersion = all_.Bytes(4);
        if (h.fileVersion != "V3.2") throw ReadError("GFF: version '" + h.fileVersion + "', expected 'V3.2'");
        h.structOffset = all_.U32LE();
        h.structCount = all_.U32LE();
        h.fieldOffset = all_.U32LE();
        h.fieldCount = all_.U32LE();
        h.labelOffset = all_.U32LE();
        h.labelCount = all_.U32LE();
        h.fieldDataOffset = all_.U32LE();
        h.fieldDataCount = all_.U32LE();
        h.fieldIndicesOffset = all_.U32LE();
        h.fieldIndicesCount = all_.U32LE();
        h.listIndicesOffset = all_.U32LE();
        h.listIndicesCount = all_.U32LE();

        check(h.structOffset, uint64_t(h.structCount) * 12, "struct block");
        check(h.fieldOffset, uint64_t(h.fieldCount) * 12, "field block");
        check(h.labelOffset, uint64_t(h.labelCount) * 16, "label block");
        check(h.fieldDataOffset, h.fieldDataCount, "field data block");
        check(h.fieldIndicesOffset, h.fieldIndicesCount, "field indices block");
        check(h.listIndicesOffset, h.listIndicesCount, "list indices block");
        if (h.structCount == 0) throw ReadError("GFF: no top struct");

        for (uint32_t i = 0; i < h.labelCount; ++i) {
            all_.Seek(std::size_t(h.labelOffset) + std::size_t(i) * 16);
            file_.labels.push_back(all_.FixedString(16));
        }
        structSeen_.assign(h.structCount, false);
        fieldSeen_.assign(h.fieldCount, false);
        file_.top = readStruct(0, 0);
        return std::move(file_);
    }

private:
    void check(uint32_t offset, uint64_t length, const char* what) const
    {
        if (!all_.Holds(offset, length)) throw ReadError(std::string("GFF: ") + what + " lies outside the file");
    }

    uint32_t u32At(uint64_t pos)
    {
        if (!all_.Holds(pos, 4)) throw ReadError("GFF: read outside the file");
        all_.Seek(std::size_t(pos));
        return all_.U32LE();
    }

    // Bytes of the field data block from offset on.
    ByteReader fieldData(uint32_t offset) const
    {
        const GffHeader& h = file_.header;
        if (offset > h.fieldDataCount) throw ReadError("GFF: field data offset past its block");
        ByteReader r(bytes_.substr(std::size_t(h.fieldDataOffset) + offset, h.fieldDataCount - offset));
        return r;
    }

    GffStruct readStruct(uint32_t index, int depth)
    {
        // Deeper than any real file nests; stops a crafted chain from exhausting the stack.
        if (depth > 64) throw ReadError("GFF: structs nested too deep");
        const GffHeader& h = file_.header;
        if (index >= h.structCount) throw ReadError("GFF: struct index " + std::to_string(index) + " out of range");
        if (structSeen_[index]) throw ReadError("GFF: struct " + std::to_string(index) + " reached twice");
        structSeen_[index] = true;
        ++file_.structsReached;

        uint64_t at = uint64_t(h.structOffset) + uint64_t(index) * 12;
        GffStruct s;
        s.index = index;
        s.type = u32At(at);
        uint32_t data = u32At(at + 4);
        uint32_t count = u32At(at + 8);
        if (count == 1) {
            s.fields.push_back(readField(data, depth));
        } else if (count > 1) {
            if (data % 4 != 0 || uint64_t(data) + uint64_t(count) * 4 > h.fieldIndicesCount)
                throw ReadError("GFF: struct " + std::to_string(index) + " field indices outside their block");
            for (uint32_t i = 0; i < count; ++i)
                s.fields.push_back(readField(u32At(uint64_t(h.fieldIndicesOffset) + data + uint64_t(i) * 4), depth));
        }
        return s;
    }

    GffField readField(uint32_t index, int depth)
    {
        const GffHeader& h = file_.header;
        if (index >= h.fieldCount) throw ReadError("GFF: field index " + std::to_string(index) + " out of range");
        if (fieldSeen_[index]) throw ReadError("GFF: field " + std::to_string(index) + " reached twice");
        fieldSeen_[index] = true;
        ++file_.fieldsReached;

        uint64_t at = uint64_t(h.fieldOffset) + uint64_t(index) * 12;
        GffField f;
        f.type = u32At(at);
        uint32_t label = u32At(at + 4);
        uint32_t data = u32At(at + 8);
        if (label >= file_.labels.size()) throw ReadError("GFF: label index " + std::to_string(label) + " out of range");
        f.label = file_.labels[label];

        switch (f.type) {
        case 0: case 1: case 2: case 3: case 4: case 5: case 8:   // up to 32 bits, FLOAT too
            f.value = data;
            break;
        case 6: case 7: case 9: {                                 // DWORD64, INT64, DOUBLE
            ByteReader r = fieldData(data);
            f.value = r.U64LE();
            break;
        }
        case 10: case 13: {
            ByteReader r = fieldData(data);
            uint32_t n = r.U32LE();
            if (n > r.Remaining()) throw ReadError("GFF: string longer than its block");
            f.text = r.Bytes(n);
            break;
        }
        case 11: {
            ByteReader r = fieldData(data);
            uint8_t n = r.U8();
            if (n > r.Remaining()) throw ReadError("GFF: resref longer than its block");
            f.text = r.Bytes(n);
            break;
        }
        case 14:
            f.structs.push_back(readStruct(data, depth + 1));
            break;
        case 15: {
            if (data % 4 != 0 || uint64_t(data) + 4 > h.listIndicesCount)
                throw ReadError("GFF: list offset outside its block");
            uint32_t n = u32At(uint64_t(h.listIndicesOffset) + data);
            if ((uint64_t(n) + 1) * 4 > uint64_t(h.listIndicesCount) - data)
                throw ReadError("GFF: list longer than its block");
            for (uint32_t i = 0; i < n; ++i)
                f.structs.push_back(readStruct(u32At(uint64_t(h.listIndicesOffset) + data + 4 + uint64_t(i) * 4), depth + 1));
            break;
        }
        default:
            throw ReadError("GFF: field type " + std::to_string(f.type) + " is not read here");
        }
        return f;
    }

    std::string_view bytes_;
    ByteReader all_;
    GffFile file_;
    std::vector<bool> structSeen_, fieldSeen_;
};

} // namespace

GffFile ReadGff(std::string_view bytes)
{
    return Reader(bytes).Read();
}
