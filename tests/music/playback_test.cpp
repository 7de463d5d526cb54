// Playback: when steps fall, and what each cell does to its channel.
#include <algorithm>

#include "tests/music/sequencer_test.h"

namespace {

using Playback = SequencerTest;

// Runs 60 Hz ticks from the host's time for `ms`; the times at which steps were played.
std::vector<int> TickFor(SequencerRig& rig, int ms, int paused = 0) {
  std::vector<int> steps;
  for (int start = rig.host.now, tick = 1; tick * 1000 / 60 <= ms; ++tick) {
    rig.host.now = start + tick * 1000 / 60;
    int before = rig.player->m_nextStepTime;
    rig.player->p_Ombi_Alive_U(paused, 1);
    int played = (rig.player->m_nextStepTime - before) / 80;
    if (paused) continue;
    EXPECT_LE(played, 1) << "tick at " << rig.host.now;
    if (played == 1) steps.push_back(rig.host.now);
  }
  return steps;
}

TEST_F(Playback, AtTempo100StepsFallEvery80MsNeverTwoInATickAndResume150MsAfterAnyPause) {
  StartSilentTune();
  int due = player->m_nextStepTime;
  std::vector<int> steps = TickFor(*rig, 10000);
  ASSERT_NEAR(steps.size(), 10000 / 80, 1);
  for (int i = 0; i < int(steps.size()); ++i) {
    EXPECT_TRUE(steps[i] > due + 80 * i && steps[i] <= due + 80 * i + 17) << i;  // the first tick after it fell due
  }
  // A second behind: one step a tick until the clock is caught up.
  rig->host.now += 1000;
  EXPECT_NEAR(TickFor(*rig, 1000).size(), 2000 / 80, 1);
  // A tempo that is not positive keeps the one in force.
  for (int tempo : {0, -5}) {
    player->p_Ombi_StartTune(String("silent"), kGameSeed, tempo);
    EXPECT_EQ(player->m_tempo, 100) << tempo;
  }
  Unmute();
  // A due time further off than the clock can have jumped counts as due now.
  player->m_nextStepTime = rig->host.now + 123457;
  rig->Tick();
  EXPECT_EQ(player->m_nextStepTime - rig->host.now, 123457 + 80);

  for (int pause : {17, 600000}) {
    TickFor(*rig, 500);
    TickFor(*rig, pause, 1);
    int lastPaused = rig->host.now;
    steps = TickFor(*rig, 1000);
    ASSERT_FALSE(steps.empty());
    EXPECT_TRUE(steps[0] > lastPaused + 150 && steps[0] <= lastPaused + 150 + 17) << pause;
    EXPECT_LE(steps.size(), 11u) << pause;  // (1000 - 150) / 80: no burst
  }
}

TEST_F(Playback, APauseMusicOffAndStopSilenceAtOnceAndNothingPlaysWhileLoading) {
  LinkGameData("inst");
  player->p_Ombi_StartTune(String("silent"), kGameSeed, 100);
  for (int row = 0; row < 64; ++row) SetCell(0, 2, row, 13, 20);
  for (int i = 0; i < 50; ++i) rig->Step();
  EXPECT_TRUE(audio->calls.empty());
  rig->Load();
  Unmute();
  for (auto [paused, musicOn] : {std::pair{1, 1}, std::pair{0, 0}}) {
    rig->Step();
    ASSERT_EQ(player->m_sounding[2], 1);
    audio->calls.clear();
    player->p_Ombi_Alive_U(paused, musicOn);
    ASSERT_EQ(audio->calls.size(), 1u);
    EXPECT_EQ(On(kLead, "StopChannel").size(), 1u);
  }
  rig->Step();
  player->p_Ombi_Stop(1);
  EXPECT_EQ(player->m_sounding[2], 0);
  audio->calls.clear();
  for (int i = 0; i < 64; ++i) rig->Step();
  EXPECT_TRUE(audio->calls.empty());
}

TEST_F(Playback, InTheLastEightRowsOfASectionAnEarlyChannelFollowsTheNextSectionsMute) {
  StartSilentTune();
  for (int row = 0; row < 64; ++row) SetCell(0, 2, row, 13, 20);
  // Patterns left, mute, mute next, early entry; the first row heard (64: none).
  const int cases[][5] = {{1, 1, 0, 1, 56}, {1, 1, 1, 1, 64}, {1, 1, 0, 0, 64}, {2, 1, 0, 1, 64}, {1, 0, 1, 1, 0}};
  for (const auto& c : cases) {
    int firstHeard = 64, heard = 0;
    for (int row = 63; row >= 0; --row) {
      player->m_step = row;
      player->m_patternsLeft = c[0];
      player->m_mute[2] = c[1];
      player->m_muteNext[2] = c[2];
      player->m_earlyEntry[2] = c[3];
      size_t before = On(kLead, "SetRate").size();
      rig->Step();
      if (On(kLead, "SetRate").size() == before) continue;
      ++heard;
      firstHeard = row;
    }
    EXPECT_EQ(firstHeard, c[4]) << c[0] << c[1] << c[2] << c[3];
    EXPECT_EQ(heard, 64 - c[4]);
  }
}

TEST_F(Playback, APatternBreakOnChannelZeroSendsTheOthersToRow63AndTheNextStepToRowZero) {
  StartSilentTune();
  SetCell(0, 0, 10, 0, 0, 8);
  SetCell(0, 2, 10, 1, 20);  // skipped
  SetCell(0, 2, 63, 25, 20);
  SetCell(0, 1, 63, 13, 20);
  SetCell(0, 2, 0, 20, 20);
  for (int i = 0; i <= 11; ++i) rig->Step();
  std::vector<float> rates;
  for (const AudioCall& call : On(kLead, "SetRate")) rates.push_back(call.value);
  EXPECT_EQ(rates, (std::vector<float>{1.498f, 2.0f, 1.498f}));
  ASSERT_EQ(On(kDrumsB, "PlaySample").size(), 1u);
  EXPECT_EQ(On(kDrumsB, "PlaySample")[0].sample, player->m_drumsB[1]->m_sample);
  EXPECT_EQ(player->m_step, 1);
  EXPECT_EQ(player->m_chords, String("qjj"));
}

TEST_F(Playback, Volume31SilencesWhileVolume0KeepsTheLastLevelAsTheEnvelopeDecays) {
  StartSilentTune();
  player->p_Ombi_PlayNote(3, 13, 30, 0, 0);
  std::vector<float> levels = {Last(kAccompany, "SetVolume")};
  for (int i = 0; i < 25; ++i) {
    player->p_Ombi_PlayNote(3, 0, 0, 0, 0);
    levels.push_back(Last(kAccompany, "SetVolume"));
  }
  // Held while the envelope falls from 1.5 to 1, then shrinking to nothing.
  EXPECT_EQ(levels[4], 0.5f);
  EXPECT_LT(levels[7], levels[6]);
  EXPECT_TRUE(std::is_sorted(levels.rbegin(), levels.rend()));
  EXPECT_EQ(levels.back(), 0.0f);

  player->p_Ombi_PlayNote(3, 13, 20, 0, 0);
  EXPECT_FLOAT_EQ(Last(kAccompany, "SetVolume"), 19.0f / 29 * 0.5f);
  player->p_Ombi_PlayNote(3, 0, 31, 0, 0);
  EXPECT_EQ(Last(kAccompany, "SetVolume"), 0.0f);

  // A drum hit without a volume holds its level for longer.
  player->p_Ombi_PlayNote(0, 13, 0, 0, 0);
  size_t from = audio->calls.size();
  for (int i = 0; i < 28; ++i) player->p_Ombi_PlayNote(0, 0, 0, 0, 0);
  EXPECT_TRUE(On(kDrumsA, "SetVolume", from).empty());
}

TEST_F(Playback, DrumPitchesPlayTheirDrumAndAnyOtherPitchStopsTheChannelAndPlaysNothing) {
  StartSilentTune();
  player->p_Ombi_PlayNote(0, 13, 0, 0, 0);
  player->p_Ombi_PlayNote(1, 25, 0, 0, 0);
  std::vector<AudioCall> played = audio->Named("PlaySample"), pans = audio->Named("SetPan");
  ASSERT_EQ(played.size(), 2u);
  EXPECT_EQ(played[0].sample, player->m_drumsA[1]->m_sample);
  EXPECT_EQ(played[1].sample, player->m_drumsB[8]->m_sample);
  EXPECT_EQ(pans[0].value, -0.35f);
  EXPECT_EQ(pans[1].value, 0.35f);
  audio->calls.clear();
  player->p_Ombi_PlayNote(0, 14, 0, 0, 0);
  ASSERT_EQ(audio->calls.size(), 1u);
  EXPECT_EQ(audio->calls[0].name + " " + std::to_string(audio->calls[0].channel), "StopChannel 30");
  // Pitches and letters off the chart give no rate; other chord numbers the second string.
  EXPECT_EQ(player->p_GetPitch(0) + player->p_GetPitch(33) + player->p_GetPitch_Alpha(' '), 0.0f);
  EXPECT_EQ(player->p_Ombi_GetChord(-1), String("qqjj"));
  EXPECT_EQ(player->p_Ombi_GetChord(6), String("qqjj"));
}

TEST_F(Playback, SlidesMoveTheRateEachStepUpToFourAndDownToAQuarterAndNotesFollowTheChord) {
  StartSilentTune();
  player->p_Ombi_PlayNote(2, 13, 20, 0, 0);
  for (int i = 1; i <= 20; ++i) {
    player->p_Ombi_PlayNote(2, 0, 0, 1, 31);
    EXPECT_NEAR(Last(kLead, "SetRate"), std::min(1 + i * 31 / 180.0, 4.0), 1e-4) << i;
  }
  // Effect, parameter, rate after it.
  const float slides[][3] = {{4, 31, 4 - 31 / 15.0f}, {4, 31, 0.25f}, {3, 3, 0.45f}, {2, 18, 0.35f}};
  for (auto [effect, param, rate] : slides) {
    player->p_Ombi_PlayNote(2, 0, 0, static_cast<int>(effect), static_cast<int>(param));
    EXPECT_NEAR(Last(kLead, "SetRate"), rate, 1e-5) << effect << " " << param;
  }

  player->m_chords = String("j");
  player->p_Ombi_PlayNote(2, 13, 20, 0, 0);
  player->p_Ombi_PlayNote(4, 20, 20, 0, 0);
  EXPECT_EQ(Last(kLead, "SetRate"), 0.891f);
  EXPECT_EQ(Last(kBass, "SetRate"), 1.498f * 0.891f);
}

TEST_F(Playback, AVariantJumpIsTakenOnlyToAVariantThatWasRead) {
  StartSilentTune();
  // From, parameter, patterns left; the variant played.
  const int cases[][4] = {{0, 1, 3, 1}, {1, 2, 2, 0}, {0, 1, 2, 0}, {0, 2, 2, 0}, {62, 1, 3, 62}};
  for (auto [from, param, patternsLeft, to] : cases) {
    for (int v = 0; v < 64; ++v) SetCell(v, 2, 0, 13 + v % 19, 20, v == from ? 27 : 0, param);
    player->m_variant[2] = from;
    player->m_patternsLeft = patternsLeft;
    player->m_step = 0;
    rig->Step();
    EXPECT_EQ(player->m_variant[2], to) << from << " " << param << " " << patternsLeft;
    EXPECT_EQ(Last(kLead, "SetRate"), player->p_GetPitch(13 + to % 19));
  }
}

}  // namespace
