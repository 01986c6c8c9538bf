#include "app/ui/SourceViewDocumentLink.h"

#include "app/CMyZorvanDoc.h"
#include "app/DeviceSet.h"
#include "app/ui/CMyZorvanView.h"
#include "app/ui/SourceViewSimulator.h"
#include "machine/ui/QtBeeper.h"
#include "simulator/BreakpointMarks.h"
#include "simulator/ui/QtNumberDialog.h"

#include <map>

struct SourceViewDocumentLink::Devices {
    QtNumberDialog numberDialog;
    QtBeeper beeper;
    DeviceSet set{numberDialog, DeviceSet::Replacements{&beeper, nullptr, nullptr, nullptr}};
};

namespace {

std::map<const CMyZorvanDoc*, SourceViewDocumentLink*>& Links() {
    static std::map<const CMyZorvanDoc*, SourceViewDocumentLink*> links;
    return links;
}

// Marks kept without a view: no caret to move; the simulator window refreshes itself.
class NoViewEffects : public BreakpointMarks::Effects {
public:
    void Beep() override {}
    void RefreshSimulator() override {}
    void MoveCaretToLine(int) override {}
};

} // namespace

SourceViewDocumentLink& SourceViewDocumentLink::For(CMyZorvanDoc& document) {
    SourceViewDocumentLink*& link = Links()[&document];
    if (link == nullptr) {
        link = new SourceViewDocumentLink(document);
    }
    return *link;
}

SourceViewDocumentLink::SourceViewDocumentLink(CMyZorvanDoc& linked)
    : document(linked), devices(std::make_unique<Devices>()) {
    devices->set.Attach(document.GetMachine());
}

SourceViewDocumentLink::~SourceViewDocumentLink() {
    document.GetMachine().SetSystemCallHandler(nullptr);
    Links().erase(&document);
}

void SourceViewDocumentLink::AddView(CMyZorvanView* view) {
    if (!views.contains(view)) {
        views.append(view);
    }
}

void SourceViewDocumentLink::RemoveView(CMyZorvanView* view) {
    views.removeAll(view);
    DeleteWhenUnused();
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

void SourceViewDocumentLink::SetSimulator(SourceViewSimulator* window) {
    simulator = window;
    if (window != nullptr) {
        // Direct: the window goes before its document, so the document is still there.
        connect(window, &QObject::destroyed, this, &SourceViewDocumentLink::OnSimulatorDestroyed);
    }
}

void SourceViewDocumentLink::OnSimulatorDestroyed() {
    simulator = nullptr;
    DeleteWhenUnused();
}

void SourceViewDocumentLink::DeleteWhenUnused() {
    if (views.isEmpty() && simulator == nullptr) {
        delete this;
    }
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
