#include "MainFrameSupport.h"
#include "app/CommandTable.h"

#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Answer = MessageBoxes::Answer;

TEST_F(MainFrameTest, TheTwoMenuStatesFollowTheOpenDocuments) {
    EXPECT_EQ(MenuTitles(), (QStringList{"&File", "&View", "&Help"}));
    EXPECT_TRUE(Enabled(CommandTable::FileNew));
    EXPECT_FALSE(Enabled(CommandTable::FileSave));
    EXPECT_TRUE(Enabled(CommandTable::FilePrintSetup));
    EXPECT_TRUE(frame->Action(CommandTable::ViewStatusBar)->isChecked());

    CDocumentHolder* document = frame->NewDocument();
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(MenuTitles(), (QStringList{"&File", "&Edit", "&View", "&Window", "&Debug", "&Help"}));
    EXPECT_EQ(document->Title(), "noname");
    EXPECT_TRUE(Enabled(CommandTable::FileSave));
    EXPECT_TRUE(Enabled(CommandTable::FileClose));
    // The placeholder view carries out Copy only, and only with a selection.
    EXPECT_FALSE(Enabled(CommandTable::EditCut));
    EXPECT_FALSE(Enabled(CommandTable::EditCopy));
    EXPECT_FALSE(Enabled(CommandTable::DebugRun));
    EXPECT_TRUE(frame->ActiveChildFrame()->isMaximized());

    frame->RunCommand(CommandTable::ViewStatusBar);
    EXPECT_FALSE(frame->Action(CommandTable::ViewStatusBar)->isChecked());
    EXPECT_TRUE(frame->statusBar()->isHidden());

    ASSERT_TRUE(frame->CloseDocument(*document));
    Settle();
    EXPECT_TRUE(frame->Documents().isEmpty());
    EXPECT_EQ(MenuTitles(), (QStringList{"&File", "&View", "&Help"}));
}

struct CloseCase {
    Answer answer;
    bool closed;
    bool saved;
};

class SaveQuestionTest : public MainFrameTest, public testing::WithParamInterface<CloseCase> {};

TEST_P(SaveQuestionTest, OnDocumentCloseAndOnExit) {
    const CloseCase expected = GetParam();
    for (bool onExit : {false, true}) {
        SCOPED_TRACE(onExit ? "exit" : "close");
        const QString path = Write(onExit ? "exit.85" : "close.85", "nop\r\n");
        CDocumentHolder* document = frame->OpenDocumentFile(path);
        ASSERT_NE(document, nullptr);
        Modify(*document);
        boxes.shown.clear();
        boxes.answers = {expected.answer};

        const bool closed = onExit ? frame->close() : frame->ActiveChildFrame()->close();
        Settle();

        EXPECT_EQ(closed, expected.closed);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].caption, "Zorvan");
        EXPECT_EQ(boxes.shown[0].text, "Save changes to " + path.toStdString() + "?");
        EXPECT_EQ(boxes.shown[0].buttons, MessageBoxes::Buttons::YesNoCancel);
        EXPECT_EQ(TempFolder::Read(path.toStdString()), expected.saved ? "xnop\r\n" : "nop\r\n");
        EXPECT_EQ(frame->Documents().size(), expected.closed ? 0 : 1);
        if (!expected.closed) {
            EXPECT_TRUE(document->IsModified());
            frame.reset();
            frame = MakeFrame();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, SaveQuestionTest,
                         testing::Values(CloseCase{Answer::Yes, true, true},
                                         CloseCase{Answer::No, true, false},
                                         CloseCase{Answer::Cancel, false, false}));

TEST_F(MainFrameTest, AFailedSaveSaysWhyKeepsTheTextAndCancelsTheClose) {
    const std::string locked = folder.File("locked");
    ASSERT_EQ(mkdir(locked.c_str(), 0755), 0);
    const std::string path = folder.Write("locked/prog.85", "nop\n");
    // A read-only folder takes no new file; the superuser is refused by a file posing as one.
    chmod(locked.c_str(), 0555);
    const QString target =
        geteuid() == 0 ? Write("plain", "") + "/prog.85" : QString::fromStdString(path);
    CDocumentHolder* document = frame->NewDocument();
    Modify(*document, "mvi a, 1");
    saveAnswer = target;
    boxes.answers = {Answer::Yes};

    EXPECT_FALSE(frame->close());

    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].caption, "Zorvan");
    const std::string& message = boxes.shown[1].text;
    EXPECT_NE(message.find("Failed to save document."), std::string::npos) << message;
    EXPECT_NE(message.find(geteuid() == 0 ? "Not a directory" : "Permission denied"),
              std::string::npos)
        << message;
    EXPECT_EQ(frame->Documents().size(), 1);
    EXPECT_TRUE(document->IsModified());
    EXPECT_EQ(document->Title(), "noname");
    EXPECT_EQ(TempFolder::Read(path), "nop\n");
    chmod(locked.c_str(), 0755);
}

TEST_F(MainFrameTest, SaveAsAddsTheExtensionAndNamesTheDocument) {
    CDocumentHolder* document = frame->NewDocument();
    Modify(*document, "hlt");
    saveAnswer = QString::fromStdString(folder.File("first"));
    ASSERT_TRUE(frame->SaveDocument(*document));
    EXPECT_EQ(saveSuggestions, QStringList{"noname"});
    EXPECT_EQ(TempFolder::Read(folder.File("first.85")), "hlt");
    EXPECT_EQ(document->Title(), "first.85");
    EXPECT_FALSE(document->IsModified());
    Settle();
    EXPECT_EQ(frame->ActiveChildFrame()->windowTitle(), "first.85");
    EXPECT_EQ(frame->windowTitle(), "Zorvan - [first.85]");
}

TEST_F(MainFrameTest, TheSameFileOpenedTwiceBringsItsWindowForward) {
    const QString first = Write("a.85", "nop\n");
    const QString second = Write("b.85", "hlt\n");
    CDocumentHolder* a = frame->OpenDocumentFile(first);
    frame->OpenDocumentFile(second);
    EXPECT_EQ(frame->ActiveChildFrame()->windowTitle(), "b.85");

    const QString otherSpelling = QString::fromStdString((folder.path / "." / "a.85").string());
    EXPECT_EQ(frame->OpenDocumentFile(otherSpelling), a);
    EXPECT_EQ(frame->Documents().size(), 2);
    EXPECT_EQ(&frame->ActiveChildFrame()->Holder(), a);
}

TEST_F(MainFrameTest, RecentFilesSurviveARestartAndAMissingOneIsDropped) {
    const QString kept = Write("kept.85", "nop\n");
    const QString gone = Write("gone.85", "nop\n");
    frame->OpenDocumentFile(gone);
    frame->OpenDocumentFile(kept);
    frame.reset();
    Settle();
    QFile::remove(gone);

    frame = MakeFrame();
    ASSERT_EQ(frame->RecentFiles().Files(),
              (std::vector<std::string>{kept.toStdString(), gone.toStdString()}));
    EXPECT_EQ(frame->Action(CommandTable::FileRecentFirst)->text(), "&1 " + kept);
    EXPECT_TRUE(Enabled(CommandTable::FileRecentFirst + 1));
    EXPECT_FALSE(frame->Action(CommandTable::FileRecentFirst + 2)->isVisible());
    QSettings settings(CAppInfo::SettingsOrganisation, CAppInfo::SettingsApplication);
    EXPECT_EQ(settings.value("Recent File List/File2").toString(), gone);

    frame->RunCommand(CommandTable::FileRecentFirst + 1);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].text.find("Failed to open document."), std::string::npos);
    EXPECT_EQ(frame->RecentFiles().Files(), (std::vector<std::string>{kept.toStdString()}));
    EXPECT_TRUE(frame->Documents().isEmpty());
    frame->RunCommand(CommandTable::FileRecentFirst);
    EXPECT_EQ(frame->Documents().size(), 1);
}

TEST_F(MainFrameTest, DroppedFilesOpenAsDocuments) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Write("one.85", "nop\n")),
                  QUrl::fromLocalFile(Write("two.85", "nop\n"))});
    frame->OpenDroppedFiles(data);
    ASSERT_EQ(frame->Documents().size(), 2);
    EXPECT_EQ(frame->Documents()[0]->Title(), "one.85");
}

TEST_F(MainFrameTest, SplitPanesAreViewsOfOneBufferThatFollowEveryChange) {
    CDocumentHolder* document = frame->OpenDocumentFile(Write("split.85", "nop\nhlt\n"));
    CChildFrame* child = frame->ActiveChildFrame();
    EXPECT_EQ(child->OpenViews().size(), 1);
    child->Split(2, 2);
    ASSERT_EQ(child->OpenViews().size(), 4);
    Modify(*document, "; top\n");
    for (QWidget* view : child->OpenViews()) {
        EXPECT_EQ(AccessibleText(view), "; top\nnop\nhlt\n");
        EXPECT_GE(view->minimumWidth(), CChildFrame::MinimumPaneSize);
    }
    frame->RunCommand(CommandTable::NextPane);
    EXPECT_EQ(child->ActiveView(), child->OpenViews()[1]);

    frame->RunCommand(CommandTable::WindowNew);
    EXPECT_EQ(document->Frames().size(), 2);
    EXPECT_EQ(frame->ActiveChildFrame()->windowTitle(), "split.85:2");

    // The Window menu lists the windows and brings the one chosen forward.
    QMenu* windowMenu = frame->menuBar()->actions()[3]->menu();
    emit windowMenu->aboutToShow();
    QStringList listed;
    QAction* first = nullptr;
    for (QAction* action : windowMenu->actions()) {
        if (action->isCheckable()) {
            listed.append(action->text() + (action->isChecked() ? "*" : ""));
            first = first != nullptr ? first : action;
        }
    }
    EXPECT_EQ(listed, (QStringList{"&1 split.85:1", "&2 split.85:2*"}));
    first->trigger();
    EXPECT_EQ(frame->ActiveChildFrame(), child);
}

} // namespace
