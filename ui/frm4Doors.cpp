// The Tiles tab's doors. A door edit goes straight into the selected tile, without "Save
// Change". The editor works on the doors a tile both declares (Doors) and holds (five
// strings each in DoorList); a tile read from a file may differ in the two. Doors held past
// the count are none of the game's: the editor leaves them alone, and they are written back
// as they were read, after the doors it works on.
#include <algorithm>

#include "platform/Text.h"
#include "ui/frm4.h"

namespace {

constexpr int DoorFields = 5;

int numberIn(const QLineEdit* e)
{
    return LeadingInt(FromQt(e->text()));
}

} // namespace

int TFram4::doorsHeld(const CTile& tile)
{
    return std::clamp(tile.Doors, 0, tile.DoorsHeld());
}

void TFram4::setDoorBoxEnabled(bool on)
{
    for (QWidget* w : GroupBox3->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) w->setEnabled(on);
}

void TFram4::updateNewButton()
{
    const CTile* tile = SelectedTile();
    Button6->setEnabled(!NewDoorPending && (!tile || doorsHeld(*tile) < MaxDoors));
}

void TFram4::showDoor(const CTile& tile, int n)
{
    if (n < 1 || n > doorsHeld(tile)) return;
    const StringList& doors = *tile.DoorList;
    const int base = DoorFields * (n - 1);
    LabeledEdit10->setText(ToQt(doors[base]));
    Edit13->setText(ToQt(doors[base + 1]));
    Edit14->setText(ToQt(doors[base + 2]));
    Edit15->setText(ToQt(doors[base + 3]));
    Edit16->setText(ToQt(doors[base + 4]));
    doorShown_.Take();
}

void TFram4::showDoors(const CTile& tile)
{
    const int held = doorsHeld(tile);
    if (held > 0) {
        UpDown8->setEnabled(true);
        UpDown8->SetMax(held);
        UpDown8->SetMin(1);
        Edit17->setText("1");
        Edit18->setText(QString::number(held));
        showDoor(tile, 1);
    } else {
        UpDown8->SetMin(0);
        UpDown8->SetMax(0);
        UpDown8->setEnabled(false);
        Edit17->setText("0");
        Edit18->setText("0");
    }
    // With no door the box keeps what it showed, disabled.
    doorShown_.Take();
    updateNewButton();
}

void TFram4::Edit17Change()
{
    const int n = numberIn(Edit17);
    setDoorBoxEnabled(n != 0);
    if (n > 0 && !NewDoorPending)
        if (const CTile* tile = SelectedTile()) showDoor(*tile, n);
    updateNewButton();
}

void TFram4::Button6Click()
{
    const CTile* tile = SelectedTile();
    if (!tile || NewDoorPending) return;
    const int held = doorsHeld(*tile);
    if (held >= MaxDoors) return;
    NewDoorPending = true;
    UpDown8->setEnabled(true);
    UpDown8->SetMax(held + 1);
    UpDown8->SetMin(1);
    Edit18->setText(QString::number(held + 1));
    // The fields keep what they show, as a start for the new door.
    Edit17->setText(QString::number(held + 1));
    LabeledEdit10->setFocus();
    Button6->setEnabled(false);
}

void TFram4::Button8Click()
{
    for (const QLineEdit* e : std::initializer_list<const QLineEdit*>{LabeledEdit10, Edit13, Edit14, Edit15, Edit16})
        if (e->text().isEmpty()) return;
    CTile* tile = SelectedTile();
    if (!tile) return;
    StoreDoorFromFrame(*tile);
    doorShown_.Take();
    NewDoorPending = false;
    updateNewButton();
}

void TFram4::StoreDoorFromFrame(CTile& tile)
{
    const int k = numberIn(Edit17);
    const int held = doorsHeld(tile);
    // "Total" is above the doors held only while a new door waits to be stored.
    const bool adding = numberIn(Edit18) > held;
    if (!adding && (k < 1 || k > held)) return;
    const StringList door = {FromQt(LabeledEdit10->text()), FromQt(Edit13->text()), FromQt(Edit14->text()),
                             FromQt(Edit15->text()), FromQt(Edit16->text())};
    // The new door takes the number after the counted ones, before any door past the count.
    if (adding) {
        tile.InsertDoor(held, door);
        tile.Doors = held + 1;
    } else {
        for (int i = 0; i < DoorFields; ++i) tile.DoorList->Put(DoorFields * (k - 1) + i, door[i]);
        tile.Doors = held;
    }
    Edit18->setText(QString::number(tile.Doors));
}

void TFram4::Button9Click()
{
    CTile* tile = SelectedTile();
    if (!tile) return;
    // A door not stored yet is only given up: the tile's doors stay as they are.
    if (NewDoorPending) {
        NewDoorPending = false;
        showDoors(*tile);
        return;
    }
    const int held = doorsHeld(*tile);
    const int k = numberIn(Edit17);
    if (k < 1 || k > held) return;
    // The door's keys of other tools go with it; the list goes with the last door held.
    tile->DeleteDoor(k - 1);
    tile->Doors = held - 1;
    showDoors(*tile);
}
