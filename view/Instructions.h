// The printed rules of the game, one entry a line, and how they reach the game's state.
#pragma once

#include <array>

#include "GameState.h"

namespace tessaform {

inline constexpr int kInstructionLineCount = 38;
// The widest printed line; the page layout is made for it.
inline constexpr int kInstructionLineMaxLength = 86;

// The rules of the game as they are printed, one entry a printed line. A blank
// line is a single blank, so that every line has something to print.
extern const std::array<const char*, kInstructionLineCount> kInstructionLines;

// Fills entries 0 to 37 of the state's instruction lines; the rest stay empty.
void SetInstructionLines(GameState& state);

}  // namespace tessaform
