// The audio module: what application code calls. It applies the data-path rule
// to file names and forwards everything else to the audio device.
#pragma once
#include "audio/audio_device.h"
#include "runtime/object.h"
#include "runtime/string.h"

// A loaded sound; its sample may be none.
struct c_Sound : Object {
  gxtkSample* m_sample = nullptr;

  c_Sound* m_new(gxtkSample* sample);
  c_Sound* m_new();
  void mark() override;
};

// ---- Module globals ---------------------------------------------------------
// The device, set once at start-up by the game delegate; null until then.
extern gxtkAudio* vx_audio_device;

// Also has the program's orderly end close the device.
int vx_audio_SetAudioDevice(gxtkAudio* device);
// None when the file is missing or cannot be decoded.
c_Sound* vx_audio_LoadSound(String path);
// Does nothing for none or a sound without a sample.
int vx_audio_PlaySound(c_Sound* sound, int channel, int flags);
int vx_audio_StopChannel(int channel);
int vx_audio_SetChannelVolume(int channel, float volume);
int vx_audio_SetChannelPan(int channel, float pan);
int vx_audio_SetChannelRate(int channel, float rate);
// Decodes a tune ahead of its PlayMusic; 0, or -1 when it could not be loaded.
int vx_audio_PrepareMusic(String path);
// 0 when the music started, -1 when it could not be loaded.
int vx_audio_PlayMusic(String path, int flags);
int vx_audio_StopMusic();
int vx_audio_PauseMusic();
int vx_audio_ResumeMusic();
