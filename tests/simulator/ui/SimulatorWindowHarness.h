#pragma once

// A document for the simulator window tests: machine with devices (the desktop's number prompt,
// recording fakes for the rest), breakpoints, flags, a recording source view, and the window.

#include "machine/C8085Object.h"
#include "machine/SystemCalls.h"
#include "machine/SystemCallsFakes.h"
#include "simulator/CBreakpointList.h"
#include "simulator/CSimulatorFlags.h"
#include "simulator/DialogNumberPrompt.h"
#include "simulator/SourceViewServices.h"
#include "simulator/ui/CSimListBox.h"
#include "simulator/ui/CSimulatorDlg.h"
#include "simulator/ui/QtNumberDialog.h"
#include "support/RecordingMessageBoxes.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <deque>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

class RecordingSourceView : public SourceViewServices {
public:
    void ShowSourceLine(std::uint16_t address) override { lines.push_back(address); }
    void ShowStatusText(const std::string& text) override { status.push_back(text); }
    void ToggleBreakpointAt(std::uint16_t address) override { toggled.push_back(address); }
    void EnableDisableBreakpointAt(std::uint16_t) override {}

    std::vector<std::uint16_t> lines;
    std::vector<std::string> status;
    std::vector<std::uint16_t> toggled;
};

// Answers the modal dialogs the window opens, in order: a text is typed into the dialog's first
// edit field and accepted; std::nullopt cancels.
class DialogAnswers : public QObject {
public:
    DialogAnswers() {
        timer.setInterval(5);
        connect(&timer, &QTimer::timeout, this, [this] { AnswerOpenDialog(); });
        timer.start();
    }
    void Add(std::optional<QString> answer) { answers.push_back(std::move(answer)); }
    bool Done() const { return answers.empty(); }

    std::vector<QString> prompts; // the text each answered dialog offered

private:
    void AnswerOpenDialog() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || answers.empty()) {
            return;
        }
        auto answer = answers.front();
        answers.pop_front();
        auto* edit = dialog->findChild<QLineEdit*>();
        prompts.push_back(edit != nullptr ? edit->text() : QString());
        if (!answer) {
            dialog->reject();
            return;
        }
        edit->setText(*answer);
        dialog->accept();
    }

    QTimer timer;
    std::deque<std::optional<QString>> answers;
};

class SimulatorDocument : public CBreakpointList {
public:
    SimulatorDocument() : prompt(numberDialog), calls({prompt, beeper, delay, serial, printer}) {
        machine.SetSystemCallHandler(&calls);
        context.machine = &machine;
        context.breakpoints = this;
        context.flags = &flags;
        context.sourceView = &sourceView;
        context.title = "test.85";
    }
    ~SimulatorDocument() override {
        if (window) {
            flags.SetExecuting(false);
            delete window.data();
        }
    }

    C8085Object& GetMachine() override { return machine; }

    void Load(std::initializer_list<int> bytes, std::uint16_t at = 0) {
        for (int byte : bytes) {
            machine.memory[at++] = static_cast<std::uint8_t>(byte);
        }
        machine.Start();
    }

    CSimulatorDlg& Open() {
        window = new CSimulatorDlg(context, nullptr);
        window->show();
        window->activateWindow();
        [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(window);
        return *window;
    }
    CSimListBox& Pane(PaneKind kind) { return window->Pane(kind); }
    QString Row(PaneKind kind, int row) { return Pane(kind).RowText(row); }
    bool RowChanged(PaneKind kind, int row) {
        return Pane(kind).Rows().Rows()[static_cast<std::size_t>(row)].changed;
    }
    bool Idle() const { return !flags.IsExecuting() && !flags.IsRunInProgress(); }
    // Waits until a run has ended and its last window calls have arrived.
    bool WaitIdle() {
        return QTest::qWaitFor([this] {
            return Idle() && window->Action(CSimulatorDlg::Command::Run)->isEnabled() &&
                   window->windowTitle().endsWith("[READY]");
        });
    }

    RecordingMessageBoxes boxes;
    QtNumberDialog numberDialog;
    DialogNumberPrompt prompt;
    FakeBeeper beeper;
    FakeDelay delay;
    FakeSerial serial;
    FakePrinter printer;
    SystemCalls calls;
    C8085Object machine;
    CSimulatorFlags flags;
    RecordingSourceView sourceView;
    CSimContext context;
    QPointer<CSimulatorDlg> window;
};
