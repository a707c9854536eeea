// A screen that turns narrow and wide again: the warning, the game it cuts short, and the set
// going on; the flow of a whole set is played in the tests of what the view draws.
#include <gtest/gtest.h>

#include "Fakes.h"

namespace tessaform::testing {
namespace {

const std::string kRecap = "recap: 10 10 10 10 10 average 10";

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
    EXPECT_EQ(g.State().recapLabelRect.bottom, 700) << "at the bottom";
}

}  // namespace
}  // namespace tessaform::testing
