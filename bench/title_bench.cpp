// The title screen, headless: the CPU time of one title tick (update only,
// the real game with the generated data), and what 600 title ticks allocate
// through the collector.
#include <benchmark/benchmark.h>

#include "runtime/gc.h"
#include "tests/support/game_harness.h"

namespace {

constexpr int TITLE_TICKS = 600;

void TitleTick(benchmark::State& state) {
  GameHarness game;
  game.gl->countOnly = true;
  game.Step(40);  // slid in
  long long gcBytes = 0, ticks = 0;
  for (auto _ : state) {
    for (int i = 0; i < TITLE_TICKS; ++i) {
      game.host->now += GameHarness::TICK;
      int before = gc_new_bytes;
      game.Update();
      // A sweep starts the count again.
      gcBytes += gc_new_bytes >= before ? gc_new_bytes - before : gc_new_bytes;
    }
    ticks += TITLE_TICKS;
  }
  state.counters["gc_bytes_per_600_ticks"] = static_cast<double>(gcBytes) * TITLE_TICKS / static_cast<double>(ticks);
  state.counters["us_per_tick"] =
      benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(TitleTick)->Unit(benchmark::kMillisecond);

}  // namespace
