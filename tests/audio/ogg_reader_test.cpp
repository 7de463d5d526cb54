#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "host/audio_data.h"
#include "tests/audio/ogg_encoder.h"
#include "tests/audio/sound_files.h"

namespace {

struct Decoded {
  bool ok = false;
  std::vector<int16_t> samples;
  int length = -1, channels = -1, format = -1, hertz = -1;
};

Decoded DecodeOgg(const Bytes& file) {
  Decoded d;
  FILE* f = MemoryFile(file);
  unsigned char* data = LoadOGG(f, &d.length, &d.channels, &d.format, &d.hertz);
  fclose(f);
  if (data) {
    d.ok = true;
    auto* s = reinterpret_cast<int16_t*>(data);
    d.samples.assign(s, s + static_cast<size_t>(d.length) * d.channels);
    free(data);
  }
  return d;
}

double Rms(const std::vector<int16_t>& samples, int channels, int channel) {
  double sum = 0;
  size_t n = 0;
  for (size_t i = channel; i < samples.size(); i += channels, ++n) sum += double(samples[i]) * samples[i];
  return n ? std::sqrt(sum / n) : 0;
}

TEST(OggReader, DecodesBackToTheEncodedLengthAndChannels) {
  // Left silent, right a tone: the channel order must survive.
  std::vector<int16_t> stereo = Tone(660, 1.0, 44100, 2);
  for (size_t i = 0; i < stereo.size(); i += 2) stereo[i] = 0;
  Decoded s = DecodeOgg(EncodeOgg(stereo, 2, 44100));
  ASSERT_TRUE(s.ok);
  EXPECT_EQ(s.length, 44100);
  EXPECT_EQ(s.channels, 2);
  EXPECT_EQ(s.format, 2);
  EXPECT_EQ(s.hertz, 44100);
  EXPECT_LT(Rms(s.samples, 2, 0), 300);
  EXPECT_NEAR(Rms(s.samples, 2, 1), 0.5 * 32767 / std::sqrt(2.0), 2000);

  // Long enough to make the buffer grow several times.
  Decoded m = DecodeOgg(EncodeOgg(Tone(440, 3.5, 22050), 1, 22050));
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.length, 77175);
  EXPECT_EQ(m.channels, 1);
  EXPECT_EQ(m.hertz, 22050);
}

TEST(OggReader, GivesNoneForWhatItCannotDecode) {
  EXPECT_FALSE(DecodeOgg({}).ok);
  Bytes garbage(5000);
  for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<unsigned char>(i * 31 + 7);
  EXPECT_FALSE(DecodeOgg(garbage).ok);

  Bytes good = EncodeOgg(Tone(440, 0.5, 44100), 1, 44100);
  EXPECT_FALSE(DecodeOgg(Bytes(good.begin(), good.begin() + 60)).ok);
  // Headers and no sound.
  EXPECT_FALSE(DecodeOgg(EncodeOgg({}, 1, 44100)).ok);
  // A WAV is no Ogg.
  EXPECT_FALSE(DecodeOgg(Wav(1, 44100, 16, Bytes(100))).ok);
}

}  // namespace
