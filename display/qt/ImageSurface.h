#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

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

// Text boxes drawn before. The same text in the same font, colours, background mode,
// flags and box size, drawn over the same pixels, always comes out the same, so a
// redraw copies the pixels kept from last time instead of shaping the text again: the
// clock redraws its box and label twenty times a second.
class TextBoxCache {
public:
    struct Look {
        std::string text;
        const ResolvedFont* font;
        Rgb color;
        Rgb background;
        bool transparent;
        unsigned flags;
        QSize size;
        bool operator==(const Look&) const = default;
    };
    // Puts the kept result in `box` when the box was drawn with this look over the pixels
    // it holds now; false when it never was. `changed` tells whether that drawing changed
    // any pixel: a label drawn over itself does not.
    bool Reuse(const Look& look, QImage& image, const QRect& box, bool& changed);
    // Call before drawing the box, then Keep after it.
    void Remember(const QImage& image, const QRect& box);
    void Keep(Look look, const QImage& image, const QRect& box);

private:
    struct Hash {
        std::size_t operator()(const Look& look) const;
    };
    std::vector<std::uint32_t> before_;
    // Per look, each box as it was before drawing followed by the box after it, when
    // that differs.
    std::unordered_map<Look, std::vector<std::vector<std::uint32_t>>, Hash> drawn_;
    std::size_t kept_ = 0;
};

// Draws straight into the pixels of an RGB32 image by the same rules as the
// Windows device context the game's layout was made for. Text goes through
// QPainter; everything else writes pixels itself so that no transformation,
// smoothing or colour conversion can touch it.
class ImageDeviceContext final : public DeviceContext {
public:
    // The image must outlive the context; any other format is converted to RGB32.
    // Every pixel written is added to `dirty`, when given, so a window can show
    // just what changed. Text boxes are reused from `texts`, when given.
    explicit ImageDeviceContext(QImage& image, QRect* dirty = nullptr,
                                TextBoxCache* texts = nullptr);

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
    void PaintText(std::string_view text, const Rect& r, unsigned flags);

    QImage& image_;
    QRect* dirty_;
    TextBoxCache* texts_;
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
    // The area that changed on screen since the last call: what was drawn there and
    // differs from what the window was given before. The clock redraws the same
    // text twenty times a second; that shows nothing new.
    QRect TakeDirty();

    std::unique_ptr<DeviceContext> OpenClientDC() override;
    Rect ClientRect() const override { return {0, 0, image_.width(), image_.height()}; }
    void ShowNow() override;

private:
    QImage image_;
    QImage shown_;  // the image as the window was last given it
    QRect dirty_;
    TextBoxCache texts_;
    std::function<void()> show_;
};

}  // namespace tessaform
