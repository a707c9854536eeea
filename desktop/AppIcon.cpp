// Turns the built-in icon bitmaps into the pixmaps and the icon Qt shows.
#include "AppIcon.h"

#include <QImage>

#include "Picture.h"
#include "Resources.h"

namespace tessaform {

QPixmap IconPixmap(int id) {
    const std::optional<Picture> picture = DecodeBitmap(FindResource(kIconType, id));
    if (!picture) {
        return {};
    }
    // The picture's words are already laid out as RGB32; copy them before they go.
    const QImage image(reinterpret_cast<const uchar*>(picture->pixels.data()), picture->width,
                       picture->height, static_cast<qsizetype>(picture->width) * 4,
                       QImage::Format_RGB32);
    return QPixmap::fromImage(image.copy());
}

QIcon AppIcon() {
    QIcon icon;
    for (const int id : {kLargeIconId, kSmallIconId}) {
        if (const QPixmap pixmap = IconPixmap(id); !pixmap.isNull()) {
            icon.addPixmap(pixmap);
        }
    }
    return icon;
}

}  // namespace tessaform
