// Drawing through a QPainter, for the printed page and its preview.
#include "PainterDeviceContext.h"

#include <QFontMetrics>
#include <QImage>
#include <algorithm>

#include "ImageSurface.h"

namespace tessaform {

namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QColor ToQColor(Rgb color) {
    return QColor(color.r, color.g, color.b);
}

QRect ToQRect(const Rect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}

}  // namespace

PainterDeviceContext::PainterDeviceContext(QPainter& painter)
    : painter_(painter), font_(ResolveFont(kDefaultFont).font) {}

void PainterDeviceContext::SelectFont(const FontSpec& font) {
    // The font is sized in pixels, which on a printer are its device units.
    font_ = ResolveFont(font).font;
}

void PainterDeviceContext::MoveTo(int x, int y) {
    x_ = x;
    y_ = y;
}

void PainterDeviceContext::LineTo(int x, int y) {
    painter_.setPen(QPen(ToQColor(pen_), 0));
    painter_.drawLine(x_, y_, x, y);
    x_ = x;
    y_ = y;
}

void PainterDeviceContext::Rectangle(const Rect& r) {
    if (r.right <= r.left || r.bottom <= r.top) {
        return;
    }
    painter_.fillRect(ToQRect(r), ToQColor(brush_));
    painter_.setPen(QPen(ToQColor(pen_), 0));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(r.left, r.top, r.Width() - 1, r.Height() - 1);
}

void PainterDeviceContext::FillRect(const Rect& r, Rgb brush) {
    if (r.right > r.left && r.bottom > r.top) {
        painter_.fillRect(ToQRect(r), ToQColor(brush));
    }
}

void PainterDeviceContext::SetPixel(int x, int y, Rgb color) {
    painter_.fillRect(x, y, 1, 1, ToQColor(color));
}

void PainterDeviceContext::BitBlt(int x, int y, int width, int height, const Picture& picture) {
    if (!picture.Clip(width, height)) {
        return;
    }
    const QImage image(reinterpret_cast<const uchar*>(picture.pixels.data()), picture.width,
                       picture.height, static_cast<qsizetype>(picture.width) * 4,
                       QImage::Format_RGB32);
    painter_.drawImage(QPoint(x, y), image, QRect(0, 0, width, height));
}

int PainterDeviceContext::TextWidth(std::string_view text) {
    return QFontMetrics(font_, painter_.device()).horizontalAdvance(ToQString(text));
}

void PainterDeviceContext::TextOut(int x, int y, std::string_view text) {
    const QString line = ToQString(text);
    const QFontMetrics metrics(font_, painter_.device());
    if (!transparent_) {
        painter_.fillRect(x, y, metrics.horizontalAdvance(line), metrics.height(),
                          ToQColor(background_));
    }
    painter_.setFont(font_);
    painter_.setPen(ToQColor(textColor_));
    painter_.drawText(QPoint(x, y + metrics.ascent()), line);
}

void PainterDeviceContext::DrawText(std::string_view text, const Rect& r, unsigned flags) {
    if (r.right <= r.left || r.bottom <= r.top) {
        return;
    }
    int align = Qt::AlignLeft;
    if (flags & kDtCenter) {
        align = Qt::AlignHCenter;
    } else if (flags & kDtRight) {
        align = Qt::AlignRight;
    }
    if (flags & kDtSingleLine) {
        align |= Qt::TextSingleLine | ((flags & kDtVCenter) ? Qt::AlignVCenter : Qt::AlignTop);
    } else {
        align |= Qt::AlignTop | ((flags & kDtWordBreak) ? Qt::TextWordWrap : 0);
    }
    painter_.save();
    painter_.setClipRect(ToQRect(r));
    painter_.setFont(font_);
    const QString all = ToQString(text);
    if (!transparent_) {
        painter_.fillRect(painter_.boundingRect(ToQRect(r), align, all), ToQColor(background_));
    }
    painter_.setPen(ToQColor(textColor_));
    painter_.drawText(ToQRect(r), align, all);
    painter_.restore();
}

}  // namespace tessaform
