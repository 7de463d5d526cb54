// The title's boxes in the real program, in a real window under the test
// display, driven by real X key presses; the pictures are kept under
// build/screens/.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "tests/support/game_window.h"
#include "tests/support/subprocess.h"

namespace {

int Share(const Screenshot& shot, const std::function<bool(int, int, int)>& is) {
  int n = 0;
  for (uint32_t p : shot.pixels) n += is(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
  return shot.pixels.empty() ? 0 : static_cast<int>(1000LL * n / static_cast<long long>(shot.pixels.size()));
}

// The options box over the title: its brown panel covers most of the window,
// and its white lines of text (the font's texture) stand on it.
bool ShowsOptions(const Screenshot& shot) {
  int panel = Share(shot, [](int r, int g, int b) { return r >= 120 && r <= 170 && g >= 58 && g <= 105 && b <= 45; });
  int text = Share(shot, [](int r, int g, int b) { return r > 250 && g > 250 && b > 250; });
  return panel > 300 && text > 4;
}

// Waits for the title, (0, 0, 80) left of its art, to have slid in.
void Ready(GameWindow& game) {
  ASSERT_FALSE(game.Window().empty()) << game.Output();
  ASSERT_TRUE(game.WaitForShot("title_before_boxes", [](const Screenshot& s) {
    return Screenshot::Near(s.At(10, s.height / 2), 0x000050);
  })) << game.Output();
  PauseMilliseconds(700);
}

// A key press, then a pause so that the next press is a new one.
void Tap(GameWindow& game, const std::string& key, int times = 1) {
  for (int i = 0; i < times; ++i) {
    game.Key(key);
    PauseMilliseconds(120);
  }
}

struct FrontEndWindow : ::testing::Test {
  GameWindow game;

  void SetUp() override {
    const char* display = getenv("DISPLAY");
    ASSERT_TRUE(display && *display) << "the window tests need an X display: run them through make test";
    Ready(game);
  }
};

TEST_F(FrontEndWindow, TheOptionsBoxOpensWithKeysAndSwitchesToFullScreenAndBack) {
  Tap(game, "Down", 3);
  Tap(game, "Return");
  ASSERT_TRUE(game.WaitForShot("options", ShowsOptions)) << game.Output();

  // F11, then the box's own line; each time the art comes back in the new window.
  ASSERT_TRUE(game.SwitchWindow("F11", 1280, 1024));
  EXPECT_TRUE(game.WaitForShot("options_fullscreen", ShowsOptions));
  ASSERT_TRUE(game.SwitchWindow("F11", 640, 480));
  EXPECT_TRUE(game.WaitForShot("options_windowed", ShowsOptions));
  Tap(game, "Down", 3);
  ASSERT_TRUE(game.SwitchWindow("Return", 1280, 1024));
  EXPECT_TRUE(game.WaitForShot("options_fullscreen_line", ShowsOptions));
  ASSERT_TRUE(game.SwitchWindow("Return", 640, 480));
  EXPECT_TRUE(game.WaitForShot("options_windowed_line", ShowsOptions));
  EXPECT_FALSE(game.Process().Ended()) << game.Output();
}

TEST_F(FrontEndWindow, TheCreditsBoxFramesTheCreditsInColouredTiles) {
  Tap(game, "n");
  // The top row runs from green to red, the left column from green down to blue.
  EXPECT_TRUE(game.WaitForShot("credits", [](const Screenshot& s) {
    return s.At(53, 10) == 0x00FF00 && s.At(10, 53) == 0x00FF00 && s.At(630, 53) == 0xFF0000;
  })) << game.Output();
}

// The sound switched off in the options box, which is then left through the
// credits: F4 or the window's close button ends the program, and the next
// start reads the setting back.
TEST_F(FrontEndWindow, SettingsLeftThroughTheCreditsSurviveFourAndTheCloseButton) {
  for (bool closeButton : {false, true}) {
    std::unique_ptr<GameWindow> other;
    GameWindow& run = closeButton ? *(other = std::make_unique<GameWindow>()) : game;
    if (closeButton) Ready(run);
    Tap(run, "Down", 3);
    Tap(run, "Return");  // the options box, its back cog selected
    PauseMilliseconds(700);
    Tap(run, "Down");
    Tap(run, "Return", 3);  // SFX + Music, SFX, Music, Off
    Tap(run, "Down", 3);
    Tap(run, "Return");  // the credits take over
    PauseMilliseconds(700);
    Tap(run, "Return");
    if (closeButton) {
      ASSERT_EQ(RunProcess({BuildPath("tests/host/x11_tool"), "close", run.Window()}).status, 0);
    } else {
      run.Key("F4");
    }
    EXPECT_EQ(run.Process().Wait(), 0) << run.Output();
    std::string state = run.StateFile();
    EXPECT_EQ(state.substr(0, 12), "0|0|0|0|0|0|") << closeButton << ": " << state;

    GameWindow next({}, state);
    EXPECT_TRUE(next.Process().WaitForLine("Settings Loaded")) << next.Output();
  }
}

}  // namespace
