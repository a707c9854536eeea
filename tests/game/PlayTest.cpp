// Presses on the board: moves, matches, collisions, misses and what ignores them.
#include <gtest/gtest.h>

#include "Fakes.h"

namespace tessaform::testing {
namespace {

// Dealt in order, block k holds arrangement k: block 1's arrow 3 makes the master's 0,
// its arrow 7 block 3's 3; block 7's arrow 4 makes 13, held by no block.
// The board after the presses reads blocks 1 to 11: 'x' a grey hole, 'g' framed green.
TEST(Presses, EachPressDoesWhatItsPlaceOnTheBoardSays) {
    struct Case {
        void (*press)(Game&);
        const char* board;
        std::int32_t net;               // the net score shown
        const char* framedAtCollision;  // the blocks framed black while its sound plays
        Log log;
    };
    const Log twice = {"move block 7 arrow 4: 13", "move block 7 arrow 4: 7"};
    const Log match = {"move block 1 arrow 3: 0", "start sound match", "match block 1"};
    const Log miss3 = {"miss block 3", "lose blocks 3 3", "start sound loss"};
    const Log collide = {"move block 1 arrow 7: 3", "collide blocks 1 3", "show",
                         "wait sound collision",    "lose blocks 1 3",    "start sound loss"};
    const Case cases[] = {
        {[](Game& g) { g.PressArrow(1, 3); }, "g..........", 30, "", match},
        {[](Game& g) { g.PressArrow(1, 3, 2); }, "...........", -30, "",
         Join({match, {"move block 1 arrow 3: 1"}})},
        {[](Game& g) { g.PressArrow(1, 7); }, "x.x........", 0, "13", collide},
        {[](Game& g) { g.Miss(3); }, "..x........", 10, "", miss3},
        // The master, a lost block and the gaps between blocks take no press.
        {[](Game& g) {
             g.Miss(3).PressArrow(3, 2).PressArrow(0, 2).Press(396, 281).Press(306, 362);
         },
         "..x........", 10, "", miss3},
        // A lost block collides with none.
        {[](Game& g) { g.Miss(3).PressArrow(1, 7); }, "..x........", 0, "",
         Join({miss3, {"move block 1 arrow 7: 3"}})},
        // The count of a block's moves stops at ten.
        {[](Game& g) { g.PressArrow(7, 4, 12); }, "...........", 10 - 2200, "",
         Join({twice, twice, twice, twice, twice, twice})},
        // A repaint keeps the green frames and the grey holes.
        {[](Game& g) { g.Miss(3).PressArrow(1, 3).Repaint(); }, "g.x........", 40 - 10, "",
         Join({miss3, match})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.board + std::string(" ") + std::to_string(c.net));
        Game g;
        g.Repaint().Forget();
        std::string framed;
        g.sound.whilePlaying = [&](int id) {
            for (int k = 0; id == 155 && k < kBlockCount; ++k) {
                framed += g.Ring(k, kBlack) == 636 ? std::to_string(k) : "";
            }
        };
        c.press(g);
        EXPECT_EQ(framed, c.framedAtCollision);
        EXPECT_EQ(g.log, c.log);
        EXPECT_EQ(g.Ring(kMasterBlock, kRed), 636);
        EXPECT_EQ(g.State().setScores[0], c.net);
        std::string board;
        for (int k = 1; k < kBlockCount; ++k) {
            board += g.Grey(k) ? 'x' : g.Ring(k, kGreen) == 636 ? 'g' : '.';
        }
        EXPECT_EQ(board, c.board);
    }
}

}  // namespace
}  // namespace tessaform::testing
