#pragma once
// Builders for the game's talk table (TLK), key (KEY) and archive (BIF) files, written from
// their layouts. They return the file's bytes; tests damage them with PatchU32 where a case
// needs it.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Talk table V3.0: 20-byte header, 40-byte entries, then the texts.
class TlkBuilder {
public:
    // Appends the entry for the next StrRef (0, 1, 2, ...).
    TlkBuilder& Add(std::string text)
    {
        texts_.push_back(std::move(text));
        return *this;
    }
    std::string Build() const;

private:
    std::vector<std::string> texts_;
};

// Key file V1: 64-byte header, 12-byte file-table entries, their names, then 22-byte keys.
class KeyBuilder {
public:
    // Adds an archive to the file table; returns its position.
    uint32_t AddBif(std::string name, uint32_t fileSize = 0);
    // Adds a key with a raw ResID; a ResRef holds at most 16 bytes.
    KeyBuilder& AddKey(std::string resRef, uint16_t resType, uint32_t resId);
    // Adds a key for the resource at resIndex of archive bifIndex.
    KeyBuilder& Add(std::string resRef, uint16_t resType, uint32_t bifIndex, uint32_t resIndex)
    {
        return AddKey(std::move(resRef), resType, ResId(bifIndex, resIndex));
    }
    std::string Build() const;

    static uint32_t ResId(uint32_t bifIndex, uint32_t resIndex) { return bifIndex << 20 | resIndex; }

private:
    struct Key { std::string resRef; uint16_t type; uint32_t id; };
    std::vector<std::pair<std::string, uint32_t>> bifs_;   // name, FileSize
    std::vector<Key> keys_;
};

// BIF V1 with variable resources only: 20-byte header, 16-byte entries, then the data.
class BifBuilder {
public:
    // Adds a variable resource with the given ID (its low 14 bits are the index a key names).
    BifBuilder& Add(uint32_t id, uint16_t resType, std::string data)
    {
        res_.push_back({id, resType, std::move(data)});
        return *this;
    }
    std::string Build() const;

private:
    struct Res { uint32_t id; uint16_t type; std::string data; };
    std::vector<Res> res_;
};

// Patches a little-endian u32 into bytes at offset.
void PatchU32(std::string& bytes, std::size_t offset, uint32_t value);
