// The frame around the screens: function keys, the input snapshot, timing,
// suspend and resume, and the streamed tune's control.
#include <gtest/gtest.h>
#include <unistd.h>

#include "framework/key_codes.h"
#include "game/core/globals.h"
#include "tests/support/game_harness.h"

namespace {

TEST(Flow, WhileLoadingNoScreenRunsButFunctionKeysThePointerAndPopUpsDo) {
  HarnessOptions options;
  options.load = false;
  GameHarness game(options);
  c_MyApp& app = *game.app;
  game.Press(KEY_F1);
  EXPECT_EQ(vx_Kalvexa_DebugMode, 1);
  game.Press(KEY_F2);
  EXPECT_EQ(app.hideHud, 1);
  game.MouseMove(200, 100);
  app.badgeShown[0] = 1;  // a badge pop-up
  game.Step();
  EXPECT_EQ(app.mouseX, 200);
  EXPECT_EQ(app.mouseY, 100);
  EXPECT_EQ(app.badgeShown[0], 2);
  EXPECT_GT(app.loadStep, 0);
  EXPECT_EQ(app.menuY, -32) << "the title never ran";

  game.FinishLoading();
  game.Step(40);
  EXPECT_EQ(app.menuY, 0);
  // The debug overlay: the smoothed frame rate and the scale.
  EXPECT_NE(game.Text().find(":1.0,1.0"), std::string::npos) << game.Text();
  game.Press(KEY_F1);
  game.Press(KEY_F2);
  EXPECT_EQ(game.Text().find(":1.0,1.0"), std::string::npos);
  EXPECT_EQ(vx_Kalvexa_DebugMode, 0);
  EXPECT_EQ(app.hideHud, 0);
}

TEST(Flow, FourAndTheCloseKeyEndTheProgramInOrderWithTheStateSavedEvenWhenSavingFails) {
  for (bool fails : {false, true}) {
    for (int key : {KEY_F4, KEY_CLOSE}) {
      GameHarness game;
      game.app->options[OPTION_SOUND] = 3;
      game.app->badges[7] = true;
      game.host->failSaves = fails;
      EXPECT_EXIT(
          {
            game.Press(key);
            game.Step();
          },
          ::testing::ExitedWithCode(0), "")
          << key;
      std::string state = game.StateFile();
      EXPECT_EQ(state.substr(0, 12), fails ? "" : "0|0|0|0|0|3|") << key;
      EXPECT_EQ(state.find("|128|0|0|0|0|0|0|0|128|") != std::string::npos, !fails) << key << state;
    }
  }
}

TEST(Flow, TheFrameRateKeepsItsValueOnEqualTimestampsButStillSmooths) {
  GameHarness game;
  c_MyApp& app = *game.app;
  game.host->now += 0.020;  // 20 ms
  game.Update();
  EXPECT_EQ(app.fps, 50);
  int smooth = app.fpsSmooth;
  game.Update();  // no time passed
  EXPECT_EQ(app.fps, 50);
  EXPECT_EQ(app.fpsSmooth, (smooth * 9 + 50) / 10);
}

TEST(Flow, AFreshPressHasNoMovementAndAnUpTouchSitsOutsideEveryBox) {
  GameHarness game;
  c_MyApp& app = *game.app;
  game.MouseMove(100, 100);
  game.Step();
  game.MouseDown(300, 200);
  game.Step();
  EXPECT_EQ(app.mouseX, 300);
  EXPECT_EQ(app.lastMouseX, 300);
  EXPECT_EQ(app.lastMouseY, 200);
  EXPECT_EQ(app.pointerDown, 1);
  game.MouseMove(310, 200);
  game.Step();
  EXPECT_EQ(app.lastMouseX, 300);
  game.MouseUp();

  game.TouchDown(3, 50, 60);
  game.Step();
  EXPECT_EQ(app.touchDown[3], 1);
  EXPECT_EQ(app.touchX[3], 50);
  game.TouchUp(3);
  game.Step();
  EXPECT_EQ(app.touchDown[3], 0);
  EXPECT_EQ(app.touchX[3], -3717);
  EXPECT_EQ(app.touchY[3], -3717);
  EXPECT_EQ(app.pointerDown, 0);
}

TEST(Flow, AwayFromTheWindowTheTitleSavesAndAGameComesBackPaused) {
  GameHarness game;
  c_MyApp& app = *game.app;
  ASSERT_EQ(game.StateFile(), "");
  game.LoseFocus();
  EXPECT_EQ(app.paused, 0);
  EXPECT_EQ(game.host->UpdateRate(), 5);
  EXPECT_NE(game.StateFile(), "");
  game.RegainFocus();
  EXPECT_EQ(game.host->UpdateRate(), 60);
  EXPECT_EQ(app.paused, 0);

  app.screenMode = SCREEN_PLAY;
  game.LoseFocus();
  EXPECT_EQ(app.paused, 1);
  EXPECT_EQ(app.pauseMenuOpen, 1);
  EXPECT_EQ(app.pauseMenuY, 240);
  game.RegainFocus();
  EXPECT_EQ(app.paused, 1);
  EXPECT_EQ(app.pauseMenuY, 240);
}

TEST(TuneControl, TheSoundSettingDecidesWhetherTheStreamStartsAndPausingPausesIt) {
  GameHarness game;
  c_MyApp& app = *game.app;
  game.audio->calls.clear();
  app.p_PlayTune(String("adventurous"), 0);
  app.p_PlayTune(String("adventurous"), 0);
  std::vector<std::string> names;
  for (const AudioCall& call : game.audio->calls) names.push_back(call.name);
  EXPECT_EQ(names, (std::vector<std::string>{"PlayMusic", "StopMusic", "PlayMusic"}));
  EXPECT_NE(game.audio->calls[0].path.find("sfx/adventurous.ogg"), std::string::npos);
  EXPECT_EQ(app.musicStreaming, 1);

  app.paused = 1;
  game.audio->calls.clear();
  game.Step(3);
  EXPECT_EQ(game.audio->Count("PauseMusic"), 3);
  app.paused = 0;
  game.Step();
  EXPECT_EQ(game.audio->Count("ResumeMusic"), 1);

  app.options[OPTION_SOUND] = 2;
  game.audio->calls.clear();
  app.p_PlayTune(String("adventurous"), 0);
  EXPECT_EQ(game.audio->Count("StopMusic"), 1);
  EXPECT_EQ(game.audio->Count("PlayMusic"), 0);
  EXPECT_EQ(app.musicStreaming, 0);
}

}  // namespace
