// Works out where the board, its blocks, the strip and the column go, and the dissolve's order.
#include "Layout.h"

namespace tessaform {

void ComputeBoardOrigin(GameState& s) {
    const int width = s.clientRect.right;
    const int height = s.clientRect.bottom;
    s.boardLeft = (width - 3 * s.blockPitch - s.blockSize) / 2;
    s.boardTop = (height - 2 * s.blockPitch - s.blockSize) / 2 + 1;
}

void ComputeBlockRects(GameState& s) {
    for (int column = 0; column < kColumns; ++column) {
        for (int row = 0; row < kRows; ++row) {
            const int left = s.boardLeft + column * s.blockPitch;
            const int top = s.boardTop + row * s.blockPitch;
            s.blockRect[BlockIndex(column, row)] = {left, top, left + s.blockSize,
                                                    top + s.blockSize};
        }
    }
}

void ComputePanelLayout(GameState& s) {
    // Each label is followed 4 pixels later by its box, each box 10 pixels later by the next label.
    s.timeLabelRect = {10, 1, 80, 18};
    s.timeValueRect = {84, 1, 129, 18};
    s.matchScoreLabelRect = {139, 1, 236, 18};
    s.matchScoreValueRect = {240, 1, 300, 18};
    s.clickCostLabelRect = {310, 1, 395, 18};
    s.clickCostValueRect = {399, 1, 449, 18};
    s.bonusLabelRect = {459, 1, 519, 18};
    s.bonusValueRect = {523, 1, 583, 18};
    s.netScoreLabelRect = {593, 1, 679, 18};
    s.netScoreValueRect = {683, 1, 743, 18};
    const int columnTop = (s.clientRect.bottom - 458) / 2;
    s.anotherSetRect = {9, columnTop, 34, columnTop + 458};
}

void BuildDissolveOrder(GameState& s) {
    const int pixels = s.blockSize * s.blockSize;
    int value = 0;
    for (int i = 0; i < pixels; ++i) {
        s.dissolveOrder[i] = value;
        value += 21'773;
        // At exactly blockSize^2 too: the index must wrap to 0, not step outside the block.
        if (value >= pixels) {
            value -= pixels;
        }
    }
}

}  // namespace tessaform
