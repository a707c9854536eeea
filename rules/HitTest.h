// Which block and which arrow a press hits.
#pragma once

#include "GameState.h"

namespace tessaform {

inline constexpr int kNoBlock = -1;
inline constexpr int kNoArrow = -1;

// The block whose square, all four edges included, holds the point: 161 by 161
// pixels, so the first column and row of each gap belong to the block before it.
int BlockAt(const GameState& state, int x, int y);

// The arrow a press at (dx, dy) from a block's top-left corner hits: two pixels
// of tolerance before each rectangle, one after, the centre's arms in the order
// 6, 9, 7, 8 after the six straight arrows.
int ArrowAt(const GameState& state, int dx, int dy);

}  // namespace tessaform
