#pragma once

#include "app/CommandTable.h"
#include "editor/EditorCommands.h"
#include "editor/ui/CTextEditView.h"
#include "support/TempFolder.h"

#include <QAction>
#include <QApplication>
#include <QMimeData>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// An edit view whose text drags are carried out by the test instead of the desktop's loop.
class TestEditView : public CTextEditView {
public:
    using CTextEditView::dropEvent;
    using CTextEditView::DropText;
    using CTextEditView::ExecuteCommand;
    using CTextEditView::StartTextDrag;

    std::function<Qt::DropAction(const QMimeData&)> onDrag;

protected:
    Qt::DropAction RunDrag(QMimeData* mime) override {
        const std::unique_ptr<QMimeData> owned(mime);
        return onDrag ? onDrag(*owned) : Qt::IgnoreAction;
    }
};

// A shown, focused edit view over a buffer loaded from a file.
class TextViewFixture : public testing::Test {
protected:
    void SetUp() override {
        view = std::make_unique<TestEditView>();
        BindKeys(*view);
        view->resize(640, 400);
        view->show();
        QApplication::setActiveWindow(view.get());
        view->setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    }

    void Load(const std::string& text, bool readOnly = false) {
        const std::string path = folder.Write("source.85", text);
        if (readOnly) {
            std::filesystem::permissions(path, std::filesystem::perms::owner_read);
        }
        ASSERT_TRUE(buffer.LoadText(path));
        view->AttachToBuffer(&buffer);
    }

    std::string Text() const {
        std::string text;
        const int last = buffer.LineCount() - 1;
        buffer.CopyRange(0, 0, last, buffer.LineLength(last), text, "\n");
        return text;
    }

    // The keys of the program's command table, on the view's own actions: a view alone has none.
    static void BindKeys(CTextView& textView) {
        for (const CommandTable::Command& command : CommandTable::Commands()) {
            if (QAction* action = textView.Action(command.id)) {
                QList<QKeySequence> keys;
                for (std::string_view key : CommandTable::KeysOf(command.id)) {
                    keys.append(
                        QKeySequence(QString::fromLatin1(key.data(), qsizetype(key.size()))));
                }
                action->setShortcuts(keys);
            }
        }
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(view.get(), key, modifiers);
    }
    void Type(const char* text) { QTest::keyClicks(view.get(), text); }
    void Command(int id) { view->ExecuteCommand(id); }
    void Caret(int charIndex, int line) { view->SelectRange({charIndex, line}, {charIndex, line}); }

    static void ExpectCaret(const CTextView& textView, int charIndex, int line) {
        EXPECT_EQ(textView.GetCursorPos().line, line);
        EXPECT_EQ(textView.GetCursorPos().charIndex, charIndex);
    }

    TempFolder folder;
    CTextBuffer buffer;
    std::unique_ptr<TestEditView> view;
};
