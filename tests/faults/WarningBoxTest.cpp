// The one-time sound warning is modal, and its loop goes on delivering the
// game's timers: the clock can run out behind it, the rest end and the next
// game be dealt before the player closes it. What the press or tick that
// opened it still had to do must then leave the new game alone.
#include <gtest/gtest.h>

#include "ViewHarness.h"

namespace tessaform::testing {
namespace {

struct BehindTheBox : DealtGame {
    // While the sound `id` is starting, the box stays open long enough for the
    // game to time out and the next one to be dealt.
    void NextGameDealtDuring(int id) {
        sound.onPlay = [this, id](int played, bool waits) {
            if (played != id || waits) {
                return;
            }
            sound.onPlay = {};
            clock.now = State().gameStartTime + 105;
            Tick(kClockTimer);
            clock.now += 1;
            Tick(kRestTimer);
        };
    }
};

TEST(WarningBox, ALossFinishingAfterTheNextGameWasDealtDissolvesNothingOfIt) {
    BehindTheBox g;
    g.NextGameDealtDuring(159);
    g.PressIn(4, 30, 30);
    EXPECT_EQ(g.State().gameIndex, 1);
    EXPECT_EQ(g.State().blockStatus[4], kOpen);
    EXPECT_FALSE(AllColour(g.Image(), g.State().blockRect[4], kGreyPixel))
        << "an open block of the new game was dissolved";
}

TEST(WarningBox, AMatchFinishingAfterTheNextGameWasDealtMarksNothingInIt) {
    BehindTheBox g;
    const int arrow = g.ArrowTo(1, 0);
    ASSERT_GE(arrow, 0);
    g.NextGameDealtDuring(156);
    g.PressArrow(1, arrow);
    EXPECT_EQ(g.State().gameIndex, 1);
    EXPECT_EQ(g.State().blockStatus[1], kOpen) << "the new game's block is no match";
    EXPECT_EQ(RingPixels(g.Image(), g.State().blockRect[1], kGreenPixel), 0);
    EXPECT_EQ(g.State().matchScore, 10);
}

TEST(WarningBox, AGameEndingAfterTheNextGameWasDealtLeavesItsClockAlone) {
    BehindTheBox g;
    // The tick that finds the time up starts the end-of-game sound, which opens the box;
    // the box's loop repaints, and the repaint's own clock check ends the game again
    // and deals the next one.
    g.sound.onPlay = [&g](int played, bool waits) {
        if (played == 158 && !waits) {
            g.sound.onPlay = {};
            g.Repaint();
        }
    };
    g.clock.now = g.start + 124;
    g.Tick(kClockTimer);
    EXPECT_EQ(g.State().gameIndex, 1);
    EXPECT_EQ(g.State().gameOver, 0) << "the new game is in play";
    EXPECT_EQ(g.timers.set, (std::map<int, unsigned>{{kClockTimer, 50u}}))
        << "no rest timer beside the new game's clock";
}

}  // namespace
}  // namespace tessaform::testing
