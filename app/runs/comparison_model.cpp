#include "app/runs/comparison_model.h"

#include <QBrush>
#include <QFont>

using namespace zentrope;

namespace {
constexpr int FlaggedColumn = 2;
}

void ComparisonModel::Show(ComparisonTable table) {
    beginResetModel();
    table_ = std::move(table);
    endResetModel();
}

int ComparisonModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(table_.rows.size());
}

int ComparisonModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(table_.header.size());
}

QVariant ComparisonModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const auto row = size_t(index.row());
    const bool partial = !table_.inEveryRun[row];
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(table_.rows[row][size_t(index.column())]);
    case Qt::ForegroundRole:
        if (index.column() == FlaggedColumn && table_.flagged[row] > 0)
            return QBrush(Qt::red);
        return partial ? QVariant(QBrush(Qt::gray)) : QVariant();
    case Qt::FontRole:
        if (partial) {
            QFont font;
            font.setItalic(true);
            return font;
        }
        return {};
    case Qt::ToolTipRole:
        return partial ? QStringLiteral("Not every compared run holds this row") : QVariant();
    default:
        return {};
    }
}

QVariant ComparisonModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole ||
        section >= int(table_.header.size()))
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromStdString(table_.header[size_t(section)]);
}
