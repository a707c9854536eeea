// The random numbers the deal is drawn with, seeded from the calendar clock.
#pragma once

#include <cstdint>
#include <random>

namespace tessaform {

// Source of non-negative pseudo-random integers for the deal.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual int Next() = 0;
};

// Seeded once, with the calendar time, when the view is built.
class SeededRandom : public RandomSource {
public:
    explicit SeededRandom(std::uint32_t seed) : engine_(seed) {}
    int Next() override { return static_cast<int>(engine_() & 0x7fffffff); }

private:
    std::mt19937 engine_;
};

}  // namespace tessaform
