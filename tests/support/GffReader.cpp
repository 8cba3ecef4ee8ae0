#include "support/GffReader.h"

#include <algorithm>
#include <vector>

#include "platform/ByteIO.h"

namespace {

class Dumper {
public:
    explicit Dumper(std::string_view bytes) : r_(bytes)
    {
        const std::string type = r_.Bytes(4);
        out_ = type + " " + r_.Bytes(4) + "\nlabels";
        for (uint32_t& v : header_) v = r_.U32LE();
        static constexpr uint64_t unit[6] = {12, 12, 16, 1, 1, 1};   // bytes per counted item
        for (int b = 0; b < 6; ++b) {
            size_[b] = header_[2 * b + 1] * unit[b];
            if (!r_.Holds(header_[2 * b], size_[b])) throw ReadError("GFF: a block lies outside the file");
        }
        structSeen_.assign(header_[1], false);
        fieldSeen_.assign(header_[3], false);
    }

    std::string Dump()
    {
        for (uint32_t i = 0; i < header_[5]; ++i) out_ += " " + Label(i);
        out_ += "\n";
        Struct(0, 0);
        for (const auto* seen : {&structSeen_, &fieldSeen_})
            if (std::find(seen->begin(), seen->end(), false) != seen->end()) throw ReadError("GFF: a part the tree does not reach");
        return out_;
    }

private:
    enum Block { Structs, Fields, Labels, FieldData, FieldIndices, ListIndices };

    // The reader at offset of a block, where n bytes must lie inside the block.
    ByteReader& At(Block b, uint64_t offset, uint64_t n)
    {
        if (offset > size_[b] || n > size_[b] - offset) throw ReadError("GFF: a read past its block");
        r_.Seek(std::size_t(header_[2 * b] + offset));
        return r_;
    }
    std::string Label(uint32_t i) { return At(Labels, 16ull * i, 16).FixedString(16); }

    static void Visit(std::vector<bool>& seen, uint32_t index)
    {
        if (index >= seen.size() || seen[index]) throw ReadError("GFF: an index out of range or reached twice");
        seen[index] = true;
    }

    void Struct(uint32_t index, int depth)
    {
        Visit(structSeen_, index);
        ByteReader& s = At(Structs, 12ull * index, 12);
        const uint32_t type = s.U32LE(), data = s.U32LE(), count = s.U32LE();
        out_ += std::string(2 * std::size_t(depth), ' ') + "struct " + std::to_string(type) + "\n";
        // One field is named directly; more through consecutive field indices.
        for (uint32_t i = 0; i < count; ++i)
            Field(count == 1 ? data : At(FieldIndices, data + 4ull * i, 4).U32LE(), depth + 1);
    }

    void Field(uint32_t index, int depth)
    {
        Visit(fieldSeen_, index);
        ByteReader& f = At(Fields, 12ull * index, 12);
        const uint32_t type = f.U32LE(), label = f.U32LE(), data = f.U32LE();
        out_ += std::string(2 * std::size_t(depth), ' ') + Label(label) + " " + std::to_string(type);
        if (type <= 5 || type == 8) {              // BYTE to INT, and FLOAT, are held in the field
            out_ += " " + std::to_string(data) + "\n";
        } else if (type == 10 || type == 11) {     // CExoString (u32 length), CResRef (u8 length)
            const uint32_t lengthSize = type == 10 ? 4 : 1;
            const uint32_t n = type == 10 ? At(FieldData, data, 4).U32LE() : At(FieldData, data, 1).U8();
            out_ += " " + At(FieldData, uint64_t(data) + lengthSize, n).Bytes(n) + "\n";
        } else if (type == 15) {                   // List: u32 count, then struct indices
            const uint32_t n = At(ListIndices, data, 4).U32LE();
            out_ += "\n";
            for (uint32_t i = 0; i < n; ++i) Struct(At(ListIndices, data + 4 + 4ull * i, 4).U32LE(), depth + 1);
        } else {
            throw ReadError("GFF: field type " + std::to_string(type) + " is not read here");
        }
    }

    ByteReader r_;
    uint32_t header_[12] = {};   // offset and count of each block, in block order
    uint64_t size_[6] = {};      // bytes of each block
    std::vector<bool> structSeen_, fieldSeen_;
    std::string out_;
};

}  // namespace

std::string DumpGff(std::string_view bytes)
{
    return Dumper(bytes).Dump();
}
