#pragma once

#include "app/CMyZorvanDoc.h"
#include "app/ui/CMyZorvanView.h"
#include "app/ui/SourceViewDocumentLink.h"
#include "app/ui/SourceViewSimulator.h"
#include "simulator/CSimContext.h"
#include "simulator/CSimulatorFlags.h"
#include "support/CountingProgram.h"
#include "support/RecordingMessageBoxes.h"
#include "support/TempFolder.h"

#include <QSignalSpy>
#include <memory>
#include <string>
#include <vector>

// A simulator window that records what the source view asks of it.
class RecordingSimulator : public SourceViewSimulator {
public:
    RecordingSimulator(const CSimContext& simContext, QWidget* parent)
        : window(new QWidget(parent, Qt::Window)), context(simContext) {
        setParent(window);
        context.flags->SetSimulatorOpen(true);
    }
    QWidget* Window() override { return window; }
    void Run() override { calls.push_back("Run"); }
    void StepInto() override { calls.push_back("StepInto"); }
    void StepOver() override { calls.push_back("StepOver"); }
    void RunToCursor(std::uint16_t address) override {
        calls.push_back("RunToCursor " + std::to_string(address));
    }
    void StopAndClose() override {
        calls.push_back("StopAndClose");
        StopAndCloseNow();
    }
    void RefreshAll() override { calls.push_back("RefreshAll"); }
    void ShowAddress(std::uint16_t address) override {
        calls.push_back("ShowAddress " + std::to_string(address));
    }
    bool StopAndCloseNow() override {
        context.flags->ClearSimulatorFlags();
        emit closed(QByteArray("placement"));
        window->deleteLater();
        return true;
    }
    void RestorePlacement(const QByteArray& placement) override { restored = placement; }
    void Show() override { window->show(); }

    QWidget* window;
    CSimContext context;
    std::vector<std::string> calls;
    QByteArray restored;
};

// A host that records the status pane texts a view tells it.
class PaneRecorder : public CommandHost {
public:
    void ViewPaneText(CommandTarget&, int paneId, const QString& text) override {
        panes.emplace_back(paneId, text);
    }
    void ViewCommandStateChanged(CommandTarget&) override {}
    void ViewHelpRequested() override {}
    void ViewFilesDropped(const QStringList&) override {}

    std::vector<std::pair<int, QString>> panes;
};

// A document opened from a file of its own, with a view whose simulator windows record.
struct SourceViewBench {
    explicit SourceViewBench(const std::string& source) {
        path = folder.Write("prog.85", source);
        document.OpenDocument(path);
        view = std::make_unique<CMyZorvanView>(link);
        view->SetSimulatorFactory([this](const CSimContext& context, QWidget* parent) {
            last = new RecordingSimulator(context, parent);
            ++opened;
            return last;
        });
        view->resize(600, 400);
    }
    std::uint32_t Flags(int line) { return document.GetTextBuffer().LineFlags(line); }
    void Caret(int line, int column = 0) { view->SetCaretPosition({column, line}); }

    RecordingMessageBoxes boxes;
    TempFolder folder;
    std::string path;
    CMyZorvanDoc document;
    SourceViewDocumentLink link{document};
    std::unique_ptr<CMyZorvanView> view;
    RecordingSimulator* last = nullptr;
    int opened = 0;
};
