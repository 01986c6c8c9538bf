#include "app/CMyZorvanDoc.h"

#include "support/TempFolder.h"

#include <chrono>
#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string LineOf(CMyZorvanDoc& document, int line) {
    auto& text = document.GetTextBuffer();
    return std::string(text.LineText(line), static_cast<std::size_t>(text.LineLength(line)));
}

TEST(Document, StartsWithAResetMachineClearFlagsAndNoBreakpoints) {
    CMyZorvanDoc document;
    EXPECT_FALSE(document.IsSimulatorOpen());
    EXPECT_FALSE(document.IsRunInProgress());
    EXPECT_FALSE(document.IsExecuting());
    EXPECT_EQ(document.GetMachine().sp, 0xFFEE);
    EXPECT_EQ(document.GetMachine().GetLedCell(0), 6);
    EXPECT_TRUE(document.GetBreakpoints().empty());
    EXPECT_EQ(document.GetTitle(), "noname");

    document.SetExecuting(true);
    document.SetRunInProgress(true);
    document.SetSimulatorOpen(true);
    EXPECT_TRUE(document.GetSimulatorFlags().IsExecuting());
    document.ClearSimulatorFlags();
    EXPECT_FALSE(document.IsSimulatorOpen() || document.IsRunInProgress() ||
                 document.IsExecuting());
}

TEST(Document, NewStartsAnEmptyTextInTheFirstLineEndStyle) {
    CMyZorvanDoc document;
    ASSERT_TRUE(document.NewDocument());
    EXPECT_EQ(document.GetTextBuffer().LineCount(), 1);
    EXPECT_EQ(document.GetTextBuffer().LineEndStyle(), 0);
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(document.GetPathName(), "");
}

TEST(Document, OpenLoadsThroughTheTextBufferAndRefusesWhatItCannotRead) {
    TempFolder folder;
    const std::string file = folder.Write("prog.85", "nop\nhlt\n");
    CMyZorvanDoc document;
    ASSERT_TRUE(document.OpenDocument(file));
    EXPECT_EQ(document.GetPathName(), file);
    EXPECT_EQ(document.GetTitle(), "prog.85");
    EXPECT_EQ(document.GetTextBuffer().LineEndStyle(), 2) << "LF alone";
    EXPECT_EQ(LineOf(document, 1), "hlt");
    EXPECT_FALSE(document.IsModified());

    const std::string unreadable[] = {(folder.path / "missing.85").string(), folder.path.string(),
                                      ""};
    for (const auto& path : unreadable) {
        SCOPED_TRACE(path);
        CMyZorvanDoc other;
        EXPECT_FALSE(other.OpenDocument(path));
        EXPECT_EQ(other.GetErrorMessage(), "Failed to open document.");
        EXPECT_EQ(other.GetPathName(), "");
    }
}

TEST(Document, OpeningANamedPipeFailsAtOnceInsteadOfWaitingForAWriter) {
    TempFolder folder;
    const std::string pipe = (folder.path / "pipe.85").string();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    CMyZorvanDoc document;
    auto opened = std::async(std::launch::async, [&] { return document.OpenDocument(pipe); });
    const bool answered = opened.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    if (!answered) {
        // Hand the blocked open a writer so that the test ends.
        const int writer = open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) {
            close(writer);
        }
    }
    EXPECT_TRUE(answered) << "the open waited for a writer";
    EXPECT_FALSE(opened.get());
    EXPECT_EQ(document.GetErrorMessage(), "Failed to open document.");
}

TEST(Document, EditingMarksTheDocumentModifiedAndSavingClearsIt) {
    TempFolder folder;
    const std::string file = folder.Write("prog.85", "nop\r\n");
    CMyZorvanDoc document;
    ASSERT_TRUE(document.OpenDocument(file));
    auto& text = document.GetTextBuffer();
    int endLine = 0, endChar = 0;
    ASSERT_TRUE(text.InsertChars(nullptr, 0, 3, "\r\nhlt", endLine, endChar));
    EXPECT_TRUE(document.IsModified());
    EXPECT_FALSE(text.IsModified()) << "the buffer's own flag is never raised";

    ASSERT_TRUE(document.SaveDocument(file));
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(TempFolder::Read(file), "nop\r\nhlt\r\n") << "in the loaded line-end style";

    ASSERT_TRUE(text.InsertChars(nullptr, 1, 3, " ; end", endLine, endChar));
    EXPECT_TRUE(document.IsModified()) << "the first change after a save";

    CTextPosition caret{};
    ASSERT_TRUE(text.Undo(caret));
    EXPECT_TRUE(document.IsModified()) << "undone back to the saved text, still modified";
    ASSERT_TRUE(document.SaveDocument(file));
    EXPECT_FALSE(document.IsModified());
}

TEST(Document, AFailedSaveIsReportedAndLosesNothing) {
    TempFolder folder;
    const std::string file = folder.Write("prog.85", "nop\n");
    CMyZorvanDoc document;
    ASSERT_TRUE(document.OpenDocument(file));
    int endLine = 0, endChar = 0;
    ASSERT_TRUE(document.GetTextBuffer().InsertChars(nullptr, 0, 0, "hlt\n", endLine, endChar));

    const std::string nowhere = (folder.path / "missing-folder" / "prog.85").string();
    EXPECT_FALSE(document.SaveDocument(nowhere));
    EXPECT_EQ(document.GetErrorMessage(), "Failed to save document.");
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(document.GetPathName(), file) << "still the file it came from";
    EXPECT_EQ(TempFolder::Read(file), "nop\n");
}

TEST(Document, CloseIsRefusedWhileTheSimulatorIsOpen) {
    TempFolder folder;
    CMyZorvanDoc document;
    ASSERT_TRUE(document.OpenDocument(folder.Write("prog.85", "nop\n")));
    document.SetSimulatorOpen(true);
    EXPECT_FALSE(document.CloseDocument());
    EXPECT_FALSE(document.IsClosed());
    EXPECT_EQ(LineOf(document, 0), "nop") << "the text stays";

    document.SetSimulatorOpen(false);
    EXPECT_TRUE(document.CloseDocument());
    EXPECT_TRUE(document.IsClosed());
    EXPECT_EQ(document.GetTextBuffer().LineCount(), 0) << "contents released";
}

TEST(Document, TwoDocumentsHaveIndependentMachinesAndBreakpoints) {
    CMyZorvanDoc first;
    CMyZorvanDoc second;
    first.GetMachine().memory[0x10] = 0x3C;
    second.GetMachine().memory[0x10] = 0x04;
    first.AddBreakpoint(0x10, 2, 1);
    first.SetSimulatorOpen(true);
    first.PlantBreakpoints(true);
    EXPECT_EQ(first.GetMachine().memory[0x10], 0x08);
    EXPECT_EQ(second.GetMachine().memory[0x10], 0x04);
    EXPECT_FALSE(second.HasBreakpoint(0x10));
    EXPECT_FALSE(second.IsSimulatorOpen());
    first.RestoreSavedBytes();
    EXPECT_EQ(first.GetMachine().memory[0x10], 0x3C);
}

} // namespace
