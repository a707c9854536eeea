// The strip along the top: its time and score boxes, and the numbers in them.
#pragma once

#include <cstdint>
#include <string>

#include "DeviceContext.h"
#include "GameState.h"

namespace tessaform {

// printf-style "%<width>li" with its leading blanks: the strip's and recap's numbers.
std::string FormatNumber(std::int32_t value, int width);

// The "Time Left" box, from timeLeftText.
void DrawTimeBox(DeviceContext& dc, const GameState& state);

// Bonus, click cost, match score and net score; stores the net score as this
// game's score of the set, as every draw of the panel does.
void DrawScorePanel(DeviceContext& dc, GameState& state, bool bonusAllowed);

// A blue- or red-outlined grey box with its value centred, and its label right-aligned to its
// left; both said in words as one: "Time Left 01:36".
void BeginBoxes(DeviceContext& dc, Rgb pen);
void LabelledBox(DeviceContext& dc, const Rect& label, const std::string& name, const Rect& box,
                 const std::string& value);

}  // namespace tessaform
