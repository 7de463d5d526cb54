#include "audio/audio.h"

#include "graphics/data_path.h"
#include "runtime/fatal.h"

gxtkAudio* vx_audio_device = nullptr;

c_Sound* c_Sound::m_new(gxtkSample* sample) {
  gc_assign(m_sample, sample);
  return this;
}

c_Sound* c_Sound::m_new() { return this; }

void c_Sound::mark() { gc_queue(m_sample); }

namespace {

void CloseAudioDevice() {
  if (vx_audio_device) vx_audio_device->Close();
}

}  // namespace

int vx_audio_SetAudioDevice(gxtkAudio* device) {
  gc_assign(vx_audio_device, device);
  vx_at_orderly_end(CloseAudioDevice);
  return 0;
}

c_Sound* vx_audio_LoadSound(String path) {
  gxtkSample* sample = vx_audio_device->LoadSample(vx_data_FixDataPath(path));
  if (!sample) return nullptr;
  return (new c_Sound())->m_new(sample);
}

int vx_audio_PlaySound(c_Sound* sound, int channel, int flags) {
  if (sound && sound->m_sample) vx_audio_device->PlaySample(sound->m_sample, channel, flags);
  return 0;
}

int vx_audio_StopChannel(int channel) { return vx_audio_device->StopChannel(channel); }

int vx_audio_SetChannelVolume(int channel, float volume) { return vx_audio_device->SetVolume(channel, volume); }

int vx_audio_SetChannelPan(int channel, float pan) { return vx_audio_device->SetPan(channel, pan); }

int vx_audio_SetChannelRate(int channel, float rate) { return vx_audio_device->SetRate(channel, rate); }

int vx_audio_PrepareMusic(String path) { return vx_audio_device->PrepareMusic(vx_data_FixDataPath(path)); }

int vx_audio_PlayMusic(String path, int flags) { return vx_audio_device->PlayMusic(vx_data_FixDataPath(path), flags); }

int vx_audio_StopMusic() { return vx_audio_device->StopMusic(); }
int vx_audio_PauseMusic() { return vx_audio_device->PauseMusic(); }
int vx_audio_ResumeMusic() { return vx_audio_device->ResumeMusic(); }
