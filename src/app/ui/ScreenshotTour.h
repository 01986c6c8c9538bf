#pragma once

#include <QObject>
#include <QString>

class CMainFrame;

// Pictures of the program for its documentation, taken offscreen: the main window as it opens,
// then the simulator window and the LED display after the active document has been compiled and
// run to its end. Every box the run would show is answered with its default button.
class ScreenshotTour : public QObject {
    Q_OBJECT
public:
    // `mainWindowFile` names the first picture; simulator.png and led.png go beside it.
    ScreenshotTour(CMainFrame& mainFrame, const QString& mainWindowFile);

    // Takes the pictures, then ends the application with 0, or 1 when one could not be written.
    void Start();

private:
    void TakeMainWindow();
    void RunProgram();
    void TakeSimulator();
    bool Save(QWidget& widget, const QString& file);
    void Finish();

    CMainFrame& frame;
    QString mainWindowPath;
    bool allSaved = true;
    int waitedTicks = 0;
};
