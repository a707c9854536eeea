// Drawing blocks: their pictures, their frames, the grey dissolve and the opening figure.
#include "BlockDrawing.h"

namespace tessaform {

void BlitBlock(DeviceContext& dc, const GameState& s, int block, const Picture& picture) {
    const Rect& r = s.blockRect[block];
    dc.BitBlt(r.left, r.top, s.blockSize, s.blockSize, picture);
}

void FrameBlock(DeviceContext& dc, const GameState& s, int block, Rgb pen) {
    const Rect& r = s.blockRect[block];
    dc.SelectPen(pen);
    dc.MoveTo(r.left, r.top);
    dc.LineTo(r.right - 1, r.top);
    dc.LineTo(r.right - 1, r.bottom - 1);
    dc.LineTo(r.left, r.bottom - 1);
    dc.LineTo(r.left, r.top);
}

void DissolveBlocks(DeviceContext& dc, const GameState& s, int blockA, int blockB, int frames,
                    const std::function<void()>& frame) {
    const Rect& a = s.blockRect[blockA];
    const Rect& b = s.blockRect[blockB];
    const int pixels = s.blockSize * s.blockSize;
    for (int i = 0; i < pixels; ++i) {
        const int v = s.dissolveOrder[i];
        const int dx = v / s.blockSize;
        const int dy = v % s.blockSize;
        for (int pass = 0; pass < 4; ++pass) {
            dc.SetPixel(a.left + dx, a.top + dy, kGrey);
            dc.SetPixel(b.left + dx, b.top + dy, kGrey);
        }
        const bool frameEnds = frames > 0 && (static_cast<long long>(i + 1) * frames / pixels !=
                                              static_cast<long long>(i) * frames / pixels);
        if (frameEnds && frame) {
            frame();
        }
    }
}

void DrawOpeningFigure(DeviceContext& dc, const Rect& client) {
    const int l = client.left;
    const int t = client.top;
    const int w = client.right;
    const int h = client.bottom;
    struct Stroke {
        Rgb pen;
        int x, y;
    };
    struct Run {
        int startX, startY;
        std::initializer_list<Stroke> strokes;
    };
    // A run is cut where a stroke ends: each stroke leaves its end point to the next.
    const Run runs[] = {
        {l, t, {{kRed, w, h / 2}, {kGreen, l, h}, {kBlue, w / 2, t}, {kYellow, w, h}}},
        {w, h, {{kRed, l, h / 2}, {kBlue, w, t}, {kGreen, 3 * w / 4, h}, {kBlack, w / 4, t}}},
        {w / 4, t, {{kMagenta, w, h / 4}, {kRed, l, 3 * h / 4}}},
        {l, t, {{kYellow, w / 4, h}, {kGreen, 3 * w / 4, t}}},
        {l, h, {{kRed, w / 4, t}, {kBlue, l, h / 4}, {kGreen, w / 2, h}, {kYellow, w, t}}},
        {3 * w / 4, t, {{kBlack, w, 3 * h / 4}, {kYellow, l, 3 * h / 4}}},
    };
    for (const Run& run : runs) {
        dc.MoveTo(run.startX, run.startY);
        for (const Stroke& stroke : run.strokes) {
            dc.SelectPen(stroke.pen);
            dc.LineTo(stroke.x, stroke.y);
        }
    }
}

}  // namespace tessaform
