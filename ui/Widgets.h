#pragma once
// Small widgets and helpers that stand in for the class-library controls the editor's
// forms are built from: labelled edits, up-down buttons on an edit, colour panels, key
// filters, a focus-enter hook, pick-lists that keep their text. Texts cross between the
// model (bytes) and Qt as Latin-1, so every byte of a tileset survives a round trip.
// Report list views are in ListView.h, image boxes in ImageView.h.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "gamedata/GameViews.h"
#include "platform/StringList.h"

// The frame class every tab derives from: a plain widget that a window holds.
using TFrame = QWidget;

QString ToQt(const std::string& bytes);
std::string FromQt(const QString& text);

// Colours of the model and of the dialogs are 0x00BBGGRR.
QColor ColorFromVcl(uint32_t bgr);
uint32_t VclFromColor(const QColor& c);

// Creates a child widget with its objectName set, so tests find it by the name the editor
// gives it.
template <class W, class... Args>
W* MakeNamed(QWidget* parent, const char* name, Args&&... args)
{
    W* w = new W(std::forward<Args>(args)..., parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

// An edit with its caption above it. The caption follows the edit's enabled and visible
// state.
class TLabeledEdit : public QLineEdit {
public:
    TLabeledEdit(QWidget* parent, const char* name, const QString& caption);
    // Puts the edit at x, y with width w and its caption just above it.
    void Place(int x, int y, int w);
    QLabel* EditLabel;

protected:
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
};

// Key filters. Printable keys not among the allowed characters (InstallKeyFilter), or among
// the refused ones (InstallKeyRefuser), are swallowed without a word, as is any printable
// key once the text holds maxLength characters (0: no limit). Backspace, Enter and the
// editing shortcuts always pass. Code may still set any text: a limit on typing must not
// cut what a file holds.
void InstallKeyFilter(QLineEdit* edit, const std::string& allowed, int maxLength = 0);
void InstallKeyRefuser(QLineEdit* edit, const std::string& refused, int maxLength = 0);
// A typing limit only.
void LimitTyping(QLineEdit* edit, int maxLength);

// Up and down buttons beside an edit (read-only or not). A click steps the edit's number by
// increment within min..max and writes it back as text (which runs the edit's change
// handler). The edit keeps any text it is given, a file's included: a text that is not a
// number steps from the last position the buttons set, and a change of the range clamps
// that position but never touches the text. Disabling the up-down disables both buttons.
class TUpDown : public QWidget {
public:
    TUpDown(QWidget* parent, const char* name, QLineEdit* associate, int min, int max, int increment = 1);
    // Beside the associate edit, on its right.
    void PlaceBesideAssociate();
    void StepUp() { step(+1); }
    void StepDown() { step(-1); }
    int Position() const { return position_; }
    // Clamped to the range; written to the edit.
    void SetPosition(int p);
    int Min() const { return min_; }
    int Max() const { return max_; }
    // A minimum above the maximum raises the maximum with it, and the other way round.
    void SetMin(int min);
    void SetMax(int max);
    QToolButton* UpButton;
    QToolButton* DownButton;

private:
    void step(int dir);
    QLineEdit* associate_;
    int min_, max_, increment_, position_;
};

// A panel that shows one colour. Optionally clickable (hand cursor).
class TColorPanel : public QFrame {
public:
    TColorPanel(QWidget* parent, const char* name);
    void SetColor(uint32_t bgr);
    uint32_t Color() const { return color_; }
    std::function<void()> OnClick;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    uint32_t color_ = 0;
};

// Runs enter each time the focus comes into the widget from another control (a click, Tab,
// code), as pick-lists that refill their items on entry need. The focus coming back from
// the widget's own drop-down list or from another window does not count.
void OnFocusEnter(QWidget* widget, std::function<void()> enter);

// Pick-lists. Through these helpers an editable pick-list keeps the text in its edit
// whatever happens to its items (Qt would empty it on clear, and put the first item there
// when the list was empty); a fixed one (not editable) is left with no item chosen by a
// refill. Their current index changes on the way, so a tab's handlers listen to the user's
// own choices (activated, textEdited), never to index or text changes.
//
// Makes an editable pick-list that never turns typed text into an item.
void MakeEditablePickList(QComboBox* combo);
// Empties the items.
void ClearItemsKeepText(QComboBox* combo);
// Adds one item at the end.
void AddItemKeepText(QComboBox* combo, const std::string& item);
// The items become a copy of the list, in one go.
void AssignItems(QComboBox* combo, const StringList& items);
// Whole-text search of the items ignoring ASCII case; -1 when absent.
int FindItemNoCase(const QComboBox* combo, const std::string& text);

// Makes the radio buttons one set of their own: checking one unchecks only the others of
// the set, and clicking the checked one keeps it checked. Without it Qt takes every radio
// button below the same parent, those inside its group boxes too, as one set.
void GroupRadioButtons(std::initializer_list<QAbstractButton*> buttons);

// The minimap pick-list as the game-data layer sees it.
class ComboPickList : public MinimapPickList {
public:
    explicit ComboPickList(QComboBox* combo) : combo_(combo) {}
    void ClearMinimapNames() override;
    void AddMinimapName(const std::string& name) override;
    bool HasMinimapName(const std::string& name) const override;
    void RemoveMinimapName(const std::string& name) override;

private:
    QComboBox* combo_;
};

// What an editor of a tab last showed: an entry of the tileset, or its emptied state. What
// the user types after that is lost with the tileset until the editor's own button stores
// it, so the question before the tileset is replaced asks about it too.
class EditorSnapshot {
public:
    // The editor's controls: edits, pick-lists, check boxes and list views (by their first
    // column). Their values now are what the editor shows.
    void Watch(std::initializer_list<QWidget*> fields);
    // The editor was just filled from an entry, emptied, or stored.
    void Take();
    bool Differs() const;

private:
    QStringList values() const;
    std::vector<QWidget*> fields_;
    QStringList shown_;
};

// An editor holding typed values that it has not stored: where it is, and what to do.
struct UnstoredValues {
    QWidget* editor;
    std::string message;
};
// The message for such an editor, by its name and the buttons that store its values.
UnstoredValues Unstored(QWidget* editor, const std::string& what, const std::string& store);

// Every tab holding the control shows the page it is on, and the control takes the focus.
void BringToControl(QWidget* control);
