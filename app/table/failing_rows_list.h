// Every row behind the verdict in one window: each failing row with its KS, AD and SL figures
// and the exact KS p in full, what it crosses and why cells have no result, then every row
// without a result with its reason. A row's name is a link (Tab and Enter reach it) that
// selects it in the table; the whole list copies as text.
#pragma once

#include "results/verdict/row_flags.h"
#include "results/verdict/run_verdict.h"
#include "results/verdict/verdict_rows.h"

#include <QDialog>

class QTextBrowser;

class FailingRowsList : public QDialog {
    Q_OBJECT
public:
    explicit FailingRowsList(QWidget* parent = nullptr);

    // Fills the list; shown or not, it stays as the last verdict left it.
    void Show(const zentrope::RunVerdict& verdict, const zentrope::VerdictRows& rows,
              const zentrope::FlagThresholds& thresholds, double alpha);
    void Clear();
    // The list as the clipboard gets it: the same lines `--verdict` prints.
    QString PlainText() const { return plain_; }

signals:
    void RowChosen(int32_t resultRow);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FitToRows();

    QTextBrowser* text_;
    QString plain_;
};
