// Loading a result file: its text onto the Results page, its table onto the Table page.
#include "app/pages/results_page.h"
#include "app/pages/table_page.h"
#include "app/runs/imported_result.h"
#include "main_window.h"
#include "name_text.h"
#include "result_loader.h"
#include "result_settings.h"
#include "shared_dialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QTabWidget>
#include <new>
#include <stdexcept>

using namespace zentrope;

void TFIN::JudgeLoadedRun() {
    table_->JudgeLoadedRun(ThresholdsOf(*this));
}

void TFIN::ButtLoadResultClick() {
    if (std::optional<QString> chosen = ChooseFile(*this, OD)) {
        LoadResultFile(*chosen);
        RecordImportedResult(*chosen);
    }
}

// Memory ran out: both pages empty rather than a text without its table or the reverse.
void TFIN::ShowResultFileTooLarge() {
    results_->Clear();
    table_->Clear();
    ShowMessage(QString::fromUtf8(ResultFileTooLarge), MessageIcon::Error);
}

void TFIN::LoadResultFile(const QString& path) {
    LoadResultFileAt(QFile::encodeName(path).toStdString());
}

void TFIN::LoadResultFileAt(const std::string& pathBytes) {
    const QString path = DisplayText(pathBytes);
    // One copy of the file's bytes serves the text and the table.
    std::shared_ptr<const std::string> bytes;
    try {
        bytes = zentrope::ReadResultBytes(pathBytes);
        if (bytes)
            results_->ShowBytes(bytes);
    } catch (const std::bad_alloc&) {
        ShowResultFileTooLarge();
        return;
    } catch (const std::length_error&) {
        ShowResultFileTooLarge();
        return;
    }
    if (!bytes) {
        ShowMessage(QStringLiteral("Cannot open file %1").arg(path), MessageIcon::Error);
        return;
    }
    const QString caption = QStringLiteral("Results: ") + path;
    PC->setTabText(PC->indexOf(results_), caption);
    PC->setTabToolTip(PC->indexOf(results_), caption);
    PC->setCurrentWidget(results_);
    results_->SelectEnd();

    const ResultLoadOutcome outcome = table_->Load(std::move(bytes), LoadOptionsOf(*this));
    if (!outcome.loaded) { // only when memory ran out
        ShowResultFileTooLarge();
        return;
    }
    JudgeLoadedRun();
    PC->setCurrentWidget(table_);
    table_->FocusGrid();
    if (outcome.sort_request)
        table_->SGMouseUp(Qt::LeftButton, SortMarker, *outcome.sort_request);
    if (!outcome.warning.empty())
        ShowMessage(QString::fromStdString(outcome.warning), MessageIcon::Warning);
}
