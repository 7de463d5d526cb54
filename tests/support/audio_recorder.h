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
  int StopChannel(int c) override {
    return Keep(Call("StopChannel", c), [&] { return gxtkAudio::StopChannel(c); });
  }
  int PauseChannel(int c) override {
    return Keep(Call("PauseChannel", c), [&] { return gxtkAudio::PauseChannel(c); });
  }
  int ResumeChannel(int c) override {
    return Keep(Call("ResumeChannel", c), [&] { return gxtkAudio::ResumeChannel(c); });
  }
  int SetVolume(int c, float v) override {
    return Keep(Call("SetVolume", c, v), [&] { return gxtkAudio::SetVolume(c, v); });
  }
  int SetPan(int c, float v) override {
    return Keep(Call("SetPan", c, v), [&] { return gxtkAudio::SetPan(c, v); });
  }
  int SetRate(int c, float v) override {
    return Keep(Call("SetRate", c, v), [&] { return gxtkAudio::SetRate(c, v); });
  }
  int PlayMusic(String path, int flags) override {
    return Keep({"PlayMusic", -1, nullptr, flags, 0, path.ToUtf8()}, [&] { return gxtkAudio::PlayMusic(path, flags); });
  }
  int StopMusic() override {
    return Keep(Call("StopMusic"), [&] { return gxtkAudio::StopMusic(); });
  }
  int PauseMusic() override {
    return Keep(Call("PauseMusic"), [&] { return gxtkAudio::PauseMusic(); });
  }
  int ResumeMusic() override {
    return Keep(Call("ResumeMusic"), [&] { return gxtkAudio::ResumeMusic(); });
  }

 private:
  // Only the outermost call is kept: PlayMusic's own stop and play are not
  // the game's calls.
  int depth_ = 0;
  // The file each sample was last loaded from.
  std::map<gxtkSample*, std::string> files_;
  static AudioCall Call(const char* name, int channel = -1, float value = 0) {
    return {name, channel, nullptr, 0, value, ""};
  }
  template <class Forward>
  int Keep(AudioCall call, Forward forward) {
    if (depth_ == 0) calls.push_back(std::move(call));
    ++depth_;
    int result = forward();
    --depth_;
    return result;
  }
};
