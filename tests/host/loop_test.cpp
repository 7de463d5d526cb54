// The main loop on a host whose clock moves only when the loop sleeps or waits, or a test moves it.
#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "framework/app.h"
#include "host/glfw2.h"
#include "host/vx_game.h"
#include "runtime/gc.h"

namespace {

constexpr double TICK = 1.0 / 60;
constexpr double EPS = 1e-9;

struct Call {
  std::string name;
  double time;
  int event = 0, data = 0;
};

struct FakeHost : VxGlfwGame {
  double now = 100;  // far from 0, so that no test leans on a zero start
  bool opened = true, active = true, iconified = false;
  int pass = 0, passLimit = 1000;         // the window closes after passLimit loop passes
  std::function<void(FakeHost&)> onPass;  // at the start of each pass
  int heldKey = 0;                        // GLFW key code
  std::function<void()> onOpenWindow;

  double Time() override { return now; }
  void Sleep(double seconds) override { now += seconds; }
  void PollEvents() override {
    if (++pass > passLimit) opened = false;
    if (onPass) onPass(*this);
  }
  void WaitEvents() override { now += 0.25; }
  int WindowParam(int param) override {
    return param == GLFW_OPENED ? opened : param == GLFW_ACTIVE ? active : param == GLFW_ICONIFIED ? iconified : 0;
  }
  bool KeyHeld(int glfwKey) override { return glfwKey == heldKey; }
  void OpenWindow(int, int, int, int, int, int, int, int, bool) override {
    if (onOpenWindow) onOpenWindow();
  }
};

struct Recorder : VxGameDelegate {
  std::function<void(const std::string&, int, int)> record;
  void StartGame() override { record("start", 0, 0); }
  void SuspendGame() override { record("suspend", 0, 0); }
  void ResumeGame() override { record("resume", 0, 0); }
  void UpdateGame() override { record("update", 0, 0); }
  void RenderGame() override { record("render", 0, 0); }
  void KeyEvent(int event, int data) override { record("key", event, data); }
  void MouseEvent(int event, int data, float, float) override { record("mouse", event, data); }
};

struct Loop : ::testing::Test {
  FakeHost host;
  Recorder* game = new Recorder();
  std::vector<Call> calls;
  std::function<void(const std::string&)> during;  // inside each delegate call

  void SetUp() override {
    game->record = [this](const std::string& name, int event, int data) {
      calls.push_back({name, host.now, event, data});
      if (name == "start") host.SetUpdateRate(60);  // as the game does
      if (during) during(name);
    };
    host.SetDelegate(game);
    VxGlfwGame::_glfwGame = &host;
  }
  void TearDown() override { VxGlfwGame::_glfwGame = nullptr; }
  int Count(const std::string& name) const {
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const Call& c) { return c.name == name; }));
  }
  // Updates between each render and the one before it.
  std::vector<int> BatchSizes() const {
    std::vector<int> sizes;
    int updates = 0;
    for (const Call& c : calls) {
      if (c.name == "update") ++updates;
      if (c.name == "render") sizes.push_back(updates), updates = 0;
    }
    return sizes;
  }
};

TEST_F(Loop, TicksComeEverySixtiethOfASecondAStallCatchesUpFourThenRestartsFromNowAndRateZeroEndsTheTicks) {
  double start = host.now, stallEnd = 0;
  during = [&](const std::string& name) {
    if (name == "render" && Count("render") == 20) stallEnd = host.now += 1.0;
    if (name == "render" && Count("render") == 40) host.now += 1.0;
    if (name == "update" && Count("update") == 19 + 4 + 19 + 2) host.SetUpdateRate(0);
  };
  host.passLimit = 200;
  host.Run();

  // A render after StartGame, then one per tick but for the catch-ups; the
  // second ends at the tick that set the rate to 0, and only window events render.
  std::vector<int> batches = BatchSizes();
  ASSERT_GT(batches.size(), 60u);
  for (size_t i = 0; i < batches.size(); ++i) {
    EXPECT_EQ(batches[i], i == 0 || i > 40 ? 0 : i == 20 ? 4 : i == 40 ? 2 : 1) << "render " << i;
  }
  // The catch-up ticks come at once, then every 1/60 s: the lost second is not made up.
  std::vector<double> ticks;
  for (const Call& c : calls)
    if (c.name == "update") ticks.push_back(c.time);
  for (size_t k = 0; k < 30; ++k) {
    double expected = k < 19 ? start + (k + 1) * TICK : k < 23 ? stallEnd : stallEnd + (k - 23) * TICK;
    EXPECT_NEAR(ticks[k], expected, EPS) << "tick " << k;
  }
  EXPECT_EQ(Count("suspend"), 0);
}

// The game's millisecond clock is a 32-bit two's-complement int modulo 2^32 of the host's seconds.
TEST_F(Loop, MillisecsWrapsModulo2To32AndTheLoopTicksEvenlyThroughTheWrap) {
  const struct {
    double seconds;
    int millis;
  } cases[] = {{0.0015, 1},       {2147483.6475, INT_MAX}, {2147483.6485, INT_MIN},      {4294967.2955, -1},
               {4294967.2965, 0}, {-0.0005, -1},           {3 * 4294967.296 + 0.0055, 5}};
  for (const auto& c : cases) {
    host.now = c.seconds;
    EXPECT_EQ(host.Millisecs(), c.millis) << c.seconds;
  }
  std::vector<int> millis;  // as the game reads the clock
  during = [&](const std::string& name) {
    if (name == "update") millis.push_back(host.Millisecs());
  };
  host.now = 2147483.0;  // 648 ms before the wrap
  host.passLimit = 200;
  host.Run();
  ASSERT_GT(millis.size(), 80u);
  EXPECT_GT(millis.front(), 0);
  EXPECT_LT(millis.back(), 0);
  for (size_t i = 1; i < millis.size(); ++i) {
    int step = vx_app_MillisecsBetween(millis[i - 1], millis[i]);
    EXPECT_TRUE(step == 16 || step == 17) << i << ": " << step;
  }
}

TEST_F(Loop, FocusLossAndIconifyEachSuspendOnceAndResumeWithoutABurst) {
  double regained = 0, restored = 0;
  host.onPass = [&](FakeHost& h) {
    if (h.pass == 100) h.active = false;
    if (h.pass == 150) h.active = true, regained = h.now;
    if (h.pass == 200) h.iconified = true, h.active = false;
    if (h.pass == 250) h.iconified = false, h.active = true, restored = h.now;
  };
  host.passLimit = 300;
  host.Run();

  std::vector<size_t> suspends, resumes;
  for (size_t i = 0; i < calls.size(); ++i) {
    if (calls[i].name == "suspend") suspends.push_back(i);
    if (calls[i].name == "resume") resumes.push_back(i);
  }
  ASSERT_EQ(suspends.size(), 2u);
  ASSERT_EQ(resumes.size(), 2u);
  // Without the focus: one render per window event, a wait of 0.25 s; iconified: nothing.
  ASSERT_EQ(resumes[0] - suspends[0] - 1, 50u);
  for (size_t i = suspends[0] + 1; i < resumes[0]; ++i) {
    EXPECT_EQ(calls[i].name, "render");
    EXPECT_NEAR(calls[i].time, calls[suspends[0]].time + (i - suspends[0] - 1) * 0.25, EPS);
  }
  EXPECT_EQ(resumes[1], suspends[1] + 1);
  // The time away is not made up: a tick at once, and no batch of more than one.
  for (auto [resume, at] : {std::pair{resumes[0], regained}, {resumes[1], restored}}) {
    EXPECT_NEAR(calls[resume].time, at, EPS);
    EXPECT_EQ(calls[resume + 1].name, "update");
    EXPECT_NEAR(calls[resume + 1].time, at, EPS);
  }
  for (int size : BatchSizes()) EXPECT_LE(size, 1);
}

// The full-screen switch: the game re-opens the window inside a tick while a
// key is held, with an object that only a C++ local of the tick holds.
TEST_F(Loop, AWindowReopenedInsideATickSendsKeyUpsFirstAndCollectsNothingBeforeTheTickEnds) {
  struct Local : Object {
    int value = 12345;
    bool* destroyed = nullptr;
    ~Local() override {
      if (destroyed) *destroyed = true;
    }
  };
  bool destroyed = false;
  int keyUpsAtOpen = -1;
  host.heldKey = 'A';
  host.onOpenWindow = [&] { keyUpsAtOpen = Count("key"); };
  during = [&](const std::string& name) {
    if (name != "update") return;
    Local* local = new Local;
    local->destroyed = &destroyed;
    while (gc_new_bytes <= GC_CYCLE_BYTES) new Object;  // the next collector step sweeps
    host.SetGlfwWindow(1280, 1024, 8, 8, 8, 0, 0, 0, true);
    for (int i = 0; i < 1000; ++i) new Local{};  // would take the blocks of swept objects
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(local->value, 12345);
  };
  host.StartGame();
  host.UpdateGame();
  EXPECT_EQ(keyUpsAtOpen, 1);
  ASSERT_EQ(Count("key"), 1);
  EXPECT_EQ(calls.back().event, 2);
  EXPECT_EQ(calls.back().data, 65);
}

}  // namespace
