// The audio module over a null-backend device and the real host file access,
// with sound files in a data folder under a fresh working directory.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "audio/audio.h"
#include "host/vx_game.h"
#include "tests/audio/null_device.h"

namespace {

class AudioModule : public NullDeviceTest {
 protected:
  TempFolder folder;

  void SetUp() override {
    NullDeviceTest::SetUp();
    static VxGlfwGame host;
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

TEST_F(AudioModule, SoundsLoadFromTheDataFolderInTheShapeOfTheirFile) {
  // The extension test ignores case; paths that already say where they are keep their place.
  struct {
    const char* name;
    ALint bits, channels;
  } cases[] = {{"sfx/005.wav", 8, 1}, {"LOUD.WAV", 16, 2}, {"tune.ogg", 16, 1},
               {"./data/sfx/005.wav", 8, 1}, {"vorlix://data/LOUD.WAV", 16, 2}};
  for (const auto& c : cases) {
    c_Sound* sound = vx_audio_LoadSound(String(c.name));
    ASSERT_NE(sound, nullptr) << c.name;
    EXPECT_EQ(Shape(sound), std::make_pair(c.bits, c.channels)) << c.name;
  }
}

TEST_F(AudioModule, MissingOrUndecodableFilesGiveNoneAndOnlyARealSoundPlays) {
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

TEST_F(AudioModule, MusicPlaysOnTheLastChannelAndAFailedLoadLeavesItStopped) {
  EXPECT_EQ(vx_audio_PlayMusic(String("tune.ogg"), 1), 0);
  EXPECT_EQ(Source(32, AL_LOOPING), AL_TRUE);
  EXPECT_EQ(AlState(32), AL_PLAYING);
  vx_audio_PauseMusic();
  EXPECT_EQ(AlState(32), AL_PAUSED);
  vx_audio_ResumeMusic();
  EXPECT_EQ(audio().MusicState(), 1);

  EXPECT_EQ(vx_audio_PlayMusic(String("missing.ogg"), 1), -1);
  EXPECT_EQ(audio().MusicState(), 0);
  EXPECT_EQ(AlState(32), AL_STOPPED);
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
