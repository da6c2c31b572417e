// The result table as a Qt model over the compact grid: one text per cell in the grid's arena,
// no item object per cell. Model row 0 is the header row, so index(r, c) is cell (c, r).
#pragma once

#include "results/grid/result_grid.h"
#include "results/grid/result_loader.h"
#include "results/verdict/row_flags.h"
#include "results/grid/table_sort.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

Q_DECLARE_METATYPE(zentrope::ResultRow)

// What a row holding `count` values that are no p-values shows in its tooltips and pane.
QString InvalidValuesText(int32_t count);

class ResultTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Beside the text, the numbers the load read, for the cells below the header row.
    enum Role {
        // double: the number the cell sorts by; -1 for "- error -", 0 for an empty cell.
        NumberRole = Qt::UserRole + 1,
        // zentrope::ResultRow: the whole row as numbers, whichever column is asked. Its views
        // are valid until the next load.
        RowRole,
        // int, a RowMarkKind, from headerData of the vertical header: the mark beside a row.
        RowMarkRole,
    };
    enum RowMarkKind : int {
        NoMark = 0,
        FailingMark,  // crosses a threshold or fails after Holm
        NoResultMark, // no figures: the verdict leaves it out
    };
    // Beside a result row, outside its cells: the mark, the tooltip that says why, and the
    // tester's reasons for its cells without a result (empty when the file gives none).
    struct RowMark {
        RowMarkKind kind = NoMark;
        QString tip;
        QString reasons;
    };

    explicit ResultTableModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The text of cell (col, row) as shown, bytes as the file has them.
    std::string_view Cell(int32_t col, int32_t row) const;
    int32_t SequenceColumnEnd() const { return grid_.SequenceColumnEnd(); }
    const zentrope::ResultGrid& Grid() const { return grid_; }

    // The thresholds each result row crosses, by result row; the "Test name" cell's tooltip
    // names them. A load clears them.
    void SetRowFlags(std::vector<zentrope::RowFlags> flags,
                     const zentrope::FlagThresholds& thresholds);
    // What a result row's figures cross, one threshold a line; empty for an unflagged row.
    QStringList CrossedThresholds(int32_t resultRow) const;
    // By result row, as the verdict judged them; a load clears them.
    void SetRowMarks(std::vector<RowMark> marks);
    RowMark MarkOf(int32_t resultRow) const;
    // The model row that shows result row `resultRow`, or -1.
    int32_t ModelRowOf(int32_t resultRow) const;

    // Lets a load rewrite the grid; views see a new table afterwards, in the columns' own order.
    void Reload(const std::function<void(zentrope::ResultGrid&)>& load);
    // Adds the sections of `text` (finished by a running tester since the last look) as
    // sequence columns, and the summary columns once there are two sequences, by inserting
    // columns: views keep their scroll position, selection and column order. The counts and
    // figures follow; rows sorted by a column are sorted again, the selection moving with its
    // rows. The columns added, counted as shown.
    std::vector<int32_t> AppendSections(std::string_view text, zentrope::ResultLineFormat format,
                                        int32_t digits);
    // Sorts the rows below the header; the column is counted as shown.
    void Sort(const zentrope::SortDecision& decision);
    // The column the rows stand sorted by, counted as shown, and its direction: it follows
    // the column when columns are dragged, and ends with a load or a dragged row.
    struct SortMark {
        int32_t column = 0;
        bool ascending = true;
    };
    std::optional<SortMark> SortedColumn() const;
    // Dragging moves the cells, as the grid's own row and column moves do: colours and
    // sorting go by the place a column is shown at.
    void MoveRow(int32_t from, int32_t to);
    void MoveColumn(int32_t from, int32_t to);

private:
    int32_t GridColumn(int32_t col) const;
    QString ToolTip(int32_t col, int32_t resultRow) const;
    void AllCellsChanged();
    // Inserts grid columns [first, first + count) through `insert`, keeping the shown order of
    // the others; the shown places of the new ones.
    std::vector<int32_t> InsertGridColumns(int32_t first, int32_t count,
                                           const std::function<void()>& insert);
    // Sorts again by the column the rows stand sorted by, persistent indices following rows.
    void SortAgain();

    zentrope::ResultGrid grid_;
    std::vector<zentrope::RowFlags> rowFlags_;
    std::vector<RowMark> rowMarks_;
    zentrope::FlagThresholds thresholds_;
    std::vector<int32_t> columnOrder_; // shown column -> grid column, once a column was moved
    std::optional<SortMark> sorted_;   // its column counted in the grid, not as shown
};
