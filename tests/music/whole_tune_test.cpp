// A whole tune over many sections: the same audio calls every time it is played.
#include <set>

#include "framework/random.h"
#include "tests/music/sequencer_test.h"

namespace {

using WholeTune = SequencerTest;

// One audio call with the sample named by the player's slot that holds it.
std::string Describe(const AudioCall& call, c_OmbiPlayer* p) {
  std::string sample;
  for (int n = 0; n < 9; ++n) {
    if (p->m_drumsA[n] && call.sample == p->m_drumsA[n]->m_sample) sample = "A" + std::to_string(n);
    if (p->m_drumsB[n] && call.sample == p->m_drumsB[n]->m_sample) sample = "B" + std::to_string(n);
    if (n < 8 && p->m_instruments[n] && call.sample == p->m_instruments[n]->m_sample) sample = "I" + std::to_string(n);
  }
  return call.name + " " + std::to_string(call.channel) + " " + sample + " " + std::to_string(call.flags) + " " +
         std::to_string(call.value);
}

TEST_F(WholeTune, TenThousandStepsGiveTheSameAudioCallsEveryTime) {
  LinkGameData("tunes");
  LinkGameData("inst");
  std::vector<std::string> runs[2];
  for (int r = 0; r < 2; ++r) {
    c_OmbiPlayer* p = rig->player = (new c_OmbiPlayer())->m_new();
    p->p_Ombi_Init(SequencerRig::kTopChannel, 4, 3, 3, 4);
    vx_random_Seed = 99 + r * 7777;  // the game's own draws do not matter
    p->p_Ombi_StartTune(String("Quenford/Tune_12"), kGameSeed, 100);
    rig->Load();
    audio->calls.clear();
    for (int step = 0; step < 10000; ++step) {
      rig->Step();
      vx_random_Seed += step;
    }
    for (const AudioCall& call : audio->calls) runs[r].push_back(Describe(call, p));
    EXPECT_GT(p->m_variation, 40);
  }
  ASSERT_EQ(runs[0].size(), runs[1].size());
  for (size_t i = 0; i < runs[0].size(); ++i) ASSERT_EQ(runs[0][i], runs[1][i]) << "call " << i;

  // Every music channel sounded, from more than one variant and chord.
  std::set<std::string> played;
  for (const std::string& call : runs[0]) {
    if (call.rfind("PlaySample", 0) == 0) played.insert(call.substr(0, call.find(' ', 11)));
  }
  EXPECT_EQ(played, (std::set<std::string>{"PlaySample 26", "PlaySample 27", "PlaySample 28", "PlaySample 29",
                                           "PlaySample 30"}));
  std::set<std::string> leadRates;
  for (const std::string& call : runs[0]) {
    if (call.rfind("SetRate 28", 0) == 0) leadRates.insert(call);
  }
  EXPECT_GT(leadRates.size(), 15u);
}

}  // namespace
