#pragma once

#include <QPoint>
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tessaform::e2e {

// A block's shapes read clockwise from the top-left cell: c circle, x cross, s square, t triangle.
using Code = std::string;

inline constexpr int kArrows = 10;

// What an arrow does to a block's shapes, as the arrows are drawn: the player's own
// table, so a game that swaps the wrong pair is caught.
Code Apply(const Code& code, int arrow);

// Where to press for an arrow, relative to a block's top-left pixel. The arms of the
// centre X are pressed inside their own quarter, away from where they overlap.
QPoint PressPoint(int arrow);

// Every shortest sequence of arrows (one or two) that turns `from` into `to`. `variant`
// turns the order in which the arrows are tried, so that different games use different arrows.
std::vector<std::vector<int>> Routes(const Code& from, const Code& to, int variant);

enum class Status { kOpen, kLost, kMatched };

struct Move {
    int block = 0;
    int arrow = 0;
};

// The player's own account of a game: the board as read, then each of its moves.
struct Table {
    std::array<Code, 12> code;
    std::array<Status, 12> status{};
    std::array<int, 12> clicks{};

    // Plays a move by the rules as the player understands them; returns the block that
    // the move collided with, if any.
    std::optional<int> Play(const Move& move);
    void Lose(int block) { status[static_cast<std::size_t>(block)] = Status::kLost; }
    bool Open(int block) const { return status[static_cast<std::size_t>(block)] == Status::kOpen; }
    std::vector<int> OpenBlocks() const;
    int Matched() const;  // the master included
};

// The points scale: 10 x C(i + 3, 3), the last value repeated from index 89 on.
long Scale(int index);
long MatchScore(const Table& table);
long ClickCost(const Table& table);
long Bonus(int secondsLeft);

// Moves that match each of `blocks` to the master, block after block, never letting a
// block pass through the shapes of another open block. nullopt when no order avoids that.
std::optional<std::vector<Move>> PlanMatches(const Table& table, std::vector<int> blocks,
                                             int variant);

// A move of one open block that gives it the shapes of another open block.
struct Collision {
    Move move;
    int other = 0;
};
std::optional<Collision> FindCollision(const Table& table);

}  // namespace tessaform::e2e
