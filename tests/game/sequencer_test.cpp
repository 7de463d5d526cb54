// The game's use of the sequencer: nothing of it without the switch; with
// it, each game plays its mode's tune on channels the sound effects never use.
#include <gtest/gtest.h>

#include "game/core/globals.h"
#include "tests/support/play_bot.h"

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

// Over several levels: never the streamed tune, silence in the pause menu and
// the tune back after it, and no game music left on the title.
TEST(Sequencer, TheSwitchPlaysEachModesTuneAloneBesideTheEffectsPausesWithTheGameAndEndsWithIt) {
  HarnessOptions options;
  options.arguments = {"--sequencer"};
  GameHarness game(options);
  c_MyApp& app = *game.app;
  ASSERT_EQ(vx_Kalvexa_HasMusic, 1);
  ASSERT_EQ(vx_Kalvexa_HasMusicStream, 0);
  StartPlay(game, 3, 1);
  EXPECT_EQ(app.music->m_tunePath, String("tunes/Retro/Ferrovale.png"));
  PlayBot bot(game);
  for (int ticks = 0; app.level < 3 && ticks < 3000; ++ticks) {
    bot.Act();
    game.Step();
  }
  ASSERT_EQ(app.level, 3);
  game.Step(300);
  EXPECT_EQ(game.audio->Count("PlayMusic"), 0);

  int notes = 0;
  for (const AudioCall& call : game.audio->Named("PlaySample")) {
    if (call.path.find("inst/") == std::string::npos) continue;
    ++notes;
    EXPECT_GE(call.channel, 26);
    EXPECT_LE(call.channel, 30);
  }
  EXPECT_GT(notes, 200);

  auto sounding = [&] {
    int n = 0;
    for (int channel : {26, 27, 28, 29, 30, VX_AUDIO_MUSIC_CHANNEL}) n += game.audio->ChannelState(channel) == 1;
    return n;
  };
  game.PadStick(0, 0, 0, 0);
  game.PadStick(0, 1, 0, 0);
  game.Tap(KEY_ESCAPE);
  game.Step(30);
  ASSERT_EQ(app.paused, 1);
  EXPECT_EQ(sounding(), 0);
  notes = game.audio->Count("PlaySample");
  game.Tap(KEY_ESCAPE);
  game.Step(60);
  EXPECT_GT(game.audio->Count("PlaySample"), notes) << "the tune goes on after the pause";

  game.Tap(KEY_ESCAPE);
  game.Tap(KEY_LEFT);
  game.Tap(KEY_RETURN);
  for (int ticks = 0; app.screenMode != SCREEN_TITLE && ticks < 300; ++ticks) game.Step();
  game.Step(60);
  EXPECT_EQ(app.music->m_state, 0);
  EXPECT_EQ(sounding(), 0);
}

}  // namespace
