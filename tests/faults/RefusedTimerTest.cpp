// A timer refused at each place the game sets one: the box is shown, the step
// that needed it stops where it must, and the game carries on afterwards.
#include <gtest/gtest.h>

#include "ViewHarness.h"

namespace tessaform::testing {
namespace {

const std::string kNoTimer = "message No timer available / SDI:TESSAFORM";

struct Refused : DealtGame {
    void LoseOffTheArrows(int block) { PressIn(block, 30, 30); }
    void PlayOutTheSet() {
        for (int game = 0; game < kSetLength; ++game) {
            clock.now = State().gameStartTime + 105;
            Tick(kClockTimer);
            clock.now += 1;
            Tick(kRestTimer);
        }
    }
};

TEST(RefusedTimer, RestAfterTheLastOpenBlockStopsTheEvaluationUntilTheNextRepaint) {
    Refused g;
    for (int k = 1; k < 11; ++k) {
        g.LoseOffTheArrows(k);
    }
    const std::int32_t scoreBefore = g.State().setScores[0];
    g.timers.refuse = {kRestTimer};
    g.log.clear();
    g.LoseOffTheArrows(11);
    const Log expected = {"start sound 159", "kill timer 1", "start sound 158",
                          "set timer 2",     "show",         kNoTimer};
    EXPECT_EQ(g.log, expected) << "no time box or panel after the box";
    EXPECT_EQ(g.State().gameOver, 1);
    EXPECT_EQ(g.State().clockRunning, 0);
    EXPECT_TRUE(g.timers.set.empty());
    EXPECT_EQ(g.State().setScores[0], scoreBefore);

    g.log.clear();
    g.PressArrow(1, 2);
    EXPECT_TRUE(g.log.empty()) << "the board takes no presses once the game is over";

    g.timers.refuse.clear();
    g.Repaint();
    EXPECT_EQ(g.State().gameIndex, 1) << "the next repaint carries on with the next game";
    EXPECT_EQ(g.State().gameOver, 0);
    EXPECT_EQ(g.timers.set.count(kClockTimer), 1u);
}

TEST(RefusedTimer, RestWhenAPressFindsTheTimeUpLeavesTheRepaintToEndTheGame) {
    Refused g;
    g.clock.now = g.start + 105;  // no tick has come since
    g.timers.refuse = {kRestTimer};
    g.log.clear();
    g.LoseOffTheArrows(3);
    EXPECT_EQ(g.Count(kNoTimer), 1);
    EXPECT_EQ(g.log.back(), kNoTimer);
    EXPECT_EQ(g.State().gameOver, 1);
    EXPECT_EQ(g.State().timeExpired, 0) << "the stopped step set no more flags";
    EXPECT_TRUE(g.timers.set.empty());

    g.timers.refuse.clear();
    g.Repaint();
    EXPECT_EQ(g.State().gameIndex, 1);
    EXPECT_EQ(g.State().clockRunning, 1);
    EXPECT_EQ(g.timers.set, (std::map<int, unsigned>{{kClockTimer, 50u}}));
}

TEST(RefusedTimer, RestInTheRepaintsOwnTimeUpEndsThatRepaint) {
    Refused g;
    const std::string shownBefore = g.State().timeLeftText;
    g.clock.now = g.start + 110;
    g.timers.refuse = {kRestTimer};
    g.log.clear();
    g.Repaint();
    EXPECT_EQ(g.Count(kNoTimer), 1);
    EXPECT_EQ(g.log.back(), kNoTimer) << "the repaint ends at the box";
    EXPECT_EQ(g.Count("wait sound 157"), 0);
    EXPECT_EQ(g.State().timeLeftText, shownBefore);
    EXPECT_EQ(g.State().gameOver, 1);

    g.timers.refuse.clear();
    g.Repaint();
    EXPECT_EQ(g.State().gameIndex, 1);
    EXPECT_EQ(g.State().gameOver, 0);
}

TEST(RefusedTimer, ClockAtANewSetJudgesItsFirstGameByTheLastStart) {
    Refused g;
    g.PlayOutTheSet();
    ASSERT_TRUE(g.timers.set.empty());
    g.timers.refuse = {kClockTimer};
    g.log.clear();
    const Rect column = g.State().anotherSetRect;
    g.Press(column.left, column.top);
    // The first game is dealt, found over by the previous start, and the second begins,
    // again without its clock.
    EXPECT_EQ(g.Count(kNoTimer), 2);
    EXPECT_EQ(g.Count("wait sound 154"), 2);
    EXPECT_EQ(g.State().gameIndex, 1);
    EXPECT_EQ(g.State().gameOver, 0);
    EXPECT_EQ(g.State().clockRunning, 0);
    EXPECT_TRUE(g.view->PicturesLoaded());
    EXPECT_EQ(g.State().setScores[1], 10);
}

TEST(RefusedTimer, WhileEveryTimerIsRefusedTheSetWaitsAndGoesOnOnceOneIsGranted) {
    Refused g;
    g.timers.refuse = {kClockTimer, kRestTimer};
    g.clock.now = g.start + 105;
    g.Tick(kClockTimer);
    g.Repaint();
    EXPECT_EQ(g.Count(kNoTimer), 2) << "each step that needed the rest timer says so";
    EXPECT_EQ(g.State().gameIndex, 0);
    EXPECT_EQ(g.State().gameOver, 1);
    EXPECT_TRUE(g.timers.set.empty());

    g.timers.refuse.clear();
    g.Repaint();
    EXPECT_EQ(g.State().gameIndex, 1);
    EXPECT_EQ(g.State().gameOver, 0);
    EXPECT_EQ(g.State().clockRunning, 1);
    EXPECT_EQ(g.timers.set, (std::map<int, unsigned>{{kClockTimer, 50u}}));
}

}  // namespace
}  // namespace tessaform::testing
