// The two run buttons: save the parameters and start the tester, then either leave it running
// and close, or wait for it and load its result.
#include "main_window.h"
#include "name_text.h"
#include "parameter_file_writer.h"
#include "platform/path_parts.h"
#include "record_checks.h"
#include "result_freshness.h"
#include "shared_dialogs.h"
#include "tester_process.h"
#include "window_parameter_record.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

using namespace zentrope;

namespace {

const QString NoExecutableText =
    QStringLiteral("To run Zentrope you must indicate the executable with the full path in the "
                   "edit box \"Zentrope executable\" (on page \"General\").");
const QString ExecutableNotFoundText = QStringLiteral("Zentrope executable not found.");
constexpr int NoticeTickMs = 1000;

QString FolderOf(const QString& path) {
    return QString::fromStdString(DirectoryPart(path.toStdString()));
}

// A bare output name lies in the tester's folder, where the tester was started. Bytes: the
// output name is the one the parameter file holds.
std::string ResolveResultPath(const std::string& outFile, const QString& executable) {
    return DirectoryPart(outFile).empty() ? DirectoryPart(executable.toStdString()) + outFile
                                          : outFile;
}

// The tester runs no value of a range whose min exceeds its max and says so only in its
// report: the user chooses whether to run without that test.
bool GoOnDespiteInvertedRanges(TFIN& window) {
    const std::vector<InvertedRange> ranges = InvertedRanges(ParameterFileRecordOf(window));
    if (ranges.empty())
        return true;
    QString text;
    for (const InvertedRange& range : ranges)
        text += QStringLiteral("%1: the %2 range has min %3 greater than max %4.\n")
                    .arg(QString::fromUtf8(DisplayName(range.test)), QString::fromUtf8(range.range))
                    .arg(range.min)
                    .arg(range.max);
    text += QStringLiteral("\nZentrope will not run these tests with such a range. Go on "
                           "without them, or go back to correct the range?");
    return window.AskToGoOn(text);
}

// Null when nothing was started; the user has then been told why.
std::unique_ptr<TesterProcess> LaunchTester(TFIN& window) {
    const QString executable = window.EditZTRPexe->text();
    if (executable.isEmpty()) {
        window.ShowMessage(NoExecutableText, MessageIcon::Error);
        return nullptr;
    }
    if (!QFileInfo(executable).isFile()) {
        window.ShowMessage(ExecutableNotFoundText, MessageIcon::Error);
        return nullptr;
    }
    if (!GoOnDespiteInvertedRanges(window))
        return nullptr;
    const SaveOutcome outcome = window.SaveParameterFile();
    const bool saved = outcome == SaveOutcome::Saved;
    // A value refused before writing (a field that is not a whole number, a size out of
    // range) ends the click with the save's own box, as a conversion error ends any handler:
    // there is no file check after it.
    if (outcome == SaveOutcome::InvalidInteger || outcome == SaveOutcome::SizeOutOfRange)
        return nullptr;
    const QString parameterFile = window.EditParaFile->text();
    if (!QFileInfo(parameterFile).isFile()) {
        window.ShowMessage(ParameterFileNotFoundText(parameterFile), MessageIcon::Error);
        return nullptr;
    }
    // A file left by an earlier save does not hold what the window shows; the save has
    // already told the user why it failed.
    if (!saved)
        return nullptr;
    // After the save, so this run's file keeps the empty name and the tester its own default.
    if (window.EditOutFile->text().isEmpty())
        window.EditOutFile->setText(DefaultOutFileName);
    TesterStart start = StartTester(executable, parameterFile, FolderOf(executable));
    if (!start.process)
        window.ShowMessage(start.error, MessageIcon::Warning);
    return std::move(start.process);
}

QString ElapsedText(qint64 seconds) {
    const auto twoDigits = [](qint64 value) {
        return QString::number(value).rightJustified(2, '0');
    };
    const QString minutesAndSeconds = twoDigits(seconds / 60 % 60) + ':' + twoDigits(seconds % 60);
    return QString::number(seconds / 3600) + ':' + minutesAndSeconds;
}

// Shown while the window waits for the tester. It has no buttons and nothing but the end of
// the run closes it; being modal, it keeps input from the window, which still repaints.
class WaitNotice : public QDialog {
public:
    explicit WaitNotice(QWidget* parent)
        : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
          text_(new QLabel(this)) {
        setWindowTitle(QStringLiteral("Zentrope GUI"));
        setWindowModality(Qt::ApplicationModal);
        (new QVBoxLayout(this))->addWidget(text_);
        clock_.start();
        showElapsed();
        connect(&ticker_, &QTimer::timeout, this, &WaitNotice::showElapsed);
        ticker_.start(NoticeTickMs);
    }

    // Neither Escape nor the title bar may end the wait.
    void reject() override {}

private:
    void showElapsed() {
        text_->setText(QStringLiteral("Waiting for Zentrope to end.\nTime waited: %1")
                           .arg(ElapsedText(clock_.elapsed() / 1000)));
    }

    QLabel* text_;
    QElapsedTimer clock_;
    QTimer ticker_;
};

void WaitShowingNotice(TFIN& window, TesterProcess& tester) {
    WaitNotice notice(&window);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    notice.show();
    tester.waitForEnd();
    QApplication::restoreOverrideCursor();
}

// Loading a left-over file silently would pass off an earlier run's figures as this one's.
void WarnIfNotWritten(TFIN& window, const std::string& pathBytes, const QDateTime& runStartedAt) {
    const ResultFreshness freshness = CheckResultFreshness(pathBytes, runStartedAt);
    const QString path = DisplayText(pathBytes);
    if (freshness == ResultFreshness::Written)
        return;
    QString text =
        QStringLiteral("Zentrope has ended without writing the output file\n\"%1\".").arg(path);
    if (freshness == ResultFreshness::Older)
        text += QStringLiteral("\nThe file found there is older than this run; it is loaded as "
                               "it is.");
    window.ShowMessage(text, MessageIcon::Warning);
}

} // namespace

void TFIN::ButtRunExitClick() {
    if (LaunchTester(*this))
        close();
}

void TFIN::ButtRunWaitClick() {
    std::unique_ptr<TesterProcess> tester = LaunchTester(*this);
    if (!tester)
        return;
    HoldingEscape([&] {
        WaitShowingNotice(*this, *tester);
        const std::string path = ResolveResultPath(NameBytes(EditOutFile), EditZTRPexe->text());
        WarnIfNotWritten(*this, path, tester->startedAt());
        LoadResultFileAt(path);
    });
}
