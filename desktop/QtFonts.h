// The screen's fonts as Qt draws them, each glyph rasterized once.
#pragma once

#include "Glyphs.h"

namespace tessaform {

// Each character of a font that ResolveFont picks, drawn alone through Qt as the screen drew
// its text, for the life of the process.
FontSource& DesktopFonts();

}  // namespace tessaform
