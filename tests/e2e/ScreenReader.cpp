#include "ScreenReader.h"

#include <vector>

namespace tessaform::e2e {

namespace {

constexpr int kCellSize = 48;
constexpr std::array<QPoint, 4> kCellOrigins = {
    {QPoint(16, 16), QPoint(96, 16), QPoint(96, 96), QPoint(16, 96)}};

// Pixels each shape covers in its cell; a reading needs most of them.
struct ShapeInk {
    char letter;
    QRgb colour;
    int pixels;
};
constexpr std::array<ShapeInk, 4> kShapes = {{
    {'c', kBlue, 1700},
    {'x', kGreen, 1500},
    {'s', kYellow, 2304},
    {'t', kRed, 1080},
}};
constexpr QRgb kLightBlue = 0x8080FF;  // a few pixels of the circle's outline

QRgb Rgb(QRgb pixel) {
    return pixel & 0xFFFFFF;
}

bool RingIs(const QImage& image, QRect ring, QRgb colour) {
    if (!image.rect().contains(ring)) {
        return false;
    }
    for (int x = ring.left(); x <= ring.right(); ++x) {
        if (Rgb(image.pixel(x, ring.top())) != colour ||
            Rgb(image.pixel(x, ring.bottom())) != colour) {
            return false;
        }
    }
    for (int y = ring.top(); y <= ring.bottom(); ++y) {
        if (Rgb(image.pixel(ring.left(), y)) != colour ||
            Rgb(image.pixel(ring.right(), y)) != colour) {
            return false;
        }
    }
    return true;
}

// Runs of exactly `length` pixels of one colour, on one row.
std::vector<int> RunsOf(const QImage& image, int y, QRgb colour, int length) {
    std::vector<int> starts;
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    int run = 0;
    for (int x = 0; x <= image.width(); ++x) {
        if (x < image.width() && Rgb(row[x]) == colour) {
            ++run;
            continue;
        }
        if (run == length) {
            starts.push_back(x - length);
        }
        run = 0;
    }
    return starts;
}

}  // namespace

std::string FrameName(Frame frame) {
    switch (frame) {
        case Frame::kNone:
            return "no frame";
        case Frame::kRed:
            return "red frame";
        case Frame::kGreen:
            return "green frame";
        case Frame::kBlack:
            return "black frame";
        case Frame::kOther:
            break;
    }
    return "broken frame";
}

std::string BlockLook::Describe() const {
    switch (kind) {
        case Kind::kPicture:
            return code + " with " + FrameName(frame);
        case Kind::kGrey:
            return "all grey";
        case Kind::kOther:
            break;
    }
    return "no readable picture";
}

std::optional<QPoint> FindMaster(const QImage& image) {
    for (int y = 0; y + kBlockSize <= image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int run = 0;
        for (int x = 0; x < image.width(); ++x) {
            run = Rgb(row[x]) == kRed ? run + 1 : 0;
            if (run < kBlockSize) {
                continue;
            }
            const QRect ring(x - kBlockSize + 1, y, kBlockSize, kBlockSize);
            if (RingIs(image, ring, kRed)) {
                return ring.topLeft();
            }
        }
    }
    return std::nullopt;
}

std::optional<Layout> FindLayout(const QImage& image) {
    const std::optional<QPoint> master = FindMaster(image);
    if (!master) {
        return std::nullopt;
    }
    // The time box: a blue outline 45 by 17 pixels above the board.
    const int boxWidth = kTimeBox.right - kTimeBox.left;
    const int boxHeight = kTimeBox.bottom - kTimeBox.top;
    for (int y = 0; y < master->y(); ++y) {
        for (int x : RunsOf(image, y, kBlue, boxWidth)) {
            if (!RingIs(image, QRect(x, y, boxWidth, boxHeight), kBlue)) {
                continue;
            }
            Layout layout;
            layout.view = QPoint(x - kTimeBox.left, y - kTimeBox.top);
            layout.board = *master;
            // The view's first row and first columns are background all along.
            const int top = layout.view.y();
            while (layout.view.x() + layout.width < image.width() &&
                   Rgb(image.pixel(layout.view.x() + layout.width, top)) == kGrey) {
                ++layout.width;
            }
            const int column = layout.view.x() + 3;
            while (top + layout.height < image.height() &&
                   Rgb(image.pixel(column, top + layout.height)) == kGrey) {
                ++layout.height;
            }
            return layout;
        }
    }
    return std::nullopt;
}

QRgb Screen::At(int viewX, int viewY) const {
    return Rgb(image_.pixel(layout_.view.x() + viewX, layout_.view.y() + viewY));
}

BlockLook Screen::Block(int block) const {
    BlockLook look;
    const QPoint origin = layout_.Block(block);
    if (!image_.rect().contains(QRect(origin, QSize(kBlockSize, kBlockSize)))) {
        return look;
    }
    int grey = 0;
    for (int y = 0; y < kBlockSize; ++y) {
        for (int x = 0; x < kBlockSize; ++x) {
            grey += Rgb(image_.pixel(origin.x() + x, origin.y() + y)) == kGrey ? 1 : 0;
        }
    }
    if (grey == kBlockSize * kBlockSize) {
        look.kind = BlockLook::Kind::kGrey;
        look.frame = Frame::kNone;
        return look;
    }
    const QRect ring(origin, QSize(kBlockSize, kBlockSize));
    for (auto [colour, frame] :
         {std::pair{kGrey, Frame::kNone}, std::pair{kRed, Frame::kRed},
          std::pair{kGreen, Frame::kGreen}, std::pair{kBlack, Frame::kBlack}}) {
        if (RingIs(image_, ring, colour)) {
            look.frame = frame;
        }
    }
    std::string code;
    for (const QPoint& cell : kCellOrigins) {
        std::array<int, 4> counts{};
        for (int y = 0; y < kCellSize; ++y) {
            for (int x = 0; x < kCellSize; ++x) {
                const QRgb p =
                    Rgb(image_.pixel(origin.x() + cell.x() + x, origin.y() + cell.y() + y));
                for (std::size_t s = 0; s < kShapes.size(); ++s) {
                    counts[s] += p == kShapes[s].colour || (s == 0 && p == kLightBlue) ? 1 : 0;
                }
            }
        }
        char letter = '?';
        for (std::size_t s = 0; s < kShapes.size(); ++s) {
            int others = 0;
            for (std::size_t o = 0; o < kShapes.size(); ++o) {
                others += o == s ? 0 : counts[o];
            }
            if (counts[s] >= kShapes[s].pixels && others == 0) {
                letter = kShapes[s].letter;
            }
        }
        if (letter == '?') {
            return look;
        }
        code += letter;
    }
    look.kind = BlockLook::Kind::kPicture;
    look.code = code;
    return look;
}

std::array<BlockLook, kBlocks> Screen::Board() const {
    std::array<BlockLook, kBlocks> board;
    for (int k = 0; k < kBlocks; ++k) {
        board[static_cast<std::size_t>(k)] = Block(k);
    }
    return board;
}

std::optional<long> Screen::Number(const Box& box, std::string* problem) const {
    // Wide numbers may run a little past their box; the labels keep their distance.
    const QRect region(layout_.view.x() + box.left - 3, layout_.view.y() + box.top + 1,
                       box.right - box.left + 6, box.bottom - box.top - 2);
    const std::optional<std::string> text = digits_.Read(image_, region, problem);
    if (!text) {
        return std::nullopt;
    }
    const bool negative = !text->empty() && (*text)[0] == '-';
    const std::string digits = text->substr(negative ? 1 : 0);
    if (digits.empty() || digits.size() > 9 ||
        digits.find_first_not_of("0123456789") != std::string::npos) {
        if (problem != nullptr) {
            *problem = "read \"" + *text + "\", no number";
        }
        return std::nullopt;
    }
    const long value = std::stol(digits);
    return negative ? -value : value;
}

std::optional<int> Screen::SecondsLeft(std::string* problem) const {
    const QRect region(layout_.view.x() + kTimeBox.left - 3, layout_.view.y() + kTimeBox.top + 1,
                       kTimeBox.right - kTimeBox.left + 6, kTimeBox.bottom - kTimeBox.top - 2);
    const std::optional<std::string> text = digits_.Read(image_, region, problem);
    if (!text) {
        return std::nullopt;
    }
    if (text->size() != 5 || (*text)[2] != ':' ||
        text->substr(0, 2).find_first_not_of("0123456789") != std::string::npos ||
        text->substr(3).find_first_not_of("0123456789") != std::string::npos) {
        if (problem != nullptr) {
            *problem = "read \"" + *text + "\", no MM:SS";
        }
        return std::nullopt;
    }
    return std::stoi(text->substr(0, 2)) * 60 + std::stoi(text->substr(3));
}

bool Screen::Outlined(const Box& box, QRgb colour) const {
    return RingIs(image_, layout_.Screen(box), colour);
}

bool Screen::AllGrey(const Box& box) const {
    const QRect area = layout_.Screen(box);
    if (!image_.rect().contains(area)) {
        return false;
    }
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (Rgb(image_.pixel(x, y)) != kGrey) {
                return false;
            }
        }
    }
    return true;
}

bool Screen::RecapShown() const {
    for (int i = 0; i < 6; ++i) {
        if (!Outlined(layout_.RecapBox(i), kRed)) {
            return false;
        }
    }
    return Outlined(layout_.AnotherSetColumn(), kYellow);
}

bool Screen::RecapGone() const {
    for (int i = 0; i < 6; ++i) {
        if (Outlined(layout_.RecapBox(i), kRed)) {
            return false;
        }
    }
    return !Outlined(layout_.AnotherSetColumn(), kYellow);
}

bool Screen::OpeningFigure(std::string* why) const {
    const int w = layout_.width;
    const int h = layout_.height;
    struct Line {
        QRgb pen;
        QPoint from, to;
    };
    std::vector<Line> lines;
    auto run = [&](QPoint start, std::initializer_list<std::pair<QRgb, QPoint>> steps) {
        QPoint at = start;
        for (const auto& [pen, to] : steps) {
            lines.push_back({pen, at, to});
            at = to;
        }
    };
    run({0, 0}, {{kRed, {w, h / 2}},
                 {kGreen, {0, h}},
                 {kBlue, {w / 2, 0}},
                 {kYellow, {w, h}},
                 {kRed, {0, h / 2}},
                 {kBlue, {w, 0}},
                 {kGreen, {3 * w / 4, h}},
                 {kBlack, {w / 4, 0}},
                 {kMagenta, {w, h / 4}},
                 {kRed, {0, 3 * h / 4}}});
    run({0, 0}, {{kYellow, {w / 4, h}}, {kGreen, {3 * w / 4, 0}}});
    run({0, h}, {{kRed, {w / 4, 0}}, {kBlue, {0, h / 4}}, {kGreen, {w / 2, h}}, {kYellow, {w, 0}}});
    run({3 * w / 4, 0}, {{kBlack, {w, 3 * h / 4}}, {kYellow, {0, 3 * h / 4}}});

    // Sample each line away from its ends; crossings hide a few samples.
    int samples = 0;
    int hits = 0;
    for (const Line& line : lines) {
        for (int i = 1; i < 20; ++i) {
            const double t = i / 20.0;
            const int x = static_cast<int>(line.from.x() + t * (line.to.x() - line.from.x()));
            const int y = static_cast<int>(line.from.y() + t * (line.to.y() - line.from.y()));
            bool hit = false;
            for (int dy = -2; dy <= 2 && !hit; ++dy) {
                for (int dx = -2; dx <= 2 && !hit; ++dx) {
                    const int vx = x + dx;
                    const int vy = y + dy;
                    hit = vx >= 0 && vy >= 0 && vx < w && vy < h && At(vx, vy) == line.pen;
                }
            }
            ++samples;
            hits += hit ? 1 : 0;
        }
    }
    const bool figure = hits * 10 >= samples * 9 && !FindMaster(image_);
    if (why != nullptr) {
        *why = std::to_string(hits) + " of " + std::to_string(samples) +
               " points on the figure's lines in their pens";
    }
    return figure;
}

}  // namespace tessaform::e2e
