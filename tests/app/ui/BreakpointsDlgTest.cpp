#include "app/ui/CBreakpointsDlg.h"
#include "simulator/SourceLineFlags.h"
#include "simulator/SourceMarksBench.h"
#include "simulator/SourceViewServices.h"

#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

// The source view's breakpoint services over the marks of a compiled text.
class MarksView : public SourceViewServices {
public:
    explicit MarksView(SourceMarksBench& marksBench) : bench(marksBench) {}
    void ShowSourceLine(std::uint16_t) override {}
    void ShowStatusText(const std::string&) override {}
    void ToggleBreakpointAt(std::uint16_t address) override { bench.marks.ToggleAt(address); }
    void EnableDisableBreakpointAt(std::uint16_t address) override {
        bench.marks.EnableDisableAt(address);
    }
    void SetLineBreakpointMark(int line, BreakpointMarks::Mark mark) override {
        BreakpointMarks::SetMark(bench.text, line, mark);
    }
    SourceMarksBench& bench;
};

struct DialogBench {
    DialogBench() : view(bench) {
        bench.flags.SetSimulatorOpen(true);
        bench.AddBreakpoint(0x12, 2, 1);
        bench.Mark(2, LineFlagBreakpoint);
        bench.AddBreakpoint(0x10, -1, 0);
    }
    CBreakpointsDlg* Open() {
        dialog = std::make_unique<CBreakpointsDlg>(
            bench.GetBreakpoints(),
            [this](std::uint16_t address) {
                return InstructionSet::InstructionText(bench.machine.memory, address, "");
            },
            view);
        return dialog.get();
    }
    SourceMarksBench bench;
    MarksView view;
    std::unique_ptr<CBreakpointsDlg> dialog;
};

TEST(BreakpointsDlg, ListsEntriesWithTheirTextsAndCheckBoxes) {
    DialogBench b;
    auto* dialog = b.Open();
    EXPECT_EQ(dialog->windowTitle(), "Breakpoints");
    ASSERT_EQ(dialog->List()->count(), 2);
    EXPECT_EQ(dialog->List()->item(0)->text().toStdString(), "0x0012 inr  a,  at Line 3");
    EXPECT_EQ(dialog->List()->item(0)->checkState(), Qt::Checked);
    EXPECT_TRUE(dialog->List()->item(1)->text().startsWith("0x0010 "));
    EXPECT_EQ(dialog->List()->item(1)->checkState(), Qt::Unchecked);
    EXPECT_TRUE(dialog->RemoveButton()->isEnabled());
}

TEST(BreakpointsDlg, OkDisablesAnUncheckedBreakpointAndItsMark) {
    DialogBench b;
    auto* dialog = b.Open();
    dialog->List()->item(0)->setCheckState(Qt::Unchecked);
    dialog->accept();
    EXPECT_FALSE(b.bench.IsBreakpointEnabled(0x12));
    EXPECT_EQ(b.bench.Flags(2), LineFlagBreakpointDisabled);
    EXPECT_FALSE(b.bench.IsBreakpointEnabled(0x10)) << "unchanged items are left alone";
}

TEST(BreakpointsDlg, RemoveTakesEffectOnOkOnlyAndCancelChangesNothing) {
    DialogBench b;
    auto* dialog = b.Open();
    dialog->List()->setCurrentRow(0);
    dialog->RemoveButton()->click();
    EXPECT_EQ(dialog->List()->count(), 1);
    EXPECT_EQ(dialog->List()->currentRow(), 0);
    EXPECT_TRUE(b.bench.HasBreakpoint(0x12)) << "nothing before OK";
    dialog->reject();
    EXPECT_EQ(b.bench.GetBreakpoints().size(), 2u);
    EXPECT_EQ(b.bench.Flags(2), LineFlagBreakpoint);

    dialog = b.Open();
    dialog->RemoveAllButton()->click();
    EXPECT_EQ(dialog->List()->count(), 0);
    EXPECT_FALSE(dialog->RemoveButton()->isEnabled());
    EXPECT_FALSE(dialog->RemoveAllButton()->isEnabled());
    dialog->accept();
    EXPECT_TRUE(b.bench.GetBreakpoints().empty());
    EXPECT_EQ(b.bench.Flags(2), 0u);
}

TEST(BreakpointsDlg, AnEmptyListOffersNoRemove) {
    SourceMarksBench bench;
    MarksView view(bench);
    CBreakpointsDlg dialog(
        {}, [](std::uint16_t) { return std::string(); }, view);
    EXPECT_FALSE(dialog.RemoveButton()->isEnabled());
    EXPECT_FALSE(dialog.RemoveAllButton()->isEnabled());
    dialog.Remove(); // nothing selected: nothing happens
    EXPECT_EQ(dialog.List()->count(), 0);
}

TEST(BreakpointsDlg, BeforeTheFirstCompileTheMarkedLinesAreListedAndChanged) {
    SourceMarksBench bench; // simulator closed, nothing compiled: the list is empty
    MarksView view(bench);
    bench.Mark(0, LineFlagBreakpoint);
    bench.Mark(2, LineFlagBreakpointDisabled);
    BreakpointsDialogModel listed({}, [](std::uint16_t) { return std::string(); });
    listed.AddMarkedLines(BreakpointMarks::MarkedLines(bench.text));
    CBreakpointsDlg dialog(std::move(listed), view);
    ASSERT_EQ(dialog.List()->count(), 2);
    EXPECT_EQ(dialog.List()->item(0)->text(), "------ start: mvi,  at Line 1");
    EXPECT_EQ(dialog.List()->item(1)->checkState(), Qt::Unchecked);
    EXPECT_TRUE(dialog.RemoveButton()->isEnabled());
    dialog.List()->item(1)->setCheckState(Qt::Checked);
    dialog.List()->setCurrentRow(0);
    dialog.Remove();
    dialog.accept();
    EXPECT_EQ(bench.Flags(0), 0u);
    EXPECT_EQ(bench.Flags(2), LineFlagBreakpoint);
    EXPECT_TRUE(bench.GetBreakpoints().empty());
}

} // namespace
