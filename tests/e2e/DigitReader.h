#pragma once

#include <QImage>
#include <QRect>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tessaform::e2e {

// Reads numbers that the game draws in black without smoothing: "01:45", "1255800", "-30".
// Each glyph is compared, on a coarse grid, with the digits of common bold fonts rendered
// here at the same height; the font that fits the whole text best reads it, and a glyph
// that fits no digit of it clearly is reported.
class DigitReader {
public:
    // The text drawn in black (0, 0, 0) inside `region`; "" when nothing is drawn there.
    std::optional<std::string> Read(const QImage& image, QRect region,
                                    std::string* problem = nullptr);

    // How well each digit of the last reading fitted: its distance and the next best's.
    const std::vector<std::pair<double, double>>& LastFits() const { return fits_; }

private:
    static constexpr int kGridX = 8;
    static constexpr int kGridY = 12;

    struct Glyph {
        QRect box;
        int parts = 1;
        std::vector<unsigned char> ink;  // box.width() x box.height(), row by row
    };
    struct Template {
        char digit;
        int width;
        double aspect;
        std::vector<double> grid;
    };
    struct Fit {
        char digit = '?';
        double best = 1e9;
        double second = 1e9;
        int height = 0;
    };

    static std::vector<Glyph> Segment(const QImage& image, QRect region);
    static std::vector<double> Grid(const Glyph& glyph);
    static Glyph Cut(const Glyph& glyph, int from, int to);
    static Fit Classify(const Glyph& glyph, const std::vector<Template>& font);
    // Two digits drawn touching make one wide glyph; they are cut where both fit best.
    static std::vector<Fit> ClassifyWide(const Glyph& glyph, const std::vector<Template>& font,
                                         int depth);
    // One set of the ten digits per font, all of the given height.
    const std::vector<std::vector<Template>>& TemplatesFor(int height);

    std::map<int, std::vector<std::vector<Template>>> templates_;
    std::vector<std::pair<double, double>> fits_;
};

}  // namespace tessaform::e2e
