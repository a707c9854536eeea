#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "Planner.h"

namespace tessaform::e2e {
namespace {

std::vector<Code> AllCodes() {
    Code code = "cstx";
    std::sort(code.begin(), code.end());
    std::vector<Code> all;
    do {
        all.push_back(code);
    } while (std::next_permutation(code.begin(), code.end()));
    return all;
}

TEST(PlayerMoves, ArrowsSwapTheCellsTheyAreDrawnBetween) {
    EXPECT_EQ(Apply("cxst", 0), "xcts");  // mirror left to right
    EXPECT_EQ(Apply("cxst", 1), "tsxc");  // mirror top to bottom
    EXPECT_EQ(Apply("cxst", 2), "xcst");
    EXPECT_EQ(Apply("cxst", 3), "cxts");
    EXPECT_EQ(Apply("cxst", 4), "txsc");
    EXPECT_EQ(Apply("cxst", 5), "csxt");
    EXPECT_EQ(Apply("cxst", 6), "sxct");
    EXPECT_EQ(Apply("cxst", 9), "sxct");
    EXPECT_EQ(Apply("cxst", 7), "ctsx");
    EXPECT_EQ(Apply("cxst", 8), "ctsx");
}

TEST(PlayerMoves, PressPointsLieInsideTheirOwnArrowOnly) {
    EXPECT_EQ(PressPoint(0), QPoint(80, 8));
    EXPECT_EQ(PressPoint(6), QPoint(70, 70));
    EXPECT_EQ(PressPoint(9), QPoint(91, 91));
    for (int a = 0; a < kArrows; ++a) {
        const QPoint p = PressPoint(a);
        EXPECT_TRUE(p.x() >= 0 && p.x() < 160 && p.y() >= 0 && p.y() < 160) << a;
    }
}

TEST(PlayerMoves, EveryArrangementReachesEveryOtherInAtMostTwoMoves) {
    for (const Code& from : AllCodes()) {
        for (const Code& to : AllCodes()) {
            if (from == to) {
                continue;
            }
            const auto routes = Routes(from, to, 0);
            ASSERT_FALSE(routes.empty()) << from << " to " << to;
            EXPECT_LE(routes.front().size(), 2u) << from << " to " << to;
            for (const auto& route : routes) {
                Code at = from;
                for (int arrow : route) {
                    at = Apply(at, arrow);
                }
                EXPECT_EQ(at, to);
            }
        }
    }
}

Table Deal(const std::vector<Code>& codes) {
    Table table;
    for (std::size_t k = 0; k < 12; ++k) {
        table.code[k] = codes[k];
        table.status[k] = k == 0 ? Status::kMatched : Status::kOpen;
    }
    return table;
}

TEST(PlayerPlan, MatchesEveryBlockWithoutACollision) {
    std::vector<Code> all = AllCodes();
    for (int deal = 0; deal < 200; ++deal) {
        std::rotate(all.begin(), all.begin() + (deal * 7) % 24, all.end());
        std::swap(all[static_cast<std::size_t>(deal % 12)],
                  all[static_cast<std::size_t>(12 + deal % 12)]);
        Table table = Deal(std::vector<Code>(all.begin(), all.begin() + 12));
        const auto moves = PlanMatches(table, table.OpenBlocks(), deal);
        ASSERT_TRUE(moves.has_value()) << deal;
        std::array<int, 12> perBlock{};
        for (const Move& move : *moves) {
            ASSERT_FALSE(table.Play(move).has_value()) << "collision in deal " << deal;
            ++perBlock[static_cast<std::size_t>(move.block)];
        }
        EXPECT_EQ(table.Matched(), 12);
        EXPECT_LE(*std::max_element(perBlock.begin(), perBlock.end()), 2);
    }
}

TEST(PlayerPlan, LeavesTheBlocksItWasNotAskedToMatch) {
    std::vector<Code> all = AllCodes();
    Table table = Deal(std::vector<Code>(all.begin(), all.begin() + 12));
    const auto moves = PlanMatches(table, {3, 5}, 0);
    ASSERT_TRUE(moves.has_value());
    for (const Move& move : *moves) {
        EXPECT_TRUE(move.block == 3 || move.block == 5);
        table.Play(move);
    }
    EXPECT_EQ(table.Matched(), 3);
}

TEST(PlayerPlan, FindsAMoveThatMakesTwoOpenBlocksEqual) {
    Table table = Deal({"cxst", "xcst", "cxts", "csxt", "ctsx", "ctxs", "scxt", "sctx", "sxct",
                        "sxtc", "stcx", "stxc"});
    const auto collision = FindCollision(table);
    ASSERT_TRUE(collision.has_value());
    const Code other = table.code[static_cast<std::size_t>(collision->other)];
    EXPECT_EQ(table.Play(collision->move), collision->other);
    EXPECT_EQ(table.code[static_cast<std::size_t>(collision->move.block)], other);
    EXPECT_FALSE(table.Open(collision->move.block));
    EXPECT_FALSE(table.Open(collision->other));
}

TEST(PlayerScores, FollowTheScale) {
    EXPECT_EQ(Scale(0), 10);
    EXPECT_EQ(Scale(11), 3640);
    EXPECT_EQ(Scale(88), 1'214'850);
    EXPECT_EQ(Scale(89), 1'255'800);
    EXPECT_EQ(Bonus(7), 840);
    EXPECT_EQ(Bonus(95), 1'255'800);
    Table table = Deal(AllCodes());
    table.clicks[1] = 3;
    table.clicks[2] = 10;
    EXPECT_EQ(ClickCost(table), 100 + 2200);
}

}  // namespace
}  // namespace tessaform::e2e
