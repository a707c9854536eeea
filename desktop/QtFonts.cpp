// Rasterizing the Qt fonts that stand in for the game's, one character at a time.
#include "QtFonts.h"

#include <QImage>
#include <QPainter>
#include <map>

#include "ImageSurface.h"

namespace tessaform {

namespace {

// Each character drawn alone in black on white, with room all round; what turns black is kept.
GlyphFont Rasterize(const QFont& font) {
    const QFontMetrics metrics(font);
    const int room = metrics.height();
    std::vector<std::uint8_t> bytes = {static_cast<std::uint8_t>(metrics.ascent()),
                                       static_cast<std::uint8_t>(metrics.height())};
    for (char c = GlyphFont::kFirst; c <= GlyphFont::kLast; ++c) {
        const int advance = metrics.horizontalAdvance(QChar(c));
        QImage image(advance + 2 * room, 3 * room, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(room, room + metrics.ascent(), QString(QChar(c)));
        painter.end();
        QRect ink(room, room + metrics.ascent(), 0, 0);  // none, for the blank
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                ink |= image.pixel(x, y) == qRgb(0, 0, 0) ? QRect(x, y, 1, 1) : QRect();
            }
        }
        for (int value : {advance, ink.left() - room, ink.top() - room - metrics.ascent(),
                          ink.width(), ink.height()}) {
            bytes.push_back(static_cast<std::uint8_t>(value));
        }
        const std::size_t bits = bytes.size();
        bytes.resize(bits + (ink.width() * ink.height() + 7) / 8);
        for (int i = 0; i < ink.width() * ink.height(); ++i) {
            const QPoint at = ink.topLeft() + QPoint(i % ink.width(), i / ink.width());
            bytes[bits + i / 8] |= (image.pixel(at) == qRgb(0, 0, 0)) << (7 - i % 8);
        }
    }
    return GlyphFont(std::move(bytes));
}

class QtFonts final : public FontSource {
public:
    const GlyphFont& Resolve(const FontSpec& spec) override {
        const QFont& font = ResolveFont(spec).font;
        auto it = fonts_.find(&font);
        if (it == fonts_.end()) {
            it = fonts_.emplace(&font, Rasterize(font)).first;
        }
        return it->second;
    }

private:
    std::map<const QFont*, GlyphFont> fonts_;
};

}  // namespace

FontSource& DesktopFonts() {
    static QtFonts fonts;
    return fonts;
}

}  // namespace tessaform
