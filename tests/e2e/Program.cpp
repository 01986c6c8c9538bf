#include "Program.h"

#include "app/CMyZorvanDoc.h"
#include "app/CommandLine.h"
#include "app/ui/CChildFrame.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CMyZorvanApp.h"
#include "app/ui/CMyZorvanView.h"
#include "app/ui/CSplash.h"
#include "app/ui/SourceViewSimulator.h"
#include "simulator/ui/CSimulatorDlg.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QTest>
#include <QWindow>

void ProgramTest::SetUp() {
    QApplication::clipboard()->clear();
    TheApplication().Shell().SetHelpPageCandidates(
        {QString::fromStdString(folder.Write("index.html", "<html><body>Zorvan</body></html>"))});
    TheApplication().Shell().urlOpener = [this](const QUrl& url) {
        helpOpened.append(url);
        return true;
    };
}

void ProgramTest::TearDown() {
    // The program ends as at the end of a session; nothing more is asked.
    TheApplication().Finish();
    Settle();
}

void ProgramTest::EndProgram() {
    TheApplication().Finish();
    Settle();
    modals.Clear();
}

void ProgramTest::StartProgram(const QString& file) {
    std::vector<std::string> arguments;
    if (!file.isEmpty()) {
        arguments.push_back(file.toStdString());
    }
    TheApplication().Start(CommandLine::Parse(arguments));
    // The splash goes at the first click, as it does for a user.
    const auto splash = [] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* shown = qobject_cast<CSplash*>(widget); shown && shown->isVisible()) {
                return shown;
            }
        }
        return static_cast<CSplash*>(nullptr);
    };
    if (WaitFor([&splash] { return splash() != nullptr; }, 2000)) {
        QTest::mouseClick(splash(), Qt::LeftButton);
        EXPECT_TRUE(WaitFor([&splash] { return splash() == nullptr; }));
    }
    ASSERT_NE(TheApplication().Shell().MainFrame(), nullptr);
    Activate(&Main());
    ASSERT_TRUE(WaitFor([this] { return Main().ActiveView() != nullptr; }));
    Main().ActiveView()->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(WaitFor([this] { return QApplication::focusWidget() == Main().ActiveView(); }));
}

CMainFrame& ProgramTest::Main() const {
    return *TheApplication().Shell().MainFrame();
}

CMyZorvanView& ProgramTest::View() const {
    auto* view = qobject_cast<CMyZorvanView*>(Main().ActiveView());
    EXPECT_NE(view, nullptr);
    return *view;
}

CMyZorvanDoc& ProgramTest::Document() const {
    return View().Document();
}

CSimulatorDlg* ProgramTest::Simulator() const {
    SourceViewSimulator* simulator = View().Simulator();
    return simulator != nullptr ? qobject_cast<CSimulatorDlg*>(simulator->Window()) : nullptr;
}

void ProgramTest::Press(const QKeySequence& key) {
    ASSERT_FALSE(key.isEmpty());
    const QKeyCombination combination = key[0];
    Press(combination.key(), combination.keyboardModifiers());
}

void ProgramTest::Press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    // A keyboard sends Shift+Tab as Backtab.
    if (key == Qt::Key_Tab && (modifiers & Qt::ShiftModifier)) {
        key = Qt::Key_Backtab;
    }
    // A window manager under load may still be handing the focus over: a keyboard's key goes to
    // the window the user sees active, so wait until Qt agrees on which one that is.
    WaitFor(
        [] {
            QWidget* active = QApplication::activeWindow();
            return active != nullptr && active->windowHandle() == QGuiApplication::focusWindow();
        },
        2000);
    QWindow* window = FocusWindow();
    ASSERT_NE(window, nullptr) << "no window has the focus";
    // The key may close the window it went to; its release goes where the focus is then, as
    // the keyboard's would.
    QTest::keyPress(window, key, modifiers);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (QWindow* now = QGuiApplication::focusWindow(); now != nullptr && now->isVisible()) {
        QTest::keyRelease(now, key, modifiers);
    }
}

QWindow* ProgramTest::FocusWindow() {
    if (QGuiApplication::focusWindow() == nullptr &&
        QGuiApplication::platformName() == QLatin1String("offscreen")) {
        // Without a window manager nothing gives the focus back when a window closes.
        QWidget* modal = QApplication::activeModalWidget();
        QWidget* next = modal != nullptr ? modal : TheApplication().Shell().MainFrame();
        if (next != nullptr) {
            Activate(next);
        }
    }
    return QGuiApplication::focusWindow();
}

void ProgramTest::Type(const QString& text) {
    for (const QChar c : text) {
        QWindow* window = FocusWindow();
        ASSERT_NE(window, nullptr);
        if (c == QLatin1Char('\n')) {
            QTest::keyClick(window, Qt::Key_Return);
        } else {
            QTest::keyClick(window, c.toLatin1());
        }
    }
}

void ProgramTest::Click(QWidget* widget, const QPoint& point, Qt::KeyboardModifiers modifiers) {
    QWindow* window = widget->window()->windowHandle();
    ASSERT_NE(window, nullptr);
    const QPoint inWindow = widget->mapTo(widget->window(), point);
    QTest::mouseClick(window, Qt::LeftButton, modifiers, inWindow);
}

void ProgramTest::Activate(QWidget* widget) {
    QWidget* window = widget->window();
    window->raise();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window)) << window->windowTitle().toStdString();
}

bool ProgramTest::WaitFor(const std::function<bool()>& done, int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > milliseconds) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QTest::qSleep(2);
    }
    return true;
}

void ProgramTest::Settle() {
    WaitFor([] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            for (auto* view : widget->findChildren<CMyZorvanView*>()) {
                if (view->Document().IsRunInProgress() || view->Document().IsExecuting()) {
                    return false;
                }
            }
        }
        return true;
    });
    // A stop's box comes through the event loop after the run has ended; the answers close it.
    QTest::qWait(40);
    WaitFor([] { return QApplication::activeModalWidget() == nullptr; });
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

QString ProgramTest::Write(const char* name, const std::string& content) const {
    return QString::fromStdString(folder.Write(name, content));
}

QString ProgramTest::Path(const char* name) const {
    return QString::fromStdString(folder.File(name));
}

std::string ProgramTest::Read(const QString& path) const {
    return TempFolder::Read(path.toStdString());
}
