// The screen's fonts as pixels, an advance and a monochrome glyph a character, and their source.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "DeviceContext.h"

namespace tessaform {

// One character: the pen moves on by `advance`; its width x height pixels, row after row, have
// their top-left corner `left` and `top` away from the pen on the baseline (above it when
// negative).
struct Glyph {
    int advance = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::size_t bits = 0;  // the byte its pixels start at
};

// The printable ASCII of one font, held as the plain bytes a build-time tool writes out and any
// front end reads back: ascent and cell height, then from ' ' to '~' each character's advance,
// left, top (signed), width and height, and its pixels, eight to a byte, the first in the
// highest bit. The screen draws nothing else: every text it shows is printable ASCII.
class GlyphFont {
public:
    static constexpr char kFirst = ' ';
    static constexpr char kLast = '~';

    explicit GlyphFont(std::vector<std::uint8_t> bytes);

    int Ascent() const { return ascent_; }
    int Height() const { return height_; }
    // Any other character has no glyph and takes no room.
    const Glyph& Find(char c) const;
    bool Ink(const Glyph& glyph, int pixel) const {
        return (bytes_[glyph.bits + pixel / 8] >> (7 - pixel % 8)) & 1;
    }
    // The advances added up: no kerning.
    int Width(std::string_view text) const;
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
    int ascent_ = 0;
    int height_ = 0;
    std::array<Glyph, kLast - kFirst + 1> glyphs_{};
};

class FontSource {
public:
    virtual ~FontSource() = default;
    virtual const GlyphFont& Resolve(const FontSpec& spec) = 0;
};

// The fonts the screen draws with, the ones worth baking.
inline const FontSpec kScreenFonts[] = {kDefaultFont, kPanelFont, kBannerFont};

}  // namespace tessaform
