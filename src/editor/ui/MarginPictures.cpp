#include "editor/ui/MarginPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace MarginPictures {

namespace {

void Arrow(QPainter& painter, const QRectF& box, const QColor& fill) {
    const double w = box.width();
    const double h = box.height();
    QPolygonF arrow;
    arrow << QPointF(box.left() + 0.1 * w, box.top() + 0.35 * h)
          << QPointF(box.left() + 0.5 * w, box.top() + 0.35 * h)
          << QPointF(box.left() + 0.5 * w, box.top() + 0.1 * h)
          << QPointF(box.left() + 0.95 * w, box.top() + 0.5 * h)
          << QPointF(box.left() + 0.5 * w, box.top() + 0.9 * h)
          << QPointF(box.left() + 0.5 * w, box.top() + 0.65 * h)
          << QPointF(box.left() + 0.1 * w, box.top() + 0.65 * h);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(fill);
    painter.drawPolygon(arrow);
}

void Flag(QPainter& painter, const QRectF& box, const QString& digit) {
    const double w = box.width();
    const double h = box.height();
    painter.setPen(QPen(QColor(40, 40, 40), 1.2));
    painter.drawLine(QPointF(box.left() + 0.2 * w, box.top() + 0.05 * h),
                     QPointF(box.left() + 0.2 * w, box.bottom()));
    const QRectF cloth(box.left() + 0.25 * w, box.top() + 0.05 * h, 0.7 * w, 0.6 * h);
    painter.setBrush(QColor(0, 120, 215));
    painter.setPen(Qt::NoPen);
    painter.drawRect(cloth);
    if (!digit.isEmpty()) {
        QFont font = painter.font();
        font.setPixelSize(std::max(6, static_cast<int>(0.55 * h)));
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(cloth, Qt::AlignCenter, digit);
    }
}

} // namespace

void Draw(QPainter& painter, const QRectF& box, int picture) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF inner = box.adjusted(1.5, 1.5, -1.5, -1.5);
    switch (picture) {
    case 0: // execution line
        Arrow(painter, box, QColor(255, 230, 0));
        break;
    case 1: // disabled breakpoint
        painter.setPen(QPen(QColor(200, 0, 0), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(inner);
        break;
    case 2: // enabled breakpoint
        painter.setPen(QPen(QColor(120, 0, 0), 1));
        painter.setBrush(QColor(220, 0, 0));
        painter.drawEllipse(inner);
        break;
    case 3: {
        QPolygonF diamond;
        diamond << QPointF(inner.center().x(), inner.top())
                << QPointF(inner.right(), inner.center().y())
                << QPointF(inner.center().x(), inner.bottom())
                << QPointF(inner.left(), inner.center().y());
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 140, 0));
        painter.drawPolygon(diamond);
        break;
    }
    case 14: // plain bookmark
        painter.setPen(QPen(QColor(0, 70, 140), 1));
        painter.setBrush(QColor(80, 160, 255));
        painter.drawRoundedRect(inner.adjusted(0, inner.height() * 0.15, 0, -inner.height() * 0.15),
                                3, 3);
        break;
    case 15: { // marked line
        QPolygonF triangle;
        triangle << inner.topLeft() << QPointF(inner.right(), inner.center().y())
                 << inner.bottomLeft();
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(128, 128, 0));
        painter.drawPolygon(triangle);
        break;
    }
    default:
        if (picture >= 4 && picture <= 13) {
            // Pictures 4 to 12 are the numbered bookmarks 1 to 9, picture 13 is bookmark 0.
            Flag(painter, box, QString::number(picture == 13 ? 0 : picture - 3));
        }
        break;
    }
    painter.restore();
}

} // namespace MarginPictures
