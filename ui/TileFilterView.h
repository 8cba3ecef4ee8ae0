#pragma once
// The tile display filter over a tab's controls: the Tiles tab's "Display Filter" box, and
// the Import tab's tile filter box that mirrors it. Reading the controls and filling a list
// touch nothing but the list given.
#include <array>

#include "model/TileFilter.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class TListView;

// The controls of a tile filter box, named by what they hold.
struct TileFilterControls {
    QLineEdit* Prefix;
    QCheckBox* CornerMode;
    std::array<QComboBox*, 4> Corners; // TopLeft, TopRight, BottomLeft, BottomRight
    std::array<QLineEdit*, 4> Heights; // in the same order
    QCheckBox* NoCrosser;
    QCheckBox* EdgeMode;
    QCheckBox* Only;
    std::array<QComboBox*, 4> Edges; // Top, Right, Bottom, Left
    QLineEdit* Doors;
    QRadioButton* NonMembers; // neither checked: both
    QRadioButton* Members;
};

// The criteria as the controls hold them now. A height or door text that is not a number
// means any, like "-1", so a filter run never stops on a conversion error.
TileFilter ReadTileFilter(const TileFilterControls& controls);

// Empties view and gives it a row (number, Model) per tile of tiles that passes, with
// membership looked up in groups (gathered once for the run). Returns the number of rows.
int FillFilteredTileRows(TListView* view, const CPtrList<CTile>& tiles, const TileFilter& filter,
                         const CPtrList<CGroup>& groups);
