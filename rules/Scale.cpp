// Builds the scale of points that matches, clicks and the bonus are all read from.
#include "Scale.h"

namespace tessaform {

ScaleTable BuildScaleTable() {
    // Sums of sums: no multiplication that could overflow, and exact.
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
