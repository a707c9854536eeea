// The one scale of points that scores matches, prices clicks and sizes the bonus.
#pragma once

#include <array>
#include <cstdint>

namespace tessaform {

inline constexpr int kScaleSize = 91;
inline constexpr std::int32_t kMaxBonus = 1'255'800;

using ScaleTable = std::array<std::int32_t, kScaleSize>;

// 10 x C(i + 3, 3) for i = 0..89, with the last entry repeated.
ScaleTable BuildScaleTable();

}  // namespace tessaform
