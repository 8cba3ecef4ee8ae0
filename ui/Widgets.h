#pragma once
// Small widgets and helpers that stand in for the class-library controls the editor's
// forms are built from: labelled edits, up-down buttons on an edit, colour panels, key
// filters, pick-lists that keep their text. Texts cross between the model (bytes) and Qt
// as Latin-1, so every byte of a tileset survives a round trip.
#include <cstdint>
#include <functional>
#include <string>

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "gamedata/GameViews.h"

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

// A key filter: printable keys not among the allowed characters are swallowed, as is any
// printable key once the text holds maxLength characters (0: no limit). Code may still set
// any text: a limit on typing must not cut what a file holds.
void InstallKeyFilter(QLineEdit* edit, const std::string& allowed, int maxLength = 0);
// A typing limit only.
void LimitTyping(QLineEdit* edit, int maxLength);

// Up and down buttons beside an edit. A click steps the edit's number by increment within
// min..max and writes it back as text (which runs the edit's change handler). A text that
// is not a number steps from the last position the buttons set.
class TUpDown : public QWidget {
public:
    TUpDown(QWidget* parent, const char* name, QLineEdit* associate, int min, int max, int increment = 1);
    // Beside the associate edit, on its right.
    void PlaceBesideAssociate();
    void StepUp() { step(+1); }
    void StepDown() { step(-1); }
    int Position() const { return position_; }
    void SetPosition(int p);
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

// Empties a pick-list's items but keeps the text in its edit (QComboBox::clear would
// empty it too).
void ClearItemsKeepText(QComboBox* combo);
// An editable pick-list that never turns typed text into an item.
void MakeEditablePickList(QComboBox* combo);
// Whole-text search of the items ignoring ASCII case; -1 when absent.
int FindItemNoCase(const QComboBox* combo, const std::string& text);

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
