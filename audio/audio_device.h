// The audio device: one OpenAL context with a fixed bank of channels, each an
// OpenAL source that plays one whole sample buffer at a time. The last channel
// carries the music; the others are free for sound effects. This layer is the
// only code that calls OpenAL.
//
// OpenAL mixes on its own thread, so a channel's `state` is only the program's
// view: a one-shot that ran out is noticed lazily, by asking OpenAL.
//
// Buffers are never deleted while a source may still hold them: a sample that
// is discarded or collected hands its buffer to `gxtkAudio::discarded`, and the
// next flush deletes it once no source plays it.
#pragma once
#include <AL/al.h>
#include <AL/alc.h>

#include <vector>

#include "runtime/object.h"
#include "runtime/string.h"

// ---- Tunables -------------------------------------------------------------
constexpr int VX_AUDIO_CHANNELS = 33;             // channels in the bank, numbered from 0
constexpr int VX_AUDIO_MUSIC_CHANNEL = 32;        // the channel music plays on
constexpr ALuint VX_AUDIO_NAMES_ASKED = 1 << 16;  // names gxtkOpenALObjects asks OpenAL about

// One OpenAL buffer of decoded sound.
struct gxtkSample : Object {
  ALuint buffer = 0;  // 0: none

  gxtkSample() = default;
  explicit gxtkSample(ALuint name) : buffer(name) {}
  // A sample the collector drops hands its buffer over like Discard does.
  ~gxtkSample() override;

  void SetBuffer(ALuint name) { buffer = name; }
  virtual int Discard();
};

// A plain record inside the device, not a collectable object.
struct gxtkChannel {
  ALuint source = 0;             // made on first use, kept for the program's life
  gxtkSample* sample = nullptr;  // the sample last started here; kept alive while it sounds
  int flags = 0;                 // non-zero: looping
  int state = 0;                 // 0 stopped, 1 playing, 2 paused
};

// What OpenAL itself holds in the current context, for the soak: a leak shows
// here whatever the channels' bookkeeping says. OpenAL Soft gives out the
// lowest free names, so every object alive is among the first names asked about.
struct gxtkOpenALObjects {
  int sources = 0, buffers = 0;
};
gxtkOpenALObjects gxtkCountOpenALObjects();

struct gxtkAudio : Object {
  ALCdevice* alcDevice = nullptr;  // none when opening failed
  ALCcontext* alcContext = nullptr;
  gxtkChannel channels[VX_AUDIO_CHANNELS];
  // The tune PlayMusic loaded last and its path: playing it again reuses it
  // rather than decoding the whole file once more.
  gxtkSample* musicSample = nullptr;
  String musicPath;

  // Buffers of discarded samples that a source may still hold.
  static std::vector<ALuint> discarded;

  // Opens the default OpenAL device; prints why and stays silent when it cannot.
  gxtkAudio();

  // Marks the samples of channels that still sound, and the last tune.
  void mark() override;

  // Stops every channel and closes the context and the device, so that
  // OpenAL finishes its output (a wave-file capture gets its lengths) and
  // complains of nothing left open at exit. The device is silent afterwards.
  void Close();

  // Pause and restart what is audible, for application suspend; channels the
  // game paused itself are left alone.
  virtual int Suspend();
  virtual int Resume();

  // Fills the given sample's buffer from a sound file; none when it cannot load.
  virtual gxtkSample* LoadSample__UNSAFE__(gxtkSample* sample, String path);
  virtual gxtkSample* LoadSample(String path);

  // Channel numbers are 0..VX_AUDIO_CHANNELS-1 and are not checked.
  virtual int PlaySample(gxtkSample* sample, int channel, int flags);
  virtual int StopChannel(int channel);
  virtual int PauseChannel(int channel);
  virtual int ResumeChannel(int channel);
  virtual int ChannelState(int channel);
  virtual int SetVolume(int channel, float volume);
  // pan in radians from straight ahead, on a unit circle in front of the listener.
  virtual int SetPan(int channel, float pan);
  // A rate that is not a finite number above 0 is ignored.
  virtual int SetRate(int channel, float rate);

  // Decodes a tune and keeps it without playing it, so that the PlayMusic of
  // the same path that follows starts at once. 0, or -1 when it cannot load.
  virtual int PrepareMusic(String path);
  // 0 when the music started, -1 when the file could not be loaded.
  virtual int PlayMusic(String path, int flags);
  virtual int StopMusic();
  virtual int PauseMusic();
  virtual int ResumeMusic();
  virtual int MusicState();
  virtual int SetMusicVolume(float volume);

 private:
  ALuint Source(gxtkChannel& channel);
  // OpenAL's state of a channel's source; AL_STOPPED when it has none.
  static ALint SourceState(const gxtkChannel& channel);
  // Moves a channel whose one-shot ran out to stopped.
  static void NoticeStopped(gxtkChannel& channel);
  void FlushDiscarded();
};
