#pragma once
// The pictures beside the tile editor: the minimap of a tile, found in the tileset's folder
// or in the game's archives, and the path-node picture turned to the tile's orientation.
// The 31 path-node pictures and the chart of the "Path Node List" window are drawn here,
// once, the first time they are asked for.
#include <cstdint>
#include <string>

#include <QImage>
#include <QLabel>
#include <QList>
#include <QSize>

#include "ui/ImageView.h"

// A new picture a quarter turn counter-clockwise from source (which is given up): as wide
// as source is high, the pixel at column x, row y going to column y, row width - 1 - x.
// The result is 32 bits a pixel, whatever source was.
QImage RotateBitmap90(QImage source);

// The ways out of a path node, as arms from the tile's centre to the middle of an edge or
// to a corner of the tile, as a picture at orientation 0 shows them.
enum PathArm : uint8_t {
    ArmTop = 1, ArmRight = 2, ArmBottom = 4, ArmLeft = 8,
    ArmTopRight = 16, ArmBottomRight = 32, ArmBottomLeft = 64, ArmTopLeft = 128,
};
// The arms of the path node of letter i ("A" to "Z", then "a" to "e").
uint8_t PathNodeArms(int i);

inline constexpr int PathNodePictureSize = 32;
inline constexpr QRgb PathNodeGround = 0xFFF4EED8; // the tile
inline constexpr QRgb PathNodeEdge = 0xFF8C8C8C;   // its outline
inline constexpr QRgb PathNodeArm = 0xFF1E3C8C;    // the ways out
inline constexpr QRgb PathNodeCentre = 0xFFC81E1E; // the node itself

// The 31 pictures of 32 x 32 pixels, in letter order.
const QList<QImage>& PathNodePictures();

// The chart of every letter: its picture at twice the size with the letter under it.
const QImage& PathNodeChart();
QSize PathNodeChartSize();

// Where a minimap preview is asked from: a tile being shown, or its name box changed by the
// user. Only the label of a picture found in the folder differs: empty, or "Tileset TGA".
enum class MinimapAsk { TileShown, NameChanged };

// Shows the minimap name + ".tga" in image: from folder when it holds that file (its name
// found ignoring letter case), else from the game's archives ("TGA from NWN"), else an
// empty picture and "TGA not found". An empty folder, or the archive marker of an import
// from the archives, has no file. A damaged picture empties the box with a note, the label
// still saying where it came from; the error goes no further, so what shows the tile goes
// on. Returns whether a picture is shown.
// The Tiles tab gives its own folder (the main window's SetDir, in Game()); the Import tab,
// showing a tile of the tileset it imports from (CTile::ShowInImportFrame), gives
// TFram6::ImportSetDir, its Image1 and Label1, and puts the name in Edit22 itself.
bool ShowMinimapPreview(const std::string& folder, const std::string& name, TImage* image, QLabel* label,
                        MinimapAsk ask);
