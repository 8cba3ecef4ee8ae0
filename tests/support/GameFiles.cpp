#include "support/GameFiles.h"

#include <stdexcept>

#include "platform/ByteIO.h"

TlkBuilder& TlkBuilder::Add(std::string text)
{
    texts_.push_back(std::move(text));
    return *this;
}

std::string TlkBuilder::Build() const
{
    const uint32_t count = uint32_t(texts_.size());
    const uint32_t stringsAt = HeaderSize + EntrySize * count;
    ByteWriter w;
    w.Bytes("TLK V3.0");
    w.U32LE(0);            // LanguageID
    w.U32LE(count);        // StringCount
    w.U32LE(stringsAt);    // StringEntriesOffset
    uint32_t offset = 0;
    for (const std::string& t : texts_) {
        w.U32LE(1);                // Flags: text present
        w.FixedString("", 16);     // SoundResRef
        w.U32LE(0);                // VolumeVariance
        w.U32LE(0);                // PitchVariance
        w.U32LE(offset);           // OffsetToString
        w.U32LE(uint32_t(t.size()));
        w.U32LE(0);                // SoundLength
        offset += uint32_t(t.size());
    }
    for (const std::string& t : texts_) w.Bytes(t);
    return std::string(w.View());
}

uint32_t KeyBuilder::AddBif(std::string name, uint32_t fileSize)
{
    bifs_.push_back({std::move(name), fileSize});
    return uint32_t(bifs_.size() - 1);
}

KeyBuilder& KeyBuilder::AddKey(std::string resRef, uint16_t resType, uint32_t resId)
{
    if (resRef.size() > 16) throw std::invalid_argument("a ResRef holds at most 16 bytes");
    keys_.push_back({std::move(resRef), resType, resId});
    return *this;
}

uint32_t KeyBuilder::KeyTableOffset() const
{
    uint32_t at = HeaderSize + FileEntrySize * uint32_t(bifs_.size());
    for (const Bif& b : bifs_) at += uint32_t(b.name.size()) + 1;
    return at;
}

std::string KeyBuilder::Build() const
{
    const uint32_t fileTable = HeaderSize;
    const uint32_t keyTable = KeyTableOffset();
    ByteWriter w;
    w.Bytes("KEY V1  ");
    w.U32LE(uint32_t(bifs_.size()));
    w.U32LE(uint32_t(keys_.size()));
    w.U32LE(fileTable);
    w.U32LE(keyTable);
    w.U32LE(103);                      // BuildYear
    w.U32LE(1);                        // BuildDay
    w.FixedString("", 32);             // Reserved
    uint32_t nameAt = fileTable + FileEntrySize * uint32_t(bifs_.size());
    for (const Bif& b : bifs_) {
        w.U32LE(b.size);
        w.U32LE(nameAt);
        w.U16LE(uint16_t(b.name.size() + 1));   // the name with its NUL
        w.U16LE(1);                              // Drives
        nameAt += uint32_t(b.name.size()) + 1;
    }
    for (const Bif& b : bifs_) {
        w.Bytes(b.name);
        w.U8(0);
    }
    for (const Key& k : keys_) {
        w.FixedString(k.resRef, 16);
        w.U16LE(k.type);
        w.U32LE(k.id);
    }
    return std::string(w.View());
}

BifBuilder& BifBuilder::Add(uint32_t id, uint16_t resType, std::string data)
{
    res_.push_back({id, resType, std::move(data)});
    return *this;
}

std::string BifBuilder::Build() const
{
    ByteWriter w;
    w.Bytes("BIFFV1  ");
    w.U32LE(uint32_t(res_.size()));
    w.U32LE(0);               // FixedResourceCount
    w.U32LE(HeaderSize);      // VariableTableOffset
    uint32_t at = HeaderSize + EntrySize * uint32_t(res_.size());
    for (const Res& r : res_) {
        w.U32LE(r.id);
        w.U32LE(at);
        w.U32LE(uint32_t(r.data.size()));
        w.U32LE(r.type);
        at += uint32_t(r.data.size());
    }
    for (const Res& r : res_) w.Bytes(r.data);
    return std::string(w.View());
}

void PatchU32(std::string& bytes, std::size_t offset, uint32_t value)
{
    if (offset + 4 > bytes.size()) throw std::out_of_range("patch past the end");
    for (int i = 0; i < 4; ++i) bytes[offset + std::size_t(i)] = char((value >> (8 * i)) & 0xFF);
}
