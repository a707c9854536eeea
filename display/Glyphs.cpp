// Reading a font's glyphs out of its bytes, and measuring text in it.
#include "Glyphs.h"

#include <utility>

namespace tessaform {

GlyphFont::GlyphFont(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {
    std::size_t at = 0;
    const auto next = [&] { return bytes_.at(at++); };
    const auto signedNext = [&] { return int{static_cast<std::int8_t>(next())}; };
    ascent_ = next();
    height_ = next();
    for (Glyph& g : glyphs_) {
        g.advance = next();
        g.left = signedNext();
        g.top = signedNext();
        g.width = next();
        g.height = next();
        g.bits = at;
        at += (g.width * g.height + 7) / 8;
    }
}

const Glyph& GlyphFont::Find(char c) const {
    static const Glyph none;
    return c < kFirst || c > kLast ? none : glyphs_[c - kFirst];
}

int GlyphFont::Width(std::string_view text) const {
    int width = 0;
    for (char c : text) {
        width += Find(c).advance;
    }
    return width;
}

}  // namespace tessaform
