// Text the surface draws again from its cache must come out as a fresh drawing would.
#include <gtest/gtest.h>

#include "ImageSurface.h"

namespace tessaform {
namespace {

struct Case {
    const char* name;
    const char* text;
    Rgb color;
    bool transparent;
    int under;  // 0: the strip's grey box, else a pattern of varied colours
    unsigned flags;
    int bottom;  // of a box at (84, 1), as the clock's
    const FontSpec* font;
};

void Draw(DeviceContext& dc, const Case& c, int dx, int dy) {
    const Rect box{84 + dx, 1 + dy, 129 + dx, c.bottom + dy};
    for (int x = box.left; x < box.right; ++x) {
        const auto u = static_cast<std::uint8_t>(x - box.left);
        dc.FillRect({x, box.top, x + 1, box.bottom},
                    c.under == 0 ? kGrey : Rgb{std::uint8_t(u * 37 + c.under * 60), u, 200});
    }
    dc.SelectFont(*c.font);
    dc.SetTextColor(c.color);
    if (c.transparent)
        dc.SetTransparentBackground();
    dc.DrawText(c.text, box, c.flags);
}

TEST(TextCache, ReusedBoxesMatchFreshDrawingsPixelForPixel) {
    constexpr unsigned kValue = kDtSingleLine | kDtVCenter | kDtCenter;
    constexpr unsigned kLabel = kDtSingleLine | kDtVCenter | kDtRight;
    // Each case differs from one before it in one thing only, so a cache that overlooked
    // that thing would hand back the earlier case's pixels.
    const Case cases[] = {
        {"the clock", "01:23", kBlack, true, 0, kValue, 18, &kDefaultFont},
        {"another colour", "01:23", kRed, true, 0, kValue, 18, &kDefaultFont},
        {"over other pixels", "01:23", kBlack, true, 1, kValue, 18, &kDefaultFont},
        {"over still others", "01:23", kBlack, true, 2, kValue, 18, &kDefaultFont},
        {"opaque", "01:23", kBlack, false, 2, kValue, 18, &kDefaultFont},
        {"another text", "01:22", kBlack, true, 0, kValue, 18, &kDefaultFont},
        {"right-aligned", "01:23", kBlack, true, 0, kLabel, 18, &kDefaultFont},
        {"a lower box", "01:23", kBlack, true, 0, kValue, 12, &kDefaultFont},
        {"another font", "01:23", kBlack, true, 0, kValue, 18, &kPanelFont},
        {"text wider than its box", "Match Score", kBlack, true, 1, kValue, 18, &kDefaultFont},
    };
    ImageSurface cached(640, 480);
    for (const Case& c : cases) {
        // Once to be kept, then again elsewhere, where the cache may serve it.
        Draw(*cached.OpenClientDC(), c, 0, 0);
        Draw(*cached.OpenClientDC(), c, 301, 207);
        QImage fresh(640, 480, QImage::Format_RGB32);
        ImageDeviceContext plain(fresh);
        Draw(plain, c, 301, 207);
        const QRect moved(84 + 301, 1 + 207, 45, c.bottom - 1);
        EXPECT_EQ(cached.Image().copy(moved), fresh.copy(moved)) << c.name;
    }
}

}  // namespace
}  // namespace tessaform
