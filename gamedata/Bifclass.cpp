#include "gamedata/Bifclass.h"

#include <cstdio>
#include <cstring>

#include "gamedata/GameData.h"
#include "gamedata/TgaHeader.h"
#include "platform/ByteIO.h"
#include "platform/Files.h"
#include "platform/PathNoCase.h"
#include "platform/Stream.h"
#include "platform/Text.h"

namespace {

// Removes the temporary file when the caller is done with it, whatever way it leaves.
class TempFileRemover {
public:
    explicit TempFileRemover(const std::string& path) : path_(path) {}
    ~TempFileRemover() { RemoveFile(path_); }
    TempFileRemover(const TempFileRemover&) = delete;
    TempFileRemover& operator=(const TempFileRemover&) = delete;

private:
    const std::string& path_;
};

bool writeWhole(const std::string& path, const std::string& data)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = data.empty() || std::fwrite(data.data(), 1, data.size(), f) == data.size();
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) RemoveFile(path);
    return ok;
}

} // namespace

const _KeyEntry* CBifResList::Kind::Find(const std::string& name) const
{
    auto it = first.find(LowerAscii(name));
    return it == first.end() ? nullptr : list.At(it->second);
}

void CBifResList::Kind::Add(_KeyEntry* entry)
{
    int at = names->Add(entry->ResRef);
    list.Append(entry);
    first.try_emplace(LowerAscii(entry->ResRef), at);
}

void CBifResList::LoadGameKeyFiles(MinimapPickList& minimaps)
{
    if (!game_.GameDir.empty()) {
        for (const char* name : {"\\xp2.key", "\\xp1patch.key", "\\xp1.key", "\\chitin.key"}) {
            if (auto path = ResolveNoCase(game_.GameDir, name)) ReadKeyFile(*path);
        }
    }
    minimaps.ClearMinimapNames();
    for (const std::string& name : minimapNames_) minimaps.AddMinimapName(name);
}

int CBifResList::ReadKeyFile(const std::string& path)
{
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return -1;
    bifNames_.Clear();

    ByteReader r(bytes);
    if (!r.Holds(8, 16)) return -1;
    r.Seek(8);
    const uint32_t bifCount = r.U32LE();
    const uint32_t keyCount = r.U32LE();
    r.U32LE(); // OffsetToFileTable: the table is taken to follow the 64-byte header
    const uint32_t keyTable = r.U32LE();

    // File table. A count larger than the file ends at the file's end; a name that lies
    // outside the file stays empty, and keys naming it are dropped below.
    for (uint64_t i = 0; i < bifCount; ++i) {
        const uint64_t at = 64 + 12 * i;
        if (!r.Holds(at, 12)) break;
        r.Seek(std::size_t(at) + 4);
        const uint32_t nameOffset = r.U32LE();
        const uint16_t nameSize = r.U16LE();
        std::string name;
        if (r.Holds(nameOffset, nameSize)) {
            r.Seek(nameOffset);
            name = r.FixedString(nameSize);
        }
        bifNames_.Add(std::move(name));
    }

    for (uint64_t j = 0; j < keyCount; ++j) {
        const uint64_t at = uint64_t(keyTable) + 22 * j;
        if (!r.Holds(at, 22)) break;
        r.Seek(std::size_t(at));
        char raw[16];
        r.Bytes(raw, sizeof raw);
        const uint16_t type = r.U16LE();
        const uint32_t id = r.U32LE();
        if (type != ResTypeTga && type != ResTypeMdl && type != ResTypeSet && type != ResTypeWok) continue;

        const uint32_t bifIndex = id >> 20;
        if (bifIndex >= uint32_t(bifNames_.Count()) || bifNames_[int(bifIndex)].empty()) continue;

        std::string name(raw, strnlen(raw, sizeof raw));
        auto make = [&] {
            auto* e = new _KeyEntry;
            e->ResRef = name;
            e->ResType = type;
            e->BifIndex = uint16_t(bifIndex);
            e->ResIndex = int32_t(id & 0x3FFF);
            e->BifName = bifNames_[int(bifIndex)];
            return e;
        };
        const bool startsT = !name.empty() && name[0] == 't';
        if (type == ResTypeTga && name.size() >= 2 && name[0] == 'm' && name[1] == 'i' &&
            (name.size() < 3 || name[2] != 'l'))
            minimapEntries_.Add(make());
        if (type == ResTypeSet && !setEntries_.Find(name)) setEntries_.Add(make());
        if (type == ResTypeMdl && startsT) mdlEntries_.Add(make());
        if (type == ResTypeWok && startsT) wokEntries_.Add(make());
        if (type == ResTypeTga && startsT) tgaEntries_.Add(make());
    }
    return 0;
}

int CBifResList::ExtractToTemp(const _KeyEntry* entry)
{
    if (!entry || game_.GameDir.empty() || game_.TempFilePath.empty()) return -1;
    auto path = ResolveNoCase(game_.GameDir, entry->BifName);
    if (!path) return -1;
    try {
        FileStream bif(*path, FileStream::Mode::OpenRead);
        const uint64_t size = bif.Size();
        if (size < 20) return -1;
        bif.SetPosition(8);
        const uint32_t count = bif.U32LE();
        // FixedResourceCount and VariableTableOffset follow; the table is taken to start at 20.
        bif.SetPosition(20);

        // Only the entries that lie inside the file are searched, a block at a time.
        const uint64_t readable = std::min<uint64_t>(count, (size - 20) / 16);
        constexpr uint64_t block = 4096;
        bool found = false;
        uint32_t offset = 0, length = 0;
        for (uint64_t k = 0; k < readable && !found; k += block) {
            const std::string table = bif.ReadString(std::size_t(std::min(block, readable - k) * 16));
            ByteReader t(table);
            while (t.Remaining() && !found) {
                const uint32_t id = t.U32LE();
                offset = t.U32LE();
                length = t.U32LE();
                t.U32LE(); // ResType
                found = int32_t(id & 0x3FFF) == entry->ResIndex;
            }
        }
        if (!found) return -1;
        // A resource that does not lie whole inside the archive is not extracted: the
        // checked read refuses it before anything is allocated.
        bif.SetPosition(offset);
        return writeWhole(game_.TempFilePath, bif.ReadString(length)) ? 0 : -1;
    } catch (const IoError&) {
        return -1;
    }
}

int CBifResList::extractFrom(const Kind& kind, const std::string& name)
{
    const _KeyEntry* e = kind.Find(name);
    return e ? ExtractToTemp(e) : -1;
}

int CBifResList::ExtractMinimap(const std::string& name) { return extractFrom(minimapEntries_, name); }
int CBifResList::ExtractMdl(const std::string& name) { return extractFrom(mdlEntries_, name); }
int CBifResList::ExtractWok(const std::string& name) { return extractFrom(wokEntries_, name); }
int CBifResList::ExtractTileTga(const std::string& name) { return extractFrom(tgaEntries_, name); }

bool CBifResList::HasMdl(const std::string& name) const { return mdlEntries_.Find(name) != nullptr; }
bool CBifResList::HasMinimap(const std::string& name) const { return minimapEntries_.Find(name) != nullptr; }
bool CBifResList::HasWok(const std::string& name) const { return wokEntries_.Find(name) != nullptr; }
bool CBifResList::HasTileTga(const std::string& name) const { return tgaEntries_.Find(name) != nullptr; }

int CBifResList::LoadMinimapImage(const std::string& name, ImageBox& image)
{
    if (ExtractMinimap(name) == -1) return -1;
    TempFileRemover remover(game_.TempFilePath);
    image.LoadPicture(game_.TempFilePath);
    return 0;
}

TextureInfo CBifResList::LoadTileTexture(const std::string& name, ImageBox& image)
{
    TextureInfo info;
    if (ExtractTileTga(name) == -1) return info;
    TempFileRemover remover(game_.TempFilePath);
    // A file too short for the sizes is still the archive's texture: the reader says what
    // is wrong with it rather than "not found".
    ReadTgaHeader(game_.TempFilePath, info);
    image.LoadPicture(game_.TempFilePath);
    image.SetStretch(false);
    info.status = 2;
    return info;
}

int CBifResList::OpenSetForImport(const std::string& name, ImportSetReader& reader)
{
    const _KeyEntry* e = setEntries_.Find(name);
    if (!e || ExtractToTemp(e) == -1) return -1;
    TempFileRemover remover(game_.TempFilePath);
    TextFile file;
    if (!file.Open(game_.TempFilePath, TextFile::Mode::Read)) return -1;
    reader.ReadImportSet(file);
    return 0;
}
