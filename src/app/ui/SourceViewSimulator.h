#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>

struct CSimContext;

// The simulator window as the source view drives it. The adapter is a child of the window, so
// it goes when the window goes; the view holds it through a QPointer and never calls a window
// that is gone.
class SourceViewSimulator : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual QWidget* Window() = 0;
    virtual void Run() = 0;
    virtual void StepInto() = 0;
    virtual void StepOver() = 0;
    virtual void RunToCursor(std::uint16_t address) = 0;
    virtual void StopAndClose() = 0;
    virtual void RefreshAll() = 0;
    virtual void ShowAddress(std::uint16_t address) = 0;
    // Stops a run and closes the window at once (a document or the program is closing); false
    // when the window refused.
    virtual bool StopAndCloseNow() = 0;
    virtual void RestorePlacement(const QByteArray& placement) = 0;
    virtual void Show() = 0;

signals:
    // The window is closing; its placement, for the next opening.
    void closed(const QByteArray& placement);
};

// Builds the simulator window of a compile, not yet shown; the window sets the document's
// simulatorOpen when it is ready. A CMyException from it fails the compile.
using SourceViewSimulatorFactory =
    std::function<SourceViewSimulator*(const CSimContext& context, QWidget* parent)>;
// The factory of the desktop program's simulator window.
SourceViewSimulatorFactory DefaultSourceViewSimulatorFactory();
