#pragma once

#include "simulator/CPaneRows.h"
#include "simulator/CSimContext.h"
#include "simulator/SimSnapshot.h"

#include <QByteArray>
#include <QWidget>
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <span>

class CLedWindow;
class CRunControl;
class CSimListBox;
class QAction;
class RunSequenceGate;
class QLabel;
class QSpinBox;
class QTimer;
class QToolBar;
class QToolButton;

// The simulator window of one document: six panes, the toolbar and the keys of run control, and
// the LED window. Built by the source view after each successful compile; deletes itself once
// closed (hold it in a QPointer).
//
// Run control calls the window from the user-interface thread and from the run's worker. Each
// call takes what it needs from the machine on the calling thread (the panes get a numbered copy)
// and hands it to the user-interface thread; every update carries its number, so an update that
// arrives late never replaces a newer one. Pane edits wait until the worker has let go of the
// machine.
class CSimulatorDlg : public QWidget {
    Q_OBJECT
public:
    // Captions' suffix of the LED window.
    static constexpr const char* LedCaptionSuffix = "   LED Display ";
    // How often the LED window looks for changed cells while a program runs.
    static constexpr int LedPollMs = 50;

    CSimulatorDlg(const CSimContext& context, QWidget* parent);
    ~CSimulatorDlg() override;

    CRunControl& RunControl() { return *runControl; }
    CSimListBox& Pane(PaneKind kind) { return *panes[static_cast<std::size_t>(kind)]; }
    CLedWindow& LedWindow() { return *led; }
    bool IsLedVisible() const { return ledVisible; }
    // The window's commands: the toolbar's buttons in their order, then Stop and Close, which
    // has keys only.
    enum class Command {
        Run,
        StepInto,
        StepBack,
        StepOver,
        StepOut,
        RunToCursor,
        Stop,
        Close,
        Reset,
        Animate,
        Refresh,
        ToggleLed,
        ToggleBreakpoint,
        EnableDisableBreakpoint,
        StopAndClose
    };
    static constexpr std::size_t CommandCount = 15;
    QAction* Action(Command command) const;
    // The command's text, as its button's and its action's text.
    static const char* CommandText(Command command);
    // The counter line under the panes, its Zero button and the Animate delay control.
    QLabel& CounterLine() { return *counterLabel; }
    QToolButton& ZeroButton() { return *zeroButton; }
    QSpinBox& AnimateDelayControl() { return *animateDelay; }

    // The keys of the window and of its LED window: a command and its keys in portable text,
    // separated by "; ".
    struct KeyBinding {
        Command command;
        const char* keys;
    };
    static std::span<const KeyBinding> KeyTable();

    // The geometry the previous window of this document had when it was closed.
    void RestorePlacement(const QByteArray& placement);

public slots:
    // Refill the six panes from a copy of the machine taken now and redraw the LED window. Any
    // thread; ignored on the user-interface thread while a run's worker holds the machine.
    void RefreshAll();
    // Scroll the Instructions pane to the program counter when it is outside the lines shown.
    // During a run the worker's refreshes follow it already.
    void FollowPC();
    // The window's commands, also used by the source view.
    void Run();
    void StepInto();
    // Undoes the last instruction executed (Ctrl+Shift+F11).
    void StepBack();
    void StepOver();
    void StepOut();
    void RunToCursor(); // the selected line of the Instructions pane
    void RunToCursor(std::uint16_t address);
    void Animate();
    void Stop();
    void StopAndClose();
    // The machine as the compile left it, breakpoints kept (Ctrl+Shift+F5).
    void Reset();
    // The instruction and T-state counters under the panes back to 0.
    void ZeroCounters();
    // Closes unless executing; answers whether it closed.
    bool Close();
    // Refresh: follow the program counter, then refresh every pane.
    void Refresh();
    void ToggleLed();
    void ToggleBreakpoint();
    void EnableDisableBreakpoint();
    // Shows `address` in the Instructions pane with the shown-address marker.
    void ShowAddress(std::uint16_t address);

signals:
    // Emitted when Close succeeded, with the placement to give the next window of the document.
    void closed(QByteArray placement);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    class WindowCalls;
    friend class WindowCalls;

    void BuildToolbar();
    void BuildPanes();
    void BuildShortcuts();
    void BuildCounterBar();
    void ShowCounters(std::uint64_t instructions, std::uint64_t tStates);
    void SyncHistorySetting();
    void TakeSnapshot(bool followPc);
    void ApplySnapshot(const std::shared_ptr<const SimSnapshot>& copy, bool followPc);
    void ApplyCaption(bool running);
    void ApplyToolbar(bool executing);
    void ApplySourceLine(std::uint16_t address);
    void PollLed();
    void ShowStatusText(const std::string& text);
    bool OnGuiThread() const;
    bool EditsAllowed() const;
    // Runs `work` on the user-interface thread: now when called there, else queued.
    template <typename Work> void OnGui(Work&& work);
    QString Caption(bool running) const;

    CSimContext context;
    std::unique_ptr<WindowCalls> calls;
    std::unique_ptr<CRunControl> runControl;
    std::unique_ptr<RunSequenceGate> gate;
    std::array<CSimListBox*, 6> panes{};
    CLedWindow* led = nullptr;
    QToolBar* toolbar = nullptr;
    QTimer* ledTimer = nullptr;
    QAction* ledAction = nullptr;
    std::array<QAction*, CommandCount> actions{};
    QAction* stopAction = nullptr;
    std::array<QAction*, 11> idleActions{};
    QLabel* counterLabel = nullptr;
    QToolButton* zeroButton = nullptr;
    QSpinBox* animateDelay = nullptr;
    bool ledVisible = false;
    bool closing = false;

    // Numbers the copies of the machine in the order they were taken, on any thread.
    std::atomic<std::uint64_t> copies{0};
    std::uint64_t shownCopy = 0;
};
