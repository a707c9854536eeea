// Benchmarks of the view's handlers: repaints, ticks, panel draws, presses and the dissolve.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "Arrangements.h"
#include "Fakes.h"

namespace tessaform {
namespace {

using testing::Game;

// One handler over and over on a dealt game of that client size. The log and the texts
// drawn are cleared after each call, so that they do not grow.
template <class Handler>
void BM_View(benchmark::State& state, Handler handle, int width = 1920, int height = 1080) {
    Game game(width, height);
    game.Repaint().Forget();
    for (auto _ : state) {
        handle(game);
        game.Forget();
    }
}
BENCHMARK_CAPTURE(
    BM_View, Repaint800x600, [](Game& g) { g.Repaint(); }, 800, 600);
BENCHMARK_CAPTURE(BM_View, Repaint1920x1080, [](Game& g) { g.Repaint(); });
BENCHMARK_CAPTURE(BM_View, ClockTick, [](Game& g) { g.Tick(); });
// The tick once a second: a new time drawn, and what changed taken for the window.
BENCHMARK_CAPTURE(BM_View, ClockTickNewSecond, [second = 0](Game& g) mutable {
    g.At(10 + (++second & 1)).Tick();
    benchmark::DoNotOptimize(g.surface.screen.TakeDirty());
});
BENCHMARK_CAPTURE(BM_View, DrawTimeBox, [](Game& g) { g.view.DrawTimeBox(); });
BENCHMARK_CAPTURE(BM_View, DrawScorePanel, [](Game& g) { g.view.DrawScorePanel(false); });
BENCHMARK_CAPTURE(BM_View, EvaluateBoard, [](Game& g) { g.view.EvaluateBoard(); });
BENCHMARK_CAPTURE(BM_View, BlockCopy, [](Game& g) { g.view.RedrawBlock(2, 1); });
// Blocks 4 and 8 dissolve, then open again for the next round.
BENCHMARK_CAPTURE(BM_View, Dissolve, [](Game& g) {
    g.view.LoseBlocks(1, 1, 2, 2);
    g.view.State().blockStatus[4] = kOpen;
    g.view.State().blockStatus[8] = kOpen;
})->Unit(benchmark::kMillisecond);

// A move that neither matches nor collides, pressed over and over: the board keeps coming back.
void BM_ArrowPress(benchmark::State& state) {
    Game game(1920, 1080);
    game.Repaint().Forget();
    const int block = 7;
    const auto& arrangements = game.State().blockArrangement;
    // The first arrow that makes an arrangement no block shows; the last if none does.
    int arrow = 0;
    while (arrow + 1 < kArrowCount && std::count(arrangements.begin(), arrangements.end(),
                                                 ApplyArrow(arrangements[block], arrow)) != 0) {
        ++arrow;
    }
    for (auto _ : state) {
        game.PressArrow(block, arrow).Forget();
    }
    if (game.State().blockStatus[block] != kOpen || game.State().gameOver != 0) {
        state.SkipWithError("the press matched or collided; the measure would be wrong");
    }
}
BENCHMARK(BM_ArrowPress);

}  // namespace
}  // namespace tessaform
