// The parameter file commands: Save, Load new, Load and Save as, and the load behind them.
#include "app/capped_messages.h"
#include "app/interrupted_saves.h"
#include "app/main_window.h"
#include "app/pages/general_page.h"
#include "app/shared_dialogs.h"
#include "paramfile/parameter_file_reader.h"
#include "paramfile/parameter_file_writer.h"
#include "platform/path_parts.h"
#include "results/grid/result_loader.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QScrollArea>
#include <QTabWidget>

using namespace zentrope;

namespace {

bool IsExistingFile(const QString& path) {
    QFileInfo info(path);
    return info.exists() && !info.isDir();
}

} // namespace

int TFIN::LoadNamedParameterFile() {
    const QString path = TSgeneral->ParameterFileName();
    if (path.isEmpty())
        return 1;
    if (!IsExistingFile(path)) {
        ShowMessage(ParameterFileNotFoundText(path), MessageIcon::Information);
        return 1;
    }
    if (!QFileInfo(path).isFile()) { // a pipe would hold the window until a writer came
        ShowMessage(QString::fromStdString(NotRegularFileMessage(path.toStdString())),
                    MessageIcon::Error);
        return 1;
    }
    Params.InFile.reset();
    Params.OutFile.reset();
    CappedMessages sink([this](const QString& text) { ShowMessage(text, MessageIcon::Warning); },
                        QStringLiteral("the parameter file %1").arg(path));
    const int read = ReadParameterFile(path.toStdString(), Params, std::ref(sink));
    sink.Finish();
    if (read != 0)
        return 1;
    ApplyParameterSet();
    return 0;
}

void TFIN::LoadAtStartup() {
    // Before the file is read: a save stopped halfway may have left it mixed.
    SettleInterruptedSaves(*dialogs_);
    if (LoadNamedParameterFile() == 0)
        return;
    TSgeneral->ClearSummaries();
    ApplyDefaults(Params);
    ApplyParameterSet();
}

SaveOutcome TFIN::SaveParameterFile() {
    if (TSgeneral->ParameterFileName().isEmpty())
        TSgeneral->SetParameterFileName(QString::fromUtf8(DefaultParameterFileName));
    if (!FreeToSaveParameters(TSgeneral->ParameterFileName()))
        return SaveOutcome::NotSaved;
    SaveResult result =
        WriteParameterFile(ParameterRecord(), TSgeneral->ParameterFileName().toStdString(),
                           QFile::encodeName(SaveRecoveryFolder()).toStdString());
    if (result.outcome == SaveOutcome::Saved) {
        MarkParametersSaved();
        return result.outcome;
    }
    // A missing folder is the one cause of a failed write the window can name.
    const QString why = result.outcome == SaveOutcome::NotSaved
                            ? ParameterFolderMissingText(TSgeneral->ParameterFileName())
                            : QString();
    ShowMessage(QString::fromStdString(result.message),
                result.outcome == SaveOutcome::InvalidInteger ? MessageIcon::Error
                                                              : MessageIcon::Warning,
                why);
    if (auto* field = findChild<QWidget*>(QString::fromStdString(result.field)))
        FocusOnPage(field);
    return result.outcome;
}

bool TFIN::ButtParaSaveClick() {
    return SaveParameterFile() == SaveOutcome::Saved;
}

void TFIN::FocusOnPage(QWidget* field) {
    for (QWidget* page = field; page != nullptr; page = page->parentWidget())
        if (PC->indexOf(page) >= 0)
            PC->setCurrentWidget(page);
    static_cast<QScrollArea*>(centralWidget())->ensureWidgetVisible(field);
    field->setFocus(Qt::OtherFocusReason);
    // Selected, the refused text shows which of the many fields is meant.
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        edit->selectAll();
}

void TFIN::ButtParaLoadClick() {
    // A name that does not exist is accepted here and reported by the load.
    OD->setFileMode(QFileDialog::AnyFile);
    OD->setDirectory(DialogFolder(TSgeneral->ParameterFileName()));
    auto chosen = ChooseFile(*dialogs_, OD);
    if (!chosen)
        return;
    TSgeneral->SetParameterFileName(*chosen);
    LoadNamedParameterFile();
}

void TFIN::ButtParaReloadClick() {
    const QString path = TSgeneral->ParameterFileName();
    if (IsExistingFile(path))
        LoadNamedParameterFile();
    else
        ShowMessage(ParameterFileNotFoundText(path), MessageIcon::Warning);
}

void TFIN::ButtParaSaveAsClick() {
    const QString path = TSgeneral->ParameterFileName();
    SD->setDirectory(DialogFolder(path));
    SD->selectFile(QString::fromStdString(NamePart(path.toStdString())));
    auto chosen = ChooseFile(*dialogs_, SD);
    if (!chosen)
        return;
    TSgeneral->SetParameterFileName(*chosen);
    ButtParaSaveClick();
}
