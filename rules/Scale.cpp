// Builds the scale of points that matches, clicks and the bonus are all read from.
#include "Scale.h"

namespace tessaform {

ScaleTable BuildScaleTable() {
    // Entry i is 10 x C(i + 3, 3), made by sums of sums as the game has always made it: the
    // steps are 10 x C(i + 2, 2) and grow by 20, 30, 40 ... (A product would fit as well: the
    // largest, 10 x 92 x 91 x 90, is about 7.5 million.)
    ScaleTable table{};
    std::int32_t value = 0;
    std::int32_t step = 10;
    std::int32_t stepIncrease = 20;
    for (int i = 0; i < kScaleSize - 1; ++i) {
        value += step;
        table[i] = value;
        step += stepIncrease;
        stepIncrease += 10;
    }
    table[kScaleSize - 1] = table[kScaleSize - 2];
    return table;
}

}  // namespace tessaform
