// Presses on the board and every way a game ends: moves, matches, misses and what ignores
// them; the last match, a loss, the time running out under a press or a repaint, and a game
// ended inside the sound warning's box. A collision is played where its dissolve is drawn.
#include <gtest/gtest.h>

#include "Fakes.h"
#include "SoundPlayer.h"

namespace tessaform::testing {

// What a player sees once the presses are done: the board, the net of each game so far, the
// time left, the bonus when it shows, and the timers that are set.
static std::string Seen(const Game& g) {
    std::string seen = g.Board() + " net";
    for (int game = 0; game <= g.State().gameIndex; ++game) {
        seen += " " + std::to_string(g.State().setScores[game]);
    }
    seen += " " + g.State().timeLeftText + (g.BonusShows() ? " bonus" : "");
    for (const auto& [id, ms] : g.timers.set) {
        seen += " " + FakeTimers::Name(id) + " " + std::to_string(ms);
    }
    return seen;
}

const Log kMatch = {"move block 1 arrow 3: 0", "start sound match", "match block 1"};
const Log kMiss3 = {"miss block 3", "lose blocks 3 3", "start sound loss"};
const std::string kBox = "message " + std::string(kSoundWarning) + " / Tessaform";
const std::string kNextGame = "r........... net 10 10 00:00 clock 50";
constexpr int kCost = 4 * 10 + 6 * 40;  // of matching blocks 2 to 11

// With no sound at all, so that the one-time warning's box opens, whose loop goes on running
// the game's timers and repaints.
static Game& Unheard(Game& g, void (*inTheBox)(Game&)) {
    g.sound.fails = [] { return true; };
    g.messages.whileOpen = [&g, inTheBox](const std::string&) { inTheBox(g); };
    return g;
}

// Dealt in order, block k holds arrangement k: block 1's arrow 3 makes the master's 0, its
// arrow 7 block 3's 3, a collision that the tests of drawing play. The board reads blocks 0 to
// 11 (see Game::Board).
TEST(Presses, EachPressDoesWhatItsPlaceOnTheBoardSaysAndEachWayAGameEndsIsLogged) {
    struct Case {
        void (*play)(Game&);
        std::string seen;
        Log log;
    };
    const Case cases[] = {
        // A repaint keeps the green frames and the grey holes.
        {[](Game& g) { g.Miss(3).PressArrow(1, 3).Repaint(); },
         "rg.x........ net 30 01:45 clock 50", Join({kMiss3, kMatch})},
        // A matched block moved again is open again, and its moves cost.
        {[](Game& g) { g.PressArrow(1, 3, 2); }, "r........... net -30 01:45 clock 50",
         Join({kMatch, {"move block 1 arrow 3: 1"}})},
        // The gaps a pixel beside block 6, the master and a lost block take no press; a block
        // owns its edges; a lost block collides with none.
        {[](Game& g) {
             const Rect b3 = g.Block(3), b6 = g.Block(6), b11 = g.Block(11);
             g.Press(b6.left - 1, b6.top).Press(b6.right + 1, b6.bottom);
             g.Press(b6.left, b6.bottom + 1).Press(b6.left, g.Block(7).top - 1);
             g.Press(b3.left, b3.top).Press(b11.right, b11.bottom);
             g.PressArrow(0, 2).PressArrow(3, 2).PressArrow(1, 7);
         },
         "r..x.......x net 0 01:45 clock 50",
         Join({kMiss3,
               {"miss block 11", "lose blocks 11 11", "start sound loss",
                "move block 1 arrow 7: 3"}})},
        // The last match with a bonus, whose score is logged as the rest ends.
        {[](Game& g) { g.MatchAllButBlock1().Forget().At(98).PressArrow(1, 3).EndRest(); },
         "r........... net 4190 10 00:07 clock 50",
         Join({kMatch, Over(1, "done"), Rest(1, "match 3640 clicks 290 bonus 840 net 4190")})},
        {[](Game& g) { g.MatchAllButBlock1().Forget().At(20).Miss(1).PressArrow(2, 3); },
         "rxgggggggggg net " + std::to_string(2860 - kCost) + " 01:25 rest 1000",
         Join({{"miss block 1", "lose blocks 1 1", "start sound loss"}, Over(1, "done")})},
        // The last match, or another press, after the time is up but before the tick.
        {[](Game& g) { g.MatchAllButBlock1().Forget().At(105).PressArrow(1, 3); },
         "rggggggggggg net " + std::to_string(3640 - kCost - 10) + " 00:00 rest 1000",
         Join({kMatch, Over(1, "done")})},
        {[](Game& g) { g.At(107).PressArrow(4, 2); }, "r........... net 0 00:00 rest 1000",
         Join({{"move block 4 arrow 2: 18"}, Over(1)})},
        // A repaint that finds the time up ends the game silently and goes on to the next.
        {[](Game& g) { g.At(105).Repaint(); }, "r........... net 10 10 00:00 clock 50",
         Join({Over(1, "time", false), Rest(1)})},
        // The game ends and the next is dealt in the warning's box: what the press or the tick
        // that opened it still had to do leaves the new game alone.
        {[](Game& g) { Unheard(g, [](Game& h) { h.RunOut(); }).Miss(4); }, kNextGame,
         Join({{"miss block 4", "lose blocks 4 4", "start sound loss", kBox}, Over(1), Rest(1)})},
        {[](Game& g) { Unheard(g, [](Game& h) { h.RunOut(); }).PressArrow(1, 3); }, kNextGame,
         Join({{"move block 1 arrow 3: 0", "start sound match", kBox}, Over(1), Rest(1)})},
        // The tick's end of game opens the box, whose repaint ends the game again.
        {[](Game& g) { Unheard(g, [](Game& h) { h.Repaint(); }).At(124).Tick(); }, kNextGame,
         Join({{"kill clock timer", "start sound end", kBox}, Over(1, "time", false), Rest(1)})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("case " + std::to_string(&c - cases));
        Game g;
        c.play(g.Repaint().Forget());
        EXPECT_EQ(g.log, c.log);
        EXPECT_EQ(Seen(g), c.seen);
    }
}

}  // namespace tessaform::testing
