// The result table's column widths as a load fits them: each column as wide as its widest
// text (headers bold), fixed columns a little wider for their frame, the spacer 20 pixels.
// Pure arithmetic over the grid once the font's advances are taken, so a load off the
// window's thread can measure its millions of cells there.
#pragma once

#include "results/result_grid.h"

#include <QFont>
#include <vector>

// Widths of the columns the load made, first to last: all are measured before any is
// applied, so that the header lays its sections out once.
std::vector<int> ResultColumnWidths(const zentrope::ResultGrid& grid, const QFont& font);
