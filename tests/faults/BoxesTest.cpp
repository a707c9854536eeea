// A timer refused at any place the game sets one: the box is shown, the step that needed it
// stops there, and the set goes on once timers are granted. The sound warning's box is
// played through in the view's tests of presses.
#include <gtest/gtest.h>

#include "Fakes.h"

namespace tessaform::testing {

const Log kBox = {"show", "message No timer available / SDI:TESSAFORM"};
const Log kRest = Join({{"kill rest timer", "score game 1: match 10 clicks 0 bonus 0 net 10"},
                        {"show", "wait sound rest", "show", "wait sound deal", "set clock timer"}});
const Log kDeal = {"layout 792x560 board 46,21", DealLine(1), "show", "wait sound deal",
                   "set clock timer"};

TEST(RefusedTimer, EachRefusalIsToldStopsItsStepAndTheSetGoesOnWhenGranted) {
    // Refused from the start: the rest timer is first set as a game ends, in the step logged.
    struct Case {
        int refused;
        void (*play)(Game&);
        Log log;
    };
    const Case cases[] = {
        // The game whose clock never started is over at once, judged by the last start, and so
        // is the next.
        {kClockTimer, [](Game& g) { g.Repaint(); },
         Join({kDeal, kBox, Over(1, "time", false), kRest, kBox, {DealLine(2)}})},
        {kRestTimer, [](Game& g) { g.Repaint().MatchAllButBlock1().Forget().Miss(1); },
         Join({{"miss block 1", "lose blocks 1 1", "start sound loss"}, Over(1, "done"), kBox})},
        {kRestTimer, [](Game& g) { g.Repaint().Forget().At(105).Tick(); }, Join({Over(1), kBox})},
        {kRestTimer, [](Game& g) { g.Repaint().Forget().At(105).Miss(3); },
         Join({{"miss block 3", "lose blocks 3 3", "start sound loss"}, Over(1), kBox})},
        {kRestTimer, [](Game& g) { g.Repaint().Forget().At(110).Repaint(); },
         Join({Over(1, "time", false), kBox})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.log.front());
        Game g;
        g.timers.refused.insert(c.refused);
        c.play(g);
        EXPECT_EQ(g.log, c.log);
        EXPECT_EQ(g.surface.texts.empty(), c.refused == kRestTimer)
            << "nothing drawn after the box";
        // A game whose clock was refused keeps the last start: a second on, a repaint ends it.
        g.timers.refused.clear();
        g.clock.ms += 1000;
        g.Repaint();
        EXPECT_EQ(g.State().gameIndex, c.refused == kRestTimer ? 1 : 2) << "the set goes on";
        EXPECT_EQ(g.timers.set, (std::map<int, unsigned>{{kClockTimer, 50}}));
    }
}

}  // namespace tessaform::testing
