// The seeded draws: instruments and channels at a tune's start, chords at
// pattern ends and the draws of each section.
#include <climits>
#include <set>

#include "framework/random.h"
#include "tests/music/sequencer_test.h"

namespace {

using Draws = SequencerTest;

// Everything a start or a section change draws: picks 1..5, then per channel
// variant, mute, muteNext and earlyEntry, then the section's patterns.
std::vector<int> Drawn(c_OmbiPlayer* p) {
  std::vector<int> drawn(p->m_picks.begin() + 1, p->m_picks.begin() + 6);
  for (const Array<int>& a : {p->m_variant, p->m_mute, p->m_muteNext, p->m_earlyEntry}) {
    drawn.insert(drawn.end(), a.begin(), a.begin() + 5);
  }
  drawn.push_back(p->m_patternsLeft);
  return drawn;
}

TEST_F(Draws, TheGameSeedStartsEveryTuneTheSameWayWhateverTheGlobalSeedWas) {
  // Worked out apart from the code, from the seed formulas.
  const std::vector<int> game = {1, 3, 2, 2, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 1, 0, 0, 0, 1, 0, 0, 1, 0, 0, 2};
  for (int before : {1234, 0, -5, INT_MAX}) {
    for (const char* name : {"Quenford/Tune_12", "Retro/Ferrovale"}) {
      vx_random_Seed = before;
      player->p_Ombi_StartTune(String(name), kGameSeed, 100 + before % 7);
      EXPECT_EQ(Drawn(player), game);
      EXPECT_EQ(vx_random_Seed, 464377262);
      EXPECT_EQ(player->m_chords, String("qqjj"));
    }
  }
  player->p_Ombi_StartTune(String("Retro/Ferrovale"), kGameSeed + 1, 100);
  EXPECT_NE(vx_random_Seed, 464377262);
}

TEST_F(Draws, PicksStayInTheirPoolsAndReachEveryInstrument) {
  const int pools[5] = {4, 4, 3, 3, 4};
  std::set<int> seen[5], lengths;
  std::vector<int> seeds = {INT_MIN, INT_MAX, -1};
  for (int s = -300; s < 300; ++s) seeds.push_back(s * 7919);
  for (int seed : seeds) {
    player->p_Ombi_StartTune(String("any"), seed, 100);
    for (int i = 0; i < 5; ++i) {
      int pick = player->m_picks[i + 1];
      ASSERT_GE(pick, 1) << seed;
      ASSERT_LE(pick, pools[i]) << seed;
      seen[i].insert(pick);
    }
    lengths.insert(player->m_patternsLeft);
  }
  for (int i = 0; i < 5; ++i) EXPECT_EQ(seen[i].size(), size_t(pools[i])) << i;
  EXPECT_EQ(lengths, (std::set<int>{2, 4}));
}

TEST_F(Draws, RestartingTheLoadedTuneLoadsNothingAndDrawsTheSameChoicesAgain) {
  LinkGameData("tunes");
  LinkGameData("inst");
  player->p_Ombi_StartTune(String("Retro/Tazzlebrook"), kGameSeed, 100);
  std::vector<int> first = Drawn(player);
  rig->Load();
  size_t decoded = rig->host.decoded.size();
  c_Sound* lead = player->m_instruments[2];

  std::vector<std::vector<int>> restarts;
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 700; ++i) rig->Step();  // several sections on
    vx_random_Seed = round;
    player->p_Ombi_StartTune(String("Retro/Tazzlebrook"), kGameSeed, 100);
    EXPECT_EQ(player->m_loadStep, 0);
    EXPECT_EQ(player->m_state, 2);
    EXPECT_EQ(player->m_step, 0);
    EXPECT_EQ(player->m_variation, 0);
    restarts.push_back(Drawn(player));
    rig->Render();
  }
  EXPECT_EQ(rig->host.decoded.size(), decoded);
  EXPECT_EQ(player->m_instruments[2], lead);
  EXPECT_EQ(std::vector<int>(restarts[0].begin(), restarts[0].begin() + 5),
            std::vector<int>(first.begin(), first.begin() + 5));
  EXPECT_EQ(restarts[1], restarts[0]);
  EXPECT_EQ(restarts[2], restarts[0]);
}

TEST_F(Draws, SectionsAndChordsFollowTheTuneSeed) {
  StartSilentTune();
  player->p_Ombi_StartTune(String("silent"), kGameSeed, 100);  // the draws of a start, kept
  // Worked out apart from the code: the first letter of the queue in each
  // pattern ("qqjj" in full, then each drawn string from its second letter
  // and a space), and the draws after each section change (no variants in a
  // silent tune).
  const std::string letters = "qqjjqqj bqb qqj qjj bqb ";
  const std::vector<std::vector<int>> sections = {
      {1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 1, 1, 0, 1, 1, 2},
      {0, 0, 0, 1, 1, 0, 0, 1, 1, 1, 1, 0, 1, 1, 0, 2},
      {0, 0, 1, 1, 1, 0, 1, 1, 1, 0, 0, 1, 0, 0, 1, 2},
      {0, 1, 1, 1, 0, 1, 1, 0, 0, 0, 1, 0, 0, 1, 0, 4},
  };
  std::string heard;
  std::vector<std::vector<int>> changes;
  while (heard.size() < letters.size()) {
    heard += static_cast<char>(player->m_chords[0]);
    int variation = player->m_variation;
    for (int row = 0; row < 64; ++row) rig->Step();
    std::vector<int> drawn = Drawn(player);
    if (player->m_variation != variation) changes.emplace_back(drawn.begin() + 10, drawn.end());
  }
  EXPECT_EQ(heard, letters);
  changes.resize(sections.size());
  EXPECT_EQ(changes, sections);
}

TEST_F(Draws, TheDrumChannelsAreNeverBothMutedAfterASectionChange) {
  StartSilentTune();
  int bothDrawn = 0;
  for (int seed = 0; seed < 300; ++seed) {
    player->p_Ombi_StartTune(String("silent"), seed, 100);
    for (int section = 0; section < 8; ++section) {
      bothDrawn += player->m_muteNext[0] == 1 && player->m_muteNext[1] == 1;
      player->m_step = 63;  // the last row of the section's last pattern
      player->m_patternsLeft = 1;
      rig->Step();
      ASSERT_EQ(player->m_variation, section + 1);
      EXPECT_FALSE(player->m_mute[0] == 1 && player->m_mute[1] == 1) << seed << " " << section;
    }
  }
  EXPECT_GT(bothDrawn, 100);  // the case arises
}

}  // namespace
