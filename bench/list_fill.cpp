// Refilling a tab's list view with 10,000 tiles, as a large tileset's refill does, on Qt's
// offscreen platform; and one sort of those rows by their Model.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui/ListView.h"

namespace {

std::vector<std::string> models(int n)
{
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i) out.push_back("tcn01_" + std::string(1, char('a' + i * 7 % 26)) + std::to_string(i));
    return out;
}

void FillTenThousandRows(benchmark::State& state)
{
    TListView view(nullptr, "ListView1", {{"Tile #", 45}, {"Model", 110}});
    view.resize(400, 500);
    view.show();
    const std::vector<std::string> names = models(10000);
    for (auto _ : state) {
        ListFill fill(&view);
        for (int i = 0; i < int(names.size()); ++i) fill.Add(i, {names[std::size_t(i)]});
    }
    QApplication::processEvents(); // the one layout and paint after the last refill
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(FillTenThousandRows)->Unit(benchmark::kMillisecond);

void SortTenThousandRowsByModel(benchmark::State& state)
{
    TListView view(nullptr, "ListView1", {{"Tile #", 45}, {"Model", 110}});
    const std::vector<std::string> names = models(10000);
    for (auto _ : state) {
        state.PauseTiming();
        {
            ListFill fill(&view);
            for (int i = 0; i < int(names.size()); ++i) fill.Add(i, {names[std::size_t(i)]});
        }
        state.ResumeTiming();
        view.SortRows([](auto* a, auto* b) { return CompareRowTexts(a, b, 1); });
    }
}
BENCHMARK(SortTenThousandRowsByModel)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
