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
  size_t First(const std::string& name) const {
    size_t i = 0;
    while (i < game->calls.size() && game->calls[i].name != name) ++i;
    return i;
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

TEST_F(Loop, IconifyThenRestoreSuspendsOnceRendersNothingAndResumesWithoutABurst) {
  double restoredAt = 0;
  host->onPass = [&](FakeHost& h) {
    if (h.pass == 100) h.iconified = true, h.active = false;
    if (h.pass == 150) h.iconified = false, h.active = true, restoredAt = h.now;
  };
  host->passLimit = 300;
  host->Run();

  ASSERT_EQ(game->Count("suspend"), 1);
  ASSERT_EQ(game->Count("resume"), 1);
  size_t resume = First("resume");
  EXPECT_EQ(resume, First("suspend") + 1);  // nothing while iconified
  // The 50 waits of 0.25 s while iconified are not made up.
  EXPECT_NEAR(game->calls[resume].time, restoredAt, EPS);
  EXPECT_EQ(game->calls[resume + 1].name, "update");
  EXPECT_NEAR(game->calls[resume + 1].time, restoredAt, EPS);
  for (int size : BatchSizes()) EXPECT_LE(size, 1);
}

TEST_F(Loop, LosingTheFocusSuspendsOnceAndRendersOnWindowEventsOnly) {
  host->onPass = [](FakeHost& h) {
    if (h.pass == 100) h.active = false;
  };
  host->passLimit = 200;
  host->Run();

  ASSERT_EQ(game->Count("suspend"), 1);
  EXPECT_EQ(game->Count("resume"), 0);
  size_t suspend = First("suspend");
  EXPECT_EQ(game->calls.size() - suspend - 1, 101u);  // passes 100 .. 200; pass 201 finds the window closed
  for (size_t i = suspend + 1; i < game->calls.size(); ++i) EXPECT_EQ(game->calls[i].name, "render");
  // One wait of 0.25 s between each render and the next.
  for (size_t i = suspend + 2; i < game->calls.size(); ++i) {
    EXPECT_NEAR(game->calls[i].time - game->calls[i - 1].time, 0.25, EPS);
  }
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
