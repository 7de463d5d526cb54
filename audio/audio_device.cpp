#include "audio/audio_device.h"

#include <cmath>

#include "runtime/print.h"

static_assert(VX_AUDIO_MUSIC_CHANNEL < VX_AUDIO_CHANNELS, "the music channel is one of the bank");

gxtkAudio::gxtkAudio() {
  alcDevice = alcOpenDevice(nullptr);
  if (!alcDevice) {
    vxPrint(String("OpenAl error: alcOpenDevice failed"));
  } else if (!(alcContext = alcCreateContext(alcDevice, nullptr))) {
    vxPrint(String("OpenAl error: alcCreateContext failed"));
  } else if (!alcMakeContextCurrent(alcContext)) {
    vxPrint(String("OpenAl error: alcMakeContextCurrent failed"));
  }
  // Positions only pan: no attenuation with distance.
  alDistanceModel(AL_NONE);
}

void gxtkAudio::Close() {
  for (gxtkChannel& channel : channels) {
    if (channel.source) {
      alSourceStop(channel.source);
      alDeleteSources(1, &channel.source);
    }
    channel = gxtkChannel{};
  }
  if (alcContext) {
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(alcContext);
  }
  if (alcDevice) alcCloseDevice(alcDevice);
  alcContext = nullptr;
  alcDevice = nullptr;
}

gxtkOpenALObjects gxtkCountOpenALObjects() {
  gxtkOpenALObjects alive;
  if (!alcGetCurrentContext()) return alive;
  for (ALuint name = 1; name <= VX_AUDIO_NAMES_ASKED; ++name) {
    alive.sources += alIsSource(name) == AL_TRUE;
    alive.buffers += alIsBuffer(name) == AL_TRUE;
  }
  return alive;
}

ALuint gxtkAudio::Source(gxtkChannel& channel) {
  if (!channel.source) alGenSources(1, &channel.source);
  return channel.source;
}

ALint gxtkAudio::SourceState(const gxtkChannel& channel) {
  // Left as stopped when there is no source or no context to ask: a silent
  // device has nothing sounding.
  ALint state = AL_STOPPED;
  if (channel.source) alGetSourcei(channel.source, AL_SOURCE_STATE, &state);
  return state;
}

void gxtkAudio::NoticeStopped(gxtkChannel& channel) {
  channel.state = 0;
  // The source may still hold the buffer; dropping the reference lets the
  // collector hand the buffer to the next flush instead of keeping a stale pointer.
  channel.sample = nullptr;
}

void gxtkAudio::mark() {
  for (gxtkChannel& channel : channels) {
    if (channel.state == 0) continue;
    if (SourceState(channel) == AL_STOPPED) {
      NoticeStopped(channel);
    } else {
      gc_queue(channel.sample);
    }
  }
  gc_queue(musicSample);
}

int gxtkAudio::Suspend() {
  for (gxtkChannel& channel : channels) {
    if (channel.state == 1 && SourceState(channel) == AL_PLAYING) alSourcePause(channel.source);
  }
  return 0;
}

int gxtkAudio::Resume() {
  for (gxtkChannel& channel : channels) {
    if (channel.state == 1 && SourceState(channel) == AL_PAUSED) alSourcePlay(channel.source);
  }
  return 0;
}

int gxtkAudio::PlaySample(gxtkSample* sample, int channel, int flags) {
  FlushDiscarded();
  gxtkChannel& ch = channels[channel];
  ALuint source = Source(ch);
  alSourceStop(source);
  alSourcei(source, AL_BUFFER, static_cast<ALint>(sample->buffer));
  alSourcei(source, AL_LOOPING, flags ? AL_TRUE : AL_FALSE);
  alSourcePlay(source);
  gc_assign(ch.sample, sample);
  ch.state = 1;
  ch.flags = flags;
  return 0;
}

int gxtkAudio::StopChannel(int channel) {
  gxtkChannel& ch = channels[channel];
  if (ch.state != 0) {
    alSourceStop(Source(ch));
    NoticeStopped(ch);
  }
  return 0;
}

int gxtkAudio::PauseChannel(int channel) {
  gxtkChannel& ch = channels[channel];
  if (ch.state != 1) return 0;
  if (SourceState(ch) == AL_STOPPED) {
    NoticeStopped(ch);
  } else {
    alSourcePause(Source(ch));
    ch.state = 2;
  }
  return 0;
}

int gxtkAudio::ResumeChannel(int channel) {
  gxtkChannel& ch = channels[channel];
  if (ch.state == 2) {
    alSourcePlay(Source(ch));
    ch.state = 1;
  }
  return 0;
}

int gxtkAudio::ChannelState(int channel) {
  gxtkChannel& ch = channels[channel];
  if (ch.state == 1 && SourceState(ch) == AL_STOPPED) NoticeStopped(ch);
  return ch.state;
}

int gxtkAudio::SetVolume(int channel, float volume) {
  alSourcef(Source(channels[channel]), AL_GAIN, volume);
  return 0;
}

int gxtkAudio::SetPan(int channel, float pan) {
  alSource3f(Source(channels[channel]), AL_POSITION, std::sin(pan), 0.0f, -std::cos(pan));
  return 0;
}

int gxtkAudio::SetRate(int channel, float rate) {
  // OpenAL refuses other pitches and leaves an error behind; the channel
  // keeps the rate it has.
  if (!(std::isfinite(rate) && rate > 0)) return 0;
  alSourcef(Source(channels[channel]), AL_PITCH, rate);
  return 0;
}

int gxtkAudio::PrepareMusic(String path) {
  if (musicSample && musicSample->buffer && path == musicPath) return 0;
  gxtkSample* sample = LoadSample(path);
  if (!sample) return -1;
  gc_assign(musicSample, sample);
  musicPath = path;
  return 0;
}

int gxtkAudio::PlayMusic(String path, int flags) {
  StopMusic();
  if (PrepareMusic(path) < 0) return -1;
  PlaySample(musicSample, VX_AUDIO_MUSIC_CHANNEL, flags);
  return 0;
}

int gxtkAudio::StopMusic() { return StopChannel(VX_AUDIO_MUSIC_CHANNEL); }
int gxtkAudio::PauseMusic() { return PauseChannel(VX_AUDIO_MUSIC_CHANNEL); }
int gxtkAudio::ResumeMusic() { return ResumeChannel(VX_AUDIO_MUSIC_CHANNEL); }
int gxtkAudio::MusicState() { return ChannelState(VX_AUDIO_MUSIC_CHANNEL); }
int gxtkAudio::SetMusicVolume(float volume) { return SetVolume(VX_AUDIO_MUSIC_CHANNEL, volume); }
