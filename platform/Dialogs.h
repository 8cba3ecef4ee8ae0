#pragma once
// Message boxes, file dialogs and the colour dialog behind one interface. The editor
// installs the Qt implementation; tests install ScriptedDialogs. Handlers never call Qt
// dialogs directly, so every box they show can be checked.
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

enum class MsgKind { Warning, Error, Information, Confirmation, Plain };
enum class MsgButtons { Ok, YesNo, YesNoYesToAll, YesNoCancel };
enum class MsgResult { Ok, Yes, No, YesToAll, Cancel };

struct FileDialogOptions {
    std::string title;
    std::string filter;          // "Tileset files (*.set)|*.set|All files (*.*)|*.*"
    std::string defaultExt;      // without the dot
    std::string initialDir;
    std::string fileName;        // proposed name
    bool overwritePrompt = false;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MsgResult Message(MsgKind kind, const std::string& text, MsgButtons buttons,
                              const std::string& caption = {}) = 0;
    virtual std::optional<std::string> OpenFile(const FileDialogOptions& options) = 0;
    virtual std::optional<std::string> SaveFile(const FileDialogOptions& options) = 0;
    // Colours are 0x00BBGGRR.
    virtual std::optional<uint32_t> PickColour(uint32_t initial) = 0;

    // Shorthands.
    void Notice(const std::string& text) { Message(MsgKind::Plain, text, MsgButtons::Ok); }
    void Warning(const std::string& text) { Message(MsgKind::Warning, text, MsgButtons::Ok); }
    void Error(const std::string& text) { Message(MsgKind::Error, text, MsgButtons::Ok); }
    void Information(const std::string& text) { Message(MsgKind::Information, text, MsgButtons::Ok); }
};

// The dialogs in use; ScriptedDialogs until the editor installs its own.
Dialogs& AppDialogs();
void SetAppDialogs(Dialogs* dialogs);   // nullptr restores the default

// For a path the user chose to open or to save to: true, after a warning that says what the
// path names, when it is no regular file (a folder, a named pipe, a device, a socket), so
// that nothing reads or replaces it. A path that names nothing yet is not refused.
enum class FileUse { Open, Save };
bool RefuseNonFile(const std::string& path, FileUse use);

// Records every box and answers from queues. A question with no answer queued throws
// std::logic_error, so a test never passes on a box it did not expect to be asked.
class ScriptedDialogs : public Dialogs {
public:
    struct Box {
        MsgKind kind;
        std::string text;
        MsgButtons buttons;
        std::string caption;
        MsgResult answer;
    };
    struct FileRequest {
        bool save;
        FileDialogOptions options;
    };

    MsgResult Message(MsgKind kind, const std::string& text, MsgButtons buttons,
                      const std::string& caption = {}) override;
    std::optional<std::string> OpenFile(const FileDialogOptions& options) override;
    std::optional<std::string> SaveFile(const FileDialogOptions& options) override;
    std::optional<uint32_t> PickColour(uint32_t initial) override;

    void QueueAnswer(MsgResult r) { answers.push_back(r); }
    void QueueFile(std::optional<std::string> path) { files.push_back(std::move(path)); }
    void QueueColour(std::optional<uint32_t> c) { colours.push_back(c); }
    std::vector<std::string> Texts() const;
    const Box* Last() const { return boxes.empty() ? nullptr : &boxes.back(); }
    void Clear();

    std::vector<Box> boxes;
    std::vector<FileRequest> fileRequests;
    std::vector<uint32_t> colourRequests;
    std::deque<MsgResult> answers;
    std::deque<std::optional<std::string>> files;
    std::deque<std::optional<uint32_t>> colours;
};
