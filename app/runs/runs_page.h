// The Runs page: the recorded runs, newest first, with what each tested and how it came out,
// sortable and filtered by text; the chosen
// run's record; and what can be done with it.
#pragma once

#include "records/input_changes.h"
#include "records/run_store.h"
#include "results/compare/compare_files.h"

#include <QFutureWatcher>
#include <QWidget>
#include <memory>
#include <optional>

class CompareView;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QStandardItemModel;
class QTabWidget;
class QTableView;
class DialogSeam;
class GeneralPage;

class RunsPage : public QWidget {
    Q_OBJECT
public:
    // Compares with the General page's load options and thresholds.
    // Checks and tidies the records off the window's thread at once (start_tidy.h), telling
    // their troubles through the dialogs and what was done in the status line.
    RunsPage(DialogSeam& dialogs, const GeneralPage& general);
    ~RunsPage() override;

    // Reads the records again, keeping the filter.
    void refresh();

signals:
    // What the window does with a chosen run's files.
    // `runName` tells the run in the names of saved charts.
    void resultChosen(const QString& resultFile, const QString& runName);
    void parametersChosen(const QString& parameterFile);
    // The run's input files are checked (and the user agreed where they changed).
    void runAgainChosen(const QString& parameterFile);

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::optional<zentrope::RunRecord> chosenRun() const;
    // The selected runs, in the list's order.
    QList<zentrope::RunRecord> selectedRuns() const;
    void showChosen();
    // Shows the verdict the run's record has been given since the list was read.
    void showVerdict(qint64 id);
    void openResult();
    void loadParameters();
    void openLog();
    void deleteRun();
    // The selected runs, then the files added from disk.
    std::vector<zentrope::ComparedFile> comparedFiles() const;
    void compareRuns();
    void compareAdded();
    // Checks the run's input files on a pool thread, then runs it, after asking when some
    // have changed.
    void runAgain();
    void runCheckedAgain();
    zentrope::RunStore* store();

    DialogSeam& dialogs_;
    std::unique_ptr<zentrope::RunStore> store_;
    QLineEdit* filter_;
    QStandardItemModel* model_;
    QTableView* list_;
    QPlainTextEdit* record_;
    QPlainTextEdit* log_; // the log of a run whose log the desktop cannot open
    CompareView* compare_;
    QTabWidget* detail_;
    QLabel* status_;
    QFutureWatcher<zentrope::InputChanges> inputCheck_;
    QFutureWatcher<QString> tidy_;
    QString againParameters_; // the kept parameter file of the run being checked
};
