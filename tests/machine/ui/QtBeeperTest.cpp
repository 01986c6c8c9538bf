// The desktop beeper lasts as long as its tone, with or without a sound card, and Stop cuts it.

#include "machine/ui/QtBeeper.h"

#include "machine/CancelSignal.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

TEST(QtBeeper, ReturnsWhenTheToneHasPlayedOrOnceCancelled) {
    QtBeeper beeper;
    CancelSignal cancel;
    QElapsedTimer clock;
    clock.start();
    beeper.Beep(1000, 75, cancel);
    EXPECT_GE(clock.elapsed(), 75);
    EXPECT_EQ(beeper.TonesPlayed(), beeper.HasAudio() ? 1 : 0);

    cancel.Cancel();
    clock.restart();
    beeper.Beep(2000, 5000, cancel);
    EXPECT_LT(clock.elapsed(), 1000);
}
