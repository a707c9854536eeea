// The flow of games and sets: the rest, the next game, the recap, another set, and a screen
// that turns narrow and wide again.
#include <gtest/gtest.h>

#include <algorithm>

#include "Fakes.h"

namespace tessaform::testing {
namespace {

const std::string kRecap = "recap: 10 10 10 10 10 average 10";

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
        g.Forget().At(104).Tick().At(105).Tick();  // up at 105 s, not a second before
        if (game < 5) {
            PressColumn(g, 0);  // in the rest of game 5 it would start another set at once
        }
        g.EndRest();
        const Log last = {"kill rest timer", "score game 5: match 10 clicks 0 bonus 0 net 10",
                          kRecap};
        EXPECT_EQ(g.log, Join({TimeUp(game), game < 5 ? Rest(game) : last}));
        // Each next game deals over a lost block, and its master is framed red, not green
        // as a matched block is.
        EXPECT_EQ(g.Board(), "r...........") << game;
    }
    const Rect& column = g.State().anotherSetRect;
    EXPECT_EQ(g.surface.Ring(column, kYellow), 2 * (column.Width() + column.Height()) - 4);
    PressColumn(g.Forget().Repaint(), 1);
    EXPECT_EQ(g.log, (Log{"kill rest timer", kRecap}));
    g.Forget().Press(column.right, column.bottom);
    EXPECT_EQ(g.log, (Log{"new set", "layout 792x560 board 46,21", DealLine(1), "show",
                          "wait sound deal", "set clock timer"}));
    EXPECT_EQ(g.surface.Ring(column, kYellow), 0) << "the new set clears the recap";
    EXPECT_EQ(g.Board(), "r...........") << "the new set's board is drawn";
}

// Below 641 pixels only the red warning shows, and no game runs nor does a press where the
// column was start a set; wide again, the set goes on: the game cut short is over, the next
// begins, and a recap comes back at the new bottom.
TEST(NarrowScreen, TheWarningStopsTheGameAndTheSetGoesOnWhenWideAgain) {
    const Log narrow = {"kill clock timer", "kill rest timer", "narrow 640x480"};
    Game g;
    g.Resize(640, 480);
    EXPECT_EQ(g.log, narrow);
    const Rect all = g.surface.ClientRect();
    EXPECT_EQ(g.surface.Count(all, kRed) + g.surface.Count(all, kBlue), all.Width() * all.Height());
    EXPECT_GT(g.surface.Count(all, kBlue), 2000) << "blue words";
    g.Forget().Resize(641, 480);
    EXPECT_EQ(g.log, (Log{"layout 641x480 board -29,-19", DealLine(1), "show", "wait sound deal",
                          "set clock timer"}));
    g.Forget().Resize(640, 480).PressArrow(4, 2).Resize(1024, 768);
    EXPECT_EQ(g.log, Join({narrow, {"layout 1024x768 board 162,125"}, Rest(1)}));
    const Rect& column = g.State().anotherSetRect;
    g.RunOut().RunOut().RunOut().RunOut().Forget().Resize(640, 480);
    g.Press(column.left, column.top).Resize(900, 700);
    EXPECT_EQ(g.log, Join({narrow, {"layout 900x700 board 100,91", "kill rest timer", kRecap}}));
    const auto average = std::ranges::find(g.surface.texts, "Average", &TextDrawn::text);
    ASSERT_NE(average, g.surface.texts.end());
    EXPECT_EQ(average->rect.bottom, 700) << "at the bottom";
}

}  // namespace
}  // namespace tessaform::testing
