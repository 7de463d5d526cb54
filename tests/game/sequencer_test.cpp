// The game's use of the sequencer: nothing of it without the switch; with
// it, each game plays its mode's tune on channels the sound effects never use.
#include <gtest/gtest.h>

#include "game/core/globals.h"
#include "tests/support/game_harness.h"

namespace {

int Loaded(const GameHarness& game, const std::string& prefix) {
  int n = 0;
  for (const AudioCall& call : game.audio->calls) n += call.path.find(prefix) != std::string::npos;
  return n;
}

void StartGame(GameHarness& game, int mode) {
  game.app->gameMode = mode;
  game.app->screenMode = SCREEN_START_GAME;
  game.Step();
}

TEST(Sequencer, WithoutTheSwitchNothingOfItRuns) {
  GameHarness game;
  StartGame(game, 2);
  game.Step(300);
  EXPECT_EQ(game.app->music->m_state, 0);
  EXPECT_TRUE(game.app->music->m_tunePath.Empty());
  EXPECT_EQ(Loaded(game, "inst/"), 0);
  EXPECT_EQ(game.audio->Count("PlayMusic"), 1);
}

TEST(Sequencer, TheSwitchPlaysEachModesTuneBesideTheEffectsAndGameOverStopsIt) {
  HarnessOptions options;
  options.arguments = {"--sequencer"};
  GameHarness game(options);
  ASSERT_EQ(vx_Kalvexa_HasMusic, 1);
  ASSERT_EQ(vx_Kalvexa_HasMusicStream, 0);
  StartGame(game, 3);
  EXPECT_EQ(game.app->music->m_tunePath, String("tunes/Retro/Ferrovale.png"));
  game.Step(300);
  EXPECT_EQ(game.app->music->m_loadStep, 0);
  EXPECT_EQ(game.audio->Count("PlayMusic"), 0);

  int notes = 0;
  for (const AudioCall& call : game.audio->Named("PlaySample")) {
    if (call.path.find("inst/") == std::string::npos) continue;
    ++notes;
    EXPECT_GE(call.channel, 26);
    EXPECT_LE(call.channel, 30);
  }
  EXPECT_GT(notes, 20);

  game.app->lives = -1;
  game.Step(100);
  EXPECT_EQ(game.app->screenMode, SCREEN_TITLE);
  EXPECT_EQ(game.app->music->m_state, 0);
}

}  // namespace
