// zorvan: the desktop program. The end-to-end tests build it with the same calls.
#include "app/CommandLine.h"
#include "app/ui/CMyZorvanApp.h"

#include <iostream>

int main(int argc, char** argv) {
    if (const auto answer = CMyZorvanApp::AnswerWithoutDisplay(argc, argv)) {
        std::cout << answer->text;
        return answer->status;
    }
    CMyZorvanApp application(argc, argv);
    const CommandLine commandLine = application.ParseArguments();
    if (!commandLine.error.empty()) {
        std::cerr << "zorvan: " << commandLine.error << "\n" << CommandLine::Usage();
        return 64;
    }
    return application.Run(commandLine);
}
