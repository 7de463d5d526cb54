// An audio device that keeps a list of the calls made to it and then plays
// them on the real device (OpenAL Soft's null backend in tests), so a test can
// read what the game asked for without losing the device's own behaviour.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "audio/audio_device.h"

struct AudioCall {
  std::string name;              // the device operation: "PlaySample", "StopChannel", "SetRate", "PlayMusic", ...
  int channel = -1;              // -1 for music calls
  gxtkSample* sample = nullptr;  // PlaySample: the sample started
  int flags = 0;                 // PlaySample, PlayMusic
  float value = 0;               // SetVolume, SetPan, SetRate
  std::string path;              // PlayMusic: the file; PlaySample: the file the sample was loaded from
};

struct RecordingAudio : gxtkAudio {
  std::vector<AudioCall> calls;

  // The calls named `name`, in order.
  std::vector<AudioCall> Named(const std::string& name) const;
  int Count(const std::string& name) const { return static_cast<int>(Named(name).size()); }

  gxtkSample* LoadSample(String path) override;
  int PlaySample(gxtkSample* sample, int channel, int flags) override;
  int StopChannel(int channel) override;
  int PauseChannel(int channel) override;
  int ResumeChannel(int channel) override;
  int SetVolume(int channel, float volume) override;
  int SetPan(int channel, float pan) override;
  int SetRate(int channel, float rate) override;
  int PlayMusic(String path, int flags) override;
  int StopMusic() override;
  int PauseMusic() override;
  int ResumeMusic() override;

 private:
  // Only the outermost call is kept: PlayMusic's own stop and play are not
  // the game's calls.
  int depth_ = 0;
  // The file each sample was last loaded from.
  std::map<gxtkSample*, std::string> files_;
  template <class Forward>
  int Keep(AudioCall call, Forward forward);
};
