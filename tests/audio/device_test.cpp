// The audio device on OpenAL Soft's null backend, the collector rooted at the device alone.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "audio/audio.h"
#include "host/vx_game.h"
#include "runtime/gc.h"
#include "tests/audio/sound_files.h"

namespace {

// The real host, counting the sound files it decodes.
struct CountingHost : VxGlfwGame {
  int decoded = 0;
  unsigned char* LoadAudioData(String path, int* length, int* channels, int* format, int* hertz) override {
    ++decoded;
    return VxGlfwGame::LoadAudioData(path, length, channels, format, hertz);
  }
};

// Polls for up to three seconds.
template <typename Done>
bool WaitFor(Done done) {
  for (int i = 0; i < 600 && !done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  return done();
}

gxtkAudio* device = nullptr;

struct Audio : testing::Test {
  TempFolder folder;
  CountingHost host;

  void SetUp() override {
    setenv("ALSOFT_DRIVERS", "null", 1);  // read when the first device opens
    device = nullptr;                     // an earlier test's leftovers: buffer names are per device
    gc_init2([] { gc_queue(device); });
    Collect();
    gxtkAudio::discarded.clear();
    device = new gxtkAudio();
    ASSERT_NE(device->alcContext, nullptr);
    VxGlfwGame::_glfwGame = &host;
    vx_audio_SetAudioDevice(device);
    mkdir("data/sfx", 0755);
    WriteFile("data/sfx/005.wav", Wav(1, 8000, 8, Ramp(800)));
    WriteFile("data/LOUD.WAV", Wav(2, 44100, 16, Ramp(44100)));
    WriteFile("data/st8.wav", Wav(2, 22050, 8, Ramp(800)));
    WriteFile("data/tune.ogg", EncodeOgg(Tone(440, 0.5, 22050), 1, 22050));
    for (const char* junk : {"data/notes.txt", "data/bad.wav", "data/bad.ogg"}) WriteFile(junk, Ramp(800));
  }
  void TearDown() override { VxGlfwGame::_glfwGame = nullptr; }

  // Collects everything unreachable from the device and destroys it.
  static void Collect() {
    gc_collect_all();
    gc_collect_all();
    while (gc_free_bytes > 0) gc_object::operator delete(gc_object_alloc(8), 8);
  }
  static ALint Source(int ch, ALenum param) {
    ALint value = -1;
    alGetSourcei(device->channels[ch].source, param, &value);
    return value;
  }
  static ALint AlState(int ch) { return Source(ch, AL_SOURCE_STATE); }
  static bool AlStopped(int ch) { return AlState(ch) == AL_STOPPED; }
  static gxtkSample* Sample(double seconds, double hertz = 440) { return new gxtkSample(ToneBuffer(hertz, seconds)); }
  // The program's view of a channel, then OpenAL's.
  static void ExpectState(int ch, int state, ALint alState) {
    EXPECT_EQ(device->ChannelState(ch), state) << "channel " << ch;
    EXPECT_EQ(AlState(ch), alState) << "channel " << ch;
  }
};

TEST_F(Audio, SoundsLoadFromTheDataFolderInTheShapeOfTheirFileAndOnlyARealSoundPlays) {
  // The extension test ignores case; paths that say where they are keep their place.
  const struct {
    const char* name;
    ALint bits, channels;
  } cases[] = {
      {"sfx/005.wav", 8, 1}, {"st8.wav", 8, 2}, {"LOUD.WAV", 16, 2}, {"tune.ogg", 16, 1}, {"./data/sfx/005.wav", 8, 1}};
  for (const auto& c : cases) {
    int before = gc_new_bytes;
    c_Sound* sound = vx_audio_LoadSound(String(c.name));
    ASSERT_NE(sound, nullptr) << c.name;
    ALint bits = -1, channels = -1;
    alGetBufferi(sound->m_sample->buffer, AL_BITS, &bits);
    alGetBufferi(sound->m_sample->buffer, AL_CHANNELS, &channels);
    EXPECT_EQ(std::make_pair(bits, channels), std::make_pair(c.bits, c.channels)) << c.name;
    ALint size = 0;  // OpenAL's copy of the sound counts as allocation, beside two small objects
    alGetBufferi(sound->m_sample->buffer, AL_SIZE, &size);
    EXPECT_GE(gc_new_bytes - before, size);
    EXPECT_LT(gc_new_bytes - before, size + 256);
  }
  // A bare name is always under the data folder, so "data/..." looks in data/data/.
  for (const char* name : {"missing.wav", "notes.txt", "bad.wav", "bad.ogg", "data/sfx/005.wav"}) {
    EXPECT_EQ(vx_audio_LoadSound(String(name)), nullptr) << name;
  }
  vx_audio_PlaySound(nullptr, 0, 0);
  vx_audio_PlaySound((new c_Sound())->m_new(), 0, 0);
  EXPECT_EQ(device->channels[0].source, 0u);
  c_Sound* sound = vx_audio_LoadSound(String("LOUD.WAV"));
  vx_audio_PlaySound(sound, 3, 1);
  EXPECT_EQ(Source(3, AL_BUFFER), static_cast<ALint>(sound->m_sample->buffer));
  EXPECT_EQ(Source(3, AL_LOOPING), AL_TRUE);
}

TEST_F(Audio, MusicPlaysOnTheLastChannelReusesTheTuneLastLoadedAndAFailedLoadStopsIt) {
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
  EXPECT_EQ(device->MusicState(), 0);
  EXPECT_EQ(AlState(32), AL_STOPPED);
}

TEST_F(Audio, ReplayingAChannelRestartsItAndSuspendAndResumeRestartExactlyTheAudibleChannels) {
  gxtkSample* second = Sample(2.0, 660);
  device->PlaySample(Sample(2.0), 0, 0);
  for (int replay = 0; replay < 2; ++replay) {
    ASSERT_TRUE(WaitFor([&] { return Source(0, AL_SAMPLE_OFFSET) > 4000; }));
    device->PlaySample(second, 0, 0);
    EXPECT_EQ(Source(0, AL_BUFFER), static_cast<ALint>(second->buffer));
    EXPECT_LT(Source(0, AL_SAMPLE_OFFSET), 4000);
  }
  device->PlaySample(Sample(3.0), 1, 0);  // paused by the game
  device->PauseChannel(1);
  device->PlaySample(Sample(0.05), 2, 0);  // runs out, not yet noticed
  device->PlaySample(Sample(0.05), 3, 0);  // runs out, then paused and resumed
  device->PlaySample(Sample(0.05), 4, 1);  // loops past its length
  ASSERT_TRUE(WaitFor([&] { return AlStopped(2) && AlStopped(3); }));
  device->PauseChannel(3);
  device->ResumeChannel(3);
  ExpectState(3, 0, AL_STOPPED);
  ExpectState(4, 1, AL_PLAYING);
  device->Suspend();
  EXPECT_EQ(AlState(0), AL_PAUSED);
  EXPECT_EQ(AlState(1), AL_PAUSED);
  EXPECT_EQ(AlState(2), AL_STOPPED);
  device->Resume();
  ExpectState(0, 1, AL_PLAYING);
  ExpectState(1, 2, AL_PAUSED);
  ExpectState(2, 0, AL_STOPPED);
}

TEST_F(Audio, VolumePanAndRateSetBeforePlayingAreKeptAndARateThatIsNotAFiniteNumberAboveZeroIsIgnored) {
  device->SetVolume(5, 0.25f);
  device->SetPan(5, 1);
  device->SetRate(5, 2);
  for (float rate : {0.0f, -1.0f, NAN, INFINITY}) device->SetRate(5, rate);
  device->PlaySample(Sample(0.5), 5, 0);
  ALfloat p[3] = {}, pitch = 0, gain = 0;
  alGetSourcefv(device->channels[5].source, AL_POSITION, p);
  alGetSourcef(device->channels[5].source, AL_PITCH, &pitch);
  alGetSourcef(device->channels[5].source, AL_GAIN, &gain);
  EXPECT_NEAR(p[0], std::sin(1.0f), 1e-5);  // on a unit circle ahead, to the right
  EXPECT_NEAR(p[2], -std::cos(1.0f), 1e-5);
  EXPECT_EQ(pitch, 2.0f);
  EXPECT_EQ(gain, 0.25f);
  EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

TEST_F(Audio, ADiscardedOrRefilledBufferIsDeletedOnlyOnceNoChannelHoldsIt) {
  // Every PlaySample and LoadSample flushes the discarded buffers first.
  gxtkSample* other = Sample(0.05);
  auto flush = [&] { device->PlaySample(other, 1, 0); };
  gxtkSample* shot = Sample(0.2);
  gxtkSample* loop = Sample(0.2);
  gxtkSample* paused = vx_audio_LoadSound(String("sfx/005.wav"))->m_sample;
  ALuint shotBuffer = shot->buffer, loopBuffer = loop->buffer, pausedBuffer = paused->buffer;
  device->PlaySample(shot, 0, 0);
  device->PlaySample(loop, 2, 1);
  device->PlaySample(paused, 3, 1);
  device->PauseChannel(3);
  shot->Discard();
  loop->Discard();
  EXPECT_EQ(device->LoadSample__UNSAFE__(paused, String("vorlix://data/LOUD.WAV")), paused);  // a refill
  EXPECT_NE(paused->buffer, pausedBuffer);
  flush();
  EXPECT_TRUE(alIsBuffer(shotBuffer));
  EXPECT_TRUE(alIsBuffer(loopBuffer));

  // The one-shot runs out by itself, the loop is stopped, the paused one waits.
  ASSERT_TRUE(WaitFor([&] { return AlStopped(0); }));
  device->StopChannel(2);
  flush();
  EXPECT_FALSE(alIsBuffer(shotBuffer));
  EXPECT_FALSE(alIsBuffer(loopBuffer));
  EXPECT_TRUE(alIsBuffer(pausedBuffer));
  EXPECT_EQ(gxtkAudio::discarded, std::vector<ALuint>{pausedBuffer});
  ExpectState(3, 2, AL_PAUSED);
  device->StopChannel(3);
  EXPECT_EQ(device->LoadSample(String("vorlix://data/missing.ogg")), nullptr);  // still flushes
  EXPECT_FALSE(alIsBuffer(pausedBuffer));
  EXPECT_TRUE(gxtkAudio::discarded.empty());
}

TEST_F(Audio, SoundingSamplesSurviveCollectionAndDroppedOnesGiveUpTheirBuffers) {
  gxtkSample* loop = Sample(0.2);
  gxtkSample* shot = Sample(0.05);
  ALuint loopBuffer = loop->buffer, shotBuffer = shot->buffer;
  device->PlaySample(loop, 0, 1);
  device->PlaySample(shot, 1, 0);
  ASSERT_TRUE(WaitFor([&] { return AlStopped(1); }));
  // Nothing but the channels refers to either sample now.
  Collect();
  EXPECT_EQ(loop->buffer, loopBuffer);
  EXPECT_EQ(gxtkAudio::discarded, std::vector<ALuint>{shotBuffer});
  device->StopChannel(0);
  Collect();
  device->PlaySample(Sample(0.05), 2, 0);
  EXPECT_FALSE(alIsBuffer(loopBuffer));
  EXPECT_FALSE(alIsBuffer(shotBuffer));
  EXPECT_TRUE(gxtkAudio::discarded.empty());
}

// No backend OpenAL Soft may use, as on a machine whose device does not open.
// OpenAL Soft reads its configuration at the first device: a fresh process.
TEST(SilentDevice, ReportsTheFailedOpenAndThenEveryCallDoesNothing) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        setenv("ALSOFT_DRIVERS", "no-such-backend", 1);
        setenv("ALSOFT_CONF", "/dev/null", 1);
        dup2(2, 1);  // the report goes to standard output; the death test reads standard error
        auto* audio = new gxtkAudio();
        auto* silent = new gxtkSample(ToneBuffer(440, 0.1));
        audio->PlaySample(silent, 0, 0);
        audio->PlaySample(silent, 32, 1);
        audio->SetVolume(0, 0.5f);
        audio->SetPan(0, 1);
        audio->SetRate(0, 2);
        audio->PauseChannel(32);
        audio->ResumeChannel(32);
        audio->Suspend();
        audio->Resume();
        int states = audio->ChannelState(0) + audio->MusicState();
        silent->Discard();
        audio->PlaySample(new gxtkSample(), 1, 0);
        audio->StopChannel(1);
        audio->mark();
        VxGlfwGame host;
        VxGlfwGame::_glfwGame = &host;
        int music = audio->PlayMusic(String("missing.ogg"), 1);
        _exit(states == 0 && silent->buffer == 0 && gxtkAudio::discarded.empty() && music == -1 ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "OpenAl error: alcOpenDevice failed\n");
}

}  // namespace
