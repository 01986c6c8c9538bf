#include "simulator/DialogNumberPrompt.h"

#include "simulator/NumberDialog.h"
#include "simulator/ParseTypedNumber.h"

#include <string>

std::atomic<int> DialogNumberPrompt::nesting{0};

void DialogNumberPrompt::ReleaseNesting() {
    int open = nesting.load();
    while (open > 0 && !nesting.compare_exchange_weak(open, open - 1)) {
    }
}

bool DialogNumberPrompt::PromptForNumber(int& result, int min, int max,
                                         const std::string& promptText,
                                         const std::string& initialText,
                                         const CancelSignal& cancel) {
    int open = 0;
    if (!nesting.compare_exchange_strong(open, 1)) {
        dialog.ShowWarning("Internal Error: 101");
        return false;
    }
    // Releases the nesting level whichever way this prompt ends, unless someone already released
    // it on our behalf.
    struct Level {
        ~Level() { ReleaseNesting(); }
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
            dialog.ShowWarning("Invalid Number");
        } else if (*value < min || *value > max) {
            dialog.ShowWarning("Number should be within " + std::to_string(min) + " and " +
                               std::to_string(max));
        } else {
            result = *value;
            return true;
        }
    }
}
