#pragma once
// The application object, the start-up order of the windows and the exception box.
#include <exception>
#include <utility>

#include <QApplication>

inline constexpr const char* AppTitle = "Tilvenna BETA 0.85";

// Shows what escaped a handler in an error box through AppDialogs(): the exception's text,
// or an empty text for an exception that carries none.
void ShowException(std::exception_ptr e);

// The application object. Whatever a handler lets escape is caught on its way back into
// the event loop and shown in the exception box; the loop goes on.
class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Wraps a handler for a signal connection so that an exception stops at the handler's
// edge and is shown as notify would show it, never unwinding through Qt's own frames.
template <class F>
auto Guard(F f)
{
    return [f = std::move(f)](auto&&...) {
        try {
            f();
        } catch (...) {
            ShowException(std::current_exception());
        }
    };
}

// Registers the picture formats and installs the decoders of the class library's pictures
// (if not done yet), then creates the windows in start-up order, each into its global:
// Form1 (the main window, whose creation locates the game, reads its key files and loads
// the options), then the hidden dialogs Form2 to Form6.
void CreateWindows();
// Destroys them again (tests create a fresh set per case).
void DestroyWindows();
