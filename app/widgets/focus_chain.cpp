#include "app/widgets/focus_chain.h"

#include <QGridLayout>
#include <QWidget>
#include <algorithm>
#include <tuple>
#include <vector>

namespace {

bool TakesTab(const QWidget* widget) {
    return (widget->focusPolicy() & Qt::TabFocus) != 0;
}

// The widget and its focusable descendants, in the order they were made.
void CollectWidget(QWidget* widget, QList<QWidget*>& chain) {
    if (TakesTab(widget))
        chain << widget;
    for (QWidget* child : widget->findChildren<QWidget*>())
        if (TakesTab(child))
            chain << child;
}

void CollectItem(QLayoutItem* item, QList<QWidget*>& chain) {
    if (QWidget* widget = item->widget())
        return CollectWidget(widget, chain);
    if (QLayout* layout = item->layout())
        for (int i = 0; i < layout->count(); ++i)
            CollectItem(layout->itemAt(i), chain);
}

} // namespace

void ChainInReadingOrder(QGridLayout* grid, const QList<QWidget*>& last) {
    std::vector<std::tuple<int, int, QLayoutItem*>> cells;
    for (int i = 0; i < grid->count(); ++i) {
        QLayoutItem* item = grid->itemAt(i);
        if (item->widget() && last.contains(item->widget()))
            continue;
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        cells.emplace_back(row, column, item);
    }
    std::stable_sort(cells.begin(), cells.end(), [](const auto& a, const auto& b) {
        return std::tie(std::get<0>(a), std::get<1>(a)) < std::tie(std::get<0>(b), std::get<1>(b));
    });
    QList<QWidget*> chain;
    for (const auto& cell : cells)
        CollectItem(std::get<2>(cell), chain);
    for (QWidget* widget : last)
        CollectWidget(widget, chain);
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}
