#include "app/pages/table_page.h"

#include "app/detail/row_detail_pane.h"

#include "app/table/failing_rows_list.h"
#include "app/table/result_column_widths.h"
#include "app/table/result_table_commands.h"
#include "app/table/result_table_control.h"
#include "app/table/result_table_model.h"
#include "app/table/row_marks.h"
#include "app/table/run_verdict_line.h"
#include "app/widgets/control_factory.h"
#include "results/verdict/figures_csv.h"
#include "results/verdict/run_verdict.h"
#include "results/verdict/verdict_rows.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <vector>

using namespace zentrope;

TablePage::TablePage(DialogSeam& dialogs, QWidget* parent)
    : QWidget(parent), SG(new QTableView(this)), SGSplitter(new QSplitter(Qt::Vertical, this)) {
    setObjectName("TStable");
    SG->setObjectName("SG");
    SetHint(SG, "Right click the first row to sort the values. Drag either the rows or the "
                "columns to move them.");
    SGSplitter->setObjectName("SGSplitter");
    SGSplitter->addWidget(SG);
    (new QVBoxLayout(this))->addWidget(SGSplitter);
    SGModel = new ResultTableModel(SG);
    SGControl = new ResultTableControl(SG, SGModel);
    SGControl->SetRowHeight(SG->fontMetrics().height() + 4);
    connect(SGControl, &ResultTableControl::mouseReleased, this,
            [this](Qt::MouseButton button, QPoint at) { SGMouseUp(button, at.x(), at.y()); });
    BuildVerdictRow();
    BuildDetailPane(dialogs);
    auto* commands = new ResultTableCommands(SG, SGModel, dialogs, this);
    commands->SetFiguresCsv([this]() -> ResultTableCommands::FiguresJob {
        return [grid = SGModel->Grid(), thresholds = judgedWith_, alpha = SGDetail->Alpha(),
                reasons = reasons_] { return FiguresCsv(grid, thresholds, alpha, reasons); };
    });
    connect(commands, &ResultTableCommands::sortRequested, this,
            [this](int column) { Sort(DecideHeaderSort(sort_, column)); });
}

// Above SG: the run's verdict, the button to its whole list and the switch for the sequence
// columns.
void TablePage::BuildVerdictRow() {
    SGVerdict = new RunVerdictLine(this);
    SGFailing = new FailingRowsList(this);
    auto* list = new QPushButton(QStringLiteral("Failing rows..."), this);
    list->setObjectName("ButtFailingRows");
    list->setToolTip(QStringLiteral("Every failing row and every row without a result, with "
                                    "their figures in full"));
    auto* sequences = new QCheckBox(QStringLiteral("Sequence columns"), this);
    sequences->setObjectName("cbSequenceColumns");
    sequences->setChecked(true);
    auto* row = new QHBoxLayout;
    row->addWidget(SGVerdict, 1);
    row->addWidget(list, 0, Qt::AlignTop);
    row->addWidget(sequences, 0, Qt::AlignTop);
    static_cast<QVBoxLayout*>(layout())->insertLayout(0, row);
    connect(sequences, &QCheckBox::toggled, SGControl,
            &ResultTableControl::SetSequenceColumnsShown);
    const auto openList = [this] {
        SGFailing->show();
        SGFailing->raise();
        SGFailing->activateWindow();
    };
    connect(list, &QPushButton::clicked, this, openList);
    connect(SGVerdict, &RunVerdictLine::listRequested, this, openList);
    connect(SGVerdict, &RunVerdictLine::rowChosen, this, &TablePage::SelectResultRow);
    connect(SGFailing, &FailingRowsList::rowChosen, this, &TablePage::SelectResultRow);
}

void TablePage::SelectResultRow(int32_t resultRow) {
    const int32_t row = SGModel->ModelRowOf(resultRow);
    const int col = SG->horizontalHeader()->logicalIndexAt(0);
    if (row < 0)
        return;
    SG->setCurrentIndex(SGModel->index(row, std::max(col, ResultGrid::FixedColumns)));
    SG->setFocus();
}

// The leftmost column that is shown beside the fixed ones.
int TablePage::FirstShownColumn() const {
    const QHeaderView* header = SG->horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int col = header->logicalIndex(visual);
        if (col >= ResultGrid::FixedColumns && !SG->isColumnHidden(col))
            return col;
    }
    return -1;
}

// The worst row is made current where the sort put it, and the view then goes back to the
// top-left, so that a load always opens on the same place.
void TablePage::LandOnVerdict() {
    const int32_t first = SGModel->rowCount() > ResultGrid::FixedRows ? ResultGrid::FixedRows : -1;
    const int32_t row = worstRow_ >= 0 ? SGModel->ModelRowOf(worstRow_) : first;
    const int col = FirstShownColumn();
    if (row > 0 && col >= 0)
        SG->setCurrentIndex(SGModel->index(row, col));
    SG->verticalScrollBar()->setValue(0);
    SG->horizontalScrollBar()->setValue(0);
    SG->setFocus();
}

// Below SG: the current cell's row in detail. Either part can be collapsed.
void TablePage::BuildDetailPane(DialogSeam& dialogs) {
    SGDetail = new RowDetailPane(*SGModel, dialogs, SGSplitter);
    SGSplitter->addWidget(SGDetail);
    SGSplitter->setStretchFactor(0, 3);
    SGSplitter->setStretchFactor(1, 2);
    connect(SG->selectionModel(), &QItemSelectionModel::currentChanged, SGDetail,
            &RowDetailPane::ShowIndex);
    connect(SGDetail, &RowDetailPane::alphaChanged, this, [this] {
        if (SGModel->rowCount() > 0)
            JudgeLoadedRun(judgedWith_);
    });
}

ResultLoadOutcome TablePage::Load(std::shared_ptr<const std::string> bytes,
                                  const ResultLoadOptions& options) {
    ResultLoadOutcome outcome;
    SGModel->Reload(
        [&](ResultGrid& grid) { outcome = LoadResultBytes(std::move(bytes), options, grid, {}); });
    if (!outcome.loaded) // only when memory ran out
        return outcome;
    FitLoadedTable(ResultColumnWidths(SGModel->Grid(), SG->font()));
    return outcome;
}

void TablePage::Adopt(ResultGrid grid, const std::vector<int>& columnWidths) {
    SGModel->Reload([&](ResultGrid& shown) { shown = std::move(grid); });
    FitLoadedTable(columnWidths);
}

void TablePage::FitLoadedTable(const std::vector<int>& columnWidths) {
    SGControl->SetRowHeight(SG->fontMetrics().height() + 4);
    SGControl->SetColumnWidths(columnWidths);
    reasons_ = ReadNoResultReasons(SGModel->Grid().FileText());
}

QFont TablePage::GridFont() const {
    return SG->font();
}

void TablePage::AppendSections(std::string_view text, const ResultLoadOptions& options) {
    const std::vector<int32_t> added =
        SGModel->AppendSections(text, options.format, options.pval_digits);
    if (added.empty())
        return;
    QFont bold = SG->font();
    bold.setBold(true);
    const TextWidthMeter cells(SG->font());
    const TextWidthMeter headers(bold);
    for (const int32_t col : added)
        SGControl->SetColumnWidth(
            col,
            SGModel->Grid().SpacerColumn() == col
                ? SpacerWidth
                : WidestText(*SGModel, SGModel->rowCount(), col, cells, headers) + CellPadding);
    JudgeLoadedRun(judgedWith_);
    SGDetail->ShowIndex(SG->currentIndex());
}

void TablePage::SetInterimNote(const QString& note) {
    interimNote_ = note;
    SGDetail->SetNote(note);
    if (SGModel->rowCount() > 0)
        JudgeLoadedRun(judgedWith_);
}

void TablePage::Clear() {
    SGModel->Reload([](ResultGrid& grid) { grid = ResultGrid(); });
    SGVerdict->Clear();
    SGFailing->Clear();
    reasons_.clear();
    worstRow_ = -1;
}

void TablePage::JudgeLoadedRun(const FlagThresholds& thresholds) {
    const ResultSet& results = SGModel->Grid().Results();
    std::vector<RowFlags> flags;
    flags.reserve(size_t(results.RowCount()));
    for (int32_t row = 0; row < results.RowCount(); ++row)
        flags.push_back(FlagsOf(results.Row(row), thresholds));
    SGModel->SetRowFlags(std::move(flags), thresholds);
    judgedWith_ = thresholds;
    const double alpha = SGDetail->Alpha();
    const RunVerdict verdict = JudgeRun(results, thresholds, alpha);
    const VerdictRows rows = VerdictRowsOf(results, thresholds, alpha, reasons_);
    worstRow_ = verdict.worst_row;
    SGModel->SetRowMarks(RowMarksOf(results, rows, thresholds, alpha, reasons_));
    SGVerdict->Show(verdict, rows, thresholds, alpha, interimNote_);
    SGFailing->Show(verdict, rows, thresholds, alpha);
}

void TablePage::NameRun(const QString& run) {
    SGDetail->SetRunName(run);
}

void TablePage::FocusGrid() {
    SG->setFocus();
}

void TablePage::SGMouseUp(Qt::MouseButton Button, int X, int Y) {
    std::optional<SortDecision> decision;
    if (X == SortMarker) {
        decision = DecideMarkerSort(sort_, Y);
    } else {
        const GridCell cell = SGControl->CellAt(QPoint(X, Y));
        decision = DecideMouseSort(sort_, Button == Qt::RightButton, cell.col, cell.row);
    }
    if (decision)
        Sort(*decision);
}

void TablePage::Sort(const SortDecision& decision) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    SGModel->Sort(decision);
    sort_ = decision.after;
    QApplication::restoreOverrideCursor();
}
