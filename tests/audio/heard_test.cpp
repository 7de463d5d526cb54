// What is heard: OpenAL Soft's wave-file backend captures the mix of a probe
// process, and the test listens to the capture.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

#include "tests/audio/sound_files.h"
#include "tests/support/subprocess.h"

namespace {

constexpr int kRate = 44100;
constexpr int kWindow = 1024;  // samples per analysed window (23 ms)

// The 16-bit mono samples of a capture, whatever its format chunk says.
std::vector<int16_t> ReadCapture(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  size_t at = 12;
  while (at + 8 <= file.size()) {
    uint32_t size = file[at + 4] | file[at + 5] << 8 | file[at + 6] << 16 | uint32_t(file[at + 7]) << 24;
    if (memcmp(&file[at], "data", 4) == 0) {
      size_t end = std::min(file.size(), at + 8 + size);
      std::vector<int16_t> samples;
      for (size_t i = at + 8; i + 1 < end; i += 2) samples.push_back(int16_t(file[i] | file[i + 1] << 8));
      return samples;
    }
    at += 8 + size + (size & 1);
  }
  return {};
}

// Amplitude of the component at `hertz` in samples [from, from + kWindow) (Hann-windowed Goertzel).
double Amplitude(const std::vector<int16_t>& s, size_t from, double hertz) {
  double coeff = 2 * std::cos(2 * M_PI * hertz / kRate), q1 = 0, q2 = 0, weights = 0;
  for (int i = 0; i < kWindow; ++i) {
    double w = 0.5 - 0.5 * std::cos(2 * M_PI * i / (kWindow - 1));
    weights += w;
    double q0 = coeff * q1 - q2 + w * s[from + i];
    q2 = q1;
    q1 = q0;
  }
  return 2 * std::sqrt(q1 * q1 + q2 * q2 - coeff * q1 * q2) / weights;
}

int Peak(const std::vector<int16_t>& s, size_t from) {
  int peak = 0;
  for (int i = 0; i < kWindow; ++i) peak = std::max(peak, std::abs(int(s[from + i])));
  return peak;
}

TEST(Heard, TheCaptureHoldsThePlayedToneAndNothingOfAStoppedChannel) {
  std::string dir = TempDir();
  std::string capture = dir + "/capture.wav";
  std::string conf = dir + "/alsoft.conf";
  std::ofstream(conf) << "[general]\ndrivers = wave\nsample-type = int16\nchannels = mono\nfrequency = " << kRate
                      << "\n[wave]\nfile = " << capture << "\n";
  ProcessOptions options;
  options.setEnv = {"ALSOFT_CONF=" + conf};
  options.unsetEnv = {"ALSOFT_DRIVERS"};
  ProcessResult probe = RunProcess({BuildPath("tests/audio/audio_probe"), "tone"}, options);
  ASSERT_EQ(probe.status, 0) << probe.out << probe.err;

  std::vector<int16_t> s = ReadCapture(capture);
  ASSERT_GT(s.size(), size_t(kRate / 2));

  // Each window is silent, the 440 Hz one-shot with the 1000 Hz loop, or the one-shot alone.
  enum Kind { kSilent, kBoth, kToneOnly, kOther };
  std::vector<Kind> kinds;
  for (size_t from = 0; from + kWindow <= s.size(); from += kWindow) {
    double tone = Amplitude(s, from, 440), loop = Amplitude(s, from, 1000);
    if (Peak(s, from) < 30) {
      kinds.push_back(kSilent);
    } else if (tone > 8000 && loop > 8000) {
      kinds.push_back(kBoth);
    } else if (tone > 8000 && loop < 100) {
      kinds.push_back(kToneOnly);
    } else {
      kinds.push_back(kOther);  // a window where something starts or stops
    }
  }
  // Silence, both, the tone alone, silence to the end: the stopped loop never
  // comes back, and nothing sounds once the one-shot ended.
  size_t i = 0, n = kinds.size();
  auto run = [&](Kind k) {
    size_t start = i;
    while (i < n && kinds[i] == k) ++i;
    return i - start;
  };
  // A start or stop may straddle two windows when the mixer runs late.
  auto skipEdge = [&] {
    for (int k = 0; k < 2 && i < n && kinds[i] == kOther; ++k) ++i;
  };
  run(kSilent);
  skipEdge();
  EXPECT_GE(run(kBoth), 5u);
  skipEdge();
  size_t toneStart = i;
  EXPECT_GE(run(kToneOnly), 8u);
  size_t toneEnd = i;
  skipEdge();
  EXPECT_GE(run(kSilent), 8u);
  EXPECT_EQ(i, n) << "unexpected sound in window " << i << " of " << n;

  // The tone's pitch, from its zero crossings inside the run (its edge windows
  // may hold a little of the dithered silence, which crosses zero all the time).
  ASSERT_GT(toneEnd, toneStart + 2);
  int crossings = 0;
  size_t first = (toneStart + 1) * kWindow, last = (toneEnd - 1) * kWindow;
  for (size_t k = first + 1; k < last; ++k) crossings += (s[k - 1] < 0) != (s[k] < 0);
  double hertz = crossings / 2.0 / (double(last - first) / kRate);
  EXPECT_NEAR(hertz, 440, 440 * 0.03);
}

}  // namespace
