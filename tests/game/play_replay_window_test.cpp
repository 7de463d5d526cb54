// A whole game replayed in a real window: the bot plays until its last life
// is gone, and the game-over overlay reaches the screen. Its pictures are
// kept under build/screens/.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/play_bot.h"
#include "tests/graphics/png_files.h"
#include "tests/support/subprocess.h"

namespace {

std::vector<uint32_t> Frame(GameHarness& game, const std::string& name) {
  std::vector<uint32_t> pixels = game.ReadFrame([&] { game.app->p_OnRender(); });
  std::vector<unsigned char> rgb;
  for (uint32_t p : pixels) {
    for (int shift : {16, 8, 0}) rgb.push_back(static_cast<unsigned char>(p >> shift));
  }
  WritePng(BuildPath("screens/" + name + ".png"), 640, 480, 3, rgb);
  return pixels;
}

// Pixels of row y whose red, green and blue lie in the given ranges.
int InRow(const std::vector<uint32_t>& pixels, int y, int rLo, int gLo, int gHi, int bHi) {
  int n = 0;
  for (int x = 0; x < 640; ++x) {
    uint32_t p = pixels[static_cast<size_t>(y) * 640 + x];
    int r = p >> 16 & 0xFF, g = p >> 8 & 0xFF, b = p & 0xFF;
    n += r >= rLo && g >= gLo && g <= gHi && b <= bHi;
  }
  return n;
}

TEST(PlayReplayWindow, AGameEndsUnderTheGameOverOverlay) {
  ASSERT_NE(getenv("DISPLAY"), nullptr) << "this test draws into a real window and needs a display";
  HarnessOptions options;
  options.realWindow = true;
  GameHarness game(options);
  StartPlay(game, 3, 4);
  PlayBot bot(game);
  bool shown = false;
  for (int tick = 0; tick < 20000 && game.app->lives >= 0; ++tick) {
    bot.Act();
    game.Step();
    if (!shown && game.app->level == 2 && game.app->gameVars[50] == 0) shown = !Frame(game, "play_level_2").empty();
  }
  ASSERT_LT(game.app->lives, 0);
  game.Step(60);
  std::vector<uint32_t> over = Frame(game, "game_over");
  EXPECT_GT(InRow(over, 216, 100, 100, 255, 80), 300) << "the yellow bar";
  EXPECT_GT(InRow(over, 264, 100, 30, 100, 60), 300) << "the orange bar";
}

}  // namespace
