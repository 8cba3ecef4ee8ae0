#include "ui/QtDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QGridLayout>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QSpacerItem>

#include "platform/Files.h"
#include "ui/App.h"
#include "ui/Widgets.h"

namespace {
// What a title bar holds beside its title: the window's icon and three buttons, with spacing.
constexpr int TitleBarRoom = 150;

QWidget* dialogParent()
{
    return QApplication::activeWindow();
}

// A box asks the user something: the normal cursor over it, also in the middle of busy work.
class NormalCursor {
public:
    NormalCursor() : pushed_(QApplication::overrideCursor() != nullptr)
    {
        if (pushed_) QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~NormalCursor()
    {
        if (pushed_) QApplication::restoreOverrideCursor();
    }
    NormalCursor(const NormalCursor&) = delete;
    NormalCursor& operator=(const NormalCursor&) = delete;

private:
    bool pushed_;
};

// Tells a file's type by its name alone. Qt's own provider reads a file's first bytes when
// its name says nothing, and reading one of the kernel's files (a link to /proc/kmsg) in the
// folder on show would hold the dialog for good.
class NameOnlyIconProvider : public QFileIconProvider {
public:
    QString type(const QFileInfo& info) const override
    {
        if (!info.isFile()) return QFileIconProvider::type(info);
        const QMimeType mime = types_.mimeTypeForFile(info, QMimeDatabase::MatchExtension);
        // A name the database does not know, such as a tileset's: "SET File".
        if (mime.isDefault() && !info.suffix().isEmpty()) return info.suffix().toUpper() + " File";
        return mime.comment().isEmpty() ? mime.name() : mime.comment();
    }

private:
    QMimeDatabase types_;
};

// A file dialog that refuses what is no file (a named pipe, a device, a socket) when the
// user accepts it, and stays open for another choice: before it asks about replacing the
// file, and before anything opens it. A folder is still entered, as the dialog does.
class FileOnlyDialog : public QFileDialog {
public:
    FileOnlyDialog(QWidget* parent, bool save) : QFileDialog(parent), save_(save)
    {
        // A native dialog would have asked and closed before accept() could refuse.
        setOption(QFileDialog::DontUseNativeDialog);
    }
    void accept() override
    {
        const QStringList chosen = selectedFiles();
        const std::string path = chosen.isEmpty() ? std::string() : QFile::encodeName(chosen.first()).toStdString();
        if (!path.empty() && !IsDirectory(path) && RefuseNonFile(path, save_ ? FileUse::Save : FileUse::Open)) return;
        QFileDialog::accept();
    }

private:
    bool save_;
};

std::optional<std::string> runFileDialog(bool save, const FileDialogOptions& o)
{
    NormalCursor cursor;
    NameOnlyIconProvider icons; // outlives the dialog, which uses it to the end
    FileOnlyDialog d(dialogParent(), save);
    d.setIconProvider(&icons);
    d.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    d.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!o.title.empty()) d.setWindowTitle(ToQt(o.title));
    const QStringList filters = QtDialogs::NameFilters(o.filter);
    if (!filters.isEmpty()) d.setNameFilters(filters);
    const QString suffix = QtDialogs::Suffix(o.defaultExt);
    if (!suffix.isEmpty()) d.setDefaultSuffix(suffix);
    if (!o.initialDir.empty()) d.setDirectory(QFile::decodeName(o.initialDir.c_str()));
    if (!o.fileName.empty()) d.selectFile(QFile::decodeName(o.fileName.c_str()));
    if (save && !o.overwritePrompt) d.setOption(QFileDialog::DontConfirmOverwrite);
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return std::nullopt;
    return QFile::encodeName(d.selectedFiles().first()).toStdString();
}
}

QStringList QtDialogs::NameFilters(const std::string& filter)
{
    QStringList out;
    const QStringList parts = ToQt(filter).split('|');
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString desc = parts[i].trimmed();
        // The description may name its patterns already: show them once.
        desc.remove(QRegularExpression("\\s*\\([^()]*\\)\\s*$"));
        QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
        for (QString& p : patterns) p = p.trimmed();
        out << desc + " (" + patterns.join(' ') + ")";
    }
    return out;
}

QString QtDialogs::Suffix(const std::string& defaultExt)
{
    QString s = ToQt(defaultExt).trimmed();
    while (s.startsWith('*') || s.startsWith('.')) s.remove(0, 1);
    return s;
}

MsgResult QtDialogs::Message(MsgKind kind, const std::string& text, MsgButtons buttons, const std::string& caption)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title = QString::fromLatin1(AppTitle);
    switch (kind) {
    case MsgKind::Warning: icon = QMessageBox::Warning, title = "Warning"; break;
    case MsgKind::Error: icon = QMessageBox::Critical, title = "Error"; break;
    case MsgKind::Information: icon = QMessageBox::Information, title = "Information"; break;
    case MsgKind::Confirmation: icon = QMessageBox::Question, title = "Confirm"; break;
    case MsgKind::Plain: break;
    }
    if (!caption.empty()) title = ToQt(caption);
    NormalCursor cursor;
    QMessageBox box(icon, title, ToQt(text), QMessageBox::NoButton, dialogParent());
    switch (buttons) {
    case MsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        break;
    case MsgButtons::YesNoYesToAll:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::YesToAll);
        box.setEscapeButton(QMessageBox::No);
        break;
    case MsgButtons::YesNoCancel:
        // Escape and the close box change nothing.
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    FitTitle(box);
    const int r = box.exec();
    switch (r) {
    case QMessageBox::Yes: return MsgResult::Yes;
    case QMessageBox::YesToAll: return MsgResult::YesToAll;
    case QMessageBox::No: return MsgResult::No;
    case QMessageBox::Cancel: return MsgResult::Cancel;
    default:
        if (buttons == MsgButtons::YesNoCancel) return MsgResult::Cancel;
        return buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::No;
    }
}

void QtDialogs::FitTitle(QMessageBox& box)
{
    // Qt leaves a title little room: a summary of a few words ("1 Files deleted") made a box
    // whose title the window manager cut short. Title fonts are often bold.
    QFont bold = box.font();
    bold.setBold(true);
    const int room = QFontMetrics(bold).horizontalAdvance(box.windowTitle()) + TitleBarRoom;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(room, 0, QSizePolicy::Fixed), grid->rowCount(), 0, 1, grid->columnCount());
}

std::optional<std::string> QtDialogs::OpenFile(const FileDialogOptions& options)
{
    return runFileDialog(false, options);
}

std::optional<std::string> QtDialogs::SaveFile(const FileDialogOptions& options)
{
    return runFileDialog(true, options);
}

std::optional<uint32_t> QtDialogs::PickColour(uint32_t initial)
{
    NormalCursor cursor;
    const QColor c = QColorDialog::getColor(ColorFromVcl(initial), dialogParent());
    if (!c.isValid()) return std::nullopt;
    return VclFromColor(c);
}
