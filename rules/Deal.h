// The deal of a fresh board from the random source.
#pragma once

#include "GameState.h"
#include "Random.h"

namespace tessaform {

// Shuffles all 24 arrangements into dealOrder; the board is not touched yet.
void DrawDeal(GameState& state, RandomSource& random);

// Hands the first twelve arrangements of dealOrder to the blocks.
void AssignDeal(GameState& state);

// A fresh board: twelve different arrangements, the master's first.
void Deal(GameState& state, RandomSource& random);

}  // namespace tessaform
