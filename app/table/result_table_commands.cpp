#include "app/table/result_table_commands.h"

#include "app/dialog_seam.h"
#include "app/table/result_table_model.h"
#include "app/table/table_text.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QTableView>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <numeric>
#include <set>

namespace {

constexpr int FixedColumns = 3;

std::vector<int> Span(int from, int to) {
    std::vector<int> all(size_t(std::max(0, to - from)));
    std::iota(all.begin(), all.end(), from);
    return all;
}

void ToClipboard(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

} // namespace

ResultTableCommands::ResultTableCommands(QTableView* view, ResultTableModel* model,
                                         DialogSeam& dialogs, QWidget* parent)
    : QObject(parent), view_(view), model_(model), dialogs_(dialogs), menu_(new QMenu(view)),
      csvDialog_(new QFileDialog(parent)) {
    const auto add = [this](const QString& text, const char* name,
                            void (ResultTableCommands::*run)()) {
        QAction* action = menu_->addAction(text, this, run);
        action->setObjectName(name);
    };
    add(QStringLiteral("Copy"), "actCopy", &ResultTableCommands::Copy);
    add(QStringLiteral("Copy with headers"), "actCopyWithHeaders",
        &ResultTableCommands::CopyWithHeaders);
    add(QStringLiteral("Export as CSV..."), "actExportCsv", &ResultTableCommands::ExportCsv);
    add(QStringLiteral("Export figures as CSV..."), "actExportFigures",
        &ResultTableCommands::ExportFigures);
    add(QStringLiteral("Copy p-values"), "actCopyPValues", &ResultTableCommands::CopyPValues);
    menu_->addSeparator();
    add(QStringLiteral("Sort by this column"), "actSortByColumn",
        &ResultTableCommands::SortByCurrentColumn);

    csvDialog_->setObjectName("SDcsv");
    csvDialog_->setAcceptMode(QFileDialog::AcceptSave);
    csvDialog_->setFileMode(QFileDialog::AnyFile);
    csvDialog_->setNameFilter(QStringLiteral("CSV files (*.csv)"));
    csvDialog_->setDefaultSuffix(QStringLiteral("csv"));

    view->installEventFilter(this);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    // The header row sorts on a right click: no menu there.
    view->horizontalHeader()->setContextMenuPolicy(Qt::PreventContextMenu);
    view->verticalHeader()->setContextMenuPolicy(Qt::PreventContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this,
            [this, view](QPoint at) { menu_->popup(view->viewport()->mapToGlobal(at)); });
}

bool ResultTableCommands::eventFilter(QObject* watched, QEvent* event) {
    const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride;
    if (watched != view_ || !key || !static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy))
        return false;
    // The view itself would copy the current cell only.
    if (event->type() == QEvent::KeyPress)
        Copy();
    event->accept();
    return event->type() == QEvent::KeyPress;
}

std::vector<int> ResultTableCommands::ShownColumns() const {
    std::vector<int> cols;
    for (int col = FixedColumns; col < model_->columnCount(); ++col)
        if (!view_->isColumnHidden(col))
            cols.push_back(col);
    return cols;
}

// Selections are ranges; reading them, not every index, keeps Ctrl+A on a large grid quick.
std::vector<int> ResultTableCommands::SelectedRows() const {
    std::set<int> rows;
    for (const QItemSelectionRange& range : view_->selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.insert(row);
    if (rows.empty() && view_->currentIndex().isValid())
        rows.insert(view_->currentIndex().row());
    rows.erase(0); // the header row is hidden; "with headers" adds it
    return {rows.begin(), rows.end()};
}

std::vector<int> ResultTableCommands::SelectedColumns() const {
    std::set<int> cols;
    for (const QItemSelectionRange& range : view_->selectionModel()->selection())
        for (int col = range.left(); col <= range.right(); ++col)
            if (col >= FixedColumns && !view_->isColumnHidden(col))
                cols.insert(col);
    const QModelIndex current = view_->currentIndex();
    if (cols.empty() && current.isValid() && current.column() >= FixedColumns)
        cols.insert(current.column());
    return {cols.begin(), cols.end()};
}

bool ResultTableCommands::WholeGridSelected() const {
    const int rows = model_->rowCount() - 1;
    return rows > 0 && int(SelectedRows().size()) == rows &&
           SelectedColumns().size() == ShownColumns().size();
}

void ResultTableCommands::SortByCurrentColumn() {
    if (view_->currentIndex().isValid())
        emit SortRequested(view_->currentIndex().column());
}

void ResultTableCommands::Copy() {
    if (WholeGridSelected()) {
        CopyWithHeaders();
        return;
    }
    ToClipboard(TabSeparated(*model_, SelectedRows(), SelectedColumns()));
}

void ResultTableCommands::CopyWithHeaders() {
    std::vector<int> rows = SelectedRows();
    if (rows.empty())
        return;
    rows.insert(rows.begin(), 0);
    std::vector<int> cols = Span(0, FixedColumns);
    const std::vector<int> selected = SelectedColumns();
    cols.insert(cols.end(), selected.begin(), selected.end());
    ToClipboard(TabSeparated(*model_, rows, cols));
}

void ResultTableCommands::CopyPValues() {
    const QModelIndex current = view_->currentIndex();
    if (!current.isValid())
        return;
    const std::vector<int> cols = Span(FixedColumns, model_->SequenceColumnEnd());
    QString text;
    for (int col : cols)
        text += TabSeparated(*model_, {current.row()}, {col});
    ToClipboard(text);
}

void ResultTableCommands::ExportCsv() {
    if (const std::optional<QString> path = AskCsvPath())
        WriteCsv(*path, CsvOfTable(*model_));
}

// Every row's exact KS p takes seconds on a large run: worked out off the window's thread,
// from a copy of the table, and written when done.
void ResultTableCommands::ExportFigures() {
    if (!figuresCsv_ || figuresRunning_)
        return;
    const std::optional<QString> path = AskCsvPath();
    if (!path)
        return;
    figuresRunning_ = true;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    auto* watcher = new QFutureWatcher<std::string>(this);
    connect(watcher, &QFutureWatcher<std::string>::finished, this, [this, watcher, path] {
        QApplication::restoreOverrideCursor();
        figuresRunning_ = false;
        WriteCsv(*path, watcher->result());
        watcher->deleteLater();
        emit FiguresExported();
    });
    watcher->setFuture(QtConcurrent::run(figuresCsv_()));
}

std::optional<QString> ResultTableCommands::AskCsvPath() {
    if (model_->rowCount() == 0)
        return std::nullopt;
    return dialogs_.RunFileDialog(*csvDialog_);
}

void ResultTableCommands::WriteCsv(const QString& path, const std::string& csv) {
    QFile file(path);
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                         file.write(csv.data(), qint64(csv.size())) == qint64(csv.size()) &&
                         file.flush();
    if (!written)
        dialogs_.ShowMessage(QStringLiteral("Cannot write file %1").arg(path), MessageIcon::Error);
}
