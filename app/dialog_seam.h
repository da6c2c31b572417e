// Every message box and file dialog of the window goes through this seam, so tests can answer
// them without blocking.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QFileDialog;

enum class MessageIcon { Information, Warning, Error };

enum class SaveChoice { Save, Discard, Cancel };

class DialogSeam {
public:
    virtual ~DialogSeam() = default;
    // A box with the caption "Zentrope GUI", the given icon and an OK button only,
    // modal for the whole application.
    virtual void ShowMessage(const QString& text, MessageIcon icon) = 0;
    // The same box with a second paragraph under the text, saying why and what to do. A seam
    // that cannot show it shows the text alone.
    virtual void ShowDetailedMessage(const QString& text, const QString& /*detail*/,
                                     MessageIcon icon) {
        ShowMessage(text, icon);
    }
    // A warning box with the caption "Zentrope GUI" and the buttons "Go on" and "Go back";
    // true for "Go on". A seam that cannot ask shows the text and goes back.
    virtual bool AskToGoOn(const QString& text) {
        ShowMessage(text, MessageIcon::Warning);
        return false;
    }
    // A question with the caption "Zentrope GUI" and the buttons Save, Discard and Cancel. A
    // seam that cannot ask discards, as closing did before it asked.
    virtual SaveChoice AskToSave(const QString&) { return SaveChoice::Discard; }
    // A warning box with the caption "Zentrope GUI" and the buttons `action` and "Close"; true
    // for `action`. A seam that cannot ask shows the text and closes.
    virtual bool OfferAction(const QString& text, const QString& /*action*/) {
        ShowMessage(text, MessageIcon::Warning);
        return false;
    }
    // A question with the caption "Zentrope GUI" and one button per choice, the last one
    // taken by Escape; the index of the choice. A seam that cannot ask shows the text and
    // takes the last choice.
    virtual int Choose(const QString& text, const QStringList& choices) {
        ShowMessage(text, MessageIcon::Warning);
        return int(choices.size()) - 1;
    }
    // Runs OD or SD as the caller set it up; the chosen full path, or nothing when cancelled.
    virtual std::optional<QString> RunFileDialog(QFileDialog& dialog) = 0;
};

// The real boxes and dialogs.
class ScreenDialogs final : public DialogSeam {
public:
    void ShowMessage(const QString& text, MessageIcon icon) override;
    void ShowDetailedMessage(const QString& text, const QString& detail, MessageIcon icon) override;
    bool AskToGoOn(const QString& text) override;
    SaveChoice AskToSave(const QString& text) override;
    bool OfferAction(const QString& text, const QString& action) override;
    int Choose(const QString& text, const QStringList& choices) override;
    std::optional<QString> RunFileDialog(QFileDialog& dialog) override;
};
