// How the result table's cells are drawn: headers, fixed columns, errors, summaries, the
// spacer and selected cells.
#include "app/table/result_cell_style.h"
#include "tests/app/gui_test_main.h"

namespace {

// Sequence columns 3 and 4, spacer 5, KS 6, AD 7, SL 8.
constexpr int32_t SequenceEnd = 5;

CellLook Look(std::string_view text, int32_t col, int32_t row, bool selected = false) {
    return DecideCellLook(text, {col, row, selected}, SequenceEnd, QPalette());
}

QColor Role(QPalette::ColorRole role) {
    return QPalette().color(role);
}

} // namespace

class ResultCellStyleTest : public QObject {
    Q_OBJECT

private slots:
    void HeadersAreBoldCentredAndRaised() {
        for (int32_t col : {0, 1, 3, 5, 6}) {
            const CellLook look = Look("KS", col, 0, true);
            QCOMPARE(look.alignment, Qt::AlignHCenter);
            QVERIFY(look.bold);
            QVERIFY(look.raisedFrame);
            QCOMPARE(look.background, Role(QPalette::Light));
            QCOMPARE(look.foreground, Role(QPalette::WindowText)); // never selected
        }
    }

    void FixedColumnsAreRightAlignedOnButtonFace() {
        for (int32_t col : {0, 1, 2}) {
            const CellLook look = Look("12", col, 4, true);
            QCOMPARE(look.alignment, Qt::AlignRight);
            QVERIFY(!look.bold);
            QVERIFY(look.raisedFrame);
            QCOMPARE(look.background, Role(QPalette::Button));
            QCOMPARE(look.foreground, Role(QPalette::WindowText));
            QCOMPARE(look.textMargins, QMargins(1, 1, 3, 3));
        }
        // Even an error text in a fixed column keeps the fixed look.
        QCOMPARE(Look("- error -", 2, 1).foreground, Role(QPalette::WindowText));
    }

    void ErrorsAreRedAndCentredInSequenceAndSummaryColumns() {
        for (int32_t col : {3, 4, 6, 8}) {
            const CellLook look = Look("- error -", col, 2);
            QCOMPARE(look.foreground, QColor(255, 0, 0));
            QCOMPARE(look.alignment, Qt::AlignHCenter);
            QCOMPARE(look.background, Role(QPalette::Base));
        }
        // Only the exact text: a p-value of -1.5 or a padded text is an ordinary cell.
        QCOMPARE(Look("- error - ", 3, 2).alignment, Qt::AlignRight);
        QCOMPARE(Look("-1.5", 3, 2).foreground, Role(QPalette::Text));
    }

    void SummariesAreBlueAndRightAligned() {
        for (int32_t col : {6, 7, 8}) {
            const CellLook look = Look("0.9883352", col, 1);
            QCOMPARE(look.foreground, QColor(0, 0, 255));
            QCOMPARE(look.alignment, Qt::AlignRight);
        }
    }

    void SequenceCellsAndTheSpacerUseTheTableColours() {
        for (int32_t col : {3, 4, SequenceEnd}) {
            const CellLook look = Look(col == SequenceEnd ? "" : "0.5", col, 1);
            QCOMPARE(look.foreground, Role(QPalette::Text));
            QCOMPARE(look.background, Role(QPalette::Base));
            QCOMPARE(look.alignment, Qt::AlignRight);
            QVERIFY(!look.raisedFrame);
            QCOMPARE(look.textMargins, QMargins(0, 1, 2, 0));
        }
    }

    void SelectionColoursOverrideRedAndBlue() {
        for (std::string_view text : {"- error -", "0.1", ""}) {
            const CellLook look = Look(text, 7, 3, true);
            QCOMPARE(look.background, Role(QPalette::Highlight));
            QCOMPARE(look.foreground, Role(QPalette::HighlightedText));
        }
        QCOMPARE(Look("- error -", 4, 3, true).alignment, Qt::AlignHCenter);
    }

    void BeforeAnyLoadEveryOtherColumnIsASummary() {
        const CellLook look = DecideCellLook("0.5", {3, 1, false}, 0, QPalette());
        QCOMPARE(look.foreground, QColor(0, 0, 255));
    }
};

ZENTROPE_GUI_TEST_MAIN(ResultCellStyleTest)
#include "result_cell_style_test.moc"
