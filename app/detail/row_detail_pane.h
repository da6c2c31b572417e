// Beside the result table: the p-values of the row holding the current cell, as an empirical
// distribution against the uniform one and as a ten-bin histogram, with the row's figures.
// Each chart can be saved as PNG or SVG. The level alpha is this pane's setting; the window
// judges the run at the same level.
#pragma once

#include "app/detail/detail_figures.h"
#include "results/verdict/row_detail.h"

#include <QPersistentModelIndex>
#include <QWidget>

class DialogSeam;
class EdfChart;
class HistogramChart;
class QChartView;
class QDoubleSpinBox;
class QFileDialog;
class QLabel;
class ResultTableModel;

class RowDetailPane : public QWidget {
    Q_OBJECT
public:
    RowDetailPane(ResultTableModel& model, DialogSeam& dialogs, QWidget* parent = nullptr);

    double Alpha() const;
    // The loaded run as a chart's proposed file name tells it (ChartRunName).
    void SetRunName(const QString& run) { runName_ = run; }
    // Shows the row of `index`; the header row and indices outside the results leave the
    // pane as it is.
    void ShowIndex(const QModelIndex& index);
    // A note before the row's name, as while a run still fills the table; empty for none.
    void SetNote(const QString& note);
    // The same, shown with the refresh that the cells about to change bring.
    void KeepNote(const QString& note) { note_ = note; }

signals:
    void AlphaChanged(double alpha);

private:
    // `chart` names the chart in its proposed file name.
    QWidget* ChartColumn(QChartView* view, const char* buttonName, const QString& chart);
    void SaveChart(QChartView* view, const QString& chart);
    void Refresh();
    void ShowNothing();

    ResultTableModel& model_;
    DialogSeam& dialogs_;
    QPersistentModelIndex shown_;
    QString note_;
    zentrope::RunQValues qValues_;
    QLabel* rowLabel_;
    QDoubleSpinBox* alpha_;
    EdfChart* edf_;
    HistogramChart* histogram_;
    QLabel* figures_;
    QFileDialog* saveDialog_;
    QString runName_;
};
