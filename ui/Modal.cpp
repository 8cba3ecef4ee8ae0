#include "ui/Modal.h"

#include <stdexcept>

namespace {
ModalScript* script = nullptr;
}

void SetModalScript(ModalScript* s)
{
    script = s;
}

int ShowModal(QDialog* dialog)
{
    dialog->setResult(QDialog::Rejected);
    if (!script) return dialog->exec();

    const std::string name = dialog->objectName().toStdString();
    if (script->steps.empty()) throw std::logic_error("no step queued for the dialog " + name);
    ModalScript::Step step = std::move(script->steps.front());
    script->steps.pop_front();
    script->shown.push_back(name);
    dialog->show();
    step(*dialog);
    if (dialog->isVisible()) dialog->close();
    return dialog->result();
}
