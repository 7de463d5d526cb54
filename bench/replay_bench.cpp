// The recorded busy game (games/busy.kxr: a bot's game of many bugs, rocks,
// particles and stars) replayed into the real game on the headless host,
// with GL as the tests' recording table in counting mode: the busiest frame
// it renders (the most draw-list records), its draw calls, and our CPU per
// render of that frame's draw list, replayed on its own.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "framework/app.h"
#include "framework/random.h"
#include "game/core/my_app.h"
#include "host/headless_game.h"
#include "host/replay.h"
#include "runtime/startup.h"
#include "tests/support/gl_recorder.h"
#include "tests/support/subprocess.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr int COLOUR_BITS = 8;

void BusiestFrameOfTheRecordedBusyGame(benchmark::State& state) {
  TempFolder folder;
  std::filesystem::remove(folder.Path("data"));
  std::filesystem::create_directory_symlink(BuildPath("run/data"), folder.Path("data"));
  std::stringstream text;
  text << std::ifstream(VX_SOURCE_DIR "/bench/games/busy.kxr").rdbuf();
  VxRecording recording;
  std::string error;
  if (!VxReadRecording(text.str(), &recording, &error)) return state.SkipWithError(error.c_str());
  VxPlayer player(std::move(recording));

  setenv("ALSOFT_DRIVERS", "null", 1);
  GlRecorder gl;
  gl.countOnly = true;
  auto* host = new VxHeadlessGame();
  VxGame::_game = host;
  VxGlfwGame::_glfwGame = host;
  const char* argv[] = {"kalvexa"};
  vx_std_main(1, argv);
  auto* app = static_cast<c_MyApp*>(vx_app__app);
  vx_random_Seed = player.Recording().seed;
  host->SetReplay(&player);
  host->SetGlfwWindow(player.FirstWidth(), player.FirstHeight(), COLOUR_BITS, COLOUR_BITS, COLOUR_BITS, 0, 0, 0, false);

  int busiest = 0, busiestCalls = 0;
  std::vector<float> busiestList;
  const std::vector<VxReplayEntry>& entries = player.Recording().entries;
  for (size_t at = 0; at < entries.size();) {
    bool render = entries[at].line == VxLine::RENDER;
    int calls = gl.drawCalls;
    at = player.Feed(*host, at);
    if (render && app->drawCount > busiest) {
      busiest = app->drawCount;
      busiestCalls = gl.drawCalls - calls;
      busiestList.assign(&app->drawList[0], &app->drawList[0] + busiest);
    }
  }

  // The busiest picture again, with the replay gone: every render is the game's own.
  host->SetReplay(nullptr);
  for (size_t i = 0; i < busiestList.size(); ++i) app->drawList[static_cast<int>(i)] = busiestList[i];
  app->drawCount = busiest;
  for (auto _ : state) host->RenderGame();
  state.counters["records"] = busiest / DRAW_RECORD_FLOATS;
  state.counters["draw_calls"] = busiestCalls;
}
BENCHMARK(BusiestFrameOfTheRecordedBusyGame)->Unit(benchmark::kMillisecond);

}  // namespace
