// Badges: the table, earning them in play, the pop-up strip and the badge box.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

#include "game/core/globals.h"
#include "tests/game/play_scene.h"

namespace {

bool Shows(const GameHarness& game, const std::string& text) { return game.Text().find(text) != std::string::npos; }

// The x of slot 0's pop-up panel; none drawn: -9999.
float PopUpX(const GameHarness& game) {
  for (const DrawRecord& r : game.Records()) {
    if (r.kind == DrawRecord::RECT && r.blue == 80 && r.sizeX == 160 && r.y == vx_Kalvexa_jscrh - 34) return r.x;
  }
  return -9999;
}

TEST(Badges, TheTestBadgeHasANameAndADescriptionAndAnEmptyEntryNeither) {
  GameHarness game;
  EXPECT_EQ(game.app->p_BadgeName(0), String("Test Badge"));
  EXPECT_EQ(game.app->p_BadgeDetail(0), String("This is a Test Badge which has no purpose."));
  for (int id : {13, 255, -1}) EXPECT_TRUE(game.app->p_BadgeName(id).Empty() && game.app->p_BadgeDetail(id).Empty());
}

TEST(Badges, APopUpSlidesInStaysAndSlidesOutAndShowsAnIconOnlyFromTheSheet) {
  GameHarness game;
  c_MyApp& app = *game.app;
  app.badgeState[0] = 5;
  app.badgeState[1] = 70;
  app.badgeShown[0] = app.badgeShown[1] = 1;
  game.Step();
  EXPECT_EQ(PopUpX(game), -128);
  EXPECT_TRUE(Shows(game, "Drum Roll"));
  std::set<float> icons;
  for (const DrawRecord& r : game.Images(IMG_BADGES)) icons.insert(r.frame);
  EXPECT_EQ(icons, (std::set<float>{5, 40})) << "badge 5, and the title's button; none for badge 70";

  std::map<int, float> x;  // by the timer value it was drawn with
  int ticks = 1;
  for (; app.badgeShown[0] != 0 && ticks < 300; ++ticks) {
    game.Step();
    x[app.badgeShown[0] == 0 ? 241 : app.badgeShown[0]] = PopUpX(game);
  }
  EXPECT_TRUE(x[9] < 0 && x[10] == 0 && x[230] == 0 && x[231] < 0);
  EXPECT_EQ(ticks, 240);  // idle once its timer passed 240
  game.Step();
  EXPECT_EQ(PopUpX(game), -9999);
}

TEST(Badges, TheBoxOpensFromTheTitleListsTheBadgesAndScrollsNoHigherThanItsTop) {
  GameHarness game;
  c_MyApp& app = *game.app;
  app.badges[1] = true;
  game.Press('B');
  game.Step();
  EXPECT_EQ(app.badgesOpen, 1);
  EXPECT_TRUE(Shows(game, "Badges 1/12"));
  EXPECT_TRUE(Shows(game, "Fresh Paint\nPaint your first floor tile.\nEarned"));
  EXPECT_TRUE(Shows(game, "Nest Buster\nDestroy your first bug nest.\nNot yet"));
  EXPECT_LT(game.Images(IMG_BADGES)[1].alpha, 1) << "not earned: dimmed";

  game.KeyDown(KEY_DOWN);
  game.Step(100);
  game.KeyUp(KEY_DOWN);
  EXPECT_LT(app.badgeScroll, 0);
  EXPECT_TRUE(Shows(game, "Swarm Tamer"));
  game.KeyDown(KEY_UP);
  game.Step(30);
  EXPECT_EQ(app.badgeScrollTarget, 0);
  EXPECT_EQ(app.badgeScroll, 0);
}

using BadgePlay = PlayScene;

TEST_F(BadgePlay, EachBadgeIsEarnedOnceByItsPlayEventWithAPopUpAndKeptInTheSavedState) {
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
  auto paint = [&] {
    ViewCell(3, 9)[CELL_TYPE] = CELL_FLOOR;
    PutPlayer(3 * CELL, StandY(9) - 10, 2);
    game.Step();
  };
  auto destroyNest = [&] {
    ViewCell(6, 8)[CELL_TYPE] = CELL_NEST;
    ViewCell(6, 8)[NEST_LIFE] = 1;
    float* shot = Actor(SMALL_LAST);
    shot[ACTOR_KIND] = SHOT_KIND_FIRST;
    shot[ACTOR_X] = 6 * CELL;
    shot[ACTOR_Y] = StandY(8) + STAND + 16;
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
    for (int c = 1; c <= 4; ++c) ViewCell(c, 10)[CELL_TYPE] = c <= 2 || allPainted ? CELL_PAINTED : CELL_FLOOR;
    app.level = fromLevel;
    PutPlayer(512, ARENA_FLOOR);
    game.Step(2);
    app.gameVars[LEVEL_SPINNING] = 0;
    for (int c = 0; c < DRUMS; ++c)
      app.columns[c * RECORD_FLOATS + DRUM_TURNS] = app.columns[c * RECORD_FLOATS + DRUM_PIXEL] = 0;
    ClearView();
    PutPlayer(900, ARENA_FLOOR);
  };
  auto destroyBugs = [&](int n) {
    for (int r = SMALL_FIRST; r <= SMALL_LAST; ++r) Actor(r)[ACTOR_KIND] = 0;
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
  app.score = 9999;
  EXPECT_EQ(earned([&] { game.Step(); }), none);
  app.score = 10000;
  EXPECT_EQ(earned([&] { game.Step(); }), std::set<int>{8});
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
  for (int id = 0; id < BADGES; ++id) app.badges[id] = false;
  app.p_Load();
  for (int id = 0; id <= 12; ++id) EXPECT_EQ(app.badges[id], id > 0) << id;
}

}  // namespace
