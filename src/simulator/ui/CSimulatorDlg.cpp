#include "simulator/ui/CSimulatorDlg.h"

#include "dialogs/MessageBoxes.h"
#include "machine/C8085Object.h"
#include "machine/CMyException.h"
#include "machine/ui/CLedWindow.h"
#include "simulator/CRunControl.h"
#include "simulator/CSimulatorFlags.h"
#include "simulator/CSimulatorWindow.h"
#include "simulator/RunSequenceGate.h"
#include "simulator/SourceViewServices.h"
#include "simulator/ui/CSimListBox.h"
#include "simulator/ui/SimulatorSettings.h"
#include "simulator/ui/ToolbarIcons.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QStatusTipEvent>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

using Command = CSimulatorDlg::Command;
using Slot = void (CSimulatorDlg::*)();

// The window's commands in the order of Command, which is the toolbar's order.
struct CommandEntry {
    Command id;
    const char* text;
    const char* icon; // the picture's file in the resources
    const char* prompt;
    const char* tip;
    Slot handler; // null for Close, which answers a value
    bool groupStart;
    bool onToolbar;
};

constexpr CommandEntry commands[] = {
    {Command::Run, "Run", "run", "Run the Simulator", "Run(F5)", &CSimulatorDlg::Run, false, true},
    {Command::StepInto, "Step Into", "step-into", "Step Into the next instruction",
     "Step Into(F11)", &CSimulatorDlg::StepInto, false, true},
    {Command::StepBack, "Step Back", "step-back", "Undo the last instruction executed",
     "Step Back(F12)", &CSimulatorDlg::StepBack, false, true},
    {Command::StepOver, "Step Over", "step-over", "Step over the next instruction",
     "Step Over(F10)", &CSimulatorDlg::StepOver, false, true},
    {Command::StepOut, "Step Out", "step-out", "Steps out of the current function",
     "Step out(Shift+F11)", &CSimulatorDlg::StepOut, false, true},
    {Command::RunToCursor, "Run to Cursor", "run-to-cursor",
     "Runs the program to the current cursor position", "Run to Cursor(Ctrl+F10)",
     static_cast<Slot>(&CSimulatorDlg::RunToCursor), false, true},
    {Command::Stop, "Stop", "stop", "Stop the Simulator", "Stop", &CSimulatorDlg::Stop, true, true},
    {Command::Close, "Close", "close", "Exit from the simulator", "Close", nullptr, false, true},
    {Command::Reset, "Reset", "reset", "Start the program again as the compile left it",
     "Reset(Ctrl+F5)", &CSimulatorDlg::Reset, false, true},
    {Command::Animate, "Animate", "animate",
     "Run the simulator with short delay between each instruction", "Animate",
     &CSimulatorDlg::Animate, true, true},
    {Command::Refresh, "Refresh", "refresh", "Refresh the simulator", "Refresh",
     &CSimulatorDlg::Refresh, false, true},
    {Command::ToggleLed, "Toggle LED", "toggle-led", "Toggle LED Display", "Toggle LED Display",
     &CSimulatorDlg::ToggleLed, false, true},
    {Command::ToggleBreakpoint, "Toggle breakpoint", "toggle-breakpoint", "Toggle breakpoint",
     "Toggle breakpoint (F9)", &CSimulatorDlg::ToggleBreakpoint, true, true},
    {Command::EnableDisableBreakpoint, "Enable/Disable breakpoint", "enable-disable-breakpoint",
     "Enable/Disable breakpoint", "Enable/Disable breakpoint (Ctrl+F9)",
     &CSimulatorDlg::EnableDisableBreakpoint, false, true},
    // No button and never disabled.
    {Command::StopAndClose, "Stop and Close", "", "", "", &CSimulatorDlg::StopAndClose, false,
     false},
};
static_assert(std::size(commands) == CSimulatorDlg::CommandCount);
static_assert([] {
    for (std::size_t i = 0; i < std::size(commands); ++i) {
        if (static_cast<std::size_t>(commands[i].id) != i) {
            return false;
        }
    }
    return true;
}());

struct PaneLayout {
    PaneKind kind;
    const char* label;
    int column;
    int row;
    int rowSpan;
    int width;
};

constexpr PaneLayout paneLayouts[] = {
    {PaneKind::Instructions, "Instructions", 0, 0, 3, 230},
    {PaneKind::MemoryDump, "Memory Dump", 1, 0, 3, 110},
    {PaneKind::Registers, "Registers", 2, 0, 1, 90},
    {PaneKind::Flags, "Flags", 2, 1, 1, 90},
    {PaneKind::Stack, "Stack", 3, 0, 3, 100},
    {PaneKind::Ports, "Ports", 4, 0, 3, 80},
};

} // namespace

template <typename Work> void CSimulatorDlg::OnGui(Work&& work) {
    if (OnGuiThread()) {
        work();
    } else {
        QMetaObject::invokeMethod(this, std::forward<Work>(work), Qt::QueuedConnection);
    }
}

// Run control's side of the window. Calls arrive on the user-interface thread and on the
// worker; each is applied on the user-interface thread unless its run sequence is older than one
// already applied there.
class CSimulatorDlg::WindowCalls : public CSimulatorWindow {
public:
    explicit WindowCalls(CSimulatorDlg& window) : dlg(window) {}

    void RefreshAll(RunSequence s, Follow follow) override {
        if (dlg.OnGuiThread() && dlg.gate->RunInProgress()) {
            return; // the machine is the worker's; it refreshes the panes when it is done
        }
        auto copy = SimSnapshot::Take(*dlg.context.machine, dlg.context.breakpoints, ++dlg.copies);
        Deliver(s, [this, copy = std::move(copy), follow]() mutable {
            dlg.ApplySnapshot(copy, follow == Follow::Pc);
        });
    }
    void SetCaption(RunSequence s, bool running) override {
        Deliver(s, [this, running] { dlg.ApplyCaption(running); });
    }
    void UpdateToolbar(RunSequence s, bool executing) override {
        Deliver(s, [this, executing] { dlg.ApplyToolbar(executing); });
    }
    void FocusInstructions(RunSequence s) override {
        Deliver(s, [this] { dlg.Pane(PaneKind::Instructions).setFocus(); });
    }
    void ShowSourceLine(RunSequence s, std::uint16_t address) override {
        if (dlg.context.sourceView == nullptr) {
            return;
        }
        if (dlg.OnGuiThread()) {
            dlg.context.sourceView->ShowSourceLine(address);
            return;
        }
        // The worker cannot wait for the answer: a missing line goes to the status bar here,
        // as run control would do with the exception.
        Deliver(s, [this, address] { dlg.ApplySourceLine(address); });
    }
    void ShowStatusText(RunSequence s, const std::string& text) override {
        Deliver(s, [this, text] { dlg.ShowStatusText(text); });
    }
    void ShowException(RunSequence s, const std::string& message) override {
        Deliver(s, [message] {
            MessageBoxes::Tell("Exception", message, MessageBoxes::Icon::Warning);
        });
    }
    void RequestClose(RunSequence) override {
        QMetaObject::invokeMethod(
            &dlg, [this] { dlg.Close(); }, Qt::QueuedConnection);
    }
    void RunStarted(RunSequence s) override {
        dlg.OnGui([this, s] { dlg.gate->Started(s); });
    }
    void RunEnded(RunSequence s) override {
        dlg.OnGui([this, s] { dlg.gate->Ended(s); });
    }
    void ShowBreakpoints(RunSequence s) override {
        if (dlg.context.breakpoints == nullptr) {
            return;
        }
        Deliver(s, [this, list = dlg.context.breakpoints->GetBreakpoints()]() mutable {
            dlg.Pane(PaneKind::Instructions).ShowBreakpointList(std::move(list));
        });
    }

private:
    template <typename Work> void Deliver(RunSequence s, Work&& work) {
        dlg.OnGui([this, s, work = std::forward<Work>(work)]() mutable {
            if (dlg.gate->Accept(s)) {
                work();
            }
        });
    }

    CSimulatorDlg& dlg;
};

CSimulatorDlg::CSimulatorDlg(const CSimContext& simContext, QWidget* parent)
    : QWidget(parent, Qt::Window), context(simContext) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName("simulator");
    gate = std::make_unique<RunSequenceGate>();
    calls = std::make_unique<WindowCalls>(*this);
    runControl = std::make_unique<CRunControl>(*context.machine, *context.breakpoints,
                                               *context.flags, *calls);
    led = new CLedWindow(*context.machine, this);
    ledTimer = new QTimer(this);
    ledTimer->setInterval(LedPollMs);
    connect(ledTimer, &QTimer::timeout, this, &CSimulatorDlg::PollLed);
    connect(led, &CLedWindow::closedByUser, this, [this] {
        ledVisible = false;
        ledAction->setChecked(false);
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 4);
    BuildToolbar();
    layout->addWidget(toolbar);
    BuildPanes();
    BuildCounterBar();
    BuildShortcuts();
    runControl->SetHistoryEnabled(SimulatorSettings::StepBackHistory());

    ApplyCaption(false);
    ToggleLed();
    ApplyToolbar(false);
    context.flags->SetSimulatorOpen(true);
    // Twice, so that the first fill's marks against an empty pane are gone.
    RefreshAll();
    RefreshAll();
    led->RefreshIfChanged(true);
    resize(760, 490);
}

CSimulatorDlg::~CSimulatorDlg() {
    // The worker may still call this window until it has ended.
    runControl.reset();
}

bool CSimulatorDlg::OnGuiThread() const {
    return QThread::currentThread() == thread();
}

void CSimulatorDlg::BuildToolbar() {
    toolbar = new QToolBar(this);
    toolbar->setObjectName("toolbar");
    toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolbar->setIconSize(QSize(24, 24));
    std::size_t idle = 0;
    for (const CommandEntry& command : commands) {
        if (!command.onToolbar) {
            continue;
        }
        if (command.groupStart) {
            toolbar->addSeparator();
        }
        QAction* action = toolbar->addAction(ToolbarIcon(command.icon), command.text);
        action->setToolTip(command.tip);
        action->setStatusTip(command.prompt);
        action->setShortcutContext(Qt::WindowShortcut);
        if (command.handler != nullptr) {
            connect(action, &QAction::triggered, this, command.handler);
        } else {
            connect(action, &QAction::triggered, this, [this] { Close(); });
        }
        actions[static_cast<std::size_t>(command.id)] = action;
        if (command.id == Command::Stop) {
            stopAction = action;
        } else if (command.id == Command::ToggleLed) {
            ledAction = action;
            action->setCheckable(true);
        } else if (command.id != Command::Refresh) {
            idleActions[idle++] = action;
        }
    }
}

std::span<const CSimulatorDlg::KeyBinding> CSimulatorDlg::KeyTable() {
    // Shift and Ctrl choose among F5, F10 and F11: Ctrl makes F10 Run to Cursor, Shift makes F11
    // Step Out and F5 Stop and Close; the other of the two leaves the plain key's command
    // (Ctrl+F5 has no stated command: it is Reset's). Alt with a function key is left to the
    // desktop. Step Back and Reset have keys that leave every stated one as it is.
    static constexpr KeyBinding table[] = {
        {Command::Run, "F5"},
        {Command::StepInto, "F11; Ctrl+F11"},
        {Command::StepBack, "F12"},
        {Command::StepOver, "F10; Shift+F10"},
        {Command::StepOut, "Shift+F11; Ctrl+Shift+F11"},
        {Command::RunToCursor, "Ctrl+F10; Ctrl+Shift+F10"},
        {Command::Stop, "Ctrl+Pause; Ctrl+Shift+Pause"},
        {Command::StopAndClose, "Shift+F5; Ctrl+Shift+F5"},
        {Command::Reset, "Ctrl+F5"},
        {Command::ToggleBreakpoint, "F9"},
        {Command::EnableDisableBreakpoint, "Ctrl+F9"},
    };
    return table;
}

void CSimulatorDlg::BuildShortcuts() {
    for (const CommandEntry& command : commands) {
        if (!command.onToolbar) {
            auto* action = new QAction(command.text, this);
            connect(action, &QAction::triggered, this, command.handler);
            addAction(action);
            actions[static_cast<std::size_t>(command.id)] = action;
        }
    }
    for (const KeyBinding& binding : KeyTable()) {
        QAction* action = Action(binding.command);
        QList<QKeySequence> keys;
        for (const QString& key : QString::fromLatin1(binding.keys).split(QStringLiteral("; "))) {
            keys.append(QKeySequence::fromString(key, QKeySequence::PortableText));
        }
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        // The LED window is a window of its own: the keys work there too.
        led->addAction(action);
    }
}

void CSimulatorDlg::BuildPanes() {
    auto* grid = new QGridLayout;
    grid->setSpacing(4);
    for (const auto& pane : paneLayouts) {
        auto* box = new CSimListBox(pane.kind, context, this);
        box->setObjectName(pane.label);
        box->setAccessibleName(pane.label);
        box->setMinimumWidth(pane.width);
        box->SetEditsAllowed([this] { return EditsAllowed(); });
        box->SetRefreshAll([this] { RefreshAll(); });
        connect(box, &CSimListBox::statusPrompt, this,
                [this](const QString& text) { ShowStatusText(text.toStdString()); });
        connect(box, &CSimListBox::pcChanged, this, &CSimulatorDlg::FollowPC);
        connect(box, &CSimListBox::resetRequested, this, &CSimulatorDlg::Reset);
        panes[static_cast<std::size_t>(pane.kind)] = box;
        auto* label = new QLabel(pane.label, this);
        label->setBuddy(box);
        auto* cell = new QVBoxLayout;
        cell->setSpacing(1);
        cell->addWidget(label);
        cell->addWidget(box, 1);
        grid->addLayout(cell, pane.row, pane.column, pane.rowSpan, 1);
    }
    auto& registers = Pane(PaneKind::Registers);
    registers.setFixedHeight(12 * registers.RowHeight() + 2);
    auto& flagPane = Pane(PaneKind::Flags);
    flagPane.setFixedHeight(5 * flagPane.RowHeight() + 2);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(4, 1);
    static_cast<QVBoxLayout*>(layout())->addLayout(grid, 1);
    // The Stack pane starts at the stack pointer; the rows decide that themselves.
    Pane(PaneKind::Instructions).setFocus();
}

void CSimulatorDlg::BuildCounterBar() {
    auto* bar = new QHBoxLayout;
    bar->setSpacing(6);
    counterLabel = new QLabel(this);
    counterLabel->setObjectName("counters");
    counterLabel->setAccessibleName("Counters");
    counterLabel->setText(QString::fromStdString(SimSnapshot::CounterText(0, 0)));
    zeroButton = new QToolButton(this);
    zeroButton->setText("Zero");
    zeroButton->setAccessibleName("Zero the counters");
    zeroButton->setToolTip("Set the instruction and T-state counters to 0");
    connect(zeroButton, &QToolButton::clicked, this, &CSimulatorDlg::ZeroCounters);
    auto* delayLabel = new QLabel("Animate delay", this);
    animateDelay = new QSpinBox(this);
    animateDelay->setObjectName("animateDelay");
    animateDelay->setAccessibleName("Animate delay");
    animateDelay->setToolTip("Pause after each instruction of Animate");
    animateDelay->setRange(CRunControl::MinAnimateDelayMs, CRunControl::MaxAnimateDelayMs);
    animateDelay->setSingleStep(50);
    animateDelay->setSuffix(" ms");
    animateDelay->setValue(SimulatorSettings::AnimateDelayMs());
    delayLabel->setBuddy(animateDelay);
    runControl->SetAnimateDelay(animateDelay->value());
    connect(animateDelay, &QSpinBox::valueChanged, this, [this](int milliseconds) {
        // Read by the worker at its next step, so a running Animate follows at once.
        runControl->SetAnimateDelay(milliseconds);
        SimulatorSettings::SetAnimateDelayMs(milliseconds);
    });
    bar->addWidget(counterLabel);
    bar->addWidget(zeroButton);
    bar->addStretch(1);
    bar->addWidget(delayLabel);
    bar->addWidget(animateDelay);
    static_cast<QVBoxLayout*>(layout())->addLayout(bar);
}

QAction* CSimulatorDlg::Action(Command command) const {
    return actions[static_cast<std::size_t>(command)];
}

const char* CSimulatorDlg::CommandText(Command command) {
    return commands[static_cast<std::size_t>(command)].text;
}

QString CSimulatorDlg::Caption(bool running) const {
    return QString::fromStdString(CRunControl::CaptionText(context.title, running));
}

bool CSimulatorDlg::EditsAllowed() const {
    return !gate->RunInProgress() && !context.flags->IsRunInProgress() &&
           !context.flags->IsExecuting();
}

void CSimulatorDlg::RestorePlacement(const QByteArray& placement) {
    if (!placement.isEmpty()) {
        restoreGeometry(placement);
    }
}

// Refreshes asked by the user or the source view (user-interface thread).

void CSimulatorDlg::RefreshAll() {
    if (gate->RunInProgress()) {
        // The worker hands over a copy at its next instruction boundary.
        runControl->RequestRefresh();
        return;
    }
    TakeSnapshot(false);
}

void CSimulatorDlg::FollowPC() {
    if (gate->RunInProgress()) {
        return;
    }
    Pane(PaneKind::Instructions)
        .ShowSnapshot(SimSnapshot::Take(*context.machine, context.breakpoints, ++copies), true);
}

void CSimulatorDlg::TakeSnapshot(bool followPc) {
    ApplySnapshot(SimSnapshot::Take(*context.machine, context.breakpoints, ++copies), followPc);
}

void CSimulatorDlg::ApplySnapshot(const std::shared_ptr<const SimSnapshot>& copy, bool followPc) {
    if (copy->sequence <= shownCopy) {
        return;
    }
    shownCopy = copy->sequence;
    for (PaneKind kind : {PaneKind::MemoryDump, PaneKind::Registers, PaneKind::Flags,
                          PaneKind::Instructions, PaneKind::Stack, PaneKind::Ports}) {
        Pane(kind).ShowSnapshot(copy, followPc && kind == PaneKind::Instructions);
    }
    ShowCounters(copy->instructionCount, copy->tStateCount);
    led->RefreshIfChanged(false);
}

void CSimulatorDlg::ApplyCaption(bool running) {
    setWindowTitle(Caption(running));
    led->setWindowTitle(Caption(running) + LedCaptionSuffix);
    if (running) {
        ledTimer->start();
    } else {
        ledTimer->stop();
        PollLed();
    }
}

void CSimulatorDlg::ApplyToolbar(bool executing) {
    stopAction->setEnabled(executing);
    for (QAction* action : idleActions) {
        action->setEnabled(!executing);
    }
    zeroButton->setEnabled(!executing);
}

void CSimulatorDlg::ShowCounters(std::uint64_t instructions, std::uint64_t tStates) {
    counterLabel->setText(QString::fromStdString(SimSnapshot::CounterText(instructions, tStates)));
}

void CSimulatorDlg::ApplySourceLine(std::uint16_t address) {
    try {
        context.sourceView->ShowSourceLine(address);
    } catch (const CMyException& e) {
        context.sourceView->ShowStatusText(e.GetMessage());
    }
}

void CSimulatorDlg::ShowStatusText(const std::string& text) {
    if (context.sourceView != nullptr) {
        context.sourceView->ShowStatusText(text);
    }
}

// Commands.

void CSimulatorDlg::SyncHistorySetting() {
    // The Preferences dialog may have switched it since the last command.
    runControl->SetHistoryEnabled(SimulatorSettings::StepBackHistory());
}

void CSimulatorDlg::Run() {
    SyncHistorySetting();
    runControl->Run();
}

void CSimulatorDlg::StepInto() {
    SyncHistorySetting();
    runControl->StepInto(true);
}

void CSimulatorDlg::StepBack() {
    SyncHistorySetting();
    runControl->StepBack();
}

void CSimulatorDlg::Reset() {
    runControl->Reset();
}

void CSimulatorDlg::ZeroCounters() {
    if (!EditsAllowed()) {
        return;
    }
    context.machine->ZeroCounters();
    ShowCounters(0, 0);
}

void CSimulatorDlg::StepOver() {
    SyncHistorySetting();
    runControl->StepOver();
}

void CSimulatorDlg::StepOut() {
    SyncHistorySetting();
    runControl->StepOut();
}

void CSimulatorDlg::RunToCursor() {
    RunToCursor(Pane(PaneKind::Instructions).Rows().SelectedAddress());
}

void CSimulatorDlg::RunToCursor(std::uint16_t address) {
    SyncHistorySetting();
    runControl->RunToCursor(address);
}

void CSimulatorDlg::Animate() {
    SyncHistorySetting();
    runControl->Animate();
}

void CSimulatorDlg::Stop() {
    runControl->Stop();
}

void CSimulatorDlg::StopAndClose() {
    runControl->StopAndClose();
}

bool CSimulatorDlg::Close() {
    return close();
}

void CSimulatorDlg::Refresh() {
    FollowPC();
    RefreshAll();
}

void CSimulatorDlg::ToggleLed() {
    ledVisible = !ledVisible;
    ledAction->setChecked(ledVisible);
    led->setVisible(ledVisible);
}

void CSimulatorDlg::ToggleBreakpoint() {
    Pane(PaneKind::Instructions).ToggleSelectedBreakpoint();
}

void CSimulatorDlg::EnableDisableBreakpoint() {
    Pane(PaneKind::Instructions).EnableDisableSelectedBreakpoint();
}

void CSimulatorDlg::ShowAddress(std::uint16_t address) {
    Pane(PaneKind::Instructions).ShowAddress(address);
}

void CSimulatorDlg::PollLed() {
    led->RefreshIfChanged(false);
}

void CSimulatorDlg::closeEvent(QCloseEvent* event) {
    if (closing) {
        event->accept();
        return;
    }
    if (context.flags->IsExecuting() || !runControl->Close()) {
        event->ignore();
        return;
    }
    closing = true;
    ledTimer->stop();
    led->hide();
    emit closed(saveGeometry());
    event->accept();
}

bool CSimulatorDlg::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        if (!tip.isEmpty()) {
            ShowStatusText(tip.toStdString());
        }
        return true;
    }
    return QWidget::event(event);
}
