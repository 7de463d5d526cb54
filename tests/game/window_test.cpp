// The real program in a real window under the test display, driven by real X
// input; the pictures it showed are kept under build/screens/.
#include <gtest/gtest.h>

#include "tests/support/game_window.h"

namespace {

// The loading screen's orange band at alpha 0.7 over its background (40, 40, 80).
constexpr uint32_t LOADING_BAND = 0xBB7C42;

bool Near(uint32_t a, uint32_t b) { return Screenshot{1, 1, {a}}.Count(b) == 1; }

struct GameWindowTest : ::testing::Test {
  void SetUp() override {
    const char* display = getenv("DISPLAY");
    ASSERT_TRUE(display && *display) << "the window tests need an X display: run them through make test";
  }
};

TEST_F(GameWindowTest, TheGameShowsTheLoadingScreenThenMovesOnFromIt) {
  GameWindow game;
  ASSERT_FALSE(game.Window().empty()) << game.Output();
  // Loading lasts about half a second: the game is stopped for each picture.
  bool loading = false;
  for (int i = 0; i < 100 && !loading; ++i) {
    game.Freeze();
    Screenshot shot = game.Shot("loading");
    loading = !shot.pixels.empty() && Near(shot.At(20, 240), LOADING_BAND);
    game.Thaw();
    if (!loading) PauseMilliseconds(5);
  }
  EXPECT_TRUE(loading) << "the band of the loading screen was never on screen";
  EXPECT_TRUE(game.WaitForShot("after_loading", [](const Screenshot& s) { return !Near(s.At(20, 240), LOADING_BAND); }))
      << game.Output();
}

}  // namespace
