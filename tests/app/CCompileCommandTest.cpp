#include "app/CCompileCommand.h"

#include "app/CMyZorvanDoc.h"
#include "simulator/CRunControl.h"
#include "simulator/CSimulatorWindow.h"
#include "simulator/SourceLineFlags.h"
#include "support/CountingProgram.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <mutex>

namespace {

struct CompileBench {
    explicit CompileBench(const std::string& source) {
        file = folder.Write("count.85", source);
        opened = document.OpenDocument(file);
    }
    CCompileCommand::Result Compile() {
        return CCompileCommand(document).Open([this] {
            ++windowsOpened;
            document.SetSimulatorOpen(true);
        });
    }
    void Mark(int line, std::uint32_t flag) {
        document.GetTextBuffer().ChangeLineFlag(line, flag, true, false);
    }
    std::uint32_t Flags(int line) { return document.GetTextBuffer().LineFlags(line); }

    TempFolder folder;
    std::string file;
    CMyZorvanDoc document;
    bool opened = false;
    int windowsOpened = 0;
};

TEST(CompileCommand, AssemblesStartsAndRebuildsTheBreakpointsFromTheMarks) {
    CompileBench bench(CountingProgram);
    ASSERT_TRUE(bench.opened);
    bench.Mark(3, LineFlagBreakpoint);
    bench.Mark(4, LineFlagBreakpoint);         // a comment line: removed
    bench.Mark(5, LineFlagBreakpointDisabled); // stays disabled
    bench.Mark(7, LineFlagExecution);          // from an earlier run: erased
    bench.document.GetMachine().pc = 0x1234;

    const auto result = bench.Compile();
    ASSERT_EQ(result.outcome, CCompileCommand::Outcome::Opened);
    EXPECT_EQ(bench.windowsOpened, 1);
    EXPECT_EQ(result.lineMapError, "");
    EXPECT_EQ(result.removedBreakpoints, 1);

    auto& machine = bench.document.GetMachine();
    EXPECT_EQ(machine.pc, 0x0010) << "started at .begin";
    EXPECT_EQ(machine.memory[0x0012], 0x3C);
    EXPECT_EQ(bench.document.lineMap.AddressOfLine(4), 0x0012);
    EXPECT_EQ(bench.document.lineMap.LineOfAddress(0x0018), 8);

    const auto breakpoints = bench.document.GetBreakpoints();
    ASSERT_EQ(breakpoints.size(), 2u);
    EXPECT_EQ(breakpoints[0].address, 0x0012);
    EXPECT_EQ(breakpoints[0].sourceLine, 3);
    EXPECT_EQ(breakpoints[0].enabled, 1);
    EXPECT_EQ(breakpoints[0].savedByte, 0x3C);
    EXPECT_EQ(breakpoints[1].address, 0x0013);
    EXPECT_EQ(breakpoints[1].sourceLine, 5);
    EXPECT_EQ(breakpoints[1].enabled, 0);

    EXPECT_EQ(bench.Flags(3), LineFlagBreakpoint);
    EXPECT_EQ(bench.Flags(4), 0u) << "the invalid mark is cleared";
    EXPECT_EQ(bench.Flags(5), LineFlagBreakpointDisabled);
    EXPECT_EQ(bench.Flags(7), 0u) << "no execution mark after a compile";
}

TEST(CompileCommand, DoesNothingWhileTheSimulatorIsOpen) {
    CompileBench bench(CountingProgram);
    bench.document.SetSimulatorOpen(true);
    bench.document.GetMachine().pc = 0x1234;
    const auto result = bench.Compile();
    EXPECT_EQ(result.outcome, CCompileCommand::Outcome::AlreadyOpen);
    EXPECT_EQ(bench.windowsOpened, 0);
    EXPECT_EQ(bench.document.GetMachine().pc, 0x1234);
}

TEST(CompileCommand, AnAssemblerErrorLeavesTheSimulatorClosedAndHandsTheErrorBack) {
    CompileBench bench("        nop\n        mvi q, 1\n");
    bench.Mark(0, LineFlagBreakpoint);
    const auto result = bench.Compile();
    EXPECT_EQ(result.outcome, CCompileCommand::Outcome::Failed);
    EXPECT_EQ(bench.windowsOpened, 0);
    EXPECT_FALSE(bench.document.IsSimulatorOpen());
    EXPECT_EQ(result.error.GetLine(), 2);
    EXPECT_EQ(result.error.GetMessage().rfind("Line - 2 Column - ", 0), 0u)
        << result.error.GetMessage();
    EXPECT_EQ(bench.Flags(0), LineFlagBreakpoint) << "marks stay for the next compile";
}

TEST(CompileCommand, AnUnsavedDocumentFailsWithTheAssemblersError) {
    CMyZorvanDoc document;
    ASSERT_TRUE(document.NewDocument());
    const auto result = CCompileCommand(document).Open([] { FAIL() << "no window"; });
    EXPECT_EQ(result.outcome, CCompileCommand::Outcome::Failed);
    EXPECT_NE(result.error.GetCode(), 0);
}

TEST(CompileCommand, AnUnreadableLineMapIsReportedAndTheOpeningGoesOn) {
    CompileBench bench(CountingProgram);
    bench.Mark(3, LineFlagBreakpoint);
    const auto result = CCompileCommand(bench.document).Open([&bench] {
        std::filesystem::remove(bench.document.GetAssembler().GetDebugPath());
        bench.document.SetSimulatorOpen(true);
    });
    EXPECT_EQ(result.outcome, CCompileCommand::Outcome::Opened);
    EXPECT_NE(result.lineMapError.find("could not open debug info file <"), std::string::npos)
        << result.lineMapError;
    EXPECT_EQ(result.removedBreakpoints, 0) << "an unread map proves no line empty";
    EXPECT_TRUE(bench.document.GetBreakpoints().empty());
    EXPECT_EQ(bench.Flags(3), LineFlagBreakpoint) << "the mark stays for the next compile";
}

// The source view side of a stop: the line of the program counter, from the document's map.
class SourceWindow : public CSimulatorWindow {
public:
    explicit SourceWindow(CMyZorvanDoc& shown) : document(shown) {}
    void RefreshAll(RunSequence, Follow) override {}
    void SetCaption(RunSequence, bool) override {}
    void UpdateToolbar(RunSequence, bool) override {}
    void FocusInstructions(RunSequence) override {}
    void RunStarted(RunSequence) override {}
    void RunEnded(RunSequence) override {}
    void ShowSourceLine(RunSequence, std::uint16_t address) override {
        const int line = document.lineMap.LineOfAddress(address);
        std::lock_guard lock(mutex);
        lines.push_back(line);
    }
    void ShowStatusText(RunSequence, const std::string&) override {}
    void ShowException(RunSequence, const std::string& message) override {
        std::lock_guard lock(mutex);
        exceptions.push_back(message);
    }
    void RequestClose(RunSequence) override {}

    std::mutex mutex;
    std::vector<int> lines;
    std::vector<std::string> exceptions;

private:
    CMyZorvanDoc& document;
};

TEST(CompileCommand, ACompiledDocumentRunsToItsSourceLineBreakpoints) {
    CompileBench bench(CountingProgram);
    bench.Mark(3, LineFlagBreakpoint);
    ASSERT_EQ(bench.Compile().outcome, CCompileCommand::Outcome::Opened);
    auto& document = bench.document;
    SourceWindow window(document);
    CRunControl control(document.GetMachine(), document, document.GetSimulatorFlags(), window);

    for (int expectedA = 0; expectedA < 3; ++expectedA) {
        control.Run();
        control.WaitForRun();
        EXPECT_EQ(document.GetMachine().pc, 0x0012);
        EXPECT_EQ(document.GetMachine().a, expectedA);
    }
    document.ToggleBreakpoint(0x0012, -1);
    control.Run();
    control.WaitForRun();
    EXPECT_EQ(window.lines, (std::vector<int>{4, 4, 4, 8}));
    EXPECT_EQ(window.exceptions, std::vector<std::string>{"IP = 24 -   Halt executed"});
    EXPECT_EQ(document.GetMachine().a, 3);
    EXPECT_EQ(document.GetMachine().memory[0x0012], 0x3C);

    EXPECT_TRUE(control.Close());
    EXPECT_FALSE(document.IsSimulatorOpen());
    EXPECT_TRUE(document.CloseDocument());
}

} // namespace
