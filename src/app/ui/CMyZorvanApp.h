#pragma once

#include "app/ui/CAppShell.h"

#include <QApplication>
#include <memory>

struct CommandLine;

// The desktop program's application object: the Qt application with the program's start-up.
class CMyZorvanApp : public QApplication {
    Q_OBJECT
public:
    CMyZorvanApp(int& argc, char** argv);
    ~CMyZorvanApp() override;

    // Starts up as the command line asks and runs until the main window closes; the exit status.
    int Run(const CommandLine& commandLine);
    CAppShell& Shell() { return *shell; }

private:
    std::unique_ptr<CAppShell> shell;
};
