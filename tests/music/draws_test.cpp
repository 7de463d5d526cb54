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

TEST_F(Draws, TheTuneSeedAloneDecidesTheStartAndPicksStayInTheirPools) {
  // Worked out apart from the code, from the seed formulas.
  const std::vector<int> game = {1, 3, 2, 2, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 1, 0, 0, 0, 1, 0, 0, 1, 0, 0, 2};
  for (int before : {0, INT_MAX}) {
    vx_random_Seed = before;
    player->p_Ombi_StartTune(String(before ? "Retro/Ferrovale" : "Quenford/Tune_12"), kGameSeed, 100 + before % 7);
    EXPECT_EQ(Drawn(player), game);
    EXPECT_EQ(vx_random_Seed, 464377262);
  }

  const int pools[5] = {4, 4, 3, 3, 4};
  std::set<int> seen[5], lengths;
  for (unsigned s = 0; s < 600; ++s) {
    int seed = static_cast<int>(s * 7158279u);  // across the whole range
    player->p_Ombi_StartTune(String("any"), seed, 100);
    for (int i = 0; i < 5; ++i) {
      int pick = player->m_picks[i + 1];
      ASSERT_TRUE(pick >= 1 && pick <= pools[i]) << seed << " " << i;
      seen[i].insert(pick);
    }
    lengths.insert(player->m_patternsLeft);
    EXPECT_NE(vx_random_Seed, 464377262) << seed;
  }
  for (int i = 0; i < 5; ++i) EXPECT_EQ(seen[i].size(), size_t(pools[i])) << i;
  EXPECT_EQ(lengths, (std::set<int>{2, 4}));
}

TEST_F(Draws, RestartingTheLoadedTuneLoadsNothingAndDrawsTheSameChoicesAgain) {
  LinkTunesAndInstruments();
  player->p_Ombi_StartTune(String("Retro/Tazzlebrook"), kGameSeed, 100);
  std::vector<int> first = Drawn(player), again;
  rig->Load();
  size_t decoded = rig->host.decoded.size();
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 700; ++i) rig->Step();  // several sections on
    vx_random_Seed = round;
    player->p_Ombi_StartTune(String("Retro/Tazzlebrook"), kGameSeed, 100);
    EXPECT_EQ(player->m_loadStep + player->m_step + player->m_variation, 0);
    if (round == 0) again = Drawn(player);
    EXPECT_EQ(Drawn(player), again);
    rig->Render();
  }
  EXPECT_EQ(rig->host.decoded.size(), decoded);
  EXPECT_EQ(std::vector<int>(again.begin(), again.begin() + 5), std::vector<int>(first.begin(), first.begin() + 5));
}

TEST_F(Draws, SectionsAndChordsFollowTheTuneSeed) {
  StartSilentTune();
  player->p_Ombi_StartTune(String("silent"), kGameSeed, 100);  // the draws of a start, kept
  // Worked out apart from the code: the first letter of the queue in each
  // pattern ("qqjj" in full, then each drawn string from its second letter
  // and a space), and the draws after the first section changes.
  const std::string letters = "qqjjqqj bqb qqj qjj bqb ";
  const std::vector<std::vector<int>> sections = {{1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 1, 1, 0, 1, 1, 2},
                                                  {0, 0, 0, 1, 1, 0, 0, 1, 1, 1, 1, 0, 1, 1, 0, 2}};
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

TEST_F(Draws, TheDrumChannelsAreNeverBothMutedAtAStartOrAfterASectionChange) {
  StartSilentTune();
  int bothDrawn = 0;
  for (int seed = 0; seed < 300; ++seed) {
    player->p_Ombi_StartTune(String("silent"), seed, 100);
    EXPECT_FALSE(player->m_mute[0] == 1 && player->m_mute[1] == 1) << seed;
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
