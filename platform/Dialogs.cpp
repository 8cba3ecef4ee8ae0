#include "platform/Dialogs.h"

#include <stdexcept>

#include "platform/Files.h"

namespace {
ScriptedDialogs& fallback()
{
    static ScriptedDialogs d;
    return d;
}
Dialogs* current = nullptr;
}

Dialogs& AppDialogs()
{
    return current ? *current : fallback();
}

void SetAppDialogs(Dialogs* dialogs)
{
    current = dialogs;
}

bool RefuseNonFile(const std::string& path, FileUse use)
{
    const std::string kind = NonFileKind(path);
    if (kind.empty()) return false;
    AppDialogs().Warning((use == FileUse::Open ? "Cannot open " : "Cannot save to ") + path + ": it is " + kind +
                         ", not a file.");
    return true;
}

MsgResult ScriptedDialogs::Message(MsgKind kind, const std::string& text, MsgButtons buttons,
                                   const std::string& caption)
{
    MsgResult answer = MsgResult::Ok;
    if (buttons != MsgButtons::Ok) {
        if (answers.empty()) {
            boxes.push_back({kind, text, buttons, caption, MsgResult::No});
            throw std::logic_error("unexpected question: " + text);
        }
        answer = answers.front();
        answers.pop_front();
    }
    boxes.push_back({kind, text, buttons, caption, answer});
    return answer;
}

std::optional<std::string> ScriptedDialogs::OpenFile(const FileDialogOptions& options)
{
    fileRequests.push_back({false, options});
    if (files.empty()) return std::nullopt;
    auto f = files.front();
    files.pop_front();
    return f;
}

std::optional<std::string> ScriptedDialogs::SaveFile(const FileDialogOptions& options)
{
    fileRequests.push_back({true, options});
    if (files.empty()) return std::nullopt;
    auto f = files.front();
    files.pop_front();
    return f;
}

std::optional<uint32_t> ScriptedDialogs::PickColour(uint32_t initial)
{
    colourRequests.push_back(initial);
    if (colours.empty()) return std::nullopt;
    auto c = colours.front();
    colours.pop_front();
    return c;
}

std::vector<std::string> ScriptedDialogs::Texts() const
{
    std::vector<std::string> t;
    for (const auto& b : boxes) t.push_back(b.text);
    return t;
}

void ScriptedDialogs::Clear()
{
    boxes.clear();
    fileRequests.clear();
    colourRequests.clear();
    answers.clear();
    files.clear();
    colours.clear();
}
