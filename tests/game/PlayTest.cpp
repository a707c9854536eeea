// Presses on the board: moves, matches, collisions, misses and what ignores them.
#include <gtest/gtest.h>

#include "ViewHarness.h"

namespace tessaform::testing {
namespace {

// On the board in order block k holds arrangement k: block 1's arrow 3 makes the
// master's 0, its arrow 7 block 3's 3; block 7's arrow 4 makes 13, held by no block.
// The board after the presses reads blocks 1 to 11: 'x' a grey hole, 'g' framed green.
TEST(Presses, EachPressDoesWhatItsPlaceOnTheBoardSays) {
    struct Case {
        const char* steps;
        const char* board;
        std::int32_t net;           // the net score shown
        const char* framedAtBoing;  // the blocks framed black while the boing plays
        Log log;
    };
    Log twelveMoves;
    for (int i = 0; i < 6; ++i) {
        twelveMoves.insert(twelveMoves.end(),
                           {"move block 7 arrow 4: 13", "move block 7 arrow 4: 7"});
    }
    const Log match = {"move block 1 arrow 3: 0", "start sound 156", "match block 1"};
    const Log collide = {"move block 1 arrow 7: 3", "collide blocks 1 3", "show",
                         "wait sound 155",          "lose blocks 1 3",    "start sound 159"};
    const Log miss3 = {"miss block 3", "lose blocks 3 3", "start sound 159"};
    const Case cases[] = {
        {"arrow 1 3", "g..........", 30, "", match},
        {"arrow 1 3 2", "...........", -30, "", Join({match, {"move block 1 arrow 3: 1"}})},
        {"arrow 1 7", "x.x........", 0, "13", collide},
        {"miss 3", "..x........", 10, "", miss3},
        // The master, a lost block and the gaps ignore presses; a lost block collides with none.
        {"miss 3; arrow 3 2; arrow 0 2; in 4 170 80; in 4 80 161", "..x........", 10, "", miss3},
        {"miss 3; arrow 1 7", "..x........", 0, "", Join({miss3, {"move block 1 arrow 7: 3"}})},
        {"arrow 7 4 12", "...........", 10 - 2200, "", twelveMoves},  // the count stops at ten
        {"miss 3; arrow 1 3; repaint", "g.x........", 40 - 10, "", Join({miss3, match})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps);
        ViewHarness h;
        h.Play("repaint; forget");
        std::string framedAtBoing;
        h.onSound = [&](int id, bool) {
            for (int k = 0; id == 155 && k < kBlockCount; ++k) {
                framedAtBoing += h.Ring(k, kBlack) == 636 ? std::to_string(k) : "";
            }
        };
        h.Play(c.steps);
        EXPECT_EQ(framedAtBoing, c.framedAtBoing);
        EXPECT_EQ(h.log, c.log);
        EXPECT_EQ(h.Ring(0, kRed), 636);
        EXPECT_EQ(h.State().setScores[0], c.net);
        std::string board;
        for (int k = 1; k < kBlockCount; ++k) {
            board += h.Grey(k) ? 'x' : h.Ring(k, kGreen) == 636 ? 'g' : '.';
        }
        EXPECT_EQ(board, c.board);
    }
}

}  // namespace
}  // namespace tessaform::testing
