// The options box and the pause menu, played through the keyboard, the mouse
// and a joypad.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/core/globals.h"
#include "tests/support/game_harness.h"

namespace {

bool Shows(const GameHarness& game, const std::string& text) { return game.Text().find(text) != std::string::npos; }

// Presses a key for one tick, then lets one tick pass with every key up.
void Tap(GameHarness& game, int key) {
  game.Press(key);
  game.Step();
}

// From the title: down to the cog, confirm, and wait for the box to slide in.
void OpenOptions(GameHarness& game) {
  for (int i = 0; i < 3; ++i) Tap(game, KEY_DOWN);
  Tap(game, KEY_RETURN);
  game.Step(30);
}

// Down until the line is selected, or the last line is.
void SelectLine(GameHarness& game, int line) {
  for (int i = 0; i < 8 && game.app->optionsLine < line; ++i) Tap(game, KEY_DOWN);
}

// A game started from the title.
void Play(GameHarness& game) {
  Tap(game, KEY_RETURN);
  ASSERT_EQ(game.app->screenMode, SCREEN_PLAY);
}

// A game in progress, paused by the back key.
void Pause(GameHarness& game) {
  Play(game);
  Tap(game, KEY_ESCAPE);
}

TEST(OptionBox, TheSoundLineStepsThroughTheModesAndStopsTheStreamAtOnce) {
  GameHarness game;
  c_MyApp& app = *game.app;
  app.p_PlayTune(String("adventurous"), 0);
  ASSERT_EQ(app.musicStreaming, 1);

  // The press that opens the box is held on well past the slide: it does not act in the box.
  for (int i = 0; i < 3; ++i) Tap(game, KEY_DOWN);
  game.KeyDown(KEY_RETURN);
  game.Step(45);
  game.KeyUp(KEY_RETURN);
  game.Step();
  EXPECT_EQ(app.optionsOpen, 1);
  EXPECT_EQ(app.optionsLine, 0);
  EXPECT_TRUE(Shows(game, "Sound : SFX + Music"));

  SelectLine(game, 1);
  Tap(game, KEY_RETURN);
  EXPECT_TRUE(Shows(game, "Sound : SFX\n"));
  EXPECT_EQ(game.audio->Count("StopMusic"), 1);
  EXPECT_EQ(app.musicStreaming, 0);

  int played = game.audio->Count("PlayMusic");
  Tap(game, KEY_RETURN);
  EXPECT_TRUE(Shows(game, "Sound : Music"));
  EXPECT_EQ(game.audio->Count("PlayMusic"), played);
  Tap(game, KEY_SPACE);
  EXPECT_TRUE(Shows(game, "Sound : Off"));
  // A click on the line acts as well.
  game.Click(200, 140);
  game.Step();
  EXPECT_TRUE(Shows(game, "Sound : SFX + Music"));

  // Modes that no box offers become Off as soon as the box shows them.
  for (int wrong : {4, 7, -1, -2147483647 - 1}) {
    app.options[OPTION_SOUND] = wrong;
    game.Step();
    EXPECT_EQ(app.options[OPTION_SOUND], 0) << wrong;
  }

  // Back closes the box and saves what it shows.
  Tap(game, KEY_RETURN);
  Tap(game, KEY_ESCAPE);
  EXPECT_EQ(app.optionsOpen, 0);
  EXPECT_EQ(game.StateFile().substr(0, 12), "0|0|0|0|0|1|");
}

TEST(OptionBox, WithoutAMusicSourceTheSoundLineIsOnOrOff) {
  GameHarness game;
  vx_Kalvexa_HasMusicStream = 0;
  OpenOptions(game);
  SelectLine(game, 1);
  EXPECT_TRUE(Shows(game, "Sound : On"));
  Tap(game, KEY_RETURN);
  EXPECT_TRUE(Shows(game, "Sound : Off"));
  Tap(game, KEY_RETURN);
  EXPECT_TRUE(Shows(game, "Sound : On"));
  game.app->options[OPTION_SOUND] = 3;
  game.Step();
  EXPECT_EQ(game.app->options[OPTION_SOUND], 0);
  vx_Kalvexa_HasMusicStream = 1;
}

TEST(OptionBox, TheICadeScreenAndCreditsLines) {
  GameHarness game;
  c_MyApp& app = *game.app;
  OpenOptions(game);
  SelectLine(game, 2);
  EXPECT_TRUE(Shows(game, "iCade : Off"));
  for (int on : {1, 0}) {
    app.padButtons[ACTION_FIRE] = app.padButtons[ACTION_UP] = 2;
    Tap(game, KEY_RETURN);
    EXPECT_EQ(vx_Kalvexa_iCadeControls, on);
    EXPECT_TRUE(Shows(game, on ? "iCade : On" : "iCade : Off"));
    for (int b = 0; b < PAD_BUTTONS; ++b) EXPECT_EQ(app.padButtons[b], 0) << b;
  }

  // The screen line names the mode it switches to, and switches the window.
  SelectLine(game, 3);
  EXPECT_TRUE(Shows(game, "Fullscreen"));
  Tap(game, KEY_RETURN);
  EXPECT_TRUE(game.host->fullscreenWindow);
  EXPECT_EQ(vx_graphics_DeviceWidth(), game.host->desktopWidth);
  game.FinishLoading();  // at the new size
  game.Step();
  EXPECT_TRUE(Shows(game, "Windowed"));
  Tap(game, KEY_RETURN);
  game.FinishLoading();
  EXPECT_FALSE(game.host->fullscreenWindow);
  EXPECT_EQ(vx_graphics_DeviceWidth(), 640);

  // From the title the credits line hands over to the credits box, with a joypad's A.
  SelectLine(game, 4);
  game.PadButton(0, 0, true);
  game.Step();
  game.PadButton(0, 0, false);
  EXPECT_EQ(app.optionsOpen, 0);
  EXPECT_EQ(app.creditsOpen, 1);
}

TEST(OptionBox, OnAConsoleTheOverscanTakesTheICadeLinesPlace) {
  GameHarness game;
  c_MyApp& app = *game.app;
  vx_Kalvexa_isOuya = 1;
  app.options[OPTION_OVERSCAN] = 64;
  OpenOptions(game);
  EXPECT_TRUE(Shows(game, "L1 < Overscan > R1"));
  EXPECT_FALSE(Shows(game, "iCade"));
  // The shoulders (N and B on the keyboard) move it by 16 within 1 .. 96, once a press.
  int expected[] = {80, 96, 96, 80};
  int keys[] = {'N', 'N', 'N', 'B'};
  for (int i = 0; i < 4; ++i) {
    Tap(game, keys[i]);
    EXPECT_EQ(app.options[OPTION_OVERSCAN], expected[i]) << i;
    EXPECT_EQ(vx_Kalvexa_overscan, expected[i]) << i;
  }
  EXPECT_EQ(app.optionsOpen, 1);
  // A touch on the slider switches a wide margin off, and a narrow one to the widest.
  for (int after : {1, 96}) {
    game.Click(vx_Kalvexa_jscrw * 0.6f, 84);
    game.Step();
    EXPECT_EQ(app.options[OPTION_OVERSCAN], after);
  }
  vx_Kalvexa_isOuya = 0;
}

TEST(PauseMenu, BackPausesOncePerPressAndResumesOnTheNext) {
  GameHarness game;
  c_MyApp& app = *game.app;
  Play(game);
  game.KeyDown(KEY_ESCAPE);
  game.Step(20);
  EXPECT_EQ(app.paused, 1);
  EXPECT_EQ(app.pauseMenuOpen, 1);
  EXPECT_EQ(app.pauseMenuY, 240);
  game.KeyUp(KEY_ESCAPE);
  game.Step();
  EXPECT_EQ(app.paused, 1);

  Tap(game, KEY_ESCAPE);
  EXPECT_EQ(app.pauseMenuOpen, -1);
  game.Step(20);
  EXPECT_EQ(app.paused, 0);
  EXPECT_LT(app.pauseMenuY, -32);
}

TEST(PauseMenu, ResumingWhileThePanelSlidesInSendsItBackUp) {
  GameHarness game;
  c_MyApp& app = *game.app;
  Pause(game);
  Tap(game, KEY_ESCAPE);
  EXPECT_EQ(app.pauseMenuOpen, -1);
  int highest = app.pauseMenuY, ticks = 0;
  for (; app.paused == 1 && ticks < 30; ++ticks) {
    game.Step();
    highest = std::max(highest, app.pauseMenuY);
  }
  EXPECT_LT(highest, 240);
  EXPECT_LT(ticks, 4);
  EXPECT_LT(app.pauseMenuY, -32);
}

TEST(PauseMenu, QuitHandsOverToTheGameOverSequenceWhichRecordsTheScore) {
  GameHarness game;
  c_MyApp& app = *game.app;
  Pause(game);
  app.score = 4321;
  Tap(game, KEY_LEFT);
  EXPECT_EQ(app.pauseChoice, -1);
  Tap(game, KEY_RETURN);
  EXPECT_EQ(app.paused, 0);
  EXPECT_EQ(app.gameOverTimer, 1);
  EXPECT_EQ(app.pauseMenuY, -64);
  for (int i = 0; i < 200 && app.screenMode != SCREEN_TITLE; ++i) game.Step();
  EXPECT_EQ(app.screenMode, SCREEN_TITLE);
  int best = (app.gameMode - 1) * 10;
  EXPECT_EQ(app.scores[best], 4321);
  EXPECT_EQ(app.scores[best + 30], 4321);
}

TEST(PauseMenu, ItsOptionsHaveNoCreditsLine) {
  GameHarness game;
  c_MyApp& app = *game.app;
  Pause(game);
  Tap(game, KEY_RIGHT);
  EXPECT_EQ(app.pauseChoice, 1);
  Tap(game, KEY_RETURN);
  ASSERT_EQ(app.optionsOpen, 1);
  game.Step(30);
  EXPECT_TRUE(Shows(game, "Fullscreen"));
  EXPECT_FALSE(Shows(game, "Credits"));
  SelectLine(game, 9);
  EXPECT_EQ(app.optionsLine, 3);
  Tap(game, KEY_ESCAPE);
  EXPECT_EQ(app.optionsOpen, 0);
  EXPECT_EQ(app.paused, 1);
}

TEST(PauseMenu, AGameComesBackFromTheWindowSystemPausedWithThePanelCentred) {
  GameHarness game;
  c_MyApp& app = *game.app;
  Play(game);
  game.LoseFocus();
  game.RegainFocus();
  game.Step();
  EXPECT_EQ(app.paused, 1);
  EXPECT_EQ(app.pauseMenuY, 240);
  std::vector<DrawRecord> resume;
  for (const DrawRecord& r : game.Images(IMG_ICONS)) {
    if (r.frame == 3) resume.push_back(r);
  }
  ASSERT_EQ(resume.size(), 1u);
  EXPECT_EQ(resume[0].x, 320);
  EXPECT_EQ(resume[0].y, 240);
}

TEST(PauseMenu, TheShadeStaysWithinOpaqueOnWindowsOfAnyShape) {
  for (auto [width, height] : {std::pair{1600, 100}, {640, 0}, {640, 480}}) {
    HarnessOptions options;
    options.width = width;
    options.height = height;
    GameHarness game(options);
    Pause(game);
    game.app->pauseMenuY = 240;  // where it stood before the window changed
    game.Step();
    int shades = 0;
    for (const DrawRecord& r : game.Records()) {
      if (r.kind != DrawRecord::RECT || r.red != 0 || r.green != 0 || r.sizeX != vx_Kalvexa_jscrw) continue;
      ++shades;
      EXPECT_TRUE(r.alpha >= 0 && r.alpha <= 1) << width << "x" << height << ": " << r.alpha;
    }
    EXPECT_EQ(shades, 1) << width << "x" << height;
  }
}

}  // namespace
