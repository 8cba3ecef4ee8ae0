#include "support/GameFiles.h"

#include <stdexcept>

#include "platform/ByteIO.h"

std::string TlkBuilder::Build() const
{
    const auto count = uint32_t(texts_.size());
    ByteWriter w, texts;
    w.Bytes("TLK V3.0");
    for (uint32_t v : {0u, count, 20 + 40 * count}) w.U32LE(v);   // LanguageID, StringCount, StringEntriesOffset
    for (const std::string& t : texts_) {
        w.U32LE(1);                 // Flags: text present
        w.FixedString("", 16);      // SoundResRef
        // VolumeVariance, PitchVariance, OffsetToString, StringSize, SoundLength
        for (uint32_t v : {0u, 0u, uint32_t(texts.Size()), uint32_t(t.size()), 0u}) w.U32LE(v);
        texts.Bytes(t);
    }
    w.Bytes(texts.View());
    return std::string(w.View());
}

uint32_t KeyBuilder::AddBif(std::string name, uint32_t fileSize)
{
    bifs_.emplace_back(std::move(name), fileSize);
    return uint32_t(bifs_.size() - 1);
}

KeyBuilder& KeyBuilder::AddKey(std::string resRef, uint16_t resType, uint32_t resId)
{
    if (resRef.size() > 16) throw std::invalid_argument("a ResRef holds at most 16 bytes");
    keys_.push_back({std::move(resRef), resType, resId});
    return *this;
}

std::string KeyBuilder::Build() const
{
    ByteWriter w, names;
    const uint32_t namesAt = 64 + 12 * uint32_t(bifs_.size());
    for (const auto& bif : bifs_) names.FixedString(bif.first, bif.first.size() + 1);
    w.Bytes("KEY V1  ");
    // BIFCount, KeyCount, OffsetToFileTable, OffsetToKeyTable, BuildYear, BuildDay, Reserved
    for (uint32_t v : {uint32_t(bifs_.size()), uint32_t(keys_.size()), 64u, namesAt + uint32_t(names.Size()), 103u, 1u})
        w.U32LE(v);
    w.FixedString("", 32);
    uint32_t at = namesAt;
    for (const auto& [name, size] : bifs_) {
        w.U32LE(size);
        w.U32LE(at);
        w.U16LE(uint16_t(name.size() + 1));   // FilenameSize, the NUL included
        w.U16LE(1);                           // Drives
        at += uint32_t(name.size()) + 1;
    }
    w.Bytes(names.View());
    for (const Key& k : keys_) {
        w.FixedString(k.resRef, 16);
        w.U16LE(k.type);
        w.U32LE(k.id);
    }
    return std::string(w.View());
}

std::string BifBuilder::Build() const
{
    ByteWriter w, data;
    w.Bytes("BIFFV1  ");
    for (uint32_t v : {uint32_t(res_.size()), 0u, 20u}) w.U32LE(v);   // Variable and FixedResourceCount, VariableTableOffset
    const uint32_t dataAt = 20 + 16 * uint32_t(res_.size());
    for (const Res& r : res_) {
        for (uint32_t v : {r.id, dataAt + uint32_t(data.Size()), uint32_t(r.data.size()), uint32_t(r.type)}) w.U32LE(v);
        data.Bytes(r.data);
    }
    w.Bytes(data.View());
    return std::string(w.View());
}

void PatchU32(std::string& bytes, std::size_t offset, uint32_t value)
{
    if (offset + 4 > bytes.size()) throw std::out_of_range("patch past the end");
    for (int i = 0; i < 4; ++i) bytes[offset + std::size_t(i)] = char(value >> (8 * i));
}
