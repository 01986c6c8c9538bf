// What a student does with the program, from the keyboard and the mouse.
#include "Program.h"
#include "app/CMyZorvanDoc.h"
#include "app/CommandTable.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CMyZorvanView.h"
#include "editor/CTextBuffer.h"
#include "simulator/CPaneRows.h"
#include "simulator/SourceLineFlags.h"
#include "simulator/ui/CSimListBox.h"
#include "simulator/ui/CSimulatorDlg.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

namespace {

// The text of the focus widget's line edit in a modal dialog, typed as keys, then Enter.
ModalAnswers::Answer TypeIntoDialog(const QString& text) {
    return [text](QWidget* modal) {
        auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        if (qobject_cast<QFileDialog*>(modal) != nullptr) {
            edit = modal->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        } else if (edit == nullptr || edit->window() != modal) {
            edit = modal->findChild<QLineEdit*>();
        }
        ASSERT_NE(edit, nullptr) << modal->metaObject()->className();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    };
}

// What a screen reader reads from every row of a pane.
QStringList SpokenRows(QWidget* pane) {
    QStringList rows;
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(pane);
    if (accessible == nullptr) {
        return rows;
    }
    for (int child = 0; child < accessible->childCount(); ++child) {
        rows.append(accessible->child(child)->text(QAccessible::Name));
    }
    return rows;
}

class StudentFlow : public ProgramTest {};

TEST_F(StudentFlow, TypesAProgramFixesItsErrorAndRunsItToTheHalt) {
    StartProgram();
    Type("\tmvi a, 5\nadd q\nadd a\nhlt\n");
    EXPECT_EQ(Document().GetTextBuffer().LineCount(), 5);

    // F7 on a new document: the save question, then the file dialog, then the error box.
    const QString path = Path("first.85");
    modals.Queue(ModalAnswers::Click("&Yes"));
    modals.Queue(TypeIntoDialog(path));
    modals.Queue(ModalAnswers::Click("OK"));
    Press(Qt::Key_F7);
    Settle();
    ASSERT_EQ(modals.seen.size(), 3) << "question, file dialog, error";
    EXPECT_EQ(modals.seen[2].kind, "QMessageBox");
    EXPECT_TRUE(modals.seen[2].text.startsWith("Line - 2 Column - "))
        << modals.seen[2].text.toStdString();
    EXPECT_TRUE(modals.seen[2].text.endsWith("\n\nPress OK to goto source"));
    EXPECT_EQ(Simulator(), nullptr);
    EXPECT_EQ(Main().windowTitle(), "Zorvan - [first.85]");
    EXPECT_EQ(View().GetCursorPos().line, 1) << "OK puts the caret on the error";

    // The fix, at the caret: the wrong register goes, the right one comes.
    Press(Qt::Key_End);
    Press(Qt::Key_Backspace);
    Type("b");
    EXPECT_EQ(std::string(Document().GetTextBuffer().LineText(1), 6), "\tadd b");

    modals.Clear();
    modals.Queue(ModalAnswers::Click("&Yes"));
    Press(Qt::Key_F7);
    Settle();
    ASSERT_NE(Simulator(), nullptr) << "compiled after saving";
    EXPECT_NE(Read(path).find("add b"), std::string::npos);

    // F5 in the source window runs to the halt; the box says so.
    Activate(&Main());
    modals.Clear();
    modals.Queue(ModalAnswers::Click("OK"));
    Press(Qt::Key_F5);
    Settle();
    ASSERT_EQ(modals.seen.size(), 1);
    EXPECT_EQ(modals.seen[0].title, "Exception");
    EXPECT_TRUE(modals.seen[0].text.contains("Halt")) << modals.seen[0].text.toStdString();

    // A = 5 + 0 + 5 = 10, read as a screen reader reads the Registers pane.
    const QStringList registers = SpokenRows(&Simulator()->Pane(PaneKind::Registers));
    ASSERT_FALSE(registers.isEmpty());
    EXPECT_TRUE(registers.filter(QRegularExpression("^A\\b.*(0A|10)")).size() == 1)
        << registers.join(" | ").toStdString();
}

TEST_F(StudentFlow, MarksALineWithF9AndRunsToTheCursor) {
    std::string program;
    for (int line = 0; line < 8; ++line) {
        program += "        inr a\n";
    }
    program += "        hlt\n";
    StartProgram(Write("marks.85", program));
    CMyZorvanView& view = View();
    // A click on line 3, F9, then a click on line 6 and Ctrl+F10.
    Click(view.viewport(), view.PointOf({2, 2}) + QPoint(2, view.LineHeight() / 2));
    EXPECT_EQ(view.GetCursorPos().line, 2);
    Press(Qt::Key_F9);
    EXPECT_NE(Document().GetTextBuffer().LineFlags(2) & LineFlagBreakpoint, 0u);
    Click(view.viewport(), view.PointOf({2, 5}) + QPoint(2, view.LineHeight() / 2));
    Press(Qt::Key_F10, Qt::ControlModifier);
    Settle();
    ASSERT_NE(Simulator(), nullptr) << "Run to Cursor compiles first";
    // The breakpoint comes first: A has been incremented twice.
    EXPECT_EQ(Document().GetMachine().a, 2);
    EXPECT_NE(Document().GetTextBuffer().LineFlags(2) & LineFlagExecution, 0u);
    Activate(&Main());
    View().SetCaretPosition({0, 5});
    Press(Qt::Key_F10, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(Document().GetMachine().a, 5);
    EXPECT_NE(Document().GetTextBuffer().LineFlags(5) & LineFlagExecution, 0u);
    EXPECT_EQ(Document().GetTextBuffer().LineFlags(2) & LineFlagExecution, 0u);
}

TEST_F(StudentFlow, FindsReplacesAndUndoesFromTheKeyboard) {
    StartProgram(Write("find.85", "        mvi a, 1\n        mov b, a\n        mov c, a\n"));
    CTextBuffer& text = Document().GetTextBuffer();
    modals.Queue(TypeIntoDialog("mov"));
    Press(Qt::Key_F, Qt::ControlModifier);
    Settle();
    ASSERT_EQ(modals.seen.size(), 1);
    EXPECT_EQ(modals.seen[0].title, "Find");
    // The Find dialog selected the first match; F3 goes on to the next.
    EXPECT_EQ(View().GetCursorPos().line, 1);
    Press(Qt::Key_F3);
    EXPECT_EQ(View().GetCursorPos().line, 2);

    // Replace every "mov" by "MOV" with Ctrl+H: find text, Tab, replacement, Replace All. The
    // caret first goes to the text's start, so that the whole file is searched.
    Press(Qt::Key_Home, Qt::ControlModifier);
    modals.Queue([](QWidget* modal) {
        QTest::keyClicks(QApplication::focusWidget(), "mov");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClicks(QApplication::focusWidget(), "MOV");
        QTest::keyClick(modal->windowHandle(), Qt::Key_A, Qt::AltModifier);
        // A button's key presses it visibly first: its click comes a moment later.
        QTimer::singleShot(300, modal, [modal] { ModalAnswers::Dismiss(modal); });
    });
    Press(Qt::Key_H, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(std::string(text.LineText(1), size_t(text.LineLength(1))), "        MOV b, a");
    EXPECT_EQ(std::string(text.LineText(2), size_t(text.LineLength(2))), "        MOV c, a");

    // Undo from the keyboard, both keys: a replacement undoes in two steps, its insertion and
    // its deletion, the last one first.
    const auto line = [&text](int index) {
        return std::string(text.LineText(index), size_t(text.LineLength(index)));
    };
    Press(Qt::Key_Z, Qt::ControlModifier);
    Press(Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(line(1), "        MOV b, a");
    EXPECT_EQ(line(2), "        mov c, a");
    Press(Qt::Key_Z, Qt::ControlModifier);
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(line(1), "        mov b, a");
    EXPECT_EQ(Main().Action(CommandTable::EditRedo)->text(), "&Redo Delete Selection\tCtrl+Y");
}

} // namespace
