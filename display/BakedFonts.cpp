// The fonts baked at build time, read back from the bytes of the generated source.
#include "BakedFonts.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <numeric>

namespace tessaform {

// In the generated source: each font's bytes one after the other, and how many each takes.
extern const unsigned char kBakedGlyphs[];
extern const std::size_t kBakedGlyphSizes[std::size(kBakedFonts)];

FontSource& BakedFonts() {
    static FontSource fonts([](const FontSpec& spec) {
        // One not baked comes round to the first, the default.
        const auto baked = std::find(std::begin(kBakedFonts), std::end(kBakedFonts), spec);
        const std::size_t font = (baked - std::begin(kBakedFonts)) % std::ssize(kBakedFonts);
        const auto at = std::accumulate(kBakedGlyphSizes, kBakedGlyphSizes + font, std::size_t{0});
        return GlyphFont({kBakedGlyphs + at, kBakedGlyphs + at + kBakedGlyphSizes[font]});
    });
    return fonts;
}

}  // namespace tessaform
