// The three tunes heard: each played for a few seconds into OpenAL Soft's
// wave-file backend, the capture read back through sox.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>

#include "tests/support/subprocess.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr int kRate = 44100;
constexpr int kStep = kRate * 80 / 1000;  // samples per step at tempo 100
constexpr double kSeconds = 4;

// The mono samples of `seconds` of a tune played by music_probe, only music
// channel `band` heard when one is given.
std::vector<int16_t> Capture(const std::string& tune, double seconds, const std::string& band = "") {
  TempFolder folder;
  std::string capture = folder.Path("capture.wav"), conf = folder.Path("alsoft.conf");
  std::ofstream(conf) << "[general]\ndrivers = wave\nsample-type = int16\nchannels = mono\nfrequency = " << kRate
                      << "\n[wave]\nfile = " << capture << "\n";
  ProcessOptions options;
  options.setEnv = {"ALSOFT_CONF=" + conf};
  options.unsetEnv = {"ALSOFT_DRIVERS"};
  options.workingDirectory = BuildPath("run");
  std::vector<std::string> probe = {BuildPath("tests/music/music_probe"), tune, std::to_string(seconds)};
  if (!band.empty()) probe.push_back(band);
  ProcessResult played = RunProcess(probe, options);
  EXPECT_EQ(played.status, 0) << played.out << played.err;
  ProcessResult raw = RunProcess({"/usr/bin/sox", capture, "-t", "raw", "-e", "signed", "-b", "16", "-c", "1", "-"});
  EXPECT_EQ(raw.status, 0) << raw.err;
  std::vector<int16_t> s(raw.out.size() / 2);
  std::memcpy(s.data(), raw.out.data(), s.size() * 2);
  return s;
}

class Heard : public testing::TestWithParam<const char*> {};

TEST_P(Heard, AFewSecondsOfTheTuneAreMusicNotSilence) {
  std::vector<int16_t> s = Capture(GetParam(), kSeconds);
  // Per step: loudness, and the zero crossings, which follow the pitch.
  std::vector<double> rms;
  std::vector<int> crossings;
  for (size_t at = 0; at + kStep <= s.size(); at += kStep) {
    double sum = 0;
    int zero = 0;
    for (size_t i = at; i < at + kStep; ++i) {
      sum += double(s[i]) * s[i];
      zero += i > at && (s[i - 1] < 0) != (s[i] < 0);
    }
    rms.push_back(std::sqrt(sum / kStep));
    crossings.push_back(zero);
  }
  ASSERT_GE(rms.size(), size_t(kSeconds * 1000 / 80 * 0.9));
  // Sound in every step once the first has fallen due.
  for (size_t i = 2; i < rms.size(); ++i) EXPECT_GT(rms[i], 500) << "step " << i;
  // Not one steady sound: loudness and pitch move from step to step.
  double mean = 0, spread = 0;
  for (double r : rms) mean += r / rms.size();
  for (double r : rms) spread += (r - mean) * (r - mean) / rms.size();
  EXPECT_GT(std::sqrt(spread) / mean, 0.1);
  int moves = 0;
  for (size_t i = 3; i < crossings.size(); ++i)
    moves += std::abs(crossings[i] - crossings[i - 1]) > crossings[i - 1] / 5;
  EXPECT_GT(moves, int(crossings.size()) / 3);
}

INSTANTIATE_TEST_SUITE_P(Tunes, Heard, testing::Values("Quenford/Tune_12", "Retro/Tazzlebrook", "Retro/Ferrovale"));

TEST(HeardAlone, TheAccompanimentFallsSilentBetweenItsStabs) {
  // At the game's seed the first tune opens on its stab rhythm, a stab every four steps.
  std::vector<int16_t> s = Capture("Quenford/Tune_12", 3, "3");
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
