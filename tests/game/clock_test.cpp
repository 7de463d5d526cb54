// The game across the wrap of the host's millisecond clock: the frame rates
// stay near 60 a second and the lit switch keeps blinking.
#include <gtest/gtest.h>

#include "game/core/records.h"
#include "tests/support/game_harness.h"

namespace {

// How often the shown switch changes between lit and unlit in `frames`.
int Changes(const std::string& frames) {
  int changes = 0;
  for (size_t i = 1; i < frames.size(); ++i) changes += frames[i] != frames[i - 1];
  return changes;
}

TEST(GameClock, FrameRatesStayNear60AndTheLitSwitchBlinksThroughTheWrap) {
  GameHarness game;
  StartPlay(game, 1, 1);
  game.host->now = 2147482.5;  // the clock wraps after 1148 ms, in tick 69
  std::string lit;             // a character a frame: whether the switch showed lit
  for (int tick = 0; tick < 180; ++tick) {
    // Every floor painted and no nest: the switch is lit.
    for (int cell = 0; cell < DRUMS * DRUM_ROWS; ++cell) {
      int& type = game.app->cells[cell * RECORD_FLOATS + CELL_TYPE];
      if (type == CELL_FLOOR || type == CELL_NEST) type = CELL_PAINTED;
    }
    game.Step();
    if (tick > 0) {
      EXPECT_NEAR(game.app->fps, 60, 3) << tick;
      EXPECT_NEAR(game.app->renderFps, 60, 3) << tick;
    }
    int shown = 0;
    for (const DrawRecord& r : game.Images(IMG_TILES)) shown += r.frame == 11 ? 2 : r.frame == 10 ? 1 : 0;
    ASSERT_TRUE(shown == 1 || shown == 2) << tick;
    lit += shown == 2 ? '1' : '0';
  }
  // 350 ms lit in every 650: on both sides of the wrap it goes on and off.
  EXPECT_GE(Changes(lit.substr(0, 69)), 3) << lit;
  EXPECT_GE(Changes(lit.substr(69)), 4) << lit;
}

}  // namespace
