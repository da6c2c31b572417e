// The line above the result table that gives the run's verdict: how many rows cross the
// General page's thresholds against how many would by chance, whether the battery fails once
// the number of rows is allowed for, the failing rows and the rows without a result. The worst
// row's name, and each failing row's, is a link that selects it; "and N more" opens the whole
// list.
#pragma once

#include "results/verdict/row_flags.h"
#include "results/verdict/run_verdict.h"
#include "results/verdict/verdict_rows.h"

#include <QLabel>

class RunVerdictLine : public QLabel {
    Q_OBJECT
public:
    explicit RunVerdictLine(QWidget* parent = nullptr);

    // `note` follows the verdict, as while a run still fills the table.
    void Show(const zentrope::RunVerdict& verdict, const zentrope::VerdictRows& rows,
              const zentrope::FlagThresholds& thresholds, double alpha,
              const QString& note = QString());
    void Clear();

signals:
    // A row's link was clicked (the worst row's or a failing row's); the row as the result
    // set counts it.
    void rowChosen(int32_t resultRow);
    // "and N more" was clicked.
    void listRequested();

private:
    int32_t worstRow_ = -1;
};
