// The host's sound file readers: WAV files of every layout and lie, Ogg Vorbis from libvorbisenc.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cmath>

#include "host/audio_data.h"
#include "tests/audio/sound_files.h"

namespace {

// What one of the host's decoders made of a file.
struct Decoded {
  bool ok = false;
  Bytes data;
  int length = -1, channels = -1, format = -1, hertz = -1;
};

Decoded Decode(Decoder decoder, const Bytes& file) {
  Decoded d;
  FILE* f = MemoryFile(file);
  unsigned char* data = decoder(f, &d.length, &d.channels, &d.format, &d.hertz);
  fclose(f);
  if (data) {
    d.ok = true;
    d.data.assign(data, data + static_cast<size_t>(d.length) * d.channels * d.format);
    free(data);
  }
  return d;
}

const Bytes kStereo16 = FormatBody(2, 44100, 16);

TEST(WavReader, ReadsPcmWhateverChunksComeBeforeTheDataAndRejectsShapesOpenAlCannotPlay) {
  Bytes floatFormat = FormatBody(1, 44100, 32);
  floatFormat[0] = 3;
  struct {
    const char* what;
    Bytes file;
    int length;  // -1: none
  } cases[] = {
      {"8-bit mono", Wav(1, 8000, 8, Ramp(1001)), 1001},
      {"a trailing partial frame", Wav(2, 44100, 16, Ramp(4003)), 1000},
      {"an odd-sized format chunk", Riff({{"fmt ", FormatBody(1, 44100, 16, 1)}, {"data", Ramp(200)}}), 100},
      {"odd chunks", Riff({{"fmt ", kStereo16}, {"LIST", Ramp(27)}, {"fact", Ramp(4)}, {"data", Ramp(400)}}), 100},
      {"a format chunk that is not first", Riff({{"LIST", Ramp(10)}, {"fmt ", kStereo16}, {"data", Ramp(200)}}), -1},
      {"three channels", Wav(3, 44100, 16, Ramp(120)), -1},
      {"24-bit", Wav(1, 44100, 24, Ramp(120)), -1},
      {"zero hertz", Wav(1, 0, 16, Ramp(120)), -1},
      {"float samples", Riff({{"fmt ", floatFormat}, {"data", Ramp(120)}}), -1},
      {"less than one frame", Wav(2, 44100, 16, Ramp(3)), -1},
  };
  for (const auto& c : cases) {
    Decoded d = Decode(LoadWAV, c.file);
    EXPECT_EQ(d.ok ? d.length : -1, c.length) << c.what;
    EXPECT_EQ(d.data, Ramp(d.data.size())) << c.what;
  }

  Decoded d = Decode(LoadWAV, Wav(2, 22050, 16, Ramp(44100)));
  EXPECT_EQ((std::vector<int>{d.length, d.channels, d.format, d.hertz}), (std::vector<int>{11025, 2, 2, 22050}));
}

TEST(WavReader, RejectsTruncatedFilesAndSizesBeyondTheFile) {
  // 18 bytes of format and an odd LIST chunk, both skipped.
  const Bytes whole = Riff({{"fmt ", FormatBody(2, 44100, 16, 2)}, {"LIST", Ramp(9)}, {"data", Ramp(64)}});
  ASSERT_TRUE(Decode(LoadWAV, whole).ok);
  for (size_t n = 0; n < whole.size(); ++n) {
    EXPECT_FALSE(Decode(LoadWAV, Bytes(whole.begin(), whole.begin() + static_cast<long>(n))).ok) << n << " bytes";
  }
  const size_t fmtSizeAt = 16, listSizeAt = 42, dataSizeAt = 60;
  // Sizes beyond the file are refused before anything is allocated for them:
  // the address space left is far less than they claim.
  EXPECT_EXIT(
      {
        long pages = 0;
        FILE* statm = fopen("/proc/self/statm", "r");
        if (!statm || fscanf(statm, "%ld", &pages) != 1) _exit(2);
        fclose(statm);
        rlimit limit;
        limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + (64 << 20);
        if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(2);
        bool loaded = false;
        for (size_t at : {fmtSizeAt, listSizeAt, dataSizeAt}) {
          for (uint32_t size : {0xFFFFFFFFu, 0x80000000u, 256u << 20, 65u}) {
            Bytes lie = whole;
            for (int i = 0; i < 4; ++i) lie[at + i] = static_cast<unsigned char>(size >> (8 * i));
            loaded |= Decode(LoadWAV, lie).ok;
          }
        }
        _exit(loaded ? 1 : 0);
      },
      ::testing::ExitedWithCode(0), "");
  Bytes shortFormat = whole, notRiff = whole;
  shortFormat[fmtSizeAt] = 14;
  notRiff[3] = 'X';  // "RIFX"
  EXPECT_FALSE(Decode(LoadWAV, shortFormat).ok);
  EXPECT_FALSE(Decode(LoadWAV, notRiff).ok);
}

double Rms(const Decoded& d, int channel) {
  auto* s = reinterpret_cast<const int16_t*>(d.data.data());
  double sum = 0;
  for (int i = 0; i < d.length; ++i) sum += std::pow(s[i * d.channels + channel], 2);
  return std::sqrt(sum / d.length);
}

TEST(OggReader, DecodesBackToTheEncodedLengthAndChannelsAndGivesNoneForWhatItCannotDecodeOrNoSound) {
  // Left silent, right a tone: the channel order must survive.
  std::vector<int16_t> stereo = Tone(660, 1.0, 44100, 2);
  for (size_t i = 0; i < stereo.size(); i += 2) stereo[i] = 0;
  Decoded s = Decode(LoadOGG, EncodeOgg(stereo, 2, 44100));
  EXPECT_EQ((std::vector<int>{s.length, s.channels, s.format, s.hertz}), (std::vector<int>{44100, 2, 2, 44100}));
  EXPECT_LT(Rms(s, 0), 300);
  EXPECT_NEAR(Rms(s, 1), 16383 / std::sqrt(2.0), 2000);
  // Long enough to make the buffer grow several times.
  Decoded m = Decode(LoadOGG, EncodeOgg(Tone(440, 3.5, 22050), 1, 22050));
  EXPECT_EQ((std::vector<int>{m.length, m.channels, m.hertz}), (std::vector<int>{77175, 1, 22050}));
  for (const Bytes& file : {Ramp(5000), EncodeOgg({}, 1, 44100) /* headers only */}) {
    EXPECT_FALSE(Decode(LoadOGG, file).ok) << file.size() << " bytes";
  }
}

}  // namespace
