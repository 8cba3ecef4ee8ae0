#pragma once
// The dialog interface on Qt: message boxes, file dialogs and the colour dialog.
#include "platform/Dialogs.h"

#include <memory>

#include <QMessageBox>
#include <QString>

class QtDialogs : public Dialogs {
public:
    MsgResult Message(MsgKind kind, const std::string& text, MsgButtons buttons,
                      const std::string& caption = {}) override;
    std::optional<std::string> OpenFile(const FileDialogOptions& options) override;
    std::optional<std::string> SaveFile(const FileDialogOptions& options) override;
    std::optional<uint32_t> PickColour(uint32_t initial) override;

    // The box Message shows, not yet shown: wide enough for its title beside the icon and
    // buttons a window manager puts in the title bar.
    static std::unique_ptr<QMessageBox> MakeBox(MsgKind kind, const std::string& text, MsgButtons buttons,
                                                const std::string& caption = {});
    // "Desc (*.a)|*.a;*.A|..." as Qt name filters: "Desc (*.a *.A)", ...
    static QStringList NameFilters(const std::string& filter);
    // "*.set", ".set" and "set" all give "set".
    static QString Suffix(const std::string& defaultExt);
};
