#include "app/ui/ScreenshotTour.h"

#include "app/CMyZorvanDoc.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CMyZorvanView.h"
#include "dialogs/MessageBoxes.h"
#include "machine/ui/CLedWindow.h"
#include "simulator/ui/CSimulatorDlg.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>
#include <iostream>

namespace {

// Long enough for a window to lay itself out and paint.
constexpr int SettleMs = 300;
// The bundled examples end within seconds; give up on a program that does not.
constexpr int PollMs = 100;
constexpr int MaxRunTicks = 300;

CSimulatorDlg* OpenSimulator() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* simulator = qobject_cast<CSimulatorDlg*>(widget); simulator != nullptr) {
            return simulator;
        }
    }
    return nullptr;
}

} // namespace

ScreenshotTour::ScreenshotTour(CMainFrame& mainFrame, const QString& mainWindowFile)
    : QObject(&mainFrame), frame(mainFrame), mainWindowPath(mainWindowFile) {
}

void ScreenshotTour::Start() {
    // No one is there to answer: every box takes its default answer.
    MessageBoxes::Install(nullptr);
    QTimer::singleShot(SettleMs, this, &ScreenshotTour::TakeMainWindow);
}

void ScreenshotTour::TakeMainWindow() {
    Save(frame, mainWindowPath);
    RunProgram();
}

void ScreenshotTour::RunProgram() {
    auto* view = qobject_cast<CMyZorvanView*>(frame.ActiveView());
    if (view == nullptr) {
        Finish();
        return;
    }
    view->Compile();
    if (OpenSimulator() == nullptr) {
        std::cerr << "zorvan: the program did not compile; no simulator pictures\n";
        allSaved = false;
        Finish();
        return;
    }
    view->Run();
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [this, view, poll] {
        const bool running = view->Document().IsRunInProgress();
        if (running && ++waitedTicks < MaxRunTicks) {
            return;
        }
        poll->stop();
        QTimer::singleShot(SettleMs, this, &ScreenshotTour::TakeSimulator);
    });
    poll->start(PollMs);
}

void ScreenshotTour::TakeSimulator() {
    if (CSimulatorDlg* simulator = OpenSimulator()) {
        const QString folder = QFileInfo(mainWindowPath).absolutePath();
        Save(*simulator, folder + "/simulator.png");
        Save(simulator->LedWindow(), folder + "/led.png");
    }
    Finish();
}

bool ScreenshotTour::Save(QWidget& widget, const QString& file) {
    const bool saved = widget.grab().save(file, "PNG");
    if (!saved) {
        std::cerr << "zorvan: could not write " << file.toStdString() << "\n";
        allSaved = false;
    }
    return saved;
}

void ScreenshotTour::Finish() {
    QApplication::exit(allSaved ? 0 : 1);
}
