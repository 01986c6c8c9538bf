#include "machine/ui/CLedWindow.h"

#include "machine/C8085Object.h"
#include "machine/LedGeometry.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QPainter>

CLedWindow::CLedWindow(C8085Object& machineToShow, QWidget* parent)
    : QWidget(parent, Qt::Window), machine(machineToShow) {
    // Before the accessible name is set: setting it makes Qt build and keep this widget's
    // accessible object, which must already be ours.
    AccessibleItems::Install();
    setWindowTitle("Zorvan - LED Display");
    setFixedSize(LedGeometry::DisplayWidth(), LedGeometry::DisplayHeight());
    setAccessibleName("LED Display");
}

bool CLedWindow::RefreshIfChanged(bool force) {
    const bool changed = machine.ledChanged.exchange(0) != 0;
    if (!changed && !force) {
        return false;
    }
    update();
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
    return true;
}

void CLedWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(palette().windowText().color(), 1));
    painter.setBrush(Qt::black);
    painter.drawRect(rect().adjusted(10, 10, -11, -11));
    const auto& digits = LedGeometry::Display();
    for (std::size_t cell = 0; cell < digits.size(); ++cell) {
        const int code = machine.GetLedCell(static_cast<int>(cell));
        const auto& digit = digits[cell];
        for (std::size_t s = 0; s < digit.segments.size(); ++s) {
            const QColor& colour = (code >> s & 1) != 0 ? LitColour : DarkColour;
            painter.setPen(QPen(colour, 1));
            painter.setBrush(colour);
            QPoint points[6];
            for (std::size_t p = 0; p < 6; ++p) {
                points[p] = QPoint(digit.segments[s][p].x, digit.segments[s][p].y);
            }
            painter.drawPolygon(points, 6);
        }
        const QColor& point = (code & 0x80) != 0 ? LitColour : DarkColour;
        painter.setPen(QPen(point, 1));
        painter.setBrush(point);
        painter.drawEllipse(digit.pointX, digit.pointY, digit.pointSize, digit.pointSize);
    }
}

void CLedWindow::closeEvent(QCloseEvent* event) {
    // The window belongs to the simulator window; the user's close only hides it.
    event->ignore();
    hide();
    emit closedByUser();
}

int CLedWindow::AccessibleItemCount() const {
    return LedGeometry::DigitCount;
}

QString CLedWindow::AccessibleItemText(int item) const {
    return QString::fromStdString(LedGeometry::SpokenText(machine.GetLedCell(item)));
}

QRect CLedWindow::AccessibleItemRect(int item) const {
    const auto& digit = LedGeometry::Display()[static_cast<std::size_t>(item)];
    const auto& top = digit.segments[0];
    return QRect(top[5].x - 5, top[0].y, digit.pointX + digit.pointSize - top[5].x + 5,
                 digit.pointY + digit.pointSize - top[0].y);
}
