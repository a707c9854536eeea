// The 24 arrangements, each arrow's swap, the pictures' ids and where the arrows lie.
#pragma once

#include <array>

#include "Board.h"
#include "Rect.h"

namespace tessaform {

// Shapes read clockwise from the top-left cell: c circle, x cross, s square, t triangle.
// Every permutation once, in lexicographic order under c < x < s < t.
inline constexpr std::array<const char*, kArrangementCount> kArrangementCodes = {
    "cxst", "cxts", "csxt", "cstx", "ctxs", "ctsx", "xcst", "xcts", "xsct", "xstc", "xtcs", "xtsc",
    "scxt", "sctx", "sxct", "sxtc", "stcx", "stxc", "tcxs", "tcsx", "txcs", "txsc", "tscx", "tsxc"};

// For each arrow, the old cell position each new cell position takes its shape from.
inline constexpr std::array<std::array<int, 4>, kArrowCount> kArrowSources = {{
    {1, 0, 3, 2},  // 0: mirror left to right
    {3, 2, 1, 0},  // 1: mirror top to bottom
    {1, 0, 2, 3},  // 2: top pair
    {0, 1, 3, 2},  // 3: bottom pair
    {3, 1, 2, 0},  // 4: left pair
    {0, 2, 1, 3},  // 5: right pair
    {2, 1, 0, 3},  // 6: centre X, upper-left arm
    {0, 3, 2, 1},  // 7: centre X, upper-right arm
    {0, 3, 2, 1},  // 8: centre X, lower-left arm
    {2, 1, 0, 3},  // 9: centre X, lower-right arm
}};

// Bitmap resource id of the picture of each arrangement; the ids do not follow the table.
inline constexpr std::array<int, kArrangementCount> kPictureResourceIds = {
    133, 134, 131, 130, 137, 132, 148, 149, 150, 151, 152, 153,
    136, 135, 140, 141, 138, 139, 143, 142, 146, 147, 144, 145};

// Where each arrow lies, relative to a block's top-left corner. Each rectangle,
// moved one pixel up and left, covers its arrow's black box in the pictures.
inline constexpr std::array<Rect, kArrowCount> kArrowHotSpots = {{
    {66, 2, 95, 15},     // 0: magenta, top edge
    {2, 66, 15, 95},     // 1: magenta, left edge
    {68, 35, 93, 46},    // 2: white, between the top cells
    {68, 115, 93, 126},  // 3: white, between the bottom cells
    {35, 68, 46, 93},    // 4: white, between the left cells
    {115, 68, 126, 93},  // 5: white, between the right cells
    {66, 66, 80, 80},    // 6: centre X, upper-left arm
    {81, 66, 95, 80},    // 7: centre X, upper-right arm
    {66, 81, 80, 95},    // 8: centre X, lower-left arm
    {81, 81, 95, 95},    // 9: centre X, lower-right arm
}};

// The arrangement the arrow's swap makes of the given one.
int ApplyArrow(int arrangement, int arrow);

}  // namespace tessaform
