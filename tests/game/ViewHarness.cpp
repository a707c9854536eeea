#include "ViewHarness.h"

#include <algorithm>

#include "Arrangements.h"

namespace tessaform::testing {

ViewHarness::ViewHarness(int width, int height) {
    surface.Resize(width, height);
    surface.SetShowCallback([this] { log.push_back("show"); });
    view = std::make_unique<GameView>(
        ViewPorts{surface, timers, clock, sound, messages, random,
                  [this](const std::string& title) { documentTitle = title; }},
        DissolvePacing{0, {}});
}

void ViewHarness::Repaint() {
    view->OnDraw(*surface.OpenClientDC());
}

void ViewHarness::PressIn(int block, int dx, int dy) {
    const Rect& r = State().blockRect[block];
    Press(r.left + dx, r.top + dy);
}

void ViewHarness::PressArrow(int block, int arrow) {
    const Rect& hot = kArrowHotSpots[arrow];
    // The centre arms overlap near the middle; their outer corners are theirs alone.
    const int dx = arrow >= 6 ? (arrow == 6 || arrow == 8 ? hot.left + 2 : hot.right - 2)
                              : (hot.left + hot.right) / 2;
    const int dy = arrow >= 6 ? (arrow == 6 || arrow == 7 ? hot.top + 2 : hot.bottom - 2)
                              : (hot.top + hot.bottom) / 2;
    PressIn(block, dx, dy);
}

void ViewHarness::Arrange(int block, int arrangement) {
    State().blockArrangement[block] = arrangement;
    view->RedrawBlock(ColumnOf(block), RowOf(block));
}

int ViewHarness::ArrowTo(int block, int target) const {
    for (int arrow = 0; arrow < kArrowCount; ++arrow) {
        if (ApplyArrow(view->State().blockArrangement[block], arrow) == target) {
            return arrow;
        }
    }
    return -1;
}

int ViewHarness::Count(const std::string& entry) const {
    return static_cast<int>(std::count(log.begin(), log.end(), entry));
}

QRgb ViewHarness::PixelIn(int block, int dx, int dy) const {
    const Rect& r = view->State().blockRect[block];
    return Image().pixel(r.left + dx, r.top + dy);
}

DealtGame::DealtGame() {
    random.draws.assign(24, 0);
    Repaint();
    start = State().gameStartTime;
    log.clear();
}

std::pair<int, int> DealtGame::CollidingMove() const {
    const GameState& s = view->State();
    for (int k = 1; k < kBlockCount; ++k) {
        for (int j = 1; j < kBlockCount; ++j) {
            const int arrow = j != k ? ArrowTo(k, s.blockArrangement[j]) : -1;
            if (arrow >= 0 && s.blockStatus[j] == kOpen && s.blockStatus[k] == kOpen) {
                return {k, arrow};
            }
        }
    }
    return {-1, -1};
}

int RingPixels(const QImage& image, const Rect& r, QRgb colour) {
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            const bool ring = x == r.left || x == r.right - 1 || y == r.top || y == r.bottom - 1;
            count += ring && image.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

int CountColour(const QImage& image, const Rect& r, QRgb colour) {
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            count += image.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

bool AllColour(const QImage& image, const Rect& r, QRgb colour) {
    return CountColour(image, r, colour) == r.Width() * r.Height();
}

}  // namespace tessaform::testing
