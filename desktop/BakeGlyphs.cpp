// tessaform-glyphs OUTPUT.cpp: writes the screen's fonts, as Qt rasterizes them, as C++ bytes.
#include <QGuiApplication>
#include <fstream>
#include <sstream>

#include "BakedFonts.h"
#include "QtFonts.h"

int main(int argc, char** argv) {
    const QGuiApplication app(argc, argv);
    // Nothing is written until every glyph is drawn, so a failed run leaves no file behind.
    std::ostringstream source;
    source << "// The screen's fonts, baked by tessaform-glyphs: see display/Glyphs.h.\n"
              "#include <cstddef>\nnamespace tessaform {\n"
              "extern const unsigned char kBakedGlyphs[] = {";
    std::string sizes;
    for (const tessaform::FontSpec& spec : tessaform::kBakedFonts) {
        const std::vector<std::uint8_t>& bytes = tessaform::DesktopFonts().Resolve(spec).Bytes();
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            source << (i % 24 == 0 ? "\n" : "") << int{bytes[i]} << ',';
        }
        sizes += std::to_string(bytes.size()) + ',';
    }
    source << "};\nextern const std::size_t kBakedGlyphSizes[] = {" << sizes << "};\n}\n";
    std::ofstream out(argc == 2 ? argv[1] : "");
    return (out << source.str()).flush() ? 0 : 1;
}
