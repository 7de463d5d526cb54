// A whole tune over many sections: the same audio calls every time it is played.
#include <set>

#include "framework/random.h"
#include "tests/music/sequencer_test.h"

namespace {

using WholeTune = SequencerTest;

TEST_F(WholeTune, TenThousandStepsGiveTheSameAudioCallsEveryTime) {
  LinkTunesAndInstruments();
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
    for (const AudioCall& c : audio->calls) {
      runs[r].push_back(c.name + " " + std::to_string(c.channel) + " " + c.path + " " + std::to_string(c.flags) + " " +
                        std::to_string(c.value));
    }
    EXPECT_GT(p->m_variation, 40);
  }
  ASSERT_EQ(runs[0].size(), runs[1].size());
  for (size_t i = 0; i < runs[0].size(); ++i) ASSERT_EQ(runs[0][i], runs[1][i]) << "call " << i;

  // Every music channel sounded, the lead at many rates.
  std::set<int> channels;
  std::set<float> leadRates;
  for (const AudioCall& c : audio->calls) {
    if (c.name == "PlaySample") channels.insert(c.channel);
    if (c.name == "SetRate" && c.channel == kLead) leadRates.insert(c.value);
  }
  EXPECT_EQ(channels, (std::set<int>{26, 27, 28, 29, 30}));
  EXPECT_GT(leadRates.size(), 15u);
}

}  // namespace
