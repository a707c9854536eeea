#include "Planner.h"

#include <algorithm>

#include "Arrangements.h"

namespace tessaform::e2e {

namespace {

// Pairs of cell positions (0 top-left, clockwise) that each arrow swaps.
struct Swap {
    int a, b, c, d;  // a with b, then c with d when c >= 0
};
constexpr std::array<Swap, kArrows> kSwaps = {{
    {0, 1, 3, 2},    // magenta, top edge: mirror left to right
    {0, 3, 1, 2},    // magenta, left edge: mirror top to bottom
    {0, 1, -1, -1},  // between the top cells
    {3, 2, -1, -1},  // between the bottom cells
    {0, 3, -1, -1},  // between the left cells
    {1, 2, -1, -1},  // between the right cells
    {0, 2, -1, -1},  // centre X, upper-left arm
    {1, 3, -1, -1},  // centre X, upper-right arm
    {1, 3, -1, -1},  // centre X, lower-left arm
    {0, 2, -1, -1},  // centre X, lower-right arm
}};

constexpr std::size_t kMaster = 0;

}  // namespace

Code Apply(const Code& code, int arrow) {
    Code result = code;
    const Swap& s = kSwaps[static_cast<std::size_t>(arrow)];
    std::swap(result[static_cast<std::size_t>(s.a)], result[static_cast<std::size_t>(s.b)]);
    if (s.c >= 0) {
        std::swap(result[static_cast<std::size_t>(s.c)], result[static_cast<std::size_t>(s.d)]);
    }
    return result;
}

QPoint PressPoint(int arrow) {
    switch (arrow) {
        case 6:
            return {70, 70};
        case 7:
            return {91, 70};
        case 8:
            return {70, 91};
        case 9:
            return {91, 91};
        default:
            break;
    }
    const Rect& r = kArrowHotSpots[static_cast<std::size_t>(arrow)];
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::vector<std::vector<int>> Routes(const Code& from, const Code& to, int variant) {
    std::vector<int> order;
    order.reserve(kArrows);
    for (int i = 0; i < kArrows; ++i) {
        order.push_back((i + variant) % kArrows);
    }
    std::vector<std::vector<int>> routes;
    for (int a : order) {
        if (Apply(from, a) == to) {
            routes.push_back({a});
        }
    }
    if (!routes.empty() || from == to) {
        return routes;
    }
    for (int a : order) {
        for (int b : order) {
            if (Apply(Apply(from, a), b) == to) {
                routes.push_back({a, b});
            }
        }
    }
    return routes;
}

std::optional<int> Table::Play(const Move& move) {
    const auto k = static_cast<std::size_t>(move.block);
    code[k] = Apply(code[k], move.arrow);
    clicks[k] = std::min(clicks[k] + 1, 10);
    if (code[k] == code[kMaster]) {
        status[k] = Status::kMatched;
        return std::nullopt;
    }
    status[k] = Status::kOpen;
    for (std::size_t j = 1; j < code.size(); ++j) {
        if (j != k && status[j] != Status::kLost && code[j] == code[k]) {
            status[j] = Status::kLost;
            status[k] = Status::kLost;
            return static_cast<int>(j);
        }
    }
    return std::nullopt;
}

std::vector<int> Table::OpenBlocks() const {
    std::vector<int> open;
    for (int k = 1; k < 12; ++k) {
        if (Open(k)) {
            open.push_back(k);
        }
    }
    return open;
}

int Table::Matched() const {
    return 1 + static_cast<int>(std::count(status.begin() + 1, status.end(), Status::kMatched));
}

long Scale(int index) {
    const long i = std::clamp(index, 0, 89);
    return 10 * (i + 1) * (i + 2) * (i + 3) / 6;
}

long MatchScore(const Table& table) {
    return Scale(table.Matched() - 1);
}

long ClickCost(const Table& table) {
    long cost = 0;
    for (std::size_t k = 1; k < table.clicks.size(); ++k) {
        if (table.clicks[k] > 0) {
            cost += Scale(table.clicks[k] - 1);
        }
    }
    return cost;
}

long Bonus(int secondsLeft) {
    return Scale(std::min(secondsLeft, 90) - 1);
}

std::optional<std::vector<Move>> PlanMatches(const Table& table, std::vector<int> blocks,
                                             int variant) {
    Table sim = table;
    std::vector<Move> moves;
    std::erase_if(blocks, [&](int b) { return !sim.Open(b); });
    auto distance = [&](int b) {
        const auto routes =
            Routes(sim.code[static_cast<std::size_t>(b)], sim.code[kMaster], variant);
        return routes.empty() ? kArrows : static_cast<int>(routes.front().size());
    };
    while (!blocks.empty()) {
        // Blocks one move away first: they can never collide.
        std::stable_sort(blocks.begin(), blocks.end(),
                         [&](int a, int b) { return distance(a) < distance(b); });
        std::optional<std::size_t> done;
        for (std::size_t i = 0; i < blocks.size() && !done; ++i) {
            const int b = blocks[i];
            for (const auto& route :
                 Routes(sim.code[static_cast<std::size_t>(b)], sim.code[kMaster], variant)) {
                Code at = sim.code[static_cast<std::size_t>(b)];
                bool safe = true;
                for (std::size_t step = 0; step + 1 < route.size(); ++step) {
                    at = Apply(at, route[step]);
                    for (int other : sim.OpenBlocks()) {
                        safe =
                            safe && (other == b || sim.code[static_cast<std::size_t>(other)] != at);
                    }
                }
                if (safe) {
                    for (int arrow : route) {
                        moves.push_back({b, arrow});
                        sim.Play({b, arrow});
                    }
                    done = i;
                    break;
                }
            }
        }
        if (!done) {
            return std::nullopt;
        }
        blocks.erase(blocks.begin() + static_cast<std::ptrdiff_t>(*done));
    }
    return moves;
}

std::optional<Collision> FindCollision(const Table& table) {
    for (int b : table.OpenBlocks()) {
        for (int arrow = 0; arrow < kArrows; ++arrow) {
            const Code to = Apply(table.code[static_cast<std::size_t>(b)], arrow);
            for (int other : table.OpenBlocks()) {
                if (other != b && table.code[static_cast<std::size_t>(other)] == to) {
                    return Collision{{b, arrow}, other};
                }
            }
        }
    }
    return std::nullopt;
}

}  // namespace tessaform::e2e
