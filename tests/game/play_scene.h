// Scenes set up by writing the game's tables:
// the arena's cells in view, the player, the actors.
#pragma once
#include <gtest/gtest.h>

#include "framework/random.h"
#include "game/core/records.h"
#include "tests/support/play_bot.h"

struct PlayScene : ::testing::Test {
  GameHarness game;
  c_MyApp& app = *game.app;
  float* player = &app.gameVars[0];

  void SetUp() override { StartPlay(game, 2, 1); }

  // Row k (4 .. 11) of drum c's view.
  int* ViewCell(int c, int k) {
    return &app.cells[CellIndex(c, (static_cast<int>(app.columns[c * RECORD_FLOATS + DRUM_ROW]) + k) % DRUM_ROWS)];
  }
  // The world y of the centre of view row k of a still drum, and where a body stands on it.
  static float StandY(int k) { return CELL * static_cast<float>(k); }

  void ClearView() {
    for (int c = 0; c < DRUMS; ++c) {
      for (int k = VIEW_FIRST_ROW; k <= VIEW_LAST_ROW; ++k) ViewCell(c, k)[CELL_TYPE] = CELL_EMPTY;
    }
  }
  void PutPlayer(float x, float y, float speedY = 0) {
    player[PLAYER_X] = x;
    player[PLAYER_Y] = y;
    player[PLAYER_SPEED_Y] = speedY;
  }
  float* Actor(int record) { return &app.actors[record * RECORD_FLOATS]; }
  int Count(bool (*is)(float), int first = 0, int last = ACTOR_RECORDS - 1) {
    int n = 0;
    for (int r = first; r <= last; ++r) n += is(Actor(r)[ACTOR_KIND]);
    return n;
  }
};
