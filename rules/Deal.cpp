// Shuffles the 24 arrangements and hands the first twelve to the blocks.
#include "Deal.h"

namespace tessaform {

void DrawDeal(GameState& state, RandomSource& random) {
    for (int i = 0; i < kArrangementCount; ++i) {
        state.dealPool[i] = i;
        state.dealOrder[i] = i;
    }
    for (int s = 0; s < kArrangementCount; ++s) {
        const int left = kArrangementCount - s;
        const int r = random.Next() % left;
        state.dealOrder[s] = state.dealPool[r];
        for (int i = r; i < kArrangementCount - 1; ++i) {
            state.dealPool[i] = state.dealPool[i + 1];
        }
    }
}

void AssignDeal(GameState& state) {
    for (int k = 0; k < kBlockCount; ++k) {
        state.blockArrangement[k] = state.dealOrder[k];
    }
}

void Deal(GameState& state, RandomSource& random) {
    DrawDeal(state, random);
    AssignDeal(state);
}

}  // namespace tessaform
