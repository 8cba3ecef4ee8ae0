// The editor with a large tileset, on Qt's offscreen platform: opening a .set of 5,000 tiles
// (two doors each) and 1,000 groups through the general frame's Open, which reads it and
// fills every view the tabs have, up to the paint that follows; and the Tiles tab's display
// filter over those tiles, once with the default settings (the tiles no group uses) and
// once letting every tile through.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <string>

#include "model/Globfun.h"
#include "platform/Dialogs.h"
#include "support/TempDir.h"
#include "support/TilesetBuilder.h"
#include "ui/App.h"
#include "ui/frm1.h"
#include "ui/frm4.h"
#include "ui/mainfrm.h"

namespace {

constexpr int Tiles = 5000;
constexpr int Groups = 1000;

struct Editor {
    TempDir dir;
    ScriptedDialogs dialogs;
    std::string setPath = dir.File("big.set");

    Editor()
    {
        ResetAllModelData();
        BuildTileset({40, 30, 400, Tiles, Groups});
        TextFile f;
        std::string error;
        if (!f.Open(setPath, TextFile::Mode::Write) || !WriteSetFile(f, error)) std::abort();
        ResetAllModelData();
        const std::string registry = dir.Write("registry.ini", "");
        setenv("TILVENNA_REGISTRY", registry.c_str(), 1);
        SetAppDialogs(&dialogs);
        CreateWindows();
        Form1->show();
    }
    ~Editor()
    {
        DestroyWindows();
        SetAppDialogs(nullptr);
        ResetAllModelData();
    }
    void Open()
    {
        dialogs.QueueFile(setPath);
        Form1->Fram11->OpenButton->click();
        QApplication::processEvents();
    }
};

void OpenLargeTileset(benchmark::State& state)
{
    Editor editor;
    for (auto _ : state) editor.Open();
    if (TS().TileList.Count() != Tiles || TS().GroupList.Count() != Groups ||
        Form1->Fram41->ListView1->RowCount() != Tiles)
        state.SkipWithError("the tileset did not open whole");
}
BENCHMARK(OpenLargeTileset)->Unit(benchmark::kMillisecond);

// Arg 0: the default settings; arg 1: members or not, every tile passes.
void FilterLargeTileset(benchmark::State& state)
{
    Editor editor;
    editor.Open();
    TFram4& f = *Form1->Fram41;
    f.CheckBox4->click();
    if (state.range(0)) f.RadioButton3->click();
    for (auto _ : state) {
        f.Button5->click();
        QApplication::processEvents();
    }
    // The builder's groups use three tiles of every four below 4,000.
    if (f.ListView1->RowCount() != (state.range(0) ? Tiles : Tiles - 3000)) state.SkipWithError("wrong rows");
}
BENCHMARK(FilterLargeTileset)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
