// The flow of games and sets: every way a game ends, the rest, the next game, the
// recap, another set, and a screen that turns narrow and wide again.
#include <gtest/gtest.h>

#include "ViewHarness.h"

namespace tessaform::testing {
namespace {

const Log kLastMatch = {
    "move block 1 arrow 3: 0", "start sound 156",   "match block 1", "kill timer 1",
    "start sound 158",         "game 1 over: done", "set timer 2"};
const Log kTimeUp = {"kill timer 1", "start sound 158", "game 1 over: time", "set timer 2"};
const std::string kRecap = "recap: 10 10 10 10 10 average 10";
const Rect kAverageBox{69, 544, 129, 560};

// A repaint that finds the time up ends the game silently and goes on to the next.
TEST(EndOfGame, EachWayAGameEndsLogsAndScoresIt) {
    struct Case {
        const char* steps;
        std::int32_t net;
        const char* timeText;
        bool bonus;
        int timer;
        Log log;
    };
    const Log loss =
        Join({{"miss block 1", "lose blocks 1 1", "start sound 159"}, Slice(kLastMatch, 3)});
    const Log late = Join({{"move block 4 arrow 2: 18"}, kTimeUp});
    const Log repaint = Join({{"kill timer 1"}, Slice(RestThenNext(1), 2)});
    Log next = Join({kLastMatch, Slice(RestThenNext(1), 4)});  // a bonus game, then the next
    next[kLastMatch.size() + 1] = "score game 1: match 3640 clicks 110 bonus 840 net 4370";
    const Case cases[] = {
        {"matched; at 98; arrow 1 3", 3640 + 840 - 110, "00:07", true, kRestTimer, kLastMatch},
        {"matched; at 10; arrow 1 3", 3640 + 1'255'800 - 110, "01:35", true, kRestTimer,
         kLastMatch},
        {"matched; at 20; miss 1; arrow 2 3", 2860 - 100, "01:25", false, kRestTimer, loss},
        {"matched; evaluate; at 104; tick; at 105; tick", 2860 - 100, "00:00", false, kRestTimer,
         kTimeUp},
        {"at 107; arrow 4 2", 10 - 10, "00:00", false, kRestTimer, late},
        {"at 105; repaint", 10, "00:00", false, kClockTimer, repaint},
        {"matched; at 98; arrow 1 3; rest", 4370, "00:07", false, kClockTimer, next},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps);
        ViewHarness h;
        h.Play("repaint; forget");
        h.Play(c.steps);
        EXPECT_EQ(h.log, c.log);
        EXPECT_EQ(h.State().setScores[0], c.net);
        EXPECT_EQ(h.State().timeLeftText, c.timeText);
        EXPECT_EQ(h.Pixels({459, 1, 583, 18}, kGrey) != 124 * 17, c.bonus) << "the bonus shows";
        EXPECT_EQ(h.timers,
                  (std::map<int, unsigned>{{c.timer, c.timer == kRestTimer ? 1000 : 50}}));
    }
}

// The column is {9, 51, 34, 509}, edges included; a press on it in the rest of game 5
// would start another set at once.
TEST(Sets, FiveGamesWithRestsThenTheRecapWhoseColumnAloneStartsAnotherSet) {
    ViewHarness h;
    h.Play("repaint; miss 4; forget");
    for (int game = 1; game <= 5; ++game) {
        h.Play(game < 5 ? "at 105; tick; press 9 51; press 34 509; rest" : "at 105; tick; rest");
        const Log rest = RestThenNext(game);
        EXPECT_EQ(h.Take(), game < 5 ? rest : Join({Slice(rest, 0, 6), {kRecap}}));
        EXPECT_EQ(h.Pixels(kAverageBox, kRed), game < 5 ? 0 : 2 * 60 + 2 * 14);
    }
    EXPECT_FALSE(h.Grey(4)) << "the next game deals over a lost block";
    h.Play("repaint; press 8 51; press 35 509; press 9 50; press 34 510");
    EXPECT_EQ(h.Take(), (Log{"kill timer 2", kRecap})) << "just outside the column";
    h.Play("press 34 509");
    EXPECT_EQ(h.log, (Log{"new set", "layout 792x560 board 46,21", DealLine(1), "show",
                          "wait sound 154", "set timer 1"}));
    EXPECT_EQ(h.Pixels(kAverageBox, kRed), 0) << "the new set clears the recap";
    EXPECT_FALSE(h.picturesAtTitle) << "released before the new set's repaint";
    EXPECT_TRUE(h.view->PicturesLoaded());
}

// Below 641 pixels only the red warning shows and no game runs; wide again, the set goes
// on: the game cut short is over, the next begins, a recap comes back at the new bottom.
TEST(NarrowScreen, TheWarningStopsTheGameAndTheSetGoesOnWhenWideAgain) {
    struct Case {
        const char* steps;
        int recapBottom;
        Log log;
    };
    const Log narrow = {"kill timer 1", "kill timer 2", "narrow 640x480"};
    const Log wide = {"layout 641x480 board -29,-19", DealLine(1), "show", "wait sound 154",
                      "set timer 1"};
    const Log nextGame =
        Join({narrow, {"layout 1024x768 board 162,125"}, Slice(RestThenNext(1), 4)});
    const Log recap = Join({narrow, {"layout 900x700 board 100,91", "kill timer 2", kRecap}});
    const Case cases[] = {
        {"size 640 480; repaint", 0, narrow},
        {"size 641 480; repaint", 0, wide},
        {"repaint; forget; size 640 480; repaint; in 4 80 40; size 1024 768; repaint", 0, nextGame},
        {"repaint; out; out; out; out; out; forget; size 640 480; repaint; press 9 51; size 900 "
         "700; "
         "repaint",
         700, recap},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps);
        ViewHarness h;
        h.Play(c.steps);
        EXPECT_EQ(h.log, c.log);
        const Rect all = h.ClientRect();
        const int warning = h.Pixels(all, kRed) + h.Pixels(all, kBlue);
        EXPECT_EQ(warning == all.Width() * all.Height(), all.right == 640);
        EXPECT_TRUE(all.right > 640 || h.Pixels(all, kBlue) > 2000) << "blue words";
        const int b = c.recapBottom;  // of the average's box
        EXPECT_EQ(h.Pixels({69, b - 16, 129, b}, kRed), b != 0 ? 2 * 60 + 2 * 14 : 0);
    }
}

}  // namespace
}  // namespace tessaform::testing
