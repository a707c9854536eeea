// The Qt fonts standing in for the game's, and their glyphs rasterized one character at a time.
#include "QtFonts.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <list>
#include <utility>

namespace tessaform {

namespace {

// A font of height 0 gets the usual size. The old system font's cell was 16; Liberation
// Sans Bold is wider than it was, and at 15 every label and number fits its box.
constexpr int kUsualCellHeight = 15;

// Every font but Courier New is Arial or its Liberation twin.
QFont BaseFont(const FontSpec& spec) {
    QStringList families = {"Arial", "Liberation Sans"};
    int weight = spec.weight;
    bool fixed = spec.fixedPitch;
    if (spec.family.empty()) {
        // The system font of the old screens was a bold sans serif.
        weight = QFont::Bold;
    } else if (spec.family == "Courier New") {
        families = {"Courier New", "Liberation Mono"};
        fixed = true;
    } else if (spec.family == "Arial Bold") {
        weight = std::max(weight, int{QFont::Bold});
    } else if (spec.family == "Arial Black") {
        // No Black face in Liberation; the heaviest it has will do.
        weight = QFont::Black;
    }

    QFont font;
    font.setFamilies(families);
    font.setStyleHint(fixed ? QFont::TypeWriter : QFont::SansSerif,
                      QFont::StyleStrategy(QFont::NoAntialias));
    font.setFixedPitch(fixed);
    font.setWeight(QFont::Weight(std::clamp(weight, 1, 1000)));
    // Full hinting rounds every advance to whole pixels, so a text is exactly as
    // wide as the sum of its characters, as in GDI; and GDI does not kern.
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setKerning(false);
    return font;
}

int CellHeightAt(QFont font, int pixelSize) {
    font.setPixelSize(pixelSize);
    return QFontMetrics(font).height();
}

// Each character drawn alone in black on white, a pixel of room all round where the font says
// it inks; what turns black is kept.
GlyphFont Rasterize(const QFont& font) {
    const QFontMetrics metrics(font);
    std::vector<std::uint8_t> bytes = {static_cast<std::uint8_t>(metrics.ascent()),
                                       static_cast<std::uint8_t>(metrics.height())};
    for (char c = GlyphFont::kFirst; c <= GlyphFont::kLast; ++c) {
        const QRect box = metrics.boundingRect(QChar(c)).adjusted(-1, -1, 1, 1);
        QImage image(box.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(font);
        painter.drawText(-box.left(), -box.top(), QString(QChar(c)));
        painter.end();
        for (int value : {metrics.horizontalAdvance(QChar(c)), box.left(), box.top(), box.width(),
                          box.height()}) {
            bytes.push_back(static_cast<std::uint8_t>(value));
        }
        const std::size_t bits = bytes.size();
        bytes.resize(bits + (box.width() * box.height() + 7) / 8);
        for (int i = 0; i < box.width() * box.height(); ++i) {
            const bool ink = image.pixel(i % box.width(), i / box.width()) == qRgb(0, 0, 0);
            bytes[bits + i / 8] |= ink << (7 - i % 8);
        }
    }
    return GlyphFont(std::move(bytes));
}

}  // namespace

// The cell grows with the pixel size, so the best size sits where it first reaches
// the height asked for, or just below.
QFont ResolveFont(const FontSpec& spec) {
    QFont font = BaseFont(spec);
    const int want = spec.height == 0 ? kUsualCellHeight : spec.height;
    int low = 1;
    int high = 2 * want;
    while (low < high) {
        const int mid = (low + high) / 2;
        if (CellHeightAt(font, mid) >= want) {
            high = mid;
        } else {
            low = mid + 1;
        }
    }
    int best = low;
    if (best > 1 && want - CellHeightAt(font, best - 1) <= CellHeightAt(font, best) - want) {
        best -= 1;
    }
    font.setPixelSize(best);
    return font;
}

FontSource& DesktopFonts() {
    static FontSource fonts([](const FontSpec& spec) { return Rasterize(ResolveFont(spec)); });
    return fonts;
}

}  // namespace tessaform
