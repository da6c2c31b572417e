// Taking the result table's figures elsewhere: Ctrl+C copies the selected cells as
// tab-separated text (the whole grid after Ctrl+A), and the cells' context menu (right click
// on a cell, the Menu key or Shift+F10) offers Copy, Copy with headers, Export as CSV, Export
// figures as CSV (every number in full, with the verdict's marks) and Copy p-values of the
// current row, and Sort by this column, which sorts as a right click on the
// current column's header would, for those who work from the keyboard. Right clicks on the
// header row keep sorting.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class DialogSeam;
class QFileDialog;
class QMenu;
class QTableView;
class QWidget;
class ResultTableModel;

class ResultTableCommands : public QObject {
    Q_OBJECT
public:
    // The CSV dialog is parent's; boxes and dialogs go through the seam.
    ResultTableCommands(QTableView* view, ResultTableModel* model, DialogSeam& dialogs,
                        QWidget* parent);

    void Copy();
    void CopyWithHeaders();
    void ExportCsv();
    void ExportFigures();
    // What Export figures as CSV writes, known to the page that judges the run: called on the
    // window's thread, it returns the work that makes the text on another thread, holding
    // copies of all it needs.
    using FiguresJob = std::function<std::string()>;
    void SetFiguresCsv(std::function<FiguresJob()> figures) { figuresCsv_ = std::move(figures); }
    void CopyPValues();
    void SortByCurrentColumn();
    // The menu the cells offer; its actions are named for tests.
    QMenu* Menu() const { return menu_; }

signals:
    // Sort by this column was chosen with the current cell in column (a model column).
    void SortRequested(int column);
    // Export figures as CSV has written its file (or reported that it could not).
    void FiguresExported();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool WholeGridSelected() const;
    std::vector<int> SelectedRows() const;
    std::vector<int> SelectedColumns() const;
    std::vector<int> ShownColumns() const;
    std::optional<QString> AskCsvPath();
    void WriteCsv(const QString& path, const std::string& csv);

    QTableView* view_;
    ResultTableModel* model_;
    DialogSeam& dialogs_;
    QMenu* menu_;
    QFileDialog* csvDialog_;
    std::function<FiguresJob()> figuresCsv_;
    bool figuresRunning_ = false;
};
