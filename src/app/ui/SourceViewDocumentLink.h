#pragma once

#include "simulator/SourceViewServices.h"

#include <QList>
#include <QPointer>
#include <memory>

class CMyZorvanDoc;
class CMyZorvanView;
class SourceViewSimulator;

// What the source views of one document share: the one simulator window, the views themselves
// and the devices its machine's system calls reach (number prompt, beeper, delay, serial ports,
// line printer), attached to the machine while the link exists. The simulator window's context
// names the link, not a view, so a window whose view was closed falls back to another view of
// the document, and with no view left still gets its marks kept in the text.
//
// The document's holder owns it and hands it to the source views it makes; it must outlive them
// and the simulator window.
class SourceViewDocumentLink : public SourceViewServices {
public:
    explicit SourceViewDocumentLink(CMyZorvanDoc& linked);
    ~SourceViewDocumentLink() override;
    SourceViewDocumentLink(const SourceViewDocumentLink&) = delete;
    SourceViewDocumentLink& operator=(const SourceViewDocumentLink&) = delete;

    CMyZorvanDoc& Document() { return document; }
    const QList<CMyZorvanView*>& Views() const { return views; }
    void AddView(CMyZorvanView* view);
    void RemoveView(CMyZorvanView* view);
    // The view the simulator window talks to: the one that compiled, else the oldest open one.
    CMyZorvanView* ActiveView() const;
    void SetActiveView(CMyZorvanView* view);

    SourceViewSimulator* Simulator() const;
    void SetSimulator(SourceViewSimulator* window);

    void ShowSourceLine(std::uint16_t address) override;
    void ShowStatusText(const std::string& text) override;
    void ToggleBreakpointAt(std::uint16_t address) override;
    void EnableDisableBreakpointAt(std::uint16_t address) override;

private:
    CMyZorvanDoc& document;
    QList<CMyZorvanView*> views;
    QPointer<CMyZorvanView> activeView;
    QPointer<SourceViewSimulator> simulator;
    struct Devices;
    std::unique_ptr<Devices> devices;
};
