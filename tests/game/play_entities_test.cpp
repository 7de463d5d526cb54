// Shots, rocks, pops and bugs: what a full table creates, how rocks split,
// which target a shot hits, what a pause stops, the bug limit, the walls
// round the player, and the hits that end a game.
#include <gtest/gtest.h>

#include <vector>

#include "tests/game/play_scene.h"

namespace {

constexpr float TAKEN = 100;  // a kind no update moves

using Entities = PlayScene;

std::vector<float> Copy(const Array<float>& table) { return std::vector<float>(table.begin(), table.end()); }

TEST_F(Entities, FullRangesCreateNothingWhileGimmeStillPays) {
  for (int r = 0; r < ACTORS_UPDATED; ++r) Actor(r)[ACTOR_KIND] = TAKEN;
  for (int r = 0; r <= app.particleLimit; ++r) app.particles[r * RECORD_FLOATS] = 1;
  std::vector<float> actors = Copy(app.actors), particles = Copy(app.particles);
  app.p_Shoot(300, 300, 0, 1, 1);
  app.p_AddRock(300, 300, 3, VX_NONE);
  app.p_AddBug(300, 300, 1);
  app.p_AddPop(300, 300, 1);
  app.p_AddPop2(300, 300, 1);
  app.p_ThrowParticle(300, 300, 1, 1, VX_NONE, VX_NONE);
  app.p_AddParticle(1, 300, 300, 0, 0, 1, 1, 1);
  int score = app.score;
  app.p_Gimme(77, 300, 300);
  EXPECT_EQ(app.score, score + 77);
  EXPECT_EQ(Copy(app.actors), actors);
  EXPECT_EQ(Copy(app.particles), particles);

  // A nest whose timer runs out hatches into the full table: nothing.
  ViewCell(2, 8)[CELL_TYPE] = CELL_NEST;
  ViewCell(2, 8)[NEST_TIMER] = 0;
  game.Step();
  EXPECT_GT(ViewCell(2, 8)[NEST_TIMER], 0);
  EXPECT_EQ(Count(IsBug), 0);
}

TEST_F(Entities, ASizeThreeRockSplitsIntoFourThenSixteenWithinTheRockRecords) {
  app.p_AddRock(300, 300, 3, VX_NONE);
  int expected[] = {0, 16, 4, 1};  // rocks of each size after destroying all rocks of the size above
  for (int size = 3; size >= 0; --size) {
    int sizes[4] = {};
    for (int r = 0; r < ACTOR_RECORDS; ++r) {
      if (!IsRock(Actor(r)[ACTOR_KIND])) continue;
      EXPECT_LE(r, ROCK_LAST);
      ++sizes[static_cast<int>(Actor(r)[ACTOR_SIZE])];
    }
    for (int s = 1; s <= 3; ++s) EXPECT_EQ(sizes[s], s == size ? expected[s] : 0) << size << " " << s;
    for (int r = ROCK_FIRST; r <= ROCK_LAST; ++r) {
      if (IsRock(Actor(r)[ACTOR_KIND])) Actor(r)[ACTOR_HITS] = 0;
    }
    int score = app.score;
    game.Step();
    EXPECT_EQ(app.score, score + 25 * sizes[size]);
  }

  // With 48 of the 51 records taken, a big rock leaves two: its own is freed last.
  for (int r = 0; r < 48; ++r) Actor(r)[ACTOR_KIND] = TAKEN;
  app.p_AddRock(300, 300, 3, VX_NONE);
  Actor(ROCK_LAST)[ACTOR_HITS] = 0;
  game.Step();
  EXPECT_EQ(Count(IsRock), 2);
}

TEST_F(Entities, AShotIsConsumedByTheFirstTargetInRecordOrder) {
  app.p_AddRock(300, 300, 2, VX_NONE);
  app.p_AddRock(300, 300, 2, VX_NONE);
  for (int r : {ROCK_LAST, ROCK_LAST - 1}) Actor(r)[ACTOR_VX] = Actor(r)[ACTOR_VY] = 0;
  app.p_Shoot(300, 300, 0, 1, 1);
  int score = app.score;
  game.Step();
  EXPECT_EQ(Actor(ROCK_LAST - 1)[ACTOR_HITS], 9);
  EXPECT_EQ(Actor(ROCK_LAST)[ACTOR_HITS], 10);
  EXPECT_EQ(Count(IsShot), 0);
  EXPECT_EQ(app.score, score + 1);
}

TEST_F(Entities, APauseStopsEverythingButPops) {
  app.p_AddRock(300, 300, 2, VX_NONE);
  app.p_AddBug(200, 768, 1);
  app.p_Shoot(600, 300, 90, 1, 1);
  app.p_AddPop(400, 300, 2);
  app.paused = app.pauseMenuOpen = 1;  // as the back key pauses: the menu would close a pause it did not open
  std::vector<float> before = Copy(app.actors);
  game.Step(65);
  EXPECT_EQ(Count(IsPop), 0) << "burnt out while paused";
  for (int r = 0; r < ACTOR_RECORDS; ++r) {
    float kind = before[r * RECORD_FLOATS + ACTOR_KIND];
    if (kind == 0 || IsPop(kind)) continue;
    EXPECT_EQ(Actor(r)[ACTOR_KIND], kind) << r;
    EXPECT_EQ(Actor(r)[ACTOR_X], before[r * RECORD_FLOATS + ACTOR_X]) << r;
    EXPECT_EQ(Actor(r)[ACTOR_Y], before[r * RECORD_FLOATS + ACTOR_Y]) << r;
  }
}

TEST_F(Entities, NestsHatchNoBugWhileOneHundredAndTwentyAreAbout) {
  ClearView();
  int* nest = ViewCell(2, 8);
  nest[CELL_TYPE] = CELL_NEST;
  nest[NEST_TIMER] = 1000;
  for (int r = 60; r < 180; ++r) app.p_AddBug(900, 768, 1);
  game.Step();
  ASSERT_EQ(app.bugCount, 120);
  nest[NEST_TIMER] = 0;
  game.Step();
  EXPECT_GT(nest[NEST_TIMER], 0);
  EXPECT_EQ(Count(IsBug), 120);

  Actor(SMALL_LAST)[ACTOR_KIND] = 0;
  game.Step();
  nest[NEST_TIMER] = 0;
  game.Step();
  EXPECT_EQ(Count(IsBug), 120) << "119 counted: one hatches";
}

TEST_F(Entities, ThePlayerStaysBetweenTheWallsAndStandsOnTheArenaFloor) {
  ClearView();
  game.KeyDown(KEY_LEFT);
  game.Step(200);
  EXPECT_EQ(player[PLAYER_X], -16);
  EXPECT_EQ(player[PLAYER_Y], 768);
  game.KeyUp(KEY_LEFT);
  game.KeyDown(KEY_RIGHT);
  game.Step(300);
  EXPECT_EQ(player[PLAYER_X], 1040);
  EXPECT_EQ(player[PLAYER_Y], 768);
}

TEST_F(Entities, FourHitsEndTheGame) {
  for (int hit = 1; hit <= 4; ++hit) {
    app.shieldTimer = 0;
    app.p_AddBug(player[PLAYER_X], player[PLAYER_Y], 1);
    game.Step();
    EXPECT_EQ(app.lives, 3 - hit);
    EXPECT_EQ(app.shieldTimer, app.shieldTime) << "shielded again";
    EXPECT_EQ(app.gameOverTimer, hit == 4 ? 1 : 0);
  }
  EXPECT_EQ(app.musicStreaming, 0);
}

}  // namespace
