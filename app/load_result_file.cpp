// Loading a result file: its text onto the Results page, its table onto the Table page.
#include "app/background_load.h"
#include "app/detail/chart_file.h"
#include "app/main_window.h"
#include "app/name_text.h"
#include "app/pages/general_page.h"
#include "app/pages/results_page.h"
#include "app/pages/table_page.h"
#include "app/runs/imported_result.h"
#include "app/shared_dialogs.h"
#include "app/table/result_table_model.h"
#include "results/grid/result_loader.h"

#include <QFile>
#include <QFileInfo>
#include <QTabWidget>

using namespace zentrope;

void TFIN::ButtLoadResultClick() {
    // An empty or foreign file, or a load refused or cancelled, gave nothing worth keeping.
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

void TFIN::CancelResultLoad() {
    if (resultLoad_)
        resultLoad_->Cancel();
}

bool TFIN::LoadResultFileAt(const std::string& pathBytes) {
    const QString path = DisplayText(pathBytes);
    if (resultLoad_) { // a load waits in the event loop; a second one would wait inside it
        ShowMessage(QStringLiteral("A result file is still being loaded."), MessageIcon::Warning);
        return false;
    }
    LoadWatch watch;
    resultLoad_ = &watch;
    BuiltResultLoad built = WaitForResultLoad(
        this, path, watch,
        [&pathBytes, &watch, options = TSgeneral->LoadOptions(),
         start = TStable->Model().Grid().WithoutBody(), font = TStable->GridFont()]() mutable {
            return BuildResultLoad(pathBytes, options, std::move(start), font, watch);
        });
    resultLoad_ = nullptr;
    if (watch.Cancelled()) // by the user or by closing: the window stays as it was
        return false;
    if (built.tooLarge) {
        ShowResultFileTooLarge();
        return false;
    }
    if (built.read.failure == ResultReadFailure::NotRegularFile) {
        ShowMessage(QString::fromStdString(NotRegularFileMessage(path.toStdString())),
                    MessageIcon::Error);
        return false;
    }
    if (!built.read.bytes) {
        ShowMessage(QStringLiteral("Cannot open file %1").arg(path), MessageIcon::Error);
        return false;
    }
    TSresults->ShowLines(std::move(*built.lines));
    const QString caption = QStringLiteral("Results: ") + path;
    PC->setTabText(PC->indexOf(TSresults), caption);
    PC->setTabToolTip(PC->indexOf(TSresults), caption);
    PC->setCurrentWidget(TSresults);
    TSresults->SelectEnd();

    const ResultLoadOutcome& outcome = built.outcome;
    TStable->Adopt(std::move(built.grid), built.columnWidths, std::move(built.reasons));
    TStable->JudgeLoadedRun(TSgeneral->Thresholds());
    // Until a caller that knows the run says better: the file itself.
    TStable->NameRun(ChartRunName(QFileInfo(path).fileName(), QFileInfo(path).lastModified()));
    PC->setCurrentWidget(TStable);
    TStable->FocusGrid();
    if (outcome.sortRequest)
        TStable->SGMouseUp(Qt::LeftButton, SortMarker, *outcome.sortRequest);
    TStable->LandOnVerdict();
    if (!outcome.warning.empty())
        ShowMessage(QString::fromStdString(outcome.warning), MessageIcon::Warning);
    return TStable->Model().Grid().Results().RowCount() > 0;
}
