// The Runs page: the recorded runs, newest first, sortable and filtered by text; the chosen
// run's record; and what can be done with it.
#pragma once

#include "records/input_changes.h"
#include "records/run_store.h"

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
class TFIN;

class RunsPage : public QWidget {
public:
    explicit RunsPage(TFIN& window);

    // Reads the records again, keeping the filter.
    void refresh();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::optional<zentrope::RunRecord> chosenRun() const;
    // The selected runs, in the list's order.
    QList<zentrope::RunRecord> selectedRuns() const;
    void showChosen();
    void openResult();
    void loadParameters();
    void openLog();
    void deleteRun();
    void compareRuns();
    // Checks the run's input files on a pool thread, then runs it, after asking when some
    // have changed.
    void runAgain();
    void runCheckedAgain();
    zentrope::RunStore* store();

    TFIN& window_;
    std::unique_ptr<zentrope::RunStore> store_;
    QLineEdit* filter_;
    QStandardItemModel* model_;
    QTableView* list_;
    QPlainTextEdit* record_;
    CompareView* compare_;
    QTabWidget* detail_;
    QLabel* status_;
    QFutureWatcher<zentrope::InputChanges> inputCheck_;
    QString againParameters_; // the kept parameter file of the run being checked
};
