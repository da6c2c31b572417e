// How one cell of the result table looks: the decision behind SGDrawCell, apart from the
// painting so that it can be checked cell by cell.
#pragma once

#include <QColor>
#include <QMargins>
#include <QPalette>
#include <cstdint>
#include <string_view>

struct CellLook {
    QColor background;
    QColor foreground;
    Qt::Alignment alignment; // horizontal; the text starts at the top of the cell
    bool bold = false;
    bool raisedFrame = false;
    QColor frameLight;    // top and left edges of the raised frame
    QColor frameShadow;   // bottom and right edges
    QMargins textMargins; // taken off the cell's rectangle before the text is drawn
};

struct CellPlace {
    int32_t col = 0;
    int32_t row = 0;
    bool selected = false;
};

// Row 0 and columns 0 to 2 are the fixed cells; the columns past sequenceColumnEnd hold the
// KS, AD and SL figures.
CellLook DecideCellLook(std::string_view text, CellPlace place, int32_t sequenceColumnEnd,
                        const QPalette& palette);

inline const QColor ErrorTextColor{255, 0, 0};
inline const QColor SummaryTextColor{0, 0, 255};
