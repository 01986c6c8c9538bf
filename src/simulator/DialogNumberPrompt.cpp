#include "simulator/DialogNumberPrompt.h"

#include "simulator/NumberDialog.h"
#include "simulator/ParseTypedNumber.h"

#include <string>

std::atomic<int> DialogNumberPrompt::nesting{0};

bool DialogNumberPrompt::PromptForNumber(int& result, int min, int max,
                                         const std::string& promptText,
                                         const std::string& initialText,
                                         const CancelSignal& cancel) {
    int open = 0;
    if (!nesting.compare_exchange_strong(open, 1)) {
        dialog.ShowWarning("Internal Error: 101", cancel);
        return false;
    }
    // A stopped or closed run cancels the dialog rather than abandoning it, so the prompt
    // itself always gives its level back, whichever way it ends.
    struct Level {
        ~Level() { nesting.store(0); }
    } level;

    std::string text = initialText;
    for (;;) {
        auto answer = dialog.Show(promptText, text, cancel);
        if (!answer) {
            return false;
        }
        text = answer->substr(0, maxEditLength);
        const auto value = ParseTypedNumber(std::string_view(text).substr(0, parsedLength));
        if (!value) {
            dialog.ShowWarning("Invalid Number", cancel);
        } else if (*value < min || *value > max) {
            dialog.ShowWarning("Number should be within " + std::to_string(min) + " and " +
                                   std::to_string(max),
                               cancel);
        } else {
            result = *value;
            return true;
        }
    }
}
