#pragma once

#include <QPixmap>
#include <QSplashScreen>

// The start-up picture. Shown for 750 ms after the main window appears, or, from the About box,
// until the next key or click; any key press or mouse click anywhere in the program closes it and
// is used up doing so.
class CSplash : public QSplashScreen {
    Q_OBJECT
public:
    static constexpr int ShowMilliseconds = 750;

    // `timed`: close by itself after ShowMilliseconds.
    explicit CSplash(bool timed, QWidget* parent = nullptr);
    ~CSplash() override;

    // The picture, drawn here rather than loaded, so that it scales with the screen.
    static QPixmap Picture(qreal devicePixelRatio = 1.0);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
