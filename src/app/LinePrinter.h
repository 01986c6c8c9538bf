#pragma once

#include "machine/Printer.h"

#include <string>

// The line printer behind the print system calls. Each text goes into a new temporary file,
// which is then handed to the printer and removed:
// - when ZORVAN_PRINT_COMMAND is set (for example "lp"), that command runs with the file's path
//   as its last argument, and PrintText waits for it;
// - otherwise the file is appended to the file or device named by ZORVAN_LPT1, by default
//   LPT1.txt in the user's data folder ($XDG_DATA_HOME/Zorvan or ~/.local/share/Zorvan).
// As with a real printer port, a printer that does not take the text is not reported.
class LinePrinter : public Printer {
public:
    void PrintText(const std::string& text) override;

    // Where the text goes when no print command is set.
    static std::string OutputPath();
};
