#pragma once

#include "app/ui/CAppInfo.h"
#include "app/ui/CChildFrame.h"
#include "app/ui/CDocumentHolder.h"
#include "app/ui/CMainFrame.h"
#include "support/RecordingMessageBoxes.h"
#include "support/TempFolder.h"

#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QApplication>
#include <QMenuBar>
#include <QSettings>
#include <gtest/gtest.h>
#include <memory>

// A main window on a clean settings store, with the file dialogs answered by the test and every
// message box recorded.
class MainFrameTest : public testing::Test {
protected:
    void SetUp() override {
        QSettings(CAppInfo::SettingsOrganisation, CAppInfo::SettingsApplication).clear();
        frame = MakeFrame();
    }

    void TearDown() override {
        frame.reset();
        Settle();
    }

    std::unique_ptr<CMainFrame> MakeFrame() {
        auto made = std::make_unique<CMainFrame>();
        CMainFrame::FileDialogs dialogs;
        dialogs.open = [this](QWidget*) { return openAnswer; };
        dialogs.save = [this](QWidget*, const QString& suggested) {
            saveSuggestions.append(suggested);
            return saveAnswer;
        };
        made->SetFileDialogs(dialogs);
        made->show();
        return made;
    }

    // Lets windows closed with deleteLater go.
    static void Settle() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    static void Modify(CDocumentHolder& holder, const char* text = "x") {
        int endLine = 0;
        int endChar = 0;
        holder.Document().GetTextBuffer().InsertChars(nullptr, 0, 0, text, endLine, endChar);
    }

    QStringList MenuTitles() const {
        QStringList titles;
        for (QAction* action : frame->menuBar()->actions()) {
            titles.append(action->text());
        }
        return titles;
    }

    bool Enabled(int id) {
        frame->UpdateCommandUI();
        return frame->Action(id)->isEnabled();
    }

    // What assistive technology reads from a widget.
    static QString AccessibleText(QWidget* widget) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        if (accessible == nullptr) {
            return {};
        }
        if (QAccessibleTextInterface* text = accessible->textInterface()) {
            return text->text(0, text->characterCount());
        }
        return accessible->text(QAccessible::Name);
    }

    QString Write(const char* name, const char* content) const {
        return QString::fromStdString(folder.Write(name, content));
    }

    RecordingMessageBoxes boxes;
    TempFolder folder;
    std::unique_ptr<CMainFrame> frame;
    QString openAnswer;
    QString saveAnswer;
    QStringList saveSuggestions;
};
