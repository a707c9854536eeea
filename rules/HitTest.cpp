// Finds the block and the arrow a press lands on.
#include "HitTest.h"

#include <array>

namespace tessaform {

namespace {

constexpr std::array<int, kArrowCount> kArrowTestOrder = {0, 1, 2, 3, 4, 5, 6, 9, 7, 8};

}  // namespace

int BlockAt(const GameState& s, int x, int y) {
    for (int k = 0; k < kBlockCount; ++k) {
        if (s.blockRect[k].ContainsWithEdges(x, y)) {
            return k;
        }
    }
    return kNoBlock;
}

int ArrowAt(const GameState& s, int dx, int dy) {
    for (int arrow : kArrowTestOrder) {
        const Rect& hot = s.arrowRect[arrow];
        if (hot.left - 2 <= dx && dx <= hot.right + 1 && hot.top - 2 <= dy &&
            dy <= hot.bottom + 1) {
            return arrow;
        }
    }
    return kNoArrow;
}

}  // namespace tessaform
