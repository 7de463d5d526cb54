// The device in a probe process under OpenAL Soft configurations of its own:
// no backend at all, and the wave-file backend, whose capture is listened to.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include "tests/audio/sound_files.h"
#include "tests/support/subprocess.h"

namespace {

constexpr int kRate = 44100;
constexpr size_t kWindow = 1024;  // samples per analysed window (23 ms)

// The 16-bit mono samples after the capture's "data" tag, whatever its format chunk says.
std::vector<int16_t> ReadCapture(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const char tag[] = "data";
  auto at = std::search(file.begin(), file.end(), tag, tag + 4);
  std::vector<int16_t> samples;
  for (at += std::min<long>(8, file.end() - at); file.end() - at >= 2; at += 2) {
    samples.push_back(static_cast<int16_t>(at[0] | at[1] << 8));
  }
  return samples;
}

// Amplitude of the component at `hertz` in window w (Hann-windowed Goertzel).
double Amplitude(const std::vector<int16_t>& s, size_t w, double hertz) {
  double coeff = 2 * std::cos(2 * M_PI * hertz / kRate), q1 = 0, q2 = 0, weights = 0;
  for (size_t i = 0; i < kWindow; ++i) {
    double hann = 0.5 - 0.5 * std::cos(2 * M_PI * i / (kWindow - 1));
    weights += hann;
    double q0 = coeff * q1 - q2 + hann * s[w * kWindow + i];
    q2 = q1;
    q1 = q0;
  }
  return 2 * std::sqrt(q1 * q1 + q2 * q2 - coeff * q1 * q2) / weights;
}

// No backend OpenAL Soft may use, as on a machine whose device does not open.
TEST(SilentDevice, ReportsTheFailedOpenAndThenEveryCallDoesNothing) {
  ProcessOptions options;
  options.setEnv = {"ALSOFT_DRIVERS=no-such-backend", "ALSOFT_CONF=/dev/null"};
  ProcessResult r = RunProcess({BuildPath("tests/audio/audio_probe"), "silent"}, options);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "OpenAl error: alcOpenDevice failed\nstates 0 0 buffer 0 discarded 0 music -1\n");
}

TEST(Heard, TheCaptureHoldsThePlayedToneAndNothingOfAStoppedChannel) {
  TempFolder folder;
  const std::string& dir = folder.Root();
  std::string capture = dir + "/capture.wav";
  std::string conf = dir + "/alsoft.conf";
  std::ofstream(conf) << "[general]\ndrivers = wave\nsample-type = int16\nchannels = mono\nfrequency = " << kRate
                      << "\n[wave]\nfile = " << capture << "\n";
  ProcessOptions options;
  options.setEnv = {"ALSOFT_CONF=" + conf};
  options.unsetEnv = {"ALSOFT_DRIVERS"};
  ProcessResult probe = RunProcess({BuildPath("tests/audio/audio_probe"), "tone"}, options);
  ASSERT_EQ(probe.status, 0) << probe.out << probe.err;

  // The probe plays a 440 Hz one-shot beside a 1000 Hz loop that it stops part-way.
  std::vector<int16_t> s = ReadCapture(capture);
  size_t windows = s.size() / kWindow, loopHeard = 0, lastLoop = 0, lastSound = 0;
  for (size_t w = 0; w < windows; ++w) {
    double loop = Amplitude(s, w, 1000);
    loopHeard += loop > 8000;
    if (loop > 1000) lastLoop = w;
  }
  for (size_t k = 0; k < windows * kWindow; ++k) {
    if (std::abs(s[k]) >= 30) lastSound = k / kWindow;
  }
  EXPECT_GE(loopHeard, 5u);
  // Nothing sounds once the one-shot ended.
  EXPECT_GT(windows, lastSound + 8);

  // From the loop's stop to the one-shot's end, edge windows left out: the tone alone, at its pitch.
  size_t first = lastLoop + 2;
  ASSERT_GE(lastSound, first + 6);
  for (size_t w = first; w < lastSound; ++w) {
    EXPECT_GT(Amplitude(s, w, 440), 8000) << "window " << w;
    EXPECT_LT(Amplitude(s, w, 1000), 100) << "window " << w;
  }
}

}  // namespace
