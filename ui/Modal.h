#pragma once
// Modal dialogs: shown and waited for in the editor, run by a script in tests.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <QDialog>

// Shows the dialog modally and returns once it has closed, with its result
// (QDialog::Accepted, or Rejected when it was closed any other way than by accept).
//
// With a ModalScript installed nothing waits: the dialog is shown (its show handler runs),
// the script's next step acts on it as a user would (picks a row, presses a button), a
// dialog the step leaves open is closed as by its close box, and the result is returned.
int ShowModal(QDialog* dialog);

class ModalScript {
public:
    using Step = std::function<void(QDialog& dialog)>;
    void Queue(Step step) { steps.push_back(std::move(step)); }

    std::deque<Step> steps;
    // The object names of the dialogs shown, in order.
    std::vector<std::string> shown;
};

// Tests install one; nullptr goes back to real modal dialogs. A modal dialog shown with
// no step queued raises std::logic_error, so a test never passes on a dialog it did not
// expect.
void SetModalScript(ModalScript* script);
