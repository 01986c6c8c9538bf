#pragma once

#include "machine/NumberPrompt.h"

#include <atomic>
#include <cstddef>

class NumberDialog;

// The number prompt of the keyboard system calls: asks through a NumberDialog until the user
// gives a valid number within range or cancels. Only one prompt may be open in the process at a
// time; a second one is refused with "Internal Error: 101".
class DialogNumberPrompt : public NumberPrompt {
public:
    explicit DialogNumberPrompt(NumberDialog& numberDialog) : dialog(numberDialog) {}

    bool PromptForNumber(int& result, int min, int max, const std::string& promptText,
                         const std::string& initialText, const CancelSignal& cancel) override;

    // Prompts open in the process right now.
    static int OpenPrompts() { return nesting.load(); }

private:
    static constexpr std::size_t maxEditLength = 1023;
    static constexpr std::size_t parsedLength = 127;

    NumberDialog& dialog;
    static std::atomic<int> nesting;
};
