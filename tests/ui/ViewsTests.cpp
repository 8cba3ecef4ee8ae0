// The views the model refreshes: opening a tileset fills every one of them and New empties
// them all. A tab adds a line here for each view it fills, so a forgotten refill fails.
#include "UiTestSupport.h"

#include <QTreeWidget>

namespace {
// The rows of a list view, the items of a list box or pick-list, the number in a count
// box; -1 for a view that is not there.
int sizeOf(const QWidget* w)
{
    if (auto* v = qobject_cast<const QTreeWidget*>(w)) return v->topLevelItemCount();
    if (auto* b = qobject_cast<const QListWidget*>(w)) return b->count();
    if (auto* c = qobject_cast<const QComboBox*>(w)) return c->count();
    if (auto* e = qobject_cast<const QLineEdit*>(w)) return e->text().toInt();
    return -1;
}
}

TEST_F(UiTest, EveryViewShowsTheOpenedTilesetAndNewEmptiesThem)
{
    // Per frame, its views and what they hold for rural.set: three terrains, no crosser, no
    // rule, two tiles and two groups.
    const std::pair<const char*, std::vector<std::pair<const char*, int>>> views[] = {
        {"Fram11", {{"BorderCombo", 3}, {"DefaultCombo", 3}, {"FloorCombo", 3}}},
        {"Fram21", {{"ListBox1", 3}, {"Edit3", 3}, {"ListBox2", 0}, {"Edit4", 0}}},
        {"Fram31", {{"ComboBox1", 3}, {"ComboBox2", 3}, {"ComboBox3", 3}, {"ListView1", 0}, {"ListView2", 0}}},
        {"Fram41", {{"ListView1", 2}, {"Edit1", 2}, {"ComboBox1", 3}, {"ComboBox4", 3}, {"ComboBox9", 3},
                    {"ComboBox12", 3}}},
        {"Fram71", {{"ListView1", 2}, {"Edit3", 2}}},
        {"Fram61", {{"ListView1", 2}, {"Edit1", 2}, {"ListView4", 2}, {"Edit18", 2}}},
        {"Fram51", {{"ListView1", 2}, {"Edit1", 2}, {"ListView2", 2}}},
    };
    OpenSet(dir.Write("rural.set", SampleSet()));
    EXPECT_EQ(FromQt(F().FloorCombo->currentText()), "Sand") << "the file's choice, not the first item";
    for (int opened : {1, 0}) {
        for (const auto& [frame, inFrame] : views)
            for (auto [name, rows] : inFrame)
                EXPECT_EQ(sizeOf(Form1->findChild<QWidget*>(frame)->findChild<QWidget*>(name)), rows * opened)
                    << frame << "/" << name << (opened ? " opened" : " after New");
        F().Button1Click();
    }
    EXPECT_EQ(FromQt(F().BorderCombo->currentText()), "Grass") << "New keeps the frame's texts";
}
