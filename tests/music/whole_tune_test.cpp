// A whole tune over many sections: the same audio calls every time it is played.
#include <algorithm>
#include <cmath>
#include <map>
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

// The tonal channels under the game's chord queue, step by step: nothing
// pitched moves under the queue's blank letter, lead slides glide a semitone
// over several rows into a note or a cut, and the accompaniment falls between stabs.
TEST_F(WholeTune, EachTuneBendsOnlyUnderARealChordGlidesAndLetsItsStabsFall) {
  LinkTunesAndInstruments();
  for (const char* name : {"Quenford/Tune_12", "Retro/Tazzlebrook", "Retro/Ferrovale"}) {
    player->p_Ombi_StartTune(String(name), kGameSeed, 100);
    rig->Load();
    std::map<std::string, std::vector<int>> faults;  // steps of each fault
    int run = 0, glides = 0, stabs = 0;
    float rate = 0, glideFrom = 0;     // the lead's rate, and where its glide set out
    std::vector<float> onset, lowest;  // accompaniment per step: note level (-1 none), lowest volume
    for (int step = 0; step < 6000; ++step) {
      bool blank = player->m_chords[0] == ' ';
      size_t from = audio->calls.size();
      rig->Step();
      for (int channel : {kLead, kAccompany, kBass})
        if (blank && On(channel, "PlaySample", from).size() + On(channel, "SetRate", from).size() > 0)
          faults["pitch moved under the blank chord"].push_back(step);
      bool note = !On(kLead, "PlaySample", from).empty(), cut = false;
      for (const AudioCall& c : On(kLead, "SetVolume", from)) cut |= c.value == 0;
      std::vector<AudioCall> rates = On(kLead, "SetRate", from);
      if (!note && !rates.empty() && run++ == 0) glideFrom = rate;
      if (run > 0 && (note || rates.empty())) {
        if (run < 3) faults["a slide of one or two rows"].push_back(step);
        if (!note && !cut) faults["a bent note held"].push_back(step);
        // A semitone (a ratio of 1.0595) at the chord ratio 1.
        if (std::abs(std::abs(rate / glideFrom - 1) * player->m_chordRatio - 0.0595) > 0.008)
          faults["a glide other than a semitone"].push_back(step);
        ++glides, run = 0;
      }
      if (!rates.empty()) rate = rates.back().value;
      std::vector<AudioCall> volumes = On(kAccompany, "SetVolume", from);
      bool started = !On(kAccompany, "PlaySample", from).empty();
      onset.push_back(!started ? -1 : volumes.empty() ? 0 : volumes.back().value);
      lowest.push_back(1);
      for (const AudioCall& c : volumes) lowest.back() = std::min(lowest.back(), c.value);
    }
    float stab = *std::max_element(onset.begin(), onset.end());  // stabs are the loudest notes
    for (size_t s = 0, last = 0; s < onset.size(); ++s) {
      if (onset[s] != stab) continue;
      if (stabs++ > 0 && *std::min_element(lowest.begin() + last + 1, lowest.begin() + s) >= stab)
        faults["no fall between stabs"].push_back(int(s));
      last = s;
    }
    for (const auto& [fault, steps] : faults)
      ADD_FAILURE() << name << ": " << fault << " at " << steps.size() << " steps, the first " << steps[0];
    EXPECT_GT(glides, 20) << name;
    EXPECT_GT(stabs, 50) << name;
  }
}

}  // namespace
