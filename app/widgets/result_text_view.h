// A read-only viewer for large text files: it keeps the file's bytes with a line index and
// lays out only the lines in sight, with the look and keys of a read-only plain text edit.
#pragma once

#include "app/widgets/text_lines.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QList>
#include <QTextLayout>
#include <compare>
#include <memory>
#include <string>

class QMenu;
class QTextLayout;

// A place in the text: a line and a UTF-16 index into its decoded text.
struct TextPos {
    qsizetype line = 0;
    int column = 0;
    auto operator<=>(const TextPos&) const = default;
};

class ResultTextView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit ResultTextView(QWidget* parent = nullptr);
    ~ResultTextView() override;

    // Shows the file's bytes; false, with the view unchanged, when it cannot be read.
    bool LoadFile(const QString& path);
    // The same for a path given as the file system's bytes.
    bool LoadFile(const std::string& path);
    void SetBytes(QByteArray bytes);
    // Shows bytes that others share, without a copy of its own.
    void SetSharedBytes(std::shared_ptr<const std::string> bytes);
    // Lines already indexed, as a load off the window's thread makes them.
    void SetLines(TextLines lines) { ShowLines(std::move(lines)); }
    const TextLines& Lines() const { return lines_; }

    TextPos Caret() const { return caret_; }
    TextPos Anchor() const { return anchor_; }
    void SetSelection(TextPos anchor, TextPos caret);
    bool HasSelection() const { return anchor_ != caret_; }
    QString SelectedText() const;
    TextPos EndPosition() const;
    // Selects the last character of the text, leaving the caret at the end.
    void SelectLastCharacter();

    // Stops past the last one follow every half inch.
    void SetTabStopsInPoints(const QList<qreal>& points);
    QList<qreal> TabStopsInPixels() const;

    qsizetype FirstVisibleLine() const;
    qsizetype PageLineCount() const;
    int LineHeight() const;
    // Distance of a text position from the left edge of its line's text.
    qreal ColumnX(TextPos pos) const;
    TextPos PositionAt(QPoint viewportPoint) const;
    QPoint ViewportPointOf(TextPos pos) const;

    enum class FindResult { Found, Wrapped, NotFound };
    // Selects the next match of `text` after the selection (or the caret), or the one before
    // it, going round the end of the text if need be, and scrolls it into view. Without
    // matchCase, ASCII letters match either case.
    FindResult find(const QString& text, bool backward, bool matchCase);
    // Every match of `text` in sight is highlighted; an empty text highlights nothing.
    void SetHighlight(const QString& text, bool matchCase);

    // Copy and Select All, owned by the caller.
    QMenu* CreateStandardContextMenu();

public slots:
    void SelectAll();
    void Copy();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void ShowLines(TextLines lines);

    enum class Motion {
        NextChar,
        PreviousChar,
        NextWord,
        PreviousWord,
        NextLine,
        PreviousLine,
        NextPage,
        PreviousPage,
        StartOfLine,
        EndOfLine,
        StartOfDocument,
        EndOfDocument
    };

    std::unique_ptr<QTextLayout> LayoutLine(qsizetype line) const;
    QString ShownText(qsizetype line) const;
    int LineLength(qsizetype line) const;
    TextPos Clamped(TextPos pos) const;
    qreal PointsToPixels(qreal points) const;
    TextPos Moved(TextPos from, Motion motion) const;
    TextPos MovedVertically(TextPos from, qsizetype lines) const;
    bool ApplyMotionKey(QKeyEvent* event);
    void MoveCaret(TextPos to, bool extend);
    void EnsureCaretVisible();
    void UpdateScrollBars();
    void RestartBlink();
    void DragSelectTo(QPoint viewportPoint);
    void SelectWordAt(TextPos pos);
    // Returns the line's width, which the horizontal scroll bar learns from.
    qreal PaintLine(QPainter& painter, qsizetype line, int top) const;
    void UpdateHorizontalRange();

    qsizetype ByteOffset(TextPos pos) const;
    TextPos PositionOfByte(qsizetype offset) const;
    void AddHighlights(const QString& text, QList<QTextLayout::FormatRange>& ranges) const;

    TextLines lines_;
    QString highlight_;
    bool highlightCase_ = false;
    TextPos anchor_;
    TextPos caret_;
    qreal desiredX_ = -1; // kept through vertical moves
    QList<qreal> tabStopPoints_;
    bool dragging_ = false;
    QPoint lastDragPoint_;
    bool caretShown_ = false;
    // The widest line drawn since the text was shown: long lines are measured only when seen.
    int widestSeen_ = 0;
    QBasicTimer blinkTimer_;
    QBasicTimer dragScrollTimer_;
};
