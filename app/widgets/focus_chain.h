// Tab order that reads a grid of controls as the eye does: row by row from the top, left to
// right inside a row.
#pragma once

#include <QList>

class QGridLayout;
class QWidget;

// Chains the focusable controls of the grid's cells in reading order; the cells holding one of
// `last` (side panels spanning many rows) are left out of the walk and chained after it, in
// the order given.
void ChainInReadingOrder(QGridLayout* grid, const QList<QWidget*>& last);
