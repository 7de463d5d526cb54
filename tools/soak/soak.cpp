// The soak behind `make soak`: the real game played by the bot for hours of
// game time over the three modes (a new game of the next mode whenever one
// ends), on the product's headless host with its GL table that draws nothing
// and the real audio device on OpenAL Soft's silent backend. What a leak
// would grow is read once loading is done, after the warm-up and at the end,
// and sampled every SAMPLE_TICKS in between; the soak fails, saying why, when
// a figure's peak after the warm-up passes its peak during the warm-up by
// more than the figure's bound, or passes the figure's ceiling at any time.
// A crash fails it too. The figures go to RESULTS as JSON.
//   soak DATA RESULTS [TICKS [WARMUP]]   (500 000 and 50 000 ticks by default)
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "audio/audio_device.h"
#include "framework/app.h"
#include "graphics/headless_gl.h"
#include "host/headless_game.h"
#include "host/process_status.h"
#include "runtime/fatal.h"
#include "runtime/gc.h"
#include "runtime/startup.h"
#include "tools/playbot/play_bot.h"

namespace {

namespace fs = std::filesystem;

// ---- Tunables ---------------------------------------------------------------------------
constexpr int DEFAULT_TICKS = 500000, DEFAULT_WARMUP = 50000;
constexpr int SAMPLE_TICKS = 500;
constexpr int LOAD_TICKS = 200;  // the loader is given this long to reach the title
constexpr double TICK = 1.0 / 60;
constexpr int MODES = 3;
constexpr int WINDOW_WIDTH = 640, WINDOW_HEIGHT = 480, COLOUR_BITS = 8;  // the window the game opens
constexpr long long MIB = 1 << 20;

// What a leak would grow. Bound: how far the peak after the warm-up may pass
// the warm-up's; ceiling: what no sample may pass (-1: none).
struct Figure {
  const char* name;
  const char* what;
  long long bound, ceiling;
};
enum { COLLECTOR, C_HEAP, RESIDENT, FILES, SOURCES, BUFFERS, TEXTURES, FIGURES };
constexpr Figure kFigures[FIGURES] = {
    {"collector_bytes", "bytes the collector holds: objects, and garbage not yet destroyed", MIB, -1},
    {"c_heap_bytes", "bytes of the C heap in use: pixels, OpenAL's sample buffers and the rest", 2 * MIB, -1},
    {"resident_bytes", "bytes of the process resident in memory", 4 * MIB, -1},
    {"open_files", "file descriptors open", 0, -1},
    {"openal_sources", "OpenAL sources alive", 0, VX_AUDIO_CHANNELS},
    {"openal_buffers", "OpenAL buffers alive", 0, -1},
    {"textures", "GL textures made and not deleted", 0, -1},
};
using Sample = std::array<long long, FIGURES>;

// Under AddressSanitizer freed memory waits in quarantine and mallinfo2 sees
// none of the sanitizer's heap: those figures are reported, not judged.
#ifdef __SANITIZE_ADDRESS__
constexpr bool JUDGE_MEMORY = false;
#else
constexpr bool JUDGE_MEMORY = true;
#endif

Sample Measure() {
  struct mallinfo2 heap = mallinfo2();
  VxProcessStatus process = VxReadProcessStatus();
  gxtkOpenALObjects al = gxtkCountOpenALObjects();
  return {gc_alloced_bytes + gc_free_bytes,
          static_cast<long long>(heap.uordblks + heap.hblkhd),
          process.residentBytes,
          process.openFiles,
          al.sources,
          al.buffers,
          gxtkHeadless.textures};
}

void Raise(Sample* peak, const Sample& sample) {
  for (int f = 0; f < FIGURES; ++f) (*peak)[f] = std::max((*peak)[f], sample[f]);
}

// The headless host with the bot's sticks on its first joypad.
class SoakHost : public VxHeadlessGame {
 public:
  const PlayBot* bot = nullptr;

  bool PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float>, Array<bool>) override {
    if (port != 0 || !bot) return false;
    for (int stick = 0; stick < 2; ++stick) joyx[stick] = bot->stickX[stick], joyy[stick] = bot->stickY[stick];
    return true;
  }
};

struct Run {
  int ticks = 0, games = 0, gamesOfMode[MODES + 1] = {};
  long long loadTicks = 0;
  Sample start{}, warm{}, end{}, warmPeak{}, latePeak{};
  std::string problems;
};

void Write(const Run& run, int warmup, const char* path) {
  FILE* out = fopen(path, "w");
  if (!out) return;
  fprintf(out, "{\n  \"ticks\": %d,\n  \"warmup_ticks\": %d,\n  \"game_hours\": %.2f,\n  \"games\": %d,\n", run.ticks,
          warmup, run.ticks * TICK / 3600, run.games);
  fprintf(out, "  \"games_by_mode\": [%d, %d, %d],\n  \"figures\": {\n", run.gamesOfMode[1], run.gamesOfMode[2],
          run.gamesOfMode[3]);
  for (int f = 0; f < FIGURES; ++f) {
    fprintf(out,
            "    \"%s\": {\"what\": \"%s\", \"start\": %lld, \"after_warmup\": %lld, \"end\": %lld, "
            "\"warmup_peak\": %lld, \"peak_after_warmup\": %lld, \"bound\": %lld, \"ceiling\": %lld}%s\n",
            kFigures[f].name, kFigures[f].what, run.start[f], run.warm[f], run.end[f], run.warmPeak[f], run.latePeak[f],
            kFigures[f].bound, kFigures[f].ceiling, f + 1 < FIGURES ? "," : "");
  }
  fprintf(out, "  },\n  \"passed\": %s\n}\n", run.problems.empty() ? "true" : "false");
  fclose(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 5) {
    fprintf(stderr, "usage: soak DATA RESULTS [TICKS [WARMUP]]\n");
    return 2;
  }
  fs::path data = fs::absolute(argv[1]), results = fs::absolute(argv[2]);
  int ticks = argc > 3 ? atoi(argv[3]) : DEFAULT_TICKS, warmup = argc > 4 ? atoi(argv[4]) : DEFAULT_WARMUP;
  if (ticks <= warmup || warmup < SAMPLE_TICKS) {
    fprintf(stderr, "soak: TICKS must pass WARMUP, and WARMUP be %d at least\n", SAMPLE_TICKS);
    return 2;
  }
  // The game's working folder: the data and its state file.
  char folder[] = "/tmp/kalvexa-soak-XXXXXX";
  if (!mkdtemp(folder)) return 2;
  fs::create_directory_symlink(data, fs::path(folder) / "data");
  fs::current_path(folder);

  setenv("ALSOFT_DRIVERS", "null", 1);
  gxtkGL = &gxtkGLHeadless;
  auto* host = new SoakHost();
  VxGame::_game = host;
  VxGlfwGame::_glfwGame = host;
  const char* gameArgv[] = {"kalvexa"};
  vx_std_main(1, gameArgv);
  host->SetGlfwWindow(WINDOW_WIDTH, WINDOW_HEIGHT, COLOUR_BITS, COLOUR_BITS, COLOUR_BITS, 0, 0, 0, false);
  host->StartGame();
  auto* app = static_cast<c_MyApp*>(vx_app__app);
  auto step = [&] {
    host->now += TICK;
    host->UpdateGame();
    host->RenderGame();
  };

  Run run;
  for (step(); app->loadStep != 0 && run.loadTicks < LOAD_TICKS; ++run.loadTicks) step();
  run.start = run.warmPeak = run.latePeak = Measure();
  int mode = 0;
  std::unique_ptr<PlayBot> bot;
  for (; run.ticks < ticks; ++run.ticks) {
    if (!bot || app->screenMode == SCREEN_TITLE) {
      mode = mode % MODES + 1;
      StartPlay(*app, mode, static_cast<unsigned>(run.games + 1));
      bot = std::make_unique<PlayBot>(*app);
      host->bot = bot.get();
      ++run.games;
      ++run.gamesOfMode[mode];
    }
    bot->Act();
    step();
    int done = run.ticks + 1;
    if (done % SAMPLE_TICKS != 0 && done != warmup && done != ticks) continue;
    Sample now = Measure();
    Raise(done <= warmup ? &run.warmPeak : &run.latePeak, now);
    if (done == warmup) run.warm = run.latePeak = now;
    if (done == ticks) run.end = now;
  }

  for (int f = 0; f < FIGURES; ++f) {
    const Figure& figure = kFigures[f];
    if (!JUDGE_MEMORY && (f == C_HEAP || f == RESIDENT)) continue;
    long long growth = run.latePeak[f] - run.warmPeak[f];
    if (growth > figure.bound) {
      run.problems += std::string(figure.name) + " grew by " + std::to_string(growth) + " after the warm-up (bound " +
                      std::to_string(figure.bound) + ")\n";
    }
    long long highest = std::max(run.warmPeak[f], run.latePeak[f]);
    if (figure.ceiling >= 0 && highest > figure.ceiling) {
      run.problems += std::string(figure.name) + " reached " + std::to_string(highest) + " (ceiling " +
                      std::to_string(figure.ceiling) + ")\n";
    }
  }
  if (run.loadTicks >= LOAD_TICKS) run.problems += "the loader never finished\n";
  for (int m = 1; m <= MODES; ++m) {
    if (run.gamesOfMode[m] == 0) run.problems += "no game of mode " + std::to_string(m) + " was played\n";
  }

  printf("soak: %d ticks (%.2f hours of game time), %d games (%d, %d, %d by mode)\n", run.ticks,
         run.ticks * TICK / 3600, run.games, run.gamesOfMode[1], run.gamesOfMode[2], run.gamesOfMode[3]);
  printf("%-16s %14s %14s %14s %14s %14s %10s\n", "figure", "start", "after warm-up", "end", "warm-up peak",
         "later peak", "bound");
  for (int f = 0; f < FIGURES; ++f) {
    printf("%-16s %14lld %14lld %14lld %14lld %14lld %10lld\n", kFigures[f].name, run.start[f], run.warm[f], run.end[f],
           run.warmPeak[f], run.latePeak[f], kFigures[f].bound);
  }
  vx_orderly_end();
  Write(run, warmup, results.c_str());
  fs::current_path("/");
  fs::remove_all(folder);
  fputs(run.problems.empty() ? "soak passed\n" : run.problems.c_str(), run.problems.empty() ? stdout : stderr);
  return run.problems.empty() ? 0 : 1;
}
