// Play, headless: the bot plays 100 000 update ticks over the three
// game modes (a new game of the next mode whenever one ends) in the real game
// with the recording GL table and the silent audio device. Reports the update
// ticks per second of our CPU, alone and with the replay of every draw list,
// the slowest tick, the collector's bytes allocated per tick, and the
// busiest frame: its records, its draw calls and the CPU time of its replay.
// Once with effects only, once with the tune as well, whose start decodes the
// whole file within the tick.
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <vector>

#include "runtime/gc.h"
#include "tests/support/game_harness.h"

namespace {

constexpr int TICKS = 100000;
constexpr int BUSIEST_REPLAYS = 1000;

double CpuSeconds() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// soundSetting 2 plays effects only; 1, the default, also starts the tune
// at every game start and spin end.
void Play(benchmark::State& state, int soundSetting) {
  for (auto _ : state) {
    GameHarness game;
    game.gl->countOnly = true;
    game.app->options[OPTION_SOUND] = soundSetting;
    int mode = 1;
    unsigned seed = 1;
    StartPlay(game, mode, seed);
    std::unique_ptr<PlayBot> bot = std::make_unique<PlayBot>(*game.app);

    double update = 0, render = 0, slowest = 0;
    long long gcBytes = 0;
    int games = 1, busiest = 0, busiestCalls = 0;
    std::vector<float> busiestList;
    for (int tick = 0; tick < TICKS; ++tick) {
      if (game.app->screenMode == SCREEN_TITLE) {
        mode = mode % 3 + 1;
        StartPlay(game, mode, ++seed);
        bot = std::make_unique<PlayBot>(*game.app);
        ++games;
      }
      game.Play(*bot);
      game.host->now += GameHarness::TICK;
      int bytes = gc_new_bytes;
      double t0 = CpuSeconds();
      game.Update();
      double t1 = CpuSeconds();
      // A sweep starts the count again.
      gcBytes += gc_new_bytes >= bytes ? gc_new_bytes - bytes : gc_new_bytes;
      int calls = game.gl->drawCalls;
      game.Render();
      update += t1 - t0;
      if (t1 - t0 > slowest) slowest = t1 - t0;
      render += CpuSeconds() - t1;
      if (game.app->drawCount > busiest) {
        busiest = game.app->drawCount;
        busiestCalls = game.gl->drawCalls - calls;
        busiestList.assign(&game.app->drawList[0], &game.app->drawList[0] + busiest);
      }
    }

    // The busiest picture again, replayed on its own.
    for (size_t i = 0; i < busiestList.size(); ++i) game.app->drawList[static_cast<int>(i)] = busiestList[i];
    game.app->drawCount = busiest;
    double t0 = CpuSeconds();
    for (int i = 0; i < BUSIEST_REPLAYS; ++i) game.Render();
    double replay = (CpuSeconds() - t0) / BUSIEST_REPLAYS;

    state.counters["update_ticks_per_s"] = TICKS / update;
    state.counters["update_and_replay_ticks_per_s"] = TICKS / (update + render);
    state.counters["gc_bytes_per_tick"] = static_cast<double>(gcBytes) / TICKS;
    state.counters["slowest_update_ms"] = slowest * 1e3;
    state.counters["games"] = games;
    state.counters["busiest_records"] = busiest / DRAW_RECORD_FLOATS;
    state.counters["busiest_draw_calls"] = busiestCalls;
    state.counters["busiest_replay_ms"] = replay * 1e3;
  }
}
void BM_Play(benchmark::State& state) { Play(state, 2); }
BENCHMARK(BM_Play)->Iterations(1)->Unit(benchmark::kSecond);

void BM_PlayWithTheTune(benchmark::State& state) { Play(state, 1); }
BENCHMARK(BM_PlayWithTheTune)->Iterations(1)->Unit(benchmark::kSecond);

// The slowest update tick, in wall time, of the first second of a game
// started from the title with Return: the first game of a run, whose tune
// has never played, and the second.
void BM_GameStart(benchmark::State& state) {
  constexpr int TICKS_WATCHED = 60;
  for (auto _ : state) {
    GameHarness game;
    game.gl->countOnly = true;
    double slowest[2] = {0, 0};
    for (double& worst : slowest) {
      game.KeyDown(KEY_RETURN);
      for (int tick = 0; tick < TICKS_WATCHED; ++tick) {
        if (tick == 1) game.KeyUp(KEY_RETURN);
        game.host->now += GameHarness::TICK;
        auto t0 = std::chrono::steady_clock::now();
        game.Update();
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - t0;
        if (took.count() > worst) worst = took.count();
        game.Render();
      }
      game.app->gameOverTimer = 0;
      game.app->screenMode = SCREEN_TITLE;
      game.Step(2);
    }
    state.counters["first_game_slowest_tick_ms"] = slowest[0] * 1e3;
    state.counters["second_game_slowest_tick_ms"] = slowest[1] * 1e3;
  }
}
BENCHMARK(BM_GameStart)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
