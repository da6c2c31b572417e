// The comparison table for a view: rows worst first as compared; rows that only some runs
// hold are greyed and say so, and the count of runs flagging a row is red when not 0.
#pragma once

#include "results/compare/comparison_table.h"

#include <QAbstractTableModel>

class ComparisonModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void show(zentrope::ComparisonTable table);
    const zentrope::ComparisonTable& table() const { return table_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    zentrope::ComparisonTable table_;
};
