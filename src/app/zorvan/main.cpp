// zorvan: the desktop program.
#include "app/CommandLine.h"
#include "app/ui/CAppInfo.h"
#include "app/ui/CMyZorvanApp.h"
#include "editor/ui/QtMessageBoxes.h"

#include <cstring>
#include <iostream>

int main(int argc, char** argv) {
    // --help and --version answer without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::cout << CommandLine::Usage();
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-v") == 0) {
            std::cout << CAppInfo::Title << " " << CAppInfo::VersionText << "\n";
            return 0;
        }
    }
    CMyZorvanApp application(argc, argv);
    // Qt has taken its own options (-platform, -style, ...) out of the arguments by now.
    std::vector<std::string> arguments;
    const QStringList given = CMyZorvanApp::arguments();
    for (qsizetype i = 1; i < given.size(); ++i) {
        arguments.push_back(given[i].toStdString());
    }
    const CommandLine commandLine = CommandLine::Parse(arguments);
    if (!commandLine.error.empty()) {
        std::cerr << "zorvan: " << commandLine.error << "\n" << CommandLine::Usage();
        return 64;
    }
    QtMessageBoxes boxes;
    MessageBoxes* previous = MessageBoxes::Install(&boxes);
    const int status = application.Run(commandLine);
    MessageBoxes::Install(previous);
    return status;
}
