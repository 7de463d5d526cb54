// Ogg files whose headers claim what the game cannot play: refused before the output is given room.
#include <gtest/gtest.h>
#include <ogg/ogg.h>

#include <cstdlib>
#include <cstring>

#include "host/audio_data.h"
#include "tests/audio/sound_files.h"

namespace {

constexpr int64_t CEILING = int64_t{512} << 20;  // decoded bytes of the longest sound kept
constexpr size_t PAGE_HEADER = 27;               // bytes of an Ogg page header before its segment table

// Sets the CRC of the page at `at` after a change to it.
void Reseal(Bytes& file, size_t at) {
  size_t headerLength = PAGE_HEADER + file[at + PAGE_HEADER - 1], bodyLength = 0;
  for (size_t i = at + PAGE_HEADER; i < at + headerLength; ++i) bodyLength += file[i];
  ogg_page page{&file[at], static_cast<long>(headerLength), &file[at + headerLength], static_cast<long>(bodyLength)};
  ogg_page_checksum_set(&page);
}

void PutLe(Bytes& file, size_t at, int64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) file[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

TEST(HostileSounds, ChannelsRatesAndLengthsBeyondWhatTheGamePlaysAreRefusedFromTheHeaders) {
  struct Case {
    int channels;
    int64_t rate;     // written over the identification header's
    int64_t samples;  // written over the last page's granule position; 0 keeps it
    bool loads;
  } cases[] = {
      {1, 44100, 0, true},
      {2, 44100, 0, true},
      {3, 44100, 0, false},
      {1, 0, 0, false},
      {1, 1000000, 0, false},
      {1, 7999, 0, false},
      {1, 8000, 0, true},
      {2, 192000, 0, true},
      {1, 192001, 0, false},
      {1, 44100, CEILING / 2, true},
      {1, 44100, CEILING / 2 + 1, false},
      {2, 44100, CEILING / 4, true},
      {2, 44100, CEILING / 4 + 1, false},
  };
  for (const Case& c : cases) {
    Bytes file = EncodeOgg(Tone(440, 0.25, 44100, c.channels), c.channels, 44100);
    // The first page holds the identification header alone: "\1vorbis", version, channels, rate.
    size_t body = PAGE_HEADER + file[PAGE_HEADER - 1];
    ASSERT_EQ(memcmp(&file[body], "\1vorbis", 7), 0);
    PutLe(file, body + 12, c.rate, 4);
    Reseal(file, 0);
    if (c.samples) {
      size_t last = file.size() - 4;
      while (memcmp(&file[last], "OggS", 4) != 0) --last;
      PutLe(file, last + 6, c.samples, 8);
      Reseal(file, last);
    }
    FILE* memory = MemoryFile(file);
    int length = 0, channels = 0, format = 0, hertz = 0;
    unsigned char* pcm = LoadOGG(memory, &length, &channels, &format, &hertz);
    fclose(memory);
    EXPECT_EQ(pcm != nullptr, c.loads) << c.channels << " channels at " << c.rate << " Hz, " << c.samples;
    if (pcm) {
      EXPECT_EQ(std::vector<int64_t>({channels, hertz}), std::vector<int64_t>({c.channels, c.rate}));
    }
    free(pcm);
  }
}

}  // namespace
