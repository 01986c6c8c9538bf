#pragma once

#include "simulator/NumberDialog.h"

#include <cstdio>

// The number prompt on a terminal: the prompt and the value it starts from go to `err`, the
// answer is one line read from the descriptor `in`. An empty line takes the value shown; the end
// of input cancels. Warnings go to `err` as well.
class TerminalNumberDialog : public NumberDialog {
public:
    TerminalNumberDialog(int inFd, std::FILE* errStream) : in(inFd), err(errStream) {}

    std::optional<std::string> Show(const std::string& promptText, const std::string& text,
                                    const CancelSignal& cancel) override;
    void ShowWarning(const std::string& message, const CancelSignal& cancel) override;

private:
    static constexpr std::size_t keptLength = 4096; // longer answers are cut; the rest is read

    int in;
    std::FILE* err;
};
