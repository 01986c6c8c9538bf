#pragma once

#include "editor/BufferLines.h"
#include "editor/CTextBuffer.h"
#include "editor/CTextBufferObserver.h"
#include "editor/ColouringStates.h"
#include "editor/DisplayWidths.h"
#include "editor/TextColours.h"
#include "editor/ui/CommandTarget.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QFont>
#include <QHash>
#include <QString>
#include <array>
#include <string>
#include <string_view>
#include <vector>

class QAction;
class QMenu;
class QPrinter;

// Shows the lines of a text buffer: caret, selection, bookmarks, colouring, scrolling, copying
// and printing. It never changes the text; CTextEditView adds editing. Several views may show
// one buffer, each with its own caret, selection and scroll position.
//
// Its commands have actions (Action) but no keys: the window that hosts the view binds each key
// once and hands the command to the view (CommandTarget). A view used alone gets its keys by
// setting shortcuts on its actions.
class CTextView : public QAbstractScrollArea, public CTextBufferObserver, public CommandTarget {
    Q_OBJECT

public:
    // What the find commands remember between searches of this view.
    struct SearchState {
        bool hasLastSearch = false;
        unsigned lastFlags = 0;
        std::string lastWhat;
        bool repeatedSearch = false;
    };

    static constexpr int marginWidth = 30;
    static constexpr int autoScrollInterval = 100;

    explicit CTextView(QWidget* parent = nullptr);
    ~CTextView() override;

    // Detaches from the previous buffer; none means FindOwnBuffer().
    void AttachToBuffer(CTextBuffer* textBuffer = nullptr);
    void DetachFromBuffer();
    CTextBuffer* Buffer() const { return buffer; }
    // Whether the text may be changed through this view; the text view never changes it.
    virtual bool IsEditable() const { return false; }

    CTextPosition GetCursorPos() const { return caret; }
    void SetCaretPosition(CTextPosition position);
    // Selects from `start` to `end`, caret (and anchor) at `end`.
    void SelectRange(CTextPosition start, CTextPosition end);
    void GetSelection(CTextPosition& start, CTextPosition& end) const;
    bool HasSelection() const { return !(selStart == selEnd); }
    void ScrollIntoView(CTextPosition position);
    // The nearest position inside the text.
    CTextPosition Clamp(CTextPosition position) const;
    // Selects `length` characters from `position` on, caret and anchor at the end, in view.
    void HighlightMatch(CTextPosition position, int length);

    virtual int LineCount() const;
    virtual int LineLength(int line) const;
    virtual int DisplayLength(int line) const;
    virtual std::string_view LineText(int line) const;
    virtual uint32_t LineFlags(int line) const;
    // The text of a range with "\r\n" between lines (empty without a buffer).
    virtual void CopyRange(CTextPosition start, CTextPosition end, std::string& text,
                           std::string_view lineEnd = "\r\n") const;

    int TopLine() const { return topLine; }
    int FirstColumn() const { return firstColumn; }
    int LinesOnScreen() const;
    int ColumnsOnScreen() const;
    bool HasBookmarks() const;
    bool ShowWhitespace() const { return showWhitespace; }
    void SetShowWhitespace(bool show);
    bool SelectionMargin() const { return selectionMargin; }
    void SetSelectionMargin(bool margin);
    // The normal face; bold, italic and bold italic come from it.
    void ChangeFont(const QFont& font);
    const QFont& TextFont(bool bold = false, bool italic = false) const;
    int LineHeight() const;
    int CharWidth() const;
    // The selection stays visible without the focus while the find dialog is open.
    void SetFindDialogOpen(bool open);

    // The command's action; a shortcut set on it works while the view or a child has the focus.
    QAction* Action(int commandId) const;

    // The host's side of the commands.
    State CommandState(int id) const override;
    bool OnCommand(int id) override;
    void SetCommandHost(CommandHost* commandHost) override { host = commandHost; }
    void UpdateStatusPanes() override;
    QList<QAction*> CommandActions() const { return actionList; }

    // The status texts, also emitted as signals when they change.
    QString PositionText() const;
    QString LineEndStyleText() const;
    bool IsReadOnlyBuffer() const { return buffer != nullptr && buffer->IsReadOnly(); }

    // Printing: the page count and drawing of the pages for this printer.
    int PrintPageCount(QPrinter* printer) const;
    void Print(QPrinter* printer) const;
    virtual QString PrintHeaderText(int page, int pageCount) const;
    virtual QString PrintFooterText(int page, int pageCount) const;
    bool printHeader = false;
    bool printFooter = true;

    // Text positions and pixels of the text area (margin included).
    CTextPosition PositionAt(const QPoint& point) const;
    QPoint PointOf(CTextPosition position) const;

    SearchState search;

    // The colouring hook: adds the colour blocks of `line` when `blocks` is given and returns
    // the colouring state after the line, given the state before it.
    virtual int ColorizeLine(int cookie, int line, std::vector<TextColours::Block>* blocks);
    virtual QColor ColorOf(int index) const;
    // Invalid colours mean the per-character colours.
    virtual void LineColors(int line, QColor& background, QColor& text, bool& fillRow) const;
    virtual bool IsItalic(int index) const;
    virtual bool IsBold(int index) const;
    // The buffer to attach when none is given.
    virtual CTextBuffer* FindOwnBuffer();
    // Emits the position text; the source view adds its line help.
    virtual void UpdatePositionPane();

    void OnBufferChange(CTextBufferObserver* sourceView, const CTextChange* change, unsigned notice,
                        int line) override;

    // Lines whose colouring was computed since the buffer was attached, for measurements.
    long long RecolouredLines() const { return colouring.Recomputed(); }

public slots:
    // The find commands, carried out by the find and replace classes.
    virtual void OnEditFind();
    virtual void OnEditRepeat();
    virtual void OnEditFindPrevious();
    void OnFilePageSetup();
    void OnFilePrint();
    void OnFilePrintPreview();
    // A sibling pane scrolled; follow it.
    void FollowTopLine(int line);
    void FollowFirstColumn(int column);

signals:
    void positionTextChanged(const QString& text);
    void lineEndStyleChanged(const QString& style);
    void overwriteChanged(bool overwrite);
    void readOnlyChanged(bool readOnly);
    void selectionChanged();
    // For sibling panes: this pane scrolled.
    void topLineChanged(int line);
    void firstColumnChanged(int column);
    // Files dropped on the view, to open as documents.
    void filesDropped(const QStringList& paths);

protected:
    virtual void ResetState();
    // Commands: returns false for an id the view does not handle.
    virtual bool ExecuteCommand(int commandId);
    // The enabling of the commands; cheap enough for every caret move.
    virtual void UpdateActions();
    // Texts of commands that change with the buffer, updated once the events are handled.
    virtual void UpdateActionTexts() {}
    // Right click: the default menu offers Copy and Select All.
    virtual void ShowContextMenu(const QPoint& globalPos);
    virtual void DrawLine(QPainter& painter, const QRect& rect, int line);
    virtual void DrawMarginCell(QPainter& painter, const QRect& rect, int line);
    // Scrolling: sibling panes follow.
    virtual void SyncSiblingPanes(bool vertical);
    // A text drag starts from the selection; the edit view carries it out.
    virtual void StartTextDrag() {}

    QAction* AddCommand(int commandId);
    void MoveCaret(CTextPosition position, bool extend);
    void SetSelectionRaw(CTextPosition start, CTextPosition end);
    void ScrollToLine(int line);
    void ScrollToColumn(int column);
    void UpdateScrollBars();
    void InvalidateLines(int from, int to = -1);
    void CaretMoved();
    bool SelectionShown() const;
    const TextLines& Lines() const { return lines; }
    void PutOnClipboard(const std::string& text);
    // Tells the host a pane text, when the view has a host.
    void TellPane(int paneId, const QString& text);
    // The actions' states as they are now, also when an update is still scheduled.
    void EnsureActionsUpdated() const;
    CommandHost* Host() const { return host; }

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool focusNextPrevChild(bool next) override;

    CTextBuffer* buffer = nullptr;
    BufferLines lines{nullptr};
    CTextPosition caret;
    int idealColumn = 0;
    CTextPosition anchor;
    CTextPosition selStart;
    CTextPosition selEnd;
    int topLine = 0;
    int firstColumn = 0;
    int tabSize = 4;
    bool showWhitespace = false;
    bool selectionMargin = true;
    bool findDialogOpen = false;
    // A grey caret shows where a drop would land.
    bool dropCaretShown = false;
    CTextPosition dropCaretPosition;
    // The selection being dragged as text, while this view is the source of a drag.
    bool draggingText = false;
    CTextPosition draggedStart;
    CTextPosition draggedEnd;

private:
    enum class MouseDrag { None, Chars, Words, Lines, TextPending };

    void BuildActions();
    void EnsureMetrics() const;
    void AutoScroll();
    void ExtendMouseSelection(CTextPosition to);
    void ToggleNumberedBookmark(int number);
    void GoToNumberedBookmark(int number);
    void TogglePlainBookmark();
    void GoToBookmark(bool next);
    void ClearPlainBookmarks();
    void ResetCaches();
    void ScheduleActionUpdate();
    void EmitStatus();
    QRect CaretRect(CTextPosition position) const;

    CommandHost* host = nullptr;
    ColouringStates colouring;
    DisplayWidths widths;
    QHash<int, QAction*> actions;
    QList<QAction*> actionList;
    mutable std::array<QFont, 4> fonts;
    mutable int lineHeight = -1;
    mutable int charWidth = -1;
    mutable bool hasBookmarks = false;
    mutable bool bookmarksKnown = false;
    bool caretBlinkOn = true;
    QBasicTimer caretTimer;
    QBasicTimer scrollTimer;
    MouseDrag mouseDrag = MouseDrag::None;
    QPoint pressPoint;
    QPoint lastMousePoint;
    // The word clicked first while selecting word by word.
    CTextPosition wordAnchorStart;
    CTextPosition wordAnchorEnd;
    bool actionUpdatePending = false;
    QString lastPositionText;
    QString lastLineEndText;
    bool lastReadOnly = false;
};
