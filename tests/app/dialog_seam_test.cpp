// The real boxes and dialogs behind the seam, driven by a timer as a user would answer them.
#include "app/dialog_seam.h"
#include "app/guarded_application.h"
#include "tests/app/gui_test_main.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCompleter>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <stdexcept>

namespace {

// Runs answer on the modal window once it is up and ready for it, looking every 20 ms so that
// a loaded machine only makes the test slower; after 10 s it answers whatever is there. The
// answer must close the window whatever it finds, so a failing check cannot leave the test
// waiting.
void WhenModalShows(std::function<void(QWidget*)> answer,
                    std::function<bool(QWidget*)> ready = {}) {
    auto* poll = new QTimer;
    QElapsedTimer waited;
    waited.start();
    QObject::connect(poll, &QTimer::timeout, [=] {
        QWidget* modal = QApplication::activeModalWidget();
        const bool up = modal != nullptr && modal->isVisible() && (!ready || ready(modal));
        if (!up && waited.elapsed() < 10000)
            return;
        poll->stop();
        poll->deleteLater();
        answer(modal);
    });
    poll->start(20);
}

} // namespace

class DialogSeamTest : public QObject {
    Q_OBJECT

private slots:
    void MessageBoxHasTheCaptionIconAndOkOnly_data() {
        QTest::addColumn<MessageIcon>("icon");
        QTest::addColumn<QMessageBox::Icon>("shown");
        QTest::newRow("information") << MessageIcon::Information << QMessageBox::Information;
        QTest::newRow("warning") << MessageIcon::Warning << QMessageBox::Warning;
        QTest::newRow("error") << MessageIcon::Error << QMessageBox::Critical;
    }
    void MessageBoxHasTheCaptionIconAndOkOnly() {
        QFETCH(MessageIcon, icon);
        QFETCH(QMessageBox::Icon, shown);
        struct Seen {
            QString title, text;
            QMessageBox::Icon icon = QMessageBox::NoIcon;
            Qt::WindowModality modality = Qt::NonModal;
            QWidget* owner = nullptr;
            QList<QMessageBox::StandardButton> buttons;
        };
        std::optional<Seen> seen;
        WhenModalShows([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (!box)
                return;
            seen = Seen{box->windowTitle(),    box->text(),         box->icon(),
                        box->windowModality(), box->parentWidget(), {}};
            for (QAbstractButton* button : box->buttons())
                seen->buttons << box->standardButton(button);
            box->buttons().first()->click();
        });
        ScreenDialogs().ShowMessage("Parameter file\n\"/x\"\nnot found.", icon);
        QVERIFY(seen);
        QCOMPARE(seen->title, QString("Zentrope GUI"));
        QCOMPARE(seen->text, QString("Parameter file\n\"/x\"\nnot found."));
        QCOMPARE(seen->icon, shown);
        QCOMPARE(seen->modality, Qt::ApplicationModal);
        QVERIFY(!seen->owner);
        QCOMPARE(seen->buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
    }

    // Each answer is taken by the button of that caption; closing the box goes back.
    void QuestionGoesOnOnlyByItsGoOnButton() {
        QStringList captions;
        const auto press = [&](const QString& caption) {
            return [&, caption](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                if (!box)
                    return;
                captions.clear();
                for (QAbstractButton* button : box->buttons())
                    captions << button->text();
                captions << box->windowTitle() << QString::number(box->icon());
                for (QAbstractButton* button : box->buttons())
                    if (button->text() == caption)
                        button->click();
                box->reject();
            };
        };
        ScreenDialogs dialogs;
        WhenModalShows(press("Go on"));
        QVERIFY(dialogs.AskToGoOn("Serial: ..."));
        captions.sort();
        QCOMPARE(captions, (QStringList{QString::number(QMessageBox::Warning), "Go back", "Go on",
                                        "Zentrope GUI"}));
        WhenModalShows(press("Go back"));
        QVERIFY(!dialogs.AskToGoOn("Serial: ..."));
        WhenModalShows(press("none"));
        QVERIFY(!dialogs.AskToGoOn("Serial: ..."));
    }

    // An escaped exception shows its message, or nothing for one of no known kind.
    void ExceptionsShowTheirMessage() {
        QStringList shown;
        const auto closeBox = [&](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                shown << box->windowTitle() + "|" + box->text();
                box->buttons().first()->click();
            }
        };
        WhenModalShows(closeBox);
        ShowException(std::make_exception_ptr(std::runtime_error("disk full")));
        WhenModalShows(closeBox);
        ShowException(std::make_exception_ptr(42));
        QCOMPARE(shown, (QStringList{"Zentrope GUI|disk full", "Zentrope GUI|"}));
    }

    void FileDialogGivesTheChosenPathOrNothing() {
        QTemporaryDir dir;
        QFile(dir.filePath("chosen.par")).open(QIODevice::WriteOnly);
        QFileDialog dialog;
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setDirectory(dir.path());
        QWidget* shown = nullptr;
        WhenModalShows([&](QWidget* modal) {
            shown = modal;
            // As a user types a name into the dialog.
            if (auto* name = dialog.findChild<QLineEdit*>("fileNameEdit"))
                name->setText("chosen.par");
            QMetaObject::invokeMethod(&dialog, "done", Q_ARG(int, QDialog::Accepted));
        });
        ScreenDialogs dialogs;
        QCOMPARE(dialogs.RunFileDialog(dialog).value_or("cancelled"), dir.filePath("chosen.par"));
        QCOMPARE(shown, &dialog);
        WhenModalShows([&](QWidget*) { QMetaObject::invokeMethod(&dialog, "reject"); });
        QCOMPARE(dialogs.RunFileDialog(dialog), std::nullopt);
    }

    // A dialog that closes while its completion list is open leaves no list on the screen to
    // take the next click.
    void NoCompletionListOutlivesTheFileDialog() {
        QTemporaryDir dir;
        for (const char* name : {"alpha.par", "alpine.par"}) {
            QFile file(QDir(dir.path()).filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QFileDialog dialog;
        dialog.setDirectory(dir.path());
        QWidget* list = nullptr;
        auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
        QVERIFY(name != nullptr && name->completer() != nullptr);
        QCompleter* completer = name->completer();
        // The dialog lists its folder in the background; the list can show once both names are in.
        const auto bothNamesListed = [completer](QWidget*) {
            completer->setCompletionPrefix("al");
            return completer->completionCount() >= 2;
        };
        WhenModalShows(
            [&](QWidget*) {
                name->setFocus();
                completer->complete();
                list = completer->popup();
                if (!list->isVisible())
                    list = nullptr; // not shown: nothing to check
                QMetaObject::invokeMethod(&dialog, "done", Q_ARG(int, QDialog::Rejected));
            },
            bothNamesListed);
        ScreenDialogs().RunFileDialog(dialog);
        QVERIFY2(list != nullptr, "the completion list never showed");
        QVERIFY(!list->isVisible());
        QCOMPARE(QApplication::activePopupWidget(), nullptr);
    }
};

ZENTROPE_GUI_TEST_MAIN(DialogSeamTest)
#include "dialog_seam_test.moc"
