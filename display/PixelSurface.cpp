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

// Breaks a text between words so each line fits the width; a word wider than that stands alone
// on its line. The blanks at a break are dropped; a text of blanks is one line.
std::vector<std::string_view> Wrap(std::string_view text, const GlyphFont& font, int width) {
    constexpr auto npos = std::string_view::npos;
    const auto wordEnd = [&](std::size_t from) {
        const std::size_t word = text.find_first_not_of(' ', from);
        return word == npos ? npos : std::min(text.find(' ', word), text.size());
    };
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start != npos; start = text.find_first_not_of(' ', start)) {
        std::size_t end = std::min(wordEnd(start), text.size());
        for (std::size_t next = wordEnd(end);
             next != npos && font.Width(text.substr(start, next - start)) <= width;
             next = wordEnd(end)) {
            end = next;
        }
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

}  // namespace

void PixelDeviceContext::Rectangle(const Rect& r) {
    if (!IsEmpty(r)) {
        surface_.Fill({r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, brush_);
        surface_.Fill({r.left, r.top, r.right, r.top + 1}, pen_);
        surface_.Fill({r.left, r.bottom - 1, r.right, r.bottom}, pen_);
        surface_.Fill({r.left, r.top, r.left + 1, r.bottom}, pen_);
        surface_.Fill({r.right - 1, r.top, r.right, r.bottom}, pen_);
    }
}

// One pixel per column of a flat line, one per row of a steep one; the end point is left out.
void PixelDeviceContext::LineTo(int x, int y) {
    const std::int64_t dx = std::int64_t{x} - x_, dy = std::int64_t{y} - y_;
    const std::int64_t steps = std::max(std::abs(dx), std::abs(dy));
    for (std::int64_t i = 0; i < steps; ++i) {
        const auto px = x_ + static_cast<int>(RoundHalfDown(dx * i, steps));
        const auto py = y_ + static_cast<int>(RoundHalfDown(dy * i, steps));
        surface_.Fill({px, py, px + 1, py + 1}, pen_);
    }
    MoveTo(x, y);
}

void PixelDeviceContext::BitBlt(int x, int y, int width, int height, const Picture& picture) {
    if (picture.Clip(width, height)) {
        const Rect area = Intersect(surface_.ClientRect(), {x, y, x + width, y + height});
        surface_.Touch(area);
        for (std::ptrdiff_t row = area.top; row < area.bottom; ++row) {
            const auto from = picture.pixels.begin() + (row - y) * picture.width + (area.left - x);
            std::copy(from, from + area.Width(), surface_.Row(row) + area.left);
        }
    }
}

// A text is one paragraph: none of the game's breaks its own lines.
void PixelDeviceContext::DrawText(std::string_view text, const Rect& r, unsigned flags) {
    surface_.Touch(r);
    const bool wrap = (flags & kDtWordBreak) && !(flags & kDtSingleLine);
    const int cell = font_->Height();
    // Vertical centring is for single lines only, as in GDI.
    const bool vcentre = (flags & kDtSingleLine) && (flags & kDtVCenter);
    int y = vcentre ? r.top + (r.Height() - cell) / 2 : r.top;
    const Rect clip = Intersect(surface_.ClientRect(), r);
    for (std::string_view line : wrap ? Wrap(text, *font_, r.Width()) : std::vector{text}) {
        const int width = font_->Width(line);
        // Centred rounded down from the box's own edge, so a box draws alike wherever it is.
        const int x = flags & kDtCenter
                          ? r.left + static_cast<int>(std::floor((r.Width() - width) / 2.0))
                          : (flags & kDtRight ? r.right - width : r.left);
        if (!transparent_) {
            surface_.Fill(Intersect({x, y, x + width, y + cell}, clip), kWhite);
        }
        DrawLine(line, x, y + font_->Ascent(), clip);
        y += cell;
    }
}

void PixelDeviceContext::DrawLine(std::string_view line, int x, int baseline, const Rect& clip) {
    for (char c : line) {
        const Glyph& g = font_->Find(c);
        for (int i = 0; i < g.width * g.height; ++i) {
            const int px = x + g.left + i % g.width, py = baseline + g.top + i / g.width;
            if (font_->Ink(g, i)) {
                surface_.Fill(Intersect({px, py, px + 1, py + 1}, clip), textColor_);
            }
        }
        x += g.advance;
    }
}

void PixelSurface::Resize(int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    pixels_.assign(static_cast<std::size_t>(width_) * height_, kGrey.Argb());
    dirty_ = ClientRect();
    texts_.clear();
}

std::unique_ptr<DeviceContext> PixelSurface::OpenClientDC() {
    return std::make_unique<PixelDeviceContext>(*this);
}

void PixelSurface::Touch(const Rect& r) {
    const Rect in = Intersect(r, ClientRect());
    const Rect& d = dirty_;
    if (!IsEmpty(in)) {
        dirty_ = IsEmpty(d) ? in
                            : Rect{std::min(d.left, in.left), std::min(d.top, in.top),
                                   std::max(d.right, in.right), std::max(d.bottom, in.bottom)};
    }
}

void PixelSurface::Fill(const Rect& r, Rgb color) {
    const Rect in = Intersect(r, ClientRect());
    Touch(in);
    for (int y = in.top; y < in.bottom; ++y) {
        std::fill(Row(y) + in.left, Row(y) + in.right, color.Argb());
    }
}

void PixelSurface::Describe(const Rect& area, std::string text) {
    ForgetTextsUnder(area);
    const auto before = [](const ScreenText& t, const Rect& a) {
        return std::pair(t.area.top, t.area.left) < std::pair(a.top, a.left);
    };
    texts_.insert(std::lower_bound(texts_.begin(), texts_.end(), area, before),
                  {area, std::move(text)});
}

void PixelSurface::ForgetTextsUnder(const Rect& r) {
    std::erase_if(texts_, [&](const ScreenText& t) { return !IsEmpty(Intersect(t.area, r)); });
}

}  // namespace tessaform
