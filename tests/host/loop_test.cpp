// The main loop's decisions, driven by a fake clock and window: a thousand
// passes run in microseconds.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>

#include "tests/host/fake_host.h"

namespace {

constexpr double TICK = 1.0 / 60;
constexpr double EPS = 1e-9;

struct Loop : ::testing::Test {
  FakeHost* host = new FakeHost();
  RecordingDelegate* game = new RecordingDelegate();

  void SetUp() override {
    game->host = host;
    host->SetDelegate(game);
    // The game picks its rate when it is created, as the real one does.
    game->onCall = [this](const std::string& name) {
      if (name == "start") host->SetUpdateRate(60);
    };
  }

  // Indices of the calls with this name.
  std::vector<size_t> Indices(const std::string& name) const {
    std::vector<size_t> found;
    for (size_t i = 0; i < game->calls.size(); ++i) {
      if (game->calls[i].name == name) found.push_back(i);
    }
    return found;
  }
  // Updates between each render and the one before it.
  std::vector<int> BatchSizes() const {
    std::vector<int> sizes;
    int updates = 0;
    for (const Call& c : game->calls) {
      if (c.name == "update") ++updates;
      if (c.name == "render") {
        sizes.push_back(updates);
        updates = 0;
      }
    }
    return sizes;
  }
};

TEST_F(Loop, RateSixtyTicksEverySixtiethOfASecondWithOneRenderPerBatch) {
  double start = host->now;
  host->Run();

  std::vector<size_t> updates = Indices("update");
  ASSERT_GT(updates.size(), 400u);  // half the passes sleep, half tick
  for (size_t k = 0; k < updates.size(); ++k) {
    EXPECT_NEAR(game->calls[updates[k]].time, start + (k + 1) * TICK, EPS) << "tick " << k;
  }
  std::vector<int> batches = BatchSizes();
  EXPECT_EQ(batches.front(), 0);  // the render straight after StartGame
  for (size_t i = 1; i < batches.size(); ++i) EXPECT_EQ(batches[i], 1) << "render " << i;
  EXPECT_EQ(game->Count("start"), 1);
  EXPECT_EQ(game->Count("suspend"), 0);
}

TEST_F(Loop, AOneSecondStallRunsFourTicksOneRenderAndRestartsTheScheduleFromNow) {
  int renders = 0;
  double stallEnd = 0;
  game->onCall = [&](const std::string& name) {
    if (name == "start") host->SetUpdateRate(60);
    if (name == "render" && ++renders == 20) {
      host->now += 1.0;
      stallEnd = host->now;
    }
  };
  host->passLimit = 200;
  host->Run();

  std::vector<int> batches = BatchSizes();
  ASSERT_GT(batches.size(), 25u);
  EXPECT_EQ(batches[19], 1);  // the render that stalled
  EXPECT_EQ(batches[20], 4);  // the catch-up: four ticks, then one render
  for (size_t i = 21; i < batches.size(); ++i) EXPECT_EQ(batches[i], 1) << "render " << i;

  // After the catch-up the next tick is due at once, and the ones after it
  // every 1/60 s from there: the lost second is not made up.
  std::vector<size_t> updates = Indices("update");
  size_t firstAfter = 0;
  while (game->calls[updates[firstAfter]].time < stallEnd) ++firstAfter;
  firstAfter += 4;
  for (size_t k = 0; k < 10; ++k) {
    EXPECT_NEAR(game->calls[updates[firstAfter + k]].time, stallEnd + k * TICK, EPS) << "tick " << k;
  }
}

TEST_F(Loop, RateSetToZeroInsideATickEndsTheCatchUpAndRendersAtOnce) {
  int updates = 0;
  game->onCall = [&](const std::string& name) {
    if (name == "start") host->SetUpdateRate(60);
    if (name == "render" && game->Count("render") == 10) host->now += 1.0;  // a backlog to catch up
    if (name == "update" && ++updates == 10) host->SetUpdateRate(0);
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
    if (h.pass == 150) {
      h.iconified = false, h.active = true;
      restoredAt = h.now;
    }
  };
  host->passLimit = 300;
  host->Run();

  ASSERT_EQ(game->Count("suspend"), 1);
  ASSERT_EQ(game->Count("resume"), 1);
  size_t suspend = Indices("suspend")[0], resume = Indices("resume")[0];
  for (size_t i = suspend + 1; i < resume; ++i) {
    EXPECT_NE(game->calls[i].name, "render");
    EXPECT_NE(game->calls[i].name, "update");
  }
  // 50 waits of 0.25 s passed while iconified; none of them is made up.
  EXPECT_NEAR(game->calls[resume].time, restoredAt, EPS);
  std::vector<size_t> updates = Indices("update");
  size_t k = 0;
  while (updates[k] < resume) ++k;
  EXPECT_NEAR(game->calls[updates[k]].time, restoredAt, EPS);
  for (size_t j = 1; j < 10; ++j) EXPECT_NEAR(game->calls[updates[k + j]].time, restoredAt + j * TICK, EPS);
  std::vector<int> batches = BatchSizes();
  for (int size : batches) EXPECT_LE(size, 1);
}

TEST_F(Loop, LosingTheFocusSuspendsOnceAndRendersOnWindowEventsOnly) {
  host->onPass = [](FakeHost& h) {
    if (h.pass == 100) h.active = false;
  };
  host->passLimit = 200;
  host->Run();

  ASSERT_EQ(game->Count("suspend"), 1);
  EXPECT_EQ(game->Count("resume"), 0);
  EXPECT_FALSE(host->Iconified());
  size_t suspend = Indices("suspend")[0];
  int renders = 0;
  for (size_t i = suspend + 1; i < game->calls.size(); ++i) {
    EXPECT_EQ(game->calls[i].name, "render");
    ++renders;
    // One wait of 0.25 s between each render and the next.
    if (i + 1 < game->calls.size()) {
      EXPECT_NEAR(game->calls[i + 1].time - game->calls[i].time, 0.25, EPS);
    }
  }
  EXPECT_EQ(renders, 101);  // passes 100 .. 200; pass 201 finds the window closed
}

TEST_F(Loop, WrappersDoNothingBeforeStartGameAndKeepTheirStates) {
  host->SuspendGame();
  host->ResumeGame();
  host->UpdateGame();
  host->RenderGame();
  host->KeyEvent(1, 65);
  host->MouseEvent(4, 0, 1, 2);
  host->TouchEvent(7, 0, 1, 2);
  host->MotionEvent(10, 0, 1, 2, 3);
  host->DiscardGraphics();
  EXPECT_TRUE(game->calls.empty());
  EXPECT_FALSE(host->Started());

  host->StartGame();
  host->StartGame();
  host->ResumeGame();  // not suspended
  host->SuspendGame();
  host->SuspendGame();
  host->UpdateGame();  // no ticks while suspended
  host->RenderGame();  // but renders and events still arrive
  host->KeyEvent(1, 65);
  host->ResumeGame();
  host->UpdateGame();
  std::vector<std::string> names;
  for (const Call& c : game->calls) names.push_back(c.name);
  EXPECT_EQ(names, (std::vector<std::string>{"start", "suspend", "render", "key", "resume", "update"}));
}

TEST_F(Loop, ClockAndRateFollowTheHostTime) {
  host->now = 2.5;
  EXPECT_EQ(host->Millisecs(), 2500);
  host->SetUpdateRate(0);
  host->now = 7;
  host->SetUpdateRate(60);
  EXPECT_NEAR(host->NextUpdate(), 7 + TICK, EPS);
  EXPECT_EQ(host->UpdateRate(), 60);
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

}  // namespace
