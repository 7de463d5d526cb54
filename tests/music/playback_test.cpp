// Playback: when steps fall, and what each cell does to its channel.
#include "tests/music/sequencer_test.h"

namespace {

using Playback = SequencerTest;

// Audio channels of the music channels with the game's top channel of 31.
constexpr int kDrumsA = 30, kDrumsB = 29, kLead = 28, kAccompany = 27, kBass = 26;

// Runs 60 Hz ticks from the host's time for `ms` and gives the times at which steps were played.
std::vector<int> TickFor(SequencerRig& rig, int ms, int paused = 0) {
  std::vector<int> steps;
  int start = rig.host.now;
  for (int tick = 1; tick * 1000 / 60 <= ms; ++tick) {
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

TEST_F(Playback, AtTempo100StepsFallEvery80MillisecondsAndNeverTwoInOneTick) {
  StartSilentTune();
  int due = player->m_nextStepTime;
  std::vector<int> steps = TickFor(*rig, 10000);
  EXPECT_NEAR(steps.size(), 10000 / 80, 1);
  for (size_t i = 0; i < steps.size(); ++i) {
    // Each at the first tick after it fell due.
    EXPECT_GT(steps[i], due + 80 * int(i)) << i;
    EXPECT_LE(steps[i], due + 80 * int(i) + 17) << i;
  }
  // A second behind: a step every tick until the clock is caught up.
  rig->host.now += 1000;
  steps = TickFor(*rig, 1000);
  EXPECT_NEAR(steps.size(), 2000 / 80, 1);
  for (size_t i = 1; i < 12; ++i) EXPECT_LE(steps[i] - steps[i - 1], 17) << i;
  EXPECT_GT(player->m_nextStepTime, rig->host.now);
  // A due time further off than the clock can have jumped counts as due now.
  for (int ahead : {123456, 123457}) {
    player->m_nextStepTime = rig->host.now + ahead;
    rig->Tick();
    EXPECT_EQ(player->m_nextStepTime - rig->host.now, ahead == 123456 ? ahead : ahead + 80);
  }
}

TEST_F(Playback, APauseOfAnyLengthResumes150MillisecondsAfterItsLastTickWithoutABurst) {
  StartSilentTune();
  for (int pause : {17, 1000, 600000}) {
    TickFor(*rig, 500);
    TickFor(*rig, pause, 1);
    int lastPaused = rig->host.now;
    std::vector<int> steps = TickFor(*rig, 1000);
    ASSERT_FALSE(steps.empty());
    EXPECT_GT(steps[0], lastPaused + 150);
    EXPECT_LE(steps[0], lastPaused + 150 + 17);
    EXPECT_LE(steps.size(), 11u) << pause;  // (1000 - 150) / 80 and a bit
  }
}

TEST_F(Playback, PausingMusicOffAndStoppingSilenceAtOnceAndNothingPlaysWhileLoading) {
  LinkGameData("tunes");
  LinkGameData("inst");
  player->p_Ombi_StartTune(String("Quenford/Tune_12"), kGameSeed, 100);
  for (int i = 0; i < 50; ++i) rig->Step();
  EXPECT_TRUE(audio->calls.empty());
  rig->Load();
  Unmute();
  for (int i = 0; i < 8; ++i) rig->Step();
  for (auto [paused, musicOn] : {std::pair{1, 1}, std::pair{0, 0}}) {
    ASSERT_EQ(player->m_sounding[0], 1);
    audio->calls.clear();
    player->p_Ombi_Alive_U(paused, musicOn);
    EXPECT_EQ(size_t(audio->Count("StopChannel")), audio->calls.size());
    EXPECT_EQ(On(kDrumsA, "StopChannel").size(), 1u);
    EXPECT_EQ(player->m_sounding[0], 0);
    rig->Step();
  }
  player->p_Ombi_Stop(1);
  EXPECT_EQ(player->m_sounding[0], 0);
  audio->calls.clear();
  for (int i = 0; i < 64; ++i) rig->Step();
  EXPECT_TRUE(audio->calls.empty());
}

TEST_F(Playback, InTheLastEightRowsOfASectionAnEarlyChannelFollowsTheNextSectionsMute) {
  StartSilentTune();
  for (int row = 0; row < 64; ++row) SetCell(0, 2, row, 13, 20);
  struct Case {
    int patternsLeft, mute, muteNext, earlyEntry, firstRowHeard;  // 64: none
  } cases[] = {{1, 1, 0, 1, 56}, {1, 1, 1, 1, 64}, {1, 1, 0, 0, 64}, {2, 1, 0, 1, 64}, {1, 0, 1, 1, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.patternsLeft << c.mute << c.muteNext << c.earlyEntry);
    std::vector<int> heard;
    for (int row = 0; row < 64; ++row) {
      player->m_patternsLeft = c.patternsLeft;
      player->m_mute[2] = c.mute;
      player->m_muteNext[2] = c.muteNext;
      player->m_earlyEntry[2] = c.earlyEntry;
      size_t before = On(kLead, "SetRate").size();
      rig->Step();
      if (On(kLead, "SetRate").size() > before) heard.push_back(row);
    }
    std::vector<int> expected;
    for (int row = c.firstRowHeard; row < 64; ++row) expected.push_back(row);
    EXPECT_EQ(heard, expected);
  }
}

TEST_F(Playback, APatternBreakOnChannelZeroSendsTheOthersToRow63AndTheNextStepToRowZero) {
  StartSilentTune();
  SetCell(0, 0, 10, 0, 0, 8);
  SetCell(0, 2, 10, 1, 20);  // skipped
  SetCell(0, 2, 63, 25, 20);
  SetCell(0, 1, 63, 13, 20);
  SetCell(0, 2, 0, 20, 20);
  for (int i = 0; i <= 10; ++i) rig->Step();
  auto rates = [&] {
    std::vector<float> values;
    for (const AudioCall& call : On(kLead, "SetRate")) values.push_back(call.value);
    return values;
  };
  EXPECT_EQ(rates(), (std::vector<float>{1.498f, 2.0f}));
  ASSERT_EQ(On(kDrumsB, "PlaySample").size(), 1u);
  EXPECT_EQ(On(kDrumsB, "PlaySample")[0].sample, player->m_drumsB[1]->m_sample);
  EXPECT_EQ(player->m_step, 0);
  EXPECT_EQ(player->m_chords, String("qjj"));
  rig->Step();
  EXPECT_EQ(rates(), (std::vector<float>{1.498f, 2.0f, 1.498f}));
}

TEST_F(Playback, Volume31SilencesWhileVolume0KeepsTheLastLevelAsTheEnvelopeDecays) {
  StartSilentTune();
  player->p_Ombi_PlayNote(3, 13, 30, 0, 0);
  ASSERT_EQ(On(kAccompany, "SetVolume").back().value, 0.5f);
  std::vector<float> levels;
  for (int i = 0; i < 25; ++i) {
    size_t from = audio->calls.size();
    player->p_Ombi_PlayNote(3, 0, 0, 0, 0);
    std::vector<AudioCall> set = On(kAccompany, "SetVolume", from);
    float held = levels.empty() ? 0.5f : levels.back();
    levels.push_back(set.empty() ? held : set.back().value);
  }
  // Held while the envelope falls from 1.5 to 1, then shrinking to nothing.
  EXPECT_EQ(std::vector<float>(levels.begin(), levels.begin() + 4), std::vector<float>(4, 0.5f));
  for (size_t i = 5; i < levels.size(); ++i) EXPECT_LE(levels[i], levels[i - 1]) << i;
  EXPECT_LT(levels[6], levels[5]);
  EXPECT_EQ(levels.back(), 0.0f);

  player->p_Ombi_PlayNote(3, 13, 20, 0, 0);
  EXPECT_FLOAT_EQ(On(kAccompany, "SetVolume").back().value, 19.0f / 29 * 0.5f);
  player->p_Ombi_PlayNote(3, 0, 31, 0, 0);
  EXPECT_EQ(On(kAccompany, "SetVolume").back().value, 0.0f);

  // A drum hit without a volume holds the level longer.
  player->p_Ombi_PlayNote(0, 13, 0, 0, 0);
  size_t from = audio->calls.size();
  for (int i = 0; i < 28; ++i) player->p_Ombi_PlayNote(0, 0, 0, 0, 0);
  EXPECT_TRUE(On(kDrumsA, "SetVolume", from).empty());
  for (int i = 0; i < 3; ++i) player->p_Ombi_PlayNote(0, 0, 0, 0, 0);
  EXPECT_FALSE(On(kDrumsA, "SetVolume", from).empty());
}

TEST_F(Playback, DrumPitchesPickTheirDrumAndAnyOtherPitchStopsTheChannelAndPlaysNothing) {
  StartSilentTune();
  const int pitches[8] = {13, 15, 17, 18, 20, 22, 24, 25};
  for (int n = 1; n <= 8; ++n) {
    for (int ch : {0, 1}) {
      audio->calls.clear();
      player->p_Ombi_PlayNote(ch, pitches[n - 1], 0, 0, 0);
      c_Sound* drum = (ch == 0 ? player->m_drumsA : player->m_drumsB)[n];
      ASSERT_EQ(audio->Count("PlaySample"), 1);
      EXPECT_EQ(audio->Named("PlaySample")[0].sample, drum->m_sample);
      EXPECT_EQ(audio->Named("PlaySample")[0].flags, 0);
      EXPECT_EQ(audio->Named("SetPan")[0].value, ch == 0 ? -0.35f : 0.35f);
    }
  }
  audio->calls.clear();
  player->p_Ombi_PlayNote(0, 14, 0, 0, 0);
  ASSERT_EQ(audio->calls.size(), 1u);
  EXPECT_EQ(audio->calls[0].name, "StopChannel");
  EXPECT_EQ(audio->calls[0].channel, kDrumsA);
}

TEST_F(Playback, SlidesMoveTheRateEachStepUpToFourAndDownToAQuarter) {
  StartSilentTune();
  player->p_Ombi_PlayNote(2, 13, 20, 0, 0);
  std::vector<float> rates;
  for (int i = 0; i < 20; ++i) {
    player->p_Ombi_PlayNote(2, 0, 0, 1, 31);
    rates.push_back(On(kLead, "SetRate").back().value);
  }
  for (int i = 0; i < 17; ++i) EXPECT_NEAR(rates[i], 1 + (i + 1) * 31 / 180.0, 1e-4) << i;
  EXPECT_EQ(rates[17], 4.0f);
  EXPECT_EQ(rates[19], 4.0f);

  player->p_Ombi_PlayNote(2, 0, 0, 4, 31);
  EXPECT_NEAR(On(kLead, "SetRate").back().value, 4 - 31 / 15.0, 1e-5);
  player->p_Ombi_PlayNote(2, 0, 0, 4, 31);
  EXPECT_EQ(On(kLead, "SetRate").back().value, 0.25f);
  player->p_Ombi_PlayNote(2, 0, 0, 3, 3);
  EXPECT_NEAR(On(kLead, "SetRate").back().value, 0.45, 1e-5);
  player->p_Ombi_PlayNote(2, 0, 0, 2, 18);
  EXPECT_NEAR(On(kLead, "SetRate").back().value, 0.35, 1e-5);
}

TEST_F(Playback, TheTonalChannelsAreTransposedByTheChordOfTheirPattern) {
  StartSilentTune();
  SetCell(0, 2, 0, 13, 20);
  SetCell(0, 4, 0, 20, 20);
  for (int pattern = 0; pattern < 12; ++pattern) {
    Unmute();
    float chord = player->p_GetPitch_Alpha(player->m_chords[0]);
    for (int row = 0; row < 64; ++row) rig->Step();
    EXPECT_EQ(On(kLead, "SetRate").back().value, chord) << pattern;
    EXPECT_EQ(On(kBass, "SetRate").back().value, 1.498f * chord) << pattern;
  }
}

TEST_F(Playback, AVariantJumpIsTakenOnlyToAVariantThatWasRead) {
  StartSilentTune();
  struct Case {
    int from, param, patternsLeft, to;
  } cases[] = {{0, 1, 3, 1}, {1, 2, 2, 0}, {0, 1, 2, 0}, {0, 2, 2, 0}, {62, 1, 3, 62}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.from << " " << c.param << " " << c.patternsLeft);
    std::fill(player->m_cells.begin(), player->m_cells.end(), 0);
    for (int v = 0; v < 64; ++v) SetCell(v, 2, 0, 13 + v % 19, 20, v == c.from ? 27 : 0, c.param);
    player->m_variant[2] = c.from;
    player->m_patternsLeft = c.patternsLeft;
    player->m_step = 0;
    rig->Step();
    EXPECT_EQ(player->m_variant[2], c.to);
    EXPECT_EQ(On(kLead, "SetRate").back().value, player->p_GetPitch(13 + c.to % 19));
  }
}

TEST(Tables, PitchesChordLettersAndChordStringsReadAsCharted) {
  c_OmbiPlayer* p = (new c_OmbiPlayer())->m_new();
  const std::pair<int, float> pitches[] = {{1, 0.5f}, {9, 0.7935f}, {13, 1.0f}, {19, 1.414f}, {32, 2.996f},
                                           {0, 0.0f}, {33, 0.0f}};
  for (auto [n, ratio] : pitches) EXPECT_EQ(p->p_GetPitch(n), ratio) << n;
  const std::pair<char, float> letters[] = {{'q', 1.0f}, {'j', 0.891f}, {'b', 0.749f}, {'z', 0.5f},
                                            {'2', 1.059f}, {'[', 2.67f}, {']', 2.996f}, {' ', 0.0f}};
  for (auto [c, ratio] : letters) EXPECT_EQ(p->p_GetPitch_Alpha(c), ratio) << c;
  const char* chords[] = {"qqqq", "qqjj", "qqbb", "qbqb", "qqqj", "qqzz", "qqjj"};
  for (int n = 0; n < 7; ++n) EXPECT_EQ(p->p_Ombi_GetChord(n).ToCString(), chords[n]) << n;
  EXPECT_EQ(p->p_Ombi_GetChord(-1).ToCString(), "qqjj");
}

}  // namespace
