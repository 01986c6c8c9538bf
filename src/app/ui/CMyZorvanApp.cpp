#include "app/ui/CMyZorvanApp.h"

#include "app/CommandLine.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/ScreenshotTour.h"

CMyZorvanApp::CMyZorvanApp(int& argc, char** argv)
    : QApplication(argc, argv), shell(std::make_unique<CAppShell>()) {
}

CMyZorvanApp::~CMyZorvanApp() {
    shell.reset();
}

int CMyZorvanApp::Run(const CommandLine& commandLine) {
    const bool screenshot = !commandLine.screenshot.empty();
    shell->Start(QString::fromStdString(commandLine.file), !screenshot);
    if (screenshot) {
        auto* tour =
            new ScreenshotTour(*shell->MainFrame(), QString::fromStdString(commandLine.screenshot));
        tour->Start();
    }
    return exec();
}
