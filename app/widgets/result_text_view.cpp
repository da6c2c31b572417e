#include "app/widgets/result_text_view.h"

#include "app/name_text.h"
#include "app/widgets/text_search.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextLayout>
#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>

namespace {

// The document margin of Qt's text edits, kept for the same look.
constexpr int Margin = 4;
// Rich-text views place default tab stops every half inch.
constexpr qreal DefaultTabPoints = 36;
constexpr int DragScrollMs = 50;
// Longer lines are shown and walked by the caret up to here only, so that a file without line
// breaks cannot stall the window; copying still takes such lines whole.
constexpr qsizetype MaxShownBytes = qsizetype(1) << 16;

bool IsWordChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'.';
}

} // namespace

ResultTextView::ResultTextView(QWidget* parent) : QAbstractScrollArea(parent) {
    QFont font(QStringLiteral("Courier New"));
    font.setPixelSize(17);
    font.setStyleHint(QFont::TypeWriter);
    setFont(font);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    UpdateScrollBars();
}

ResultTextView::~ResultTextView() = default;

bool ResultTextView::LoadFile(const QString& path) {
    return LoadFile(QFile::encodeName(path).toStdString());
}

bool ResultTextView::LoadFile(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return false;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    QByteArray bytes;
    const uintmax_t size = std::filesystem::file_size(path, error);
    if (!error)
        bytes.reserve(static_cast<qsizetype>(size));
    std::array<char, 1 << 16> chunk{};
    while (file.read(chunk.data(), chunk.size()) || file.gcount() > 0)
        bytes.append(chunk.data(), static_cast<qsizetype>(file.gcount()));
    if (file.bad())
        return false;
    SetBytes(std::move(bytes));
    return true;
}

void ResultTextView::SetBytes(QByteArray bytes) {
    ShowLines(TextLines(std::move(bytes)));
}

void ResultTextView::SetSharedBytes(std::shared_ptr<const std::string> bytes) {
    ShowLines(TextLines(std::move(bytes)));
}

void ResultTextView::ShowLines(TextLines lines) {
    lines_ = std::move(lines);
    anchor_ = caret_ = TextPos{};
    desiredX_ = -1;
    widestSeen_ = 0;
    horizontalScrollBar()->setRange(0, 0);
    verticalScrollBar()->setValue(0);
    UpdateScrollBars();
    viewport()->update();
}

qreal ResultTextView::PointsToPixels(qreal points) const {
    return points * logicalDpiX() / 72.0;
}

void ResultTextView::SetTabStopsInPoints(const QList<qreal>& points) {
    tabStopPoints_ = points;
    viewport()->update();
}

QList<qreal> ResultTextView::TabStopsInPixels() const {
    QList<qreal> pixels;
    for (qreal points : tabStopPoints_)
        pixels.append(PointsToPixels(points));
    return pixels;
}

std::unique_ptr<QTextLayout> ResultTextView::LayoutLine(qsizetype line) const {
    auto layout = std::make_unique<QTextLayout>(ShownText(line), font());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    QList<QTextOption::Tab> tabs;
    for (qreal x : TabStopsInPixels())
        tabs.append(QTextOption::Tab(x, QTextOption::LeftTab));
    option.setTabs(tabs);
    option.setTabStopDistance(PointsToPixels(DefaultTabPoints));
    layout->setTextOption(option);
    layout->beginLayout();
    layout->createLine().setPosition(QPointF(0, 0));
    layout->endLayout();
    return layout;
}

QString ResultTextView::ShownText(qsizetype line) const {
    const QByteArrayView bytes = lines_.Bytes(line);
    return DisplayText(std::string_view(
        bytes.data(), static_cast<size_t>(std::min(bytes.size(), MaxShownBytes))));
}

int ResultTextView::LineLength(qsizetype line) const {
    return static_cast<int>(ShownText(line).size());
}

int ResultTextView::LineHeight() const {
    return std::max(1, fontMetrics().height());
}

qsizetype ResultTextView::FirstVisibleLine() const {
    return verticalScrollBar()->value();
}

qsizetype ResultTextView::PageLineCount() const {
    return std::max(1, (viewport()->height() - 2 * Margin) / LineHeight());
}

TextPos ResultTextView::Clamped(TextPos pos) const {
    pos.line = std::clamp<qsizetype>(pos.line, 0, lines_.Count() - 1);
    pos.column = std::clamp(pos.column, 0, LineLength(pos.line));
    return pos;
}

TextPos ResultTextView::EndPosition() const {
    const qsizetype last = lines_.Count() - 1;
    return {last, LineLength(last)};
}

qreal ResultTextView::ColumnX(TextPos pos) const {
    return LayoutLine(pos.line)->lineAt(0).cursorToX(pos.column);
}

TextPos ResultTextView::PositionAt(QPoint viewportPoint) const {
    const double row = std::floor(double(viewportPoint.y() - Margin) / LineHeight());
    const qsizetype line =
        std::clamp<qsizetype>(FirstVisibleLine() + qsizetype(row), 0, lines_.Count() - 1);
    const int x = viewportPoint.x() - Margin + horizontalScrollBar()->value();
    return {line, LayoutLine(line)->lineAt(0).xToCursor(x)};
}

QPoint ResultTextView::ViewportPointOf(TextPos pos) const {
    const int x = Margin - horizontalScrollBar()->value() + qRound(ColumnX(pos));
    const int y = Margin + int(pos.line - FirstVisibleLine()) * LineHeight() + LineHeight() / 2;
    return {x, y};
}

void ResultTextView::SetSelection(TextPos anchor, TextPos caret) {
    anchor_ = Clamped(anchor);
    caret_ = Clamped(caret);
    desiredX_ = -1;
    EnsureCaretVisible();
    RestartBlink();
}

void ResultTextView::SelectAll() {
    anchor_ = TextPos{};
    caret_ = EndPosition();
    viewport()->update();
}

void ResultTextView::SelectLastCharacter() {
    const TextPos end = EndPosition();
    SetSelection(Moved(end, Motion::PreviousChar), end);
}

QString ResultTextView::SelectedText() const {
    const TextPos from = std::min(anchor_, caret_);
    const TextPos to = std::max(anchor_, caret_);
    // The end of a line stands for the end of its whole text, shown or not.
    const auto upTo = [this](TextPos end) {
        return end.column < LineLength(end.line) ? end.column : -1;
    };
    const QString first = lines_.Text(from.line);
    const int start = upTo(from) < 0 ? int(first.size()) : from.column;
    if (from.line == to.line)
        return first.mid(start, upTo(to) < 0 ? -1 : to.column - start);
    QString text = first.mid(start);
    text += u'\n';
    if (to.line - from.line > 1) {
        text += lines_.Text(from.line + 1, to.line - 1);
        text += u'\n';
    }
    text += lines_.Text(to.line).left(upTo(to));
    return text;
}

void ResultTextView::Copy() {
    if (HasSelection())
        QGuiApplication::clipboard()->setText(SelectedText());
}

QMenu* ResultTextView::CreateStandardContextMenu() {
    auto* menu = new QMenu(this);
    const auto shortcut = [](QKeySequence::StandardKey key) {
        return u'\t' + QKeySequence(key).toString(QKeySequence::NativeText);
    };
    QAction* copyAction =
        menu->addAction(tr("&Copy") + shortcut(QKeySequence::Copy), this, &ResultTextView::Copy);
    copyAction->setEnabled(HasSelection());
    menu->addSeparator();
    QAction* selectAllAction = menu->addAction(tr("Select All") + shortcut(QKeySequence::SelectAll),
                                               this, &ResultTextView::SelectAll);
    selectAllAction->setEnabled(lines_.ByteSize() > 0);
    return menu;
}

void ResultTextView::contextMenuEvent(QContextMenuEvent* event) {
    std::unique_ptr<QMenu> menu(CreateStandardContextMenu());
    menu->exec(event->globalPos());
}

TextPos ResultTextView::MovedVertically(TextPos from, qsizetype lines) const {
    const qsizetype line = std::clamp<qsizetype>(from.line + lines, 0, lines_.Count() - 1);
    const qreal x = desiredX_ >= 0 ? desiredX_ : ColumnX(from);
    return {line, LayoutLine(line)->lineAt(0).xToCursor(x)};
}

TextPos ResultTextView::Moved(TextPos from, Motion motion) const {
    const int length = LineLength(from.line);
    const bool lastLine = from.line + 1 == lines_.Count();
    switch (motion) {
    case Motion::NextChar:
    case Motion::NextWord:
        if (from.column < length) {
            const auto mode =
                motion == Motion::NextWord ? QTextLayout::SkipWords : QTextLayout::SkipCharacters;
            return {from.line, LayoutLine(from.line)->nextCursorPosition(from.column, mode)};
        }
        return lastLine ? from : TextPos{from.line + 1, 0};
    case Motion::PreviousChar:
    case Motion::PreviousWord:
        if (from.column > 0) {
            const auto mode = motion == Motion::PreviousWord ? QTextLayout::SkipWords
                                                             : QTextLayout::SkipCharacters;
            return {from.line, LayoutLine(from.line)->previousCursorPosition(from.column, mode)};
        }
        return from.line == 0 ? from : TextPos{from.line - 1, LineLength(from.line - 1)};
    case Motion::NextLine:
        return MovedVertically(from, 1);
    case Motion::PreviousLine:
        return MovedVertically(from, -1);
    case Motion::NextPage:
        return MovedVertically(from, PageLineCount());
    case Motion::PreviousPage:
        return MovedVertically(from, -PageLineCount());
    case Motion::StartOfLine:
        return {from.line, 0};
    case Motion::EndOfLine:
        return {from.line, length};
    case Motion::StartOfDocument:
        return {};
    case Motion::EndOfDocument:
        return EndPosition();
    }
    return from;
}

bool ResultTextView::ApplyMotionKey(QKeyEvent* event) {
    struct KeyMotion {
        QKeySequence::StandardKey move;
        QKeySequence::StandardKey select;
        Motion motion;
    };
    static const KeyMotion kKeys[] = {
        {QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar, Motion::NextChar},
        {QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar, Motion::PreviousChar},
        {QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord, Motion::NextWord},
        {QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord, Motion::PreviousWord},
        {QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine, Motion::NextLine},
        {QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine, Motion::PreviousLine},
        {QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage, Motion::NextPage},
        {QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage, Motion::PreviousPage},
        {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine, Motion::StartOfLine},
        {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine, Motion::EndOfLine},
        {QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument,
         Motion::StartOfDocument},
        {QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument,
         Motion::EndOfDocument},
    };
    for (const KeyMotion& key : kKeys) {
        const bool extend = event->matches(key.select);
        if (!extend && !event->matches(key.move))
            continue;
        const bool vertical = key.motion == Motion::NextLine ||
                              key.motion == Motion::PreviousLine ||
                              key.motion == Motion::NextPage || key.motion == Motion::PreviousPage;
        const qreal keptX = vertical ? (desiredX_ >= 0 ? desiredX_ : ColumnX(caret_)) : -1;
        TextPos target = Moved(caret_, key.motion);
        // Without Shift, Left and Right first drop a selection at its near end.
        if (!extend && HasSelection() && key.motion == Motion::NextChar)
            target = std::max(anchor_, caret_);
        if (!extend && HasSelection() && key.motion == Motion::PreviousChar)
            target = std::min(anchor_, caret_);
        if (key.motion == Motion::NextPage || key.motion == Motion::PreviousPage) {
            const int step = key.motion == Motion::NextPage ? 1 : -1;
            verticalScrollBar()->setValue(verticalScrollBar()->value() + step * PageLineCount());
        }
        MoveCaret(target, extend);
        desiredX_ = keptX;
        return true;
    }
    return false;
}

void ResultTextView::MoveCaret(TextPos to, bool extend) {
    caret_ = Clamped(to);
    if (!extend)
        anchor_ = caret_;
    desiredX_ = -1;
    EnsureCaretVisible();
    RestartBlink();
}

void ResultTextView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::SelectAll)) {
        SelectAll();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        Copy();
        return;
    }
    if (ApplyMotionKey(event))
        return;
    QAbstractScrollArea::keyPressEvent(event);
}

void ResultTextView::EnsureCaretVisible() {
    QScrollBar* vertical = verticalScrollBar();
    const qsizetype page = PageLineCount();
    if (caret_.line < vertical->value())
        vertical->setValue(int(caret_.line));
    else if (caret_.line >= vertical->value() + page)
        vertical->setValue(int(caret_.line - page + 1));

    // The caret pulls the text sideways into view, past lines not yet measured if need be.
    QScrollBar* horizontal = horizontalScrollBar();
    const int x = qRound(ColumnX(caret_));
    const int width = std::max(1, viewport()->width() - 2 * Margin);
    if (x < horizontal->value()) {
        horizontal->setValue(x);
    } else if (x >= horizontal->value() + width) {
        const int offset = x - width + 1;
        horizontal->setMaximum(std::max(horizontal->maximum(), offset));
        horizontal->setValue(offset);
    }
}

void ResultTextView::UpdateScrollBars() {
    const qsizetype page = PageLineCount();
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, int(std::max<qsizetype>(0, lines_.Count() - page)));
    vertical->setPageStep(int(page));
    vertical->setSingleStep(1);
    UpdateHorizontalRange();
}

void ResultTextView::UpdateHorizontalRange() {
    QScrollBar* horizontal = horizontalScrollBar();
    const int width = std::max(1, viewport()->width() - 2 * Margin);
    horizontal->setRange(0, std::max(0, widestSeen_ - width));
    horizontal->setPageStep(width);
    horizontal->setSingleStep(fontMetrics().horizontalAdvance(u' ') * 4);
}

void ResultTextView::scrollContentsBy(int, int) {
    viewport()->update();
}

void ResultTextView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void ResultTextView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        UpdateScrollBars();
        viewport()->update();
    }
}

qreal ResultTextView::PaintLine(QPainter& painter, qsizetype line, int top) const {
    const std::unique_ptr<QTextLayout> layout = LayoutLine(line);
    const QPointF origin(Margin - horizontalScrollBar()->value(), top);
    const TextPos from = std::min(anchor_, caret_);
    const TextPos to = std::max(anchor_, caret_);
    QList<QTextLayout::FormatRange> selection;
    AddHighlights(layout->text(), selection);
    if (from != to && line >= from.line && line <= to.line) {
        QTextLayout::FormatRange range;
        range.start = line == from.line ? from.column : 0;
        range.length = (line == to.line ? to.column : int(layout->text().size())) - range.start;
        range.format.setBackground(palette().highlight());
        range.format.setForeground(palette().highlightedText());
        selection.append(range);
        if (line < to.line) {
            // The selected line break, as Qt's text edits show it.
            const qreal end = origin.x() + layout->lineAt(0).naturalTextWidth();
            painter.fillRect(QRectF(end, top, fontMetrics().horizontalAdvance(u' '), LineHeight()),
                             palette().highlight());
        }
    }
    painter.setPen(palette().text().color());
    layout->draw(&painter, origin, selection);
    if (caretShown_ && line == caret_.line)
        layout->drawCursor(&painter, origin, caret_.column, 1);
    return layout->lineAt(0).naturalTextWidth();
}

void ResultTextView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const qsizetype first = FirstVisibleLine();
    const qsizetype shown = (viewport()->height() - Margin) / LineHeight() + 1;
    const qsizetype last = std::min(lines_.Count() - 1, first + shown);
    qreal widest = 0;
    for (qsizetype line = first; line <= last; ++line)
        widest =
            std::max(widest, PaintLine(painter, line, Margin + int(line - first) * LineHeight()));
    // The bar may appear and resize the viewport: not while painting it.
    if (int(std::ceil(widest)) > widestSeen_) {
        widestSeen_ = int(std::ceil(widest));
        QMetaObject::invokeMethod(this, &ResultTextView::UpdateHorizontalRange,
                                  Qt::QueuedConnection);
    }
}

void ResultTextView::RestartBlink() {
    caretShown_ = hasFocus();
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (caretShown_ && flash > 0)
        blinkTimer_.start(flash / 2, this);
    else
        blinkTimer_.stop();
    viewport()->update();
}

void ResultTextView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    RestartBlink();
}

void ResultTextView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    RestartBlink();
}

void ResultTextView::timerEvent(QTimerEvent* event) {
    if (event->timerId() == blinkTimer_.timerId()) {
        caretShown_ = !caretShown_;
        viewport()->update();
    } else if (event->timerId() == dragScrollTimer_.timerId()) {
        DragSelectTo(lastDragPoint_);
    } else {
        QAbstractScrollArea::timerEvent(event);
    }
}

void ResultTextView::DragSelectTo(QPoint viewportPoint) {
    lastDragPoint_ = viewportPoint;
    caret_ = PositionAt(viewportPoint);
    EnsureCaretVisible();
    RestartBlink();
    // Outside the text the selection keeps growing while the mouse rests.
    if (viewport()->rect().contains(viewportPoint))
        dragScrollTimer_.stop();
    else if (!dragScrollTimer_.isActive())
        dragScrollTimer_.start(DragScrollMs, this);
}

void ResultTextView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    MoveCaret(PositionAt(event->position().toPoint()),
              event->modifiers().testFlag(Qt::ShiftModifier));
    dragging_ = true;
}

void ResultTextView::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && event->buttons().testFlag(Qt::LeftButton))
        DragSelectTo(event->position().toPoint());
}

void ResultTextView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragging_)
        return;
    dragging_ = false;
    dragScrollTimer_.stop();
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (HasSelection() && clipboard->supportsSelection())
        clipboard->setText(SelectedText(), QClipboard::Selection);
}

void ResultTextView::SelectWordAt(TextPos pos) {
    const QString text = ShownText(pos.line);
    int start = pos.column;
    int end = pos.column;
    while (start > 0 && IsWordChar(text[start - 1]))
        --start;
    while (end < text.size() && IsWordChar(text[end]))
        ++end;
    if (start == end && end < text.size())
        ++end;
    SetSelection({pos.line, start}, {pos.line, end});
}

void ResultTextView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        SelectWordAt(PositionAt(event->position().toPoint()));
}

qsizetype ResultTextView::ByteOffset(TextPos pos) const {
    const TextPos at = Clamped(pos);
    return lines_.Start(at.line) + lines_.Text(at.line).left(at.column).toUtf8().size();
}

TextPos ResultTextView::PositionOfByte(qsizetype offset) const {
    const qsizetype line = lines_.LineAt(offset);
    const QByteArrayView before =
        lines_.AllBytes().sliced(lines_.Start(line), offset - lines_.Start(line));
    return Clamped(
        {line, int(DisplayText(std::string_view(before.data(), size_t(before.size()))).size())});
}

ResultTextView::FindResult ResultTextView::find(const QString& text, bool backward,
                                                bool matchCase) {
    const QByteArray needle = text.toUtf8();
    const QByteArrayView all = lines_.AllBytes();
    const qsizetype from =
        ByteOffset(backward ? std::min(anchor_, caret_) : std::max(anchor_, caret_));
    const TextMatch match = FindInText(std::string_view(all.data(), size_t(all.size())),
                                       std::string_view(needle.constData(), size_t(needle.size())),
                                       size_t(from), backward, matchCase);
    if (match.at == std::string_view::npos)
        return FindResult::NotFound;
    const TextPos start = PositionOfByte(qsizetype(match.at));
    SetSelection(start, PositionOfByte(qsizetype(match.at) + needle.size()));
    return match.wrapped ? FindResult::Wrapped : FindResult::Found;
}

void ResultTextView::SetHighlight(const QString& text, bool matchCase) {
    highlight_ = text;
    highlightCase_ = matchCase;
    viewport()->update();
}

void ResultTextView::AddHighlights(const QString& text,
                                   QList<QTextLayout::FormatRange>& ranges) const {
    if (highlight_.isEmpty())
        return;
    const Qt::CaseSensitivity sensitivity =
        highlightCase_ ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (qsizetype at = text.indexOf(highlight_, 0, sensitivity); at >= 0;
         at = text.indexOf(highlight_, at + highlight_.size(), sensitivity)) {
        QTextLayout::FormatRange range;
        range.start = int(at);
        range.length = int(highlight_.size());
        range.format.setBackground(QColor(255, 230, 0));
        range.format.setForeground(Qt::black);
        ranges.append(range);
    }
}
