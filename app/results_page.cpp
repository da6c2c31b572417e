// The Results and Table pages: loading a result file into RE and SG, and sorting SG by a right
// click on its header row.
#include "app/table/result_table_control.h"
#include "app/table/result_table_model.h"
#include "app/widgets/text_width_meter.h"
#include "main_window.h"
#include "name_text.h"
#include "result_loader.h"
#include "shared_dialogs.h"
#include "table_sort.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QTabWidget>
#include <QTableView>
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

} // namespace

void TFIN::SetUpResultTable() {
    if (SGModel != nullptr)
        return;
    SGModel = new ResultTableModel(SG);
    SGControl = new ResultTableControl(SG, SGModel);
    SGControl->SetRowHeight(SG->fontMetrics().height() + 4);
    connect(SGControl, &ResultTableControl::mouseReleased, this,
            [this](Qt::MouseButton button, QPoint at) { SGMouseUp(button, at.x(), at.y()); });
}

void TFIN::ButtLoadResultClick() {
    if (std::optional<QString> chosen = ChooseFile(*this, OD))
        LoadResultFile(*chosen);
}

// Memory ran out: both pages empty rather than a text without its table or the reverse.
void TFIN::ShowResultFileTooLarge() {
    RE->setBytes({});
    SGModel->Reload([](ResultGrid& grid) { grid = ResultGrid(); });
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
