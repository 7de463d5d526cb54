// The audio module over a null-backend device and the real host's files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <set>
#include <string>

#include "audio/audio.h"
#include "host/vx_game.h"
#include "tests/audio/null_device.h"
#include "tests/support/resident_memory.h"

namespace {

// The real host, counting the sound files it decodes.
class CountingHost : public VxGlfwGame {
 public:
  int decoded = 0;

  unsigned char* LoadAudioData(String path, int* length, int* channels, int* format, int* hertz) override {
    ++decoded;
    return VxGlfwGame::LoadAudioData(path, length, channels, format, hertz);
  }
};

class AudioModule : public NullDeviceTest {
 protected:
  TempFolder folder;
  CountingHost host;

  void SetUp() override {
    NullDeviceTest::SetUp();
    VxGlfwGame::_glfwGame = &host;
    vx_audio_SetAudioDevice(device);

    mkdir("data/sfx", 0755);
    WriteFile("data/sfx/005.wav", Wav(1, 8000, 8, Ramp(800)));
    WriteFile("data/LOUD.WAV", Wav(2, 44100, 16, Ramp(44100)));
    WriteFile("data/tune.ogg", EncodeOgg(Tone(440, 0.5, 22050), 1, 22050));
    for (const char* junk : {"data/notes.txt", "data/bad.wav", "data/bad.ogg"}) WriteFile(junk, Ramp(800));
  }

  // Bits and channels of the sound's OpenAL buffer.
  static std::pair<ALint, ALint> Shape(c_Sound* sound) {
    ALint bits = -1, channels = -1;
    alGetBufferi(sound->m_sample->buffer, AL_BITS, &bits);
    alGetBufferi(sound->m_sample->buffer, AL_CHANNELS, &channels);
    return {bits, channels};
  }
};

TEST_F(AudioModule, SoundsLoadFromTheDataFolderInTheShapeOfTheirFileAndOnlyARealSoundPlays) {
  // The extension test ignores case; paths that say where they are keep their place.
  struct {
    const char* name;
    ALint bits, channels;
  } cases[] = {{"sfx/005.wav", 8, 1}, {"LOUD.WAV", 16, 2}, {"tune.ogg", 16, 1}, {"./data/sfx/005.wav", 8, 1}};
  for (const auto& c : cases) {
    c_Sound* sound = vx_audio_LoadSound(String(c.name));
    ASSERT_NE(sound, nullptr) << c.name;
    EXPECT_EQ(Shape(sound), std::make_pair(c.bits, c.channels)) << c.name;
  }
  // A bare name is always under the data folder, so "data/..." looks in data/data/.
  for (const char* name : {"missing.wav", "notes.txt", "bad.wav", "bad.ogg", "data/sfx/005.wav"}) {
    EXPECT_EQ(vx_audio_LoadSound(String(name)), nullptr) << name;
  }
  vx_audio_PlaySound(nullptr, 0, 0);
  vx_audio_PlaySound((new c_Sound())->m_new(), 0, 0);
  EXPECT_EQ(audio().channels[0].source, 0u);
  c_Sound* sound = vx_audio_LoadSound(String("LOUD.WAV"));
  vx_audio_PlaySound(sound, 3, 1);
  EXPECT_EQ(Source(3, AL_BUFFER), static_cast<ALint>(sound->m_sample->buffer));
  EXPECT_EQ(Source(3, AL_LOOPING), AL_TRUE);
}

TEST_F(AudioModule, MusicPlaysOnTheLastChannelReusesTheTuneLastLoadedAndAFailedLoadStopsIt) {
  ASSERT_EQ(vx_audio_PlayMusic(String("tune.ogg"), 1), 0);
  EXPECT_EQ(Source(32, AL_LOOPING), AL_TRUE);
  ALint buffer = Source(32, AL_BUFFER);
  ASSERT_TRUE(WaitFor([&] { return Source(32, AL_SAMPLE_OFFSET) > 2000; }));
  vx_audio_PauseMusic();
  EXPECT_EQ(AlState(32), AL_PAUSED);
  vx_audio_ResumeMusic();
  EXPECT_EQ(AlState(32), AL_PLAYING);

  ASSERT_EQ(vx_audio_PlayMusic(String("tune.ogg"), 0), 0);  // again, from the start
  EXPECT_EQ(host.decoded, 1);
  EXPECT_EQ(Source(32, AL_BUFFER), buffer);
  EXPECT_LT(Source(32, AL_SAMPLE_OFFSET), 2000);
  EXPECT_EQ(Source(32, AL_LOOPING), AL_FALSE);
  vx_audio_PlayMusic(String("LOUD.WAV"), 1);
  vx_audio_PlayMusic(String("tune.ogg"), 1);
  EXPECT_EQ(host.decoded, 3) << "only the last tune is kept";

  EXPECT_EQ(vx_audio_PlayMusic(String("missing.ogg"), 1), -1);
  EXPECT_EQ(audio().MusicState(), 0);
  EXPECT_EQ(AlState(32), AL_STOPPED);
}

// A tune at each game start and level, collector steps between: the buffers
// of earlier tunes are let go a few steps after the next one starts.
TEST_F(AudioModule, PlayingTunesOverAndOverKeepsBuffersAndMemoryFlat) {
  constexpr int TUNES = 3, PLAYS = 50, TICKS = 20, SETTLING = 10;
  constexpr size_t TUNE = 8 << 20;  // bytes of PCM, a cycle's worth
  for (int t = 0; t < TUNES; ++t) WriteFile("data/tune" + std::to_string(t) + ".wav", Wav(2, 44100, 16, Ramp(TUNE)));
  std::set<ALuint> made;
  size_t peakLive = 0, settled = 0, peakResident = 0;
  for (int play = 0; play < PLAYS; ++play) {
    ASSERT_EQ(vx_audio_PlayMusic(String(("tune" + std::to_string(play % TUNES) + ".wav").c_str()), 1), 0);
    made.insert(static_cast<ALuint>(Source(32, AL_BUFFER)));
    for (int tick = 0; tick < TICKS; ++tick) gc_collect();
    size_t live = 0;
    for (ALuint name : made) live += alIsBuffer(name) ? 1 : 0;
    peakLive = std::max(peakLive, live);
    if (play == SETTLING - 1) settled = ResidentBytes();
    if (play >= SETTLING) peakResident = std::max(peakResident, ResidentBytes());
  }
  EXPECT_LE(peakLive, 3u);
  EXPECT_LE(peakResident, settled + 3 * TUNE);
}

TEST_F(AudioModule, RefillingASampleLetsGoOfItsOldBufferAndEvenAFailedLoadFlushes) {
  gxtkSample* sample = vx_audio_LoadSound(String("sfx/005.wav"))->m_sample;
  ALuint old = sample->buffer;
  EXPECT_EQ(audio().LoadSample__UNSAFE__(sample, String("vorlix://data/LOUD.WAV")), sample);
  EXPECT_NE(sample->buffer, old);
  EXPECT_EQ(gxtkAudio::discarded, std::vector<ALuint>{old});

  // Flushing first means no new buffer can reuse the name while it waits.
  EXPECT_EQ(audio().LoadSample(String("vorlix://data/missing.ogg")), nullptr);
  EXPECT_FALSE(alIsBuffer(old));
  EXPECT_TRUE(gxtkAudio::discarded.empty());
}

}  // namespace
