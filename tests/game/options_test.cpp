// The options box and the pause menu, played with keys, a mouse and a joypad.
#include <gtest/gtest.h>

#include "game/core/globals.h"
#include "tests/support/game_harness.h"

namespace {

bool Shows(const GameHarness& game, const std::string& text) { return game.Text().find(text) != std::string::npos; }

// Down to line n of the options box, or to its last line.
void Line(GameHarness& game, int n) {
  for (int i = 0; i < 8 && game.app->optionsLine < n; ++i) game.Tap(KEY_DOWN);
}

TEST(OptionBox, TheSoundICadeAndCreditsLinesAndSavingOnClose) {
  GameHarness game;
  c_MyApp& app = *game.app;
  app.p_PlayTune(String("adventurous"), 0);
  // The press that opens the box is held well past its slide, and does nothing in it.
  game.Tap(KEY_DOWN, 3);
  game.KeyDown(KEY_RETURN);
  game.Step(45);
  game.KeyUp(KEY_RETURN);
  game.Step();
  EXPECT_EQ(app.optionsOpen, 1);
  EXPECT_TRUE(Shows(game, "Sound : SFX + Music"));

  // SFX stops the stream at once; Music does not start it again.
  Line(game, 1);
  game.Tap(KEY_RETURN);
  EXPECT_TRUE(Shows(game, "Sound : SFX\n"));
  EXPECT_EQ(app.musicStreaming, 0);
  EXPECT_EQ(game.audio->Count("StopMusic"), 1);
  game.Tap(KEY_SPACE);
  EXPECT_TRUE(Shows(game, "Sound : Music"));
  EXPECT_EQ(game.audio->Count("PlayMusic"), 1);
  game.Click(200, 140);  // the mouse on the line
  game.Step();
  EXPECT_TRUE(Shows(game, "Sound : Off"));
  // Without a music source the line is On or Off; a mode no line offers is Off once shown.
  vx_Kalvexa_HasMusicStream = 0;
  for (int wrong : {4, -1, 2}) {
    app.options[OPTION_SOUND] = wrong;
    game.Step();
    EXPECT_EQ(app.options[OPTION_SOUND], 0) << wrong;
  }
  game.Tap(KEY_RETURN);
  EXPECT_TRUE(Shows(game, "Sound : On"));
  vx_Kalvexa_HasMusicStream = 1;

  Line(game, 2);
  for (int on : {1, 0}) {
    app.padButtons[ACTION_UP] = app.padButtons[ACTION_FIRE] = 2;
    game.Tap(KEY_RETURN);
    EXPECT_EQ(vx_Kalvexa_iCadeControls, on);
    for (int b = 0; b < PAD_BUTTONS; ++b) EXPECT_EQ(app.padButtons[b], 0) << on << " " << b;
  }

  game.Tap(KEY_ESCAPE);
  EXPECT_EQ(app.optionsOpen, 0);
  EXPECT_EQ(game.StateFile().substr(0, 12), "0|0|0|0|0|1|");
  game.Step(30);

  // Opened again: a joypad's A on the credits line hands over to the credits
  // box, and that too saves what was changed.
  game.Tap(KEY_RETURN);
  game.Step(30);
  Line(game, 1);
  game.Tap(KEY_RETURN);
  Line(game, 4);
  game.PadButton(0, 0, true);
  game.Step();
  EXPECT_EQ(app.optionsOpen, 0);
  EXPECT_EQ(app.creditsOpen, 1);
  EXPECT_EQ(game.StateFile().substr(0, 12), "0|0|0|0|0|2|");
}

TEST(PauseMenu, BackPausesOncePerPressAndTurnsThePanelBackItsOptionsHaveNoCreditsAndItsQuitRecordsTheScore) {
  GameHarness game;
  c_MyApp& app = *game.app;
  game.Tap(KEY_RETURN);
  game.KeyDown(KEY_ESCAPE);
  game.Step(20);
  game.KeyUp(KEY_ESCAPE);
  game.Step();
  EXPECT_EQ(app.pauseMenuOpen, 1);
  EXPECT_EQ(app.pauseMenuY, 240);
  game.Tap(KEY_ESCAPE);
  game.Step(20);
  EXPECT_EQ(app.paused, 0);

  game.Tap(KEY_ESCAPE);
  game.Tap(KEY_ESCAPE);
  EXPECT_EQ(app.pauseMenuOpen, -1);
  EXPECT_LT(app.pauseMenuY, 32);
  game.Step(2);
  EXPECT_EQ(app.paused, 0);

  game.Tap(KEY_ESCAPE);
  game.Tap(KEY_RIGHT);
  game.Tap(KEY_RETURN);
  game.Step(30);
  EXPECT_TRUE(Shows(game, "Fullscreen"));
  EXPECT_FALSE(Shows(game, "Credits"));
  game.Tap(KEY_ESCAPE);
  game.Step(30);
  EXPECT_EQ(app.paused, 1);

  app.score = 4321;
  game.Tap(KEY_LEFT, 2);
  game.Tap(KEY_RETURN);
  EXPECT_EQ(app.gameOverTimer, 1);
  EXPECT_EQ(app.paused, 0);
  for (int i = 0; i < 200 && app.screenMode != SCREEN_TITLE; ++i) game.Step();
  int best = (app.gameMode - 1) * 10;
  EXPECT_EQ(app.scores[best], 4321);
  EXPECT_EQ(app.scores[best + 30], 4321);
}

TEST(PauseMenu, AGameComesBackPausedWithThePanelCentredAndTheShadeIsNeverBeyondOpaque) {
  for (auto [width, height] : {std::pair{640, 480}, {1600, 100}, {640, 0}}) {
    HarnessOptions options;
    options.width = width;
    options.height = height;
    GameHarness game(options);
    game.Tap(KEY_RETURN);
    game.LoseFocus();
    game.RegainFocus();
    game.Step();
    EXPECT_EQ(game.app->pauseMenuY, static_cast<int>(vx_Kalvexa_jscrh / 2));
    bool centred = false;  // the resume button
    for (const DrawRecord& r : game.Images(IMG_ICONS)) centred = centred || (r.frame == 3 && r.y == 240);
    EXPECT_EQ(centred, height == 480) << width << " x " << height;
    game.app->pauseMenuY = 240;  // where it stood before the window changed
    game.Step();
    int shades = 0;
    for (const DrawRecord& r : game.Records()) {
      if (r.kind != DrawRecord::RECT || r.red != 0 || r.green != 0 || r.sizeX != vx_Kalvexa_jscrw) continue;
      ++shades;
      EXPECT_TRUE(r.alpha >= 0 && r.alpha <= 1) << width << " x " << height << ": " << r.alpha;
    }
    EXPECT_EQ(shades, 1);
  }
}

}  // namespace
