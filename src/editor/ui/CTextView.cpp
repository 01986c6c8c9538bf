#include "editor/ui/CTextView.h"

#include "editor/CaretMoves.h"
#include "editor/DeletionChange.h"
#include "editor/InsertionChange.h"
#include "editor/LineEnd.h"
#include "editor/TextColumns.h"
#include "editor/ui/TextViewAccessible.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QScrollBar>
#include <QStyleHints>
#include <QTimer>
#include <algorithm>

CTextView::CTextView(QWidget* parent) : QAbstractScrollArea(parent) {
    TextViewAccessible::InstallFactory();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAcceptDrops(false);
    setAccessibleName(tr("Text"));
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    fonts[0] = font;
    BuildActions();
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            &CTextView::ScheduleActionUpdate);
    connect(this, &CTextView::positionTextChanged, this,
            [this](const QString& text) { TellPane(StatusPane::Position, text); });
    connect(this, &CTextView::lineEndStyleChanged, this,
            [this](const QString& text) { TellPane(StatusPane::LineEnd, text); });
    connect(this, &CTextView::readOnlyChanged, this, [this](bool on) {
        TellPane(StatusPane::ReadOnly, on ? QStringLiteral("READ") : QString());
    });
    connect(this, &CTextView::selectionChanged, this, [this] {
        if (host != nullptr) {
            host->ViewCommandStateChanged(*this);
        }
    });
    connect(this, &CTextView::filesDropped, this, [this](const QStringList& paths) {
        if (host != nullptr) {
            host->ViewFilesDropped(paths);
        }
    });
    ResetState();
}

CTextView::~CTextView() {
    DetachFromBuffer();
}

void CTextView::AttachToBuffer(CTextBuffer* textBuffer) {
    DetachFromBuffer();
    buffer = textBuffer != nullptr ? textBuffer : FindOwnBuffer();
    lines = BufferLines(buffer);
    if (buffer != nullptr) {
        buffer->AttachView(this);
    }
    ResetState();
    UpdateActions();
}

void CTextView::DetachFromBuffer() {
    if (buffer != nullptr) {
        buffer->DetachView(this);
        buffer = nullptr;
        lines = BufferLines(nullptr);
    }
}

CTextBuffer* CTextView::FindOwnBuffer() {
    return nullptr;
}

void CTextView::ResetState() {
    topLine = 0;
    firstColumn = 0;
    caret = anchor = selStart = selEnd = {};
    idealColumn = 0;
    tabSize = TextColumns::defaultTabSize;
    lineHeight = charWidth = -1;
    for (int i = 1; i < 4; ++i) {
        fonts[i] = QFont();
    }
    bookmarksKnown = false;
    draggingText = false;
    dropCaretShown = false;
    mouseDrag = MouseDrag::None;
    ResetCaches();
    UpdateScrollBars();
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    viewport()->update();
    CaretMoved();
    ScheduleActionUpdate();
}

void CTextView::ResetCaches() {
    colouring.Reset(LineCount());
    widths.Reset(lines, tabSize);
}

// ---- Reading the text ----

int CTextView::LineCount() const {
    return lines.Count();
}

int CTextView::LineLength(int line) const {
    return static_cast<int>(lines.Line(line).size());
}

int CTextView::DisplayLength(int line) const {
    return line >= 0 && line < widths.LineCount() ? widths.Width(line) : 0;
}

std::string_view CTextView::LineText(int line) const {
    return lines.Line(line);
}

uint32_t CTextView::LineFlags(int line) const {
    if (buffer == nullptr || line < 0 || line >= buffer->LineCount()) {
        return 0;
    }
    return buffer->LineFlags(line);
}

void CTextView::CopyRange(CTextPosition start, CTextPosition end, std::string& text,
                          std::string_view lineEnd) const {
    text.clear();
    if (buffer != nullptr) {
        CaretMoves::Order(start, end);
        buffer->CopyRange(start.line, start.charIndex, end.line, end.charIndex, text, lineEnd);
    }
}

// ---- Caret and selection ----

CTextPosition CTextView::Clamp(CTextPosition position) const {
    position.line = std::clamp(position.line, 0, LineCount() - 1);
    position.charIndex = std::clamp(position.charIndex, 0, LineLength(position.line));
    return position;
}

void CTextView::SetCaretPosition(CTextPosition position) {
    position = Clamp(position);
    caret = position;
    idealColumn = TextColumns::ColumnOf(LineText(position.line), position.charIndex, tabSize);
    CaretMoved();
}

void CTextView::SelectRange(CTextPosition start, CTextPosition end) {
    start = Clamp(start);
    end = Clamp(end);
    SetSelectionRaw(start, end);
    anchor = start;
    SetCaretPosition(end);
}

void CTextView::GetSelection(CTextPosition& start, CTextPosition& end) const {
    start = selStart;
    end = selEnd;
    CaretMoves::Order(start, end);
}

void CTextView::HighlightMatch(CTextPosition position, int length) {
    position = Clamp(position);
    CTextPosition end = position;
    for (int i = 0; i < length; ++i) {
        end = CaretMoves::CharRight(lines, end);
    }
    SetSelectionRaw(position, end);
    anchor = end;
    SetCaretPosition(end);
    ScrollIntoView(end);
}

void CTextView::SetSelectionRaw(CTextPosition start, CTextPosition end) {
    if (start == selStart && end == selEnd) {
        return;
    }
    CTextPosition oldStart = selStart;
    CTextPosition oldEnd = selEnd;
    CaretMoves::Order(oldStart, oldEnd);
    selStart = start;
    selEnd = end;
    CaretMoves::Order(start, end);
    const bool hadSelection = !(oldStart == oldEnd);
    const bool hasSelection = !(start == end);
    // Only the lines whose selected part changed need painting.
    if (hadSelection && hasSelection) {
        if (!(oldStart == start)) {
            InvalidateLines(std::min(oldStart.line, start.line),
                            std::max(oldStart.line, start.line));
        }
        if (!(oldEnd == end)) {
            InvalidateLines(std::min(oldEnd.line, end.line), std::max(oldEnd.line, end.line));
        }
    } else {
        if (hadSelection) {
            InvalidateLines(oldStart.line, oldEnd.line);
        }
        if (hasSelection) {
            InvalidateLines(start.line, end.line);
        }
    }
    emit selectionChanged();
    UpdateActions();
}

void CTextView::MoveCaret(CTextPosition position, bool extend) {
    if (extend) {
        if (!HasSelection()) {
            anchor = caret;
        }
        SetSelectionRaw(anchor, position);
    } else {
        SetSelectionRaw(position, position);
        anchor = position;
    }
    caret = position;
    idealColumn = TextColumns::ColumnOf(LineText(position.line), position.charIndex, tabSize);
    CaretMoved();
    ScrollIntoView(position);
}

void CTextView::CaretMoved() {
    caretBlinkOn = true;
    if (hasFocus()) {
        const int flash = QApplication::styleHints()->cursorFlashTime();
        if (flash > 0) {
            caretTimer.start(flash / 2, this);
        }
    }
    viewport()->update();
    UpdatePositionPane();
    if (QAccessible::isActive()) {
        QAccessibleTextCursorEvent event(this, TextViewAccessible::OffsetOf(*this, caret));
        QAccessible::updateAccessibility(&event);
    }
}

bool CTextView::SelectionShown() const {
    return hasFocus() || findDialogOpen || draggingText || mouseDrag != MouseDrag::None;
}

void CTextView::SetFindDialogOpen(bool open) {
    findDialogOpen = open;
    viewport()->update();
}

// ---- Scrolling ----

int CTextView::LinesOnScreen() const {
    return std::max(1, viewport()->height() / LineHeight());
}

int CTextView::ColumnsOnScreen() const {
    const int margin = selectionMargin ? marginWidth : 1;
    return std::max(1, (viewport()->width() - margin) / CharWidth());
}

void CTextView::ScrollIntoView(CTextPosition position) {
    const int screenLines = LinesOnScreen();
    int newTop = topLine;
    if (position.line >= topLine + screenLines) {
        newTop = position.line - screenLines + 1;
    } else if (position.line < topLine) {
        newTop = position.line;
    }
    ScrollToLine(std::clamp(newTop, 0, LineCount() - 1));
    const int column = TextColumns::ColumnOf(LineText(position.line), position.charIndex, tabSize);
    const int screenColumns = ColumnsOnScreen();
    int newColumn = firstColumn;
    if (column > firstColumn + screenColumns) {
        newColumn = column - screenColumns;
    } else if (column < firstColumn) {
        newColumn = column;
    }
    ScrollToColumn(std::clamp(newColumn, 0, std::max(0, widths.Longest() - 1)));
}

// The scroll bars hold the scroll position; scrollContentsBy follows them.
void CTextView::ScrollToLine(int line) {
    verticalScrollBar()->setValue(line);
}

void CTextView::ScrollToColumn(int column) {
    horizontalScrollBar()->setValue(column);
}

void CTextView::scrollContentsBy(int, int) {
    const int newTop = verticalScrollBar()->value();
    const int newColumn = horizontalScrollBar()->value();
    const bool vertical = newTop != topLine;
    const bool horizontal = newColumn != firstColumn;
    topLine = newTop;
    firstColumn = newColumn;
    viewport()->update();
    if (vertical) {
        SyncSiblingPanes(true);
    }
    if (horizontal) {
        SyncSiblingPanes(false);
    }
}

void CTextView::SyncSiblingPanes(bool vertical) {
    if (vertical) {
        emit topLineChanged(topLine);
    } else {
        emit firstColumnChanged(firstColumn);
    }
}

void CTextView::FollowTopLine(int line) {
    line = std::clamp(line, 0, LineCount() - 1);
    if (line != topLine) {
        const QSignalBlocker blocker(this);
        ScrollToLine(line);
    }
}

void CTextView::FollowFirstColumn(int column) {
    if (column != firstColumn) {
        const QSignalBlocker blocker(this);
        ScrollToColumn(std::max(column, 0));
    }
}

void CTextView::UpdateScrollBars() {
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, LineCount() - 1);
    vertical->setPageStep(LinesOnScreen());
    vertical->setSingleStep(1);
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, std::max(0, widths.Longest() - ColumnsOnScreen() + 1));
    horizontal->setPageStep(ColumnsOnScreen());
    horizontal->setSingleStep(1);
    // A scroll bar is only needed when the content is larger than the window.
    const bool tall = LineCount() > LinesOnScreen() || topLine > 0;
    const bool wide = widths.Longest() >= ColumnsOnScreen() || firstColumn > 0;
    setVerticalScrollBarPolicy(tall ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(wide ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void CTextView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void CTextView::InvalidateLines(int from, int to) {
    const int height = LineHeight();
    const int first = std::max(from, topLine) - topLine;
    if (to >= 0 && to < topLine) {
        return;
    }
    const int top = first * height;
    if (top > viewport()->height()) {
        return;
    }
    const int bottom = to < 0 ? viewport()->height() : (to - topLine + 1) * height;
    viewport()->update(0, top, viewport()->width(), bottom - top);
}

// ---- Buffer changes ----

void CTextView::OnBufferChange(CTextBufferObserver*, const CTextChange* change, unsigned notice,
                               int line) {
    if ((notice & UpdateAll) != 0) {
        ResetState();
        return;
    }
    if ((notice & UpdateMarksOnly) != 0) {
        // A mark set proves there are bookmarks; only a removed one makes a new count necessary.
        if ((LineFlags(line) & CTextBuffer::LineFlagBookmark) != 0) {
            hasBookmarks = bookmarksKnown = true;
        } else if (hasBookmarks) {
            bookmarksKnown = false;
        }
        InvalidateLines(line, line);
        ScheduleActionUpdate();
        return;
    }
    const int delta = change != nullptr ? change->end.line - change->start.line : 0;
    if (change != nullptr && (notice & UpdateLineRange) != 0) {
        colouring.LinesChanged(line, change->end.line);
        widths.LinesChanged(lines, line, change->end.line);
    } else if (change != nullptr && (notice & UpdateOneLine) == 0 && delta > 0) {
        if (dynamic_cast<const InsertionChange*>(change) != nullptr) {
            colouring.LinesInserted(line, delta);
            widths.LinesInserted(lines, line, delta);
        } else {
            colouring.LinesRemoved(line, delta);
            widths.LinesRemoved(lines, line, delta);
            // Only removed lines can take the last bookmark with them.
            bookmarksKnown = bookmarksKnown && !hasBookmarks;
        }
    } else {
        colouring.LineChanged(line);
        widths.LineChanged(lines, line);
    }
    if (colouring.LineCount() != LineCount() || widths.LineCount() != LineCount()) {
        ResetCaches(); // a change this view could not follow
    }
    if (change != nullptr) {
        caret = change->AdjustPosition(caret);
        anchor = change->AdjustPosition(anchor);
        selStart = change->AdjustPosition(selStart);
        selEnd = change->AdjustPosition(selEnd);
        if (draggingText) {
            draggedStart = change->AdjustPosition(draggedStart);
            draggedEnd = change->AdjustPosition(draggedEnd);
        }
        if (dropCaretShown) {
            dropCaretPosition = change->AdjustPosition(dropCaretPosition);
        }
        const int newTop = change->AdjustPosition({0, topLine}).line;
        if (newTop != topLine) {
            const QSignalBlocker blocker(verticalScrollBar());
            topLine = newTop;
        }
    }
    // A change of the colouring state spreads down: repaint from the changed line on.
    InvalidateLines(line);
    UpdateScrollBars();
    {
        const QSignalBlocker blocker(verticalScrollBar());
        verticalScrollBar()->setValue(topLine);
    }
    topLine = verticalScrollBar()->value();
    UpdatePositionPane();
    ScheduleActionUpdate();
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent event(this, 0, QString(), QString());
        QAccessible::updateAccessibility(&event);
    }
}

// ---- Status ----

QString CTextView::PositionText() const {
    return QString::asprintf("Ln %d, Col %d", caret.line + 1, caret.charIndex + 1);
}

QString CTextView::LineEndStyleText() const {
    if (buffer == nullptr) {
        return {};
    }
    const std::string_view label = LineEnd::Label(buffer->LineEndStyle());
    return QString::fromLatin1(label.data(), static_cast<qsizetype>(label.size()));
}

void CTextView::UpdatePositionPane() {
    const QString text = PositionText();
    if (text != lastPositionText) {
        lastPositionText = text;
        emit positionTextChanged(text);
    }
    EmitStatus();
}

void CTextView::EmitStatus() {
    const QString style = LineEndStyleText();
    if (style != lastLineEndText) {
        lastLineEndText = style;
        emit lineEndStyleChanged(style);
    }
    if (IsReadOnlyBuffer() != lastReadOnly) {
        lastReadOnly = IsReadOnlyBuffer();
        emit readOnlyChanged(lastReadOnly);
    }
}

// ---- Options ----

void CTextView::SetShowWhitespace(bool show) {
    showWhitespace = show;
    viewport()->update();
}

void CTextView::SetSelectionMargin(bool margin) {
    selectionMargin = margin;
    UpdateScrollBars();
    viewport()->update();
}

void CTextView::ChangeFont(const QFont& font) {
    fonts[0] = font;
    for (int i = 1; i < 4; ++i) {
        fonts[i] = QFont();
    }
    lineHeight = charWidth = -1;
    UpdateScrollBars();
    viewport()->update();
}

const QFont& CTextView::TextFont(bool bold, bool italic) const {
    const int index = (bold ? 1 : 0) + (italic ? 2 : 0);
    if (index != 0 && fonts[index].family().isEmpty()) {
        QFont face = fonts[0];
        face.setBold(bold);
        face.setItalic(italic);
        fonts[index] = face;
    }
    return fonts[index];
}

void CTextView::EnsureMetrics() const {
    if (lineHeight < 0) {
        const QFontMetrics metrics(fonts[0], viewport());
        lineHeight = std::max(1, metrics.height());
        charWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('X')));
    }
}

int CTextView::LineHeight() const {
    EnsureMetrics();
    return lineHeight;
}

int CTextView::CharWidth() const {
    EnsureMetrics();
    return charWidth;
}

// ---- Colours ----

int CTextView::ColorizeLine(int, int, std::vector<TextColours::Block>*) {
    return 0;
}

QColor CTextView::ColorOf(int index) const {
    if (const auto rgb = TextColours::DefaultColour(index)) {
        return QColor(rgb->red, rgb->green, rgb->blue);
    }
    const QPalette& colours = palette();
    switch (index) {
    case TextColours::NormalText:
        return colours.color(QPalette::Active, QPalette::Text);
    case TextColours::SelectionMargin:
        return colours.color(QPalette::Active, QPalette::Button);
    default:
        return colours.color(QPalette::Active, QPalette::Base);
    }
}

void CTextView::LineColors(int line, QColor& background, QColor& text, bool& fillRow) const {
    const TextColours::LineColours marked = TextColours::MarkedLineColours(LineFlags(line));
    const auto toColour = [](const std::optional<TextColours::Rgb>& rgb) {
        return rgb ? QColor(rgb->red, rgb->green, rgb->blue) : QColor();
    };
    background = toColour(marked.background);
    text = toColour(marked.text);
    fillRow = marked.fillRow;
}

bool CTextView::IsItalic(int) const {
    return false;
}

bool CTextView::IsBold(int) const {
    return false;
}

// ---- Focus and caret blinking ----

bool CTextView::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        // Typed characters belong to the view, not to shortcuts of other windows.
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->text().isEmpty() && key->text().at(0).isPrint() &&
            (key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == 0) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void CTextView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    CaretMoved();
    if (HasSelection()) {
        InvalidateLines(std::min(selStart.line, selEnd.line), std::max(selStart.line, selEnd.line));
    }
}

void CTextView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    caretTimer.stop();
    viewport()->update();
}

bool CTextView::focusNextPrevChild(bool) {
    return false; // Tab indents
}

void CTextView::timerEvent(QTimerEvent* event) {
    if (event->timerId() == caretTimer.timerId()) {
        caretBlinkOn = !caretBlinkOn;
        viewport()->update(CaretRect(caret));
    } else if (event->timerId() == scrollTimer.timerId()) {
        AutoScroll();
    } else {
        QAbstractScrollArea::timerEvent(event);
    }
}

QRect CTextView::CaretRect(CTextPosition position) const {
    const QPoint point = PointOf(position);
    return {point.x() - 1, point.y(), 4, LineHeight()};
}

CTextPosition CTextView::PositionAt(const QPoint& point) const {
    const int line = std::clamp(topLine + point.y() / LineHeight(), 0, LineCount() - 1);
    const int margin = selectionMargin ? marginWidth : 1;
    const double column =
        firstColumn + static_cast<double>(point.x() - margin) / static_cast<double>(CharWidth());
    return {TextColumns::CharIndexAtPoint(LineText(line), std::max(column, 0.0), tabSize), line};
}

QPoint CTextView::PointOf(CTextPosition position) const {
    const int margin = selectionMargin ? marginWidth : 1;
    const int column = TextColumns::ColumnOf(LineText(position.line), position.charIndex, tabSize);
    return {margin + (column - firstColumn) * CharWidth(),
            (position.line - topLine) * LineHeight()};
}

void CTextView::PutOnClipboard(const std::string& text) {
    QApplication::clipboard()->setText(
        QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

bool CTextView::HasBookmarks() const {
    if (!bookmarksKnown) {
        hasBookmarks =
            buffer != nullptr && buffer->NextBookmarkedLine(buffer->LineCount() - 1) >= 0;
        bookmarksKnown = true;
    }
    return hasBookmarks;
}

void CTextView::ScheduleActionUpdate() {
    if (!actionUpdatePending) {
        actionUpdatePending = true;
        QTimer::singleShot(0, this, [this] {
            if (actionUpdatePending) {
                actionUpdatePending = false;
                UpdateActions();
                UpdateActionTexts();
            }
            if (host != nullptr) {
                host->ViewCommandStateChanged(*this);
            }
        });
    }
}
