#pragma once

#include <string>
#include <vector>

// The desktop program's command line: an optional ".85" file to open, --help, --version, and
// --screenshot FILE (start without the splash, save a picture of the main window to FILE, end),
// which the documentation's pictures are made with.
struct CommandLine {
    bool help = false;
    bool version = false;
    std::string file;
    std::string screenshot;
    // Not empty when the arguments are not understood.
    std::string error;

    // `arguments` without the program's name.
    static CommandLine Parse(const std::vector<std::string>& arguments);
    static std::string Usage();
};
