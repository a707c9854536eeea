// The old screen's pixel rules on a plain pixel buffer: fills, lines, copies and text.
#include "PixelSurface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tessaform {

namespace {

bool IsEmpty(const Rect& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

// What two rectangles share; an empty Rect when that is nothing.
Rect Intersect(const Rect& a, const Rect& b) {
    const Rect in{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                  std::min(a.bottom, b.bottom)};
    return IsEmpty(in) ? Rect{} : in;
}

// Nearest integer to num / den (den > 0), halves going to the smaller one: where a
// line runs exactly between two pixels, GDI lights the upper or the left one.
std::int64_t RoundHalfDown(std::int64_t num, std::int64_t den) {
    const std::int64_t a = 2 * num - den;
    const std::int64_t b = 2 * den;
    return a >= 0 ? (a + b - 1) / b : -((-a) / b);
}

// Breaks a paragraph between words so each line fits the width; a word wider than
// that stands alone on its line. The blanks at a break are dropped.
void WrapParagraph(std::string_view text, const GlyphFont& font, int width,
                   std::vector<std::string_view>& lines) {
    const std::size_t n = text.size();
    std::size_t pos = 0;
    do {
        const std::size_t start = pos;
        std::size_t end = start;
        for (;;) {
            const std::size_t wordStart = std::min(text.find_first_not_of(' ', end), n);
            const std::size_t wordEnd = std::min(text.find(' ', wordStart), n);
            if (wordEnd == wordStart ||
                (end > start && font.Width(text.substr(start, wordEnd - start)) > width)) {
                break;
            }
            end = wordEnd;
        }
        if (end == start) {
            // Nothing but blanks left.
            lines.push_back(text.substr(start));
            return;
        }
        lines.push_back(text.substr(start, end - start));
        pos = std::min(text.find_first_not_of(' ', end), n);
    } while (pos < n);
}

}  // namespace

PixelDeviceContext::PixelDeviceContext(PixelSurface& surface) : surface_(surface) {
    PixelDeviceContext::SelectFont(kDefaultFont);  // no subclass is built yet
}

void PixelDeviceContext::SelectFont(const FontSpec& font) {
    font_ = &surface_.fonts_.Resolve(font);
}

void PixelDeviceContext::SetPixel(int x, int y, Rgb color) {
    surface_.Fill({x, y, x + 1, y + 1}, color);
}

void PixelDeviceContext::FillRect(const Rect& r, Rgb brush) {
    surface_.Fill(r, brush);
}

void PixelDeviceContext::Rectangle(const Rect& r) {
    if (IsEmpty(r)) {
        return;
    }
    surface_.Fill({r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, brush_);
    surface_.Fill({r.left, r.top, r.right, r.top + 1}, pen_);
    surface_.Fill({r.left, r.bottom - 1, r.right, r.bottom}, pen_);
    surface_.Fill({r.left, r.top, r.left + 1, r.bottom}, pen_);
    surface_.Fill({r.right - 1, r.top, r.right, r.bottom}, pen_);
}

void PixelDeviceContext::MoveTo(int x, int y) {
    x_ = x;
    y_ = y;
}

void PixelDeviceContext::LineTo(int x, int y) {
    const std::int64_t dx = std::int64_t{x} - x_;
    const std::int64_t dy = std::int64_t{y} - y_;
    const std::int64_t steps = std::max(std::abs(dx), std::abs(dy));
    // One pixel per column of a flat line, one per row of a steep one; the step that
    // would reach the end point is never taken. Each straight run is filled at once.
    const bool flat = std::abs(dx) >= std::abs(dy);
    const std::int64_t along = flat ? dx : dy;
    const std::int64_t across = flat ? dy : dx;
    std::int64_t runStart = 0;
    for (std::int64_t i = 1; i <= steps; ++i) {
        const std::int64_t offset = RoundHalfDown(across * runStart, steps);
        if (i < steps && RoundHalfDown(across * i, steps) == offset) {
            continue;
        }
        const auto first = static_cast<int>(along > 0 ? runStart : 1 - i);
        const auto last = static_cast<int>(along > 0 ? i : 1 - runStart);
        const auto side = static_cast<int>(offset);
        surface_.Fill(flat ? Rect{x_ + first, y_ + side, x_ + last, y_ + side + 1}
                           : Rect{x_ + side, y_ + first, x_ + side + 1, y_ + last},
                      pen_);
        runStart = i;
    }
    x_ = x;
    y_ = y;
}

void PixelDeviceContext::BitBlt(int x, int y, int width, int height, const Picture& picture) {
    if (!picture.Clip(width, height)) {
        return;
    }
    const Rect area = Intersect(surface_.ClientRect(), {x, y, x + width, y + height});
    surface_.Touch(area);
    for (int row = area.top; row < area.bottom; ++row) {
        const auto from = picture.pixels.begin() + (row - y) * picture.width + (area.left - x);
        std::copy(from, from + area.Width(), surface_.Row(row) + area.left);
    }
}

// One line from (x, y), clipped only by the surface.
void PixelDeviceContext::TextOut(int x, int y, std::string_view text) {
    DrawText(text, {x, y, surface_.width_, y + font_->Height()}, kDtSingleLine);
}

void PixelDeviceContext::DrawText(std::string_view text, const Rect& r, unsigned flags) {
    if (IsEmpty(r)) {
        return;
    }
    surface_.Touch(r);
    std::vector<std::string_view> lines;
    for (std::size_t at = 0; at <= text.size();) {
        const std::size_t end = flags & kDtSingleLine ? text.size() : text.find('\n', at);
        const std::string_view paragraph = text.substr(at, end - at);
        if (flags & kDtWordBreak && !(flags & kDtSingleLine)) {
            WrapParagraph(paragraph, *font_, r.Width(), lines);
        } else {
            lines.push_back(paragraph);
        }
        at = end == std::string_view::npos ? end : end + 1;
    }

    const int cell = font_->Height();
    int y = r.top;
    // Vertical centring is for single lines only, as in GDI.
    if ((flags & kDtSingleLine) && (flags & kDtVCenter)) {
        y = r.top + (r.Height() - cell) / 2;
    }
    const Rect clip = Intersect(surface_.ClientRect(), r);
    for (std::string_view line : lines) {
        const int width = font_->Width(line);
        int x = r.left;
        if (flags & kDtCenter) {
            // Rounded down from the box's own edge, so a box draws alike wherever it is.
            x = r.left + static_cast<int>(std::floor((r.Width() - width) / 2.0));
        } else if (flags & kDtRight) {
            x = r.right - width;
        }
        if (!transparent_) {
            surface_.Fill(Intersect({x, y, x + width, y + cell}, clip), kWhite);
        }
        DrawLine(line, x, y + font_->Ascent(), clip);
        y += cell;
        if (y >= r.bottom) {
            break;
        }
    }
}

void PixelDeviceContext::DrawLine(std::string_view line, int x, int baseline, const Rect& clip) {
    for (char c : line) {
        const Glyph& g = font_->Find(c);
        for (int i = 0; i < g.width * g.height; ++i) {
            const int px = x + g.left + i % g.width;
            const int py = baseline + g.top + i / g.width;
            if (font_->Ink(g, i) && clip.left <= px && px < clip.right && clip.top <= py &&
                py < clip.bottom) {
                surface_.Row(py)[px] = textColor_.Argb();
            }
        }
        x += g.advance;
    }
}

PixelSurface::PixelSurface(int width, int height, FontSource& fonts) : fonts_(fonts) {
    Resize(width, height);
}

void PixelSurface::Resize(int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    pixels_.assign(static_cast<std::size_t>(width_) * height_, kGrey.Argb());
    dirty_ = ClientRect();
}

void PixelSurface::Touch(const Rect& r) {
    const Rect in = Intersect(r, ClientRect());
    if (IsEmpty(in)) {
        return;
    }
    dirty_ = IsEmpty(dirty_)
                 ? in
                 : Rect{std::min(dirty_.left, in.left), std::min(dirty_.top, in.top),
                        std::max(dirty_.right, in.right), std::max(dirty_.bottom, in.bottom)};
}

void PixelSurface::Fill(const Rect& r, Rgb color) {
    const Rect in = Intersect(r, ClientRect());
    Touch(in);
    for (int y = in.top; y < in.bottom; ++y) {
        std::fill(Row(y) + in.left, Row(y) + in.right, color.Argb());
    }
}

void PixelSurface::ShowNow() {
    if (show_) {
        show_();
    }
}

}  // namespace tessaform
