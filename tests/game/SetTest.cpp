// The flow of games and sets: every way a game ends, the rest, the next game, the
// recap, another set, and a screen that turns narrow and wide again.
#include <gtest/gtest.h>

#include <algorithm>

#include "Fakes.h"

namespace tessaform::testing {
namespace {

Log TimeUp(int game) {
    return {"kill clock timer", "start sound end", "game " + std::to_string(game) + " over: time",
            "set rest timer"};
}

// From the rest timer's tick to the next game's deal.
Log Rest(int game, const std::string& score = "match 10 clicks 0 bonus 0 net 10") {
    return Join({{"kill rest timer", "score game " + std::to_string(game) + ": " + score},
                 {"show", "wait sound rest", "show", "wait sound deal", "set clock timer"},
                 {DealLine(game + 1)}});
}

const Log kMatch = {"move block 1 arrow 3: 0", "start sound match", "match block 1"};
const Log kDone = {"kill clock timer", "start sound end", "game 1 over: done", "set rest timer"};
const std::string kRecap = "recap: 10 10 10 10 10 average 10";
constexpr std::int32_t kCost = 4 * 10 + 6 * 40;  // of matching blocks 2 to 11

TEST(EndOfGame, EachWayAGameEndsLogsAndScoresIt) {
    struct Case {
        void (*play)(Game&);
        std::int32_t net;
        const char* timeText;
        bool bonus;
        int timer;
        Log log;
    };
    const Case cases[] = {
        {[](Game& g) { g.MatchAllButBlock1().Forget().At(98).PressArrow(1, 3); },
         3640 + 840 - kCost - 10, "00:07", true, kRestTimer, Join({kMatch, kDone})},
        {[](Game& g) { g.MatchAllButBlock1().Forget().At(10).PressArrow(1, 3); },
         3640 + 1'255'800 - kCost - 10, "01:35", true, kRestTimer, Join({kMatch, kDone})},
        {[](Game& g) { g.MatchAllButBlock1().Forget().At(20).Miss(1).PressArrow(2, 3); },
         2860 - kCost, "01:25", false, kRestTimer,
         Join({{"miss block 1", "lose blocks 1 1", "start sound loss"}, kDone})},
        {[](Game& g) { g.MatchAllButBlock1().At(104).Tick().Forget().At(105).Tick(); },
         2860 - kCost, "00:00", false, kRestTimer, TimeUp(1)},
        // The last match, or another press, after the time is up but before the tick.
        {[](Game& g) { g.MatchAllButBlock1().Forget().At(105).PressArrow(1, 3); },
         3640 - kCost - 10, "00:00", false, kRestTimer, Join({kMatch, kDone})},
        {[](Game& g) { g.At(107).PressArrow(4, 2); }, 10 - 10, "00:00", false, kRestTimer,
         Join({{"move block 4 arrow 2: 18"}, TimeUp(1)})},
        // A repaint that finds the time up ends the game silently and goes on to the next.
        {[](Game& g) { g.At(105).Repaint(); }, 10, "00:00", false, kClockTimer,
         Join({{"kill clock timer", "game 1 over: time", "set rest timer"}, Rest(1)})},
        // A bonus game's score, logged as its rest ends.
        {[](Game& g) { g.MatchAllButBlock1().Forget().At(98).PressArrow(1, 3).EndRest(); },
         3640 + 840 - kCost - 10, "00:07", false, kClockTimer,
         Join({kMatch, kDone, Rest(1, "match 3640 clicks 290 bonus 840 net 4190")})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.net);
        Game g;
        c.play(g.Repaint().Forget());
        EXPECT_EQ(g.log, c.log);
        EXPECT_EQ(g.State().setScores[0], c.net);
        EXPECT_EQ(g.State().timeLeftText, c.timeText);
        EXPECT_EQ(g.BonusShows(), c.bonus);
        EXPECT_EQ(g.timers.set,
                  (std::map<int, unsigned>{{c.timer, c.timer == kRestTimer ? 1000 : 50}}));
    }
}

// On the column's corners, edges included, or one pixel outside each.
void PressColumn(Game& g, int out) {
    const Rect& c = g.State().anotherSetRect;
    g.Press(c.left - out, c.top).Press(c.right + out, c.bottom);
    g.Press(c.left, c.top - out).Press(c.right, c.bottom + out);
}

TEST(Sets, FiveGamesWithRestsThenTheRecapWhoseColumnAloneStartsAnotherSet) {
    Game g;
    g.Repaint().Miss(4);
    for (int game = 1; game <= 5; ++game) {
        g.Forget().At(105).Tick();
        if (game < 5) {
            PressColumn(g, 0);  // in the rest of game 5 it would start another set at once
        }
        g.EndRest();
        const Log last = {"kill rest timer", "score game 5: match 10 clicks 0 bonus 0 net 10"};
        EXPECT_EQ(g.log, Join({TimeUp(game), game < 5 ? Rest(game) : last,
                               game < 5 ? Log() : Log{kRecap}}));
        // Each next game deals over a lost block, and its master is framed red, not green
        // as a matched block is.
        EXPECT_FALSE(g.Grey(4)) << game;
        EXPECT_EQ(g.Ring(kMasterBlock, kRed), 636) << game;
    }
    const Rect& column = g.State().anotherSetRect;
    EXPECT_EQ(g.surface.Ring(column, kYellow), 2 * (column.Width() + column.Height()) - 4);
    PressColumn(g.Forget().Repaint(), 1);
    EXPECT_EQ(g.log, (Log{"kill rest timer", kRecap}));
    g.Forget().Press(column.right, column.bottom);
    EXPECT_EQ(g.log, (Log{"new set", "layout 792x560 board 46,21", DealLine(1), "show",
                          "wait sound deal", "set clock timer"}));
    EXPECT_EQ(g.surface.Ring(column, kYellow), 0) << "the new set clears the recap";
    EXPECT_FALSE(g.Grey(4)) << "the new set's board is drawn";
}

// Below 641 pixels only the red warning shows and no game runs; wide again, the set goes
// on: the game cut short is over, the next begins, a recap comes back at the new bottom.
TEST(NarrowScreen, TheWarningStopsTheGameAndTheSetGoesOnWhenWideAgain) {
    const Log narrow = {"kill clock timer", "kill rest timer", "narrow 640x480"};
    const std::pair<void (*)(Game&), Log> cases[] = {
        {[](Game& g) { g.Resize(640, 480); }, narrow},
        {[](Game& g) { g.Resize(641, 480); },
         {"layout 641x480 board -29,-19", DealLine(1), "show", "wait sound deal",
          "set clock timer"}},
        // A press behind the warning does nothing.
        {[](Game& g) { g.Repaint().Forget().Resize(640, 480).PressArrow(4, 2).Resize(1024, 768); },
         Join({narrow, {"layout 1024x768 board 162,125"}, Rest(1)})},
        // Nor does one where the column was.
        {[](Game& g) {
             g.Repaint().RunOut().RunOut().RunOut().RunOut().RunOut().Forget();
             g.Resize(640, 480).Press(9, 51).Resize(900, 700);
         },
         Join({narrow, {"layout 900x700 board 100,91", "kill rest timer", kRecap}})},
    };
    for (const auto& [play, log] : cases) {
        SCOPED_TRACE(log.back());
        Game g;
        play(g);
        EXPECT_EQ(g.log, log);
        const Rect all = g.surface.ClientRect();
        const int warning = g.surface.Count(all, kRed) + g.surface.Count(all, kBlue);
        EXPECT_EQ(warning == all.Width() * all.Height(), all.right == 640);
        EXPECT_TRUE(all.right > 640 || g.surface.Count(all, kBlue) > 2000) << "blue words";
        const auto& texts = g.surface.texts;
        const auto average = std::ranges::find(texts, "Average", &TextDrawn::text);
        EXPECT_EQ(average != texts.end(), log.back() == kRecap);
        EXPECT_TRUE(average == texts.end() || average->rect.bottom == all.bottom)
            << "at the bottom";
    }
}

}  // namespace
}  // namespace tessaform::testing
