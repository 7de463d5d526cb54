// Play in the real program under real X input: a game started with keys from
// the title, the player firing, running and jumping, left with F4; another
// paused with Escape and quit into the game-over overlay. The pictures are
// kept under build/screens/.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/game_window.h"

namespace {

// The score in play: green digits at alpha 0.8 over the dark arena.
constexpr uint32_t SCORE_GREEN = 0x52CF56;
constexpr int SCORE_LEFT = 260, SCORE_RIGHT = 380, SCORE_TOP = 16, SCORE_BOTTOM = 48;

int ScoreGreen(const Screenshot& s) {
  int n = 0;
  for (int y = SCORE_TOP; y < SCORE_BOTTOM; ++y) {
    for (int x = SCORE_LEFT; x < SCORE_RIGHT; ++x) n += Screenshot::Near(s.At(x, y), SCORE_GREEN, 40);
  }
  return n;
}

// Yellowish pixels of one row of the window: the game-over overlay's bar.
int YellowInRow(const Screenshot& s, int y) {
  int n = 0;
  for (int x = 0; x < s.width; ++x) {
    uint32_t p = s.At(x, y);
    n += (p >> 16 & 0xFF) >= 100 && (p >> 8 & 0xFF) >= 100 && (p & 0xFF) <= 80;
  }
  return n;
}

// The title's background, (0, 0, 80), left of its art.
bool TitleShown(const Screenshot& s) { return Screenshot::Near(s.At(10, s.height / 2), 0x000050); }

TEST(PlayWindow, AGameStartsWithReturnThePlayerFiresRunsAndJumpsAndFourKeepsTheBadgeItEarned) {
  ASSERT_TRUE(getenv("DISPLAY") && *getenv("DISPLAY"))
      << "the window tests need an X display: run them through make test";
  GameWindow game;
  ASSERT_TRUE(game.WaitForShot("play_title", TitleShown)) << game.Output();
  game.Key("Return");
  ASSERT_TRUE(game.WaitForShot("play_started", [](const Screenshot& s) { return ScoreGreen(s) > 40; }))
      << game.Output();

  // Standing where it started, aiming up: the shots fly up the middle of the screen.
  PauseMilliseconds(1500);
  Screenshot still = game.Shot("play_standing");
  game.KeyDown("z");
  PauseMilliseconds(500);
  Screenshot firing = game.Shot("play_firing");
  game.KeyUp("z");
  EXPECT_GT(still.Changed(firing, 300, 60, 340, 360, 40), 200) << "no shots above the player";

  // Running both ways and jumping all the while lands on floors, which pays.
  for (const char* way : {"Right", "Left"}) {
    game.KeyDown(way);
    game.KeyDown("Up");
    PauseMilliseconds(2000);
    game.KeyUp("Up");
    game.KeyUp(way);
  }
  PauseMilliseconds(800);  // the score display catches up
  Screenshot ran = game.Shot("play_running");
  EXPECT_GT(firing.Changed(ran, SCORE_LEFT, SCORE_TOP, SCORE_RIGHT, SCORE_BOTTOM, 40), 20) << "the score never changed";

  // Left with F4 in the middle of play: the badge for the first painted floor is kept.
  game.Key("F4");
  EXPECT_EQ(game.Process().Wait(), 0) << game.Output();
  std::string state = game.StateFile();
  std::vector<std::string> parts;
  for (size_t at = 0, bar; (bar = state.find('|', at)) != std::string::npos; at = bar + 1) {
    parts.push_back(state.substr(at, bar - at));
  }
  ASSERT_GT(parts.size(), 26u) << state;
  EXPECT_EQ(std::stoi(parts[26]) & 2, 2) << "badge 1 in the first badge word: " << state;
}

TEST(PlayWindow, EscapePausesAGameAndThePauseMenusQuitEndsIt) {
  ASSERT_TRUE(getenv("DISPLAY") && *getenv("DISPLAY"))
      << "the window tests need an X display: run them through make test";
  GameWindow game;
  ASSERT_TRUE(game.WaitForShot("play_title", TitleShown)) << game.Output();
  game.Key("Return");
  ASSERT_TRUE(game.WaitForShot("play_started", [](const Screenshot& s) { return ScoreGreen(s) > 40; }))
      << game.Output();
  // The resume button, tinted blue, inside the yellow ring of the selected button.
  game.Key("Escape");
  EXPECT_TRUE(game.WaitForShot("pause", [](const Screenshot& s) {
    return s.Count(0x3232FA, 12) > 200 && s.Count(0xFFFF64, 12) > 50;
  })) << game.Output();
  for (const char* key : {"Left", "Return"}) {
    PauseMilliseconds(120);
    game.Key(key);
  }
  EXPECT_TRUE(game.WaitForShot("game_over", [](const Screenshot& s) { return YellowInRow(s, 216) > 300; }))
      << game.Output();
}

}  // namespace
