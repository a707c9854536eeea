#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <array>
#include <optional>
#include <string>

#include "DigitReader.h"

namespace tessaform::e2e {

inline constexpr int kBlockSize = 160;
inline constexpr int kBlockPitch = 180;
inline constexpr int kBlocks = 12;

inline constexpr QRgb kGrey = 0x808080;
inline constexpr QRgb kRed = 0xFF0000;
inline constexpr QRgb kGreen = 0x00FF00;
inline constexpr QRgb kBlue = 0x0000FF;
inline constexpr QRgb kYellow = 0xFFFF00;
inline constexpr QRgb kBlack = 0x000000;
inline constexpr QRgb kMagenta = 0xFF00FF;

// A rectangle of the view, right and bottom one past the last pixel.
struct Box {
    int left, top, right, bottom;
};

// The boxes of the strip along the top of the view.
inline constexpr Box kTimeBox{84, 1, 129, 18};
inline constexpr Box kMatchBox{240, 1, 300, 18};
inline constexpr Box kCostBox{399, 1, 449, 18};
inline constexpr Box kBonusLabel{459, 1, 519, 18};
inline constexpr Box kBonusBox{523, 1, 583, 18};
inline constexpr Box kNetBox{683, 1, 743, 18};

// Where the game's view and its board lie on the screen; found anew on every
// screenshot, since the window's decorations and menu bar are not fixed.
struct Layout {
    QPoint view;  // top-left pixel of the view on the screen
    int width = 0;
    int height = 0;
    QPoint board;  // top-left pixel of the master block on the screen

    QPoint Block(int block) const {
        return board + QPoint(block / 3 * kBlockPitch, block % 3 * kBlockPitch);
    }
    QRect Screen(const Box& b) const {
        return QRect(view.x() + b.left, view.y() + b.top, b.right - b.left, b.bottom - b.top);
    }
    // The recap's value boxes: 0 the average, 1 to 5 games 5 down to 1.
    Box RecapBox(int i) const { return {69 + 125 * i, height - 16, 129 + 125 * i, height}; }
    Box AnotherSetColumn() const {
        const int top = (height - 458) / 2;
        return {9, top, 34, top + 458};
    }
};

enum class Frame { kNone, kRed, kGreen, kBlack, kOther };
std::string FrameName(Frame frame);

struct BlockLook {
    enum class Kind { kPicture, kGrey, kOther };
    Kind kind = Kind::kOther;
    std::string code;  // c x s t read clockwise from the top-left cell, for a picture
    Frame frame = Frame::kOther;

    std::string Describe() const;
};

// The master's red frame: the one 160 by 160 ring of pure red on the screen.
std::optional<QPoint> FindMaster(const QImage& image);

// The board and the strip's time box together fix the view; nullopt while no board shows.
std::optional<Layout> FindLayout(const QImage& image);

// Reading one screenshot with a known layout.
class Screen {
public:
    Screen(const QImage& image, const Layout& layout, DigitReader& digits)
        : image_(image), layout_(layout), digits_(digits) {}

    BlockLook Block(int block) const;
    std::array<BlockLook, kBlocks> Board() const;

    // The number in a value box of the strip or the recap ("%li" or "MM:SS" as seconds).
    std::optional<long> Number(const Box& box, std::string* problem = nullptr) const;
    std::optional<int> SecondsLeft(std::string* problem = nullptr) const;

    bool Outlined(const Box& box, QRgb colour) const;
    bool AllGrey(const Box& box) const;
    bool BonusShown() const { return Outlined(kBonusBox, kBlue) && !AllGrey(kBonusLabel); }
    bool BonusAbsent() const { return AllGrey(kBonusLabel) && AllGrey(kBonusBox); }
    bool RecapShown() const;
    bool RecapGone() const;

    // The coloured lines shown while the deal sound plays.
    bool OpeningFigure(std::string* why = nullptr) const;

private:
    QRgb At(int viewX, int viewY) const;

    const QImage& image_;
    const Layout& layout_;
    DigitReader& digits_;
};

}  // namespace tessaform::e2e
