// Drawing through a QPainter by the old pixel rules, the client area's image, and the fonts
// standing in for the old ones.
#include "ImageSurface.h"

#include <QPainter>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

namespace tessaform {

namespace {

// A font of height 0 gets the usual size. The old system font's cell was 16; Liberation
// Sans Bold is wider than it was, and at 15 every label and number fits its box.
constexpr int kUsualCellHeight = 15;

QFont BaseFont(const FontSpec& spec) {
    QStringList families;
    int weight = spec.weight;
    bool fixed = spec.fixedPitch;
    if (spec.family.empty()) {
        // The system font of the old screens was a bold sans serif.
        families = {"Arial", "Liberation Sans"};
        weight = QFont::Bold;
    } else if (spec.family == "Courier New") {
        families = {"Courier New", "Liberation Mono"};
        fixed = true;
    } else if (spec.family == "Arial Bold") {
        families = {"Arial", "Liberation Sans"};
        weight = std::max(weight, int{QFont::Bold});
    } else if (spec.family == "Arial Black") {
        // No Black face in Liberation; the heaviest it has will do.
        families = {"Arial", "Liberation Sans"};
        weight = QFont::Black;
    } else {
        families = {QString::fromStdString(spec.family)};
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

// The cell grows with the pixel size, so the best size sits where it first reaches
// the height asked for, or just below.
QFont SizedFont(const FontSpec& spec) {
    QFont font = BaseFont(spec);
    if (spec.height < 0) {
        // A negative height is the em height, as with CreateFont.
        font.setPixelSize(-spec.height);
        return font;
    }
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

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QColor ToQColor(Rgb color) {
    return QColor(color.r, color.g, color.b);
}

// Nearest integer to num / den (den > 0), halves going to the smaller one: where a
// line runs exactly between two pixels, GDI lights the upper or the left one.
std::int64_t RoundHalfDown(std::int64_t num, std::int64_t den) {
    const std::int64_t a = 2 * num - den;
    const std::int64_t b = 2 * den;
    return a >= 0 ? (a + b - 1) / b : -((-a) / b);
}

// Breaks a paragraph between words so each line fits the width; a word wider than
// that stands alone on its line. The blanks at a break are dropped.
void WrapParagraph(const QString& text, const QFontMetrics& metrics, int width,
                   std::vector<QString>& lines) {
    const qsizetype n = text.size();
    qsizetype pos = 0;
    do {
        const qsizetype start = pos;
        qsizetype end = start;
        for (;;) {
            qsizetype wordStart = end;
            while (wordStart < n && text[wordStart] == u' ') {
                ++wordStart;
            }
            qsizetype wordEnd = wordStart;
            while (wordEnd < n && text[wordEnd] != u' ') {
                ++wordEnd;
            }
            if (wordEnd == wordStart) {
                break;
            }
            if (end > start &&
                metrics.horizontalAdvance(text.mid(start, wordEnd - start)) > width) {
                break;
            }
            end = wordEnd;
        }
        if (end == start) {
            // Nothing but blanks left.
            lines.push_back(text.mid(start));
            return;
        }
        lines.push_back(text.mid(start, end - start));
        pos = end;
        while (pos < n && text[pos] == u' ') {
            ++pos;
        }
    } while (pos < n);
}

}  // namespace

const ResolvedFont& ResolveFont(const FontSpec& spec) {
    using Key = std::tuple<std::string, int, int, bool>;
    static std::map<Key, ResolvedFont> fonts;

    const Key key{spec.family, spec.height, spec.weight, spec.fixedPitch};
    auto it = fonts.find(key);
    if (it == fonts.end()) {
        QFont font = SizedFont(spec);
        it = fonts.emplace(key, ResolvedFont{font, QFontMetrics(font)}).first;
    }
    return it->second;
}

PainterDeviceContext::PainterDeviceContext(std::shared_ptr<QPainter> painter, QRect* dirty)
    : painter_(std::move(painter)),
      dirty_(dirty),
      font_(&ResolveFont(kDefaultFont)),
      metrics_(font_->metrics),
      image_(painter_->isActive() && painter_->device()->devType() == QInternal::Image
                 ? static_cast<QImage*>(painter_->device())
                 : nullptr) {
    PainterDeviceContext::SelectFont(kDefaultFont);  // no subclass is built yet
}

void PainterDeviceContext::SelectFont(const FontSpec& font) {
    font_ = &ResolveFont(font);
    // The screen keeps the metrics resolved once per font; a printer has its own resolution.
    const QPaintDevice* device = painter_->isActive() ? painter_->device() : nullptr;
    metrics_ = device == nullptr || device->logicalDpiY() == font_->metrics.fontDpi()
                   ? font_->metrics
                   : QFontMetrics(font_->font, device);
}

QRect PainterDeviceContext::Bounds() const {
    const QPaintDevice* device = painter_->device();
    return painter_->isActive() ? QRect(0, 0, device->width(), device->height()) : QRect();
}

void PainterDeviceContext::Touch(const QRect& area) {
    if (dirty_ != nullptr) {
        *dirty_ |= area.intersected(Bounds());
    }
}

void PainterDeviceContext::Fill(int left, int top, int right, int bottom, Rgb color) {
    const QRect bounds = Bounds();
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, bounds.width());
    bottom = std::min(bottom, bounds.height());
    if (left >= right || top >= bottom) {
        return;
    }
    const QRect area(left, top, right - left, bottom - top);
    if (dirty_ != nullptr) {
        *dirty_ |= area;
    }
    painter_->fillRect(area, ToQColor(color));
}

void PainterDeviceContext::SetPixel(int x, int y, Rgb color) {
    // The dissolve sets pixels by the hundred thousand, each too few for the painter's fill.
    if (image_ == nullptr || !image_->rect().contains(x, y)) {
        Fill(x, y, x + 1, y + 1, color);
        return;
    }
    reinterpret_cast<std::uint32_t*>(image_->scanLine(y))[x] = color.Argb();
    Touch(QRect(x, y, 1, 1));
}

void PainterDeviceContext::FillRect(const Rect& r, Rgb brush) {
    Fill(r.left, r.top, r.right, r.bottom, brush);
}

void PainterDeviceContext::Rectangle(const Rect& r) {
    if (r.right <= r.left || r.bottom <= r.top) {
        return;
    }
    Fill(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1, brush_);
    Fill(r.left, r.top, r.right, r.top + 1, pen_);
    Fill(r.left, r.bottom - 1, r.right, r.bottom, pen_);
    Fill(r.left, r.top, r.left + 1, r.bottom, pen_);
    Fill(r.right - 1, r.top, r.right, r.bottom, pen_);
}

void PainterDeviceContext::MoveTo(int x, int y) {
    x_ = x;
    y_ = y;
}

void PainterDeviceContext::LineTo(int x, int y) {
    const std::int64_t dx = std::int64_t{x} - x_;
    const std::int64_t dy = std::int64_t{y} - y_;
    const std::int64_t steps = std::max(std::abs(dx), std::abs(dy));
    if (steps > 0) {
        Touch(QRect(QPoint(std::min(x, x_), std::min(y, y_)),
                    QPoint(std::max(x, x_), std::max(y, y_))));
    }
    // One pixel per column of a flat line, one per row of a steep one; the step that
    // would reach the end point is never taken. Each straight run is filled at once.
    const bool flat = std::abs(dx) >= std::abs(dy);
    const std::int64_t along = flat ? dx : dy;
    const std::int64_t across = flat ? dy : dx;
    std::int64_t runStart = 0;
    for (std::int64_t i = 1; i <= steps; ++i) {
        const std::int64_t offset = RoundHalfDown(across * runStart, steps);
        if (i < steps && RoundHalfDown(across * i, steps) == offset) {
            continue;
        }
        const auto first = static_cast<int>(along > 0 ? runStart : 1 - i);
        const auto last = static_cast<int>(along > 0 ? i : 1 - runStart);
        const auto side = static_cast<int>(offset);
        if (flat) {
            Fill(x_ + first, y_ + side, x_ + last, y_ + side + 1, pen_);
        } else {
            Fill(x_ + side, y_ + first, x_ + side + 1, y_ + last, pen_);
        }
        runStart = i;
    }
    x_ = x;
    y_ = y;
}

void PainterDeviceContext::BitBlt(int x, int y, int width, int height, const Picture& picture) {
    if (!picture.Clip(width, height) || !painter_->isActive()) {
        return;
    }
    Touch(QRect(x, y, width, height));
    const QImage image(reinterpret_cast<const uchar*>(picture.pixels.data()), picture.width,
                       picture.height, static_cast<qsizetype>(picture.width) * 4,
                       QImage::Format_RGB32);
    painter_->drawImage(QPoint(x, y), image, QRect(0, 0, width, height));
}

int PainterDeviceContext::TextWidth(std::string_view text) {
    return metrics_.horizontalAdvance(ToQString(text));
}

// One line from (x, y), clipped only by the device.
void PainterDeviceContext::TextOut(int x, int y, std::string_view text) {
    DrawText(text, {x, y, Bounds().width(), y + metrics_.height()}, kDtSingleLine);
}

void PainterDeviceContext::DrawText(std::string_view text, const Rect& r, unsigned flags) {
    if (!painter_->isActive() || r.right <= r.left || r.bottom <= r.top) {
        return;
    }
    Touch(QRect(r.left, r.top, r.Width(), r.Height()));
    const QString all = ToQString(text);

    std::vector<QString> lines;
    if (flags & kDtSingleLine) {
        lines.push_back(all);
    } else {
        QString plain = all;
        plain.remove(u'\r');
        for (const QString& paragraph : plain.split(u'\n')) {
            if (flags & kDtWordBreak) {
                WrapParagraph(paragraph, metrics_, r.Width(), lines);
            } else {
                lines.push_back(paragraph);
            }
        }
    }

    const int cell = metrics_.height();
    int y = r.top;
    // Vertical centring is for single lines only, as in GDI.
    if ((flags & kDtSingleLine) && (flags & kDtVCenter)) {
        y = r.top + (r.Height() - cell) / 2;
    }

    // The painter is shared: what is set here must not outlive the call.
    painter_->save();
    painter_->setClipRect(QRect(r.left, r.top, r.Width(), r.Height()));
    painter_->setFont(font_->font);
    painter_->setPen(ToQColor(textColor_));
    for (const QString& line : lines) {
        const int width = metrics_.horizontalAdvance(line);
        int x = r.left;
        if (flags & kDtCenter) {
            // Rounded down from the box's own edge, so a box draws alike wherever it is.
            x = r.left + static_cast<int>(std::floor((r.Width() - width) / 2.0));
        } else if (flags & kDtRight) {
            x = r.right - width;
        }
        if (!transparent_) {
            painter_->fillRect(x, y, width, cell, ToQColor(background_));
        }
        painter_->drawText(QPoint(x, y + metrics_.ascent()), line);
        y += cell;
        if (y >= r.bottom) {
            break;
        }
    }
    painter_->restore();
}

ImageSurface::ImageSurface(int width, int height) {
    Resize(width, height);
}

void ImageSurface::Resize(int width, int height) {
    // Contexts still open go on drawing into the new image.
    const std::shared_ptr<QPainter> painter = painter_.lock();
    if (painter != nullptr && painter->isActive()) {
        painter->end();
    }
    image_ = QImage(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
    image_.fill(QColor(kGrey.r, kGrey.g, kGrey.b));
    dirty_ = image_.rect();
    if (painter != nullptr) {
        Begin(*painter);
    }
}

void ImageSurface::Begin(QPainter& painter) {
    // An empty image takes no painter; its contexts draw nothing.
    if (!image_.isNull()) {
        painter.begin(&image_);
    }
}

std::shared_ptr<QPainter> ImageSurface::Painter() {
    std::shared_ptr<QPainter> painter = painter_.lock();
    if (painter == nullptr) {
        painter = std::make_shared<QPainter>();
        Begin(*painter);
        painter_ = painter;
    }
    return painter;
}

void ImageSurface::ShowNow() {
    if (show_) {
        show_();
    }
}

}  // namespace tessaform
