// The LED window: pixels at known segment points, the digits as screen readers read them, the
// repaint on the machine's changed mark, and a close that only hides.

#include "machine/C8085Object.h"
#include "machine/LedGeometry.h"
#include "machine/ui/CLedWindow.h"

#include <QAccessible>
#include <QImage>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

QPoint Middle(const LedGeometry::Segment& s) {
    return {(s[0].x + s[3].x) / 2, (s[0].y + s[3].y) / 2};
}

QColor At(QWidget& window, QPoint point) {
    return window.grab().toImage().pixelColor(point);
}

} // namespace

TEST(LedWindow, SegmentsAndPointsAreLitOrDarkByTheirBits) {
    C8085Object machine;
    machine.Reset();
    CLedWindow window(machine, nullptr);
    // Cell 0: segment a and the point; cell 3: all dark; cell 7: everything.
    machine.ledCells[0] = 0x81;
    machine.ledCells[3] = 0x00;
    machine.ledCells[7] = 0xFF;
    const auto& digits = LedGeometry::Display();
    struct Case {
        std::size_t cell;
        int segment; // 0..6, or 7 for the point
        const QColor& colour;
    };
    const Case cases[] = {
        {0, 0, CLedWindow::LitColour},  {0, 5, CLedWindow::DarkColour},
        {0, 7, CLedWindow::LitColour},  {3, 0, CLedWindow::DarkColour},
        {3, 7, CLedWindow::DarkColour}, {7, 3, CLedWindow::LitColour},
        {7, 6, CLedWindow::LitColour},
    };
    const QImage image = window.grab().toImage();
    for (const auto& c : cases) {
        const auto& digit = digits[c.cell];
        const QPoint point =
            c.segment == 7
                ? QPoint(digit.pointX + digit.pointSize / 2, digit.pointY + digit.pointSize / 2)
                : Middle(digit.segments[static_cast<std::size_t>(c.segment)]);
        EXPECT_EQ(image.pixelColor(point), c.colour) << c.cell << " " << c.segment;
    }
    EXPECT_EQ(image.pixelColor(15, 15), QColor(Qt::black)); // the face
    EXPECT_EQ(CLedWindow::DarkColour, QColor(66, 0, 0));
}

TEST(LedWindow, DigitsAreReadAsTheyShowAndRepaintOnTheChangedMark) {
    C8085Object machine;
    machine.Reset(); // 1 2 3 4 5 6 7 8
    CLedWindow window(machine, nullptr);
    QAccessibleInterface* display = QAccessible::queryAccessibleInterface(&window);
    ASSERT_EQ(display->childCount(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(display->child(i)->text(QAccessible::Name), QString::number(i + 1));
    }
    EXPECT_TRUE(window.RefreshIfChanged(false)); // the reset marked the cells changed
    EXPECT_FALSE(window.RefreshIfChanged(false));
    machine.ledCells[2] = 0x80;
    machine.SetLedChanged(1);
    EXPECT_TRUE(window.RefreshIfChanged(false));
    EXPECT_EQ(display->child(2)->text(QAccessible::Name), "0x80");
    const auto& digit = LedGeometry::Display()[2];
    EXPECT_EQ(At(window, Middle(digit.segments[0])), CLedWindow::DarkColour);
}

TEST(LedWindow, ClosingOnlyHides) {
    C8085Object machine;
    CLedWindow window(machine, nullptr);
    window.show();
    QSignalSpy closed(&window, &CLedWindow::closedByUser);
    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(closed.count(), 1);
}
