// The title's boxes in the real program, in a real window under the test
// display, driven by real X key presses; the pictures are kept under
// build/screens/.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/support/game_window.h"

namespace {

// The loading screen's orange band at alpha 0.7 over its background (40, 40, 80).
constexpr uint32_t LOADING_BAND = 0xBB7C42;

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

struct FrontEndWindow : ::testing::Test {
  GameWindow game;

  void SetUp() override {
    const char* display = getenv("DISPLAY");
    ASSERT_TRUE(display && *display) << "the window tests need an X display: run them through make test";
    ASSERT_FALSE(game.Window().empty()) << game.Output();
    ASSERT_TRUE(game.WaitForShot("title_before_boxes", [](const Screenshot& s) {
      return s.At(20, 240) != LOADING_BAND;
    })) << game.Output();
    PauseMilliseconds(700);  // the title slides in
  }

  // A key press, then a pause so that the next press is a new one.
  void Tap(const std::string& key) {
    game.Key(key);
    PauseMilliseconds(120);
  }
};

TEST_F(FrontEndWindow, TheOptionsBoxOpensWithKeysAndSwitchesToFullScreenAndBack) {
  for (int i = 0; i < 3; ++i) Tap("Down");
  Tap("Return");
  ASSERT_TRUE(game.WaitForShot("options", ShowsOptions)) << game.Output();

  // F11, then the box's own line; each time the art comes back in the new window.
  ASSERT_TRUE(game.SwitchWindow("F11", 1280, 1024));
  EXPECT_TRUE(game.WaitForShot("options_fullscreen", ShowsOptions));
  ASSERT_TRUE(game.SwitchWindow("F11", 640, 480));
  EXPECT_TRUE(game.WaitForShot("options_windowed", ShowsOptions));
  for (int i = 0; i < 3; ++i) Tap("Down");
  ASSERT_TRUE(game.SwitchWindow("Return", 1280, 1024));
  EXPECT_TRUE(game.WaitForShot("options_fullscreen_line", ShowsOptions));
  ASSERT_TRUE(game.SwitchWindow("Return", 640, 480));
  EXPECT_TRUE(game.WaitForShot("options_windowed_line", ShowsOptions));
  EXPECT_FALSE(game.Process().Ended()) << game.Output();
}

TEST_F(FrontEndWindow, TheCreditsBoxFramesTheCreditsInColouredTiles) {
  Tap("n");
  // The top row runs from green to red, the left column from green down to blue.
  EXPECT_TRUE(game.WaitForShot("credits", [](const Screenshot& s) {
    return s.At(53, 10) == 0x00FF00 && s.At(10, 53) == 0x00FF00 && s.At(630, 53) == 0xFF0000;
  })) << game.Output();
}

}  // namespace
