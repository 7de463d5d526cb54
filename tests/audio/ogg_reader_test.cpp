#include <gtest/gtest.h>

#include <cmath>

#include "host/audio_data.h"
#include "tests/audio/sound_files.h"

namespace {

double Rms(const Decoded& d, int channel) {
  auto* s = reinterpret_cast<const int16_t*>(d.data.data());
  double sum = 0;
  for (int i = 0; i < d.length; ++i) sum += std::pow(s[i * d.channels + channel], 2);
  return std::sqrt(sum / d.length);
}

TEST(OggReader, DecodesBackToTheEncodedLengthAndChannels) {
  // Left silent, right a tone: the channel order must survive.
  std::vector<int16_t> stereo = Tone(660, 1.0, 44100, 2);
  for (size_t i = 0; i < stereo.size(); i += 2) stereo[i] = 0;
  Decoded s = Decode(LoadOGG, EncodeOgg(stereo, 2, 44100));
  ASSERT_TRUE(s.ok);
  EXPECT_EQ(s.length, 44100);
  EXPECT_EQ(s.channels, 2);
  EXPECT_EQ(s.format, 2);
  EXPECT_EQ(s.hertz, 44100);
  EXPECT_LT(Rms(s, 0), 300);
  EXPECT_NEAR(Rms(s, 1), 16383 / std::sqrt(2.0), 2000);

  // Long enough to make the buffer grow several times.
  Decoded m = Decode(LoadOGG, EncodeOgg(Tone(440, 3.5, 22050), 1, 22050));
  EXPECT_EQ(m.length, 77175);
  EXPECT_EQ(m.channels, 1);
  EXPECT_EQ(m.hertz, 22050);
}

TEST(OggReader, GivesNoneForWhatItCannotDecodeAndForNoSound) {
  const Bytes undecodable[] = {Ramp(5000), EncodeOgg({}, 1, 44100) /* headers only */};
  for (const Bytes& file : undecodable) EXPECT_FALSE(Decode(LoadOGG, file).ok) << file.size() << " bytes";
}

}  // namespace
