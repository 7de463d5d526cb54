// Badges: the table, the pop-up strip and the badge box on the title.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "game/core/globals.h"
#include "tests/game/play_scene.h"
#include "tests/support/game_harness.h"

namespace {

constexpr int KEY_B = 'B';

bool Shows(const GameHarness& game, const std::string& text) { return game.Text().find(text) != std::string::npos; }

// The pop-up of a slot: its panel, or none (x -9999) when it is not drawn.
DrawRecord PopUp(const GameHarness& game, int slot) {
  DrawRecord none{};
  none.x = -9999;
  for (const DrawRecord& r : game.Records()) {
    bool panel = r.kind == DrawRecord::RECT && r.blue == 80 && r.sizeX == 160;
    if (panel && r.y == vx_Kalvexa_jscrh - 34 * (slot + 1)) return r;
  }
  return none;
}

TEST(Badges, TheTableNamesAndDescribesEachBadge) {
  GameHarness game;
  c_MyApp& app = *game.app;
  EXPECT_EQ(app.p_BadgeName(0), String("Test Badge"));
  EXPECT_EQ(app.p_BadgeDetail(0), String("This is a Test Badge which has no purpose."));
  for (int id = 1; id <= 12; ++id) {
    EXPECT_FALSE(app.p_BadgeName(id).Empty()) << id;
    EXPECT_FALSE(app.p_BadgeDetail(id).Empty()) << id;
  }
  for (int id : {13, 63, 255, -1, 4000}) {
    EXPECT_EQ(app.p_BadgeID(id), String()) << id;
    EXPECT_EQ(app.p_BadgeName(id), String()) << id;
    EXPECT_EQ(app.p_BadgeDetail(id), String()) << id;
  }
}

TEST(Badges, APopUpSlidesInStaysAboutFourSecondsAndSlidesOut) {
  GameHarness game;
  c_MyApp& app = *game.app;
  app.badgeState[0] = 5;
  app.badgeShown[0] = 1;
  app.badgeState[1] = 70;  // a badge beyond the sheet's 64 icons
  app.badgeShown[1] = 1;
  game.Step();
  EXPECT_EQ(app.badgeShown[0], 2);
  EXPECT_EQ(PopUp(game, 0).x, -128);
  EXPECT_EQ(PopUp(game, 0).y, 480 - 34);
  EXPECT_EQ(PopUp(game, 1).y, 480 - 68);
  EXPECT_TRUE(Shows(game, "Drum Roll"));
  int icons = 0;
  for (const DrawRecord& r : game.Images(IMG_BADGES)) {
    EXPECT_NE(r.frame, 70);
    if (r.frame == 5) {
      ++icons;
      EXPECT_EQ(r.x, -128 + 144);
      EXPECT_EQ(r.sizeX, 0.5f);
    }
  }
  EXPECT_EQ(icons, 1);

  // Where the strip was drawn at each value of its timer.
  std::map<int, float> x;
  int ticks = 1;
  for (; app.badgeShown[0] != 0 && ticks < 300; ++ticks) {
    game.Step();
    x[app.badgeShown[0] == 0 ? 241 : app.badgeShown[0]] = PopUp(game, 0).x;
  }
  EXPECT_LT(x[9], 0);
  EXPECT_EQ(x[10], 0);
  EXPECT_EQ(x[230], 0);
  EXPECT_LT(x[231], 0);
  EXPECT_EQ(ticks, 240);  // the timer ran from 1 to 241
  game.Step();
  EXPECT_EQ(PopUp(game, 0).x, -9999);
}

TEST(Badges, AnAwardRaisesTheFlagOnceAndTakesTheNextFreeSlot) {
  GameHarness game;
  c_MyApp& app = *game.app;
  app.badgeShown[0] = 50;
  app.p_AwardBadge(3);
  app.p_AwardBadge(3);
  EXPECT_TRUE(app.badges[3]);
  EXPECT_EQ(app.badgeState[1], 3);
  EXPECT_EQ(app.badgeShown[1], 1);
  EXPECT_EQ(app.badgeShown[2], 0);
  // Every slot busy: the badge is still earned.
  for (int slot = 0; slot < 13; ++slot) app.badgeShown[slot] = 5;
  app.p_AwardBadge(200);
  EXPECT_TRUE(app.badges[200]);
  app.p_AwardBadge(256);
  app.p_AwardBadge(-1);
}

TEST(Badges, TheBoxOpensFromTheTitleListsEveryBadgeAndScrollsWithinItsList) {
  GameHarness game;
  c_MyApp& app = *game.app;
  app.p_AwardBadge(1);
  game.Press(KEY_B);
  game.Step();
  EXPECT_EQ(app.badgesOpen, 1);
  EXPECT_TRUE(Shows(game, "Badges 1/12"));
  EXPECT_TRUE(Shows(game, "Fresh Paint\nPaint your first floor tile.\nEarned"));
  EXPECT_TRUE(Shows(game, "Nest Buster\nDestroy your first bug nest.\nNot yet"));
  EXPECT_FALSE(Shows(game, "Test Badge"));
  std::vector<DrawRecord> icons = game.Images(IMG_BADGES);
  ASSERT_GE(icons.size(), 2u);
  EXPECT_EQ(icons[0].frame, 1);
  EXPECT_EQ(icons[0].alpha, 1);
  EXPECT_LT(icons[1].alpha, 1);  // not earned: dimmed

  game.KeyDown(KEY_UP);
  game.Step(20);
  EXPECT_EQ(app.badgeScrollTarget, 0);
  EXPECT_EQ(app.badgeScroll, 0);
  game.KeyUp(KEY_UP);
  game.KeyDown(KEY_DOWN);
  game.Step(200);
  game.KeyUp(KEY_DOWN);
  EXPECT_LT(app.badgeScroll, 0);
  EXPECT_TRUE(Shows(game, "Swarm Tamer"));
  // A drag down the list brings the top back, and no further.
  game.MouseDown(320, 100);
  game.Step();
  for (int y = 120; y <= 460; y += 20) {
    game.MouseMove(320, static_cast<float>(y));
    game.Step();
  }
  game.MouseUp();
  game.Step(30);
  EXPECT_EQ(app.badgeScroll, 0);

  // Back on the title's back key, or a click on the box's own back.
  game.Press(KEY_ESCAPE);
  EXPECT_EQ(app.badgesOpen, 0);
  game.Step();
  game.Click(40, 440);
  EXPECT_EQ(app.badgesOpen, 1);
  game.Step();
  game.Click(120, 24);
  EXPECT_EQ(app.badgesOpen, 0);
}

using BadgePlay = PlayScene;

// Every badge from its play event, each earned once with a pop-up, then kept
// through a save and a new start.
TEST_F(BadgePlay, EachBadgeIsEarnedByItsPlayEventOnceAndKeptThroughARestart) {
  ClearView();
  PutPlayer(900, ARENA_FLOOR);
  // The badges `act` earns; each must pop up, and must not pop up again when `act` is repeated.
  auto earned = [&](const std::function<void()>& act) {
    bool before[BADGES];
    for (int id = 0; id < BADGES; ++id) before[id] = app.badges[id];
    act();
    std::set<int> now;
    for (int id = 0; id < BADGES; ++id) {
      if (app.badges[id] && !before[id]) now.insert(id);
    }
    std::set<int> shown;
    for (int slot = 0; slot < 13; ++slot) {
      if (app.badgeShown[slot] > 0) shown.insert(app.badgeState[slot]);
      app.badgeShown[slot] = 0;
    }
    EXPECT_EQ(shown, now) << "each badge earned pops up";
    return now;
  };
  auto paint = [&](float x) {
    ViewCell(static_cast<int>(x / CELL), 9)[CELL_TYPE] = CELL_FLOOR;
    PutPlayer(x, StandY(9) - 10, 2);
    game.Step();
  };
  auto destroyNest = [&]() {
    int* nest = ViewCell(6, 8);
    nest[CELL_TYPE] = CELL_NEST;
    nest[NEST_LIFE] = 1;
    nest[NEST_TIMER] = 1000;
    float* shot = Actor(SMALL_LAST);
    shot[ACTOR_KIND] = SHOT_KIND_FIRST;
    shot[ACTOR_X] = 6 * CELL;
    shot[ACTOR_Y] = StandY(8) + STAND + 16;
    game.Step();
    nest[CELL_TYPE] = CELL_EMPTY;
  };
  // A big rock and all its pieces, one size a tick: earned only with the last piece.
  auto smashRock = [&]() {
    app.p_AddRock(300, 300, 3, VX_NONE);
    for (int size = 3; size >= 1; --size) {
      EXPECT_FALSE(app.badges[3]) << size;
      for (int r = ROCK_FIRST; r <= ROCK_LAST; ++r) Actor(r)[ACTOR_HITS] = 0;
      game.Step();
    }
  };
  // The switch hit with the share of floors in view painted; the spin is cut short.
  auto hitSwitch = [&](int fromLevel, bool allPainted) {
    ClearView();
    for (int c = 1; c <= 4; ++c) ViewCell(c, 10)[CELL_TYPE] = c <= 2 || allPainted ? CELL_PAINTED : CELL_FLOOR;
    app.level = fromLevel;
    PutPlayer(512, ARENA_FLOOR);
    game.Step(2);
    EXPECT_EQ(app.level, fromLevel + 1);
    app.gameVars[LEVEL_SPINNING] = 0;
    for (int c = 0; c < DRUMS; ++c)
      app.columns[c * RECORD_FLOATS + DRUM_TURNS] = app.columns[c * RECORD_FLOATS + DRUM_PIXEL] = 0;
    ClearView();
    PutPlayer(900, ARENA_FLOOR);
  };
  auto destroyBugs = [&](int n) {
    for (int i = 0; i < n; ++i) {
      app.p_AddBug(700, ARENA_FLOOR, 1);
      Actor(SMALL_LAST - i)[ACTOR_HITS] = 0;
    }
    game.Step();
  };
  auto endGame = [&](int mode) {
    if (app.gameMode != mode) StartPlay(game, mode, 1);
    ClearView();
    app.lives = -1;
    for (int i = 0; i < 200 && app.screenMode != SCREEN_TITLE; ++i) game.Step();
    StartPlay(game, 2, 1);
    ClearView();
    PutPlayer(900, ARENA_FLOOR);
  };

  EXPECT_EQ(earned([&] { paint(3 * CELL); }), std::set<int>{1});
  EXPECT_EQ(earned([&] { paint(5 * CELL); }), std::set<int>{});
  EXPECT_EQ(earned(destroyNest), std::set<int>{2});
  EXPECT_EQ(earned(destroyNest), std::set<int>{});
  EXPECT_EQ(earned(smashRock), std::set<int>{3});
  EXPECT_EQ(earned([&] { hitSwitch(1, false); }), std::set<int>{});
  EXPECT_EQ(earned([&] { hitSwitch(2, false); }), std::set<int>{4});
  EXPECT_EQ(earned([&] { hitSwitch(4, false); }), std::set<int>{5});
  EXPECT_EQ(earned([&] { hitSwitch(9, true); }), (std::set<int>{6, 7}));
  EXPECT_EQ(earned([&] { hitSwitch(10, true); }), std::set<int>{});
  app.score = 9999;
  EXPECT_EQ(earned([&] { game.Step(); }), std::set<int>{});
  app.score = 10000;
  EXPECT_EQ(earned([&] { game.Step(); }), std::set<int>{8});
  // Fifty in one game: 49 before a new game do not count.
  EXPECT_EQ(earned([&] { destroyBugs(49); }), std::set<int>{});
  StartPlay(game, 2, 1);
  ClearView();
  EXPECT_EQ(earned([&] { destroyBugs(49); }), std::set<int>{});
  EXPECT_EQ(earned([&] { destroyBugs(1); }), std::set<int>{9});
  EXPECT_EQ(earned([&] { endGame(2); }), std::set<int>{11});
  EXPECT_EQ(earned([&] { endGame(1); }), std::set<int>{10});
  EXPECT_EQ(earned([&] { endGame(3); }), std::set<int>{12});
  EXPECT_EQ(earned([&] { endGame(3); }), std::set<int>{});

  // The game over saved them all; a new start reads them back.
  HarnessOptions options;
  options.state = game.StateFile();
  GameHarness restarted(options);
  for (int id = 1; id <= 12; ++id) EXPECT_TRUE(restarted.app->badges[id]) << id;
  EXPECT_FALSE(restarted.app->badges[0]);
}

}  // namespace
