#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>

#include "host/audio_data.h"
#include "tests/audio/sound_files.h"

namespace {

struct Decoded {
  bool ok = false;
  Bytes data;
  int length = -1, channels = -1, format = -1, hertz = -1;
};

Decoded DecodeWav(const Bytes& file) {
  Decoded d;
  FILE* f = MemoryFile(file);
  unsigned char* data = LoadWAV(f, &d.length, &d.channels, &d.format, &d.hertz);
  fclose(f);
  if (data) {
    d.ok = true;
    d.data.assign(data, data + static_cast<size_t>(d.length) * d.channels * d.format);
    free(data);
  }
  return d;
}

Bytes Ramp(size_t n) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<unsigned char>(i * 7);
  return b;
}

TEST(WavReader, PlainPcmGivesFramesPerChannelAndTheSamples) {
  Decoded stereo = DecodeWav(Wav(2, 22050, 16, Ramp(44100)));
  ASSERT_TRUE(stereo.ok);
  EXPECT_EQ(stereo.length, 11025);
  EXPECT_EQ(stereo.channels, 2);
  EXPECT_EQ(stereo.format, 2);
  EXPECT_EQ(stereo.hertz, 22050);
  EXPECT_EQ(stereo.data, Ramp(44100));

  Decoded mono8 = DecodeWav(Wav(1, 8000, 8, Ramp(1001)));
  ASSERT_TRUE(mono8.ok);
  EXPECT_EQ(mono8.length, 1001);
  EXPECT_EQ(mono8.channels, 1);
  EXPECT_EQ(mono8.format, 1);
  EXPECT_EQ(mono8.data, Ramp(1001));

  // A trailing partial frame does not count.
  EXPECT_EQ(DecodeWav(Wav(2, 44100, 16, Ramp(4003))).length, 1000);
}

TEST(WavReader, SkipsExtraFormatBytesAndChunksBeforeData) {
  for (int extra : {2, 1, 24}) {
    Bytes chunks;
    PutChunk(chunks, "fmt ", FormatBody(1, 44100, 16, extra));
    PutChunk(chunks, "data", Ramp(200));
    Decoded d = DecodeWav(Riff(chunks));
    ASSERT_TRUE(d.ok) << "format chunk of " << 16 + extra << " bytes";
    EXPECT_EQ(d.length, 100);
    EXPECT_EQ(d.data, Ramp(200));
  }
  // Odd-sized chunks are followed by a pad byte.
  for (size_t listSize : {26u, 27u, 1u}) {
    Bytes chunks;
    PutChunk(chunks, "fmt ", FormatBody(2, 44100, 16));
    PutChunk(chunks, "LIST", Ramp(listSize));
    PutChunk(chunks, "fact", Ramp(4));
    PutChunk(chunks, "data", Ramp(400));
    Decoded d = DecodeWav(Riff(chunks));
    ASSERT_TRUE(d.ok) << "LIST chunk of " << listSize << " bytes";
    EXPECT_EQ(d.length, 100);
    EXPECT_EQ(d.data, Ramp(400));
  }
}

TEST(WavReader, RejectsAFormatChunkThatIsNotFirst) {
  Bytes chunks;
  PutChunk(chunks, "LIST", Ramp(10));
  PutChunk(chunks, "fmt ", FormatBody(1, 44100, 16));
  PutChunk(chunks, "data", Ramp(200));
  EXPECT_FALSE(DecodeWav(Riff(chunks)).ok);
}

TEST(WavReader, RejectsShapesWithoutAnOpenAlFormat) {
  EXPECT_FALSE(DecodeWav(Wav(0, 44100, 16, Ramp(100))).ok);
  EXPECT_FALSE(DecodeWav(Wav(3, 44100, 16, Ramp(120))).ok);
  EXPECT_FALSE(DecodeWav(Wav(1, 44100, 24, Ramp(120))).ok);
  EXPECT_FALSE(DecodeWav(Wav(1, 44100, 4, Ramp(120))).ok);
  EXPECT_FALSE(DecodeWav(Wav(1, 44100, 0, Ramp(120))).ok);
  EXPECT_FALSE(DecodeWav(Wav(1, 0, 16, Ramp(120))).ok);

  Bytes floatFormat = FormatBody(1, 44100, 32);
  floatFormat[0] = 3;
  Bytes chunks;
  PutChunk(chunks, "fmt ", floatFormat);
  PutChunk(chunks, "data", Ramp(120));
  EXPECT_FALSE(DecodeWav(Riff(chunks)).ok);

  // Fewer data bytes than one frame: nothing to play.
  EXPECT_FALSE(DecodeWav(Wav(2, 44100, 16, Ramp(3))).ok);
}

TEST(WavReader, RejectsTruncatedFilesAndSizesBeyondTheFile) {
  Bytes chunks;
  PutChunk(chunks, "fmt ", FormatBody(2, 44100, 16, 2));
  PutChunk(chunks, "LIST", Ramp(9));
  PutChunk(chunks, "data", Ramp(64));
  Bytes whole = Riff(chunks);
  ASSERT_TRUE(DecodeWav(whole).ok);
  for (size_t n = 0; n < whole.size(); ++n) {
    EXPECT_FALSE(DecodeWav(Bytes(whole.begin(), whole.begin() + static_cast<long>(n))).ok) << n << " bytes";
  }

  Bytes notRiff = whole;
  memcpy(notRiff.data(), "RIFX", 4);
  EXPECT_FALSE(DecodeWav(notRiff).ok);

  // Sizes far past the end of the file, in every chunk.
  const size_t fmtSizeAt = 16, listSizeAt = 12 + 8 + 18 + 4, dataSizeAt = listSizeAt + 4 + 10 + 4;
  for (size_t at : {fmtSizeAt, listSizeAt, dataSizeAt}) {
    for (uint32_t size : {0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 65u}) {
      Bytes huge = whole;
      for (int i = 0; i < 4; ++i) huge[at + i] = static_cast<unsigned char>(size >> (8 * i));
      EXPECT_FALSE(DecodeWav(huge).ok) << "size " << size << " at " << at;
    }
  }
  // A format chunk too short for the fields it must hold.
  Bytes shortFormat = whole;
  shortFormat[fmtSizeAt] = 14;
  EXPECT_FALSE(DecodeWav(shortFormat).ok);
}

// Mutated copies of valid files: whatever comes back must be a sound the
// file could hold, and nothing may crash or leak (the sanitizer build checks).
TEST(WavReader, MutatedFilesNeverCrashAndOnlyGiveConsistentSounds) {
  std::vector<Bytes> seeds;
  seeds.push_back(Wav(2, 44100, 16, Ramp(400)));
  seeds.push_back(Wav(1, 8000, 8, Ramp(51)));
  Bytes chunks;
  PutChunk(chunks, "fmt ", FormatBody(1, 22050, 16, 2));
  PutChunk(chunks, "LIST", Ramp(13));
  PutChunk(chunks, "data", Ramp(90));
  seeds.push_back(Riff(chunks));

  std::mt19937 rng(20240611);
  const uint32_t sizes[] = {0, 1, 2, 15, 16, 17, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFFFFF8};
  int loaded = 0;
  for (int i = 0; i < 4000; ++i) {
    Bytes file = seeds[rng() % seeds.size()];
    int edits = 1 + static_cast<int>(rng() % 4);
    for (int e = 0; e < edits && !file.empty(); ++e) {
      size_t at = rng() % file.size();
      switch (rng() % 5) {
        case 0: file[at] = static_cast<unsigned char>(rng()); break;
        case 1: file[at] ^= static_cast<unsigned char>(1u << (rng() % 8)); break;
        case 2: file.resize(at); break;
        case 3: file.insert(file.begin() + static_cast<long>(at), static_cast<unsigned char>(rng())); break;
        case 4:
          if (at + 4 <= file.size()) {
            uint32_t v = sizes[rng() % (sizeof sizes / sizeof *sizes)];
            for (int k = 0; k < 4; ++k) file[at + k] = static_cast<unsigned char>(v >> (8 * k));
          }
          break;
      }
    }
    Decoded d = DecodeWav(file);
    if (!d.ok) continue;
    ++loaded;
    EXPECT_TRUE(d.channels == 1 || d.channels == 2);
    EXPECT_TRUE(d.format == 1 || d.format == 2);
    EXPECT_GT(d.hertz, 0);
    EXPECT_GT(d.length, 0);
    EXPECT_LE(static_cast<size_t>(d.length) * d.channels * d.format, file.size());
  }
  // The mutations leave enough files intact for the loading path to be exercised too.
  EXPECT_GT(loaded, 100);
}

}  // namespace
