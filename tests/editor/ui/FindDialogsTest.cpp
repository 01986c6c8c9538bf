#include "editor/FindSession.h"
#include "editor/ReplaceSession.h"
#include "editor/ui/CFindDlg.h"
#include "editor/ui/CReplaceDlg.h"
#include "editor/ui/FindCommands.h"
#include "editor/ui/FindSettings.h"
#include "support/FakeSearchTarget.h"
#include "support/RecordingMessageBoxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

template <typename Widget = QWidget> Widget* Child(QWidget* dialog, const char* name) {
    auto* widget = dialog->findChild<Widget*>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// Runs `act` on the dialog once it is shown modally; a dialog still open afterwards is closed
// with Cancel, so a failing test never waits for a person.
template <typename Dialog> void WhenShown(std::function<void(Dialog*)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(dialog);
        if (dialog->isVisible()) {
            dialog->reject();
        }
    });
}

class FindDialogsTest : public testing::Test {
protected:
    FindDialogsTest() {
        QSettings(FindSettings::organisation, FindSettings::application).clear();
        LoadSearchText(buffer, "mvi a, 1\r\nMVI b, 2\r\nmvia\r\n");
    }

    RecordingMessageBoxes boxes;
    CTextBuffer buffer;
    FakeSearchTarget target{buffer};
};

TEST_F(FindDialogsTest, FindShowsItsControlsAndOffersFindNextOnlyForAText) {
    FindSession session(target, {});
    CFindDlg dialog(session);
    EXPECT_EQ(dialog.windowTitle(), "Find");
    EXPECT_EQ(dialog.property("resourceId").toInt(), 8601);
    const struct {
        const char* name;
        const char* text;
        int id;
    } buttons[] = {{"wholeWord", "Match &whole word only", 8603},
                   {"matchCase", "Match &case", 8604},
                   {"up", "&Up", 8611},
                   {"down", "&Down", 8612},
                   {"findNext", "&Find Next", 1},
                   {"cancel", "Cancel", 2}};
    for (const auto& expected : buttons) {
        auto* button = Child<QAbstractButton>(&dialog, expected.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), expected.text);
        EXPECT_EQ(button->property("controlId").toInt(), expected.id);
    }
    auto* label = dialog.findChild<QLabel*>();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Fi&nd what:");
    auto* findWhat = Child<QLineEdit>(&dialog, "findWhat");
    EXPECT_EQ(label->buddy(), findWhat);
    EXPECT_TRUE(Child<QRadioButton>(&dialog, "down")->isChecked());

    auto* findNext = Child<QPushButton>(&dialog, "findNext");
    EXPECT_FALSE(findNext->isEnabled());
    findWhat->setText("mvi");
    EXPECT_TRUE(findNext->isEnabled());
    findWhat->clear();
    EXPECT_FALSE(findNext->isEnabled());
}

TEST_F(FindDialogsTest, FindNextClosesOnAMatchAndStaysOpenWithTheMessageOtherwise) {
    target.PlaceCaret({0, 1});
    WhenShown<CFindDlg>([this](CFindDlg* dialog) {
        Child<QLineEdit>(dialog, "findWhat")->setText("nowhere");
        Child<QPushButton>(dialog, "findNext")->click();
        EXPECT_TRUE(dialog->isVisible());
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, "Cannot find string\"nowhere\"");
        Child<QLineEdit>(dialog, "findWhat")->setText("mvi");
        Child<QCheckBox>(dialog, "matchCase")->setChecked(true);
        Child<QPushButton>(dialog, "findNext")->click();
        EXPECT_FALSE(dialog->isVisible());
    });
    FindCommands::Find(target, nullptr);
    EXPECT_EQ(target.highlights, (std::vector<CTextPosition>{{0, 0}}));
    EXPECT_TRUE(FindCommands::CanRepeat(target));
    FindCommands::FindNext(target);
    EXPECT_EQ(target.highlights.back(), (CTextPosition{0, 2}));
}

TEST_F(FindDialogsTest, FindKeepsItsValuesBetweenOpeningsAlsoAfterCancel) {
    WhenShown<CFindDlg>([](CFindDlg* dialog) {
        Child<QLineEdit>(dialog, "findWhat")->setText("mvi");
        Child<QCheckBox>(dialog, "matchCase")->setChecked(true);
        Child<QPushButton>(dialog, "cancel")->click();
    });
    FindCommands::Find(target, nullptr);
    EXPECT_TRUE(target.state.hasLastSearch);

    // Another view, with no search of its own, starts from the settings.
    FakeSearchTarget other(buffer);
    WhenShown<CFindDlg>([](CFindDlg* dialog) {
        EXPECT_EQ(Child<QLineEdit>(dialog, "findWhat")->text(), "mvi");
        EXPECT_TRUE(Child<QCheckBox>(dialog, "matchCase")->isChecked());
        EXPECT_FALSE(Child<QCheckBox>(dialog, "wholeWord")->isChecked());
    });
    FindCommands::Find(other, nullptr);

    QSettings settings(FindSettings::organisation, FindSettings::application);
    EXPECT_EQ(settings.value("TextEdit/Find/MatchCase").toInt(), 1);
    EXPECT_EQ(settings.value("TextEdit/Find/FindWhat").toString(), "mvi");
}

TEST_F(FindDialogsTest, ReplaceKeepsItsValuesAndOffersTheSelectionOnlyWithOne) {
    WhenShown<CReplaceDlg>([](CReplaceDlg* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Replace");
        EXPECT_FALSE(Child<QRadioButton>(dialog, "selection")->isEnabled());
        EXPECT_TRUE(Child<QRadioButton>(dialog, "wholeFile")->isChecked());
        EXPECT_FALSE(Child<QPushButton>(dialog, "replaceAll")->isEnabled());
        Child<QLineEdit>(dialog, "findWhat")->setText("mvi");
        Child<QLineEdit>(dialog, "replaceWith")->setText("ld");
        Child<QCheckBox>(dialog, "wholeWord")->setChecked(true);
        Child<QPushButton>(dialog, "cancel")->click();
    });
    FindCommands::Replace(target, nullptr);
    EXPECT_EQ(target.Text(), "mvi a, 1\nMVI b, 2\nmvia\n");

    target.SelectRange({0, 1}, {8, 1});
    WhenShown<CReplaceDlg>([](CReplaceDlg* dialog) {
        EXPECT_EQ(Child<QLineEdit>(dialog, "findWhat")->text(), "mvi");
        EXPECT_EQ(Child<QLineEdit>(dialog, "replaceWith")->text(), "ld");
        EXPECT_TRUE(Child<QCheckBox>(dialog, "wholeWord")->isChecked());
        EXPECT_TRUE(Child<QRadioButton>(dialog, "selection")->isChecked());
        Child<QPushButton>(dialog, "replaceAll")->click();
        EXPECT_TRUE(dialog->isVisible());
    });
    FindCommands::Replace(target, nullptr);
    EXPECT_EQ(target.Text(), "mvi a, 1\nld b, 2\nmvia\n");
    EXPECT_EQ(target.selStart, (CTextPosition{0, 1}));
    EXPECT_EQ(target.selEnd, (CTextPosition{7, 1}));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Cannot find string\"mvi\"");
}

TEST_F(FindDialogsTest, ReplaceOpensNothingInAViewWhoseTextCannotChange) {
    target.readOnly = true;
    bool opened = false;
    QTimer::singleShot(0, [&opened] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            opened = true;
            dialog->close();
        }
    });
    FindCommands::Replace(target, nullptr);
    QCoreApplication::processEvents();
    EXPECT_FALSE(opened);
}

} // namespace
