#include "simulator/BreakpointsDialogModel.h"

#include "simulator/SourceViewServices.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class RecordingView : public SourceViewServices {
public:
    void ShowSourceLine(std::uint16_t) override {}
    void ShowStatusText(const std::string&) override {}
    void ToggleBreakpointAt(std::uint16_t address) override { calls.push_back(Call('T', address)); }
    void EnableDisableBreakpointAt(std::uint16_t address) override {
        calls.push_back(Call('E', address));
    }
    void SetLineBreakpointMark(int line, BreakpointMarks::Mark mark) override {
        const char* marks[] = {"none", "on", "off"};
        calls.push_back("L" + std::to_string(line) + " " + marks[static_cast<int>(mark)]);
    }
    static std::string Call(char kind, std::uint16_t address) {
        std::string call(1, kind);
        call += std::to_string(address);
        return call;
    }
    std::vector<std::string> calls;
};

BreakpointsDialogModel ModelOf(const std::vector<BreakpointEntry>& entries) {
    return BreakpointsDialogModel(entries, [](std::uint16_t address) {
        return address == 0x10 ? std::string("CALL 0x123456789") : std::string("HLT");
    });
}

TEST(BreakpointsDialogModel, ItemTextsOfAddressAndSourceLineEntries) {
    const auto model = ModelOf({{0x10, 0, 1, -1}, {0x10, 0, 0, 4}, {0xabcd, 0, 1, 0}});
    ASSERT_EQ(model.Items().size(), 3u);
    EXPECT_EQ(model.Items()[0].text, "0x0010 CALL 0x123456789");
    EXPECT_EQ(model.Items()[1].text, "0x0010 CALL 0x123,  at Line 5");
    EXPECT_EQ(model.Items()[2].text, "0xabcd HLT,  at Line 1");
    EXPECT_TRUE(model.Items()[0].checked);
    EXPECT_FALSE(model.Items()[1].checked);
}

TEST(BreakpointsDialogModel, RemoveSelectsTheItemNowAtThePlaceOrTheLast) {
    auto model = ModelOf({{1, 0, 1, -1}, {2, 0, 1, -1}, {3, 0, 1, -1}});
    EXPECT_EQ(model.Remove(5), -1) << "nothing selected";
    EXPECT_EQ(model.Items().size(), 3u);
    EXPECT_EQ(model.Remove(1), 1);
    EXPECT_EQ(model.Items()[1].address, 3);
    EXPECT_EQ(model.Remove(1), 0) << "the last one removed: the new last is selected";
    EXPECT_EQ(model.Remove(0), -1);
    EXPECT_FALSE(model.CanRemove());
    EXPECT_EQ(model.Removed(), (std::vector<std::uint16_t>{2, 3, 1}));
}

TEST(BreakpointsDialogModel, OkRemovesThenSwapsChangedCheckBoxes) {
    auto model = ModelOf({{1, 0, 1, -1}, {2, 0, 0, 3}, {3, 0, 1, -1}, {4, 0, 1, 7}});
    model.SetChecked(1, true);  // enable
    model.SetChecked(2, false); // disable, then removed
    model.SetChecked(3, false);
    model.SetChecked(3, true); // back as it was: untouched
    model.Remove(2);
    RecordingView view;
    model.Apply(view);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"T3", "E2"}));

    auto all = ModelOf({{1, 0, 1, -1}, {2, 0, 0, 3}});
    all.RemoveAll();
    EXPECT_FALSE(all.CanRemove());
    RecordingView cleared;
    all.Apply(cleared);
    EXPECT_EQ(cleared.calls, (std::vector<std::string>{"T1", "T2"}));
}

TEST(BreakpointsDialogModel, MarkedLinesNotCompiledYetAreListedAndChangeTheirMarks) {
    // Line 3 has an entry from the last compile; lines 0 and 8 were marked since (or before any
    // compile), line 8 disabled.
    auto model = ModelOf({{0x10, 0, 1, 3}});
    model.AddMarkedLines({{0, true, "mvi a, 0x12345"}, {3, true, "call 10h"}, {8, false, "hlt"}});
    ASSERT_EQ(model.Items().size(), 3u);
    EXPECT_EQ(model.Items()[0].text, "0x0010 CALL 0x123,  at Line 4");
    EXPECT_EQ(model.Items()[1].text, "------ mvi a, 0x1,  at Line 1");
    EXPECT_EQ(model.Items()[2].text, "------ hlt,  at Line 9");
    EXPECT_FALSE(model.Items()[2].checked);

    model.SetChecked(2, true);
    model.Remove(1);
    RecordingView view;
    model.Apply(view);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"L0 none", "L8 on"}));

    model.RemoveAll();
    RecordingView cleared;
    model.Apply(cleared);
    EXPECT_EQ(cleared.calls, (std::vector<std::string>{"T16", "L0 none", "L8 none"}));
}

} // namespace
