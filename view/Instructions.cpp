// The printed rules of the game and the maker's notice below them.
#include "Instructions.h"

#include <algorithm>
#include <string_view>

#include "ProjectNotice.h"

namespace tessaform {

constexpr std::array<const char*, kInstructionLineCount> kInstructionLines = {
    "Welcome to Tessaform! This is the Primer Edition of the game, which leaves out some of",
    "the features of the Expert Edition. The board holds 12 blocks, and each block contains",
    "the same four shapes: a square, a circle, a triangle and a cross, arranged",
    "differently in each block. Your goal is to make every block match",
    "the master block without making it match any other block on the way. The master",
    "is the block with the red frame in the upper left corner of the board.",
    " ",
    "You rearrange the shapes of a block by clicking on its arrows. A white arrow",
    "swaps one pair of shapes, a purple arrow swaps two pairs at once. A click",
    "inside a block that misses its arrows loses that block. When a click on an arrow",
    "makes a block match the master, your Match Points go up, and",
    "the block that now matches gets a green frame; touching it again may lose it.",
    "When a click on an arrow makes a block equal to another block, you lose",
    "both of them.",
    " ",
    "Your Net Score is your Match Points plus your Bonus, less the cost of your clicks.",
    "Match Points are 10, 40, 100, 200, 350, 560, 840, 1200, 1650,",
    "2200, 2860 and 3640 for 0 to 11 matches. Clicks cost points too:",
    "the first good click in a block costs 10, the second in that block 40, the third 100,",
    "and so on up to at most 2200, counted for each block on its own. You earn a Bonus",
    "only by making all 11 matches before time runs out; it uses the Match Points scale",
    "and grows with the seconds you have left, counted up to 90. For example,",
    "all 11 matches made with 7 seconds to spare earn a Bonus of",
    "840 points, while finishing with 90 seconds or more to spare would earn",
    "1,255,800 points. Each game lasts about 1 minute 45 seconds.",
    " ",
    "A set is five games played one after another, with about 4 seconds",
    "of rest between them. When a set ends, a recap appears along the bottom of the",
    "screen with the five scores and their average, together with a yellow-framed",
    "block at the left side of the screen: click it to play another set. You can quit",
    "at any time by pressing Alt+F4 or by choosing the Exit item of the File menu",
    "on the menu bar.",
    " ",
    "Tessaform is made by the Tessaform developers. You may copy it, change it and pass it",
    "on under the MIT licence, whose full text is in " TESSAFORM_LICENCE_FILE ".",
    "It comes with no warranty of any kind. Copyright (C) 2026 the Tessaform developers.",
    "Home page: " TESSAFORM_HOME_PAGE,
    "E-mail for reports of faults: " TESSAFORM_REPORT_ADDRESS,
};

// The addresses are chosen when the build is configured; one too long would run off the page.
static_assert(std::all_of(kInstructionLines.begin(), kInstructionLines.end(),
                          [](std::string_view line) {
                              return line.size() <= kInstructionLineMaxLength;
                          }));

void SetInstructionLines(GameState& state) {
    for (int i = 0; i < kInstructionLineCount; ++i) {
        state.instructionLines[i] = kInstructionLines[i];
    }
}

}  // namespace tessaform
