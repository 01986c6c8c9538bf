#pragma once

#include "app/ui/CAppShell.h"
#include "dialogs/ui/QtMessageBoxes.h"

#include <QApplication>
#include <memory>
#include <optional>

struct CommandLine;

// The desktop program's application object: the Qt application with the program's start-up.
// main is Answer, the constructor, ParseArguments and Run; the end-to-end tests build the
// program with the same calls, Start in place of Run, and Finish between two tests.
class CMyZorvanApp : public QApplication {
    Q_OBJECT
public:
    // --help and --version, answered without a display: what to print and the exit status.
    struct Answer {
        std::string text;
        int status = 0;
    };
    static std::optional<Answer> AnswerWithoutDisplay(int argc, char** argv);

    // Message boxes are the desktop's from here on.
    CMyZorvanApp(int& argc, char** argv);
    ~CMyZorvanApp() override;

    // The command line as Qt left it (its own options, such as -platform, taken out).
    CommandLine ParseArguments() const;
    // Starts up as the command line asks: the main window with its document, the splash.
    void Start(const CommandLine& commandLine);
    // Start, then the event loop until the main window closes; the exit status.
    int Run(const CommandLine& commandLine);
    // Closes the main window and every window it owns, asking nothing; Start may follow.
    void Finish();
    CAppShell& Shell() { return *shell; }

private:
    QtMessageBoxes boxes;
    MessageBoxes* previousBoxes = nullptr;
    std::unique_ptr<CAppShell> shell;
};
