#pragma once

#include <string>

class CancelSignal;

// The keyboard of the simulated machine: asks the user for a number between min and max.
class NumberPrompt {
public:
    virtual ~NumberPrompt() = default;

    // Returns true with `result` set when the user accepted a number in range; false when the
    // user cancelled, the prompt was refused, or `cancel` fired (the caller tells these apart by
    // asking `cancel`). Must return promptly once `cancel` fires.
    virtual bool PromptForNumber(int& result, int min, int max, const std::string& promptText,
                                 const std::string& initialText, const CancelSignal& cancel) = 0;
};
