#pragma once

#include "machine/Printer.h"

#include <string>

// The line printer behind the print system calls. Each text goes into a new temporary file,
// whose name is removed at once (nothing is left behind, even if the program is killed), which
// is then handed to the printer:
// - when ZORVAN_PRINT_COMMAND is set (for example "lp"), that command runs with the text on its
//   standard input and "/dev/stdin" as its last argument, and PrintText waits for it;
// - otherwise the text is appended to the file, FIFO or device named by ZORVAN_LPT1, by default
//   LPT1.txt in the user's data folder ($XDG_DATA_HOME/Zorvan or ~/.local/share/Zorvan, as the
//   XDG rules have it: only an absolute path counts). Without either, printing fails with code
//   30 and nothing is written.
// As with a real printer port, a printer that cannot be opened is not reported; a reader that
// goes away while the text is being written is (code 30), and never kills the process.
//
// Every wait ends when `cancel` fires: a FIFO waiting for its reader or a device with no room
// (nothing more is written; PrintText returns false), and the print command (the command goes on
// printing and is reaped once it ends; PrintText returns true, since the
// text was handed over).
class LinePrinter : public Printer {
public:
    bool PrintText(const std::string& text, const CancelSignal& cancel) override;
    // Without a way to cancel.
    void PrintText(const std::string& text);

    // Where the text goes when no print command is set; throws code 30 when the user has no
    // data folder and ZORVAN_LPT1 is not set.
    static std::string OutputPath();
};
