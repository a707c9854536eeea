// The drawing the game asks for: colours, fonts, text flags, the context and the client area.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "Picture.h"
#include "Rect.h"

namespace tessaform {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    constexpr std::uint32_t Argb() const { return 0xff000000u | (r << 16) | (g << 8) | b; }
    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kGrey{128, 128, 128};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kGreen{0, 255, 0};
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kMagenta{255, 0, 255};
inline constexpr Rgb kWhite{255, 255, 255};

// A font as the game asks for it. Height is the character cell height in pixels
// (or device units on paper); 0 asks for the face's usual size.
struct FontSpec {
    std::string family;  // "Courier New", "Arial Bold", "Arial Black", or "" for the default
    int height = 0;
    int weight = 400;  // 100 to 900
    bool fixedPitch = false;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// The font a freshly opened context draws with.
inline const FontSpec kDefaultFont{};
inline const FontSpec kPanelFont{"Courier New", 17, 700, true};
inline const FontSpec kBannerFont{"Arial Bold", 64, 500, false};

// Text layout flags, with the values the game has always used.
enum TextFlag : unsigned {
    kDtLeft = 0x00,
    kDtCenter = 0x01,
    kDtRight = 0x02,
    kDtVCenter = 0x04,
    kDtWordBreak = 0x10,
    kDtSingleLine = 0x20,
};

// Drawing with the pixel rules the game's layout is built on: rectangles leave
// out their right and bottom edges, a line leaves out its end point, Rectangle
// outlines on its own edge in the pen and fills inside with the brush.
// A fresh context has a black pen, a white brush, black text, an opaque white
// text background and the default font.
class DeviceContext {
public:
    virtual ~DeviceContext() = default;

    virtual void SelectPen(Rgb color) = 0;
    virtual void SelectBrush(Rgb color) = 0;
    virtual void SelectFont(const FontSpec& font) = 0;
    virtual void SetTextColor(Rgb color) = 0;
    virtual void SetTransparentBackground() = 0;

    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    virtual void Rectangle(const Rect& r) = 0;
    virtual void FillRect(const Rect& r, Rgb brush) = 0;
    virtual void SetPixel(int x, int y, Rgb color) = 0;
    // Copies the picture's top-left width x height pixels unchanged to (x, y).
    virtual void BitBlt(int x, int y, int width, int height, const Picture& picture) = 0;

    virtual void DrawText(std::string_view text, const Rect& r, unsigned flags) = 0;
    virtual void TextOut(int x, int y, std::string_view text) = 0;

    // Says in words what the area now shows, for screen readers: it takes the place of what it
    // overlaps, and a fill over it takes it away.
    virtual void Describe(const Rect& area, std::string text) = 0;
};

// The view's client area: contexts open on it and draw at once.
class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;
    virtual std::unique_ptr<DeviceContext> OpenClientDC() = 0;
    virtual Rect ClientRect() const = 0;
    // Puts what has been drawn so far on screen now, before the game holds the thread.
    virtual void ShowNow() = 0;
};

}  // namespace tessaform
