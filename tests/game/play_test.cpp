// Play: the drums, what every event pays and sounds, rocks, bugs, nests, shots, badges, scores, the sequencer.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <set>

#include "framework/random.h"
#include "game/core/globals.h"
#include "game/core/records.h"
#include "tests/support/game_harness.h"

namespace {

constexpr float TAKEN = 100;  // a kind no update moves

// The sequencer's notes played.
int Notes(const GameHarness& game) {
  int n = 0;
  for (const AudioCall& call : game.audio->calls) n += call.path.find("inst/") != std::string::npos;
  return n;
}

// A game of mode 2 from seed 1, and scenes set up by writing its tables.
struct Play : ::testing::Test {
  GameHarness game;
  c_MyApp& app = *game.app;
  float* player = &app.gameVars[0];

  void SetUp() override { StartPlay(game, 2, 1); }

  // Row k (4 .. 11) of drum c's view.
  int* ViewCell(int c, int k) {
    return &app.cells[CellIndex(c, (static_cast<int>(app.columns[c * RECORD_FLOATS + DRUM_ROW]) + k) % DRUM_ROWS)];
  }
  // Where a body stands on view row k of a still drum.
  static float StandY(int k) { return CELL * static_cast<float>(k); }
  void ClearView() {
    for (int c = 0; c < DRUMS; ++c) {
      for (int k = VIEW_FIRST_ROW; k <= VIEW_LAST_ROW; ++k) ViewCell(c, k)[CELL_TYPE] = CELL_EMPTY;
    }
  }
  void PutPlayer(float x, float y, float speedY = 0) {
    player[PLAYER_X] = x, player[PLAYER_Y] = y, player[PLAYER_SPEED_Y] = speedY;
  }
  void ClearActors() { std::fill(app.actors.begin(), app.actors.end(), 0.0f); }
  // A nest on view row k of drum c.
  int* Nest(int c, int k, int timer, int life = 30) {
    int* cell = ViewCell(c, k);
    cell[CELL_TYPE] = CELL_NEST, cell[NEST_TIMER] = timer, cell[NEST_LIFE] = life;
    return cell;
  }
  // A floor under a player falling onto it.
  void PaintFloor() {
    ViewCell(3, 9)[CELL_TYPE] = CELL_FLOOR;
    PutPlayer(3 * CELL, StandY(9) - 10, 2);
  }
  float* Actor(int record) { return &app.actors[record * RECORD_FLOATS]; }
  int Count(bool (*is)(float)) {
    int n = 0;
    for (int r = 0; r < ACTOR_RECORDS; ++r) n += is(Actor(r)[ACTOR_KIND]);
    return n;
  }
  void StopDrums() {
    app.gameVars[LEVEL_SPINNING] = 0;
    for (int c = 0; c < DRUMS; ++c)
      app.columns[c * RECORD_FLOATS + DRUM_TURNS] = app.columns[c * RECORD_FLOATS + DRUM_PIXEL] = 0;
  }
  // The floors of view row 10 in drums 1 to 4, the first `painted` of them painted.
  void Floors(int painted) {
    for (int c = 1; c <= 4; ++c) ViewCell(c, 10)[CELL_TYPE] = c <= painted ? CELL_PAINTED : CELL_FLOOR;
  }
};

TEST_F(Play, DrumsHaveAFloorEveryThirdOrFourthRowAndANestOnOneFloorInSixteenTwelveOrEightFromRowFourteen) {
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
          } else {  // a nest stands on a floor from row 13; the rest is empty
            bool onFloor = r >= 13 && app.cells[CellIndex(c, r + 1) + CELL_TYPE] == CELL_FLOOR;
            ASSERT_TRUE(type == CELL_NEST ? onFloor : type == CELL_EMPTY) << c << " " << r;
            nests += type == CELL_NEST;
          }
        }
      }
    }
    EXPECT_NEAR(static_cast<double>(nests) / floors, density[mode - 1], density[mode - 1] * 0.08) << mode;
  }
}

TEST_F(Play, EveryEventPaysItsPointsWithItsSound) {
  // What a play tick may sound: a slot range, rate 1, and a volume range.
  struct Heard {
    int first, last;
    float volumeLow, volumeHigh;
  };
  const Heard PAINT{SFX_PAINT, SFX_PAINT, 0.5f, 0.5f}, HIT{10, 13, 0.7f, 1.3f}, BURST{15, 18, 0.7f, 1.3f};
  const Heard LIT{SFX_SWITCH_LIT, SFX_SWITCH_LIT, 1, 1}, SPIN{SFX_SWITCH_HIT, SFX_SWITCH_HIT, 1, 1};
  // Shots land where the target is tested before the shot moves.
  auto nest = [&](int life) {
    Nest(6, 8, 1000, life);
    app.p_Shoot(6 * CELL, StandY(8) + STAND + 16, 90, 1, 1);
  };
  auto rock = [&](int size, float hits) {
    app.p_AddRock(300, 400, size, VX_NONE);
    Actor(ROCK_LAST)[ACTOR_HITS] = hits;
    app.p_Shoot(300, 400, 90, 1, 1);
  };
  auto bug = [&](int type, float hits) {
    app.p_Shoot(300, ARENA_FLOOR, 90, 1, 1);
    app.p_AddBug(300, ARENA_FLOOR, type);
    Actor(SMALL_LAST - 1)[ACTOR_HITS] = hits;
  };
  auto switchAt = [&](int painted) {
    ViewCell(12, 5)[CELL_TYPE] = CELL_EMPTY;
    Floors(painted);
    PutPlayer(512, ARENA_FLOOR);
  };
  struct Event {
    const char* name;
    std::function<void()> setUp;
    int points;
    std::vector<Heard> sounds;
  } events[] = {
      {"floor painted", [&] { PaintFloor(); }, 10, {PAINT}},
      {"nest hit", [&] { nest(30); }, 1, {HIT}},
      {"nest destroyed", [&] { nest(1); }, 1 + 100, {HIT, BURST}},
      {"rock hit", [&] { rock(3, 10); }, 1, {HIT}},
      {"rock of 3 destroyed", [&] { rock(3, 1); }, 1 + 25, {HIT, BURST}},
      {"rock of 2 destroyed", [&] { rock(2, 1); }, 1 + 25, {HIT, BURST}},
      {"rock of 1 destroyed", [&] { rock(1, 1); }, 1 + 25, {HIT, BURST}},
      {"bug hit", [&] { bug(3, 15); }, 1, {HIT}},
      {"bug of type 1 destroyed", [&] { bug(1, 1); }, 1 + 10, {HIT, HIT}},
      {"bug of type 2 destroyed", [&] { bug(2, 1); }, 1 + 20, {HIT, HIT}},
      {"bug of type 3 destroyed", [&] { bug(3, 1); }, 1 + 30, {HIT, HIT}},
      {"switch hit at 50 %", [&] { switchAt(2); }, 10 * 50, {LIT, SPIN}},
      {"switch hit at 100 %", [&] { switchAt(4); }, 2500, {SPIN}},  // lit since the last hit
  };
  for (const Event& e : events) {
    ClearActors();
    StopDrums();
    ClearView();
    // A live nest out of reach keeps the switch dark, and silent, until a row wants it.
    Nest(12, 5, 1000);
    PutPlayer(900, ARENA_FLOOR);
    e.setUp();
    game.audio->calls.clear();
    int score = app.score;
    game.Step();
    EXPECT_EQ(app.score - score, e.points) << e.name;
    std::vector<Sound> sounds = game.SoundsPlayed();
    ASSERT_EQ(sounds.size(), e.sounds.size()) << e.name;
    for (size_t i = 0; i < sounds.size(); ++i) {
      const Heard& h = e.sounds[i];
      const Sound& s = sounds[i];
      EXPECT_TRUE(s.slot >= h.first && s.slot <= h.last && s.rate == 1 && s.volume >= h.volumeLow &&
                  s.volume <= h.volumeHigh)
          << e.name << ": " << ::testing::PrintToString(s);
    }
  }
}

TEST_F(Play, LandingPaintsAndTheSwitchLightsAtHalfPaintedWithNoLiveNestAndItsSpinBringsTheNextLevel) {
  ClearView();
  ViewCell(3, 9)[CELL_TYPE] = ViewCell(5, 9)[CELL_TYPE] = CELL_FLOOR;
  PutPlayer(3 * CELL + 30, StandY(9) - 10, 2);
  game.Step();
  EXPECT_EQ((Floats{float(ViewCell(3, 9)[CELL_TYPE]), player[PLAYER_Y]}), (Floats{CELL_PAINTED, StandY(9)}));
  game.Step(30);
  EXPECT_EQ((Ints{app.paintPercent, app.floorsInView}), (Ints{50, 2})) << "counted afresh every tick";
  for (int c = 0; c < DRUMS; ++c) app.columns[c * RECORD_FLOATS + DRUM_TURNS] = 20;
  game.Step();
  EXPECT_EQ((Ints{app.paintPercent, app.floorsInView}), (Ints{100, 0})) << "turning drums count no floors";
  StopDrums();

  ClearView();
  Floors(0);  // dark again below half painted
  PutPlayer(900, ARENA_FLOOR);
  game.Step();
  Floors(2);
  Nest(6, 9, 1000);
  game.Step();
  EXPECT_EQ(app.gameVars[LEVEL_SWITCH_LIT], 0) << "a live nest in view";
  ViewCell(6, 9)[NEST_LIFE] = 0;
  game.Step(3);
  float lit = app.gameVars[LEVEL_SWITCH_LIT];
  ViewCell(2, 10)[CELL_TYPE] = CELL_FLOOR;  // 25 %
  game.Step();
  EXPECT_EQ((Floats{lit, app.gameVars[LEVEL_SWITCH_LIT]}), (Floats{1, 0}));
  ViewCell(2, 10)[CELL_TYPE] = CELL_PAINTED;

  PutPlayer(512 + 20, ARENA_FLOOR);
  game.Step();
  EXPECT_EQ((Ints{app.level, int(app.gameVars[LEVEL_SPINNING]), app.musicStreaming}), (Ints{2, 1, 0}));
  for (int c = 1; c < DRUMS; ++c)
    EXPECT_GT(app.columns[c * RECORD_FLOATS + DRUM_TURNS], app.columns[(c - 1) * RECORD_FLOATS + DRUM_TURNS] + 1);
  for (int i = 0; i < CELLS; i += RECORD_FLOATS) ASSERT_NE(app.cells[i + CELL_TYPE], CELL_PAINTED);
  int score = app.score;
  game.Step(20);
  EXPECT_EQ((Ints{app.score, app.level}), (Ints{score, 2})) << "touching the switch while spinning does nothing";

  app.paused = app.pauseMenuOpen = 1;  // as the back key pauses: the menu would close a pause it did not open
  int tunes = game.audio->Count("PlayMusic");
  game.Step(600);
  EXPECT_EQ((Ints{int(app.gameVars[LEVEL_SPINNING]), Count(IsRock)}), (Ints{1, 0}));
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
  ASSERT_TRUE(ticks < 300 && app.gameVars[LEVEL_SPINNING] == 1) << ticks;
  app.paused = 1;
  game.Step(10);
  EXPECT_EQ((Ints{int(app.gameVars[LEVEL_SPINNING]), Count(IsRock), game.audio->Count("PlayMusic")}),
            (Ints{1, 0, tunes}));
  app.paused = 0;
  game.Step();
  // The spin ends: a big rock drops in, and the tune starts again.
  EXPECT_EQ((Floats{app.gameVars[LEVEL_SPINNING], float(Count(IsRock)), float(game.audio->Count("PlayMusic")),
                    Actor(ROCK_LAST)[ACTOR_SIZE], float(standing())}),
            (Floats{0, 1, float(tunes + 1), 3, 1}));
}

TEST_F(Play, NestTimersFallWithTheLevelFromTheRangeOfEachMode) {
  ClearView();
  PutPlayer(900, ARENA_FLOOR);
  // Mode, level, and the range of timers (high excluded; below 100 a timer is 80 .. 119).
  for (auto [mode, level, from, to] : {std::array{1, 1, 175, 345},
                                       {2, 1, 155, 285},
                                       {3, 1, 135, 230},
                                       {1, 8, 140, 240},
                                       {2, 8, 120, 180},
                                       {3, 8, 100, 160},
                                       {3, 14, 80, 120}}) {
    app.gameMode = mode, app.level = level;
    int low = 1 << 30, high = 0;
    for (int tick = 0; tick < 12; ++tick) {
      for (int c = 0; c < DRUMS; ++c) Nest(c, 8, 0);
      app.shieldTimer = 100;
      game.Step();
      for (int c = 0; c < DRUMS; ++c) {
        low = std::min(low, ViewCell(c, 8)[NEST_TIMER]);
        high = std::max(high, ViewCell(c, 8)[NEST_TIMER]);
      }
      ClearActors();
    }
    int spread = (to - from) / 20;  // 192 timers drawn: the extremes come close
    EXPECT_TRUE(low >= from && low < from + spread && high < to && high >= to - spread)
        << mode << " " << level << ": " << low << " .. " << high;
  }
}

TEST_F(Play, RocksSplitIntoFourOfTheNextSizeHeadingRoundTheirLastHitAndTheSmallestGoTwiceAsFast) {
  for (float direction : {90.0f, 200.0f}) {
    for (int size = 3; size >= 1; --size) {
      ClearActors();
      app.p_AddRock(500, 400, size, VX_NONE);
      Actor(ROCK_LAST)[ACTOR_HITS] = 1;
      app.p_Shoot(500, 400, direction, 1, 1);
      game.Step();
      int pieces = 0;
      for (int r = ROCK_FIRST; r <= ROCK_LAST; ++r) {
        const float* rock = Actor(r);
        if (!IsRock(rock[ACTOR_KIND])) continue;
        ++pieces;
        EXPECT_EQ(rock[ACTOR_SIZE], size - 1);
        float heading = std::atan2(rock[ACTOR_VX], -rock[ACTOR_VY]) * 57.29578f;
        EXPECT_LE(std::fabs(std::remainder(heading - direction, 360.0f)), 45.01f) << direction << " " << size;
      }
      EXPECT_EQ(pieces, size > 1 ? 4 : 0) << "a rock of size 1 is gone for good";
    }
  }
  // They head off up to 45 degrees either side of the hit.
  float low = 0, high = 0;
  for (int i = 0; i < 200; ++i) {
    app.p_AddRock(500, 400, 2, 200);
    float* rock = Actor(ROCK_LAST);
    float d = std::remainder(std::atan2(rock[ACTOR_VX], -rock[ACTOR_VY]) * 57.29578f - 200, 360.0f);
    low = std::min(low, d), high = std::max(high, d), rock[ACTOR_KIND] = 0;
  }
  EXPECT_TRUE(low >= -45.01f && low < -40 && high <= 45.01f && high > 40) << low << " " << high;
  float speeds[3];
  for (int size : {1, 2}) {
    vx_random_Seed = 7;
    ClearActors();
    app.p_AddRock(500, 400, size, 90);
    speeds[size] = std::hypot(Actor(ROCK_LAST)[ACTOR_VX], Actor(ROCK_LAST)[ACTOR_VY]);
  }
  EXPECT_FLOAT_EQ(speeds[1], 2 * speeds[2]);

  // With 48 of the 51 records taken, a big rock leaves two: its own is freed last.
  for (int r = 0; r < 48; ++r) Actor(r)[ACTOR_KIND] = TAKEN;
  app.p_AddRock(300, 300, 3, VX_NONE);
  Actor(ROCK_LAST)[ACTOR_HITS] = 0;
  game.Step();
  EXPECT_EQ(Count(IsRock), 2);
}

TEST_F(Play, ABugLandsOnAStillTileAsThePlayerDoes) {
  ClearView();
  ViewCell(3, 9)[CELL_TYPE] = CELL_FLOOR;
  PutPlayer(900, ARENA_FLOOR);
  app.p_AddBug(3 * CELL, StandY(9) - 8, 1);
  app.p_AddBug(5 * CELL, StandY(9) - 8, 1);  // over nothing
  Actor(SMALL_LAST)[ACTOR_VY] = Actor(SMALL_LAST - 1)[ACTOR_VY] = 2;
  game.Step(10);
  EXPECT_TRUE(Actor(SMALL_LAST)[ACTOR_Y] == StandY(9) && Actor(SMALL_LAST - 1)[ACTOR_Y] > StandY(9) + 20);
}

TEST_F(Play, FullRangesCreateNothingWhileGimmeStillPays) {
  for (int r = 0; r < ACTORS_UPDATED; ++r) Actor(r)[ACTOR_KIND] = TAKEN;
  for (int r = 0; r <= app.particleLimit; ++r) app.particles[r * RECORD_FLOATS] = 1;
  std::vector<float> actors(app.actors.begin(), app.actors.end()),
      particles(app.particles.begin(), app.particles.end());
  app.p_Shoot(300, 300, 0, 1, 1);
  app.p_AddRock(300, 300, 3, VX_NONE);
  app.p_AddBug(300, 300, 1);
  app.p_AddPop(300, 300, 1);
  app.p_AddPop2(300, 300, 1);
  app.p_ThrowParticle(300, 300, 1, 1, VX_NONE, VX_NONE);
  app.p_AddParticle(1, 300, 300, 0, 0, 1, 1, 1);
  app.score = 0;
  app.p_Gimme(77, 300, 300);
  EXPECT_EQ(app.score, 77);
  EXPECT_EQ(std::vector<float>(app.actors.begin(), app.actors.end()), actors);
  EXPECT_EQ(std::vector<float>(app.particles.begin(), app.particles.end()), particles);

  // A nest whose timer runs out hatches into the full table: nothing.
  Nest(2, 8, 0);
  game.Step();
  EXPECT_TRUE(ViewCell(2, 8)[NEST_TIMER] > 0 && Count(IsBug) == 0);
}

TEST_F(Play, APauseStopsEverythingButPopsAndTheTune) {
  app.p_AddRock(300, 300, 2, VX_NONE);
  app.p_AddBug(200, ARENA_FLOOR, 1);
  app.p_Shoot(600, 300, 90, 1, 1);
  app.p_AddPop(400, 300, 2);
  app.paused = app.pauseMenuOpen = 1;  // as the back key pauses: the menu would close a pause it did not open
  std::vector<float> before(app.actors.begin(), app.actors.end());
  game.audio->calls.clear();
  game.Step(65);
  EXPECT_EQ(Count(IsPop), 0) << "burnt out while paused";
  for (int r = 0; r < ACTOR_RECORDS; ++r) {
    const float* was = &before[r * RECORD_FLOATS];
    if (was[ACTOR_KIND] == 0 || IsPop(was[ACTOR_KIND])) continue;
    for (int f : {ACTOR_KIND, ACTOR_X, ACTOR_Y}) EXPECT_EQ(Actor(r)[f], was[f]) << r << " " << f;
  }
  app.paused = 0;
  game.Step();
  EXPECT_EQ((Ints{game.audio->Count("PauseMusic"), game.audio->Count("ResumeMusic")}), (Ints{65, 1})) << "the tune";
}

TEST_F(Play, NestsHatchNoBugWhileOneHundredAndTwentyAreAbout) {
  ClearView();
  int* nest = Nest(2, 8, 1000);
  for (int r = 60; r < 180; ++r) app.p_AddBug(900, ARENA_FLOOR, 1);
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

TEST_F(Play, ThePlayerStaysBetweenTheWallsAndFourHitsEndTheGame) {
  ClearView();
  for (auto [key, wall] : {std::pair{KEY_LEFT, -16}, {KEY_RIGHT, 1040}}) {
    game.Hold(key, 300);
    EXPECT_EQ((Floats{player[PLAYER_X], player[PLAYER_Y]}), (Floats{float(wall), ARENA_FLOOR}));
  }
  for (int hit = 1; hit <= 4; ++hit) {
    app.shieldTimer = 0;
    app.p_AddBug(player[PLAYER_X], player[PLAYER_Y], 1);
    game.Step();
    EXPECT_EQ((Ints{app.lives, app.shieldTimer, app.gameOverTimer}), (Ints{3 - hit, app.shieldTime, hit == 4}));
  }
  EXPECT_EQ(app.musicStreaming, 0);
}

TEST_F(Play, TheGunTurnsAtMostEightDegreesATickTheShortWayRoundAndSettlesOnItsAim) {
  for (auto [from, to, step] :
       {std::array{350, 10, 20}, {10, 350, -20}, {0, 180, -180}, {0, 179, 179}, {-90, 90, -180}, {450, 100, 10}}) {
    EXPECT_EQ(c_MyApp::m_WhichWayDoIGo(float(from), float(to), 0, 359), step) << from << " " << to;
  }
  game.PadStick(0, 1, -1, 0.5f);  // aims down and to the left
  int ticks = 0;
  for (float gun = player[PLAYER_GUN]; gun != player[PLAYER_GUN_TARGET] + 0.2f && ticks < 60; ++ticks) {
    game.Step();
    float turn = std::fmod(std::fabs(player[PLAYER_GUN] - gun), 360.0f);
    EXPECT_LE(std::min(turn, 360 - turn), 8.2f + 1e-3f);
    gun = player[PLAYER_GUN];
  }
  game.Step(5);
  EXPECT_TRUE(ticks > 10 && ticks < 60 && player[PLAYER_GUN] == player[PLAYER_GUN_TARGET] + 0.2f) << ticks;
}

TEST_F(Play, EachBadgeIsEarnedOnceByItsPlayEventWithAPopUpAndKeptInTheSavedState) {
  ClearView();
  PutPlayer(900, ARENA_FLOOR);
  // The badges `act` earns, each of which must pop up.
  auto earned = [&](const std::function<void()>& act) {
    std::vector<bool> had(app.badges.begin(), app.badges.end());
    act();
    std::set<int> now, shown;
    for (int id = 0; id < BADGES; ++id) {
      if (app.badges[id] && !had[id]) now.insert(id);
    }
    for (int slot = 0; slot < 13; ++slot) {
      if (app.badgeShown[slot] > 0) shown.insert(app.badgeState[slot]);
      app.badgeShown[slot] = 0;
    }
    EXPECT_EQ(shown, now);
    return now;
  };
  auto paint = [&] { PaintFloor(), game.Step(); };
  auto destroyNest = [&] {
    Nest(6, 8, 1000, 1);
    app.p_Shoot(6 * CELL, StandY(8) + STAND + 16, 0, 1, 1);
    game.Step();
  };
  // A big rock and its pieces, a size a tick: only the last piece earns it.
  auto smashRock = [&] {
    app.p_AddRock(300, 300, 3, VX_NONE);
    for (int size = 3; size >= 1; --size) {
      EXPECT_FALSE(app.badges[3]) << size;
      for (int r = ROCK_FIRST; r <= ROCK_LAST; ++r) Actor(r)[ACTOR_HITS] = 0;
      game.Step();
    }
  };
  // The switch hit with half or all of the floors in view painted; the spin is cut short.
  auto hitSwitch = [&](int fromLevel, bool allPainted) {
    ClearView();
    Floors(allPainted ? 4 : 2);
    app.level = fromLevel;
    PutPlayer(512, ARENA_FLOOR);
    game.Step(2);
    StopDrums();
    ClearView();
    PutPlayer(900, ARENA_FLOOR);
  };
  auto destroyBugs = [&](int n) {
    ClearActors();
    for (int i = 0; i < n; ++i) app.p_AddBug(700, ARENA_FLOOR, 1);
    for (int r = SMALL_FIRST; r <= SMALL_LAST; ++r) Actor(r)[ACTOR_HITS] = 0;
    game.Step();
  };
  auto endGame = [&](int mode) {
    StartPlay(game, mode, 1);
    app.lives = -1;
    for (int i = 0; i < 200 && app.screenMode != SCREEN_TITLE; ++i) game.Step();
    StartPlay(game, 2, 1);
    ClearView();
  };

  std::set<int> none;
  EXPECT_EQ(earned(paint), std::set<int>{1});
  EXPECT_EQ(earned(paint), none);
  EXPECT_EQ(earned(destroyNest), std::set<int>{2});
  EXPECT_EQ(earned(smashRock), std::set<int>{3});
  EXPECT_EQ(earned([&] { hitSwitch(1, false); }), none);
  EXPECT_EQ(earned([&] { hitSwitch(2, false); }), std::set<int>{4});
  EXPECT_EQ(earned([&] { hitSwitch(4, false); }), std::set<int>{5});
  EXPECT_EQ(earned([&] { hitSwitch(9, true); }), (std::set<int>{6, 7}));
  EXPECT_EQ(earned([&] { app.score = 9999, game.Step(); }), none);
  EXPECT_EQ(earned([&] { app.score = 10000, game.Step(); }), std::set<int>{8});
  EXPECT_EQ(earned([&] { destroyBugs(49); }), none);
  StartPlay(game, 2, 1);
  EXPECT_EQ(earned([&] { destroyBugs(49); }), none) << "fifty in one game";
  EXPECT_EQ(earned([&] { destroyBugs(1); }), std::set<int>{9});
  EXPECT_EQ(earned([&] { endGame(2); }), std::set<int>{11});
  EXPECT_EQ(earned([&] { endGame(1); }), std::set<int>{10});
  EXPECT_EQ(earned([&] { endGame(3); }), std::set<int>{12});
  EXPECT_EQ(earned([&] { endGame(3); }), none);

  // The game over saved them as badge word 0 (bits 1 to 12) and its checksum; a start reads them back.
  EXPECT_NE(game.StateFile().find("|8190|0|0|0|0|0|0|0|8190|"), std::string::npos) << game.StateFile();
  std::fill(app.badges.begin(), app.badges.end(), false);
  app.p_Load();
  for (int id = 0; id <= 12; ++id) EXPECT_EQ(app.badges[id], id > 0) << id;
}

// Across the wrap of the host's millisecond clock the frame rates stay near 60 and the lit switch blinks.
TEST_F(Play, FrameRatesStayNear60AndTheLitSwitchBlinksThroughTheClocksWrap) {
  game.host->now = 2147482.5;  // the clock wraps after 1148 ms, in tick 69
  std::string lit;             // a character a frame: whether the switch showed lit
  for (int tick = 0; tick < 180; ++tick) {
    // Every floor painted and no nest: the switch is lit.
    for (int cell = 0; cell < CELLS; cell += RECORD_FLOATS) {
      int& type = app.cells[cell + CELL_TYPE];
      if (type == CELL_FLOOR || type == CELL_NEST) type = CELL_PAINTED;
    }
    game.Step();
    EXPECT_TRUE(tick == 0 || (std::abs(app.fps - 60) <= 3 && std::abs(app.renderFps - 60) <= 3)) << tick;
    int shown = 0;
    for (const DrawRecord& r : game.Images(IMG_TILES)) shown += r.frame == 11 ? 2 : r.frame == 10 ? 1 : 0;
    ASSERT_TRUE(shown == 1 || shown == 2) << tick;
    lit += shown == 2 ? '1' : '0';
  }
  // 350 ms lit in every 650: on both sides of the wrap it goes on and off.
  auto changes = [](const std::string& frames) {
    int n = 0;
    for (size_t i = 1; i < frames.size(); ++i) n += frames[i] != frames[i - 1];
    return n;
  };
  EXPECT_TRUE(changes(lit.substr(0, 69)) >= 3 && changes(lit.substr(69)) >= 4) << lit;
}

TEST(Scores, AScoreEntersItsModesTopTenOnlyAboveAStoredOneAndAlwaysTheRecentTenAndTheTablesAreSaved) {
  GameHarness game;
  c_MyApp& app = *game.app;
  app.gameMode = 2;
  for (int i = 40; i < 50; ++i) app.scores[i] = 7;
  app.score = 0;
  EXPECT_EQ(app.p_MyNth(), String("1st!")) << "0 reaches an empty table";
  app.p_LoadMenu();
  EXPECT_EQ(Ints(&app.scores[10], &app.scores[20]), Ints(10, 0));
  EXPECT_EQ((Ints{app.lastRank, app.scores[40], app.scores[41]}), (Ints{-1, 0, 7}));

  for (int i = 0; i < 10; ++i) app.scores[10 + i] = 1000 - 100 * i;
  app.score = 100;
  EXPECT_EQ(app.p_MyNth(), String("10th")) << "an equal score names its place";
  app.p_LoadMenu();
  EXPECT_EQ((Ints{app.scores[18], app.scores[19], app.scores[40]}), (Ints{200, 100, 100}));

  app.score = 950;
  EXPECT_EQ(app.p_MyNth(), String("2nd"));
  app.p_LoadMenu();
  EXPECT_EQ((Ints{app.lastRank, app.scores[11], app.scores[19]}), (Ints{1, 950, 200})) << "the old tenth dropped out";
  for (int i : {0, 9, 20, 29, 30, 39, 50, 59}) EXPECT_EQ(app.scores[i], 0) << "other modes keep their tables";

  app.score = 5, app.gameMode = 3;
  app.p_LoadMenu();
  EXPECT_EQ((Ints{app.scores[20], app.scores[50]}), (Ints{5, 5}));

  // Read back from the state file the last one saved.
  Ints tables(&app.scores[0], &app.scores[60]);
  std::fill(&app.scores[0], &app.scores[60], -1);
  app.p_Load();
  EXPECT_EQ(Ints(&app.scores[0], &app.scores[60]), tables);
}

TEST_F(Play, WithoutTheSequencerSwitchNothingOfItRuns) {
  game.Step(300);
  EXPECT_TRUE(app.music->m_tunePath.Empty());
  EXPECT_EQ((Ints{app.music->m_state, Notes(game), game.audio->Count("PlayMusic")}), (Ints{0, 0, 1}));
}

// Over several levels: never the stream, silence in the pause menu, no music left on the title.
TEST(Sequencer, TheSwitchPlaysEachModesTuneAloneBesideTheEffectsPausesWithTheGameAndEndsWithIt) {
  HarnessOptions options;
  options.arguments = {"--sequencer"};
  GameHarness game(options);
  c_MyApp& app = *game.app;
  ASSERT_EQ((Ints{vx_Kalvexa_HasMusic, vx_Kalvexa_HasMusicStream}), (Ints{1, 0}));
  StartPlay(game, 3, 1);
  EXPECT_EQ(app.music->m_tunePath, String("tunes/Retro/Ferrovale.png"));
  PlayBot bot(*game.app);
  for (int ticks = 0; app.level < 3 && ticks < 3000; ++ticks) game.Play(bot), game.Step();
  ASSERT_EQ(app.level, 3);
  game.Step(300);
  EXPECT_EQ(game.audio->Count("PlayMusic"), 0);
  for (const AudioCall& call : game.audio->Named("PlaySample")) {
    bool note = call.path.find("inst/") != std::string::npos;
    EXPECT_TRUE(!note || (call.channel >= 26 && call.channel <= 30)) << call.channel;
  }
  EXPECT_GT(Notes(game), 200);

  auto sounding = [&] {
    int n = 0;
    for (int channel : {26, 27, 28, 29, 30, VX_AUDIO_MUSIC_CHANNEL}) n += game.audio->ChannelState(channel) == 1;
    return n;
  };
  game.PadStick(0, 0, 0, 0);
  game.PadStick(0, 1, 0, 0);
  game.Tap(KEY_ESCAPE);
  game.Step(30);
  ASSERT_EQ(app.paused, 1);
  EXPECT_EQ(sounding(), 0);
  int notes = Notes(game);
  game.Tap(KEY_ESCAPE);
  game.Step(60);
  EXPECT_GT(Notes(game), notes) << "the tune goes on after the pause";

  game.Tap(KEY_ESCAPE);
  game.Tap(KEY_LEFT);
  game.Tap(KEY_RETURN);
  for (int ticks = 0; app.screenMode != SCREEN_TITLE && ticks < 300; ++ticks) game.Step();
  game.Step(60);
  EXPECT_EQ((Ints{app.music->m_state, sounding()}), (Ints{0, 0}));
}

TEST_F(Play, AShotIsConsumedByTheFirstTargetInRecordOrder) {
  app.p_AddRock(300, 300, 2, VX_NONE);
  app.p_AddRock(300, 300, 2, VX_NONE);
  for (int r : {ROCK_LAST, ROCK_LAST - 1}) Actor(r)[ACTOR_VX] = Actor(r)[ACTOR_VY] = 0;
  app.p_Shoot(300, 300, 0, 1, 1);
  game.Step();
  EXPECT_EQ((Floats{Actor(ROCK_LAST - 1)[ACTOR_HITS], Actor(ROCK_LAST)[ACTOR_HITS], float(Count(IsShot))}),
            (Floats{9, 10, 0}));
}

}  // namespace
