// Closing, or loading a run's parameters, never loses parameters silently: changes since the
// last load or save are offered for saving first.
#include "app/main_window.h"

#include <QCoreApplication>

namespace {

bool SameParameters(const zentrope::ParameterFileRecord& a,
                    const zentrope::ParameterFileRecord& b) {
    return a.controls == b.controls && a.LBorder == b.LBorder;
}

} // namespace

void TFIN::MarkParametersSaved() {
    savedParameters_ = std::make_unique<zentrope::ParameterFileRecord>(ParameterRecord());
}

bool TFIN::ParametersChanged() const {
    return savedParameters_ && !SameParameters(*savedParameters_, ParameterRecord());
}

bool TFIN::ConfirmClose() {
    return ConfirmDroppingParameters(QStringLiteral("closing"));
}

bool TFIN::ConfirmDroppingParameters(const QString& before) {
    if (!ParametersChanged())
        return true;
    switch (dialogs_->AskToSave(QStringLiteral("The parameters have changed since they were last "
                                               "loaded or saved.\nSave them before %1?")
                                    .arg(before))) {
    case SaveChoice::Save:
        return ButtParaSaveClick();
    case SaveChoice::Discard:
        return true;
    case SaveChoice::Cancel:
        return false;
    }
    return false;
}

void TFIN::EscapePressed() {
    if (escapeHeld_ == 0)
        close();
}

void TFIN::HoldingEscape(const std::function<void()>& work) {
    ++escapeHeld_;
    work();
    // Keys pressed while the work blocked are waiting in the queue: deliver them now, while
    // their Escape is still held.
    QCoreApplication::processEvents();
    --escapeHeld_;
}
