#include "TextViewFixture.h"

#include <QClipboard>
#include <QMimeData>
#include <QSignalSpy>
#include <map>

using namespace EditorCommands;

TEST_F(TextViewFixture, TypedWordsUndoUpToEachSpaceAndMenuTextsNameTheAction) {
    Load("");
    // Without an action to name, the Redo text is its resource's, which shows Undo's key.
    EXPECT_EQ(view->RedoMenuText(), "&Redo\tCtrl+Z");
    EXPECT_EQ(view->CommandText(Undo), "&Undo\tCtrl+Z");
    Type("abc def");
    EXPECT_EQ(Text(), "abc def");
    EXPECT_EQ(view->UndoMenuText(), "&Undo Typing\tCtrl+Z");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Text(), "abc");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Text(), "");
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Text(), "abc");

    view->SelectRange({1, 0}, {3, 0});
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Text(), "a");
    EXPECT_EQ(QApplication::clipboard()->text(), "bc");
    EXPECT_EQ(view->UndoMenuText(), "&Undo Cut\tCtrl+Z");
    Command(Undo);
    EXPECT_EQ(view->RedoMenuText(), "&Redo Cut\tCtrl+Y");
    EXPECT_TRUE(view->CanRedo());
}

TEST_F(TextViewFixture, EnterIndentsLikeTheLineAboveAsItsOwnUndoStep) {
    Load("\t\tlda 5");
    Key(Qt::Key_End);
    Key(Qt::Key_Return);
    EXPECT_EQ(Text(), "\t\tlda 5\n\t\t");
    ExpectCaret(*view, 2, 1);
    Type("x");
    EXPECT_EQ(view->UndoMenuText(), "&Undo Auto Indent\tCtrl+Z");
    Command(Undo); // the indentation and the letter typed after it
    EXPECT_EQ(Text(), "\t\tlda 5\n");
    Command(Undo);
    EXPECT_EQ(Text(), "\t\tlda 5");
}

TEST_F(TextViewFixture, OverwriteReplacesInsideALineAppendsAtItsEndAndEnterOnlyMoves) {
    Load("abcd\r\nxy");
    QSignalSpy overwrite(view.get(), &CTextView::overwriteChanged);
    Key(Qt::Key_Insert);
    ASSERT_EQ(overwrite.count(), 1);
    EXPECT_TRUE(overwrite.at(0).at(0).toBool());
    Type("12");
    EXPECT_EQ(Text(), "12cd\nxy");
    Key(Qt::Key_End);
    Type("Z");
    EXPECT_EQ(Text(), "12cdZ\nxy");
    Key(Qt::Key_Home);
    Key(Qt::Key_Return);
    EXPECT_EQ(Text(), "12cdZ\nxy");
    ExpectCaret(*view, 0, 1);
}

TEST_F(TextViewFixture, TabAndShiftTabIndentWholeLinesOfABlock) {
    Load("l0\r\nl1\r\nl2\r\nline3\r\nl4\r\nl5\r\nl6");
    view->SelectRange({2, 3}, {0, 6});
    Key(Qt::Key_Tab);
    EXPECT_EQ(Text(), "l0\nl1\nl2\n\tline3\n\tl4\n\tl5\nl6");
    CTextPosition start;
    CTextPosition end;
    view->GetSelection(start, end);
    EXPECT_EQ(start, (CTextPosition{0, 3}));
    EXPECT_EQ(end, (CTextPosition{0, 6}));
    Command(Undo);
    EXPECT_EQ(Text(), "l0\nl1\nl2\nline3\nl4\nl5\nl6");

    Load("  \tx\r\n    y\r\nz");
    view->SelectRange({0, 0}, {1, 2});
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Text(), "x\ny\nz");
    // Without a block, Shift+Tab only moves the caret back to a tab stop.
    Caret(1, 2);
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    ExpectCaret(*view, 0, 2);
    EXPECT_EQ(Text(), "x\ny\nz");
}

TEST_F(TextViewFixture, BackspaceAndDeleteAtTheEdgesOfLinesAndText) {
    Load("ab\r\ncd");
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Delete, Qt::NoModifier);
    EXPECT_EQ(Text(), "b\ncd");
    Key(Qt::Key_End);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Text(), "bcd");
    Key(Qt::Key_End);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Text(), "bcd");
    Caret(0, 0);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Text(), "bcd");
}

TEST_F(TextViewFixture, PasteTakesLineFeedsAsLineBreaksAndRefusesUnsavableText) {
    Load("[]");
    Caret(1, 0);
    QApplication::clipboard()->setText("one\ntwo\r\nthree");
    QCoreApplication::processEvents(); // the view enables Paste once it hears of the change
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Text(), "[one\ntwo\nthree]");
    ExpectCaret(*view, 5, 2);
    QApplication::clipboard()->setText(QString::fromUtf8("\xe2\x82\xac"));
    QCoreApplication::processEvents();
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Text(), "[one\ntwo\nthree]");
}

TEST_F(TextViewFixture, AReadOnlyBufferRefusesEveryChange) {
    // Without a buffer nothing can be edited.
    EXPECT_FALSE(view->IsEditable());
    Load("text", true);
    if (!buffer.IsReadOnly()) {
        GTEST_SKIP() << "file modes do not bind the superuser";
    }
    const std::string before = Text();
    EXPECT_TRUE(view->IsReadOnlyBuffer());
    EXPECT_FALSE(view->IsEditable());
    Type("x");
    Key(Qt::Key_Delete);
    Key(Qt::Key_Return);
    view->SelectRange({0, 0}, {2, 0});
    EXPECT_FALSE(view->ReplaceSelection("zz"));
    EXPECT_EQ(Text(), before);
}

TEST_F(TextViewFixture, ReplaceSelectionSelectsTheNewText) {
    Load("mov a,b");
    view->SelectRange({4, 0}, {5, 0});
    EXPECT_TRUE(view->ReplaceSelection("c"));
    EXPECT_EQ(Text(), "mov c,b");
    CTextPosition start;
    CTextPosition end;
    view->GetSelection(start, end);
    EXPECT_EQ(start, (CTextPosition{4, 0}));
    EXPECT_EQ(end, (CTextPosition{5, 0}));
    // Two undo steps: the insertion, then the deletion.
    EXPECT_EQ(view->UndoMenuText(), "&Undo Replace\tCtrl+Z");
    CTextPosition caret;
    ASSERT_TRUE(buffer.Undo(caret));
    EXPECT_EQ(view->UndoMenuText(), "&Undo Delete Selection\tCtrl+Z");
}

TEST_F(TextViewFixture, DraggedTextMovesAsOneUndoStepAndADropInsideItChangesNothing) {
    Load("alpha beta gamma");
    TestEditView other;
    other.AttachToBuffer(&buffer);
    view->SelectRange({6, 0}, {10, 0}); // "beta"

    // Into another pane of the same buffer, inside the dragged text: nothing changes.
    bool dropped = true;
    view->onDrag = [&](const QMimeData& mime) {
        dropped = other.DropText(&mime, other.PointOf({8, 0}) + QPoint(1, 2), false);
        return dropped ? Qt::MoveAction : Qt::IgnoreAction;
    };
    view->StartTextDrag();
    EXPECT_FALSE(dropped);
    EXPECT_EQ(Text(), "alpha beta gamma");

    // A move to the end of the text.
    view->onDrag = [&](const QMimeData& mime) {
        EXPECT_EQ(mime.text(), "beta");
        dropped = other.DropText(&mime, other.PointOf({16, 0}) + QPoint(2, 2), false);
        return Qt::MoveAction;
    };
    view->SelectRange({6, 0}, {10, 0});
    view->StartTextDrag();
    EXPECT_TRUE(dropped);
    EXPECT_EQ(Text(), "alpha  gammabeta");
    EXPECT_EQ(view->UndoMenuText(), "&Undo Drag And Drop\tCtrl+Z");
    Command(Undo);
    EXPECT_EQ(Text(), "alpha beta gamma");
}

namespace {

// What a host window hears from its view.
class RecordingHost : public CommandHost {
public:
    void ViewPaneText(CommandTarget&, int paneId, const QString& text) override {
        panes[paneId] = text;
    }
    void ViewCommandStateChanged(CommandTarget&) override { ++stateChanges; }
    void ViewHelpRequested() override {}
    void ViewFilesDropped(const QStringList& paths) override { dropped += paths; }

    std::map<int, QString> panes;
    int stateChanges = 0;
    QStringList dropped;
};

} // namespace

TEST_F(TextViewFixture, TellsItsHostThePanesAndCarriesOutWhatItIsOffered) {
    Load("ab\r\ncd");
    RecordingHost host;
    view->SetCommandHost(&host);
    view->UpdateStatusPanes();
    EXPECT_EQ(host.panes[StatusPane::Position], "Ln 1, Col 1");
    EXPECT_EQ(host.panes[StatusPane::LineEnd], "DOS");
    EXPECT_EQ(host.panes[StatusPane::Overwrite], "INS");
    EXPECT_EQ(host.panes[StatusPane::ReadOnly], "");
    EXPECT_TRUE(view->OnCommand(SwitchOverwrite));
    EXPECT_EQ(host.panes[StatusPane::Overwrite], "OVR");
    EXPECT_TRUE(view->CommandState(SwitchOverwrite).checked);

    // Cut: handled, off without a selection, on with one; then Undo names it.
    EXPECT_TRUE(view->CommandState(Cut).handled);
    EXPECT_FALSE(view->CommandState(Cut).enabled);
    EXPECT_FALSE(view->OnCommand(Cut));
    view->SelectRange({0, 1}, {2, 1});
    EXPECT_GT(host.stateChanges, 0);
    EXPECT_TRUE(view->CommandState(Cut).enabled);
    EXPECT_TRUE(view->OnCommand(Cut));
    EXPECT_EQ(Text(), "ab\n");
    EXPECT_EQ(view->CommandText(Undo), "&Undo Cut\tCtrl+Z");
    EXPECT_FALSE(view->CommandState(12345).handled);
    EXPECT_FALSE(view->OnCommand(12345));

    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QString::fromStdString(folder.File("one.85")))});
    QDropEvent drop(QPointF(50, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    view->dropEvent(&drop);
    EXPECT_EQ(host.dropped, QStringList{QString::fromStdString(folder.File("one.85"))});
    view->SetCommandHost(nullptr);
}
