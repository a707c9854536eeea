// Pixel-exact drawing into the client area's image, and the fonts standing in for the old ones.
#include "ImageSurface.h"

#include <QPainter>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
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

ImageDeviceContext::ImageDeviceContext(QImage& image, QRect* dirty)
    : image_(image), dirty_(dirty), font_(&ResolveFont(kDefaultFont)) {}

void ImageDeviceContext::Touch(const QRect& area) {
    if (dirty_ != nullptr) {
        *dirty_ |= area.intersected(image_.rect());
    }
}

void ImageDeviceContext::Fill(int left, int top, int right, int bottom, Rgb color) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, image_.width());
    bottom = std::min(bottom, image_.height());
    if (left >= right || top >= bottom) {
        return;
    }
    Touch(QRect(left, top, right - left, bottom - top));
    const std::uint32_t value = color.Argb();
    uchar* row = image_.bits() + static_cast<std::ptrdiff_t>(top) * image_.bytesPerLine();
    for (int y = top; y < bottom; ++y, row += image_.bytesPerLine()) {
        std::fill_n(reinterpret_cast<std::uint32_t*>(row) + left, right - left, value);
    }
}

void ImageDeviceContext::SetPixel(int x, int y, Rgb color) {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) {
        return;
    }
    reinterpret_cast<std::uint32_t*>(image_.scanLine(y))[x] = color.Argb();
    Touch(QRect(x, y, 1, 1));
}

void ImageDeviceContext::FillRect(const Rect& r, Rgb brush) {
    Fill(r.left, r.top, r.right, r.bottom, brush);
}

void ImageDeviceContext::Rectangle(const Rect& r) {
    if (r.right <= r.left || r.bottom <= r.top) {
        return;
    }
    Fill(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1, brush_);
    Fill(r.left, r.top, r.right, r.top + 1, pen_);
    Fill(r.left, r.bottom - 1, r.right, r.bottom, pen_);
    Fill(r.left, r.top, r.left + 1, r.bottom, pen_);
    Fill(r.right - 1, r.top, r.right, r.bottom, pen_);
}

void ImageDeviceContext::MoveTo(int x, int y) {
    x_ = x;
    y_ = y;
}

void ImageDeviceContext::LineTo(int x, int y) {
    const std::int64_t dx = std::int64_t{x} - x_;
    const std::int64_t dy = std::int64_t{y} - y_;
    const std::int64_t steps = std::max(std::abs(dx), std::abs(dy));
    if (steps > 0) {
        Touch(QRect(QPoint(std::min(x, x_), std::min(y, y_)),
                    QPoint(std::max(x, x_), std::max(y, y_))));
    }
    // One pixel per column of a flat line, one per row of a steep one; the step
    // that would reach the end point is never taken.
    for (std::int64_t i = 0; i < steps; ++i) {
        std::int64_t px = 0;
        std::int64_t py = 0;
        if (std::abs(dx) >= std::abs(dy)) {
            px = x_ + (dx > 0 ? i : -i);
            py = y_ + RoundHalfDown(dy * i, steps);
        } else {
            py = y_ + (dy > 0 ? i : -i);
            px = x_ + RoundHalfDown(dx * i, steps);
        }
        if (px >= 0 && py >= 0 && px < image_.width() && py < image_.height()) {
            reinterpret_cast<std::uint32_t*>(image_.scanLine(static_cast<int>(py)))[px] =
                pen_.Argb();
        }
    }
    x_ = x;
    y_ = y;
}

void ImageDeviceContext::BitBlt(int x, int y, int width, int height, const Picture& picture) {
    if (!picture.Clip(width, height)) {
        return;
    }
    const int firstColumn = std::max(0, -x);
    const int lastColumn = std::min(width, image_.width() - x);
    const int firstRow = std::max(0, -y);
    const int lastRow = std::min(height, image_.height() - y);
    if (firstColumn >= lastColumn || firstRow >= lastRow) {
        return;
    }
    Touch(QRect(x + firstColumn, y + firstRow, lastColumn - firstColumn, lastRow - firstRow));
    const std::size_t bytes = static_cast<std::size_t>(lastColumn - firstColumn) * 4;
    for (int row = firstRow; row < lastRow; ++row) {
        auto* target = reinterpret_cast<std::uint32_t*>(image_.scanLine(y + row)) + x;
        const std::uint32_t* source =
            picture.pixels.data() + static_cast<std::size_t>(row) * picture.width;
        std::memcpy(target + firstColumn, source + firstColumn, bytes);
    }
}

int ImageDeviceContext::TextWidth(std::string_view text) {
    return font_->metrics.horizontalAdvance(ToQString(text));
}

// One line from (x, y), clipped only by the image.
void ImageDeviceContext::TextOut(int x, int y, std::string_view text) {
    DrawText(text, {x, y, image_.width(), y + font_->metrics.height()}, kDtSingleLine);
}

void ImageDeviceContext::DrawText(std::string_view text, const Rect& r, unsigned flags) {
    if (image_.isNull() || r.right <= r.left || r.bottom <= r.top) {
        return;
    }
    Touch(QRect(r.left, r.top, r.Width(), r.Height()));
    const QFontMetrics& metrics = font_->metrics;
    const QString all = ToQString(text);

    std::vector<QString> lines;
    if (flags & kDtSingleLine) {
        lines.push_back(all);
    } else {
        QString plain = all;
        plain.remove(u'\r');
        for (const QString& paragraph : plain.split(u'\n')) {
            if (flags & kDtWordBreak) {
                WrapParagraph(paragraph, metrics, r.Width(), lines);
            } else {
                lines.push_back(paragraph);
            }
        }
    }

    const int cell = metrics.height();
    int y = r.top;
    // Vertical centring is for single lines only, as in GDI.
    if ((flags & kDtSingleLine) && (flags & kDtVCenter)) {
        y = r.top + (r.Height() - cell) / 2;
    }

    QPainter painter(&image_);
    painter.setClipRect(QRect(r.left, r.top, r.Width(), r.Height()));
    painter.setFont(font_->font);
    painter.setPen(ToQColor(textColor_));
    for (const QString& line : lines) {
        const int width = metrics.horizontalAdvance(line);
        int x = r.left;
        if (flags & kDtCenter) {
            // Rounded down from the box's own edge, so a box draws alike wherever it is.
            x = r.left + static_cast<int>(std::floor((r.Width() - width) / 2.0));
        } else if (flags & kDtRight) {
            x = r.right - width;
        }
        if (!transparent_) {
            painter.fillRect(x, y, width, cell, ToQColor(background_));
        }
        painter.drawText(QPoint(x, y + metrics.ascent()), line);
        y += cell;
        if (y >= r.bottom) {
            break;
        }
    }
}

ImageSurface::ImageSurface(int width, int height) {
    Resize(width, height);
}

void ImageSurface::Resize(int width, int height) {
    image_ = QImage(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
    image_.fill(QColor(kGrey.r, kGrey.g, kGrey.b));
    dirty_ = image_.rect();
}

std::unique_ptr<DeviceContext> ImageSurface::OpenClientDC() {
    return std::make_unique<ImageDeviceContext>(image_, &dirty_);
}

void ImageSurface::ShowNow() {
    if (show_) {
        show_();
    }
}

}  // namespace tessaform
