// tessaform-icons OUTPUT_DIR
// Draws the game's icon for the desktop's icon theme at the usual sizes, as
// OUTPUT_DIR/<n>x<n>/apps/org.example.Tessaform.png: on magenta, a blue disc holding a
// yellow square, which holds a red triangle, which holds a green cross. The
// proportions follow the 32-pixel icon built into the program.

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <cstdio>

namespace {

constexpr int kSizes[] = {16, 32, 48, 64, 128, 256};

// One design in whole pixels of its own grid; bigger icons scale the 32-pixel one.
struct Design {
    int grid;
    QRectF disc;
    QRect square;
    QPolygonF triangle;
    QRect bar;
    QRect arm;
};

const Design kSmall{16,
                    QRectF(0.5, 0.5, 15, 15),
                    QRect(3, 3, 10, 10),
                    QPolygonF({{7, 4}, {9, 4}, {12, 12}, {4, 12}}),
                    QRect(7, 7, 2, 4),
                    QRect(6, 8, 4, 1)};
const Design kLarge{32,
                    QRectF(0.5, 0.5, 31, 31),
                    QRect(6, 6, 20, 20),
                    QPolygonF({{15, 7}, {17, 7}, {25, 25}, {7, 25}}),
                    QRect(15, 14, 2, 9),
                    QRect(12, 17, 8, 2)};

QImage Draw(int size) {
    const Design& d = size < 32 ? kSmall : kLarge;
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(QColor(255, 0, 255));
    QPainter painter(&image);
    // The two small sizes stay crisp, pixel for pixel; larger ones get smooth edges.
    painter.setRenderHint(QPainter::Antialiasing, size > 32);
    painter.setPen(Qt::NoPen);
    painter.scale(static_cast<double>(size) / d.grid, static_cast<double>(size) / d.grid);
    painter.setBrush(QColor(0, 0, 255));
    painter.drawEllipse(d.disc);
    painter.setBrush(QColor(255, 255, 0));
    painter.drawRect(d.square);
    painter.setBrush(QColor(255, 0, 0));
    painter.drawPolygon(d.triangle);
    painter.setBrush(QColor(0, 255, 0));
    painter.drawRect(d.bar);
    painter.drawRect(d.arm);
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tessaform-icons OUTPUT_DIR\n");
        return 2;
    }
    for (int size : kSizes) {
        const QString dir = QString("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        QDir().mkpath(dir);
        if (!Draw(size).save(dir + "/org.example.Tessaform.png", "PNG")) {
            std::fprintf(stderr, "tessaform-icons: cannot write %s\n", qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
