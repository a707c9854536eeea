// Benchmarks of the rules alone: an arrow's swap, a deal and the arrow hit test.
#include <benchmark/benchmark.h>

#include "Arrangements.h"
#include "Deal.h"
#include "HitTest.h"

namespace tessaform {
namespace {

void BM_ApplyArrow(benchmark::State& state) {
    int arrangement = 0;
    int arrow = 0;
    for (auto _ : state) {
        arrangement = ApplyArrow(arrangement, arrow);
        arrow = (arrow + 3) % kArrowCount;
        benchmark::DoNotOptimize(arrangement);
    }
}
BENCHMARK(BM_ApplyArrow)->Unit(benchmark::kNanosecond);

void BM_Deal(benchmark::State& state) {
    GameState game;
    SeededRandom random(1);
    for (auto _ : state) {
        Deal(game, random);
        benchmark::DoNotOptimize(game.blockArrangement);
    }
}
BENCHMARK(BM_Deal);

void BM_ArrowHitTest(benchmark::State& state) {
    const GameState game;
    int dx = 0;
    for (auto _ : state) {
        // Sweeps the block so that every arrow and the misses between them are tried.
        benchmark::DoNotOptimize(ArrowAt(game, dx % 161, (dx * 7) % 161));
        ++dx;
    }
}
BENCHMARK(BM_ArrowHitTest)->Unit(benchmark::kNanosecond);

}  // namespace
}  // namespace tessaform
