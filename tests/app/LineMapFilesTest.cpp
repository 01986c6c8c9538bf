#include "../machine/ScopedEnvironment.h"
#include "app/CCompileCommand.h"
#include "app/CMyZorvanDoc.h"
#include "simulator/CRunControl.h"
#include "simulator/CSimulatorWindow.h"
#include "simulator/SourceLineFlags.h"
#include "support/CountingProgram.h"
#include "support/PrivateMounts.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

// Compiling and running programs whose folder takes no line map (installed examples, a class
// share), and programs whose line map path holds something hostile, in the desktop program's
// compile command and in zorvan-run.

namespace {

namespace fs = std::filesystem;

// Runs zorvan-run on `source` with its output into `outputFolder`; the exit status, or -1 when
// it had not ended within the bound (it is then killed, after `release` is opened both ways in
// case it waits on that named pipe).
int RunRunner(const std::string& source, const fs::path& outputFolder,
              const std::string& release = {}) {
    const pid_t child = fork();
    if (child == 0) {
        const int in = open("/dev/null", O_RDONLY);
        const int out = open((outputFolder / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open((outputFolder / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        execl(ZORVAN_RUNNER, ZORVAN_RUNNER, "--no-delay", "--max-steps", "100000", source.c_str(),
              static_cast<char*>(nullptr));
        _exit(121);
    }
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            if (!release.empty()) {
                close(open(release.c_str(), O_RDWR | O_NONBLOCK));
            }
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// The source view's side of a run: only the end matters here.
class QuietWindow : public CSimulatorWindow {
public:
    void RefreshAll(RunSequence, Follow) override {}
    void SetCaption(RunSequence, bool) override {}
    void UpdateToolbar(RunSequence, bool) override {}
    void FocusInstructions(RunSequence) override {}
    void RunStarted(RunSequence) override {}
    void RunEnded(RunSequence) override {}
    void ShowSourceLine(RunSequence, std::uint16_t) override {}
    void ShowStatusText(RunSequence, const std::string&) override {}
    void ShowException(RunSequence, const std::string&) override {}
    void RequestClose(RunSequence) override {}
};

// Everything a student does with a program in `share`, a folder this process may not write.
void CompileDebugAndRunIn(const fs::path& share, const std::string& cacheHome,
                          const fs::path& outputFolder) {
    const std::string source = (share / "count.85").string();
    const auto before = TempFolder::Names(share);
    CMyZorvanDoc document;
    ASSERT_TRUE(document.OpenDocument(source));
    CTextBuffer& text = document.GetTextBuffer();
    text.ChangeLineFlag(3, LineFlagBreakpoint, true, false);
    text.ChangeLineFlag(4, LineFlagBreakpoint, true, false); // no code there: removed

    const auto result = CCompileCommand(document).Open([&] { document.SetSimulatorOpen(true); });
    ASSERT_EQ(result.outcome, CCompileCommand::Outcome::Opened) << result.error.GetMessage();
    EXPECT_EQ(result.lineMapError, "");
    EXPECT_TRUE(result.lineMapInCache.starts_with(cacheHome + "/zorvan/count.85-"))
        << result.lineMapInCache;
    EXPECT_EQ(CCompileCommand::LineMapInCacheText(result.lineMapInCache),
              "The source's folder is read-only: its line map is kept in " + result.lineMapInCache);
    EXPECT_EQ(result.lineMapNotice, CCompileCommand::LineMapInCacheText(result.lineMapInCache));
    EXPECT_EQ(result.removedBreakpoints, 1);
    const auto breakpoints = document.GetBreakpoints();
    ASSERT_EQ(breakpoints.size(), 1u);
    EXPECT_EQ(breakpoints[0].address, 0x0012);

    // Run to the breakpoint, then Run to Cursor on line 8; the execution line of each stop.
    const std::uint16_t cursor = document.lineMap.AddressOfLine(8);
    EXPECT_EQ(cursor, 0x0018);
    {
        QuietWindow window;
        CRunControl control(document.GetMachine(), document, document.GetSimulatorFlags(), window);
        control.Run();
        control.WaitForRun();
        EXPECT_EQ(document.lineMap.LineOfAddress(document.GetMachine().pc), 4);
        document.ToggleBreakpoint(0x0012, -1);
        control.RunToCursor(cursor);
        control.WaitForRun();
        EXPECT_EQ(document.GetMachine().pc, 0x0018);
        EXPECT_EQ(document.GetMachine().a, 3);
        EXPECT_EQ(document.lineMap.LineOfAddress(document.GetMachine().pc), 8);
        EXPECT_TRUE(control.Close());
    }
    // The place is said once: a second compile goes to the same place and says nothing.
    document.SetSimulatorOpen(false);
    const auto again = CCompileCommand(document).Open([&] { document.SetSimulatorOpen(true); });
    ASSERT_EQ(again.outcome, CCompileCommand::Outcome::Opened);
    EXPECT_EQ(again.lineMapInCache, result.lineMapInCache);
    EXPECT_EQ(again.lineMapNotice, "");
    document.SetSimulatorOpen(false);

    EXPECT_EQ(RunRunner(source, outputFolder), 0) << TempFolder::Read(outputFolder / "err");
    EXPECT_EQ(TempFolder::Read(outputFolder / "err"), "");
    EXPECT_EQ(TempFolder::Names(share), before) << "nothing written into the folder";
    EXPECT_TRUE(document.CloseDocument());
}

TEST(LineMapFiles, AProgramInAReadOnlyFolderCompilesDebugsAndRuns) {
    TempFolder folder;
    const fs::path share = folder.path / "share";
    fs::create_directory(share);
    folder.Write("share/count.85", CountingProgram);
    const std::string cacheHome = folder.File("cache");
    ScopedEnvironment cache("XDG_CACHE_HOME", cacheHome);
    if (geteuid() != 0) {
        ASSERT_EQ(chmod(share.c_str(), 0555), 0);
        CompileDebugAndRunIn(share, cacheHome, folder.path);
        return;
    }
    const auto outcome =
        PrivateMounts::Run([&] { return PrivateMounts::MakeReadOnly(share.string()); },
                           [&] { CompileDebugAndRunIn(share, cacheHome, folder.path); });
    if (outcome == PrivateMounts::Outcome::Unavailable) {
        GTEST_SKIP() << "running as root without a way to mount a read-only folder";
    }
    EXPECT_EQ(outcome, PrivateMounts::Outcome::Passed);
}

TEST(LineMapFiles, AWritableFolderKeepsItsLineMapBesideTheSource) {
    TempFolder folder;
    const std::string source = folder.Write("count.85", CountingProgram);
    ScopedEnvironment cache("XDG_CACHE_HOME", folder.File("cache"));
    CMyZorvanDoc document;
    ASSERT_TRUE(document.OpenDocument(source));
    const auto result = CCompileCommand(document).Open([&] { document.SetSimulatorOpen(true); });
    ASSERT_EQ(result.outcome, CCompileCommand::Outcome::Opened);
    EXPECT_EQ(result.lineMapInCache, "");
    EXPECT_EQ(result.lineMapNotice, "");
    EXPECT_EQ(TempFolder::Read(source + ".debug"), "16 3 18 4 19 6 21 7 24 8 ");
    EXPECT_FALSE(fs::exists(folder.File("cache")));
}

TEST(LineMapFiles, TheRunnerNeitherFollowsALinkNorWaitsOnAPipe) {
    TempFolder folder;
    const std::string source = folder.Write("count.85", CountingProgram);
    const std::string notes = folder.Write("notes.txt", "my notes");
    ASSERT_EQ(symlink(notes.c_str(), (source + ".debug").c_str()), 0);
    fs::create_directory(folder.File("out"));
    EXPECT_EQ(RunRunner(source, folder.File("out")), 0);
    EXPECT_EQ(TempFolder::Read(notes), "my notes");
    EXPECT_EQ(TempFolder::Read(source + ".debug"), "16 3 18 4 19 6 21 7 24 8 ");

    // A pipe at the line map's path, then a pipe as the source: a file error (status 2) at once.
    fs::remove(source + ".debug");
    ASSERT_EQ(mkfifo((source + ".debug").c_str(), 0600), 0);
    EXPECT_EQ(RunRunner(source, folder.File("out"), source + ".debug"), 2);
    EXPECT_NE(TempFolder::Read(folder.File("out/err")).find("Not a regular file (a named pipe)"),
              std::string::npos)
        << TempFolder::Read(folder.File("out/err"));
    const std::string pipeSource = folder.File("pipe.85");
    ASSERT_EQ(mkfifo(pipeSource.c_str(), 0600), 0);
    EXPECT_EQ(RunRunner(pipeSource, folder.File("out"), pipeSource), 2);
    EXPECT_EQ(
        TempFolder::Names(folder.path),
        (std::vector<std::string>{"count.85", "count.85.debug", "notes.txt", "out", "pipe.85"}));
}

} // namespace
