#include "app/ui/ToolbarIcons.h"

#include "app/CommandTable.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace ToolbarIcons {

namespace {

using namespace CommandTable;

// Everything is drawn on a 24 by 24 grid.
constexpr int grid = 24;
const QColor ink(40, 48, 60);
const QColor paper(250, 250, 246);
const QColor blue(40, 110, 200);
const QColor green(30, 150, 70);
const QColor red(200, 50, 40);
const QColor yellow(240, 190, 60);

void Page(QPainter& p, QRectF r) {
    QPainterPath path;
    path.moveTo(r.topLeft());
    path.lineTo(r.right() - 5, r.top());
    path.lineTo(r.right(), r.top() + 5);
    path.lineTo(r.bottomRight());
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    p.setPen(QPen(ink, 1.4));
    p.setBrush(paper);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - 5, r.top()), QPointF(r.right() - 5, r.top() + 5));
    p.drawLine(QPointF(r.right() - 5, r.top() + 5), QPointF(r.right(), r.top() + 5));
}

void Lens(QPainter& p, QPointF centre) {
    p.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(4, 4), centre + QPointF(9, 9));
    p.setPen(QPen(ink, 1.8));
    p.setBrush(QColor(200, 225, 250));
    p.drawEllipse(centre, 5.5, 5.5);
}

void Arrow(QPainter& p, QPointF from, QPointF to, QColor colour) {
    p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot((to - from).x(), (to - from).y());
    const QPointF n(-d.y(), d.x());
    p.drawLine(to, to - d * 4 + n * 3.5);
    p.drawLine(to, to - d * 4 - n * 3.5);
}

void Flag(QPainter& p, QRectF r) {
    p.setPen(QPen(blue.darker(130), 1.2));
    p.setBrush(QColor(90, 160, 235));
    p.drawRoundedRect(r, 2.5, 2.5);
}

void Turn(QPainter& p, bool back) {
    QPainterPath path;
    path.moveTo(back ? 19 : 5, 18);
    path.cubicTo(back ? 21 : 3, 8, back ? 12 : 12, 5, back ? 6 : 18, 10);
    p.setPen(QPen(blue, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    const QPointF tip(back ? 6 : 18, 10);
    const qreal s = back ? 1 : -1;
    p.drawLine(tip, tip + QPointF(s * 5, -3.5));
    p.drawLine(tip, tip + QPointF(s * 1.5, 5.5));
}

void Badge(QPainter& p, const QString& letters, QColor colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(2, 4, 20, 16), 4, 4);
    QFont font = p.font();
    font.setPixelSize(letters.size() > 2 ? 8 : 11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(2, 4, 20, 16), Qt::AlignCenter, letters);
}

void Draw(QPainter& p, int id) {
    switch (id) {
    case FileNew:
        Page(p, QRectF(5, 2.5, 14, 19));
        break;
    case FileOpen:
        p.setPen(QPen(ink, 1.4));
        p.setBrush(yellow.darker(115));
        p.drawRect(QRectF(2.5, 6.5, 17, 13));
        p.setBrush(yellow);
        p.drawPolygon(QPolygonF({{5, 10.5}, {22, 10.5}, {19.5, 19.5}, {2.5, 19.5}}));
        break;
    case FileSave:
        p.setPen(QPen(ink, 1.4));
        p.setBrush(blue);
        p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 2, 2);
        p.setBrush(paper);
        p.drawRect(QRectF(7, 3.5, 10, 6));
        p.setBrush(QColor(220, 225, 235));
        p.drawRect(QRectF(6.5, 13, 11, 7.5));
        break;
    case EditCut:
        p.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(7, 3), QPointF(15, 15));
        p.drawLine(QPointF(17, 3), QPointF(9, 15));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(red, 1.8));
        p.drawEllipse(QPointF(7.5, 18), 3.2, 3.2);
        p.drawEllipse(QPointF(16.5, 18), 3.2, 3.2);
        break;
    case EditCopy:
        Page(p, QRectF(3, 2.5, 11, 14));
        Page(p, QRectF(10, 7.5, 11, 14));
        break;
    case EditPaste:
        p.setPen(QPen(ink, 1.4));
        p.setBrush(QColor(190, 140, 80));
        p.drawRoundedRect(QRectF(3.5, 4, 14, 17), 2, 2);
        p.setBrush(QColor(170, 170, 170));
        p.drawRect(QRectF(7, 2.5, 7, 3.5));
        Page(p, QRectF(11, 9.5, 10, 12));
        break;
    case FilePrint:
        p.setPen(QPen(ink, 1.4));
        p.setBrush(paper);
        p.drawRect(QRectF(7, 2.5, 10, 7));
        p.setBrush(QColor(160, 165, 175));
        p.drawRoundedRect(QRectF(2.5, 9.5, 19, 8), 2, 2);
        p.setBrush(paper);
        p.drawRect(QRectF(7, 14.5, 10, 7));
        break;
    case Compile:
        // A chip: the program goes into the machine.
        p.setPen(QPen(ink, 1.4));
        for (int pin = 0; pin < 4; ++pin) {
            p.drawLine(QPointF(7 + pin * 3.3, 3), QPointF(7 + pin * 3.3, 21));
        }
        p.setBrush(QColor(50, 52, 58));
        p.drawRoundedRect(QRectF(4.5, 6, 15, 12), 2, 2);
        p.setPen(QPen(yellow, 2));
        p.drawLine(QPointF(9, 12), QPointF(15, 12));
        p.drawLine(QPointF(12.5, 9), QPointF(15, 12));
        p.drawLine(QPointF(12.5, 15), QPointF(15, 12));
        break;
    case Disassembly:
        Page(p, QRectF(4, 2.5, 16, 19));
        p.setPen(QPen(blue, 1.6));
        for (int line = 0; line < 4; ++line) {
            p.drawLine(QPointF(7, 8 + line * 3.5), QPointF(10, 8 + line * 3.5));
            p.drawLine(QPointF(12, 8 + line * 3.5), QPointF(17 - (line % 2) * 2, 8 + line * 3.5));
        }
        break;
    case EditUndo:
        Turn(p, true);
        break;
    case EditRedo:
        Turn(p, false);
        break;
    case EditFind:
        Lens(p, QPointF(10, 10));
        break;
    case EditRepeat:
        Lens(p, QPointF(8, 8));
        Arrow(p, QPointF(13, 19), QPointF(22, 19), green);
        break;
    case EditFindPrevious:
        Lens(p, QPointF(13, 8));
        Arrow(p, QPointF(11, 19), QPointF(2, 19), green);
        break;
    case EditReplace:
        Lens(p, QPointF(8, 8));
        p.setPen(QPen(red, 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(13, 21), QPointF(21, 13));
        break;
    case BookmarkToggle:
        Flag(p, QRectF(3, 6, 18, 12));
        break;
    case BookmarkNext:
        Flag(p, QRectF(2, 3, 14, 9));
        Arrow(p, QPointF(17, 10), QPointF(17, 21), green);
        break;
    case BookmarkPrevious:
        Flag(p, QRectF(2, 12, 14, 9));
        Arrow(p, QPointF(17, 14), QPointF(17, 3), green);
        break;
    case BookmarkClearAll:
        Flag(p, QRectF(2, 5, 14, 9));
        p.setPen(QPen(red, 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(13, 12), QPointF(21, 20));
        p.drawLine(QPointF(21, 12), QPointF(13, 20));
        break;
    case AppAbout:
        p.setPen(Qt::NoPen);
        p.setBrush(blue);
        p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
        p.setPen(Qt::white);
        {
            QFont font = p.font();
            font.setPixelSize(14);
            font.setBold(true);
            p.setFont(font);
        }
        p.drawText(QRectF(2.5, 2.5, 19, 19), Qt::AlignCenter, QStringLiteral("?"));
        break;
    case EditPreferencesButton:
        p.setPen(QPen(ink, 1.4));
        p.setBrush(paper);
        p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 2, 2);
        p.setPen(QPen(green, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({{7, 12}, {10.5, 16}, {17, 7.5}}));
        break;
    default:
        Badge(p, QString::number(id % 100), ink);
        break;
    }
}

} // namespace

QIcon For(int id) {
    QIcon icon;
    for (int size : {16, 20, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(qreal(size) / grid, qreal(size) / grid);
        Draw(painter, id);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace ToolbarIcons
