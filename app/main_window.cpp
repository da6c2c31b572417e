#include "main_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QEvent>
#include <QFileDialog>

TFIN* FIN = nullptr;

TFIN::TFIN(const WindowSetup& setup, QWidget* parent)
    : QMainWindow(parent), setup_(setup), dialogs_(setup.dialogs) {
    FIN = this;
    setObjectName("FIN");
    if (!dialogs_) {
        ownDialogs_ = std::make_unique<ScreenDialogs>();
        dialogs_ = ownDialogs_.get();
    }
    setWindowTitle("Zentrope GUI v050711");
}

TFIN::~TFIN() {
    if (FIN == this)
        FIN = nullptr;
}

void TFIN::ShowMessage(const QString& text, MessageIcon icon) {
    dialogs_->ShowMessage(text, icon);
}

std::optional<QString> TFIN::RunFileDialog(QFileDialog* dialog) {
    return dialogs_->RunFileDialog(*dialog);
}

QCheckBox* TFIN::TestCheckBox(int n) const {
    return findChild<QCheckBox*>(QStringLiteral("CheckBox%1").arg(n));
}

void TFIN::OnFocusLeft(QWidget*, void (TFIN::*)()) {}

void TFIN::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
}
