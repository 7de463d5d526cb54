// The main loop's decisions, driven by a fake clock and window.
#include <gtest/gtest.h>
#include <unistd.h>

#include "runtime/gc.h"
#include "tests/host/fake_host.h"

namespace {

constexpr double TICK = 1.0 / 60;
constexpr double EPS = 1e-9;

struct Loop : HostTest {
  std::function<void(const std::string&)> during;  // inside each delegate call

  void SetUp() override {
    HostTest::SetUp();
    game->onCall = [this](const std::string& name) {
      if (name == "start") host->SetUpdateRate(60);  // as the game does
      if (during) during(name);
    };
  }
  std::vector<double> TickTimes() const {
    std::vector<double> times;
    for (const Call& c : game->calls) {
      if (c.name == "update") times.push_back(c.time);
    }
    return times;
  }
  // Updates between each render and the one before it.
  std::vector<int> BatchSizes() const {
    std::vector<int> sizes;
    int updates = 0;
    for (const Call& c : game->calls) {
      if (c.name == "update") ++updates;
      if (c.name == "render") sizes.push_back(updates), updates = 0;
    }
    return sizes;
  }
};

TEST_F(Loop, TicksComeEverySixtiethOfASecondAndAStallCatchesUpFourThenRestartsFromNow) {
  double start = host->now, stallEnd = 0;
  during = [&](const std::string& name) {
    if (name == "render" && game->Count("render") == 20) stallEnd = host->now += 1.0;
  };
  host->passLimit = 200;
  host->Run();

  // A render after StartGame, then one per tick but for the four ticks of the catch-up.
  std::vector<int> batches = BatchSizes();
  ASSERT_GT(batches.size(), 25u);
  for (size_t i = 0; i < batches.size(); ++i) EXPECT_EQ(batches[i], i == 0 ? 0 : i == 20 ? 4 : 1) << "render " << i;
  // The catch-up ticks come at once, then every 1/60 s: the lost second is not made up.
  std::vector<double> ticks = TickTimes();
  for (size_t k = 0; k < ticks.size(); ++k) {
    double expected = k < 19 ? start + (k + 1) * TICK : k < 23 ? stallEnd : stallEnd + (k - 23) * TICK;
    EXPECT_NEAR(ticks[k], expected, EPS) << "tick " << k;
  }
  EXPECT_EQ(game->Count("suspend"), 0);
}

TEST_F(Loop, RateSetToZeroInsideATickEndsTheCatchUpAndRendersAtOnce) {
  during = [&](const std::string& name) {
    if (name == "render" && game->Count("render") == 10) host->now += 1.0;  // a backlog to catch up
    if (name == "update" && game->Count("update") == 10) host->SetUpdateRate(0);
  };
  host->passLimit = 100;
  host->Run();

  std::vector<int> batches = BatchSizes();
  ASSERT_GT(batches.size(), 20u);
  EXPECT_EQ(batches[10], 1);  // the first tick of the catch-up set the rate to 0
  EXPECT_EQ(game->Count("update"), 10);
  // From then on: one render per window event and no ticks.
  for (size_t i = 11; i < batches.size(); ++i) EXPECT_EQ(batches[i], 0);
}

TEST_F(Loop, FocusLossAndIconifyEachSuspendOnceAndResumeWithoutABurst) {
  double regained = 0, restored = 0;
  host->onPass = [&](FakeHost& h) {
    if (h.pass == 100) h.active = false;
    if (h.pass == 150) h.active = true, regained = h.now;
    if (h.pass == 200) h.iconified = true, h.active = false;
    if (h.pass == 250) h.iconified = false, h.active = true, restored = h.now;
  };
  host->passLimit = 300;
  host->Run();

  std::vector<size_t> suspends, resumes;
  for (size_t i = 0; i < game->calls.size(); ++i) {
    if (game->calls[i].name == "suspend") suspends.push_back(i);
    if (game->calls[i].name == "resume") resumes.push_back(i);
  }
  ASSERT_EQ(suspends.size(), 2u);
  ASSERT_EQ(resumes.size(), 2u);
  // Without the focus: one render per window event, a wait of 0.25 s; iconified: nothing.
  ASSERT_EQ(resumes[0] - suspends[0] - 1, 50u);
  for (size_t i = suspends[0] + 1; i < resumes[0]; ++i) {
    EXPECT_EQ(game->calls[i].name, "render");
    EXPECT_NEAR(game->calls[i].time, game->calls[suspends[0]].time + (i - suspends[0] - 1) * 0.25, EPS);
  }
  EXPECT_EQ(resumes[1], suspends[1] + 1);
  // The time away is not made up: a tick at once, and no batch of more than one.
  for (auto [resume, at] : {std::pair{resumes[0], regained}, {resumes[1], restored}}) {
    EXPECT_NEAR(game->calls[resume].time, at, EPS);
    EXPECT_EQ(game->calls[resume + 1].name, "update");
    EXPECT_NEAR(game->calls[resume + 1].time, at, EPS);
  }
  for (int size : BatchSizes()) EXPECT_LE(size, 1);
}

TEST_F(Loop, WrappersDoNothingBeforeStartGameAndKeepTheirStates) {
  host->UpdateGame();
  host->RenderGame();
  host->KeyEvent(1, 65);
  host->StartGame();
  host->StartGame();
  host->ResumeGame();  // not suspended
  host->SuspendGame();
  host->SuspendGame();
  host->UpdateGame();  // no ticks while suspended, but renders and events
  host->RenderGame();
  host->KeyEvent(1, 65);
  host->ResumeGame();
  host->UpdateGame();
  std::vector<std::string> names;
  for (const Call& c : game->calls) names.push_back(c.name);
  EXPECT_EQ(names, (std::vector<std::string>{"start", "suspend", "render", "key", "resume", "update"}));
}

TEST_F(Loop, AnExceptionFromTheDelegateEndsInDieWithStatus255) {
  host->StartGame();
  game->onCall = [](const std::string& name) {
    if (name == "update") throw new ThrowableObject();
  };
  EXPECT_EXIT(
      {
        dup2(2, 1);  // Die writes to standard output; the death test reads standard error
        host->UpdateGame();
      },
      ::testing::ExitedWithCode(255), "^Vorlix Runtime Error : Uncaught Vorlix Exception\n$");
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
  host->heldKeys = {'A'};
  host->onOpenWindow = [&] { keyUpsAtOpen = game->Count("key"); };
  during = [&](const std::string& name) {
    if (name != "update") return;
    Local* local = new Local;
    local->destroyed = &destroyed;
    while (gc_new_bytes <= GC_CYCLE_BYTES) new Object;  // the next collector step sweeps
    host->SetGlfwWindow(1280, 1024, 8, 8, 8, 0, 0, 0, true);
    for (int i = 0; i < 1000; ++i) new Local{};  // would take the blocks of swept objects
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(local->value, 12345);
  };
  host->StartGame();
  host->UpdateGame();
  EXPECT_EQ(keyUpsAtOpen, 1);
  ASSERT_EQ(game->Count("key"), 1);
  EXPECT_EQ(game->calls.back().event, 2);
  EXPECT_EQ(game->calls.back().data, 65);
}

}  // namespace
