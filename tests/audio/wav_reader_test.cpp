#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <random>

#include "host/audio_data.h"
#include "tests/audio/sound_files.h"

namespace {

const Bytes kStereo16 = FormatBody(2, 44100, 16);

// A valid file whose 18-byte format chunk and odd LIST chunk both need skipping.
Bytes Layered() { return Riff({{"fmt ", FormatBody(2, 44100, 16, 2)}, {"LIST", Ramp(9)}, {"data", Ramp(64)}}); }

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

  Decoded stereo = Decode(LoadWAV, Wav(2, 22050, 16, Ramp(44100)));
  EXPECT_EQ(stereo.length, 11025);
  EXPECT_EQ(stereo.channels, 2);
  EXPECT_EQ(stereo.format, 2);
  EXPECT_EQ(stereo.hertz, 22050);
}

TEST(WavReader, RejectsTruncatedFilesAndSizesBeyondTheFile) {
  const Bytes whole = Layered();
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

// Mutated valid files: whatever comes back is a sound the file could hold,
// and nothing crashes or leaks (the sanitizer build checks).
TEST(WavReader, MutatedFilesNeverCrashAndOnlyGiveConsistentSounds) {
  const Bytes seeds[] = {Wav(2, 44100, 16, Ramp(400)), Wav(1, 8000, 8, Ramp(51)), Layered()};
  const uint32_t sizes[] = {0, 1, 15, 16, 17, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFFFFF8};
  std::mt19937 rng(20240611);
  int loaded = 0;
  for (int i = 0; i < 4000; ++i) {
    Bytes file = seeds[rng() % 3];
    for (int e = 1 + static_cast<int>(rng() % 4); e > 0 && !file.empty(); --e) {
      size_t at = rng() % file.size();
      switch (rng() % 4) {
        case 0:
          file[at] = static_cast<unsigned char>(rng());
          break;
        case 1:
          file.resize(at);
          break;
        case 2:
          file.insert(file.begin() + static_cast<long>(at), static_cast<unsigned char>(rng()));
          break;
        case 3: {
          uint32_t v = sizes[rng() % 9];
          for (size_t k = 0; k < 4 && at + k < file.size(); ++k)
            file[at + k] = static_cast<unsigned char>(v >> (8 * k));
          break;
        }
      }
    }
    Decoded d = Decode(LoadWAV, file);
    if (!d.ok) continue;
    ++loaded;
    EXPECT_TRUE(d.channels == 1 || d.channels == 2);
    EXPECT_TRUE(d.format == 1 || d.format == 2);
    EXPECT_GT(d.hertz, 0);
    EXPECT_GT(d.length, 0);
    EXPECT_LE(d.data.size(), file.size());
  }
  EXPECT_GT(loaded, 100);  // the loading path is exercised too
}

}  // namespace
