#include "app/ui/SourceViewDocumentLink.h"

#include "app/CMyZorvanDoc.h"
#include "app/DeviceSet.h"
#include "app/ui/CMyZorvanView.h"
#include "app/ui/SourceViewSimulator.h"
#include "machine/ui/QtBeeper.h"
#include "simulator/BreakpointMarks.h"
#include "simulator/ui/QtNumberDialog.h"

struct SourceViewDocumentLink::Devices {
    QtNumberDialog numberDialog;
    QtBeeper beeper;
    DeviceSet set{numberDialog, DeviceSet::Replacements{&beeper, nullptr, nullptr, nullptr}};
};

namespace {

// Marks kept without a view: no caret to move; the simulator window refreshes itself.
class NoViewEffects : public BreakpointMarks::Effects {
public:
    void Beep() override {}
    void RefreshSimulator() override {}
    void MoveCaretToLine(int) override {}
};

} // namespace

SourceViewDocumentLink::SourceViewDocumentLink(CMyZorvanDoc& linked)
    : document(linked), devices(std::make_unique<Devices>()) {
    devices->set.Attach(document.GetMachine());
}

SourceViewDocumentLink::~SourceViewDocumentLink() {
    document.GetMachine().SetSystemCallHandler(nullptr);
}

void SourceViewDocumentLink::AddView(CMyZorvanView* view) {
    if (!views.contains(view)) {
        views.append(view);
    }
}

void SourceViewDocumentLink::RemoveView(CMyZorvanView* view) {
    views.removeAll(view);
}

CMyZorvanView* SourceViewDocumentLink::ActiveView() const {
    if (activeView != nullptr && views.contains(activeView.data())) {
        return activeView.data();
    }
    return views.isEmpty() ? nullptr : views.first();
}

void SourceViewDocumentLink::SetActiveView(CMyZorvanView* view) {
    activeView = view;
}

SourceViewSimulator* SourceViewDocumentLink::Simulator() const {
    return simulator.data();
}

void SourceViewDocumentLink::SetSimulator(SourceViewSimulator* window) {
    simulator = window;
}

void SourceViewDocumentLink::ShowSourceLine(std::uint16_t address) {
    if (CMyZorvanView* view = ActiveView()) {
        view->ShowSourceLine(address);
        return;
    }
    const int line = document.lineMap.LineOfAddress(address) - 1; // throws without a line
    BreakpointMarks::MarkExecutionLine(document.GetTextBuffer(), line);
}

void SourceViewDocumentLink::ShowStatusText(const std::string& text) {
    if (CMyZorvanView* view = ActiveView()) {
        view->ShowStatusText(text);
    }
}

void SourceViewDocumentLink::ToggleBreakpointAt(std::uint16_t address) {
    if (CMyZorvanView* view = ActiveView()) {
        view->ToggleBreakpointAt(address);
        return;
    }
    NoViewEffects effects;
    BreakpointMarks(document.GetTextBuffer(), document, document.lineMap,
                    document.GetSimulatorFlags(), effects)
        .ToggleAt(address);
}

void SourceViewDocumentLink::EnableDisableBreakpointAt(std::uint16_t address) {
    if (CMyZorvanView* view = ActiveView()) {
        view->EnableDisableBreakpointAt(address);
        return;
    }
    NoViewEffects effects;
    BreakpointMarks(document.GetTextBuffer(), document, document.lineMap,
                    document.GetSimulatorFlags(), effects)
        .EnableDisableAt(address);
}
