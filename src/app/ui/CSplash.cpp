#include "app/ui/CSplash.h"

#include "app/ui/CAppInfo.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

CSplash::CSplash(bool timed, QWidget* parent)
    : QSplashScreen(Picture(parent != nullptr ? parent->devicePixelRatioF() : 1.0)) {
    Q_UNUSED(parent);
    setAttribute(Qt::WA_DeleteOnClose);
    setCursor(Qt::ArrowCursor);
    setAccessibleName(QStringLiteral("Zorvan ") + CAppInfo::VersionText);
    qApp->installEventFilter(this);
    if (timed) {
        QTimer::singleShot(ShowMilliseconds, this, &QWidget::close);
    }
}

CSplash::~CSplash() {
    qApp->removeEventFilter(this);
}

bool CSplash::eventFilter(QObject*, QEvent* event) {
    // Closed, it waits for its deletion: the keys and clicks meanwhile are the user's next ones.
    if (!isVisible()) {
        return false;
    }
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
        close();
        return true;
    default:
        return false;
    }
}

QPixmap CSplash::Picture(qreal devicePixelRatio) {
    const QSize size(420, 240);
    QPixmap picture(size * devicePixelRatio);
    picture.setDevicePixelRatio(devicePixelRatio);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(18, 40, 72));
    sky.setColorAt(1, QColor(6, 14, 28));
    painter.fillRect(QRect(QPoint(0, 0), size), sky);

    // A 40-pin chip seen from above.
    const QRectF chip(36, 70, 120, 100);
    painter.setPen(QPen(QColor(190, 200, 210), 2));
    for (int pin = 0; pin < 8; ++pin) {
        const qreal x = chip.left() + 10 + pin * 14.0;
        painter.drawLine(QPointF(x, chip.top() - 10), QPointF(x, chip.top()));
        painter.drawLine(QPointF(x, chip.bottom()), QPointF(x, chip.bottom() + 10));
    }
    painter.setPen(QPen(QColor(80, 90, 100), 1));
    painter.setBrush(QColor(34, 36, 40));
    painter.drawRoundedRect(chip, 6, 6);
    painter.setBrush(QColor(60, 62, 68));
    painter.drawEllipse(QPointF(chip.left() + 14, chip.top() + 14), 5, 5);
    painter.setPen(QColor(230, 230, 230));
    QFont chipFont = painter.font();
    chipFont.setPixelSize(22);
    chipFont.setBold(true);
    painter.setFont(chipFont);
    painter.drawText(chip, Qt::AlignCenter, QStringLiteral("8085"));

    // The name with one lit seven-segment digit beside it.
    QFont titleFont = painter.font();
    titleFont.setPixelSize(46);
    painter.setFont(titleFont);
    painter.setPen(QColor(255, 214, 90));
    painter.drawText(QRectF(180, 60, 230, 60), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Zorvan"));
    QFont lineFont = painter.font();
    lineFont.setPixelSize(15);
    lineFont.setBold(false);
    painter.setFont(lineFont);
    painter.setPen(QColor(200, 214, 230));
    painter.drawText(QRectF(182, 118, 230, 24), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("8085 simulator"));
    painter.drawText(QRectF(182, 142, 230, 24), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Version ") + CAppInfo::VersionText);

    painter.setPen(QPen(QColor(255, 60, 40), 5, Qt::SolidLine, Qt::RoundCap));
    const QPointF origin(352, 176);
    const qreal w = 26, h = 22;
    painter.drawLine(origin, origin + QPointF(w, 0));                         // top
    painter.drawLine(origin + QPointF(w, 0), origin + QPointF(w, h));         // upper right
    painter.drawLine(origin + QPointF(0, h), origin + QPointF(w, h));         // middle
    painter.drawLine(origin + QPointF(0, 0), origin + QPointF(0, h));         // upper left
    painter.drawLine(origin + QPointF(w, h), origin + QPointF(w, 2 * h));     // lower right
    painter.drawLine(origin + QPointF(0, 2 * h), origin + QPointF(w, 2 * h)); // bottom
    painter.setPen(QPen(QColor(90, 30, 24), 5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(origin + QPointF(0, h), origin + QPointF(0, 2 * h)); // lower left, unlit

    painter.setPen(QPen(QColor(255, 214, 90), 2));
    painter.drawLine(QPointF(182, 130 - 12), QPointF(400, 130 - 12));
    return picture;
}
