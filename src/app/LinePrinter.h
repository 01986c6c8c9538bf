#pragma once

#include "machine/Printer.h"

#include <string>

// The line printer behind the print system calls. Each text goes into a new temporary file,
// which is then handed to the printer:
// - when ZORVAN_PRINT_COMMAND is set (for example "lp"), that command runs with the file's path
//   as its last argument, and PrintText waits for it; the file is removed when it has ended;
// - otherwise the file is appended to the file, FIFO or device named by ZORVAN_LPT1, by default
//   LPT1.txt in the user's data folder ($XDG_DATA_HOME/Zorvan or ~/.local/share/Zorvan).
// As with a real printer port, a printer that cannot be opened is not reported; a reader that
// goes away while the text is being written is (code 30), and never kills the process.
//
// Every wait ends when `cancel` fires: a FIFO waiting for its reader or a device with no room
// (nothing more is written; PrintText returns false), and the print command (the command goes on
// printing, it is reaped and its file removed once it ends; PrintText returns true, since the
// text was handed over).
class LinePrinter : public Printer {
public:
    bool PrintText(const std::string& text, const CancelSignal& cancel) override;
    // Without a way to cancel.
    void PrintText(const std::string& text);

    // Where the text goes when no print command is set.
    static std::string OutputPath();
};
