// A tune heard: played in real time into OpenAL Soft's wave-file backend by a
// child process, the capture read back through sox.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <fstream>
#include <thread>

#include "tests/music/sequencer_rig.h"
#include "tests/support/audio_recorder.h"
#include "tests/support/subprocess.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr int kRate = 44100;
constexpr int kStep = kRate * 80 / 1000;  // samples per step at tempo 100

// The mono samples of `seconds` of a tune with only music channel `band` heard.
std::vector<int16_t> Capture(const char* tune, double seconds, int band) {
  TempFolder folder;
  std::string capture = folder.Path("capture.wav"), conf = folder.Path("alsoft.conf");
  std::ofstream(conf) << "[general]\ndrivers = wave\nsample-type = int16\nchannels = mono\nfrequency = " << kRate
                      << "\n[wave]\nfile = " << capture << "\n";
  pid_t child = fork();
  if (child == 0) {  // OpenAL Soft reads its configuration once, at the first device
    setenv("ALSOFT_CONF", conf.c_str(), 1);
    unsetenv("ALSOFT_DRIVERS");
    if (chdir(BuildPath("run").c_str()) != 0) _exit(2);
    auto* audio = new RecordingAudio();
    if (!audio->alcContext) _exit(1);
    {
      SequencerRig rig(audio);
      rig.host.realTime = true;
      rig.player->p_Ombi_StartTune(String(tune), 37171650, 100);
      rig.Load();
      for (int i = 0; i < OMBI_PLAYED_CHANNELS; ++i) {
        rig.player->m_mute[i] = rig.player->m_muteNext[i] = i != band;
        rig.player->m_earlyEntry[i] = 0;
      }
      auto tick = std::chrono::microseconds(1000000 / 60);
      auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
      for (auto next = std::chrono::steady_clock::now(); next < end; next += tick) {
        rig.Tick();
        std::this_thread::sleep_until(next + tick);
      }
      rig.player->p_Ombi_Stop(1);
    }
    alcMakeContextCurrent(nullptr);  // closing the device completes the capture
    alcDestroyContext(audio->alcContext);
    alcCloseDevice(audio->alcDevice);
    _exit(0);
  }
  int status = -1;
  waitpid(child, &status, 0);
  EXPECT_EQ(status, 0) << "the player's process";
  ProcessResult raw = RunProcess({"/usr/bin/sox", capture, "-t", "raw", "-e", "signed", "-b", "16", "-c", "1", "-"});
  EXPECT_EQ(raw.status, 0) << raw.err;
  std::vector<int16_t> s(raw.out.size() / 2);
  std::memcpy(s.data(), raw.out.data(), s.size() * 2);
  return s;
}

TEST(HeardAlone, TheAccompanimentFallsSilentBetweenItsStabs) {
  // At the game's seed the first tune opens on its stab rhythm, a stab every four steps.
  std::vector<int16_t> s = Capture("Quenford/Tune_12", 3, 3);
  constexpr int kBlock = kRate / 100;
  std::vector<double> rms;
  for (size_t at = 0; at + kBlock <= s.size(); at += kBlock) {
    double sum = 0;
    for (size_t i = at; i < at + kBlock; ++i) sum += double(s[i]) * s[i];
    if (!rms.empty() || sum > 300.0 * 300 * kBlock) rms.push_back(std::sqrt(sum / kBlock));
  }
  // In 10 ms blocks from the first sound on, every stretch of four steps holds a stab and a gap near silence.
  constexpr size_t kStretch = 4 * kStep / kBlock;
  ASSERT_GE(rms.size(), 5 * kStretch);
  for (size_t at = 0; at + kStretch <= rms.size(); at += kStretch) {
    auto [low, high] = std::minmax_element(rms.begin() + at, rms.begin() + at + kStretch);
    EXPECT_GT(*high, 1000) << "block " << at;
    EXPECT_LT(*low, *high / 10) << "block " << at;
  }
}

}  // namespace
