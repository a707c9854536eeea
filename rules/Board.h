// The board's shape: twelve blocks in four columns of three, how they are numbered, their states.
#pragma once

namespace tessaform {

inline constexpr int kColumns = 4;
inline constexpr int kRows = 3;
inline constexpr int kBlockCount = kColumns * kRows;
inline constexpr int kMasterBlock = 0;
inline constexpr int kArrangementCount = 24;
inline constexpr int kArrowCount = 10;

// Blocks are numbered down each column first: block 1 sits below the master.
constexpr int BlockIndex(int column, int row) {
    return column * kRows + row;
}
constexpr int ColumnOf(int block) {
    return block / kRows;
}
constexpr int RowOf(int block) {
    return block % kRows;
}

enum BlockStatus : int { kOpen = 0, kLost = 1, kMatched = 2 };

inline constexpr int kMaxBlockClicks = 10;

}  // namespace tessaform
