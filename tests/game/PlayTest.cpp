#include <gtest/gtest.h>

#include <algorithm>

#include "Arrangements.h"
#include "Strip.h"
#include "ViewHarness.h"

namespace tessaform::testing {
namespace {

// The game's own fixture, with the ring test at hand.
struct Game : DealtGame {
    int RingPixels(int block, QRgb colour) const {
        return testing::RingPixels(Image(), view->State().blockRect[block], colour);
    }
};

TEST(Match, StartsTheDingFramesGreenAndScores) {
    Game g;
    const int arrow = g.ArrowTo(1, 0);
    ASSERT_GE(arrow, 0);
    g.PressArrow(1, arrow);
    EXPECT_EQ(g.log, (Log{"start sound 156"}));
    EXPECT_EQ(g.State().blockStatus[1], kMatched);
    EXPECT_EQ(g.RingPixels(1, kGreenPixel), 636);
    EXPECT_EQ(g.State().matchScore, 40);
    EXPECT_EQ(g.State().clickCost, 10);
    EXPECT_EQ(g.State().setScores[0], 30);

    // Moved again, the block is open and the match points fall back.
    g.PressArrow(1, arrow);
    EXPECT_EQ(g.State().blockStatus[1], kOpen);
    EXPECT_EQ(g.RingPixels(1, kGreenPixel), 0) << "the new picture covers the frame";
    EXPECT_EQ(g.State().matchScore, 10);
    EXPECT_EQ(g.State().clickCost, 40);
    EXPECT_EQ(g.State().setScores[0], -30);
}

TEST(Collision, FramesBothBlackWaitsForTheBoingThenLosesAndDissolvesBoth) {
    Game g;
    // Plain ints, not a structured binding: the lambda below captures k.
    const auto move = g.CollidingMove();
    const int k = move.first;
    const int arrow = move.second;
    ASSERT_GE(k, 0);
    const int target = ApplyArrow(g.State().blockArrangement[k], arrow);
    const int j = static_cast<int>(
        std::find(g.State().blockArrangement.begin(), g.State().blockArrangement.end(), target) -
        g.State().blockArrangement.begin());
    bool framed = false;
    g.sound.onPlay = [&](int id, bool waits) {
        if (id == 155 && waits) {
            framed = g.RingPixels(k, kBlackPixel) == 636 && g.RingPixels(j, kBlackPixel) == 636;
        }
    };
    g.PressArrow(k, arrow);
    EXPECT_TRUE(framed) << "both black frames are on screen while the boing plays";
    EXPECT_EQ(g.log, (Log{"show", "wait sound 155", "start sound 159"}));
    EXPECT_EQ(g.State().blockStatus[k], kLost);
    EXPECT_EQ(g.State().blockStatus[j], kLost);
    EXPECT_TRUE(AllColour(g.Image(), g.State().blockRect[k], kGreyPixel));
    EXPECT_TRUE(AllColour(g.Image(), g.State().blockRect[j], kGreyPixel));
    EXPECT_EQ(g.State().blockClicks[k], 1) << "the move was counted";
}

TEST(Loss, APressOffTheArrowsLosesThatBlockAloneWithTheFallingTone) {
    Game g;
    g.sound.onPlay = [&](int id, bool) {
        EXPECT_EQ(id, 159);
        EXPECT_EQ(g.RingPixels(5, kBlackPixel), 0) << "no black frame on a miss";
    };
    g.PressIn(5, 30, 30);
    EXPECT_EQ(g.log, (Log{"start sound 159"}));
    EXPECT_EQ(g.State().blockStatus[5], kLost);
    EXPECT_EQ(std::count(g.State().blockStatus.begin(), g.State().blockStatus.end(), kLost), 1);
    EXPECT_EQ(g.State().blockClicks[5], 0);
    EXPECT_TRUE(AllColour(g.Image(), g.State().blockRect[5], kGreyPixel));

    // Presses on the lost block, the master and between blocks do nothing.
    g.log.clear();
    g.PressIn(5, 80, 80);
    g.PressArrow(0, 2);
    g.PressIn(1, 170, 80);
    EXPECT_TRUE(g.log.empty());
    EXPECT_EQ(g.State().blockArrangement[0], 0);
}

TEST(Loss, AMoveOntoALostBlocksArrangementChangesNothingElse) {
    Game g;
    const auto [k, arrow] = g.CollidingMove();
    const int target = ApplyArrow(g.State().blockArrangement[k], arrow);
    const int j = static_cast<int>(
        std::find(g.State().blockArrangement.begin(), g.State().blockArrangement.end(), target) -
        g.State().blockArrangement.begin());
    g.PressIn(j, 30, 30);  // j is lost first
    g.log.clear();
    g.PressArrow(k, arrow);
    EXPECT_TRUE(g.log.empty());
    EXPECT_EQ(g.State().blockStatus[k], kOpen);
}

TEST(Presses, HitTheArrowsWithTheirTolerancesAndTestOrder) {
    struct Case {
        int dx, dy, arrow;  // -1: off the arrows, the block is lost
    };
    const Case cases[] = {{64, 0, 0},    {63, 0, -1},   {16, 80, 1}, {17, 80, -1},
                          {80, 80, 6},   {81, 70, 6},   {82, 70, 7}, {70, 82, 8},
                          {160, 50, -1}, {50, 160, -1}, {96, 96, 9}, {97, 97, -1}};
    for (const Case& c : cases) {
        Game g;
        const int before = g.State().blockArrangement[4];
        g.PressIn(4, c.dx, c.dy);
        if (c.arrow < 0) {
            EXPECT_EQ(g.State().blockStatus[4], kLost) << c.dx << "," << c.dy;
        } else {
            EXPECT_EQ(g.State().blockArrangement[4], ApplyArrow(before, c.arrow))
                << c.dx << "," << c.dy;
            EXPECT_EQ(g.State().blockClicks[4], 1);
        }
    }
    // The rest of a gap belongs to no block.
    for (int d : {161, 170, 179}) {
        Game g;
        g.PressIn(4, d, 50);
        g.PressIn(4, 50, d);
        EXPECT_TRUE(g.log.empty()) << d;
    }
}

TEST(Presses, TheSameArrowTwiceRestoresThePictureButCountsTwoClicks) {
    Game g;
    const int before = g.State().blockArrangement[7];
    g.PressArrow(7, 4);
    g.PressArrow(7, 4);
    EXPECT_EQ(g.State().blockArrangement[7], before);
    EXPECT_EQ(g.State().blockClicks[7], 2);
    EXPECT_EQ(g.State().clickCost, 40);
    for (int i = 0; i < 12; ++i) {
        g.PressArrow(7, 4);
    }
    EXPECT_EQ(g.State().blockClicks[7], 10) << "the count stops at ten";
    EXPECT_EQ(g.State().clickCost, 2200);
}

// Sets every block but `open` as matched with one move each.
void MatchAllBut(Game& g, int open) {
    for (int k = 1; k < kBlockCount; ++k) {
        if (k != open) {
            g.State().blockStatus[k] = kMatched;
            g.State().blockClicks[k] = 1;
        }
    }
}

TEST(EndOfGame, TheLastMatchWithTimeLeftEarnsTheBonus) {
    Game g;
    MatchAllBut(g, 1);
    g.clock.now = g.start + 98;  // 7 seconds left
    g.PressArrow(1, g.ArrowTo(1, 0));
    EXPECT_EQ(g.log, (Log{"start sound 156", "kill timer 1", "start sound 158", "set timer 2"}));
    EXPECT_EQ(g.State().gameOver, 1);
    EXPECT_EQ(g.State().clockRunning, 0);
    EXPECT_EQ(g.State().matchScore, 3640);
    EXPECT_EQ(g.State().clickCost, 110);
    EXPECT_EQ(g.State().bonusIndex, 6);
    EXPECT_EQ(g.State().setScores[0], 4370);
    EXPECT_EQ(g.State().timeLeftText, "00:07");
    EXPECT_EQ(g.timers.set, (std::map<int, unsigned>{{2, 1000u}}));
    // The bonus box shows: its blue outline is drawn.
    EXPECT_GT(CountColour(g.Image(), g.State().bonusValueRect, 0xff0000ff), 100);

    // Presses on the board do nothing once the game is over.
    g.log.clear();
    g.PressIn(2, 30, 30);
    EXPECT_TRUE(g.log.empty());
}

TEST(EndOfGame, WithNinetyFiveSecondsLeftTheBonusIsCapped) {
    Game g;
    MatchAllBut(g, 1);
    g.clock.now = g.start + 10;
    g.PressArrow(1, g.ArrowTo(1, 0));
    EXPECT_EQ(g.State().bonusIndex, 89);
    EXPECT_EQ(g.State().setScores[0], 3640 + 1'255'800 - 110);
}

TEST(EndOfGame, ALossEndingTheGameGivesNoBonus) {
    Game g;
    MatchAllBut(g, 1);
    g.clock.now = g.start + 20;
    g.PressIn(1, 30, 30);
    EXPECT_EQ(g.log, (Log{"start sound 159", "kill timer 1", "start sound 158", "set timer 2"}));
    EXPECT_EQ(g.State().setScores[0], 2860 - 100);
    EXPECT_TRUE(AllColour(g.Image(), g.State().bonusValueRect, kGreyPixel));
}

TEST(EndOfGame, RunningOutOfTimeOneBlockShortScoresTheMatchesWithoutBonus) {
    Game g;
    MatchAllBut(g, 1);
    g.clock.now = g.start + 60;
    g.view->EvaluateBoard();  // as after the tenth match
    g.clock.now = g.start + 105;
    g.Tick();
    EXPECT_EQ(g.State().gameOver, 1);
    EXPECT_EQ(g.State().matchScore, 2860);
    EXPECT_EQ(g.State().setScores[0], 2860 - 100);
    EXPECT_TRUE(AllColour(g.Image(), g.State().bonusValueRect, kGreyPixel)) << "no bonus box";
}

TEST(EndOfGame, TheTickAtOneHundredFiveSecondsEndsItOnce) {
    Game g;
    g.clock.now = g.start + 104;
    g.Tick();
    EXPECT_EQ(g.State().timeLeftText, "00:01");
    EXPECT_TRUE(g.log.empty());
    g.clock.now = g.start + 105;
    g.Tick();
    EXPECT_EQ(g.log, (Log{"kill timer 1", "start sound 158", "set timer 2"}));
    EXPECT_EQ(g.State().timeLeftText, "00:00");
    EXPECT_EQ(g.State().timeExpired, 1);
    EXPECT_EQ(g.State().gameOver, 1);
}

TEST(EndOfGame, AClickAfterTheTimeIsUpEndsTheGameBeforeTheNextTick) {
    Game g;
    g.clock.now = g.start + 107;
    g.PressArrow(4, 2);
    EXPECT_EQ(g.log, (Log{"kill timer 1", "start sound 158", "set timer 2"}));
    EXPECT_EQ(g.State().gameOver, 1);
    EXPECT_EQ(g.State().timeExpired, 1);
    EXPECT_EQ(g.State().timeLeftText, "00:00");
}

TEST(EndOfGame, TheRepaintsClockCheckEndsItSilentlyAndGoesOnToTheNextGame) {
    Game g;
    g.clock.now = g.start + 105;
    g.Repaint();
    const Log expected = {"kill timer 1",   "set timer 2", "kill timer 2",   "show",
                          "wait sound 157", "show",        "wait sound 154", "set timer 1"};
    EXPECT_EQ(g.log, expected);
    EXPECT_EQ(g.Count("start sound 158"), 0);
    EXPECT_EQ(g.State().gameIndex, 1);
}

TEST(EndOfGame, ARefusedRestTimerIsToldAndStopsTheStep) {
    Game g;
    g.timers.refuse = {2};
    g.clock.now = g.start + 105;
    g.Tick();
    EXPECT_EQ(g.log, (Log{"kill timer 1", "start sound 158", "set timer 2", "show",
                          "message No timer available / SDI:TESSAFORM"}));
    EXPECT_EQ(g.State().gameOver, 1);
    EXPECT_TRUE(g.timers.set.empty());
    EXPECT_NE(g.State().timeLeftText, "00:00") << "the step stopped before the time box";
}

TEST(Clock, ARefusedClockTimerIsToldAndTheBoardIsStillDealt) {
    ViewHarness h;
    h.timers.refuse = {1};
    h.clock.now = 50;  // the never-set start time is zero: 50 s into the first game
    h.Repaint();
    const Log expected = {"show", "wait sound 154", "set timer 1", "show",
                          "message No timer available / SDI:TESSAFORM"};
    EXPECT_EQ(h.log, expected);
    EXPECT_EQ(h.State().boardInitialized, 1);
    EXPECT_EQ(h.State().clockRunning, 0);
    EXPECT_EQ(h.State().gameOver, 0) << "the board still takes presses";
    EXPECT_EQ(h.State().timeLeftText, "00:55");
    EXPECT_TRUE(h.view->PicturesLoaded());
}

TEST(Clock, TheWarningBoxKeepsTheClockRunningAndTheClickFinishesAfterIt) {
    Game g;
    const int arrow = g.ArrowTo(1, 0);
    g.sound.onPlay = [&](int id, bool waits) {
        if (id == 156 && !waits) {
            // The box's own loop delivers the tick that ends the game meanwhile.
            g.messages.whileOpen = [&] {
                g.clock.now = g.start + 106;
                g.Tick();
            };
            g.messages.ShowMessage(kNoTimerMessage, "warning", MessageIcon::kExclamation);
            g.messages.whileOpen = {};
        }
    };
    g.PressArrow(1, arrow);
    EXPECT_EQ(g.Count("start sound 158"), 1);
    EXPECT_EQ(g.State().blockStatus[1], kMatched) << "the click finished after the box";
    EXPECT_EQ(g.RingPixels(1, kGreenPixel), 636);
    EXPECT_EQ(g.State().timeLeftText, "00:00");
    EXPECT_EQ(g.State().setScores[0], 30) << "no bonus against the timed-out game";
}

TEST(Clock, TimerIdsDoNotChooseTheStep) {
    Game g;
    g.Tick(2);  // a stray rest-timer expiry during play is a clock tick
    EXPECT_EQ(g.State().gameIndex, 0);
    EXPECT_EQ(g.State().timeLeftText, "01:45");
}

TEST(Strip, NumbersKeepTheirLeadingBlanks) {
    EXPECT_EQ(FormatNumber(-24190, 7), " -24190");
    EXPECT_EQ(FormatNumber(24200, 4), "24200");
    EXPECT_EQ(FormatNumber(10, 4), "  10");
    EXPECT_EQ(FormatNumber(1'255'800, 7), "1255800");
}

}  // namespace
}  // namespace tessaform::testing
