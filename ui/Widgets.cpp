#include "ui/Widgets.h"

#include <QButtonGroup>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTreeWidget>
#include <algorithm>

#include "platform/Text.h"

QString ToQt(const std::string& bytes)
{
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

std::string FromQt(const QString& text)
{
    return text.toLatin1().toStdString();
}

QColor ColorFromVcl(uint32_t bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

uint32_t VclFromColor(const QColor& c)
{
    return uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16;
}

TLabeledEdit::TLabeledEdit(QWidget* parent, const char* name, const QString& caption)
    : QLineEdit(parent), EditLabel(new QLabel(caption, parent))
{
    setObjectName(QString::fromLatin1(name));
    EditLabel->setObjectName(QString::fromLatin1(name) + "Label");
    // A value longer than the box shows its start, where a name is read from; typing keeps
    // the cursor where the user puts it.
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!isModified()) setCursorPosition(0);
    });
}

void TLabeledEdit::Place(int x, int y, int w)
{
    setGeometry(x, y, w, 22);
    EditLabel->setGeometry(x, y - 16, qMax(w, EditLabel->sizeHint().width()), 16);
}

void TLabeledEdit::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::EnabledChange) EditLabel->setEnabled(isEnabled());
    QLineEdit::changeEvent(e);
}

void TLabeledEdit::showEvent(QShowEvent* e)
{
    EditLabel->show();
    QLineEdit::showEvent(e);
}

void TLabeledEdit::hideEvent(QHideEvent* e)
{
    if (isHidden()) EditLabel->hide();
    QLineEdit::hideEvent(e);
}

namespace {
class KeyFilter : public QObject {
public:
    enum Mode { Allow, Refuse, AnyKey };
    KeyFilter(QLineEdit* edit, std::string keys, int maxLength, Mode mode)
        : QObject(edit), edit_(edit), keys_(std::move(keys)), maxLength_(maxLength), mode_(mode)
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress) return false;
        auto* k = static_cast<QKeyEvent*>(e);
        const QString text = k->text();
        if (text.isEmpty()) return false;
        const QChar c = text.at(0);
        // Control characters (backspace, tab, enter, copy and paste shortcuts) pass.
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) return false;
        const bool listed = c.unicode() <= 0xFF && keys_.find(char(c.unicode())) != std::string::npos;
        if ((mode_ == Allow && !listed) || (mode_ == Refuse && listed)) return true;
        if (maxLength_ > 0 && !edit_->hasSelectedText() && edit_->text().size() >= maxLength_) return true;
        return false;
    }

private:
    QLineEdit* edit_;
    std::string keys_;
    int maxLength_;
    Mode mode_;
};

class FocusEnterFilter : public QObject {
public:
    FocusEnterFilter(QObject* parent, std::function<void()> enter) : QObject(parent), enter_(std::move(enter)) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::FocusIn) {
            const Qt::FocusReason why = static_cast<QFocusEvent*>(e)->reason();
            if (why != Qt::PopupFocusReason && why != Qt::ActiveWindowFocusReason) enter_();
        }
        return false;
    }

private:
    std::function<void()> enter_;
};

// The arrow keys in an up-down's edit step it as its buttons do, so the value can be
// changed from the keyboard too (the buttons take no focus, and the edit may be read-only).
class ArrowKeys : public QObject {
public:
    explicit ArrowKeys(TUpDown* upDown) : QObject(upDown), upDown_(upDown) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress || !upDown_->isEnabled()) return false;
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Up) upDown_->StepUp();
        else if (key == Qt::Key_Down) upDown_->StepDown();
        else return false;
        return true;
    }

private:
    TUpDown* upDown_;
};
}

void InstallKeyFilter(QLineEdit* edit, const std::string& allowed, int maxLength)
{
    edit->installEventFilter(new KeyFilter(edit, allowed, maxLength, KeyFilter::Allow));
}

void InstallKeyRefuser(QLineEdit* edit, const std::string& refused, int maxLength)
{
    edit->installEventFilter(new KeyFilter(edit, refused, maxLength, KeyFilter::Refuse));
}

void LimitTyping(QLineEdit* edit, int maxLength)
{
    edit->installEventFilter(new KeyFilter(edit, {}, maxLength, KeyFilter::AnyKey));
}

void OnFocusEnter(QWidget* widget, std::function<void()> enter)
{
    widget->installEventFilter(new FocusEnterFilter(widget, std::move(enter)));
}

TUpDown::TUpDown(QWidget* parent, const char* name, QLineEdit* associate, int min, int max, int increment)
    : QWidget(parent), UpButton(new QToolButton(this)), DownButton(new QToolButton(this)), associate_(associate),
      min_(min), max_(max), increment_(increment), position_(min)
{
    setObjectName(QString::fromLatin1(name));
    UpButton->setArrowType(Qt::UpArrow);
    DownButton->setArrowType(Qt::DownArrow);
    UpButton->setAutoRepeat(true);
    DownButton->setAutoRepeat(true);
    UpButton->setFocusPolicy(Qt::NoFocus);
    DownButton->setFocusPolicy(Qt::NoFocus);
    QObject::connect(UpButton, &QToolButton::clicked, this, [this] { StepUp(); });
    QObject::connect(DownButton, &QToolButton::clicked, this, [this] { StepDown(); });
    if (associate_) associate_->installEventFilter(new ArrowKeys(this));
    int p = 0;
    if (associate_ && TryStrToInt(FromQt(associate_->text()), p) && p >= min_ && p <= max_) position_ = p;
}

void TUpDown::PlaceBesideAssociate()
{
    const QRect r = associate_->geometry();
    setGeometry(r.right() + 1, r.top(), 16, r.height());
    UpButton->setGeometry(0, 0, 16, r.height() / 2);
    DownButton->setGeometry(0, r.height() / 2, 16, r.height() - r.height() / 2);
}

void TUpDown::SetPosition(int p)
{
    position_ = qBound(min_, p, max_);
    if (associate_) associate_->setText(QString::number(position_));
}

void TUpDown::SetMin(int min)
{
    min_ = min;
    max_ = std::max(max_, min_);
    position_ = std::clamp(position_, min_, max_);
}

void TUpDown::SetMax(int max)
{
    max_ = max;
    min_ = std::min(min_, max_);
    position_ = std::clamp(position_, min_, max_);
}

void TUpDown::step(int dir)
{
    int p = 0;
    if (associate_ && TryStrToInt(FromQt(associate_->text()), p)) position_ = qBound(min_, p, max_);
    long long next = (long long)position_ + (long long)dir * increment_;
    SetPosition(int(std::clamp<long long>(next, min_, max_)));
}

TColorPanel::TColorPanel(QWidget* parent, const char* name) : QFrame(parent)
{
    setObjectName(QString::fromLatin1(name));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setAutoFillBackground(true);
    SetColor(0);
}

void TColorPanel::SetColor(uint32_t bgr)
{
    color_ = bgr & 0x00FFFFFF;
    QPalette p = palette();
    p.setColor(QPalette::Window, ColorFromVcl(color_));
    setPalette(p);
}

void TColorPanel::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && OnClick) OnClick();
    QFrame::mouseReleaseEvent(e);
}

namespace {
// Runs a change of the items and puts the edit's text back (a fixed list chooses nothing).
template <class Change>
void keepingText(QComboBox* combo, Change change)
{
    const QString text = combo->currentText();
    change();
    if (combo->isEditable()) {
        if (combo->currentText() == text) return;
        combo->setCurrentIndex(-1);
        combo->setEditText(text);
    } else {
        combo->setCurrentIndex(-1);
    }
}
}

void MakeEditablePickList(QComboBox* combo)
{
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
}

void ClearItemsKeepText(QComboBox* combo)
{
    keepingText(combo, [combo] { combo->clear(); });
}

void AddItemKeepText(QComboBox* combo, const std::string& item)
{
    // Only the first item of an empty list would take the edit's place.
    if (combo->count() > 0)
        combo->addItem(ToQt(item));
    else
        keepingText(combo, [&] { combo->addItem(ToQt(item)); });
}

void AssignItems(QComboBox* combo, const StringList& items)
{
    QStringList list;
    list.reserve(items.Count());
    for (const std::string& item : items) list << ToQt(item);
    keepingText(combo, [&] {
        combo->clear();
        combo->addItems(list);
    });
}

int FindItemNoCase(const QComboBox* combo, const std::string& text)
{
    for (int i = 0; i < combo->count(); ++i)
        if (EqualsNoCase(FromQt(combo->itemText(i)), text)) return i;
    return -1;
}

void GroupRadioButtons(std::initializer_list<QAbstractButton*> buttons)
{
    auto* group = new QButtonGroup((*buttons.begin())->parent());
    for (QAbstractButton* b : buttons) group->addButton(b);
}

void ComboPickList::ClearMinimapNames()
{
    ClearItemsKeepText(combo_);
}

void ComboPickList::AddMinimapName(const std::string& name)
{
    AddItemKeepText(combo_, name);
}

bool ComboPickList::HasMinimapName(const std::string& name) const
{
    return FindItemNoCase(combo_, name) >= 0;
}

void ComboPickList::RemoveMinimapName(const std::string& name)
{
    const QString text = combo_->currentText();
    if (int i = FindItemNoCase(combo_, name); i >= 0) combo_->removeItem(i);
    if (combo_->isEditable()) combo_->setEditText(text);
}

void EditorSnapshot::Watch(std::initializer_list<QWidget*> fields)
{
    fields_ = fields;
    Take();
}

void EditorSnapshot::Take()
{
    shown_ = values();
}

bool EditorSnapshot::Differs() const
{
    return values() != shown_;
}

QStringList EditorSnapshot::values() const
{
    QStringList values;
    for (const QWidget* w : fields_) {
        if (auto* edit = qobject_cast<const QLineEdit*>(w)) {
            values << edit->text();
        } else if (auto* combo = qobject_cast<const QComboBox*>(w)) {
            values << combo->currentText();
        } else if (auto* button = qobject_cast<const QAbstractButton*>(w)) {
            values << (button->isChecked() ? "1" : "0");
        } else if (auto* list = qobject_cast<const QTreeWidget*>(w)) {
            QStringList rows;
            for (int i = 0; i < list->topLevelItemCount(); ++i) rows << list->topLevelItem(i)->text(0);
            values << rows.join('\n');
        }
    }
    return values;
}

UnstoredValues Unstored(QWidget* editor, const std::string& what, const std::string& store)
{
    return {editor, "The " + what + " holds values that are not stored. Store them with " + store +
                        ", or take them back, before the tileset is saved."};
}

void BringToControl(QWidget* control)
{
    // A tab's pages sit in its stacked widget.
    for (QWidget* w = control; w && w->parentWidget(); w = w->parentWidget())
        if (auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget()))
            if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget())) tabs->setCurrentWidget(w);
    control->setFocus();
}
