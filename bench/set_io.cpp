// Reading and writing a large tileset: 5,000 tiles with two doors each, 40 terrains,
// 30 crossers, 400 rules and 1,000 groups of four cells.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "model/Globfun.h"
#include "support/TempDir.h"
#include "support/TilesetBuilder.h"

namespace {

void buildLargeTileset()
{
    ResetAllModelData();
    BuildTileset({40, 30, 400, 5000, 1000});
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
