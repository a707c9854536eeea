// The screen's fonts as glyphs baked at build time, for a front end without Qt's fonts.
#pragma once

#include "Glyphs.h"

namespace tessaform {

// The fonts baked, in the order the baked bytes hold them: the three the screen draws with.
inline const FontSpec kBakedFonts[] = {kDefaultFont, kPanelFont, kBannerFont};

// The baked fonts, read from the source tessaform-glyphs writes, which a program using them
// links; any other font resolves to the default one.
FontSource& BakedFonts();

}  // namespace tessaform
