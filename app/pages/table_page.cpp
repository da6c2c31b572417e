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
    : QWidget(parent), SG(new QTableView(this)), sgSplitter_(new QSplitter(Qt::Vertical, this)) {
    setObjectName("TStable");
    SG->setObjectName("SG");
    SetHint(SG, "Right click the first row to sort the values. Drag either the rows or the "
                "columns to move them.");
    sgSplitter_->setObjectName("SGSplitter");
    sgSplitter_->addWidget(SG);
    (new QVBoxLayout(this))->addWidget(sgSplitter_);
    sgModel_ = new ResultTableModel(SG);
    sgControl_ = new ResultTableControl(SG, sgModel_);
    sgControl_->SetRowHeight(SG->fontMetrics().height() + 4);
    connect(sgControl_, &ResultTableControl::MouseReleased, this,
            [this](Qt::MouseButton button, QPoint at) { SGMouseUp(button, at.x(), at.y()); });
    BuildVerdictRow();
    BuildDetailPane(dialogs);
    auto* commands = new ResultTableCommands(SG, sgModel_, dialogs, this);
    commands->SetFiguresCsv([this]() -> ResultTableCommands::FiguresJob {
        return [grid = sgModel_->Grid(), thresholds = judgedWith_, alpha = sgDetail_->Alpha(),
                reasons = reasons_] { return FiguresCsv(grid, thresholds, alpha, reasons); };
    });
    connect(commands, &ResultTableCommands::SortRequested, this,
            [this](int column) { Sort(DecideHeaderSort(sort_, column)); });
}

// Above SG: the run's verdict, the button to its whole list and the switch for the sequence
// columns.
void TablePage::BuildVerdictRow() {
    sgVerdict_ = new RunVerdictLine(this);
    sgFailing_ = new FailingRowsList(this);
    auto* list = new QPushButton(QStringLiteral("Failing rows..."), this);
    list->setObjectName("ButtFailingRows");
    list->setToolTip(QStringLiteral("Every failing row and every row without a result, with "
                                    "their figures in full"));
    auto* sequences = new QCheckBox(QStringLiteral("Sequence columns"), this);
    sequences->setObjectName("cbSequenceColumns");
    sequences->setChecked(true);
    auto* row = new QHBoxLayout;
    row->addWidget(sgVerdict_, 1);
    row->addWidget(list, 0, Qt::AlignTop);
    row->addWidget(sequences, 0, Qt::AlignTop);
    static_cast<QVBoxLayout*>(layout())->insertLayout(0, row);
    connect(sequences, &QCheckBox::toggled, sgControl_,
            &ResultTableControl::SetSequenceColumnsShown);
    const auto openList = [this] {
        sgFailing_->show();
        sgFailing_->raise();
        sgFailing_->activateWindow();
    };
    connect(list, &QPushButton::clicked, this, openList);
    connect(sgVerdict_, &RunVerdictLine::ListRequested, this, openList);
    connect(sgVerdict_, &RunVerdictLine::RowChosen, this, &TablePage::SelectResultRow);
    connect(sgFailing_, &FailingRowsList::RowChosen, this, &TablePage::SelectResultRow);
}

void TablePage::SelectResultRow(int32_t resultRow) {
    const int32_t row = sgModel_->ModelRowOf(resultRow);
    const int col = SG->horizontalHeader()->logicalIndexAt(0);
    if (row < 0)
        return;
    SG->setCurrentIndex(sgModel_->index(row, std::max(col, ResultGrid::FixedColumns)));
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
    const int32_t first = sgModel_->rowCount() > ResultGrid::FixedRows ? ResultGrid::FixedRows : -1;
    const int32_t row = worstRow_ >= 0 ? sgModel_->ModelRowOf(worstRow_) : first;
    const int col = FirstShownColumn();
    if (row > 0 && col >= 0)
        SG->setCurrentIndex(sgModel_->index(row, col));
    SG->verticalScrollBar()->setValue(0);
    SG->horizontalScrollBar()->setValue(0);
    SG->setFocus();
}

// Below SG: the current cell's row in detail. Either part can be collapsed.
void TablePage::BuildDetailPane(DialogSeam& dialogs) {
    sgDetail_ = new RowDetailPane(*sgModel_, dialogs, sgSplitter_);
    sgSplitter_->addWidget(sgDetail_);
    sgSplitter_->setStretchFactor(0, 3);
    sgSplitter_->setStretchFactor(1, 2);
    connect(SG->selectionModel(), &QItemSelectionModel::currentChanged, sgDetail_,
            &RowDetailPane::ShowIndex);
    connect(sgDetail_, &RowDetailPane::AlphaChanged, this, [this] {
        if (sgModel_->rowCount() > 0)
            JudgeLoadedRun(judgedWith_);
    });
}

ResultLoadOutcome TablePage::Load(std::shared_ptr<const std::string> bytes,
                                  const ResultLoadOptions& options) {
    ResultLoadOutcome outcome;
    sgModel_->Reload(
        [&](ResultGrid& grid) { outcome = LoadResultBytes(std::move(bytes), options, grid, {}); });
    if (!outcome.loaded) // only when memory ran out
        return outcome;
    FitLoadedTable(ResultColumnWidths(sgModel_->Grid(), SG->font()));
    reasons_ = ReadNoResultReasons(sgModel_->Grid().FileText());
    return outcome;
}

// A table built off the window's thread comes with its reasons, read there too: the file's
// text may be gigabytes.
void TablePage::Adopt(ResultGrid grid, const std::vector<int>& columnWidths,
                      std::vector<NoResultReason> reasons) {
    sgModel_->Reload([&](ResultGrid& shown) { shown = std::move(grid); });
    FitLoadedTable(columnWidths);
    reasons_ = std::move(reasons);
}

void TablePage::FitLoadedTable(const std::vector<int>& columnWidths) {
    sgControl_->SetRowHeight(SG->fontMetrics().height() + 4);
    sgControl_->SetColumnWidths(columnWidths);
}

QFont TablePage::GridFont() const {
    return SG->font();
}

void TablePage::AppendSections(std::string_view text, const ResultLoadOptions& options,
                               const QString& note) {
    // Once per look: the appended cells refresh the pane, and the run is judged once.
    interimNote_ = note;
    sgDetail_->KeepNote(note);
    const std::vector<int32_t> added =
        sgModel_->AppendSections(text, options.format, options.pval_digits);
    if (added.empty())
        return;
    QFont bold = SG->font();
    bold.setBold(true);
    const TextWidthMeter cells(SG->font());
    const TextWidthMeter headers(bold);
    for (const int32_t col : added)
        sgControl_->SetColumnWidth(
            col,
            sgModel_->Grid().SpacerColumn() == col
                ? SpacerWidth
                : WidestText(*sgModel_, sgModel_->rowCount(), col, cells, headers) + CellPadding);
    JudgeLoadedRun(judgedWith_);
    sgDetail_->ShowIndex(SG->currentIndex());
}

void TablePage::SetInterimNote(const QString& note) {
    interimNote_ = note;
    sgDetail_->SetNote(note);
    if (sgModel_->rowCount() > 0)
        JudgeLoadedRun(judgedWith_);
}

void TablePage::Clear() {
    sgModel_->Reload([](ResultGrid& grid) { grid = ResultGrid(); });
    sgVerdict_->Clear();
    sgFailing_->Clear();
    reasons_.clear();
    worstRow_ = -1;
}

void TablePage::JudgeLoadedRun(const FlagThresholds& thresholds) {
    const ResultSet& results = sgModel_->Grid().Results();
    std::vector<RowFlags> flags;
    flags.reserve(size_t(results.RowCount()));
    for (int32_t row = 0; row < results.RowCount(); ++row)
        flags.push_back(FlagsOf(results.Row(row), thresholds));
    sgModel_->SetRowFlags(std::move(flags), thresholds);
    judgedWith_ = thresholds;
    const double alpha = sgDetail_->Alpha();
    const RunVerdict verdict = JudgeRun(results, thresholds, alpha);
    const VerdictRows rows = VerdictRowsOf(results, thresholds, alpha, reasons_);
    worstRow_ = verdict.worstRow;
    sgModel_->SetRowMarks(RowMarksOf(results, rows, thresholds, alpha, reasons_));
    sgVerdict_->Show(verdict, rows, thresholds, alpha, interimNote_);
    sgFailing_->Show(verdict, rows, thresholds, alpha);
}

void TablePage::NameRun(const QString& run) {
    sgDetail_->SetRunName(run);
}

void TablePage::FocusGrid() {
    SG->setFocus();
}

void TablePage::SGMouseUp(Qt::MouseButton button, int x, int y) {
    std::optional<SortDecision> decision;
    if (x == SortMarker) {
        decision = DecideMarkerSort(sort_, y);
    } else {
        const GridCell cell = sgControl_->CellAt(QPoint(x, y));
        decision = DecideMouseSort(sort_, button == Qt::RightButton, cell.col, cell.row);
    }
    if (decision)
        Sort(*decision);
}

void TablePage::Sort(const SortDecision& decision) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    sgModel_->Sort(decision);
    sort_ = decision.after;
    QApplication::restoreOverrideCursor();
}
