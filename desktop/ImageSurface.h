// The client area as an RGB32 image, the context that draws into it, and the game's fonts.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
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

// Draws straight into the pixels of an RGB32 image by the same rules as the
// Windows device context the game's layout was made for. Text goes through
// QPainter; everything else writes pixels itself so that no transformation,
// smoothing or colour conversion can touch it.
class ImageDeviceContext final : public DeviceContext {
public:
    // The image must outlive the context and be RGB32. Every pixel written is added
    // to `dirty`, when given, so a window can show just what changed.
    explicit ImageDeviceContext(QImage& image, QRect* dirty = nullptr);

    void SelectPen(Rgb color) override { pen_ = color; }
    void SelectBrush(Rgb color) override { brush_ = color; }
    void SelectFont(const FontSpec& font) override { font_ = &ResolveFont(font); }
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
    void Fill(int left, int top, int right, int bottom, Rgb color);
    void Touch(const QRect& area);

    QImage& image_;
    QRect* dirty_;
    Rgb pen_ = kBlack;
    Rgb brush_ = kWhite;
    Rgb textColor_ = kBlack;
    Rgb background_ = kWhite;
    bool transparent_ = false;
    const ResolvedFont* font_;
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

    std::unique_ptr<DeviceContext> OpenClientDC() override;
    Rect ClientRect() const override { return {0, 0, image_.width(), image_.height()}; }
    void ShowNow() override;

private:
    QImage image_;
    QRect dirty_;
    std::function<void()> show_;
};

}  // namespace tessaform
