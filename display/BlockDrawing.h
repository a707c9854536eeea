// What the game draws on a block's square, and the figure shown while the deal sounds.
#pragma once

#include <functional>

#include "DeviceContext.h"
#include "GameState.h"

namespace tessaform {

// Copies a block picture onto block k's square, frame ring included.
void BlitBlock(DeviceContext& dc, const GameState& state, int block, const Picture& picture);

// One-pixel frame on the outermost ring of block k's square.
void FrameBlock(DeviceContext& dc, const GameState& state, int block, Rgb pen);

// Paints both blocks grey pixel by pixel in the dissolve order, A and B in turn,
// each pixel four times. `frame` is called `frames` times at even steps, the last
// at the end, so the caller can show the progress; 0 means no pauses.
void DissolveBlocks(DeviceContext& dc, const GameState& state, int blockA, int blockB, int frames,
                    const std::function<void()>& frame);

// The eighteen coloured lines shown while the deal sound plays.
void DrawOpeningFigure(DeviceContext& dc, const Rect& client);

}  // namespace tessaform
