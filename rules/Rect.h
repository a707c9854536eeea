// The rectangle the whole layout is made of, right and bottom one past the last pixel.
#pragma once

namespace tessaform {

// Client-area rectangle; right and bottom are one past the last pixel.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }

    // Hit tests of the game treat all four edges as inside.
    bool ContainsWithEdges(int x, int y) const {
        return left <= x && x <= right && top <= y && y <= bottom;
    }

    Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }

    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace tessaform
