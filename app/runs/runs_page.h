// The Runs page: the recorded runs, newest first, sortable and filtered by text; the chosen
// run's record; and what can be done with it.
#pragma once

#include "records/run_store.h"

#include <QWidget>
#include <memory>
#include <optional>

class QLineEdit;
class QPlainTextEdit;
class QStandardItemModel;
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
    void showChosen();
    void openResult();
    void loadParameters();
    void openLog();
    void deleteRun();
    zentrope::RunStore* store();

    TFIN& window_;
    std::unique_ptr<zentrope::RunStore> store_;
    QLineEdit* filter_;
    QStandardItemModel* model_;
    QTableView* list_;
    QPlainTextEdit* record_;
};
