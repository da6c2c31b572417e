// Runs side by side: their result files read and compared on a pool thread, with a progress
// line meanwhile; the comparison beside the differences of their parameter files; its export
// as CSV; and result files from disk to compare along with recorded runs.
#pragma once

#include "results/compare/compare_files.h"

#include <QFutureWatcher>
#include <QStringList>
#include <QWidget>
#include <vector>

class ComparisonModel;
class QFileDialog;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableView;
class DialogSeam;
class GeneralPage;

class CompareView : public QWidget {
    Q_OBJECT
public:
    // Files are read with the General page's load options and flagged by its thresholds.
    CompareView(DialogSeam& dialogs, const GeneralPage& general, QWidget* parent);

    // Replaces what is shown once the files are read and compared; returns at once.
    void compare(std::vector<zentrope::ComparedFile> files);
    // The result files added from disk, as ComparedFile entries labelled by their names.
    std::vector<zentrope::ComparedFile> addedFiles() const;

signals:
    // A result file was added from disk.
    void fileAdded();

private:
    void addFile();
    void clearFiles();
    void exportCsv();
    void showProgress(int read);
    void showOutcome();

    DialogSeam& dialogs_;
    const GeneralPage& general_;
    QStringList added_;
    QLabel* addedList_;
    QLabel* status_;
    QProgressBar* progress_;
    ComparisonModel* model_;
    QTableView* table_;
    QPlainTextEdit* parameters_;
    QPushButton* export_;
    QFileDialog* openDialog_;
    QFileDialog* csvDialog_;
    QFutureWatcher<zentrope::FilesComparison> watcher_;
};
