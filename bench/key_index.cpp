// Start-up indexing of the game's four key files: 200,000 resources in all, in the mix of
// kinds a full installation has (tile models, walkmeshes and textures, minimaps, stock
// tilesets, and many resources of types the index does not keep).
#include <benchmark/benchmark.h>

#include <cstdio>

#include "gamedata/GameData.h"
#include "support/GameFiles.h"
#include "support/TempDir.h"

namespace {

class NoPickList : public MinimapPickList {
public:
    void ClearMinimapNames() override {}
    void AddMinimapName(const std::string&) override { ++count; }
    bool HasMinimapName(const std::string&) const override { return false; }
    void RemoveMinimapName(const std::string&) override {}
    int count = 0;
};

struct Installation {
    TempDir dir;
    Installation()
    {
        const char* keys[] = {"xp2.key", "xp1patch.key", "xp1.key", "chitin.key"};
        for (int f = 0; f < 4; ++f) {
            KeyBuilder k;
            for (int b = 0; b < 40; ++b) k.AddBif("data\\k" + std::to_string(f) + "_" + std::to_string(b) + ".bif");
            char name[32];
            for (uint32_t i = 0; i < 50000; ++i) {
                const uint32_t bif = i % 40, res = i / 40;
                const uint32_t kind = i % 100;
                // Names repeat across key files, as overrides do.
                std::snprintf(name, sizeof name, "t%c%c%02u_a%05u", 'a' + i % 26, 'a' + (i / 26) % 26, f, i % 20000);
                if (kind < 30)
                    k.Add(name, ResTypeMdl, bif, res);
                else if (kind < 50)
                    k.Add(name, ResTypeWok, bif, res);
                else if (kind < 75)
                    k.Add(name, ResTypeTga, bif, res);
                else if (kind < 80) {
                    std::snprintf(name, sizeof name, "mi_%05u", i % 20000);
                    k.Add(name, ResTypeTga, bif, res);
                } else if (kind < 81) {
                    std::snprintf(name, sizeof name, "t%c%c%02u", 'a' + i % 26, 'a' + (i / 26) % 26, i % 100);
                    k.Add(name, ResTypeSet, bif, res);
                } else {
                    std::snprintf(name, sizeof name, "nw_%06u", i);
                    k.Add(name, uint16_t(2017 + i % 20), bif, res);   // types the index skips
                }
            }
            dir.Write(keys[f], k.Build());
        }
    }
};

void IndexFourKeyFiles(benchmark::State& state)
{
    static Installation game;
    int kept = 0;
    for (auto _ : state) {
        GameData gd;
        gd.GameDir = game.dir.Path();
        NoPickList picks;
        gd.BifResList.LoadGameKeyFiles(picks);
        const CBifResList& idx = gd.BifResList;
        kept = idx.MdlNames().Count() + idx.WokNames().Count() + idx.TgaNames().Count() +
               idx.MinimapNames().Count() + idx.SetNames().Count();
        benchmark::DoNotOptimize(kept);
    }
    state.counters["resources"] = 200000;
    state.counters["kept"] = kept;
}
BENCHMARK(IndexFourKeyFiles)->Unit(benchmark::kMillisecond);

// Look-ups by name over the full index, as the missing-files report makes them.
void LookUpByName(benchmark::State& state)
{
    static Installation game;
    GameData gd;
    gd.GameDir = game.dir.Path();
    NoPickList picks;
    gd.BifResList.LoadGameKeyFiles(picks);
    uint32_t i = 0;
    for (auto _ : state) {
        char name[32];
        std::snprintf(name, sizeof name, "T%c%c%02u_A%05u", 'a' + i % 26, 'a' + (i / 26) % 26, i % 4, i % 20000);
        benchmark::DoNotOptimize(gd.BifResList.HasMdl(name));
        ++i;
    }
}
BENCHMARK(LookUpByName);

} // namespace

BENCHMARK_MAIN();
