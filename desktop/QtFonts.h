// The Qt fonts standing in for the game's, and the screen's glyphs rasterized from them once.
#pragma once

#include "Glyphs.h"

class QFont;

namespace tessaform {

// The Qt font standing in for one the game asks for: the face Windows would have used (or its
// metric-compatible Liberation twin), sized so that its cell height in pixels comes as close as
// the face allows to the one asked for, unsmoothed and fully hinted so that every glyph lands on
// whole pixels.
QFont ResolveFont(const FontSpec& spec);

// Each character of a font that ResolveFont picks, drawn alone through Qt as the screen drew
// its text, for the life of the process.
FontSource& DesktopFonts();

}  // namespace tessaform
