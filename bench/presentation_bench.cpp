// The game's presentation, headless: the replay of a busy frame of the real
// game (2 500 records: glyphs, 64 x 64 sprites from four sheets, a tenth of
// them additive, some rectangles and ovals, in the runs play draws them) through the graphics module into
// the batch renderer, with GL as the recording table in counting mode, so the
// time is our own CPU work; and laying out one line of 200 characters.
#include <benchmark/benchmark.h>

#include "tests/support/game_harness.h"

namespace {

// A frame as play draws it, in runs: the star field, text, drum tiles,
// rocks, bugs, additive pops (a tenth of the records), particles, and a few
// rectangles and ovals.
struct Run {
  int slot;  // VX_NONE and VX_OVAL for shapes
  int records;
  bool additive;
};
constexpr Run kBusyFrame[] = {
    {IMG_PARTS, 200, false},
    {IMG_FONT, 400, false},
    {IMG_TILES, 500, false},
    {IMG_ROCKS, 350, false},
    {IMG_BUGS, 400, false},
    {IMG_POPS, 250, true},
    {IMG_PARTS, 250, false},
    {static_cast<int>(VX_NONE), 140, false},
    {static_cast<int>(VX_OVAL), 10, false},
};

void RecordBusyFrame(c_MyApp& app) {
  app.p_CLS2D(0, 0, 40, 1);
  int i = 0;
  for (const Run& run : kBusyFrame) {
    app.p_Blend(run.additive ? 3 : 1);
    for (int k = 0; k < run.records; ++k, ++i) {
      float x = static_cast<float>(i * 37 % 640), y = static_cast<float>(i * 53 % 480);
      app.p_SetCol(255, static_cast<float>(i % 256), 200, 0.5f + static_cast<float>(i % 2) * 0.5f);
      app.p_SetRot(static_cast<float>(i % 360));
      if (run.slot == VX_NONE) {
        app.p_Rect(x, y, 20, 10);
      } else if (run.slot == VX_OVAL) {
        app.p_Oval(x, y, 8, 8);
      } else {
        app.p_DrawImg(run.slot, x, y, static_cast<float>(run.slot == IMG_FONT ? 33 + i % 90 : i % 16));
      }
    }
  }
}

void ReplayOfABusyFrame(benchmark::State& state) {
  GameHarness game;
  game.gl->countOnly = true;
  RecordBusyFrame(*game.app);
  int calls = 0, frames = 0;
  for (auto _ : state) {
    int before = game.gl->drawCalls;
    game.Render();
    calls += game.gl->drawCalls - before;
    ++frames;
  }
  state.counters["records"] = game.app->drawCount / DRAW_RECORD_FLOATS;
  state.counters["draw_calls_per_frame"] = static_cast<double>(calls) / frames;
}
BENCHMARK(ReplayOfABusyFrame)->Unit(benchmark::kMicrosecond);

void TextOfTwoHundredCharacters(benchmark::State& state) {
  GameHarness game;
  c_MyApp& app = *game.app;
  String line;
  for (int i = 0; i < 200; ++i) line = line + String::FromChar(i % 2 ? 'm' : 'i');
  for (auto _ : state) {
    app.drawCount = 0;
    app.p_Text(10, 10, line, 0, 1);
  }
  state.counters["records"] = app.drawCount / DRAW_RECORD_FLOATS;
}
BENCHMARK(TextOfTwoHundredCharacters)->Unit(benchmark::kMicrosecond);

}  // namespace
