#include "app/runner/TerminalNumberDialog.h"

#include "machine/CancelSignal.h"

#include <cerrno>
#include <unistd.h>

std::optional<std::string> TerminalNumberDialog::Show(const std::string& promptText,
                                                      const std::string& text,
                                                      const CancelSignal& cancel) {
    std::fprintf(err, "%s [%s]: ", promptText.c_str(), text.c_str());
    std::fflush(err);
    std::string line;
    bool gotAny = false;
    for (;;) {
        if (!cancel.WaitReadable(in)) {
            std::fputc('\n', err);
            return std::nullopt;
        }
        // One byte at a time, so that the next prompt finds the next line still unread.
        char c = 0;
        const auto got = read(in, &c, 1);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        if (got <= 0) {
            if (!gotAny) {
                std::fputc('\n', err);
                return std::nullopt; // end of input: the user cancels
            }
            break;
        }
        gotAny = true;
        if (c == '\n') {
            break;
        }
        if (line.size() < keptLength) {
            line.push_back(c);
        }
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    if (isatty(in) == 0) {
        std::fprintf(err, "%s\n", line.c_str()); // a transcript reads like the terminal did
    }
    return line.empty() ? text : line;
}

void TerminalNumberDialog::ShowWarning(const std::string& message, const CancelSignal&) {
    std::fprintf(err, "Zorvan: %s\n", message.c_str());
    std::fflush(err);
}
