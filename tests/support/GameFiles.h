#pragma once
// Builders for the game's talk table (TLK), key (KEY) and archive (BIF) files, written from
// their layouts. They return the file's bytes; tests write them into a folder and damage
// them by patching bytes where a case needs it.
#include <cstdint>
#include <string>
#include <vector>

// Talk table V3.0: 20-byte header, 40-byte entries, then the texts.
class TlkBuilder {
public:
    // Appends the entry for the next StrRef (0, 1, 2, ...).
    TlkBuilder& Add(std::string text);
    std::string Build() const;

    static constexpr uint32_t HeaderSize = 20;
    static constexpr uint32_t EntrySize = 40;

private:
    std::vector<std::string> texts_;
};

// Key file V1: 64-byte header, 12-byte file-table entries, their names, then 22-byte keys.
class KeyBuilder {
public:
    // Adds an archive to the file table; returns its position.
    uint32_t AddBif(std::string name, uint32_t fileSize = 0);
    // Adds a key with a raw ResID.
    KeyBuilder& AddKey(std::string resRef, uint16_t resType, uint32_t resId);
    // Adds a key for the resource at resIndex of archive bifIndex.
    KeyBuilder& Add(std::string resRef, uint16_t resType, uint32_t bifIndex, uint32_t resIndex)
    {
        return AddKey(std::move(resRef), resType, ResId(bifIndex, resIndex));
    }
    std::string Build() const;

    static uint32_t ResId(uint32_t bifIndex, uint32_t resIndex) { return bifIndex << 20 | resIndex; }
    // Where the parts land in the built file.
    static constexpr uint32_t HeaderSize = 64;
    static constexpr uint32_t FileEntrySize = 12;
    static constexpr uint32_t KeyEntrySize = 22;
    uint32_t KeyTableOffset() const;

private:
    struct Bif {
        std::string name;
        uint32_t size;
    };
    struct Key {
        std::string resRef;
        uint16_t type;
        uint32_t id;
    };
    std::vector<Bif> bifs_;
    std::vector<Key> keys_;
};

// BIF V1 with variable resources only: 20-byte header, 16-byte entries, then the data.
class BifBuilder {
public:
    // Adds a variable resource with the given ID (its low 14 bits are the index a key names).
    BifBuilder& Add(uint32_t id, uint16_t resType, std::string data);
    std::string Build() const;

    static constexpr uint32_t HeaderSize = 20;
    static constexpr uint32_t EntrySize = 16;

private:
    struct Res {
        uint32_t id;
        uint16_t type;
        std::string data;
    };
    std::vector<Res> res_;
};

// Patches a little-endian u32 into bytes at offset.
void PatchU32(std::string& bytes, std::size_t offset, uint32_t value);
