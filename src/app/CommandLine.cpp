#include "app/CommandLine.h"

CommandLine CommandLine::Parse(const std::vector<std::string>& arguments) {
    CommandLine line;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == "--help" || argument == "-h")) {
            line.help = true;
        } else if (!optionsEnded && (argument == "--version" || argument == "-v")) {
            line.version = true;
        } else if (!optionsEnded && argument == "--screenshot") {
            if (i + 1 == arguments.size()) {
                line.error = "--screenshot needs a file name";
                return line;
            }
            line.screenshot = arguments[++i];
        } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            line.error = "unknown option " + argument;
            return line;
        } else if (line.file.empty()) {
            line.file = argument;
        } else {
            line.error = "only one file can be given";
            return line;
        }
    }
    return line;
}

std::string CommandLine::Usage() {
    return "Usage: zorvan [OPTION]... [FILE.85]\n"
           "Edit, assemble and simulate 8085 programs; FILE.85 is opened at start.\n"
           "\n"
           "  -h, --help               show this help and end\n"
           "  -v, --version            show the version and end\n"
           "      --screenshot FILE    save a picture of the main window to FILE, compile and run\n"
           "                           the file, save simulator.png and led.png beside FILE, and "
           "end\n";
}
