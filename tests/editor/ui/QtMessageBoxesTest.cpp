#include "dialogs/ui/QtMessageBoxes.h"

#include "support/RecordingMessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Answers the next modal message box by pressing `button` once it is shown.
void PressWhenShown(QMessageBox::StandardButton button, QString* caption, QString* text) {
    QTimer::singleShot(0, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        *caption = box->windowTitle();
        *text = box->text();
        box->button(button)->click();
    });
}

} // namespace

TEST(QtMessageBoxes, ShowsCaptionAndTextAndReturnsTheButtonPressed) {
    QtMessageBoxes boxes;
    const struct {
        MessageBoxes::Buttons buttons;
        QMessageBox::StandardButton press;
        MessageBoxes::Answer expected;
    } cases[] = {
        {MessageBoxes::Buttons::YesNoCancel, QMessageBox::No, MessageBoxes::Answer::No},
        {MessageBoxes::Buttons::YesNoCancel, QMessageBox::Cancel, MessageBoxes::Answer::Cancel},
        {MessageBoxes::Buttons::OkCancel, QMessageBox::Ok, MessageBoxes::Answer::Ok},
        {MessageBoxes::Buttons::YesNo, QMessageBox::Yes, MessageBoxes::Answer::Yes},
    };
    for (const auto& c : cases) {
        QString caption;
        QString text;
        PressWhenShown(c.press, &caption, &text);
        EXPECT_EQ(
            boxes.Ask({"Zorvan", "Save changes to a.85?", MessageBoxes::Icon::Question, c.buttons}),
            c.expected);
        EXPECT_EQ(caption, "Zorvan");
        EXPECT_EQ(text, "Save changes to a.85?");
    }
}

TEST(QtMessageBoxes, YesAndNoMayCarryTextsOfTheirOwn) {
    QtMessageBoxes boxes;
    for (const QMessageBox::StandardButton press : {QMessageBox::Yes, QMessageBox::No}) {
        QStringList buttons;
        QTimer::singleShot(0, [&buttons, press] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            for (QAbstractButton* button : box->buttons()) {
                buttons.append(button->text());
            }
            box->button(press)->click();
        });
        MessageBoxes::Box box{"Zorvan", "a.85 has changed on disk. Reload it?",
                              MessageBoxes::Icon::Warning, MessageBoxes::Buttons::YesNo};
        box.yesText = "&Reload";
        box.noText = "&Keep mine";
        EXPECT_EQ(boxes.Ask(box),
                  press == QMessageBox::Yes ? MessageBoxes::Answer::Yes : MessageBoxes::Answer::No);
        buttons.sort();
        EXPECT_EQ(buttons, QStringList({"&Keep mine", "&Reload"}));
    }
}

TEST(RecordingMessageBoxes, AnswersInTurnThenWithTheDefaultAndRestoresThePrevious) {
    {
        RecordingMessageBoxes boxes;
        boxes.answers = {MessageBoxes::Answer::No};
        EXPECT_EQ(MessageBoxes::Ask("Zorvan", "one", MessageBoxes::Icon::Question,
                                    MessageBoxes::Buttons::YesNoCancel),
                  MessageBoxes::Answer::No);
        EXPECT_EQ(MessageBoxes::Ask("Zorvan", "two", MessageBoxes::Icon::Question,
                                    MessageBoxes::Buttons::YesNoCancel),
                  MessageBoxes::Answer::Cancel);
        ASSERT_EQ(boxes.shown.size(), 2U);
        EXPECT_EQ(boxes.shown[1].text, "two");
    }
    EXPECT_EQ(MessageBoxes::Ask("Zorvan", "none installed", MessageBoxes::Icon::Warning,
                                MessageBoxes::Buttons::YesNo),
              MessageBoxes::Answer::No);
}
