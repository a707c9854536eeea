// The screen layout of the board and the strip along the top, and the dissolve's scatter.
#pragma once

#include "GameState.h"

namespace tessaform {

inline constexpr int kMinimumClientWidth = 641;

// Board origin and block squares, centred in the client area found by the repaint.
void ComputeBoardOrigin(GameState& state);
void ComputeBlockRects(GameState& state);

// The strip along the top (each label and its value box) and the play-another-set column at
// the left edge, centred in the client area's height. The arrow hot spots are a constant.
void ComputePanelLayout(GameState& state);

// Entry i is (i x 21,773) mod blockSize^2: a fixed scatter over every pixel of a block.
void BuildDissolveOrder(GameState& state);

}  // namespace tessaform
