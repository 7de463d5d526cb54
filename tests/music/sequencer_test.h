// A test with the sequencer rig over a recording audio device on OpenAL
// Soft's null backend, in a temporary working folder.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "tests/music/sequencer_rig.h"
#include "tests/support/audio_recorder.h"
#include "tests/support/temp_folder.h"

constexpr int kGameSeed = 37171650;  // the seed the game starts every tune with
// Audio channels of the music channels under the game's top channel of 31.
constexpr int kDrumsA = 30, kDrumsB = 29, kLead = 28, kAccompany = 27, kBass = 26;

class SequencerTest : public testing::Test {
 protected:
  TempFolder folder;
  RecordingAudio* audio = nullptr;
  std::unique_ptr<SequencerRig> rig;
  c_OmbiPlayer* player = nullptr;

  void SetUp() override {
    setenv("ALSOFT_DRIVERS", "null", 1);
    audio = new RecordingAudio();
    ASSERT_NE(audio->alcContext, nullptr);
    rig = std::make_unique<SequencerRig>(audio);
    player = rig->player;
  }

  // Value 0 of the cell of variant v, band b, row s.
  static int Cell(int v, int b, int s) { return v * 4096 + b * 512 + s * 8; }

  void LinkTunesAndInstruments() {
    LinkGameData("tunes");
    LinkGameData("inst");
  }

  // A loaded tune without a picture, with the game's instruments and every
  // channel heard: silence until a test writes cells.
  void StartSilentTune() {
    LinkGameData("inst");
    player->p_Ombi_StartTune(String("silent"), kGameSeed, 100);
    rig->Load();
    Unmute();
  }

  void Unmute() {
    for (int i = 0; i < 5; ++i) player->m_mute[i] = player->m_muteNext[i] = player->m_earlyEntry[i] = 0;
  }

  void SetCell(int v, int band, int step, int pitch, int volume, int effect = 0, int param = 0) {
    int at = Cell(v, band, step);
    for (int value : {pitch, volume, effect, param}) player->m_cells[at++] = value;
  }

  // The calls named `name` on one audio channel, from call `from` on.
  std::vector<AudioCall> On(int channel, const std::string& name, size_t from = 0) const {
    std::vector<AudioCall> found;
    for (size_t i = from; i < audio->calls.size(); ++i) {
      if (audio->calls[i].channel == channel && audio->calls[i].name == name) found.push_back(audio->calls[i]);
    }
    return found;
  }
  // The value of the last such call.
  float Last(int channel, const std::string& name) const { return On(channel, name).back().value; }
};
