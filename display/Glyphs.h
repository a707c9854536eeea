// The screen's fonts as pixels, an advance and a monochrome glyph a character, and their source.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>
#include <numeric>
#include <string_view>
#include <utility>
#include <vector>

#include "DeviceContext.h"

namespace tessaform {

// One character: the pen moves on by `advance`; its width x height pixels, row after row, have
// their top-left corner `left` and `top` away from the pen on the baseline (above it when
// negative).
struct Glyph {
    int advance = 0, left = 0, top = 0, width = 0, height = 0;
    std::size_t bits = 0;  // the byte its pixels start at
};

// The printable ASCII of one font, held as the plain bytes a build-time tool writes out and any
// front end reads back: ascent and cell height, then from ' ' to '~' each character's advance,
// left, top (signed), width and height, and its pixels, eight to a byte, the first in the
// highest bit. The screen draws nothing else: every text it shows is printable ASCII.
class GlyphFont {
public:
    static constexpr char kFirst = ' ', kLast = '~';

    explicit GlyphFont(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {
        std::size_t at = 0;
        const auto next = [&] { return bytes_.at(at++); };
        ascent_ = next();
        height_ = next();
        for (Glyph& g : glyphs_) {
            g.advance = next();
            g.left = (next() ^ 0x80) - 0x80;  // signed bytes
            g.top = (next() ^ 0x80) - 0x80;
            g.width = next();
            g.height = next();
            g.bits = at;
            at += (g.width * g.height + 7) / 8;
        }
    }

    int Ascent() const { return ascent_; }
    int Height() const { return height_; }
    // Any other character has no glyph and takes no room.
    const Glyph& Find(char c) const {
        // cppcheck-suppress returnTempReference ; both are lvalues, neither a temporary
        return c < kFirst || c > kLast ? kNone : glyphs_[c - kFirst];
    }
    bool Ink(const Glyph& glyph, int pixel) const {
        return (bytes_[glyph.bits + pixel / 8] >> (7 - pixel % 8)) & 1;
    }
    // The advances added up: no kerning.
    int Width(std::string_view text) const {
        return std::accumulate(text.begin(), text.end(), 0,
                               [this](int width, char c) { return width + Find(c).advance; });
    }
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    static constexpr Glyph kNone{};
    std::vector<std::uint8_t> bytes_;
    int ascent_ = 0, height_ = 0;
    std::array<Glyph, kLast - kFirst + 1> glyphs_{};
};

// Each font made once, the first time it is asked for, and kept for the life of the source.
class FontSource {
public:
    explicit FontSource(std::function<GlyphFont(const FontSpec&)> make) : make_(std::move(make)) {}
    const GlyphFont& Resolve(const FontSpec& spec) {
        const auto made = std::find_if(fonts_.begin(), fonts_.end(),
                                       [&](const auto& font) { return font.first == spec; });
        return (made != fonts_.end() ? *made : fonts_.emplace_back(spec, make_(spec))).second;
    }

private:
    std::function<GlyphFont(const FontSpec&)> make_;
    std::list<std::pair<FontSpec, GlyphFont>> fonts_;
};

}  // namespace tessaform
