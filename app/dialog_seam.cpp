#include "app/dialog_seam.h"

#include <QAbstractItemView>
#include <QCompleter>
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

// A completion list open when the dialog closed would stay on the screen and take the next
// click as its own.
void HideCompletionLists(const QFileDialog& dialog) {
    for (const QCompleter* completer : dialog.findChildren<QCompleter*>())
        if (completer->popup() != nullptr && completer->popup()->isVisible())
            completer->popup()->hide();
}

} // namespace

void ScreenDialogs::ShowMessage(const QString& text, MessageIcon icon) {
    ShowDetailedMessage(text, QString(), icon);
}

void ScreenDialogs::ShowDetailedMessage(const QString& text, const QString& detail,
                                        MessageIcon icon) {
    // No owner window: the box stands on its own but still blocks every window.
    QMessageBox box(BoxIcon(icon), QStringLiteral("Zentrope GUI"), text, QMessageBox::Ok);
    box.setInformativeText(detail);
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

SaveChoice ScreenDialogs::AskToSave(const QString& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Zentrope GUI"), text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    box.setWindowModality(Qt::ApplicationModal);
    switch (box.exec()) {
    case QMessageBox::Save:
        return SaveChoice::Save;
    case QMessageBox::Discard:
        return SaveChoice::Discard;
    default:
        return SaveChoice::Cancel;
    }
}

bool ScreenDialogs::OfferAction(const QString& text, const QString& action) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Zentrope GUI"), text);
    QPushButton* chosen = box.addButton(action, QMessageBox::AcceptRole);
    box.setDefaultButton(box.addButton(QStringLiteral("Close"), QMessageBox::RejectRole));
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    return box.clickedButton() == chosen;
}

int ScreenDialogs::Choose(const QString& text, const QStringList& choices) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Zentrope GUI"), text);
    QList<QAbstractButton*> buttons;
    for (qsizetype i = 0; i < choices.size(); ++i)
        buttons << box.addButton(choices[i], i + 1 == choices.size() ? QMessageBox::RejectRole
                                                                     : QMessageBox::AcceptRole);
    if (!buttons.isEmpty())
        box.setEscapeButton(buttons.last());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    const qsizetype chosen = buttons.indexOf(box.clickedButton());
    return int(chosen < 0 ? choices.size() - 1 : chosen);
}

std::optional<QString> ScreenDialogs::RunFileDialog(QFileDialog& dialog) {
    const int answer = dialog.exec();
    HideCompletionLists(dialog);
    if (answer != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}
