// tessaform-moves: what the rules say and the game prints, for the end-to-end tests to read
// instead of copying.
#include <cstdio>

#include "Arrangements.h"
#include "GameState.h"
#include "Instructions.h"

using namespace tessaform;

// The block size, then in index order each block's offset from the board's origin, each
// arrow's press point in block coordinates, for each arrangement what each arrow makes of it, and
// the printed instructions.
int main() {
    const GameState state;
    std::printf("size %d\n", state.blockSize);
    for (int k = 0; k < kBlockCount; ++k) {
        std::printf("block %d %d\n", ColumnOf(k) * state.blockPitch, RowOf(k) * state.blockPitch);
    }
    for (int arrow = 0; arrow < kArrowCount; ++arrow) {
        const Rect& r = kArrowHotSpots[arrow];
        std::printf("arrow %d %d\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    for (int a = 0; a < kArrangementCount; ++a) {
        std::printf("apply");
        for (int arrow = 0; arrow < kArrowCount; ++arrow) {
            std::printf(" %d", ApplyArrow(a, arrow));
        }
        std::printf("\n");
    }
    for (const char* line : kInstructionLines) {
        std::printf("print %s\n", line);
    }
    return 0;
}
