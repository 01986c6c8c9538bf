#include "simulator/ui/ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int side = 24;
const QColor green(0, 150, 0);
const QColor blue(20, 70, 170);
const QColor red(190, 0, 0);
const QColor grey(90, 90, 90);

void Triangle(QPainter& p, QPointF at, double size, const QColor& colour) {
    QPainterPath path;
    path.moveTo(at.x(), at.y() - size / 2);
    path.lineTo(at.x() + size * 0.85, at.y());
    path.lineTo(at.x(), at.y() + size / 2);
    path.closeSubpath();
    p.fillPath(path, colour);
}

void Arrow(QPainter& p, const QPainterPath& shaft, QPointF tip, double angle, const QColor& c) {
    p.setPen(QPen(c, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shaft);
    p.save();
    p.translate(tip);
    p.rotate(angle);
    QPainterPath head;
    head.moveTo(0, 0);
    head.lineTo(-6, -4);
    head.lineTo(-6, 4);
    head.closeSubpath();
    p.fillPath(head, c);
    p.restore();
}

void Lines(QPainter& p) {
    p.setPen(QPen(grey, 2));
    p.drawLine(QPointF(4, 20), QPointF(20, 20));
}

void Draw(QPainter& p, const QString& command) {
    if (command == "Run") {
        Triangle(p, {6, 12}, 16, green);
    } else if (command == "Step Into") {
        QPainterPath shaft;
        shaft.moveTo(12, 3);
        shaft.lineTo(12, 14);
        Arrow(p, shaft, {12, 17}, 90, blue);
        Lines(p);
    } else if (command == "Step Back") {
        // Step Over's arc, turned back to the left.
        QPainterPath shaft;
        shaft.moveTo(20, 15);
        shaft.cubicTo(20, 2, 4, 2, 5, 12);
        Arrow(p, shaft, {5, 16}, 90, blue);
        Lines(p);
    } else if (command == "Reset") {
        // Back to the start: a bar and a triangle pointing at it.
        p.fillRect(QRectF(4, 5, 3, 14), green);
        QPainterPath back;
        back.moveTo(8, 12);
        back.lineTo(20, 5);
        back.lineTo(20, 19);
        back.closeSubpath();
        p.fillPath(back, green);
    } else if (command == "Step Over") {
        QPainterPath shaft;
        shaft.moveTo(4, 15);
        shaft.cubicTo(4, 2, 20, 2, 19, 12);
        Arrow(p, shaft, {19, 16}, 90, blue);
        Lines(p);
    } else if (command == "Step Out") {
        QPainterPath shaft;
        shaft.moveTo(12, 18);
        shaft.lineTo(12, 8);
        Arrow(p, shaft, {12, 5}, -90, blue);
        Lines(p);
    } else if (command == "Run to Cursor") {
        QPainterPath shaft;
        shaft.moveTo(3, 12);
        shaft.lineTo(14, 12);
        Arrow(p, shaft, {17, 12}, 0, green);
        p.setPen(QPen(grey, 2));
        p.drawLine(QPointF(20, 5), QPointF(20, 19));
    } else if (command == "Stop") {
        p.fillRect(QRectF(6, 6, 12, 12), red);
    } else if (command == "Close") {
        p.setPen(QPen(grey, 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6, 6), QPointF(18, 18));
        p.drawLine(QPointF(18, 6), QPointF(6, 18));
    } else if (command == "Animate") {
        Triangle(p, {4, 12}, 12, green);
        Triangle(p, {13, 12}, 12, green);
    } else if (command == "Refresh") {
        QPainterPath shaft;
        shaft.arcMoveTo(QRectF(5, 5, 14, 14), 60);
        shaft.arcTo(QRectF(5, 5, 14, 14), 60, 270);
        Arrow(p, shaft, {19, 10}, -80, blue);
    } else if (command == "Toggle LED") {
        p.fillRect(QRectF(4, 3, 16, 18), Qt::black);
        p.setPen(QPen(QColor(220, 0, 0), 2));
        p.drawRect(QRectF(8, 6, 8, 6));
        p.drawRect(QRectF(8, 12, 8, 6));
    } else if (command == "Toggle breakpoint") {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(98, 0, 0));
        p.drawEllipse(QRectF(5, 5, 14, 14));
    } else if (command == "Enable/Disable breakpoint") {
        p.setPen(QPen(QColor(98, 0, 0), 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(5, 5, 14, 14));
    }
}

} // namespace

QIcon ToolbarIcon(const QString& command) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    Draw(painter, command);
    painter.end();
    return QIcon(pixmap);
}
