#include "MainFrameSupport.h"
#include "app/CMyZorvanDoc.h"
#include "app/CommandTable.h"
#include "app/ui/CAppShell.h"
#include "app/ui/CMyZorvanView.h"
#include "app/ui/CSplash.h"
#include "editor/ui/CommandTarget.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTest>
#include <algorithm>
#include <memory>

namespace {

using Answer = MessageBoxes::Answer;

// A view that takes part in the main window's commands and records what reaches it.
class FakeView : public QWidget, public CommandTarget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    State CommandState(int id) const override {
        if (id == CommandTable::EditCut || id == CommandTable::ToggleBreakpointKey) {
            return {true, cutEnabled, false};
        }
        return id == CommandTable::EditUndo ? State{true, true, false} : State{};
    }
    bool OnCommand(int id) override {
        commands.append(id);
        return true;
    }
    QString CommandText(int id) const override {
        return id == CommandTable::EditUndo ? QStringLiteral("&Undo Cut\tCtrl+Z") : QString();
    }
    void SetCommandHost(CommandHost* commandHost) override { host = commandHost; }
    void UpdateStatusPanes() override {
        host->ViewPaneText(*this, StatusPane::Overwrite, QStringLiteral("INS"));
    }

    QList<int> commands;
    bool cutEnabled = false;
    CommandHost* host = nullptr;
};

class AppShellTest : public MainFrameTest {
protected:
    void SetUp() override {
        QSettings(CAppInfo::SettingsOrganisation, CAppInfo::SettingsApplication).clear();
        shell = std::make_unique<CAppShell>();
        shell->SetHelpPageCandidates({QString::fromStdString(folder.File("Help/index.html"))});
        shell->urlOpener = [this](const QUrl& url) {
            opened.append(url);
            return true;
        };
    }
    void TearDown() override {
        shell.reset();
        Settle();
    }

    QLabel* Pane(int id) const {
        const auto labels = shell->MainFrame()->statusBar()->findChildren<QLabel*>();
        for (QLabel* label : labels) {
            if (label->text() == shell->MainFrame()->PaneText(id)) {
                return label;
            }
        }
        return nullptr;
    }

    std::unique_ptr<CAppShell> shell;
    QList<QUrl> opened;
};

TEST_F(AppShellTest, StartsWithAnEmptyDocument) {
    shell->Start(QString(), false);
    CMainFrame* main = shell->MainFrame();
    ASSERT_EQ(main->Documents().size(), 1);
    EXPECT_EQ(main->Documents()[0]->Title(), "noname");
    EXPECT_TRUE(main->HasDocumentMenu());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(AccessibleText(Pane(StatusPane::Message)), "Ready");
    EXPECT_EQ(AccessibleText(Pane(StatusPane::Position)), "Ln 1, Col 1");
    EXPECT_EQ(main->PaneText(StatusPane::LineEnd), "DOS");
    EXPECT_EQ(QCoreApplication::organizationName(), "Local AppWizard-Generated Applications");
}

TEST_F(AppShellTest, StartsWithTheFileGivenOrSaysWhyNot) {
    const QString path = QString::fromStdString(std::string(ZORVAN_EXAMPLES) + "/led_digits.85");
    shell->Start(path, false);
    CMainFrame* main = shell->MainFrame();
    ASSERT_EQ(main->Documents().size(), 1);
    EXPECT_EQ(main->Documents()[0]->Title(), "led_digits.85");
    EXPECT_TRUE(AccessibleText(main->ActiveView()).startsWith("; LED digits"));
    EXPECT_EQ(main->RecentFiles().Files().front(), path.toStdString());

    auto second = std::make_unique<CAppShell>();
    second->Start(QString::fromStdString(folder.File("missing.85")), false);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "Zorvan");
    EXPECT_NE(boxes.shown[0].text.find("No such file"), std::string::npos) << boxes.shown[0].text;
    ASSERT_EQ(second->MainFrame()->Documents().size(), 1);
    EXPECT_EQ(second->MainFrame()->Documents()[0]->Title(), "noname");
}

TEST_F(AppShellTest, F1OpensTheHelpPageOnceOrSaysItCouldNot) {
    shell->Start(QString(), false);
    QWidget* view = shell->MainFrame()->ActiveView();
    QTest::keyClick(view, Qt::Key_F1);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "Zorvan");
    EXPECT_EQ(boxes.shown[0].text, "Could not open <" + folder.File("Help/index.html") + ">");
    EXPECT_TRUE(opened.isEmpty());

    std::filesystem::create_directory(folder.path / "Help");
    folder.Write("Help/index.html", "<html></html>");
    QTest::keyClick(view, Qt::Key_F1);
    // A held key repeats; the repeats open nothing more.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(view, &repeat);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].toLocalFile(), QString::fromStdString(folder.File("Help/index.html")));

    shell->MainFrame()->RunCommand(CommandTable::HelpDocumentation);
    EXPECT_EQ(opened.size(), 2);
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(AppShellTest, ViewCommandsKeysAndStatusTextsGoThroughTheActiveView) {
    shell->Start(QString(), false);
    CMainFrame* main = shell->MainFrame();
    QList<FakeView*> views;
    main->SetViewFactory([&views](CDocumentHolder&, QWidget* parent) {
        views.append(new FakeView(parent));
        views.back()->setFocusPolicy(Qt::StrongFocus);
        return views.back();
    });
    main->NewDocument();
    ASSERT_EQ(views.size(), 4);
    FakeView* view = views.front();
    EXPECT_EQ(main->ActiveView(), view);
    EXPECT_EQ(main->PaneText(StatusPane::Overwrite), "INS");

    main->UpdateCommandUI();
    EXPECT_FALSE(main->Action(CommandTable::EditCut)->isEnabled());
    view->cutEnabled = true;
    view->host->ViewCommandStateChanged(*view);
    QCoreApplication::processEvents();
    EXPECT_TRUE(main->Action(CommandTable::EditCut)->isEnabled());
    EXPECT_FALSE(main->Action(CommandTable::EditPaste)->isEnabled());
    EXPECT_EQ(main->Action(CommandTable::EditUndo)->text(), "&Undo Cut\tCtrl+Z");

    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));
    view->setFocus();
    QTest::keyClick(view, Qt::Key_F9);
    QTest::keyClick(view, Qt::Key_X, Qt::ControlModifier);
    main->RunCommand(CommandTable::DebugRun);
    EXPECT_EQ(view->commands, (QList<int>{CommandTable::ToggleBreakpointKey, CommandTable::EditCut,
                                          CommandTable::DebugRun}));

    view->host->ViewPaneText(*view, StatusPane::Position, "Ln 7, Col 2");
    view->host->ViewPaneText(*view, StatusPane::Message, "MVI: move immediate");
    views[1]->host->ViewPaneText(*views[1], StatusPane::Position, "Ln 99, Col 1");
    EXPECT_EQ(main->PaneText(StatusPane::Position), "Ln 7, Col 2");
    EXPECT_EQ(main->PaneText(StatusPane::Message), "MVI: move immediate");
}

TEST_F(AppShellTest, ExitClosesTheSimulatorFirstAndKeepsAllWhenItRefuses) {
    shell->Start(QString(), false);
    CMainFrame* main = shell->MainFrame();
    CDocumentHolder* document = main->Documents().front();
    Modify(*document);
    document->Document().SetSimulatorOpen(true);
    // Shared, not borrowed: the shell may still run the closer after this test body.
    auto order = std::make_shared<QStringList>();
    auto refuse = std::make_shared<bool>(true);
    document->AddCloser([order, refuse, document] {
        order->append("simulator");
        if (*refuse) {
            return false;
        }
        document->Document().SetSimulatorOpen(false);
        return true;
    });
    boxes.answers = {Answer::No};

    EXPECT_FALSE(main->close());
    EXPECT_EQ(*order, QStringList{"simulator"});
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(main->Documents().size(), 1);

    *refuse = false;
    EXPECT_TRUE(main->close());
    EXPECT_EQ(*order, (QStringList{"simulator", "simulator"}));
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(AppShellTest, EndingTheProgramDuringARunStopsItFirst) {
    const std::string source = folder.Write("loop.85", "loop: inr a\r\n      jmp loop\r\n");
    shell->Start(QString::fromStdString(source), false);
    auto* view = qobject_cast<CMyZorvanView*>(shell->MainFrame()->ActiveView());
    ASSERT_NE(view, nullptr);
    view->Compile();
    view->Run();
    ASSERT_TRUE(view->Document().IsRunInProgress());
    shell.reset(); // as when the application ends without asking its windows first
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty() ||
                std::none_of(QApplication::topLevelWidgets().begin(),
                             QApplication::topLevelWidgets().end(),
                             [](QWidget* w) { return w->isVisible(); }));
}

TEST_F(AppShellTest, TheSplashGoesAtTheFirstKeyOrClickOrAfterItsTime) {
    shell->Start(QString(), false);
    QWidget* view = shell->MainFrame()->ActiveView();
    for (bool click : {false, true}) {
        QPointer<CSplash> splash = new CSplash(false);
        splash->show();
        if (click) {
            QTest::mouseClick(view, Qt::LeftButton);
        } else {
            QTest::keyClick(view, Qt::Key_A);
        }
        Settle();
        EXPECT_TRUE(splash.isNull());
    }
    QPointer<CSplash> timed = new CSplash(true);
    timed->show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return timed.isNull(); }, 5000));
    EXPECT_FALSE(CSplash::Picture().isNull());
}

TEST_F(AppShellTest, TheKeyAfterTheSplashWentIsTypedEvenBeforeTheSplashIsDeleted) {
    shell->Start(QString(), false);
    auto* view = qobject_cast<CMyZorvanView*>(shell->MainFrame()->ActiveView());
    ASSERT_NE(view, nullptr);
    QPointer<CSplash> splash = new CSplash(false);
    splash->show();
    QTest::mouseClick(view, Qt::LeftButton); // takes the splash away, typing nothing
    ASSERT_FALSE(splash.isNull()) << "its deletion waits for the event loop";
    ASSERT_FALSE(splash->isVisible());
    QTest::keyClick(view, Qt::Key_X);
    EXPECT_EQ(view->LineLength(0), 1) << "the key went to the text";
    Settle();
    EXPECT_TRUE(splash.isNull());
}

} // namespace

#include "AppShellTest.moc"
