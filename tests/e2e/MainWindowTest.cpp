// The main window and the simulator window as a user meets them.
#include "Program.h"
#include "app/CMyZorvanDoc.h"
#include "app/CommandTable.h"
#include "app/ui/CChildFrame.h"
#include "app/ui/CDocumentHolder.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CMyZorvanView.h"
#include "editor/ui/CommandTarget.h"
#include "machine/ui/CLedWindow.h"
#include "simulator/CPaneRows.h"
#include "simulator/ui/CSimListBox.h"
#include "simulator/ui/CSimulatorDlg.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace {

using namespace CommandTable;

class MainWindow : public ProgramTest {
protected:
    QToolBar& Toolbar() { return *Main().findChild<QToolBar*>(); }
    bool ButtonEnabled(int id) { return Toolbar().widgetForAction(Main().Action(id))->isEnabled(); }

    // The text of an Edit menu item as the menu shows it, opened with Alt+E.
    QString EditMenuItem(int id) {
        Press(Qt::Key_E, Qt::AltModifier);
        QMenu* menu = nullptr;
        WaitFor([&menu] {
            menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            return menu != nullptr && menu->isVisible();
        });
        if (menu == nullptr) {
            ADD_FAILURE() << "Alt+E opened no menu";
            return {};
        }
        QString text;
        for (QAction* item : menu->actions()) {
            if (item == Main().Action(id)) {
                text = item->text();
            }
        }
        Press(Qt::Key_Escape);
        WaitFor([] { return QApplication::activePopupWidget() == nullptr; });
        return text;
    }

    static bool UnderX() { return QGuiApplication::platformName() == QLatin1String("xcb"); }
};

TEST_F(MainWindow, UndoAndRedoNameTheirActionInTheMenu) {
    StartProgram(Write("undo.85", "        mvi a, 1\n"));
    EXPECT_EQ(EditMenuItem(EditUndo), "&Undo\tCtrl+Z");
    // Select "mvi" with Shift+Ctrl+Right from the word's start, cut it with Ctrl+X.
    Press(Qt::Key_Home);
    Press(Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    Press(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(EditMenuItem(EditUndo), "&Undo Cut\tCtrl+Z");
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Main().Action(EditRedo)->text(), "&Redo Cut\tCtrl+Y");
    EXPECT_EQ(EditMenuItem(EditUndo), "&Undo\tCtrl+Z");
    Press(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(EditMenuItem(EditUndo), "&Undo Cut\tCtrl+Z");
}

TEST_F(MainWindow, OverwritePaneReadsInsOrOvr) {
    StartProgram();
    EXPECT_EQ(Main().PaneText(StatusPane::Overwrite), "INS");
    Press(Qt::Key_Insert);
    EXPECT_EQ(Main().PaneText(StatusPane::Overwrite), "OVR");
    Press(Qt::Key_Insert);
    EXPECT_EQ(Main().PaneText(StatusPane::Overwrite), "INS");
}

TEST_F(MainWindow, BookmarkButtonsFollowTheKeysAtOnce) {
    StartProgram(Write("marks.85", "nop\nnop\nnop\n"));
    for (int id : {BookmarkNext, BookmarkPrevious, BookmarkClearAll}) {
        EXPECT_FALSE(ButtonEnabled(id)) << id;
    }
    Press(Qt::Key_F2, Qt::ControlModifier);
    for (int id : {BookmarkNext, BookmarkPrevious, BookmarkClearAll}) {
        EXPECT_TRUE(ButtonEnabled(id)) << id;
    }
    Press(Qt::Key_F2, Qt::ControlModifier | Qt::ShiftModifier);
    for (int id : {BookmarkNext, BookmarkPrevious, BookmarkClearAll}) {
        EXPECT_FALSE(ButtonEnabled(id)) << id;
    }
}

TEST_F(MainWindow, EveryToolbarButtonHasAnAccessibleName) {
    StartProgram();
    QStringList names;
    for (QAction* action : Toolbar().actions()) {
        if (action->isSeparator()) {
            continue;
        }
        QWidget* button = Toolbar().widgetForAction(action);
        ASSERT_NE(button, nullptr);
        const QString name = QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name);
        EXPECT_FALSE(name.isEmpty()) << "button of command " << action->data().toInt();
        names.append(name);
    }
    EXPECT_EQ(names.size(), 21);
    for (const char* expected :
         {"Build (F7)", "Disassembly", "Redo", "Find Next", "Find Previous", "Toggle Bookmark",
          "Next Bookmark", "Previous Bookmark", "Clear All Bookmarks", "Edit Preferences"}) {
        EXPECT_TRUE(names.contains(expected)) << expected;
    }
}

TEST_F(MainWindow, LockPanesAreRightFromStartUp) {
    if (!UnderX()) {
        GTEST_SKIP() << "the lock keys need an X server";
    }
    const auto toggle = [](const char* key) {
        return QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), key}) == 0;
    };
    if (!toggle("Caps_Lock")) {
        GTEST_SKIP() << "xdotool is not installed";
    }
    StartProgram();
    const QString caps = Main().PaneText(StatusPane::CapsLock);
    toggle("Caps_Lock");
    EndProgram();
    StartProgram();
    const QString noCaps = Main().PaneText(StatusPane::CapsLock);
    // One of the two starts had Caps Lock on, the other off, whatever the server had before.
    EXPECT_NE(caps, noCaps);
    EXPECT_TRUE(QStringList({caps, noCaps}).contains("CAP"));
    EXPECT_TRUE(QStringList({caps, noCaps}).contains(""));
    toggle("Num_Lock");
    EndProgram();
    StartProgram();
    const QString num = Main().PaneText(StatusPane::NumLock);
    toggle("Num_Lock");
    EndProgram();
    StartProgram();
    EXPECT_NE(num, Main().PaneText(StatusPane::NumLock));
}

TEST_F(MainWindow, FilesDroppedOnTheTextOpenAsDocuments) {
    StartProgram(Write("first.85", "nop\n"));
    const QString dropped = Write("dropped.85", "        hlt\n");
    QWidget* text = View().viewport();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(dropped)});
    const QPoint at = text->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(text, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDragMoveEvent move(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(text, &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(text, &drop);
    Settle();
    ASSERT_EQ(Main().Documents().size(), 2);
    EXPECT_EQ(Main().Documents().back()->Title(), "dropped.85");
    EXPECT_EQ(Main().windowTitle(), "Zorvan - [dropped.85]");
    EXPECT_EQ(std::string(Document().GetTextBuffer().LineText(0), 11), "        hlt");
}

TEST_F(MainWindow, SaveAsAsksBeforeReplacingTheFileItWouldWrite) {
    const QString existing = Write("prog.85", "        hlt\n");
    StartProgram();
    Type("nop");
    // "prog" typed: the dialog adds ".85" and asks about prog.85; No keeps it.
    modals.Queue([this](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->setDirectory(QString::fromStdString(folder.path.string()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), "prog");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    modals.Queue(ModalAnswers::Click("&No"));
    Press(Qt::Key_F, Qt::AltModifier);
    WaitFor([] { return QApplication::activePopupWidget() != nullptr; });
    Press(Qt::Key_A); // Save As
    Settle();
    ASSERT_GE(modals.seen.size(), 2);
    EXPECT_EQ(modals.seen[0].kind, "QFileDialog");
    EXPECT_EQ(modals.seen[1].kind, "QMessageBox");
    EXPECT_TRUE(modals.seen[1].text.contains("prog.85")) << modals.seen[1].text.toStdString();
    EXPECT_EQ(Read(existing), "        hlt\n");
    EXPECT_TRUE(Main().Documents().front()->PathName().isEmpty());
}

TEST_F(MainWindow, SaveAsOntoAFileAnotherWindowHasOpenIsRefused) {
    const QString first = Write("first.85", "        hlt\n");
    StartProgram(first);
    Press(Qt::Key_N, Qt::ControlModifier);
    Type("nop");
    ASSERT_EQ(Main().Documents().size(), 2);
    CMainFrame::FileDialogs dialogs;
    dialogs.save = [first](QWidget*, const QString&) { return first; };
    Main().SetFileDialogs(dialogs);
    modals.Queue(ModalAnswers::Click("OK"));
    Main().RunCommand(FileSaveAs);
    Settle();
    ASSERT_EQ(modals.seen.size(), 1);
    EXPECT_TRUE(modals.seen[0].text.contains(QFileInfo(first).fileName()))
        << modals.seen[0].text.toStdString();
    EXPECT_EQ(Read(first), "        hlt\n");
    EXPECT_TRUE(Document().IsModified());
}

// ---- The simulator window ----

constexpr const char* callProgram = "start:  call incr\n"
                                    "        hlt\n"
                                    "incr:   inr a\n"
                                    "        ret\n";

TEST_F(MainWindow, ShiftF10StepsOverAndCtrlF11StepsIntoInTheSimulator) {
    StartProgram(Write("call.85", callProgram));
    Press(Qt::Key_F7);
    Settle();
    ASSERT_NE(Simulator(), nullptr);
    Activate(Simulator());
    Press(Qt::Key_F10, Qt::ShiftModifier);
    Settle();
    EXPECT_EQ(Document().GetMachine().pc, 3) << "the call as a whole";
    EXPECT_EQ(Document().GetMachine().a, 1);
    Simulator()->Close();
    Settle();
    Activate(&Main());
    View().setFocus();
    Press(Qt::Key_F7);
    Settle();
    ASSERT_NE(Simulator(), nullptr);
    Activate(Simulator());
    Press(Qt::Key_F11, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(Document().GetMachine().pc, 4) << "into the call";
    EXPECT_EQ(Document().GetMachine().a, 0);
}

TEST_F(MainWindow, TheLedWindowHandsTheRunKeysToItsSimulator) {
    StartProgram(Write("call.85", callProgram));
    Press(Qt::Key_F7);
    Settle();
    ASSERT_NE(Simulator(), nullptr);
    Activate(&Simulator()->LedWindow());
    Press(Qt::Key_F11);
    Settle();
    EXPECT_EQ(Document().GetMachine().pc, 4);
    Press(Qt::Key_F11, Qt::ShiftModifier);
    Settle();
    EXPECT_EQ(Document().GetMachine().pc, 3) << "Step Out returned from the call";
    Press(Qt::Key_F5, Qt::ShiftModifier);
    Settle();
    EXPECT_EQ(Simulator(), nullptr) << "Shift+F5 stopped and closed the simulator";
}

} // namespace
