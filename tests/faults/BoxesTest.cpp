// The game's two modal boxes. A timer refused at any place the game sets one: the box is
// shown, the step that needed it stops there, and the set goes on once timers are granted.
// The one-time sound warning, whose loop goes on delivering the game's timers and
// repaints: the game can end and the next be dealt before it closes, and what the press
// or tick that opened it still had to do must leave the new game alone.
#include <gtest/gtest.h>

#include "SoundPlayer.h"
#include "TimeText.h"
#include "ViewHarness.h"

namespace tessaform::testing {
namespace {

const std::string kNoTimer = "message No timer available / SDI:TESSAFORM";
const Log kBox = {"show", kNoTimer};

TEST(RefusedTimer, EachRefusalIsToldStopsItsStepAndTheSetGoesOnWhenGranted) {
    struct Case {
        int refused;
        const char* steps;
        Log log;
    };
    const Log firstDeal = {"layout 792x560 board 46,21", DealLine(1), "show", "wait sound 154",
                           "set timer 1"};
    const Log rest = Slice(RestThenNext(1), 4, 11);  // from the rest timer's end to the clock
    const Log timeUp = {"kill timer 1", "start sound 158", "game 1 over: time", "set timer 2"};
    const Log silentTimeUp = {"kill timer 1", "game 1 over: time", "set timer 2"};
    const Case cases[] = {
        // The game whose clock never started is over at once, judged by the last start.
        {kClockTimer, "refuse 1; repaint",
         Join({firstDeal, kBox, silentTimeUp, rest, kBox, {DealLine(2)}})},
        {kClockTimer, "repaint; at 105; tick; forget; refuse 1; rest",
         Join({rest, kBox, {DealLine(2)}})},
        {kRestTimer, "repaint; matched; forget; refuse 2; miss 1",
         Join({{"miss block 1", "lose blocks 1 1", "start sound 159", "kill timer 1",
                "start sound 158", "game 1 over: done", "set timer 2"},
               kBox})},
        {kRestTimer, "repaint; forget; refuse 2; at 105; tick", Join({timeUp, kBox})},
        {kRestTimer, "repaint; forget; refuse 2; at 105; miss 3",
         Join({{"miss block 3", "lose blocks 3 3", "start sound 159"}, timeUp, kBox})},
        {kRestTimer, "repaint; forget; refuse 2; at 110; repaint", Join({silentTimeUp, kBox})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps);
        ViewHarness h;
        h.Play(c.steps);
        EXPECT_EQ(h.log, c.log);
        EXPECT_TRUE(h.timers.empty());
        if (c.refused == kRestTimer) {
            EXPECT_TRUE(h.record.texts.empty()) << "nothing drawn after the box";
        } else {
            EXPECT_EQ(h.State().gameOver, 0) << "the board takes presses";
            EXPECT_LT(h.State().gameStartTime + kGameSeconds, h.Now()) << "the old start stays";
        }
        h.Play("grant; at 106; repaint");
        EXPECT_EQ(h.State().gameIndex, c.refused == kRestTimer ? 1 : 2) << "the set goes on";
        EXPECT_EQ(h.timers, (std::map<int, unsigned>{{kClockTimer, 50}}));
    }
}

TEST(WarningBox, WhatFinishesAfterTheBoxLeavesTheNextGameAlone) {
    struct Case {
        const char* steps;
        const char* inTheBox;
        Log log;
    };
    const std::string box = std::string("message ") + kSoundWarning + " / Tessaform";
    const Case cases[] = {
        {"miss 4", "out",
         Join({{"miss block 4", "lose blocks 4 4", "start sound 159", box}, RestThenNext(1)})},
        {"arrow 1 3", "out",
         Join({{"move block 1 arrow 3: 0", "start sound 156", box}, RestThenNext(1)})},
        // The tick's end of game opens the box, whose repaint ends the game again.
        {"at 124; tick", "repaint",
         Join({{"kill timer 1", "start sound 158", box, "kill timer 1", "game 1 over: time",
                "set timer 2"},
               Slice(RestThenNext(1), 4)})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps);
        ViewHarness h;
        h.Play("repaint; forget");
        h.soundFails = [] { return true; };
        h.whileOpen = [&](const std::string&) { h.Play(c.inTheBox); };
        h.Play(c.steps);
        EXPECT_EQ(h.log, c.log);
        EXPECT_EQ(h.timers, (std::map<int, unsigned>{{kClockTimer, 50}})) << "no rest timer";
        for (int k = 1; k < kBlockCount; ++k) {
            EXPECT_EQ(h.State().blockStatus[k], kOpen) << "block " << k;
            EXPECT_FALSE(h.Grey(k) || h.Ring(k, kGreen) > 0) << "block " << k;
        }
    }
}

}  // namespace
}  // namespace tessaform::testing
