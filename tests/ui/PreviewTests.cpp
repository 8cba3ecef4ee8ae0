// The Tiles tab's pictures: the minimap from the tileset's folder or the game archives, a
// damaged minimap that leaves the rest of the tile shown, and the path-node pictures
// turned a quarter at a time.
#include "UiTestSupport.h"

#include <QTransform>

#include "platform/TextFile.h"
#include "support/TgaBuilder.h"
#include "support/TilesetBuilder.h"
#include "ui/DlgPathList.h"
#include "ui/frm4Pictures.h"

// The picture turned n quarters counter-clockwise, by Qt's own transformation.
static QImage turned(const QImage& i, int n)
{
    return i.transformed(QTransform().rotate(-90 * n)).convertToFormat(QImage::Format_ARGB32);
}

TEST(Pictures, PathNodesTurnAQuarterAtATimeAndNoTwoLookAlike)
{
    QImage picture(3, 2, QImage::Format_RGB32); // abc / def
    for (int i = 0; i < 6; ++i) picture.setPixel(i % 3, i / 3, 'a' + i);
    for (const char* rows : {"2 cfbead", "3 fedcba", "2 daebfc", "3 abcdef"}) { // width, pixels
        picture = RotateBitmap90(picture);
        std::string s = std::to_string(picture.width()) + " ";
        for (int k = 0; k < 6; ++k) s += char(picture.pixel(k % picture.width(), k / picture.width()));
        EXPECT_EQ(s, rows);
    }
    const QList<QImage>& pictures = PathNodePictures();
    for (int i = 0; i < TFram4::PathNodeCount; ++i) {
        // Three quarters of the way out along each arm, clockwise from the top.
        const QPoint out[] = {{15, 4}, {27, 15}, {15, 27}, {4, 15}, {27, 4}, {27, 27}, {4, 27}, {4, 4}};
        for (int a = 0; a < 8; ++a)
            EXPECT_EQ(pictures[i].pixel(out[a]), PathNodeArms(i) & (1 << a) ? PathNodeArm : PathNodeGround) << i << a;
        for (int j = 0; j < i * 4; ++j) EXPECT_NE(turned(pictures[j / 4], j % 4), pictures[i]) << i << "~" << j / 4;
    }
}

// Minimaps in the tileset's folder (any case) and in the game's archives, one of each
// damaged, and "mi_both" in both (red 96 in the folder, 3 in the archives).
TEST_F(UiTest, TilePreviewsShowWhatTheFolderOrArchivesHoldAndNeverStopATileShown)
{
    auto tga = [](const char* bgr) { return TgaHeader(2, 2, 1, 24) + bgr + bgr; };
    const std::string damaged = TgaHeader(2, 64, 64, 24) + "\x10\x20";
    KeyBuilder key;
    key.AddBif("data\\minimaps.bif");
    key.Add("mi_stock01", ResTypeTga, 0, 0).Add("mi_both", ResTypeTga, 0, 1).Add("mi_broken", ResTypeTga, 0, 2);
    BifBuilder bif;
    bif.Add(0, ResTypeTga, tga("\1\2\3")).Add(1, ResTypeTga, tga("\1\2\3")).Add(2, ResTypeTga, damaged);
    dir.Write("game/chitin.key", key.Build());
    dir.Write("game/data/minimaps.bif", bif.Build());
    for (const char* name : {"set/Mi_Big01_A0.TGA", "set/MI_BOTH.tga", "outside.tga"})
        dir.Write(name, tga("\x40\x50\x60"));
    dir.Write("set/mi_big01_a2.tga", damaged);
    Restart();
    F().Button1Click();
    Game().SetDir = dir.File("set");
    BuildTileset({3, 2, 0, 4, 0});
    CPtrList<CTile>& tiles = TS().TileList;
    tiles.At(1)->ImageMap2D = "MI_BROKEN", tiles.At(3)->ImageMap2D = "mi_stock01";
    tiles.At(0)->PathNode = "B", tiles.At(1)->PathNode = "Q9", tiles.At(2)->PathNode = "";
    Views().FillTiles();

    TFram4& f = *Form1->Fram41;
    auto show = [&](int n) { // shown and saved at once, a tile stays as it was
        auto written = [&] {
            TextFile file;
            EXPECT_TRUE(file.Open(dir.File("tile.set"), TextFile::Mode::Write));
            return tiles.At(n)->WriteToSet(file, 0), file.Written();
        };
        tiles.At(n)->WalkMesh = "msb01";
        const std::string before = written();
        f.ListView1->SelectNumber(n), f.Button4->click();
        EXPECT_EQ(written(), before) << n;
    };
    auto type = [&](const char* name) {
        f.ComboBox17->setEditText(name);
        emit f.ComboBox17->lineEdit()->textEdited(name);
    };
    // What is done; the label, then the picture's first red or the box's note ("" not
    // looked at); the path node (-1 none) and its quarter turns.
    const std::tuple<std::function<void()>, const char*, int, int> cases[] = {
        {[&] { show(0); }, "|96", 1, 1}, // mixed case; "B" at "90"
        {[&] { type("mi_big01_a0"); }, "Tileset TGA|96", 1, 1},
        {[&] { show(3); }, "TGA from NWN|3", 0, 1},
        {[&] { type("MI_BOTH"), f.Edit6->setText("180"); }, "Tileset TGA|96", 0, 2},
        {[&] { type("../outside"), f.Edit6->setText("45"); }, "TGA not found|", 0, 0},
        {[&] { f.ComboBox17->setCurrentIndex(0), emit f.ComboBox17->activated(0); }, "TGA from NWN|3", 0, 0},
        {[&] { f.ComboBox17->setEditText("mi_big01_a0"); }, "TGA from NWN|3", 0, 0}, // filled by code
        {[&] { show(1); }, "TGA from NWN|Unreadable picture", -1, 0}, // a node of its own
        {[&] { f.ComboBox18->setCurrentIndex(30), emit f.ComboBox18->activated(30); f.UpDown5->StepUp(); }, "", 30, 2},
        {[&] { show(2); }, "|Unreadable picture", -1, 0}, // no path node: not saved
    };
    for (auto& [act, minimap, node, turns] : cases) {
        act();
        const QImage &i = f.Image1->Image(), &p = f.Image2->Image();
        // A note shows whole in the box.
        const QRect box = f.Image1->contentsRect();
        const int flags = int(f.Image1->alignment()) | (f.Image1->wordWrap() ? int(Qt::TextWordWrap) : 0);
        const bool whole = box.contains(f.Image1->fontMetrics().boundingRect(box, flags, f.Image1->text()));
        const QString note = f.Image1->text() + (whole ? "" : " (cut)");
        const QString picture = i.isNull() ? note : QString::number(qRed(i.pixel(0, 0)));
        const QString shown = f.Label2->text() + "|" + picture;
        EXPECT_EQ(*minimap ? shown.toStdString() : "", minimap);
        EXPECT_EQ(p.isNull() ? p : p.convertToFormat(QImage::Format_ARGB32),
                  node < 0 ? QImage() : turned(f.ImageList1[node], turns)) << minimap;
    }
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Need a path node"});
    f.Button11->click();
    EXPECT_EQ(Form4->isVisible() ? Form4->Image1->Image() : QImage(), PathNodeChart());
}
