#pragma once
// The dialog interface on Qt: message boxes, file dialogs and the colour dialog.
#include "platform/Dialogs.h"

#include <QMessageBox>
#include <QString>

class QtDialogs : public Dialogs {
public:
    MsgResult Message(MsgKind kind, const std::string& text, MsgButtons buttons,
                      const std::string& caption = {}) override;
    std::optional<std::string> OpenFile(const FileDialogOptions& options) override;
    std::optional<std::string> SaveFile(const FileDialogOptions& options) override;
    std::optional<uint32_t> PickColour(uint32_t initial) override;

    // Widens a box so that a title bar has room for its title beside the window's icon and
    // buttons; Message does it to every box it shows.
    static void FitTitle(QMessageBox& box);
    // "Desc (*.a)|*.a;*.A|..." as Qt name filters: "Desc (*.a *.A)", ...
    static QStringList NameFilters(const std::string& filter);
    // "*.set", ".set" and "set" all give "set".
    static QString Suffix(const std::string& defaultExt);
};
