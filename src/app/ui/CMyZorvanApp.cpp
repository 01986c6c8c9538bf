#include "app/ui/CMyZorvanApp.h"

#include "app/CommandLine.h"
#include "app/ui/CAppInfo.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/ScreenshotTour.h"

#include <cstring>

std::optional<CMyZorvanApp::Answer> CMyZorvanApp::AnswerWithoutDisplay(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            return Answer{CommandLine::Usage(), 0};
        }
        if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-v") == 0) {
            return Answer{std::string(CAppInfo::Title) + " " + CAppInfo::VersionText + "\n", 0};
        }
    }
    return std::nullopt;
}

CMyZorvanApp::CMyZorvanApp(int& argc, char** argv)
    : QApplication(argc, argv), previousBoxes(MessageBoxes::Install(&boxes)),
      shell(std::make_unique<CAppShell>()) {
}

CMyZorvanApp::~CMyZorvanApp() {
    shell.reset();
    MessageBoxes::Install(previousBoxes);
}

CommandLine CMyZorvanApp::ParseArguments() const {
    std::vector<std::string> given;
    const QStringList all = arguments();
    for (qsizetype i = 1; i < all.size(); ++i) {
        given.push_back(all[i].toStdString());
    }
    return CommandLine::Parse(given);
}

void CMyZorvanApp::Start(const CommandLine& commandLine) {
    const bool screenshot = !commandLine.screenshot.empty();
    shell->Start(QString::fromStdString(commandLine.file), !screenshot);
    if (screenshot) {
        auto* tour =
            new ScreenshotTour(*shell->MainFrame(), QString::fromStdString(commandLine.screenshot));
        tour->Start();
    }
}

int CMyZorvanApp::Run(const CommandLine& commandLine) {
    Start(commandLine);
    return exec();
}

void CMyZorvanApp::Finish() {
    shell.reset();
    shell = std::make_unique<CAppShell>();
}
