// Every key of the command table, pressed in the main window as a user presses it, and every key
// of the simulator window's table, pressed there and in its LED window. Each key is pressed in a
// state where its command can act; the test passes when its command ran (the main window's
// action of that id fired) and the user can see a difference. A key added to a table later is
// tested here without new code.
#include "Observation.h"
#include "Program.h"
#include "app/CMyZorvanDoc.h"
#include "app/CommandTable.h"
#include "app/ui/CChildFrame.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CMyZorvanView.h"
#include "editor/CTextBuffer.h"
#include "machine/ui/CLedWindow.h"
#include "simulator/CPaneRows.h"
#include "simulator/ui/CSimListBox.h"
#include "simulator/ui/CSimulatorDlg.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTest>

namespace CommandTable {
// The key in test output.
void PrintTo(const Accelerator& accelerator, std::ostream* out) {
    *out << accelerator.key << " -> " << accelerator.id;
}
} // namespace CommandTable

namespace {

// 80 lines: a straight run of moves, a comment, and a halt at the end.
std::string LongProgram() {
    std::string text = "; counting, for the keys\n";
    text += "start:  mvi a, 1\n";
    for (int line = 2; line < 79; ++line) {
        text += "        mov c, a            ; step " + std::to_string(line) + "\n";
    }
    text += "        hlt\n";
    return text;
}

constexpr int caretLine = 41;

std::string Name(std::string key) {
    for (char& c : key) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0) {
            c = '_';
        }
    }
    return key;
}

class KeyTable : public ProgramTest, public testing::WithParamInterface<CommandTable::Accelerator> {
protected:
    // The program with prog.85 in a window split in two panes; the active pane has a two-line
    // selection with the caret on line 41 (which carries an enabled breakpoint), an undo and a
    // redo step, bookmarks above and below, every numbered bookmark on lines 10 to 19, a last
    // search, and text on the clipboard.
    void Editing() {
        StartProgram(Write("prog.85", LongProgram()));
        Main().ActiveChildFrame()->Split(1, 2);
        CMyZorvanView& view = View();
        CTextBuffer& buffer = Document().GetTextBuffer();
        for (int line : {5, 70}) {
            buffer.ChangeLineFlag(line, CTextBuffer::LineFlagBookmark, true, false);
        }
        for (int n = 0; n < 10; ++n) {
            buffer.ChangeLineFlag(10 + n, CTextBuffer::NumberedBookmark(n), true, true);
        }
        const auto at = [&view](int charIndex, int line) {
            view.SelectRange({charIndex, line}, {charIndex, line});
        };
        at(0, caretLine);
        view.OnCommand(CommandTable::ToggleBreakpointKey);
        at(buffer.LineLength(75), 75);
        view.TypeCharacter(' ');
        view.TypeCharacter('b');
        at(buffer.LineLength(76), 76);
        view.TypeCharacter(' ');
        view.TypeCharacter('a');
        view.OnCommand(CommandTable::EditUndo);
        view.search.hasLastSearch = true;
        view.search.lastWhat = "mov";
        QApplication::clipboard()->setText(QStringLiteral("nop"));
        view.SelectRange({8, caretLine - 1}, {11, caretLine});
        view.ScrollIntoView({11, caretLine});
        Settle();
    }

    // Editing, then compiled: the simulator window is open and the main window active again.
    void SimulatorOpen() {
        Editing();
        View().OnCommand(CommandTable::CompileKey);
        Settle();
        ASSERT_NE(Simulator(), nullptr);
        Activate(&Main());
        View().setFocus(Qt::OtherFocusReason);
        View().SelectRange({8, caretLine - 1}, {11, caretLine});
        Settle();
    }

    // Presses `key` and answers whether the command with `id` fired and something changed.
    bool PressChanges(const QKeySequence& key, int id, QStringList& changes) {
        QList<int> fired;
        QAction* action = Main().Action(id);
        const auto connection =
            QObject::connect(action, &QAction::triggered, [&fired, id] { fired.append(id); });
        const Observation before = Observation::Take(Main(), modals, int(helpOpened.size()));
        const qsizetype helpBefore = helpOpened.size();
        Press(key);
        Settle();
        QObject::disconnect(connection);
        // F1 belongs to the application everywhere, dialogs included; its action has no key.
        if (id == CommandTable::HelpKey && helpOpened.size() > helpBefore) {
            fired.append(id);
        }
        changes = before.ChangesTo(Observation::Take(Main(), modals, int(helpOpened.size())));
        return !fired.isEmpty() && !changes.isEmpty();
    }
};

TEST_P(KeyTable, RunsItsCommandInTheMainWindow) {
    const CommandTable::Accelerator& accelerator = GetParam();
    const QKeySequence key(QString::fromLatin1(accelerator.key.data(),
                                               static_cast<qsizetype>(accelerator.key.size())));
    ASSERT_FALSE(key.isEmpty()) << accelerator.key;
    QStringList changes;
    Editing();
    if (PressChanges(key, accelerator.id, changes)) {
        return;
    }
    // Some keys act only on an open simulator (Shift+F5, Ctrl+F9).
    EndProgram();
    SimulatorOpen();
    EXPECT_TRUE(PressChanges(key, accelerator.id, changes))
        << accelerator.key << " (command " << accelerator.id << ") did nothing a user can see; "
        << changes.join("; ").toStdString();
}

INSTANTIATE_TEST_SUITE_P(EveryKey, KeyTable, testing::ValuesIn(CommandTable::Accelerators()),
                         [](const testing::TestParamInfo<CommandTable::Accelerator>& tested) {
                             return Name(std::string(tested.param.key)) + "_" +
                                    std::to_string(tested.index);
                         });

// ---- The simulator window ----

struct SimulatorKey {
    CSimulatorDlg::KeyBinding binding;
    QString key;
    bool inLedWindow;
};

void PrintTo(const SimulatorKey& tested, std::ostream* out) {
    *out << tested.key.toStdString() << " -> " << CSimulatorDlg::CommandText(tested.binding.command)
         << (tested.inLedWindow ? " in the LED window" : "");
}

std::vector<SimulatorKey> SimulatorKeys() {
    std::vector<SimulatorKey> all;
    for (const CSimulatorDlg::KeyBinding& binding : CSimulatorDlg::KeyTable()) {
        for (const QString& key : QString::fromLatin1(binding.keys).split(QStringLiteral("; "))) {
            all.push_back({binding, key, false});
            all.push_back({binding, key, true});
        }
    }
    return all;
}

// A call, a loop long enough to stop, and a halt.
constexpr const char* simulatorProgram = "start:  mvi a, 0\n"
                                         "        call incr\n"
                                         "        mvi b, 200\n"
                                         "loop:   inr a\n"
                                         "        dcr b\n"
                                         "        jnz loop\n"
                                         "        hlt\n"
                                         "incr:   inr a\n"
                                         "        ret\n";

class SimulatorKeyTable : public ProgramTest, public testing::WithParamInterface<SimulatorKey> {
protected:
    // Compiled, the Instructions pane's "hlt" line selected and carrying a breakpoint; the window
    // the key goes to is active.
    void Ready(bool running) {
        StartProgram(Write("sim.85", simulatorProgram));
        View().OnCommand(CommandTable::CompileKey);
        Settle();
        CSimulatorDlg* window = Simulator();
        ASSERT_NE(window, nullptr);
        Activate(window);
        CSimListBox& instructions = window->Pane(PaneKind::Instructions);
        int hlt = -1;
        for (int row = 0; row < instructions.AccessibleItemCount(); ++row) {
            if (instructions.RowText(row).contains(QStringLiteral("HLT"), Qt::CaseInsensitive)) {
                hlt = row;
                break;
            }
        }
        ASSERT_GE(hlt, 0);
        Click(&instructions, instructions.AccessibleItemRect(hlt).center());
        instructions.ToggleSelectedBreakpoint();
        if (running) {
            window->Animate();
            // As a user waits for the Stop button to light up.
            ASSERT_TRUE(WaitFor(
                [window] { return window->Action(CSimulatorDlg::Command::Stop)->isEnabled(); }));
        }
        // Animate's refreshes may raise the simulator window; the key goes to the one tested.
        if (GetParam().inLedWindow) {
            Activate(&window->LedWindow());
        } else {
            Activate(window);
        }
        if (!running) {
            Settle();
        }
    }
};

TEST_P(SimulatorKeyTable, RunsItsCommand) {
    const SimulatorKey& tested = GetParam();
    const QKeySequence key(tested.key);
    for (bool running : {false, true}) {
        Ready(running);
        CSimulatorDlg* window = Simulator();
        ASSERT_NE(window, nullptr);
        QAction* action = window->Action(tested.binding.command);
        ASSERT_NE(action, nullptr) << CSimulatorDlg::CommandText(tested.binding.command);
        bool fired = false;
        QObject::connect(action, &QAction::triggered, [&fired] { fired = true; });
        const QString captionBefore = window->windowTitle();
        const bool wasRunning = Document().IsExecuting();
        const Observation before = Observation::Take(Main(), modals, int(helpOpened.size()));
        Press(key);
        if (running) {
            // The run is stopped, whatever the key did, so that the two sides compare.
            WaitFor([this] { return !Document().IsExecuting(); }, 300);
        }
        Settle();
        const QStringList changes =
            before.ChangesTo(Observation::Take(Main(), modals, int(helpOpened.size())));
        const bool stopped = wasRunning && !Document().IsExecuting();
        if (fired && (!changes.isEmpty() || stopped || captionBefore != window->windowTitle())) {
            return;
        }
        if (running) {
            ADD_FAILURE() << tested.key.toStdString() << " ("
                          << CSimulatorDlg::CommandText(tested.binding.command) << ") in "
                          << (tested.inLedWindow ? "the LED window" : "the simulator window")
                          << " did nothing a user can see (command "
                          << (fired ? "ran" : "did not run") << ", run "
                          << (Document().IsExecuting() ? "still going" : "ended") << ")";
        }
        EndProgram();
    }
}

INSTANTIATE_TEST_SUITE_P(EveryKey, SimulatorKeyTable, testing::ValuesIn(SimulatorKeys()),
                         [](const testing::TestParamInfo<SimulatorKey>& tested) {
                             return Name(tested.param.key.toStdString()) +
                                    (tested.param.inLedWindow ? "_InLedWindow" : "_InSimulator");
                         });

} // namespace
