// Benchmarks of the view's handlers: repaints, ticks, panel draws, presses and the dissolve.
#include <benchmark/benchmark.h>

#include "Arrangements.h"
#include "Fakes.h"

namespace tessaform {
namespace {

using testing::Game;

// A dealt game at the given client size; the log and the texts drawn are cleared as it goes.
struct Bench : Game {
    Bench(int width, int height) : Game(width, height) {
        Repaint();
        Forget();
    }
};

void BM_Repaint(benchmark::State& state) {
    Bench b(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        b.Repaint();
        b.Forget();
    }
}
BENCHMARK(BM_Repaint)->Args({800, 600})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);

void BM_ClockTick(benchmark::State& state) {
    Bench b(1920, 1080);
    for (auto _ : state) {
        b.Tick();
        b.surface.texts.clear();
    }
}
BENCHMARK(BM_ClockTick)->Unit(benchmark::kMicrosecond);

// The tick once a second: a new time drawn, and what changed taken for the window.
void BM_ClockTickNewSecond(benchmark::State& state) {
    Bench b(1920, 1080);
    int second = 0;
    for (auto _ : state) {
        b.At(10 + (++second & 1));
        b.Tick();
        benchmark::DoNotOptimize(b.surface.screen.TakeDirty());
        b.surface.texts.clear();
    }
}
BENCHMARK(BM_ClockTickNewSecond)->Unit(benchmark::kMicrosecond);

void BM_DrawTimeBox(benchmark::State& state) {
    Bench b(1920, 1080);
    for (auto _ : state) {
        b.view.DrawTimeBox();
        b.surface.texts.clear();
    }
}
BENCHMARK(BM_DrawTimeBox)->Unit(benchmark::kMicrosecond);

void BM_DrawScorePanel(benchmark::State& state) {
    Bench b(1920, 1080);
    for (auto _ : state) {
        b.view.DrawScorePanel(false);
        b.surface.texts.clear();
    }
}
BENCHMARK(BM_DrawScorePanel)->Unit(benchmark::kMicrosecond);

void BM_EvaluateBoard(benchmark::State& state) {
    Bench b(1920, 1080);
    for (auto _ : state) {
        b.view.EvaluateBoard();
        b.surface.texts.clear();
    }
}
BENCHMARK(BM_EvaluateBoard)->Unit(benchmark::kMicrosecond);

void BM_BlockCopy(benchmark::State& state) {
    Bench b(1920, 1080);
    for (auto _ : state) {
        b.view.RedrawBlock(2, 1);
    }
}
BENCHMARK(BM_BlockCopy)->Unit(benchmark::kMicrosecond);

// A move that neither matches nor collides, pressed twice so the board comes back.
void BM_ArrowPress(benchmark::State& state) {
    Bench b(1920, 1080);
    const int block = 7;
    int arrow = 0;
    for (; arrow < kArrowCount; ++arrow) {
        const int moved = ApplyArrow(b.State().blockArrangement[block], arrow);
        if (std::find(b.State().blockArrangement.begin(), b.State().blockArrangement.end(),
                      moved) == b.State().blockArrangement.end()) {
            break;
        }
    }
    for (auto _ : state) {
        b.PressArrow(block, arrow);
        b.Forget();
    }
    if (b.State().blockStatus[block] != kOpen || b.State().gameOver != 0) {
        state.SkipWithError("the press matched or collided; the measure would be wrong");
    }
}
BENCHMARK(BM_ArrowPress)->Unit(benchmark::kMicrosecond);

void BM_Dissolve(benchmark::State& state) {
    Bench b(1920, 1080);
    for (auto _ : state) {
        b.view.LoseBlocks(1, 1, 2, 2);
        state.PauseTiming();
        b.view.State().blockStatus[4] = kOpen;
        b.view.State().blockStatus[8] = kOpen;
        b.Forget();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Dissolve)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tessaform
