#include "app/ui/CMyZorvanApp.h"

#include "app/CommandLine.h"
#include "app/ui/CMainFrame.h"

#include <QTimer>
#include <iostream>

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
        // Let the window lay itself out and paint before taking its picture.
        QTimer::singleShot(300, this, [this, commandLine] {
            CMainFrame* frame = shell->MainFrame();
            const bool saved =
                frame->grab().save(QString::fromStdString(commandLine.screenshot), "PNG");
            if (!saved) {
                std::cerr << "zorvan: could not write " << commandLine.screenshot << "\n";
            }
            exit(saved ? 0 : 1);
        });
    }
    return exec();
}
