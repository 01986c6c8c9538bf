#include "simulator/ui/CSimListBox.h"

#include "dialogs/MessageBoxes.h"
#include "machine/C8085Object.h"
#include "machine/CMyException.h"
#include "simulator/CBreakpointList.h"
#include "simulator/CSimulatorFlags.h"
#include "simulator/InstructionWalk.h"
#include "simulator/PaneEdits.h"
#include "simulator/SourceViewServices.h"
#include "simulator/ui/CEnterInstructionDlg.h"
#include "simulator/ui/CValueDlg.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>

namespace {

const QColor changedColour(200, 0, 0);
const QColor pcFill(0, 200, 0);
const QColor shownFill(0, 236, 236);
const QColor breakpointFill(98, 0, 0);
constexpr int glyphSize = 10;
constexpr int breakpointSize = 11;

// A triangle pointing right with its left edge's middle at `at`.
void DrawTriangle(QPainter& painter, QPoint at, const QColor& fill, const QColor& outline) {
    const QPoint corners[3] = {{at.x(), at.y() - glyphSize / 2},
                               {at.x(), at.y() + glyphSize / 2},
                               {at.x() + glyphSize, at.y()}};
    painter.setPen(QPen(outline, 1));
    painter.setBrush(fill);
    painter.drawPolygon(corners, 3);
}

} // namespace

CSimListBox::CSimListBox(PaneKind kind, const CSimContext& simContext, QWidget* parent)
    : QWidget(parent), context(simContext), rows(kind), scrollBar(new QScrollBar(this)) {
    AccessibleItems::Install(); // before anything makes Qt build this widget's accessible object
    QFont font("Courier");
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    setFont(font);
    rowHeight = fontMetrics().height() + 3;
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    if (rows.TopLimit() == 0) {
        scrollBar->hide();
    }
    scrollBar->setRange(0, rows.TopLimit());
    connect(scrollBar, &QScrollBar::actionTriggered, this, &CSimListBox::OnScrollAction);
    rows.SetRowCount(1);
}

QString CSimListBox::RowText(int row) const {
    return QString::fromStdString(rows.Rows()[static_cast<std::size_t>(row)].text);
}

bool CSimListBox::RunInProgress() const {
    return context.flags != nullptr && context.flags->IsRunInProgress();
}

bool CSimListBox::CanEdit() const {
    return context.machine != nullptr && !RunInProgress() &&
           (context.flags == nullptr || !context.flags->IsExecuting()) &&
           (!editsAllowed || editsAllowed());
}

std::shared_ptr<const SimSnapshot> CSimListBox::TakeSnapshot() const {
    return SimSnapshot::Take(*context.machine, context.breakpoints, rows.Snapshot().sequence);
}

void CSimListBox::ShowSnapshot(std::shared_ptr<const SimSnapshot> copy, bool followPc) {
    const std::uint16_t pc = copy->pc;
    rows.SetSnapshot(std::move(copy), !followPc);
    if (followPc && !rows.FollowPC(pc)) {
        rows.Refresh();
    }
    Changed(true);
}

void CSimListBox::ShowBreakpointList(std::vector<BreakpointEntry> list) {
    rows.SetSnapshot(rows.Snapshot().WithBreakpoints(std::move(list)), false);
    Changed(true);
}

void CSimListBox::ShowAddress(std::uint16_t address) {
    rows.ShowAddress(address);
    Changed(true);
}

void CSimListBox::Changed(bool changed) {
    if (!changed) {
        return;
    }
    SyncScrollBar();
    update();
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void CSimListBox::SyncScrollBar() {
    syncingScrollBar = true;
    scrollBar->setPageStep(rows.RowCount());
    scrollBar->setRange(0, std::max(0, rows.TopLimit() - rows.RowCount() + 1));
    scrollBar->setValue(rows.FirstAddress());
    syncingScrollBar = false;
}

void CSimListBox::OnScrollAction(int action) {
    if (syncingScrollBar) {
        return;
    }
    // The scroll bar only asks; the rows decide where they can go.
    if (RunInProgress()) {
        QMetaObject::invokeMethod(this, &CSimListBox::SyncScrollBar, Qt::QueuedConnection);
        return;
    }
    bool changed = false;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        changed = rows.ScrollLineDown();
        break;
    case QAbstractSlider::SliderSingleStepSub:
        changed = rows.ScrollLineUp();
        break;
    case QAbstractSlider::SliderPageStepAdd:
        changed = rows.PageDown();
        break;
    case QAbstractSlider::SliderPageStepSub:
        changed = rows.PageUp();
        break;
    case QAbstractSlider::SliderMove: {
        const int to = scrollBar->sliderPosition();
        if (to != rows.FirstAddress()) {
            const auto first = rows.Kind() == PaneKind::Instructions && to > 0
                                   ? InstructionWalk::InstructionBefore(
                                         rows.Snapshot(), static_cast<std::uint16_t>(to + 1))
                                   : static_cast<std::uint16_t>(to);
            rows.Refill(first, false);
            changed = true;
        }
        break;
    }
    default:
        break;
    }
    Changed(changed);
    QMetaObject::invokeMethod(this, &CSimListBox::SyncScrollBar, Qt::QueuedConnection);
}

void CSimListBox::resizeEvent(QResizeEvent*) {
    const int barWidth = scrollBar->isHidden() ? 0 : scrollBar->sizeHint().width();
    scrollBar->setGeometry(width() - barWidth, 0, barWidth, height());
    rows.SetRowCount(std::max(1, height() / rowHeight));
    Changed(true);
}

void CSimListBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int textWidth = width() - (scrollBar->isHidden() ? 0 : scrollBar->width());
    for (int row = 0; row < rows.RowCount(); ++row) {
        DrawRow(painter, row, QRect(0, row * rowHeight, textWidth, rowHeight));
    }
}

void CSimListBox::DrawRow(QPainter& painter, int row, const QRect& rect) {
    const auto& record = rows.Rows()[static_cast<std::size_t>(row)];
    const bool selected = row == rows.SelectedRow();
    const bool focused = selected && hasFocus();
    painter.fillRect(rect, focused ? palette().highlight() : palette().base());
    if (selected) {
        painter.setPen(QPen(palette().text().color(), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
    const bool instructions = rows.Kind() == PaneKind::Instructions;
    const int margin = instructions                          ? InstructionsMargin
                       : rows.Kind() == PaneKind::MemoryDump ? 3
                                                             : 0;
    if (instructions) {
        painter.setRenderHint(QPainter::Antialiasing, true);
        const int middle = rect.top() + rect.height() / 2;
        if (rows.IsShownRow(row)) {
            DrawTriangle(painter, {rect.left(), middle}, shownFill, shownFill);
        }
        const auto breakpoint = rows.BreakpointOf(row);
        if (breakpoint != CPaneRows::Breakpoint::None) {
            painter.setPen(QPen(breakpointFill, 1));
            painter.setBrush(breakpoint == CPaneRows::Breakpoint::Enabled ? QBrush(breakpointFill)
                                                                          : QBrush(Qt::NoBrush));
            painter.drawEllipse(QRect(rect.left() + 12, middle - breakpointSize / 2, breakpointSize,
                                      breakpointSize));
        }
        if (rows.IsPcRow(row)) {
            DrawTriangle(painter, {rect.left() + 25, middle}, pcFill, Qt::black);
        }
        painter.setRenderHint(QPainter::Antialiasing, false);
    }
    QColor colour = focused ? palette().highlightedText().color() : palette().text().color();
    if (!instructions && record.changed && !focused) {
        colour = changedColour;
    }
    painter.setPen(colour);
    const QRect textRect = rect.adjusted(margin + (instructions ? 5 : 2), 0, 0, 0);
    painter.setClipRect(rect.adjusted(margin, 0, 0, 0));
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, RowText(row));
    painter.setClipping(false);
}

void CSimListBox::keyPressEvent(QKeyEvent* event) {
    if (RunInProgress()) {
        event->ignore();
        return;
    }
    const bool keypad = (event->modifiers() & Qt::KeypadModifier) != 0;
    bool changed = false;
    switch (event->key()) {
    case Qt::Key_Up:
        changed = rows.LineUp();
        break;
    case Qt::Key_Down:
        changed = rows.LineDown();
        break;
    case Qt::Key_PageUp:
        changed = rows.PageUp();
        break;
    case Qt::Key_PageDown:
        changed = rows.PageDown();
        break;
    case Qt::Key_End:
        changed = rows.End();
        break;
    case Qt::Key_Home:
        changed = rows.Home();
        break;
    case Qt::Key_G:
        JumpToAddress();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Modify();
        return;
    case Qt::Key_Plus:
    case Qt::Key_Minus:
        if (!keypad) {
            QWidget::keyPressEvent(event);
            return;
        }
        StepSelected(event->key() == Qt::Key_Plus ? 1 : -1);
        return;
    case Qt::Key_Menu:
        ShowContextMenu(mapToGlobal(QPoint(width() / 2, rows.SelectedRow() * rowHeight)));
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    Changed(changed);
}

void CSimListBox::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    const int row = static_cast<int>(event->position().y()) / rowHeight;
    Changed(rows.Select(std::min(row, rows.RowCount() - 1)));
    update();
}

void CSimListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
    if (!RunInProgress()) {
        Modify();
    }
}

void CSimListBox::wheelEvent(QWheelEvent* event) {
    // The wheel is not a scroll command of these panes: scrolling by it would race the rows'
    // own positioning rules.
    event->accept();
}

void CSimListBox::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void CSimListBox::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

void CSimListBox::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Mouse) {
        setFocus(Qt::MouseFocusReason);
        const int row = event->pos().y() / rowHeight;
        rows.Select(std::min(row, rows.RowCount() - 1));
    }
    update();
    ShowContextMenu(event->globalPos());
}

void CSimListBox::ShowContextMenu(const QPoint& at) {
    const bool instructions = rows.Kind() == PaneKind::Instructions;
    const bool executing = context.flags != nullptr && context.flags->IsExecuting();
    QMenu menu(this);
    auto add = [&](const QString& text, const QString& prompt, bool enabled, auto slot) {
        QAction* action = menu.addAction(text, this, slot);
        action->setEnabled(enabled);
        action->setStatusTip(prompt);
        connect(action, &QAction::hovered, this, [this, prompt] {
            if (!prompt.isEmpty()) {
                emit statusPrompt(prompt);
            }
        });
        return action;
    };
    add("&Modify", "You can also use the return key or double click to Modify", !executing,
        &CSimListBox::Modify);
    add("&Toggle Breakpoint", "You can also press F9 to toggle breakpoints", instructions,
        &CSimListBox::ToggleSelectedBreakpoint);
    add("Enable/Disable Breakpoints", "",
        instructions && rows.Snapshot().BreakpointAt(rows.SelectedAddress()) != nullptr,
        &CSimListBox::EnableDisableSelectedBreakpoint);
    menu.addSeparator();
    add("&Show Source", "Show Source line corresponding to this instrcution", instructions,
        &CSimListBox::ShowSource);
    add("&Help on.....", "", instructions, [] {});
    if (instructions) {
        menu.addSeparator();
        add("&Reset", "Start the program again as the compile left it", !executing,
            &CSimListBox::resetRequested);
    }
    menu.exec(at);
}

void CSimListBox::RefillAfterEdit() {
    if (refreshAll) {
        refreshAll();
        return;
    }
    rows.SetSnapshot(TakeSnapshot());
    Changed(true);
}

void CSimListBox::ShowBreakpoints() {
    // Only the markers change: the other panes keep their change marks.
    if (context.machine != nullptr) {
        rows.SetSnapshot(TakeSnapshot());
        Changed(true);
    }
}

QRect CSimListBox::AccessibleItemRect(int item) const {
    return QRect(0, item * rowHeight, width(), rowHeight);
}

void CSimListBox::Modify() {
    if (!CanEdit() || rows.SelectedRow() >= rows.SelectableRows()) {
        return;
    }
    C8085Object& machine = *context.machine;
    const int row = rows.SelectedRow();
    const std::uint16_t address = rows.SelectedAddress();
    switch (rows.Kind()) {
    case PaneKind::Instructions: {
        const auto offered = PaneEdits::InstructionEditPrompt(machine, address);
        CEnterInstructionDlg dialog(QString::fromStdString(offered.instruction),
                                    QString::fromStdString(offered.location), this);
        if (dialog.exec() == QDialog::Accepted) {
            const auto error = PaneEdits::AssembleInstruction(
                machine, dialog.Location().toStdString(), dialog.Instruction().toStdString());
            if (error) {
                MessageBoxes::Tell(error->caption, error->message,
                                   error->caption == "Error" ? MessageBoxes::Icon::Error
                                                             : MessageBoxes::Icon::Warning);
            }
        }
        RefillAfterEdit();
        return;
    }
    case PaneKind::Flags:
        PaneEdits::ToggleFlag(machine, row);
        RefillAfterEdit();
        return;
    case PaneKind::MemoryDump:
    case PaneKind::Registers:
    case PaneKind::Stack:
    case PaneKind::Ports: {
        const auto prompt = PaneEdits::ModifyPrompt(rows.Kind(), machine, row, address);
        if (!prompt) {
            return;
        }
        if (const auto value =
                CValueDlg::Ask(this, prompt->prompt, prompt->initial, prompt->min, prompt->max)) {
            PaneEdits::StoreValue(rows.Kind(), machine, row, address, *value);
        }
        RefillAfterEdit();
        if (rows.Kind() == PaneKind::Registers) {
            const auto follow = PaneEdits::AfterRegisterEdit(row);
            if (follow == PaneEdits::FollowUp::Stack) {
                emit stackChanged();
            } else if (follow == PaneEdits::FollowUp::Instructions) {
                emit pcChanged();
            }
        }
        return;
    }
    default:
        return;
    }
}

void CSimListBox::StepSelected(int delta) {
    if (!CanEdit()) {
        return;
    }
    const int row = rows.SelectedRow();
    if (!PaneEdits::StepValue(rows.Kind(), *context.machine, row, rows.SelectedAddress(), delta)) {
        return;
    }
    RefillAfterEdit();
    if (rows.Kind() == PaneKind::Registers) {
        const auto follow = PaneEdits::AfterRegisterEdit(row);
        if (follow == PaneEdits::FollowUp::Stack) {
            emit stackChanged();
        } else if (follow == PaneEdits::FollowUp::Instructions) {
            emit pcChanged();
        }
    }
}

void CSimListBox::JumpToAddress() {
    if (RunInProgress() || rows.TopLimit() == 0) {
        return;
    }
    if (const auto value = CValueDlg::Ask(this, "Enter a Valid Address", "0", 0, rows.TopLimit())) {
        Changed(rows.JumpTo(*value));
    }
}

void CSimListBox::ToggleSelectedBreakpoint() {
    if (rows.Kind() != PaneKind::Instructions || RunInProgress()) {
        return;
    }
    const std::uint16_t address = rows.SelectedAddress();
    if (context.sourceView != nullptr) {
        context.sourceView->ToggleBreakpointAt(address);
    } else if (context.breakpoints != nullptr) {
        context.breakpoints->ToggleBreakpoint(address, -1);
    }
    ShowBreakpoints();
}

void CSimListBox::EnableDisableSelectedBreakpoint() {
    if (rows.Kind() != PaneKind::Instructions || RunInProgress()) {
        return;
    }
    const std::uint16_t address = rows.SelectedAddress();
    if (context.sourceView != nullptr) {
        context.sourceView->EnableDisableBreakpointAt(address);
    } else if (context.breakpoints != nullptr && context.breakpoints->HasBreakpoint(address)) {
        context.breakpoints->SetBreakpointEnabled(
            address, context.breakpoints->IsBreakpointEnabled(address) ? 0 : 1);
    }
    ShowBreakpoints();
}

void CSimListBox::ShowSource() {
    if (rows.Kind() != PaneKind::Instructions || context.sourceView == nullptr) {
        return;
    }
    try {
        context.sourceView->ShowSourceLine(rows.SelectedAddress());
    } catch (const CMyException& e) {
        MessageBoxes::Tell("Zorvan", e.GetMessage(), MessageBoxes::Icon::Warning);
    }
}
