// The Results and Table pages: loading a result file into RE and SG, and sorting SG by a right
// click on its header row.
#include "app/detail/row_detail_pane.h"
#include "app/table/result_table_control.h"
#include "app/table/result_table_model.h"
#include "app/table/run_verdict_line.h"
#include "app/widgets/text_width_meter.h"
#include "main_window.h"
#include "name_text.h"
#include "result_loader.h"
#include "result_table_commands.h"
#include "shared_dialogs.h"
#include "table_sort.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <new>
#include <stdexcept>
#include <vector>

using namespace zentrope;

namespace {

// Where the tab stops of RE lie, in points.
const QList<qreal> ResultTabStops = {0, 100, 200, 300, 400};
constexpr int SpacerWidth = 20;
constexpr int CellPadding = 6;
constexpr int FixedCellPadding = 4; // the raised frame of fixed cells takes more room

ResultLoadOptions LoadOptionsOf(const TFIN& window) {
    ResultLoadOptions options;
    options.format = window.CBsaveFormat->currentIndex() == 1 ? ResultLineFormat::NameThenPValue
                                                              : ResultLineFormat::PValueThenName;
    options.pval_digits = window.Params.pval_digits;
    options.sort_ks = window.cbSortKS->isChecked();
    options.sort_ad = window.cbSortAD->isChecked();
    options.sort_sl = window.cbSortSL->isChecked();
    return options;
}

// The widest text of a column over every row, headers in their bold face.
int WidestText(const ResultTableModel& model, int32_t col, const TextWidthMeter& cells,
               const TextWidthMeter& headers) {
    int widest = headers.Width(model.Cell(col, 0));
    for (int32_t row = 1; row < model.rowCount(); ++row)
        widest = std::max(widest, cells.Width(model.Cell(col, row)));
    return widest;
}

// Widths of the columns the load made, first to last: all are measured before any is
// applied, so that the header lays its sections out once.
std::vector<int> ResultColumnWidths(const ResultTableModel& model, const QFont& font) {
    QFont bold = font;
    bold.setBold(true);
    const TextWidthMeter cells(font);
    const TextWidthMeter headers(bold);
    const int32_t end = model.SequenceColumnEnd();
    std::vector<int> widths;
    for (int32_t col = 0; col < end; ++col) {
        const int padding = CellPadding + (col < ResultGrid::FixedColumns ? FixedCellPadding : 0);
        widths.push_back(WidestText(model, col, cells, headers) + padding);
    }
    if (model.Grid().SpacerColumn() != end)
        return widths;
    widths.push_back(SpacerWidth);
    for (int32_t col = end + 1; col < std::min(end + 4, model.columnCount()); ++col)
        widths.push_back(WidestText(model, col, cells, headers) + CellPadding);
    return widths;
}

// A threshold as the General page holds it; a field that is not a number switches its check off.
double Threshold(const QLineEdit* edit, double off) {
    bool ok = false;
    const double value = edit->text().trimmed().toDouble(&ok);
    return ok ? value : off;
}

FlagThresholds ThresholdsOf(const TFIN& window) {
    FlagThresholds thresholds;
    thresholds.ks_min = Threshold(window.EditKSmin, 0);
    thresholds.ad_min = Threshold(window.EditADmin, 0);
    thresholds.sl_max = Threshold(window.EditSLmax, 100);
    return thresholds;
}

} // namespace

// Above SG: the run's verdict and the switch for the sequence columns.
void TFIN::BuildVerdictRow() {
    SGVerdict = new RunVerdictLine(TStable);
    auto* sequences = new QCheckBox(QStringLiteral("Sequence columns"), TStable);
    sequences->setObjectName("cbSequenceColumns");
    sequences->setChecked(true);
    auto* row = new QHBoxLayout;
    row->addWidget(SGVerdict, 1);
    row->addWidget(sequences, 0, Qt::AlignTop);
    if (auto* page = qobject_cast<QVBoxLayout*>(TStable->layout()))
        page->insertLayout(0, row);
    connect(sequences, &QCheckBox::toggled, SGControl,
            &ResultTableControl::SetSequenceColumnsShown);
    connect(SGVerdict, &RunVerdictLine::worstRowChosen, this, [this](int32_t resultRow) {
        const int32_t row = SGModel->ModelRowOf(resultRow);
        const int col = SG->horizontalHeader()->logicalIndexAt(0);
        if (row < 0)
            return;
        SG->setCurrentIndex(SGModel->index(row, std::max(col, ResultGrid::FixedColumns)));
        SG->setFocus();
    });
}

// Below SG: the current cell's row in detail. Either part can be collapsed.
void TFIN::BuildDetailPane() {
    SGDetail = new RowDetailPane(*SGModel, Dialogs(), SGSplitter);
    SGSplitter->addWidget(SGDetail);
    SGSplitter->setStretchFactor(0, 3);
    SGSplitter->setStretchFactor(1, 2);
    connect(SG->selectionModel(), &QItemSelectionModel::currentChanged, SGDetail,
            &RowDetailPane::ShowIndex);
    connect(SGDetail, &RowDetailPane::alphaChanged, this, [this] {
        if (SGModel->rowCount() > 0)
            JudgeLoadedRun();
    });
}

void TFIN::SetUpResultTable() {
    if (SGModel != nullptr)
        return;
    SGModel = new ResultTableModel(SG);
    SGControl = new ResultTableControl(SG, SGModel);
    SGControl->SetRowHeight(SG->fontMetrics().height() + 4);
    connect(SGControl, &ResultTableControl::mouseReleased, this,
            [this](Qt::MouseButton button, QPoint at) { SGMouseUp(button, at.x(), at.y()); });
    BuildVerdictRow();
    BuildDetailPane();
    new ResultTableCommands(*this);
}

void TFIN::JudgeLoadedRun() {
    const FlagThresholds thresholds = ThresholdsOf(*this);
    const ResultSet& results = SGModel->Grid().Results();
    std::vector<RowFlags> flags;
    flags.reserve(size_t(results.RowCount()));
    for (int32_t row = 0; row < results.RowCount(); ++row)
        flags.push_back(FlagsOf(results.Row(row), thresholds));
    SGModel->SetRowFlags(std::move(flags), thresholds);
    const double alpha = SGDetail->Alpha();
    SGVerdict->Show(JudgeRun(results, thresholds, alpha), thresholds, alpha);
}

void TFIN::ButtLoadResultClick() {
    if (std::optional<QString> chosen = ChooseFile(*this, OD))
        LoadResultFile(*chosen);
}

// Memory ran out: both pages empty rather than a text without its table or the reverse.
void TFIN::ShowResultFileTooLarge() {
    RE->setBytes({});
    SGModel->Reload([](ResultGrid& grid) { grid = ResultGrid(); });
    SGVerdict->Clear();
    ShowMessage(QString::fromUtf8(ResultFileTooLarge), MessageIcon::Error);
}

void TFIN::LoadResultFile(const QString& path) {
    LoadResultFileAt(QFile::encodeName(path).toStdString());
}

void TFIN::LoadResultFileAt(const std::string& pathBytes) {
    SetUpResultTable();
    const QString path = DisplayText(pathBytes);
    // One copy of the file's bytes serves the text and the table.
    std::shared_ptr<const std::string> bytes;
    try {
        bytes = zentrope::ReadResultBytes(pathBytes);
        if (bytes)
            RE->setSharedBytes(bytes);
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
    PC->setTabText(PC->indexOf(TSresults), caption);
    PC->setTabToolTip(PC->indexOf(TSresults), caption);
    PC->setCurrentWidget(TSresults);
    RE->setTabStopsInPoints(ResultTabStops);
    RE->selectLastCharacter();

    const ResultLoadOptions options = LoadOptionsOf(*this);
    ResultLoadOutcome outcome;
    SGModel->Reload([&](ResultGrid& grid) {
        outcome = zentrope::LoadResultBytes(std::move(bytes), options, grid, {});
    });
    if (!outcome.loaded) { // only when memory ran out
        ShowResultFileTooLarge();
        return;
    }
    SGControl->SetRowHeight(SG->fontMetrics().height() + 4);
    SGControl->SetColumnWidths(ResultColumnWidths(*SGModel, SG->font()));
    JudgeLoadedRun();
    PC->setCurrentWidget(TStable);
    SG->setFocus();
    if (outcome.sort_request)
        SGMouseUp(Qt::LeftButton, SortMarker, *outcome.sort_request);
    if (!outcome.warning.empty())
        ShowMessage(QString::fromStdString(outcome.warning), MessageIcon::Warning);
}

void TFIN::SGMouseUp(Qt::MouseButton Button, int X, int Y) {
    const SortState state{LastSortColumn, SortAscending};
    std::optional<SortDecision> decision;
    if (X == SortMarker) {
        decision = DecideMarkerSort(state, Y);
    } else {
        const GridCell cell = SGControl->CellAt(QPoint(X, Y));
        decision = DecideMouseSort(state, Button == Qt::RightButton, cell.col, cell.row);
    }
    if (!decision)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    SGModel->Sort(*decision);
    LastSortColumn = decision->after.LastSortColumn;
    SortAscending = decision->after.SortAscending;
    QApplication::restoreOverrideCursor();
}
