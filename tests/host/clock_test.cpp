// The host's millisecond clock across its wrap: a 32-bit two's-complement
// int modulo 2^32 of the seconds the host counts, and the loop ticking on
// through the wrap without a burst.
#include <gtest/gtest.h>

#include <climits>

#include "framework/app.h"
#include "host/glfw2.h"
#include "host/headless_game.h"

namespace {

// The headless host, whose window closes once the loop has polled `passes` times.
struct ClosingHost : VxHeadlessGame {
  int passes = 0;
  void PollEvents() override { --passes; }
  int WindowParam(int param) override { return param == GLFW_OPENED ? passes > 0 : VxHeadlessGame::WindowParam(param); }
};

struct Ticks : VxGameDelegate {
  ClosingHost* host = nullptr;
  std::vector<double> times;
  std::vector<int> millis;  // as the game reads the clock
  void StartGame() override { host->SetUpdateRate(60); }
  void UpdateGame() override {
    times.push_back(host->now);
    millis.push_back(host->Millisecs());
  }
};

TEST(Clock, MillisecsWrapsModulo2To32AndTheLoopTicksEvenlyThroughTheWrap) {
  ClosingHost host;
  const struct {
    double seconds;
    int millis;
  } cases[] = {{0.0015, 1},       {2147483.6475, INT_MAX}, {2147483.6485, INT_MIN},      {4294967.2955, -1},
               {4294967.2965, 0}, {-0.0005, -1},           {3 * 4294967.296 + 0.0055, 5}};
  for (const auto& c : cases) {
    host.now = c.seconds;
    EXPECT_EQ(host.Millisecs(), c.millis) << c.seconds;
  }

  Ticks* game = new Ticks();
  game->host = &host;
  host.SetDelegate(game);
  host.now = 2147483.0;  // 648 ms before the wrap
  host.passes = 200;
  host.Run();
  ASSERT_GT(game->millis.size(), 80u);
  EXPECT_GT(game->millis.front(), 0);
  EXPECT_LT(game->millis.back(), 0);
  for (size_t i = 1; i < game->millis.size(); ++i) {
    EXPECT_NEAR(game->times[i] - game->times[i - 1], 1.0 / 60, 1e-6) << i;
    int step = vx_app_MillisecsBetween(game->millis[i - 1], game->millis[i]);
    EXPECT_TRUE(step == 16 || step == 17) << i << ": " << step;
  }
}

}  // namespace
