// The document holder and the file on disk: what another program's change or removal does to an
// open document, when nobody is at the screen to see it.
#include "app/ui/CDocumentHolder.h"
#include "editor/CTextBuffer.h"
#include "simulator/SourceLineFlags.h"
#include "support/RecordingMessageBoxes.h"
#include "support/TempFolder.h"

#include <QFile>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using Occasion = DiskChangeWatch::Occasion;

std::string Line(const CTextBuffer& text, int line) {
    return {text.LineText(line), static_cast<std::size_t>(text.LineLength(line))};
}

struct OpenDocument {
    TempFolder folder;
    std::string path = folder.Write("prog.85", "nop\nnop\nhlt\n");
    CDocumentHolder holder;
    RecordingMessageBoxes boxes;

    OpenDocument() { EXPECT_TRUE(holder.Open(QString::fromStdString(path))); }
    CTextBuffer& Text() { return holder.Document().GetTextBuffer(); }
};

TEST(DocumentHolderDisk, AnUnchangedDocumentTakesTheNewTextAndKeepsItsMarks) {
    OpenDocument open;
    open.Text().ChangeLineFlag(1, LineFlagBreakpoint, true, false);
    EXPECT_FALSE(open.holder.CheckDisk(Occasion::Activated)) << "nothing changed";
    open.folder.Write("prog.85", "mvi a, 1\ninr a\nhlt\n");
    EXPECT_TRUE(open.holder.CheckDisk(Occasion::Activated));
    EXPECT_TRUE(open.boxes.shown.empty()) << "nothing asked";
    EXPECT_EQ(Line(open.Text(), 1), "inr a");
    EXPECT_NE(open.Text().LineFlags(1) & LineFlagBreakpoint, 0u);
    EXPECT_FALSE(open.holder.IsModified());
    EXPECT_FALSE(open.holder.CheckDisk(Occasion::BeforeSave));
}

TEST(DocumentHolderDisk, AFileThatCannotBeReadAgainIsToldOnceAndTheTextStays) {
    OpenDocument open;
    ASSERT_EQ(std::remove(open.path.c_str()), 0);
    ASSERT_EQ(mkfifo(open.path.c_str(), 0600), 0);
    EXPECT_FALSE(open.holder.CheckDisk(Occasion::Activated)) << "and returns at once";
    ASSERT_EQ(open.boxes.shown.size(), 1u);
    EXPECT_NE(open.boxes.shown[0].text.find("It is not a regular file."), std::string::npos)
        << open.boxes.shown[0].text;
    EXPECT_EQ(Line(open.Text(), 0), "nop");
    EXPECT_FALSE(open.holder.CheckDisk(Occasion::Activated));
    EXPECT_EQ(open.boxes.shown.size(), 1u) << "not told again";
}

TEST(DocumentHolderDisk, ChangesOnBothSidesAskAndARemovalKeepsTheTextAsAChange) {
    OpenDocument open;
    open.holder.Document().SetModifiedFlag(true);
    open.folder.Write("prog.85", "hlt\n");
    open.boxes.answers = {MessageBoxes::Answer::No};
    EXPECT_FALSE(open.holder.CheckDisk(Occasion::BeforeCompile));
    ASSERT_EQ(open.boxes.shown.size(), 1u);
    EXPECT_EQ(open.boxes.shown[0].text, open.path + " has changed on disk. Reload it?");
    EXPECT_EQ(open.boxes.shown[0].yesText, "&Reload");
    EXPECT_EQ(open.boxes.shown[0].noText, "&Keep mine");
    EXPECT_EQ(Line(open.Text(), 0), "nop");

    ASSERT_TRUE(QFile::remove(QString::fromStdString(open.path)));
    open.holder.Document().SetModifiedFlag(false);
    EXPECT_FALSE(open.holder.CheckDisk(Occasion::Activated));
    ASSERT_EQ(open.boxes.shown.size(), 2u);
    EXPECT_EQ(open.boxes.shown[1].text,
              CDocumentHolder::DeletedOnDiskText(QString::fromStdString(open.path)).toStdString());
    EXPECT_TRUE(open.holder.IsModified());
    // Back at the text as last saved, the document is still a change while its file is gone.
    open.holder.Document().SetModifiedFlag(false);
    open.holder.CheckDisk(Occasion::Activated);
    EXPECT_TRUE(open.holder.IsModified());
    EXPECT_EQ(open.boxes.shown.size(), 2u);
    EXPECT_TRUE(open.holder.SaveTo(QString::fromStdString(open.path)));
    EXPECT_EQ(TempFolder::Read(open.path), "nop\nnop\nhlt\n");
    EXPECT_FALSE(open.holder.CheckDisk(Occasion::Activated));
}

} // namespace
