// The game's fonts, the device context that draws through a QPainter, and the client area's image.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "DeviceContext.h"

namespace tessaform {

// The Qt font standing in for one the game asks for: the face Windows would have
// used (or its metric-compatible Liberation twin), sized so that its cell height
// in pixels comes as close as the face allows to the one asked for, unsmoothed and
// fully hinted so that every glyph lands on whole pixels.
struct ResolvedFont {
    QFont font;
    QFontMetrics metrics;
};

// Resolved once per distinct font for the life of the process.
const ResolvedFont& ResolveFont(const FontSpec& spec);

// Draws through a QPainter by the same rules as the Windows device context the
// game's layout was made for. On the client area's RGB32 image, with no transform
// and no smoothing, every fill, line and copy sets exactly the pixels GDI would; on
// paper the same calls are in the printer's units and text is measured at its
// resolution, so a page lays out alike on any printer.
class PainterDeviceContext : public DeviceContext {
public:
    // The painter may be shared by contexts open at once, and restarted on another
    // device between calls; while it is not active nothing is drawn. Every area
    // drawn on is added to `dirty`, when given, so a window can show just that.
    explicit PainterDeviceContext(std::shared_ptr<QPainter> painter, QRect* dirty = nullptr);

    void SelectPen(Rgb color) override { pen_ = color; }
    void SelectBrush(Rgb color) override { brush_ = color; }
    void SelectFont(const FontSpec& font) override;
    void SetTextColor(Rgb color) override { textColor_ = color; }
    void SetTransparentBackground() override { transparent_ = true; }

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Rectangle(const Rect& r) override;
    void FillRect(const Rect& r, Rgb brush) override;
    void SetPixel(int x, int y, Rgb color) override;
    void BitBlt(int x, int y, int width, int height, const Picture& picture) override;

    // Text is clipped to the rectangle, as DrawText does without DT_NOCLIP.
    void DrawText(std::string_view text, const Rect& r, unsigned flags) override;
    void TextOut(int x, int y, std::string_view text) override;
    int TextWidth(std::string_view text) override;

private:
    QRect Bounds() const;
    void Fill(int left, int top, int right, int bottom, Rgb color);
    void Touch(const QRect& area);

    std::shared_ptr<QPainter> painter_;
    QRect* dirty_;
    Rgb pen_ = kBlack;
    Rgb brush_ = kWhite;
    Rgb textColor_ = kBlack;
    Rgb background_ = kWhite;
    bool transparent_ = false;
    const ResolvedFont* font_;
    QFontMetrics metrics_;  // of font_ on this device
    QImage* image_;         // the device, when it is the screen's image
    int x_ = 0;
    int y_ = 0;
};

// The view's client area held as an image; the window shows it.
class ImageSurface final : public DrawingSurface {
public:
    ImageSurface(int width, int height);

    // Starts over with a grey image of the new size.
    void Resize(int width, int height);
    // Called by ShowNow; the window repaints itself from the image there.
    void SetShowCallback(std::function<void()> callback) { show_ = std::move(callback); }
    const QImage& Image() const { return image_; }
    // The area drawn on since the last call.
    QRect TakeDirty() { return std::exchange(dirty_, QRect()); }

    // The painter on the image, which the contexts open at once share.
    std::shared_ptr<QPainter> Painter();
    std::unique_ptr<DeviceContext> OpenClientDC() override {
        return std::make_unique<PainterDeviceContext>(Painter(), &dirty_);
    }
    Rect ClientRect() const override { return {0, 0, image_.width(), image_.height()}; }
    void ShowNow() override;

private:
    void Begin(QPainter& painter);

    QImage image_;
    QRect dirty_;
    // An image takes one painter at a time, so the contexts open at once share one.
    std::weak_ptr<QPainter> painter_;
    std::function<void()> show_;
};

}  // namespace tessaform
