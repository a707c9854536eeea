// The screen's device context driven by arbitrary bytes: each operation and
// its coordinates come from the input, so rectangles, lines and copies land
// anywhere, far outside the image too, and texts are any bytes. Nothing may
// be written outside the image, and every drawing call must return.
#include <QGuiApplication>
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "ImageSurface.h"

namespace {

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Empty() const { return at_ >= size_; }
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    int Coordinate() {
        // Mostly near the image, now and then a million pixels away: a line costs a
        // step per pixel of its length, so farther would only measure patience.
        const std::uint8_t kind = Byte();
        const std::uint8_t b0 = Byte();
        const std::uint8_t b1 = Byte();
        const int low = static_cast<std::int16_t>(b0 | (b1 << 8));
        if (kind % 8 == 0) {
            const std::uint8_t b2 = Byte();
            return (low * 16 + b2 % 16) * (kind % 16 == 0 ? -1 : 1) / 2;
        }
        return low % 200;
    }
    std::span<const std::uint8_t> Bytes(std::size_t n) {
        n = std::min(n, size_ - std::min(at_, size_));
        const std::span<const std::uint8_t> out(data_ + at_, n);
        at_ += n;
        return out;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

tessaform::Rgb Colour(Reader& in) {
    return {in.Byte(), in.Byte(), in.Byte()};
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaform;
    Reader in(data, size);
    const int width = 1 + in.Byte() % 64;
    const int height = 1 + in.Byte() % 48;
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(0xff808080);
    ImageDeviceContext dc(image);
    static const FontSpec kFonts[] = {kDefaultFont, kPanelFont, kBannerFont,
                                      FontSpec{"Arial Black", -12, 900, false}};
    for (int op = 0; op < 64 && !in.Empty(); ++op) {
        switch (in.Byte() % 12) {
            case 0:
                dc.SelectPen(Colour(in));
                break;
            case 1:
                dc.SelectBrush(Colour(in));
                break;
            case 2:
                dc.MoveTo(in.Coordinate(), in.Coordinate());
                break;
            case 3:
                dc.LineTo(in.Coordinate(), in.Coordinate());
                break;
            case 4:
                dc.Rectangle({in.Coordinate(), in.Coordinate(), in.Coordinate(), in.Coordinate()});
                break;
            case 5:
                dc.FillRect({in.Coordinate(), in.Coordinate(), in.Coordinate(), in.Coordinate()},
                            Colour(in));
                break;
            case 6:
                dc.SetPixel(in.Coordinate(), in.Coordinate(), Colour(in));
                break;
            case 7: {
                const int x = in.Coordinate();
                const int y = in.Coordinate();
                const int w = in.Coordinate();
                const int h = in.Coordinate();
                const std::size_t length = std::size_t{in.Byte()} * 8;
                if (const auto picture = DecodeBitmap(in.Bytes(length))) {
                    dc.BitBlt(x, y, w, h, *picture);
                }
                break;
            }
            case 8: {
                // A picture that claims more pixels than it holds must not be read past its end.
                Picture short_{in.Byte() % 16, in.Byte() % 16, {}};
                short_.pixels.resize(in.Byte() % 64, 0xff00ff00u);
                dc.BitBlt(in.Coordinate(), in.Coordinate(), in.Coordinate(), in.Coordinate(),
                          short_);
                break;
            }
            case 9:
                dc.SelectFont(kFonts[in.Byte() % 4]);
                break;
            case 10: {
                const Rect r{in.Coordinate(), in.Coordinate(), in.Coordinate(), in.Coordinate()};
                const unsigned flags = in.Byte();
                const auto text = in.Bytes(in.Byte() % 48);
                dc.DrawText(
                    std::string_view(reinterpret_cast<const char*>(text.data()), text.size()), r,
                    flags);
                break;
            }
            default: {
                const int x = in.Coordinate();
                const int y = in.Coordinate();
                const auto text = in.Bytes(in.Byte() % 16);
                const std::string_view s(reinterpret_cast<const char*>(text.data()), text.size());
                dc.TextOut(x, y, s);
                dc.TextWidth(s);
                break;
            }
        }
    }
    if (image.width() != width || image.height() != height ||
        image.format() != QImage::Format_RGB32) {
        std::abort();
    }
    return 0;
}
