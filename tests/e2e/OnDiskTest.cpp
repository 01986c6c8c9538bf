// The document's file as another program, a read-only folder and the bundled examples leave it.
#include "Program.h"
#include "ReadOnlyFolder.h"
#include "app/CCompileCommand.h"
#include "app/CMyZorvanDoc.h"
#include "app/ui/CAppShell.h"
#include "app/ui/CDocumentHolder.h"
#include "app/ui/CExamplesDlg.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CMyZorvanApp.h"
#include "app/ui/CMyZorvanView.h"
#include "editor/CTextBuffer.h"
#include "editor/ui/CommandTarget.h"
#include "simulator/ui/CSimulatorDlg.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

std::string Line(CTextBuffer& text, int line) {
    return {text.LineText(line), static_cast<std::size_t>(text.LineLength(line))};
}

QStringList Names(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

class OnDisk : public ProgramTest {
protected:
    // The user goes to another program and comes back to the document window.
    void SwitchAwayAndBack() {
        QWidget other;
        other.setWindowTitle(QStringLiteral("Another program"));
        other.resize(240, 120);
        other.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
        Activate(&other);
        other.hide();
        Activate(&Main());
        Settle();
    }

    // Opens Help > Examples from the keyboard; `answer` acts on the dialog.
    void OpenHelpExamples(const ModalAnswers::Answer& answer) {
        modals.Queue(answer);
        Press(Qt::Key_H, Qt::AltModifier);
        ASSERT_TRUE(WaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
        Press(Qt::Key_E);
        Settle();
    }

    // In the examples dialog: the first letters of a name, then Enter.
    static ModalAnswers::Answer ChooseExample(const QString& start, QString* description) {
        return [start, description](QWidget* modal) {
            auto* dialog = qobject_cast<CExamplesDlg*>(modal);
            ASSERT_NE(dialog, nullptr) << modal->metaObject()->className();
            QTest::keyClicks(QApplication::focusWidget(), start);
            *description = dialog->Description()->text();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        };
    }

    const QString program = "        mvi a, 1\n        hlt\n";
};

TEST_F(OnDisk, AChangeUnderAModifiedDocumentIsReloadedWhenTheUserSaysReload) {
    const QString path = Write("prog.85", program.toStdString());
    StartProgram(path);
    Type("; mine\n");
    ASSERT_TRUE(Document().IsModified());
    Write("prog.85", "        mvi a, 42\n        hlt\n");
    modals.Queue(ModalAnswers::Click("&Reload"));
    SwitchAwayAndBack();
    ASSERT_EQ(modals.seen.size(), 1);
    EXPECT_EQ(modals.seen[0].text, path + " has changed on disk. Reload it?");
    CTextBuffer& text = Document().GetTextBuffer();
    EXPECT_EQ(Line(text, 0), "        mvi a, 42");
    EXPECT_FALSE(Document().IsModified());
    // The reloaded text is the one compiled.
    Press(Qt::Key_F7);
    Settle();
    ASSERT_NE(Simulator(), nullptr);
    EXPECT_EQ(Document().GetMachine().memory[1], 42);
    EXPECT_EQ(modals.seen.size(), 1) << "nothing more was asked";
}

TEST_F(OnDisk, KeepMineIsAskedOnceAndTheUsersSaveGoesOverTheChange) {
    const QString path = Write("prog.85", program.toStdString());
    StartProgram(path);
    Type("; mine\n");
    Write("prog.85", "        mvi a, 42\n        hlt\n");
    modals.Queue(ModalAnswers::Click("&Keep mine"));
    SwitchAwayAndBack();
    ASSERT_EQ(modals.seen.size(), 1);
    EXPECT_EQ(modals.seen[0].text, path + " has changed on disk. Reload it?");
    EXPECT_EQ(Line(Document().GetTextBuffer(), 0), "; mine");
    EXPECT_EQ(Read(path), "        mvi a, 42\n        hlt\n") << "kept, not yet written";
    SwitchAwayAndBack();
    EXPECT_EQ(modals.seen.size(), 1) << "the same change is not asked about again";
    Press(Qt::Key_S, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(modals.seen.size(), 1) << "the save asks nothing";
    EXPECT_EQ(Read(path), "; mine\n" + program.toStdString());
    EXPECT_FALSE(Document().IsModified());
}

TEST_F(OnDisk, F7TakesInTheNewFileOfAnUnchangedDocumentOrAsksBeforeTheSaveQuestion) {
    const QString path = Write("prog.85", program.toStdString());
    StartProgram(path);
    // Unchanged in the editor: the new file is taken without a question and compiled.
    Write("prog.85", "        mvi a, 42\n        hlt\n");
    Press(Qt::Key_F7);
    Settle();
    EXPECT_TRUE(modals.seen.isEmpty());
    EXPECT_EQ(Line(Document().GetTextBuffer(), 0), "        mvi a, 42");
    ASSERT_NE(Simulator(), nullptr);
    EXPECT_EQ(Document().GetMachine().memory[1], 42);
    Press(Qt::Key_F5, Qt::ShiftModifier);
    Settle();
    ASSERT_EQ(Simulator(), nullptr);

    // Changed on both sides: the question comes first; Keep mine, then Yes to the save question,
    // compiles the text shown.
    Activate(&Main());
    View().setFocus();
    Press(Qt::Key_Home, Qt::ControlModifier);
    Type("; mine\n");
    Write("prog.85", "        mvi a, 99\n        nop\n        hlt\n");
    modals.Queue(ModalAnswers::Click("&Keep mine"));
    modals.Queue(ModalAnswers::Click("&Yes"));
    Press(Qt::Key_F7);
    Settle();
    ASSERT_EQ(modals.seen.size(), 2);
    EXPECT_EQ(modals.seen[0].text, path + " has changed on disk. Reload it?");
    EXPECT_EQ(modals.seen[1].text, "Save changes to " + path + "?");
    EXPECT_EQ(Read(path), "; mine\n        mvi a, 42\n        hlt\n");
    ASSERT_NE(Simulator(), nullptr);
    EXPECT_EQ(Document().GetMachine().memory[1], 42);
}

TEST_F(OnDisk, ADeletedFileIsToldOnceAndItsTextIsKeptToBeSaved) {
    const QString path = Write("prog.85", program.toStdString());
    StartProgram(path);
    ASSERT_TRUE(QFile::remove(path));
    modals.Queue(ModalAnswers::Click("OK"));
    SwitchAwayAndBack();
    ASSERT_EQ(modals.seen.size(), 1);
    EXPECT_EQ(modals.seen[0].text, CDocumentHolder::DeletedOnDiskText(path));
    EXPECT_TRUE(Document().IsModified()) << "the text exists nowhere else";
    EXPECT_EQ(Line(Document().GetTextBuffer(), 0), "        mvi a, 1");
    SwitchAwayAndBack();
    EXPECT_EQ(modals.seen.size(), 1);
    Press(Qt::Key_S, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(modals.seen.size(), 1);
    EXPECT_EQ(Read(path), program.toStdString());
    EXPECT_FALSE(Document().IsModified());
}

TEST_F(OnDisk, HelpExamplesListsTheBundledExamplesAndOpensTheChosenOne) {
    TheApplication().Shell().SetExampleFolders({Path("missing"), ZORVAN_EXAMPLES});
    StartProgram();
    QString description;
    OpenHelpExamples(ChooseExample("led_d", &description));
    ASSERT_EQ(modals.seen.size(), 1);
    EXPECT_EQ(modals.seen[0].title, "Examples");
    EXPECT_TRUE(description.startsWith("LED digits: the display has eight seven-segment cells"))
        << description.toStdString();
    EXPECT_EQ(Main().windowTitle(), "Zorvan - [led_digits.85]");
    EXPECT_EQ(QString::fromStdString(Document().GetPathName()),
              QDir(ZORVAN_EXAMPLES).filePath("led_digits.85"));
}

// The superuser's read-only folder is a mount of the program's thread; the folder must be made
// read-only after the files are in it.
TEST_F(OnDisk, AReadOnlyExampleCompilesWithItsLineMapInTheCacheAndSaysSoOnce) {
    const QString share = Path("share");
    ASSERT_TRUE(QDir().mkpath(share));
    ASSERT_TRUE(QFile::copy(QDir(ZORVAN_EXAMPLES).filePath("led_digits.85"),
                            QDir(share).filePath("led_digits.85")));
    const QStringList before = Names(share);
    ReadOnlyFolder readOnly(share.toStdString());
    if (!readOnly.Made()) {
        GTEST_SKIP() << "no way to make a folder read-only here";
    }
    TheApplication().Shell().SetExampleFolders({share});
    StartProgram();
    QString description;
    OpenHelpExamples(ChooseExample("led", &description));
    ASSERT_EQ(Main().windowTitle(), "Zorvan - [led_digits.85]");
    // The pointer away from where the simulator window opens: a button under it would put its
    // own description in the message pane.
    QCursor::setPos(QApplication::primaryScreen()->geometry().bottomRight() - QPoint(2, 2));
    Press(Qt::Key_F7);
    Settle();
    ASSERT_NE(Simulator(), nullptr) << "compiled";
    const QString cache = QString::fromLocal8Bit(qgetenv("XDG_CACHE_HOME")) + "/zorvan/";
    const QString told = Main().PaneText(StatusPane::Message);
    EXPECT_TRUE(told.startsWith(
        QString::fromStdString(CCompileCommand::LineMapInCacheText(cache.toStdString()))))
        << told.toStdString();
    EXPECT_EQ(Names(share), before) << "nothing written into the folder";
    // The second compile goes to the same place and says nothing about it.
    Press(Qt::Key_F5, Qt::ShiftModifier);
    Settle();
    Activate(&Main());
    View().setFocus();
    Main().SetStatusText(QString());
    Press(Qt::Key_F7);
    Settle();
    ASSERT_NE(Simulator(), nullptr);
    EXPECT_FALSE(Main().PaneText(StatusPane::Message).contains("read-only"));
    EXPECT_EQ(Names(share), before);
}

TEST_F(OnDisk, TheFirstSaveOfAFileInAReadOnlyFolderIsASaveAsInTheDocumentsFolder) {
    const QString share = Path("share");
    ASSERT_TRUE(QDir().mkpath(share));
    const QString source = QDir(share).filePath("prog.85");
    ASSERT_TRUE(QFile::copy(Write("prog.85", program.toStdString()), source));
    const QStringList before = Names(share);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    ASSERT_TRUE(documents.startsWith(QDir::homePath())) << "the test's own home";
    ASSERT_TRUE(QDir().mkpath(documents));
    {
        ReadOnlyFolder readOnly(share.toStdString());
        if (!readOnly.Made()) {
            QDir(documents).removeRecursively();
            GTEST_SKIP() << "no way to make a folder read-only here";
        }
        StartProgram(source);
        QString offered;
        modals.Queue([&offered](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr) << modal->metaObject()->className();
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            offered = QDir(dialog->directory().absolutePath()).filePath(name->text());
            QTest::keyClick(name, Qt::Key_Return);
        });
        Press(Qt::Key_S, Qt::ControlModifier);
        Settle();
        ASSERT_EQ(modals.seen.size(), 1);
        EXPECT_EQ(modals.seen[0].kind, "QFileDialog");
        const QString copy = QDir(documents).filePath("prog.85");
        EXPECT_EQ(offered, copy);
        EXPECT_EQ(Read(copy), program.toStdString());
        EXPECT_EQ(QString::fromStdString(Document().GetPathName()), copy);
        // The copy is the user's: it may be changed and saved in place.
        EXPECT_EQ(Main().PaneText(StatusPane::ReadOnly), "");
        Press(Qt::Key_Home, Qt::ControlModifier);
        Type("; mine\n");
        Press(Qt::Key_S, Qt::ControlModifier);
        Settle();
        EXPECT_EQ(modals.seen.size(), 1);
        EXPECT_EQ(Read(copy), "; mine\n" + program.toStdString());
        EXPECT_EQ(Names(share), before) << "nothing written into the folder";
        EndProgram();
    }
    QDir(documents).removeRecursively();
}

} // namespace
