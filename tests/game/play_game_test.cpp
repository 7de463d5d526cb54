// Whole games: the game-over overlay and its hand-over to the title, the score
// tables, the same game from the same seed and input, and a bot that plays
// to level 3 in every mode.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/game/play_scene.h"
#include "tests/support/play_bot.h"

namespace {

using GameOver = PlayScene;

TEST_F(GameOver, TheOverlayRunsNinetyTicksOverPlayThenFadesOverTheTitleInThirtyEight) {
  app.lives = -1;
  int ticks = 0;
  while (app.screenMode == SCREEN_PLAY && ticks < 200) {
    game.Step();
    ++ticks;
    if (ticks == 60) {
      EXPECT_NE(game.Text().find("GAME"), std::string::npos);
      EXPECT_NE(game.Text().find("New Highscore\n1st!"), std::string::npos) << game.Text();
    }
  }
  EXPECT_EQ(ticks, 90);
  EXPECT_EQ(app.screenMode, SCREEN_BACK_TO_TITLE);
  EXPECT_EQ(app.gameOverStep, 75 - 2) << "handed over at 75, and faded once on the same tick";
  int fade = 1;
  while (app.gameOverStep > 0 && fade < 200) {
    game.Step();
    ++fade;
  }
  EXPECT_EQ(fade, 38);
  EXPECT_EQ(app.screenMode, SCREEN_TITLE);
}

TEST(Scores, AScoreEntersItsModesTopTenOnlyAboveAStoredOneAndAlwaysTheRecentTenAndTheTablesAreSaved) {
  GameHarness game;
  c_MyApp& app = *game.app;
  app.gameMode = 2;
  for (int i = 40; i < 50; ++i) app.scores[i] = 7;
  app.score = 0;
  EXPECT_EQ(app.p_MyNth(), String("1st!")) << "0 reaches an empty table";
  app.p_LoadMenu();
  EXPECT_EQ(app.lastRank, -1);
  for (int i = 10; i < 20; ++i) EXPECT_EQ(app.scores[i], 0);
  EXPECT_EQ(app.scores[40], 0);
  EXPECT_EQ(app.scores[41], 7);

  for (int i = 0; i < 10; ++i) app.scores[10 + i] = 1000 - 100 * i;
  app.score = 100;
  EXPECT_EQ(app.p_MyNth(), String("10th")) << "an equal score names its place";
  app.p_LoadMenu();
  EXPECT_EQ(app.scores[19], 100);
  EXPECT_EQ(app.scores[18], 200);
  EXPECT_EQ(app.scores[40], 100);

  app.score = 950;
  EXPECT_EQ(app.p_MyNth(), String("2nd"));
  app.p_LoadMenu();
  EXPECT_EQ(app.lastRank, 1);
  EXPECT_EQ(app.scores[11], 950);
  EXPECT_EQ(app.scores[19], 200) << "the old tenth dropped out";
  for (int i : {0, 9, 20, 29, 30, 39, 50, 59}) EXPECT_EQ(app.scores[i], 0) << "other modes keep their tables";

  app.score = 5;
  app.gameMode = 3;
  app.p_LoadMenu();
  EXPECT_EQ(app.scores[20], 5);
  EXPECT_EQ(app.scores[50], 5);

  // Read back from the state file the last one saved.
  std::vector<int> tables(&app.scores[0], &app.scores[0] + 60);
  for (int i = 0; i < 60; ++i) app.scores[i] = -1;
  app.p_Load();
  EXPECT_EQ(std::vector<int>(&app.scores[0], &app.scores[0] + 60), tables);
}

// A whole game, until the title shows again: the score and a digest of every draw list.
struct Played {
  int score = 0, ticks = 0;
  uint64_t pictures = 14695981039346656037u;
};

template <class Input>
Played PlayWholeGame(Input input) {
  GameHarness game;
  StartPlay(game, 3, 4);
  Played played;
  while (game.app->screenMode != SCREEN_TITLE && played.ticks < 20000) {
    input(game, played.ticks);
    game.Step();
    ++played.ticks;
    for (int i = 0; i < game.app->drawCount; ++i) {
      uint32_t bits;
      std::memcpy(&bits, &game.app->drawList[i], sizeof bits);
      played.pictures = (played.pictures ^ bits) * 1099511628211u;
    }
  }
  played.score = game.app->score;
  return played;
}

TEST(WholeGame, TheSameSeedAndInputPlayTheSameGame) {
  struct Sticks {
    float x[2], y[2];
  };
  std::vector<Sticks> script;
  std::unique_ptr<PlayBot> bot;
  Played first = PlayWholeGame([&](GameHarness& game, int) {
    if (!bot) bot = std::make_unique<PlayBot>(game);
    bot->Act();
    const HarnessHost::Pad& pad = game.host->pads[0];
    script.push_back({{pad.x[0], pad.x[1]}, {pad.y[0], pad.y[1]}});
  });
  Played second = PlayWholeGame([&](GameHarness& game, int tick) {
    for (int stick = 0; stick < 2; ++stick) game.PadStick(0, stick, script[tick].x[stick], script[tick].y[stick]);
  });
  EXPECT_LT(first.ticks, 20000) << "the game ended";
  EXPECT_GT(first.score, 1000);
  EXPECT_EQ(second.ticks, first.ticks);
  EXPECT_EQ(second.score, first.score);
  EXPECT_EQ(second.pictures, first.pictures);
}

TEST(WholeGame, ABotReachesLevelThreeInEveryMode) {
  for (int mode = 1; mode <= 3; ++mode) {
    GameHarness game;
    StartPlay(game, mode, 1);
    PlayBot bot(game);
    int ticks = 0;
    while (game.app->level < 3 && game.app->screenMode == SCREEN_PLAY && ticks < 3000) {
      bot.Act();
      game.Step();
      ++ticks;
    }
    EXPECT_EQ(game.app->level, 3) << "mode " << mode << " after " << ticks << " ticks";
    RecordProperty("mode" + std::to_string(mode) + "_ticks", ticks);
  }
}

}  // namespace
