#include "DigitReader.h"

#include <QFont>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace tessaform::e2e {

namespace {

// A digit must fit well, and clearly better than the next digit.
constexpr double kMaxDistance = 0.22;
constexpr double kMinLead = 0.04;

// Bold faces the game may be drawn in where Arial and Courier New are missing.
constexpr std::array<const char*, 4> kFamilies = {"Liberation Sans", "DejaVu Sans",
                                                  "Liberation Mono", "DejaVu Sans Mono"};

bool IsInk(QRgb pixel) {
    return (pixel & 0xFFFFFF) == 0;
}

}  // namespace

std::vector<DigitReader::Glyph> DigitReader::Segment(const QImage& image, QRect region) {
    region = region.intersected(image.rect());
    const int w = region.width();
    const int h = region.height();
    std::vector<int> label(static_cast<std::size_t>(w * h), -1);
    auto at = [&](int x, int y) -> int& { return label[static_cast<std::size_t>(y * w + x)]; };

    std::vector<QRect> parts;
    std::vector<QPoint> stack;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (at(x, y) != -1 || !IsInk(image.pixel(region.left() + x, region.top() + y))) {
                continue;
            }
            const int id = static_cast<int>(parts.size());
            QRect box(x, y, 1, 1);
            stack.assign(1, QPoint(x, y));
            at(x, y) = id;
            while (!stack.empty()) {
                const QPoint p = stack.back();
                stack.pop_back();
                box = box.united(QRect(p, QSize(1, 1)));
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = p.x() + dx;
                        const int ny = p.y() + dy;
                        if (nx < 0 || ny < 0 || nx >= w || ny >= h || at(nx, ny) != -1 ||
                            !IsInk(image.pixel(region.left() + nx, region.top() + ny))) {
                            continue;
                        }
                        at(nx, ny) = id;
                        stack.emplace_back(nx, ny);
                    }
                }
            }
            parts.push_back(box);
        }
    }

    // Parts above one another (the two dots of a colon) make one glyph.
    std::sort(parts.begin(), parts.end(),
              [](const QRect& a, const QRect& b) { return a.left() < b.left(); });
    std::vector<Glyph> glyphs;
    for (const QRect& part : parts) {
        if (!glyphs.empty() && part.left() <= glyphs.back().box.right()) {
            glyphs.back().box = glyphs.back().box.united(part);
            ++glyphs.back().parts;
        } else {
            glyphs.push_back(Glyph{part, 1, {}});
        }
    }
    for (Glyph& g : glyphs) {
        g.ink.resize(static_cast<std::size_t>(g.box.width() * g.box.height()));
        for (int y = 0; y < g.box.height(); ++y) {
            for (int x = 0; x < g.box.width(); ++x) {
                g.ink[static_cast<std::size_t>(y * g.box.width() + x)] =
                    at(g.box.left() + x, g.box.top() + y) != -1 ? 1 : 0;
            }
        }
    }
    return glyphs;
}

std::vector<double> DigitReader::Grid(const Glyph& glyph) {
    // Share of ink in each cell of a fixed grid laid over the glyph's box.
    const int w = glyph.box.width();
    const int h = glyph.box.height();
    std::vector<double> grid(kGridX * kGridY, 0.0);
    const double cellW = static_cast<double>(w) / kGridX;
    const double cellH = static_cast<double>(h) / kGridY;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (glyph.ink[static_cast<std::size_t>(y * w + x)] == 0) {
                continue;
            }
            for (int gy = static_cast<int>(y / cellH); gy < kGridY && gy * cellH < y + 1; ++gy) {
                const double overlapY =
                    std::min((gy + 1) * cellH, y + 1.0) - std::max(gy * cellH, 1.0 * y);
                for (int gx = static_cast<int>(x / cellW); gx < kGridX && gx * cellW < x + 1;
                     ++gx) {
                    const double overlapX =
                        std::min((gx + 1) * cellW, x + 1.0) - std::max(gx * cellW, 1.0 * x);
                    if (overlapX > 0 && overlapY > 0) {
                        grid[static_cast<std::size_t>(gy * kGridX + gx)] +=
                            overlapX * overlapY / (cellW * cellH);
                    }
                }
            }
        }
    }
    return grid;
}

const std::vector<std::vector<DigitReader::Template>>& DigitReader::TemplatesFor(int height) {
    if (auto found = templates_.find(height); found != templates_.end()) {
        return found->second;
    }
    std::vector<std::vector<Template>> fonts;
    // Every size whose digits are as tall as the text's, in each family: hinting makes
    // neighbouring sizes differ in stroke width rather than in height.
    for (const char* family : kFamilies) {
        std::vector<Template> nearest;
        int nearestMiss = std::numeric_limits<int>::max();
        for (int pixelSize = 6; pixelSize <= 4 * height + 8; ++pixelSize) {
            QFont font(family);
            font.setBold(true);
            font.setPixelSize(pixelSize);
            font.setStyleStrategy(QFont::NoAntialias);
            font.setHintingPreference(QFont::PreferFullHinting);
            const int pitch = pixelSize * 2;
            QImage canvas(pitch * 10, pixelSize * 3, QImage::Format_RGB32);
            canvas.fill(Qt::white);
            {
                QPainter painter(&canvas);
                painter.setFont(font);
                painter.setPen(Qt::black);
                for (int d = 0; d < 10; ++d) {
                    painter.drawText(QPoint(d * pitch + pixelSize / 2, pixelSize * 2),
                                     QString(QChar('0' + d)));
                }
            }
            std::vector<Template> set;
            int tallest = 0;
            for (int d = 0; d < 10; ++d) {
                const auto glyphs = Segment(canvas, QRect(d * pitch, 0, pitch, canvas.height()));
                if (glyphs.size() != 1) {
                    break;
                }
                tallest = std::max(tallest, glyphs[0].box.height());
                set.push_back(
                    Template{static_cast<char>('0' + d), glyphs[0].box.width(),
                             static_cast<double>(glyphs[0].box.width()) / glyphs[0].box.height(),
                             Grid(glyphs[0])});
            }
            if (set.size() != 10) {
                continue;
            }
            const int miss = std::abs(tallest - height);
            if (miss == 0) {
                fonts.push_back(set);
            } else if (miss < nearestMiss) {
                nearestMiss = miss;
                nearest = std::move(set);
            }
            if (tallest > height + 1) {
                break;
            }
        }
        if (!nearest.empty() && nearestMiss > 0 && fonts.empty()) {
            fonts.push_back(std::move(nearest));
        }
    }
    return templates_.emplace(height, std::move(fonts)).first->second;
}

DigitReader::Glyph DigitReader::Cut(const Glyph& glyph, int from, int to) {
    const int w = glyph.box.width();
    int top = glyph.box.height();
    int bottom = -1;
    int left = to;
    int right = from - 1;
    for (int y = 0; y < glyph.box.height(); ++y) {
        for (int x = from; x < to; ++x) {
            if (glyph.ink[static_cast<std::size_t>(y * w + x)] != 0) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    Glyph piece;
    if (bottom < 0) {
        return piece;
    }
    piece.box =
        QRect(glyph.box.left() + left, glyph.box.top() + top, right - left + 1, bottom - top + 1);
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            piece.ink.push_back(glyph.ink[static_cast<std::size_t>(y * w + x)]);
        }
    }
    return piece;
}

DigitReader::Fit DigitReader::Classify(const Glyph& glyph, const std::vector<Template>& font) {
    Fit fit;
    fit.height = glyph.box.height();
    if (glyph.ink.empty()) {
        return fit;
    }
    const std::vector<double> grid = Grid(glyph);
    const double aspect = static_cast<double>(glyph.box.width()) / glyph.box.height();
    for (const Template& t : font) {
        double distance = 0;
        for (std::size_t c = 0; c < grid.size(); ++c) {
            distance += std::abs(grid[c] - t.grid[c]);
        }
        distance = distance / static_cast<double>(grid.size()) + 0.5 * std::abs(aspect - t.aspect);
        if (distance < fit.best) {
            fit.second = fit.best;
            fit.best = distance;
            fit.digit = t.digit;
        } else if (distance < fit.second) {
            fit.second = distance;
        }
    }
    return fit;
}

std::vector<DigitReader::Fit> DigitReader::ClassifyWide(const Glyph& glyph,
                                                        const std::vector<Template>& font,
                                                        int depth) {
    int widest = 0;
    int narrowest = glyph.box.width();
    for (const Template& t : font) {
        widest = std::max(widest, t.width);
        narrowest = std::min(narrowest, t.width);
    }
    const int w = glyph.box.width();
    if (w <= widest + 1 || depth == 0) {
        return {Classify(glyph, font)};
    }
    std::vector<Fit> best;
    double bestTotal = 1e18;
    for (int cut = std::max(2, narrowest - 1); cut <= w - std::max(2, narrowest - 1); ++cut) {
        std::vector<Fit> fits = ClassifyWide(Cut(glyph, 0, cut), font, depth - 1);
        for (const Fit& f : ClassifyWide(Cut(glyph, cut, w), font, depth - 1)) {
            fits.push_back(f);
        }
        double total = 0;
        for (const Fit& f : fits) {
            total += f.best;
        }
        if (total < bestTotal) {
            bestTotal = total;
            best = std::move(fits);
        }
    }
    return best.empty() ? std::vector<Fit>{Classify(glyph, font)} : best;
}

std::optional<std::string> DigitReader::Read(const QImage& image, QRect region,
                                             std::string* problem) {
    fits_.clear();
    const std::vector<Glyph> glyphs = Segment(image, region);
    int digitHeight = 0;
    for (const Glyph& g : glyphs) {
        if (g.parts == 1) {
            digitHeight = std::max(digitHeight, g.box.height());
        }
    }
    // Colons and minus signs by their shape; everything else must be digits.
    std::vector<char> marks;
    for (const Glyph& g : glyphs) {
        const int w = g.box.width();
        const int h = g.box.height();
        if (g.parts >= 2 && w * 2 <= digitHeight) {
            marks.push_back(':');
        } else if (g.parts == 1 && h * 5 <= digitHeight * 2 && w >= h) {
            marks.push_back('-');
        } else {
            marks.push_back(0);
        }
    }
    // The font that fits the whole text best reads it.
    std::vector<std::vector<Fit>> bestFits;
    double bestTotal = 1e18;
    for (const std::vector<Template>& font : TemplatesFor(digitHeight)) {
        std::vector<std::vector<Fit>> fits;
        double total = 0;
        for (std::size_t i = 0; i < glyphs.size(); ++i) {
            fits.push_back(marks[i] == 0 ? ClassifyWide(glyphs[i], font, 2) : std::vector<Fit>{});
            for (const Fit& f : fits.back()) {
                total += f.best;
            }
        }
        if (total < bestTotal) {
            bestTotal = total;
            bestFits = std::move(fits);
        }
    }
    std::string text;
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        if (marks[i] != 0) {
            text += marks[i];
            continue;
        }
        const std::vector<Fit> none{Fit{}};
        for (const Fit& fit : bestFits.empty() ? none : bestFits[i]) {
            fits_.emplace_back(fit.best, fit.second);
            if (std::abs(fit.height - digitHeight) > 1 || fit.best > kMaxDistance ||
                fit.second - fit.best < kMinLead) {
                if (problem != nullptr) {
                    *problem = "glyph " + std::to_string(text.size() + 1) + " (height " +
                               std::to_string(fit.height) + ") after \"" + text +
                               "\" is no clear digit (nearest " + fit.digit + " at " +
                               std::to_string(fit.best) + ", next at " +
                               std::to_string(fit.second) + ")";
                }
                return std::nullopt;
            }
            text += fit.digit;
        }
    }
    return text;
}

}  // namespace tessaform::e2e
