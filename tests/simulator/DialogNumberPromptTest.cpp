#include "simulator/DialogNumberPrompt.h"

#include "machine/CancelSignal.h"
#include "simulator/NumberDialog.h"

#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

// Answers from a script; records what it was shown.
struct ScriptedDialog : NumberDialog {
    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> shownTexts;
    std::vector<std::string> warnings;
    std::function<void()> onShow;

    std::optional<std::string> Show(const std::string& promptText, const std::string& text,
                                    const CancelSignal&) override {
        EXPECT_EQ(promptText, "Type a number");
        shownTexts.push_back(text);
        if (onShow) {
            onShow();
        }
        if (answers.empty()) {
            return std::nullopt;
        }
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void ShowWarning(const std::string& message, const CancelSignal&) override {
        warnings.push_back(message);
    }
};

TEST(DialogNumberPrompt, AsksUntilAValidNumberInRangeOrCancel) {
    struct Row {
        const char* name;
        int min, max;
        std::vector<std::optional<std::string>> answers;
        std::optional<int> result; // nullopt: the prompt returns false
        std::vector<std::string> warnings;
        std::vector<std::string> shownTexts;
    };
    // Only the first 127 characters are parsed: a bad digit at 127 counts, one at 128 not.
    const std::string badWithin = std::string(126, '0') + "91";
    const std::string badBeyond = std::string(127, '0') + "9";
    const Row rows[] = {
        {"first answer", 0, 15, {"0x5"}, 5, {}, {"0x0000"}},
        {"cancel", 0, 15, {std::nullopt}, std::nullopt, {}, {"0x0000"}},
        {"invalid then out of range then valid",
         0,
         15,
         {"abc", "16", "-1", "017"},
         15,
         {"Invalid Number", "Number should be within 0 and 15", "Number should be within 0 and 15"},
         {"0x0000", "abc", "16", "-1"}},
        {"empty is invalid",
         0,
         255,
         {"", std::nullopt},
         std::nullopt,
         {"Invalid Number"},
         {"0x0000", ""}},
        {"range bounds",
         0,
         65535,
         {"65536", "0xffff"},
         65535,
         {"Number should be within 0 and 65535"},
         {"0x0000", "65536"}},
        {"negative range",
         -10,
         -2,
         {"-1", "-10"},
         -10,
         {"Number should be within -10 and -2"},
         {"0x0000", "-1"}},
        {"only 127 characters are read",
         0,
         15,
         {badWithin, badBeyond},
         0,
         {"Invalid Number"},
         {"0x0000", badWithin}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedDialog dialog;
        dialog.answers.assign(row.answers.begin(), row.answers.end());
        DialogNumberPrompt prompt(dialog);
        CancelSignal cancel;
        int result = -12345;
        const bool accepted =
            prompt.PromptForNumber(result, row.min, row.max, "Type a number", "0x0000", cancel);
        EXPECT_EQ(accepted, row.result.has_value());
        EXPECT_EQ(result, row.result.value_or(-12345));
        EXPECT_EQ(dialog.warnings, row.warnings);
        EXPECT_EQ(dialog.shownTexts, row.shownTexts);
        EXPECT_EQ(DialogNumberPrompt::OpenPrompts(), 0);
    }
}

TEST(DialogNumberPrompt, ASecondPromptWhileOneIsOpenIsRefused) {
    ScriptedDialog outerDialog;
    ScriptedDialog innerDialog;
    DialogNumberPrompt outer(outerDialog);
    DialogNumberPrompt inner(innerDialog);
    CancelSignal cancel;
    bool innerAccepted = true;
    int innerResult = 77;
    outerDialog.onShow = [&] {
        EXPECT_EQ(DialogNumberPrompt::OpenPrompts(), 1);
        innerAccepted = inner.PromptForNumber(innerResult, 0, 9, "Type a number", "0x0000", cancel);
    };
    outerDialog.answers = {"3"};
    innerDialog.answers = {"4"};
    int result = 0;
    EXPECT_TRUE(outer.PromptForNumber(result, 0, 9, "Type a number", "0x0000", cancel));
    EXPECT_EQ(result, 3);
    EXPECT_FALSE(innerAccepted);
    EXPECT_EQ(innerResult, 77);
    EXPECT_EQ(innerDialog.warnings, std::vector<std::string>{"Internal Error: 101"});
    EXPECT_TRUE(innerDialog.shownTexts.empty());
    EXPECT_EQ(DialogNumberPrompt::OpenPrompts(), 0);

    // The level is given back, so the next prompt opens.
    outerDialog.onShow = nullptr;
    outerDialog.answers = {"5"};
    EXPECT_TRUE(outer.PromptForNumber(result, 0, 9, "Type a number", "0x0000", cancel));
    EXPECT_EQ(result, 5);
    EXPECT_EQ(DialogNumberPrompt::OpenPrompts(), 0);
}

} // namespace
