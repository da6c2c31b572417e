#include "app/launch_checks.h"

#include "app/main_window.h"
#include "app/pages/general_page.h"
#include "paramfile/run_input_checks.h"

#include <QDir>
#include <QFileInfo>

using namespace zentrope;

namespace {

const QString NoExecutableText =
    QStringLiteral("To run Zentrope you must indicate the executable with the full path in the "
                   "edit box \"Zentrope executable\" (on page \"General\").");
const QString ExecutableNotFoundText = QStringLiteral("Zentrope executable not found.");

QString ExecutableMissingDetail(const QString& executable) {
    const QFileInfo file(executable);
    const QString path = QDir::toNativeSeparators(file.absoluteFilePath());
    const QString what = file.isDir() ? QStringLiteral("\"%1\" is a folder, not a program.")
                                      : QStringLiteral("There is no file \"%1\".");
    return what.arg(path) + QStringLiteral(" Give the tester's full path in \"Zentrope "
                                           "executable\" on page \"General\", or choose it with "
                                           "the \"Change\" button beside it.");
}

bool RunInputSound(TFIN& window) {
    const ParameterFileRecord record = window.ParameterRecord();
    const std::optional<RunInputProblem> problem =
        FirstRunInputProblem(record, CountMatchingFiles(record.Value("EditInFile")));
    if (!problem)
        return true;
    window.ShowMessage(QString::fromStdString(problem->message), MessageIcon::Warning);
    if (auto* field = window.findChild<QWidget*>(QString::fromUtf8(problem->field)))
        window.FocusOnPage(field);
    return false;
}

} // namespace

bool ExecutableFound(TFIN& window, const QString& executable) {
    if (executable.isEmpty()) {
        window.ShowMessage(NoExecutableText, MessageIcon::Error);
        return false;
    }
    if (!QFileInfo(executable).isFile()) {
        window.ShowMessage(ExecutableNotFoundText, MessageIcon::Error,
                           ExecutableMissingDetail(executable));
        return false;
    }
    return true;
}

bool LaunchChecksPass(TFIN& window) {
    return ExecutableFound(window, window.General().TesterPath()) && RunInputSound(window);
}
