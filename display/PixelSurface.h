// The client area as plain pixels, and the device context that draws on them by the old rules.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "DeviceContext.h"
#include "Glyphs.h"

namespace tessaform {

class PixelSurface;

// Sets exactly the pixels the Windows device context the game's layout was made for would.
// Text is clipped to its rectangle, as DrawText does without DT_NOCLIP.
class PixelDeviceContext : public DeviceContext {
public:
    explicit PixelDeviceContext(PixelSurface& surface);

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

    void DrawText(std::string_view text, const Rect& r, unsigned flags) override;
    void TextOut(int x, int y, std::string_view text) override;
    int TextWidth(std::string_view text) override { return font_->Width(text); }

private:
    void DrawLine(std::string_view line, int x, int baseline, const Rect& clip);

    PixelSurface& surface_;
    Rgb pen_ = kBlack;
    Rgb brush_ = kWhite;
    Rgb textColor_ = kBlack;
    bool transparent_ = false;
    const GlyphFont* font_ = nullptr;
    int x_ = 0;
    int y_ = 0;
};

// The view's client area: 0xffRRGGBB words, row after row, as a QImage of Format_RGB32 holds
// them, so a window can show them without a copy.
class PixelSurface final : public DrawingSurface {
public:
    PixelSurface(int width, int height, FontSource& fonts);

    // Starts over in grey at the new size; contexts still open go on drawing there.
    void Resize(int width, int height);
    // Called by ShowNow; the window repaints itself from the pixels there.
    void SetShowCallback(std::function<void()> callback) { show_ = std::move(callback); }
    const std::uint32_t* Pixels() const { return pixels_.data(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The area drawn on since the last call, so a window can show just that.
    Rect TakeDirty() { return std::exchange(dirty_, Rect{}); }

    std::unique_ptr<DeviceContext> OpenClientDC() override {
        return std::make_unique<PixelDeviceContext>(*this);
    }
    Rect ClientRect() const override { return {0, 0, width_, height_}; }
    void ShowNow() override;

private:
    friend class PixelDeviceContext;
    void Touch(const Rect& r);
    void Fill(const Rect& r, Rgb color);
    std::uint32_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }

    FontSource& fonts_;
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
    Rect dirty_;
    std::function<void()> show_;
};

}  // namespace tessaform
