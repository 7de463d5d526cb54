// The host's own cost per frame, without the window system: one pass of the
// main loop with its wrappers and collector steps, and one update tick of the
// input device with a busy keyboard.
#include <benchmark/benchmark.h>

#include "framework/game_event.h"
#include "framework/input_device.h"
#include "host/glfw2.h"
#include "host/vx_game.h"

namespace {

// A window that is always open and active, and a clock that moves only when
// the loop sleeps.
class BenchHost : public VxGlfwGame {
 public:
  double now = 0;
  long passes = 0, passLimit = 0;

 protected:
  double Time() override { return now; }
  void Sleep(double seconds) override { now += seconds; }
  void PollEvents() override { ++passes; }
  void WaitEvents() override {}
  int WindowParam(int param) override {
    if (param == GLFW_OPENED) return passes <= passLimit;
    return param == GLFW_ACTIVE;
  }
  void SetGlfwWindow(int, int, int, int, int, int, int, int, bool) override {}
};

struct IdleGame : VxGameDelegate {
  VxGame* host = nullptr;
  void StartGame() override { host->SetUpdateRate(60); }
};

// Time per loop pass at 60 ticks per second: half the passes tick and
// render, half sleep.
void BM_LoopPass(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    BenchHost host;
    IdleGame* game = new IdleGame();
    game->host = &host;
    host.SetDelegate(game);
    host.passLimit = state.range(0);
    state.ResumeTiming();
    host.Run();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoopPass)->Arg(1000);

// One update tick of the input device: joypads sampled (none present), 20
// key events and 10 characters in, all queries the game makes, hits cleared.
void BM_InputTick(benchmark::State& state) {
  VxGame host;
  VxGame::_game = &host;
  c_InputDevice* device = (new c_InputDevice())->m_new();
  int sum = 0;
  for (auto _ : state) {
    for (int key = 65; key < 75; ++key) {
      device->p_KeyEvent(c_VxGameEvent::KeyDown, key);
      device->p_KeyEvent(c_VxGameEvent::KeyChar, key + 32);
      device->p_KeyEvent(c_VxGameEvent::KeyUp, key);
    }
    device->p_BeginUpdate();
    for (int key = 1; key < KEY_CODES; ++key) sum += device->p_KeyHit(key) + device->p_KeyDown(key);
    while (int c = device->p_GetChar()) sum += c;
    device->p_EndUpdate();
  }
  benchmark::DoNotOptimize(sum);
}
BENCHMARK(BM_InputTick);

}  // namespace
