// Start-up: the windows, the state before a tileset is open, the game data it finds, the
// radio button sets and the layout.
#include "UiTestSupport.h"

#include <functional>

#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionGroupBox>

#include "ui/DlgPathList.h"
#include "ui/DlgRenamerHelp.h"
#include "ui/DlgTextChange.h"
#include "ui/QtDialogs.h"
#include "ui/SetBifOpen.h"
#include "ui/frm3.h"

TEST_F(UiTest, StartUpFindsWhatTheFoldersHoldAndShowsTheEmptyState)
{
    EXPECT_EQ(EditorState(), EmptyState);
    EXPECT_EQ(Game().MdlCompilerPath, "") << "no converter in the start folder, and no error either";
    EXPECT_TRUE(dialogs.boxes.empty()) << "the game was found, so no notice";

    // The key files fill the minimap pick-list, with the minimaps only; the start folder
    // holds the temporary file and may hold the converter.
    KeyBuilder key;
    const uint32_t b = key.AddBif("data.bif");
    key.Add("mi_rural01", 3, b, 0).Add("tcn01_a01_01", 3, b, 1);
    dir.Write("game/chitin.key", key.Build());
    const std::string start = dir.File("start");
    dir.Write("start/nwnmdlcomp.exe", "x");
    Restart();
    // One item: a second would not be empty.
    EXPECT_EQ(Form1->Fram41->ComboBox17->itemText(0) + "|" + Form1->Fram41->ComboBox17->itemText(1), "mi_rural01|");
    EXPECT_EQ(Game().StartDir, start);
    EXPECT_EQ(Game().MdlCompilerPath, start + "/nwnmdlcomp.exe");
    EXPECT_EQ(Game().TempFilePath, start + "/MMTEMP.TGA");

    // Without the game a notice is shown, every StrRef is a bad one, and the editor starts.
    dir.Write("registry.ini", "");
    Restart();
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"NWN main directory not found in registry"});
    EXPECT_EQ(EditorState(), EmptyState);
    F().DisplayEdit->setText("2");
    EXPECT_EQ(Text(F().Edit1), "Bad strref");
}

// Each set of radio buttons keeps its choice: a button clicked twice stays checked, and no
// other set changes with it.
TEST_F(UiTest, ARadioButtonChangesOnlyItsOwnSet)
{
    OpenSet(dir.Write("r.set", SampleSet()));
    dialogs.QueueFile(dir.File("r.set")), Form1->Fram61->Button1->click(); // a source turns the Import tab's on
    const QList<QRadioButton*> all = Form1->findChildren<QRadioButton*>();
    for (QRadioButton* r : all) {
        auto others = [&] {
            std::string s;
            for (QRadioButton* o : all) s += o->parent() == r->parent() ? '-' : o->isChecked() ? '1' : '0';
            return s;
        };
        const std::string before = others();
        if (r->isEnabled()) r->click(), r->click();
        EXPECT_TRUE(!r->isEnabled() || (r->isChecked() && others() == before)) << FromQt(r->objectName());
    }
}

namespace {
struct Caption {
    QRect at;         // where the caption is drawn, in the parent's coordinates; empty: none
    bool fits = true; // the control gives it the room it asks for
};

// The caption of a label, check box, radio button or box title.
Caption captionOf(QWidget* w)
{
    auto* l = qobject_cast<QLabel*>(w);
    auto* b = qobject_cast<QAbstractButton*>(w);
    auto* g = qobject_cast<QGroupBox*>(w);
    if (l && !l->text().isEmpty() && l->wordWrap()) return {l->geometry(), l->heightForWidth(l->width()) <= l->height()};
    if (l && !l->text().isEmpty()) {
        const QSize text(l->fontMetrics().horizontalAdvance(l->text()), l->fontMetrics().height());
        const QRect at = QStyle::alignedRect(l->layoutDirection(), l->alignment(), text, l->contentsRect());
        return {at.translated(l->pos()), l->sizeHint().width() <= l->width()};
    }
    if (b && !qobject_cast<QPushButton*>(w) && !b->text().isEmpty())
        return {QRect(b->pos(), QSize(std::min(b->width(), b->sizeHint().width()), b->height())), b->sizeHint().width() <= b->width()};
    if (!g || g->title().isEmpty()) return {};
    QStyleOptionGroupBox o;
    o.initFrom(g), o.text = g->title(), o.subControls = QStyle::SC_GroupBoxLabel, o.textAlignment = g->alignment();
    const QRect title = g->style()->subControlRect(QStyle::CC_GroupBox, &o, QStyle::SC_GroupBoxLabel, g);
    return {title.translated(g->pos()), g->rect().contains(title)};
}

// What the controls beside w must clear: its caption, else all of it; of a box only its title.
QRect covered(QWidget* w)
{
    const QRect at = captionOf(w).at;
    return at.isEmpty() && !qobject_cast<QGroupBox*>(w) ? w->geometry() : at;
}

// The editor's own controls: named, and not the parts Qt builds its widgets from.
bool ours(const QWidget* w)
{
    return !w->objectName().isEmpty() && !w->objectName().startsWith("qt_") && !w->isWindow();
}

// r (w's part) clears every other control shown in container; two labels' texts by a few pixels.
void expectClear(QWidget* w, QRect r, QWidget* container, QWidget* window)
{
    for (QWidget* s : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const int gap = qobject_cast<QLabel*>(w) && qobject_cast<QLabel*>(s) && !captionOf(s).at.isEmpty() ? 4 : 0;
        EXPECT_TRUE(s == w || !ours(s) || !s->isVisibleTo(window) || !r.adjusted(-gap, 0, gap, 0).intersects(covered(s)))
            << w->objectName().toStdString() << " runs into " << s->objectName().toStdString();
    }
}
}

// At the default font, in every frame and dialog and in each mode that shows other controls,
// every control lies inside its box and clears the others, and every caption (labels, check
// boxes, radio buttons, box titles) shows whole and apart from the captions beside it; so do a
// long tileset name and the title of a short summary box.
TEST_F(UiTest, CaptionsAndValuesFitAndControlsDoNotOverlap)
{
    std::string set = SampleSet();
    OpenSet(dir.Write("r.set", set.replace(set.find("Rural Land"), 10, "+ Complete Rural\\City")));
    Form1->show();
    TFram6& i = *Form1->Fram61;
    TFram7& files = *Form1->Fram71;
    const std::function<void()> modes[] = {[] {}, [&] {
        files.RadioButton4->click(), files.RadioButton1->click(), Form1->Fram41->PageControl1->setCurrentIndex(1);
        Form1->Fram41->CheckBox10->setChecked(true), i.RadioButton2->click(), Form1->Fram31->RadioButton2->click();
    }, [&] { files.RadioButton5->click(), i.RadioButton4->click(), i.RadioButton1->click(); }};
    for (const auto& mode : modes)
        for (int page = (mode(), 0); page < Form1->PageControl1->count(); ++page) {
            Form1->PageControl1->setCurrentIndex(page);
            QApplication::processEvents();
            for (QWidget* window : std::initializer_list<QWidget*>{Form1, Form2, Form3, Form4, Form5, Form6})
                for (QWidget* w : window->findChildren<QWidget*>()) {
                    if (w->window() != window || !ours(w) || !ours(w->parentWidget()) || !w->isVisibleTo(window)) continue;
                    EXPECT_TRUE(captionOf(w).fits && w->parentWidget()->rect().contains(covered(w) | w->geometry()))
                        << w->objectName().toStdString() << " cuts its caption or lies outside its box";
                    expectClear(w, covered(w), w->parentWidget(), window);
                    if (qobject_cast<QGroupBox*>(w)) expectClear(w, covered(w).translated(-w->pos()), w, window);
                }
        }
    QLineEdit* name = F().UnlocalEdit;
    EXPECT_LE(name->fontMetrics().horizontalAdvance(name->text()) + 8, name->width()) << "the name is cut";
    EXPECT_EQ(name->cursorPosition(), 0) << "a longer one shows its start";
    // A title bar holds an icon and three buttons of some 28 pixels beside the title.
    QMessageBox box(QMessageBox::NoIcon, AppTitle, "1 Files deleted", QMessageBox::Ok);
    QtDialogs::FitTitle(box);
    box.show();
    QFont bold = box.font();
    bold.setBold(true);
    EXPECT_GE(box.width(), QFontMetrics(bold).horizontalAdvance(box.windowTitle()) + 4 * 28) << "the title is cut";
}
