// The drum arena: how a game lays out its drums, landing and painting, the
// paint rule and the spin switch, the spin that brings the next level, and
// the gun turning toward its aim.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/game/play_scene.h"

namespace {

using Arena = PlayScene;

TEST_F(Arena, DrumsHaveAFloorEveryThirdOrFourthRowAndANestOnOneFloorInSixteenTwelveOrEightFromRowFourteen) {
  app.options[OPTION_SOUND] = 0;  // no tune for every game started here
  app.actors[ACTORS - 1] = 5;
  app.p_LoadGame();
  EXPECT_EQ(app.actors[ACTORS - 1], 0) << "a new game clears every actor record, not only those that move";
  const double density[] = {1.0 / 16, 1.0 / 12, 1.0 / 8};
  for (int mode = 1; mode <= 3; ++mode) {
    int floors = 0, nests = 0;
    for (unsigned seed = 1; seed <= 300; ++seed) {
      vx_random_Seed = static_cast<int>(seed);
      app.gameMode = mode;
      app.p_LoadGame();
      for (int c = 0; c < DRUMS; ++c) {
        for (int r = 0, last = -1; r < DRUM_ROWS; ++r) {
          int type = app.cells[CellIndex(c, r) + CELL_TYPE];
          if (type == CELL_FLOOR) {
            ASSERT_TRUE(last < 0 ? r == 2 || r == 3 : r - last == 3 || r - last == 4) << c << " " << r;
            last = r;
            floors += r >= 14;
          } else if (type == CELL_NEST) {
            ASSERT_GE(r, 13);
            ASSERT_EQ(app.cells[CellIndex(c, r + 1) + CELL_TYPE], CELL_FLOOR);
            ++nests;
          } else {
            ASSERT_EQ(type, CELL_EMPTY);
          }
        }
      }
    }
    EXPECT_NEAR(static_cast<double>(nests) / floors, density[mode - 1], density[mode - 1] * 0.08) << mode;
  }
}

TEST_F(Arena, LandingPaintsAFloorOnceAndPaysTenWhileTurningDrumsCountNoFloors) {
  ClearView();
  ViewCell(3, 9)[CELL_TYPE] = CELL_FLOOR;
  ViewCell(5, 9)[CELL_TYPE] = CELL_FLOOR;
  PutPlayer(192 + 30, StandY(9) - 10, 2);
  int score = app.score;
  game.Step();
  EXPECT_EQ(ViewCell(3, 9)[CELL_TYPE], CELL_PAINTED);
  EXPECT_EQ(player[PLAYER_Y], StandY(9));
  EXPECT_EQ(app.score, score + 10);
  std::vector<int> sounds = game.SoundsPlayed();
  EXPECT_EQ(std::count(sounds.begin(), sounds.end(), SFX_PAINT), 1);
  game.Step(30);
  EXPECT_EQ(app.score, score + 10) << "a painted floor pays once";
  EXPECT_EQ(app.paintPercent, 50);
  EXPECT_EQ(app.floorsInView, 2) << "counted afresh every tick";

  for (int c = 0; c < DRUMS; ++c) app.columns[c * RECORD_FLOATS + DRUM_TURNS] = 20;
  game.Step();
  EXPECT_EQ(app.floorsInView, 0);
  EXPECT_EQ(app.paintPercent, 100);
  EXPECT_EQ(app.gameVars[LEVEL_SWITCH_LIT], 1);
}

TEST_F(Arena, TheSwitchLightsAtHalfPaintedWithNoLiveNestAndItsSpinBringsTheNextLevelButNeverEndsInAPause) {
  ClearView();
  for (int c = 1; c <= 4; ++c) ViewCell(c, 10)[CELL_TYPE] = c <= 2 ? CELL_PAINTED : CELL_FLOOR;
  ViewCell(6, 9)[CELL_TYPE] = CELL_NEST;
  ViewCell(6, 9)[NEST_TIMER] = 1000;
  PutPlayer(900, 768);
  game.Step();
  EXPECT_EQ(app.paintPercent, 50);
  EXPECT_EQ(app.gameVars[LEVEL_SWITCH_LIT], 0) << "a live nest in view";
  ViewCell(6, 9)[NEST_LIFE] = 0;
  game.Step(3);
  EXPECT_EQ(app.gameVars[LEVEL_SWITCH_LIT], 1);
  std::vector<int> sounds = game.SoundsPlayed();
  EXPECT_EQ(std::count(sounds.begin(), sounds.end(), SFX_SWITCH_LIT), 1);
  ViewCell(2, 10)[CELL_TYPE] = CELL_FLOOR;
  game.Step();
  EXPECT_EQ(app.gameVars[LEVEL_SWITCH_LIT], 0) << "25 %";
  ViewCell(2, 10)[CELL_TYPE] = CELL_PAINTED;

  int score = app.score;
  PutPlayer(512 + 20, 768);
  game.Step();
  EXPECT_EQ(app.score, score + 500) << "10 x 50 %";
  EXPECT_EQ(app.level, 2);
  EXPECT_EQ(app.gameVars[LEVEL_SPINNING], 1);
  EXPECT_EQ(app.musicStreaming, 0);
  for (int c = 1; c < DRUMS; ++c) {
    EXPECT_GT(app.columns[c * RECORD_FLOATS + DRUM_TURNS], app.columns[(c - 1) * RECORD_FLOATS + DRUM_TURNS] + 1);
  }
  for (int i = 0; i < CELLS; i += RECORD_FLOATS) ASSERT_NE(app.cells[i + CELL_TYPE], CELL_PAINTED);
  game.Step(20);
  EXPECT_EQ(app.score, score + 500) << "touching the switch while spinning does nothing";
  EXPECT_EQ(app.level, 2);

  app.paused = app.pauseMenuOpen = 1;  // as the back key pauses: the menu would close a pause it did not open
  size_t tunes = game.audio->Named("PlayMusic").size();
  game.Step(600);
  EXPECT_EQ(app.gameVars[LEVEL_SPINNING], 1);
  EXPECT_EQ(Count(IsRock), 0);
  EXPECT_EQ(game.audio->Named("PlayMusic").size(), tunes);
  // Paused again on the very tick after the last drum settled: the spin still waits.
  app.paused = 0;
  auto standing = [&] {
    float moving = 0;
    for (int c = 0; c < DRUMS; ++c)
      moving += app.columns[c * RECORD_FLOATS + DRUM_TURNS] + app.columns[c * RECORD_FLOATS + DRUM_PIXEL];
    return moving == 0;
  };
  int ticks = 0;
  for (; !standing() && ticks < 1000; ++ticks) game.Step();
  EXPECT_LT(ticks, 300);
  ASSERT_EQ(app.gameVars[LEVEL_SPINNING], 1);
  app.paused = 1;
  game.Step(10);
  EXPECT_EQ(app.gameVars[LEVEL_SPINNING], 1);
  EXPECT_EQ(Count(IsRock), 0);
  EXPECT_EQ(game.audio->Named("PlayMusic").size(), tunes);
  app.paused = 0;
  game.Step();
  EXPECT_EQ(app.gameVars[LEVEL_SPINNING], 0);
  ASSERT_EQ(Count(IsRock), 1);
  EXPECT_EQ(Actor(ROCK_LAST)[ACTOR_SIZE], 3);
  EXPECT_EQ(game.audio->Named("PlayMusic").size(), tunes + 1) << "the tune starts again";
  for (int c = 0; c < DRUMS; ++c) {
    EXPECT_EQ(app.columns[c * RECORD_FLOATS + DRUM_TURNS] + app.columns[c * RECORD_FLOATS + DRUM_PIXEL], 0);
  }

  // A fully painted view pays 2 500.
  ClearView();
  ViewCell(1, 10)[CELL_TYPE] = CELL_PAINTED;
  score = app.score;
  game.Step(2);
  EXPECT_EQ(app.score, score + 2500);
}

TEST(Turning, WhichWayDoIGoTakesTheShortWayRound) {
  struct Case {
    float from, to;
    int step;
  } cases[] = {{350, 10, 20}, {10, 350, -20}, {0, 180, -180}, {0, 179, 179}, {-90, 90, -180}, {450, 100, 10}};
  for (const Case& c : cases)
    EXPECT_EQ(c_MyApp::m_WhichWayDoIGo(c.from, c.to, 0, 359), c.step) << c.from << " " << c.to;
}

TEST_F(Arena, TheGunTurnsAtMostEightDegreesATickAndSettlesOnItsAim) {
  game.PadStick(0, 1, -1, 0.5f);  // aims down and to the left
  float gun = player[PLAYER_GUN];
  int ticks = 0;
  while (player[PLAYER_GUN] != player[PLAYER_GUN_TARGET] + 0.2f && ticks < 60) {
    game.Step();
    float turn = std::fmod(std::fabs(player[PLAYER_GUN] - gun), 360.0f);
    EXPECT_LE(std::min(turn, 360 - turn), 8.2f + 1e-3f);
    gun = player[PLAYER_GUN];
    ++ticks;
  }
  EXPECT_GT(ticks, 10);
  EXPECT_LT(ticks, 60);
  game.Step(5);
  EXPECT_FLOAT_EQ(player[PLAYER_GUN], player[PLAYER_GUN_TARGET] + 0.2f) << "settled";
}

}  // namespace
