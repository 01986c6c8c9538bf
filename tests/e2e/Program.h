#pragma once

#include "ModalAnswers.h"
#include "support/TempFolder.h"

#include <QKeySequence>
#include <QList>
#include <QString>
#include <QUrl>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

// Texts in test output.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

class CMainFrame;
class CMyZorvanApp;
class CMyZorvanDoc;
class CMyZorvanView;
class CSimulatorDlg;
class QWindow;

// The application object of the test process, built by E2eMain as main builds it.
CMyZorvanApp& TheApplication();

// One run of the desktop program as a user has it: started by the calls main makes, with a
// command line, and driven by key and mouse events sent to the window that has the focus, so
// that keys pass through Qt's shortcut map as real keys do. Modal windows are answered by
// `modals`; the help page launch is recorded instead of starting a browser. Everything is written
// in the test's own folder.
class ProgramTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // `zorvan <file>`, or `zorvan` with an empty file. The splash is clicked away.
    void StartProgram(const QString& file = {});
    // The program ends as at the end of a session, asking nothing; the answers are forgotten.
    void EndProgram();

    CMainFrame& Main() const;
    // The view with the focus in the active document window.
    CMyZorvanView& View() const;
    CMyZorvanDoc& Document() const;
    // The active document's simulator window, or null.
    CSimulatorDlg* Simulator() const;

    // A key as the keyboard sends it, to the window with the focus.
    void Press(const QKeySequence& key);
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void Type(const QString& text);
    // The window keys go to.
    QWindow* FocusWindow();
    // A click at `point` of `widget`, through its window.
    void Click(QWidget* widget, const QPoint& point, Qt::KeyboardModifiers modifiers = {});
    // Makes `widget`'s window the active one, as a click on its title would.
    void Activate(QWidget* widget);

    // Runs the event loop until `done` or the time is up; whether `done`.
    static bool WaitFor(const std::function<bool()>& done, int milliseconds = 5000);
    // Until the program is quiet: no run going on, deferred deletions done.
    void Settle();

    QString Write(const char* name, const std::string& content) const;
    QString Path(const char* name) const;
    std::string Read(const QString& path) const;

    TempFolder folder;
    ModalAnswers modals;
    QList<QUrl> helpOpened;
};
