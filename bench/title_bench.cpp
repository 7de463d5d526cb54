// The title screen, headless: the start-up to it, in update ticks and in
// wall time (the runtime's start-up and StartGame, then the loader's ticks),
// the CPU time of one title tick (update only, the real game with the
// generated data), and what 600 title ticks allocate through the collector.
#include <benchmark/benchmark.h>

#include <chrono>

#include "runtime/gc.h"
#include "tests/support/game_harness.h"

namespace {

constexpr int TITLE_TICKS = 600;
constexpr int START_TICKS_MAX = 1000;

void StartUpToTheTitle(benchmark::State& state) {
  int ticks = 0;
  double seconds = 0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    GameHarness game(Unloaded());
    for (ticks = 0; (game.app->loadStep != 0 || game.app->screenMode != SCREEN_TITLE) && ticks < START_TICKS_MAX;
         ++ticks) {
      game.Step();
    }
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  state.counters["ticks"] = ticks;
  state.counters["ms"] = seconds * 1e3 / static_cast<double>(state.iterations());
}
BENCHMARK(StartUpToTheTitle)->Iterations(5)->Unit(benchmark::kMillisecond);

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
