// The audio module over a null-backend device and the real host file access,
// with sound files in a data folder under a fresh working directory.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "audio/audio.h"
#include "host/vx_game.h"
#include "tests/audio/null_device.h"
#include "tests/audio/ogg_encoder.h"

namespace {

class AudioModule : public NullDeviceTest {
 protected:
  void SetUp() override {
    NullDeviceTest::SetUp();
    static VxGlfwGame host;
    VxGlfwGame::_glfwGame = &host;
    vx_audio_SetAudioDevice(device);

    std::string dir = TempDir();
    ASSERT_EQ(chdir(dir.c_str()), 0);
    mkdir("data", 0755);
    mkdir("data/sfx", 0755);
    Bytes ramp(800);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<unsigned char>(i);
    WriteFile("data/sfx/005.wav", Wav(1, 8000, 8, ramp));
    WriteFile("data/LOUD.WAV", Wav(2, 44100, 16, PcmBytes(Tone(440, 0.25, 44100, 2))));
    WriteFile("data/tune.ogg", EncodeOgg(Tone(440, 0.5, 22050), 1, 22050));
    WriteFile("data/notes.txt", Bytes(100, 'x'));
    WriteFile("data/bad.wav", Bytes(ramp.begin(), ramp.begin() + 40));
    WriteFile("data/bad.ogg", ramp);
  }

  static ALuint BufferOf(c_Sound* sound) { return sound->m_sample->buffer; }
};

TEST_F(AudioModule, SoundsLoadFromTheDataFolderInTheShapeOfTheirFile) {
  c_Sound* mono8 = vx_audio_LoadSound(String("sfx/005.wav"));
  ASSERT_NE(mono8, nullptr);
  EXPECT_EQ(Buffer(BufferOf(mono8), AL_BITS), 8);
  EXPECT_EQ(Buffer(BufferOf(mono8), AL_CHANNELS), 1);
  EXPECT_EQ(Buffer(BufferOf(mono8), AL_FREQUENCY), 8000);
  EXPECT_EQ(Buffer(BufferOf(mono8), AL_SIZE), 800);

  // The extension test ignores case.
  c_Sound* stereo16 = vx_audio_LoadSound(String("LOUD.WAV"));
  ASSERT_NE(stereo16, nullptr);
  EXPECT_EQ(Buffer(BufferOf(stereo16), AL_BITS), 16);
  EXPECT_EQ(Buffer(BufferOf(stereo16), AL_CHANNELS), 2);
  EXPECT_EQ(Buffer(BufferOf(stereo16), AL_SIZE), 44100);

  c_Sound* ogg = vx_audio_LoadSound(String("tune.ogg"));
  ASSERT_NE(ogg, nullptr);
  EXPECT_EQ(Buffer(BufferOf(ogg), AL_BITS), 16);
  EXPECT_EQ(Buffer(BufferOf(ogg), AL_CHANNELS), 1);
  EXPECT_EQ(Buffer(BufferOf(ogg), AL_FREQUENCY), 22050);
  EXPECT_EQ(Buffer(BufferOf(ogg), AL_SIZE), 2 * 11025);

  // Paths that already say where they are keep their place.
  EXPECT_NE(vx_audio_LoadSound(String("./data/sfx/005.wav")), nullptr);
  EXPECT_NE(vx_audio_LoadSound(String("vorlix://data/sfx/005.wav")), nullptr);
}

TEST_F(AudioModule, MissingOrUndecodableFilesGiveNoneAndPlayingNoneDoesNothing) {
  // A bare name is always under the data folder, so "data/..." looks in data/data/.
  for (const char* name : {"missing.wav", "notes.txt", "bad.wav", "bad.ogg", "data/sfx/005.wav"}) {
    EXPECT_EQ(vx_audio_LoadSound(String(name)), nullptr) << name;
  }
  vx_audio_PlaySound(nullptr, 0, 0);
  vx_audio_PlaySound((new c_Sound())->m_new(), 0, 0);
  EXPECT_EQ(audio().ChannelState(0), 0);
  EXPECT_EQ(audio().channels[0].source, 0u);
}

TEST_F(AudioModule, ChannelCallsReachTheDevice) {
  c_Sound* sound = vx_audio_LoadSound(String("LOUD.WAV"));
  vx_audio_PlaySound(sound, 3, 1);
  EXPECT_EQ(audio().ChannelState(3), 1);
  EXPECT_EQ(Source(3, AL_BUFFER), static_cast<ALint>(BufferOf(sound)));
  EXPECT_EQ(Source(3, AL_LOOPING), AL_TRUE);
  vx_audio_SetChannelVolume(3, 0.5f);
  vx_audio_SetChannelRate(3, 2.0f);
  vx_audio_SetChannelPan(3, -1.0f);
  ALfloat gain = 0, pitch = 0, position[3] = {};
  alGetSourcef(audio().channels[3].source, AL_GAIN, &gain);
  alGetSourcef(audio().channels[3].source, AL_PITCH, &pitch);
  alGetSourcefv(audio().channels[3].source, AL_POSITION, position);
  EXPECT_FLOAT_EQ(gain, 0.5f);
  EXPECT_FLOAT_EQ(pitch, 2.0f);
  EXPECT_NEAR(position[0], -0.84, 0.005);
  vx_audio_StopChannel(3);
  EXPECT_EQ(audio().ChannelState(3), 0);
  EXPECT_EQ(AlState(3), AL_STOPPED);
}

TEST_F(AudioModule, MusicPlaysOnTheLastChannelAndAFailedLoadLeavesItStopped) {
  EXPECT_EQ(vx_audio_PlayMusic(String("tune.ogg"), 1), 0);
  EXPECT_EQ(audio().MusicState(), 1);
  EXPECT_EQ(Source(VX_AUDIO_MUSIC_CHANNEL, AL_LOOPING), AL_TRUE);
  EXPECT_EQ(AlState(VX_AUDIO_MUSIC_CHANNEL), AL_PLAYING);
  audio().SetMusicVolume(0.75f);
  ALfloat gain = 0;
  alGetSourcef(audio().channels[VX_AUDIO_MUSIC_CHANNEL].source, AL_GAIN, &gain);
  EXPECT_FLOAT_EQ(gain, 0.75f);

  vx_audio_PauseMusic();
  EXPECT_EQ(audio().MusicState(), 2);
  EXPECT_EQ(AlState(VX_AUDIO_MUSIC_CHANNEL), AL_PAUSED);
  vx_audio_ResumeMusic();
  EXPECT_EQ(audio().MusicState(), 1);

  EXPECT_EQ(vx_audio_PlayMusic(String("missing.ogg"), 1), -1);
  EXPECT_EQ(audio().MusicState(), 0);
  EXPECT_EQ(AlState(VX_AUDIO_MUSIC_CHANNEL), AL_STOPPED);

  EXPECT_EQ(vx_audio_PlayMusic(String("sfx/005.wav"), 0), 0);
  vx_audio_StopMusic();
  EXPECT_EQ(audio().MusicState(), 0);
}

TEST_F(AudioModule, LoadingFlushesDiscardedBuffersAndRefillingLetsGoOfTheOldOne) {
  c_Sound* sound = vx_audio_LoadSound(String("sfx/005.wav"));
  gxtkSample* sample = sound->m_sample;
  ALuint old = sample->buffer;
  EXPECT_EQ(audio().LoadSample__UNSAFE__(sample, String("vorlix://data/LOUD.WAV")), sample);
  EXPECT_NE(sample->buffer, old);
  EXPECT_EQ(Buffer(sample->buffer, AL_CHANNELS), 2);
  EXPECT_TRUE(Discarded(old));
  EXPECT_TRUE(alIsBuffer(old));

  // Even a load that fails flushes first (and makes no buffer that could reuse the name).
  EXPECT_EQ(audio().LoadSample(String("vorlix://data/missing.ogg")), nullptr);
  EXPECT_FALSE(alIsBuffer(old));
  EXPECT_TRUE(gxtkAudio::discarded.empty());
}

}  // namespace
