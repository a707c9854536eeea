// The client area as plain pixels, and the device context that draws on them by the old rules.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "DeviceContext.h"
#include "Glyphs.h"

namespace tessaform {

// An area of the client area and what it shows, in words.
struct ScreenText {
    Rect area;
    std::string text;
    friend bool operator==(const ScreenText&, const ScreenText&) = default;
};

// The view's client area: 0xffRRGGBB words, row after row, as a QImage of Format_RGB32 holds
// them, so a window can show them without a copy.
class PixelSurface final : public DrawingSurface {
public:
    PixelSurface(int width, int height, FontSource& fonts) : fonts_(fonts) {
        Resize(width, height);
    }

    // Starts over in grey at the new size; contexts still open go on drawing there.
    void Resize(int width, int height);
    // Called by ShowNow, so never an empty one: the window repaints itself from the pixels.
    void SetShowCallback(std::function<void()> callback) { show_ = std::move(callback); }
    const std::uint32_t* Pixels() const { return pixels_.data(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The area drawn on since the last call, so a window can show just that.
    Rect TakeDirty() { return std::exchange(dirty_, Rect{}); }
    // What the client area says in words, in reading order: rows from the top, each from the
    // left.
    const std::vector<ScreenText>& Texts() const { return texts_; }

    std::unique_ptr<DeviceContext> OpenClientDC() override;
    Rect ClientRect() const override { return {0, 0, width_, height_}; }
    void ShowNow() override { show_(); }

private:
    friend class PixelDeviceContext;
    void Touch(const Rect& r);
    void Fill(const Rect& r, Rgb color);
    void Describe(const Rect& area, std::string text);
    void ForgetTextsUnder(const Rect& r);
    std::uint32_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }

    FontSource& fonts_;
    int width_ = 0, height_ = 0;
    std::vector<std::uint32_t> pixels_;
    Rect dirty_;
    std::vector<ScreenText> texts_;
    std::function<void()> show_ = [] {};
};

// Sets exactly the pixels the Windows device context the game's layout was made for would.
// Text is clipped to its rectangle, as DrawText does without DT_NOCLIP.
class PixelDeviceContext : public DeviceContext {
public:
    explicit PixelDeviceContext(PixelSurface& surface)
        : surface_(surface), font_(&surface.fonts_.Resolve(kDefaultFont)) {}

    void SelectPen(Rgb color) override { pen_ = color; }
    void SelectBrush(Rgb color) override { brush_ = color; }
    void SelectFont(const FontSpec& font) override { font_ = &surface_.fonts_.Resolve(font); }
    void SetTextColor(Rgb color) override { textColor_ = color; }
    void SetTransparentBackground() override { transparent_ = true; }

    void MoveTo(int x, int y) override {
        x_ = x;
        y_ = y;
    }
    void LineTo(int x, int y) override;
    void Rectangle(const Rect& r) override;
    void FillRect(const Rect& r, Rgb brush) override {
        surface_.ForgetTextsUnder(r);
        surface_.Fill(r, brush);
    }
    void SetPixel(int x, int y, Rgb color) override { surface_.Fill({x, y, x + 1, y + 1}, color); }
    void BitBlt(int x, int y, int width, int height, const Picture& picture) override;

    void DrawText(std::string_view text, const Rect& r, unsigned flags) override;
    // One line from (x, y), clipped only by the surface.
    void TextOut(int x, int y, std::string_view text) override {
        DrawText(text, {x, y, surface_.width_, y + font_->Height()}, kDtSingleLine);
    }
    void Describe(const Rect& area, std::string text) override {
        surface_.Describe(area, std::move(text));
    }
    const GlyphFont& Font() const { return *font_; }  // the one text is drawn in

private:
    void DrawLine(std::string_view line, int x, int baseline, const Rect& clip);

    PixelSurface& surface_;
    const GlyphFont* font_;
    Rgb pen_ = kBlack, brush_ = kWhite, textColor_ = kBlack;
    bool transparent_ = false;
    int x_ = 0, y_ = 0;
};

}  // namespace tessaform
