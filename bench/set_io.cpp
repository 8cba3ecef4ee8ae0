// Reading and writing a large tileset: 5,000 tiles with two doors each, 40 terrains,
// 30 crossers, 400 rules and 1,000 groups of four cells.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "model/Globfun.h"
#include "platform/Text.h"
#include "support/TempDir.h"

namespace {

void buildLargeTileset()
{
    ResetAllModelData();
    Tileset& t = TS();
    CGeneral& g = *t.General;
    g.Name = "BIG01";
    g.Type = "SET";
    g.Version = "V1.0";
    g.EnvMap = "evmap_big01";
    g.Transition = "5";
    g.DisplayName = "63000";
    g.Border = g.Default = g.Floor = "Terrain0";
    g.Grass = 1;
    g.Density = g.Height = g.AmbientRed = g.AmbientGreen = g.AmbientBlue = "0.5";
    g.DiffuseRed = g.DiffuseGreen = g.DiffuseBlue = "0.5";

    for (int i = 0; i < 40; ++i) {
        auto* e = new CTerrain;
        e->Name = "Terrain" + std::to_string(i);
        e->StrRef = std::to_string(1000 + i);
        t.TerrainList.Append(e);
    }
    for (int i = 0; i < 30; ++i) {
        auto* e = new CCrosser;
        e->Name = "Crosser" + std::to_string(i);
        e->StrRef = std::to_string(2000 + i);
        t.CrosserList.Append(e);
    }
    for (int i = 0; i < 400; ++i) {
        auto* r = new CRules;
        r->Placed = "Terrain" + std::to_string(i % 40);
        r->Adjacent = "Terrain" + std::to_string((i + 1) % 40);
        r->Changed = "Terrain" + std::to_string((i + 2) % 40);
        r->PlacedHeight = r->AdjacentHeight = r->ChangedHeight = std::to_string(i % 2);
        (i < 200 ? t.PrimaryRuleList : t.SecondaryRuleList).Append(r);
    }
    for (int i = 0; i < 5000; ++i) {
        auto* tile = new CTile;
        tile->Model = Format("big01_a%02d_%03d", i % 100, i);
        tile->WalkMesh = "msb01";
        tile->TopLeft = "Terrain" + std::to_string(i % 40);
        tile->TopRight = "Terrain" + std::to_string((i + 1) % 40);
        tile->BottomLeft = "Terrain" + std::to_string((i + 2) % 40);
        tile->BottomRight = "Terrain" + std::to_string((i + 3) % 40);
        tile->TopLeftHeight = uint8_t(i % 2);
        tile->Top = "Crosser" + std::to_string(i % 30);
        tile->MainLight1 = tile->SourceLight1 = 1;
        tile->Doors = 2;
        tile->Sounds = -1;
        tile->PathNode = "A";
        tile->Orientation = "90";
        tile->VisibilityNode = "A";
        tile->VisibilityOrientation = "0";
        tile->ImageMap2D = "MI_" + tile->Model;
        tile->DoorList = std::make_unique<StringList>(
            StringList{"1", "0.0", "-5.0", "0.0", "90.0", "1", "5.0", "0.0", "0.0", "180.0"});
        t.TileList.Append(tile);
    }
    for (int i = 0; i < 1000; ++i) {
        auto* grp = new CGroup;
        grp->Name = "Group" + std::to_string(i);
        grp->StrRef = std::to_string(3000 + i);
        grp->Rows = grp->Columns = 2;
        for (int c = 0; c < 4; ++c) grp->Cells.Add(std::to_string((i * 4 + c) % 5000));
        t.GroupList.Append(grp);
    }
}

std::string writeToDisk(const TempDir& dir)
{
    TextFile f;
    if (!f.Open(dir.File("big.set"), TextFile::Mode::Write)) std::abort();
    std::string error;
    if (!WriteSetFile(f, error)) std::abort();
    return f.Written();
}

void BM_WriteSet(benchmark::State& state)
{
    TempDir dir;
    buildLargeTileset();
    std::size_t bytes = 0;
    for (auto _ : state) bytes = writeToDisk(dir).size();
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
    state.counters["file_bytes"] = double(bytes);
}
BENCHMARK(BM_WriteSet)->Unit(benchmark::kMillisecond);

void BM_ReadSet(benchmark::State& state)
{
    TempDir dir;
    buildLargeTileset();
    const std::string text = writeToDisk(dir);
    const std::string path = dir.File("big.set");
    for (auto _ : state) {
        state.PauseTiming();
        ResetTileset();
        state.ResumeTiming();
        // From disk, as the editor's Open does.
        TextFile f;
        if (!f.Open(path, TextFile::Mode::Read)) std::abort();
        ReadSetFile(f);
    }
    if (TS().TileList.Count() != 5000 || TS().TileList.Tail()->DoorsHeld() != 2 || TS().GroupList.Count() != 1000)
        state.SkipWithError("the tileset did not read back whole");
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_ReadSet)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
