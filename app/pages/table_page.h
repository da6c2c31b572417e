// The Table page: the result table SG under the run's verdict, above the pane that details the
// current cell's row. It owns the grid's model, its drawing and its commands, sorts by a right
// click on the header row or at a load's request, and keeps the last sort across loads. The
// pane's level alpha is the verdict's: changing it judges the run again.
#pragma once

#include "app/dialog_seam.h"
#include "results/grid/no_result_reasons.h"
#include "results/grid/result_loader.h"
#include "results/grid/table_sort.h"
#include "results/verdict/row_flags.h"

#include <QWidget>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class FailingRowsList;
class QSplitter;
class QTableView;
class RowDetailPane;
class ResultTableControl;
class ResultTableModel;
class RunVerdictLine;

class TablePage : public QWidget {
    Q_OBJECT
public:
    explicit TablePage(DialogSeam& dialogs, QWidget* parent = nullptr);

    // Fills SG from a result file's bytes and fits its rows and columns; the outcome says
    // whether memory sufficed, which sort the load asks for and what to warn of.
    zentrope::ResultLoadOutcome Load(std::shared_ptr<const std::string> bytes,
                                     const zentrope::ResultLoadOptions& options);
    // Shows a table a load built elsewhere (from Model().Grid().WithoutBody()), its columns
    // fitted there in GridFont() (ResultColumnWidths).
    void Adopt(zentrope::ResultGrid grid, const std::vector<int>& columnWidths,
               std::vector<zentrope::NoResultReason> reasons);
    QFont GridFont() const;
    // Adds the sections a running tester has finished since the last look as columns, without
    // resetting the user's view (ResultTableModel::AppendSections), fits the new columns and
    // judges the run again, the verdict line and the pane with `note` (as SetInterimNote).
    void AppendSections(std::string_view text, const zentrope::ResultLoadOptions& options,
                        const QString& note);
    // What the verdict line and the detail pane add while a run fills the table ("interim: k
    // of N sequences"); empty once the table holds a whole result.
    void SetInterimNote(const QString& note);
    // No rows and no verdict.
    void Clear();
    // Gives the verdict line the loaded run's verdict and the table its rows' flags.
    void JudgeLoadedRun(const zentrope::FlagThresholds& thresholds);
    void FocusGrid();
    // Names the loaded run in the proposed names of saved charts.
    void NameRun(const QString& run);
    // Once a load has shown and sorted the table: scrolled to the top-left, the verdict's
    // worst row current (so the pane describes it), SG focused.
    void LandOnVerdict();
    // The list behind "and N more": every failing row and every row without a result.
    FailingRowsList& FailingList() const { return *sgFailing_; }

    // A mouse release on SG at (X, Y) in SG's coordinates, or a load's sort request:
    // X = zentrope::SortMarker, Y = the column, negated for a descending sort.
    void SGMouseUp(Qt::MouseButton button, int x, int y);

    ResultTableModel& Model() const { return *sgModel_; }
    ResultTableControl& GridControl() const { return *sgControl_; }
    const zentrope::SortState& Sorting() const { return sort_; }

private:
    // Row height, column widths and the file's reasons for rows without a result.
    void FitLoadedTable(const std::vector<int>& columnWidths);
    void Sort(const zentrope::SortDecision& decision);
    void BuildVerdictRow();
    void BuildDetailPane(DialogSeam& dialogs);
    void SelectResultRow(int32_t resultRow);
    int FirstShownColumn() const;

    QTableView* SG;
    ResultTableModel* sgModel_;
    ResultTableControl* sgControl_;
    RunVerdictLine* sgVerdict_ = nullptr;
    QSplitter* sgSplitter_;
    RowDetailPane* sgDetail_ = nullptr;
    FailingRowsList* sgFailing_ = nullptr;
    std::vector<zentrope::NoResultReason> reasons_; // the loaded file's
    int32_t worstRow_ = -1;                         // the last verdict's, as a result row
    zentrope::FlagThresholds judgedWith_;           // the last verdict's thresholds
    zentrope::SortState sort_;
    QString interimNote_;
};
