#include "dialog_seam.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void ScreenDialogs::ShowMessage(const QString& text, MessageIcon icon) {
    // No owner window: the box stands on its own but still blocks every window.
    QMessageBox box(BoxIcon(icon), QStringLiteral("Zentrope GUI"), text, QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

bool ScreenDialogs::AskToGoOn(const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Zentrope GUI"), text);
    QPushButton* goOn = box.addButton(QStringLiteral("Go on"), QMessageBox::AcceptRole);
    box.setDefaultButton(box.addButton(QStringLiteral("Go back"), QMessageBox::RejectRole));
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    return box.clickedButton() == goOn;
}

bool ScreenDialogs::OfferAction(const QString& text, const QString& action) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Zentrope GUI"), text);
    QPushButton* chosen = box.addButton(action, QMessageBox::AcceptRole);
    box.setDefaultButton(box.addButton(QStringLiteral("Close"), QMessageBox::RejectRole));
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    return box.clickedButton() == chosen;
}

std::optional<QString> ScreenDialogs::RunFileDialog(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}
