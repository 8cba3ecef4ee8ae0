// The Tiles tab's pictures: the minimap preview of the tile's ImageMap2D and the path-node
// picture, with the handlers of the "MiniMap" and "Path Node" boxes and of "Show List".
#include "ui/frm4Pictures.h"

#include <fstream>
#include <iterator>

#include <QFont>
#include <QPainter>

#include "gamedata/Filefun.h"
#include "gamedata/GameData.h"
#include "platform/Files.h"
#include "ui/App.h"
#include "ui/DlgPathList.h"
#include "ui/frm4.h"

QImage RotateBitmap90(QImage source)
{
    const QImage in = source.convertToFormat(QImage::Format_ARGB32);
    source = QImage();
    const int w = in.width(), h = in.height();
    QImage out(h, w, QImage::Format_ARGB32);
    if (in.isNull() || out.isNull()) return {};
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(in.constScanLine(y));
        for (int x = 0; x < w; ++x) reinterpret_cast<QRgb*>(out.scanLine(w - 1 - x))[y] = row[x];
    }
    return out;
}

namespace {

// Per letter: straight ways first, then diagonal ones, then the two together.
constexpr uint8_t T = ArmTop, R = ArmRight, B = ArmBottom, L = ArmLeft;
constexpr uint8_t TR = ArmTopRight, BR = ArmBottomRight, BL = ArmBottomLeft, TL = ArmTopLeft;
constexpr uint8_t Arms[] = {
    0, T, T | B, T | R, T | R | B, T | R | B | L,                                // A to F
    TR, TR | BL, TR | BR, TR | BR | BL, TR | BR | BL | TL,                       // G to K
    T | BR, T | BL, T | BR | BL, T | B | TR, T | B | TR | BL, T | B | TR | BR,   // L to Q
    T | R | BL, T | R | TR, T | R | BR | BL | TL, T | R | B | BL, T | R | B | TL, // R to V
    T | R | B | L | TR, T | R | B | L | TR | BL, T | R | B | L | TR | BR,        // W to Y
    T | R | B | L | TR | BR | BL, 0xFF,                                          // Z, a
    T | TR | TL, T | B | TR | BR | BL | TL, T | R | B | BR | BL, T | BR | BL | TL | TR, // b to e
};
static_assert(std::size(Arms) == TFram4::PathNodeCount);

// The chart: rows of eight cells, each a picture at twice its size over its letter.
constexpr int ChartColumns = 8;
constexpr int ChartCell = 72;
constexpr int ChartCellHeight = 90;
constexpr int ChartMargin = 8;
constexpr int ChartScale = 2;

QImage drawPathNode(uint8_t arms)
{
    constexpr int s = PathNodePictureSize;
    QImage image(s, s, QImage::Format_ARGB32);
    image.fill(PathNodeGround);
    QPainter p(&image);
    p.setPen(QColor::fromRgba(PathNodeEdge));
    p.drawRect(0, 0, s - 1, s - 1);
    p.setPen(QPen(QColor::fromRgba(PathNodeArm), 4, Qt::SolidLine, Qt::FlatCap));
    // From the centre to the middle of each edge and to each corner, clockwise from the top.
    const QPointF centre(s / 2.0, s / 2.0);
    const QPointF ends[] = {{s / 2.0, 0}, {double(s), s / 2.0}, {s / 2.0, double(s)}, {0, s / 2.0},
                            {double(s), 0}, {double(s), double(s)}, {0, double(s)}, {0, 0}};
    for (int i = 0; i < 8; ++i)
        if (arms & (1 << i)) p.drawLine(centre, ends[i]);
    p.fillRect(QRect(s / 2 - 4, s / 2 - 4, 8, 8), QColor::fromRgba(PathNodeCentre));
    return image;
}

} // namespace

uint8_t PathNodeArms(int i)
{
    return i >= 0 && i < int(std::size(Arms)) ? Arms[i] : 0;
}

const QList<QImage>& PathNodePictures()
{
    static const QList<QImage> pictures = [] {
        QList<QImage> list;
        for (uint8_t arms : Arms) list.append(drawPathNode(arms));
        return list;
    }();
    return pictures;
}

QSize PathNodeChartSize()
{
    const int rows = (int(std::size(Arms)) + ChartColumns - 1) / ChartColumns;
    return {2 * ChartMargin + ChartColumns * ChartCell, 2 * ChartMargin + rows * ChartCellHeight};
}

const QImage& PathNodeChart()
{
    static const QImage chart = [] {
        const int count = int(PathNodePictures().size());
        QImage image(PathNodeChartSize(), QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        QFont font = p.font();
        font.setPixelSize(16);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::black);
        constexpr int side = ChartScale * PathNodePictureSize;
        for (int i = 0; i < count; ++i) {
            const int x = ChartMargin + i % ChartColumns * ChartCell;
            const int y = ChartMargin + i / ChartColumns * ChartCellHeight;
            p.drawImage(x + (ChartCell - side) / 2, y, PathNodePictures()[i].scaled(side, side));
            p.drawText(QRect(x, y + side, ChartCell, ChartCellHeight - side), Qt::AlignCenter, QString(QChar(TFram4::PathNodeLetters[i])));
        }
        return image;
    }();
    return chart;
}

namespace {

// The minimap file of the folder, its name found ignoring case; empty when there is none
// to read. A name that leads out of the folder is none of its files (the search refuses it).
std::string minimapFile(const std::string& folder, const std::string& name)
{
    if (folder.empty() || folder == ArchiveSourceMarker || name.empty()) return {};
    const auto path = FindNoCase(folder, name + ".tga");
    if (!path || !std::ifstream(*path, std::ios::binary)) return {};
    return *path;
}

} // namespace

bool ShowMinimapPreview(const std::string& folder, const std::string& name, TImage* image, QLabel* label,
                        MinimapAsk ask)
{
    if (const std::string path = minimapFile(folder, name); !path.empty()) {
        label->setText(ask == MinimapAsk::NameChanged ? "Tileset TGA" : "");
        image->SetStretch(true);
        return ShowPreview(image, [&] { image->LoadPicture(path); });
    }
    // A reader's error comes after the extraction: the minimap was found, only damaged.
    int found = 0;
    const bool shown = ShowPreview(image, [&] { found = Game().BifResList.LoadMinimapImage(name, *image); });
    if (found == -1) {
        image->ClearPicture();
        label->setText("TGA not found");
        return false;
    }
    label->setText("TGA from NWN");
    return shown;
}

// ---- The Tiles tab's previews -------------------------------------------------------------

void TFram4::setUpPreviews()
{
    ImageList1 = PathNodePictures();
    // The name box is filled by the key files and by every tile shown: only what the user
    // types or picks asks for a preview here.
    connect(ComboBox17, &QComboBox::activated, this, Guard([this] { ComboBox17Change(); }));
    connect(ComboBox17->lineEdit(), &QLineEdit::textEdited, this, Guard([this] { ComboBox17Change(); }));
    connect(ComboBox18, &QComboBox::activated, this, Guard([this] { ComboBox18Select(); }));
    // The orientation redraws the picture however it changes, its up-down included.
    connect(Edit6, &QLineEdit::textChanged, this, Guard([this] { ComboBox18Select(); }));
    connect(Button11, &QPushButton::clicked, this, Guard([this] { Button11Click(); }));
}

void TFram4::showTileMinimap(const std::string& name)
{
    ShowMinimapPreview(Game().SetDir, name, Image1, Label2, MinimapAsk::TileShown);
    ComboBox17->setEditText(ToQt(name));
}

void TFram4::ComboBox17Change()
{
    ShowMinimapPreview(Game().SetDir, FromQt(ComboBox17->currentText()), Image1, Label2, MinimapAsk::NameChanged);
}

void TFram4::ComboBox18Select()
{
    const int i = ComboBox18->currentIndex();
    if (i < 0) return;
    // A tile's own node that is none of the letters has no picture; the last tile's must
    // not stay.
    if (i >= PathNodeCount || i >= ImageList1.size()) {
        Image2->ClearPicture();
        return;
    }
    const QString orientation = Edit6->text();
    const int turns = orientation == "90" ? 1 : orientation == "180" ? 2 : orientation == "270" ? 3 : 0;
    QImage picture = ImageList1[i];
    for (int k = 0; k < turns; ++k) picture = RotateBitmap90(std::move(picture));
    Image2->ShowImage(picture);
}

void TFram4::Button11Click()
{
    Form4->show();
    Form4->raise();
}
