// A device context over any QPainter, for paper and the print preview.
#pragma once

#include <QFont>
#include <QPainter>

#include "DeviceContext.h"

namespace tessaform {

// A device context on any QPainter: a printer, a print preview page, a picture.
// Coordinates and font heights are the device's own units, and text is measured
// on the device it goes to, so a page lays out the same at any resolution.
// Text follows the same rules as on screen; lines and fills are drawn plainly,
// without the screen's pixel-exact rules, which paper has no use for.
class PainterDeviceContext final : public DeviceContext {
public:
    // The painter must be active and outlive the context.
    explicit PainterDeviceContext(QPainter& painter);

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
    int TextWidth(std::string_view text) override;

private:
    QPainter& painter_;
    QFont font_;
    Rgb pen_ = kBlack;
    Rgb brush_ = kWhite;
    Rgb textColor_ = kBlack;
    Rgb background_ = kWhite;
    bool transparent_ = false;
    int x_ = 0;
    int y_ = 0;
};

}  // namespace tessaform
