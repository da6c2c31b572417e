#include "app/table/result_cell_style.h"

#include "results/grid/result_grid.h"

CellLook DecideCellLook(std::string_view text, CellPlace place, int32_t sequenceColumnEnd,
                        const QPalette& palette) {
    CellLook look;
    look.alignment = Qt::AlignRight;
    look.frameLight = palette.color(QPalette::Light);
    look.frameShadow = palette.color(QPalette::Dark);
    if (place.row < zentrope::ResultGrid::FixedRows) {
        look.background = palette.color(QPalette::Light);
        look.foreground = palette.color(QPalette::WindowText);
        look.alignment = Qt::AlignHCenter;
        look.bold = true;
        look.raisedFrame = true;
        look.textMargins = QMargins(1, 1, 1, 1);
        return look;
    }
    if (place.col < zentrope::ResultGrid::FixedColumns) {
        look.background = palette.color(QPalette::Button);
        look.foreground = palette.color(QPalette::WindowText);
        look.raisedFrame = true;
        look.textMargins = QMargins(1, 1, 3, 3);
        return look;
    }
    look.foreground = palette.color(QPalette::Text);
    if (text == zentrope::ErrorCellText) {
        look.foreground = ErrorTextColor;
        look.alignment = Qt::AlignHCenter;
    } else if (place.col > sequenceColumnEnd) {
        look.foreground = SummaryTextColor;
    }
    look.background = palette.color(QPalette::Base);
    if (place.selected) {
        look.background = palette.color(QPalette::Highlight);
        look.foreground = palette.color(QPalette::HighlightedText);
    }
    look.textMargins = QMargins(0, 1, 2, 0);
    return look;
}
