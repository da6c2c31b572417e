// Loading a result file: its text onto the Results page, its table onto the Table page.
#include "app/main_window.h"
#include "app/name_text.h"
#include "app/pages/general_page.h"
#include "app/pages/results_page.h"
#include "app/pages/table_page.h"
#include "app/runs/imported_result.h"
#include "app/shared_dialogs.h"
#include "app/table/result_table_model.h"
#include "results/result_loader.h"

#include <QFile>
#include <QTabWidget>
#include <new>
#include <stdexcept>

using namespace zentrope;

void TFIN::ButtLoadResultClick() {
    // An empty or foreign file gave nothing worth keeping.
    if (std::optional<QString> chosen = ChooseFile(*dialogs_, OD);
        chosen && FreeToShowOtherResult() && LoadResultFile(*chosen))
        RecordImportedResult(*chosen);
}

// Memory ran out: both pages empty rather than a text without its table or the reverse.
void TFIN::ShowResultFileTooLarge() {
    TSresults->Clear();
    TStable->Clear();
    ShowMessage(QString::fromUtf8(ResultFileTooLarge), MessageIcon::Error);
}

bool TFIN::LoadResultFile(const QString& path) {
    return LoadResultFileAt(QFile::encodeName(path).toStdString());
}

bool TFIN::LoadResultFileAt(const std::string& pathBytes) {
    const QString path = DisplayText(pathBytes);
    // One copy of the file's bytes serves the text and the table.
    std::shared_ptr<const std::string> bytes;
    try {
        bytes = zentrope::ReadResultBytes(pathBytes);
        if (bytes)
            TSresults->ShowBytes(bytes);
    } catch (const std::bad_alloc&) {
        ShowResultFileTooLarge();
        return false;
    } catch (const std::length_error&) {
        ShowResultFileTooLarge();
        return false;
    }
    if (!bytes) {
        ShowMessage(QStringLiteral("Cannot open file %1").arg(path), MessageIcon::Error);
        return false;
    }
    const QString caption = QStringLiteral("Results: ") + path;
    PC->setTabText(PC->indexOf(TSresults), caption);
    PC->setTabToolTip(PC->indexOf(TSresults), caption);
    PC->setCurrentWidget(TSresults);
    TSresults->SelectEnd();

    const ResultLoadOutcome outcome = TStable->Load(std::move(bytes), TSgeneral->LoadOptions());
    if (!outcome.loaded) { // only when memory ran out
        ShowResultFileTooLarge();
        return false;
    }
    TStable->JudgeLoadedRun(TSgeneral->Thresholds());
    PC->setCurrentWidget(TStable);
    TStable->FocusGrid();
    if (outcome.sort_request)
        TStable->SGMouseUp(Qt::LeftButton, SortMarker, *outcome.sort_request);
    if (!outcome.warning.empty())
        ShowMessage(QString::fromStdString(outcome.warning), MessageIcon::Warning);
    return TStable->Model().Grid().Results().RowCount() > 0;
}
