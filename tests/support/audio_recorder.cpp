#include "tests/support/audio_recorder.h"

#include <utility>

template <class Forward>
int RecordingAudio::Keep(AudioCall call, Forward forward) {
  if (depth_ == 0) calls.push_back(std::move(call));
  ++depth_;
  int result = forward();
  --depth_;
  return result;
}

std::vector<AudioCall> RecordingAudio::Named(const std::string& name) const {
  std::vector<AudioCall> found;
  for (const AudioCall& call : calls) {
    if (call.name == name) found.push_back(call);
  }
  return found;
}

int RecordingAudio::PlaySample(gxtkSample* sample, int channel, int flags) {
  return Keep({"PlaySample", channel, sample, flags}, [&] { return gxtkAudio::PlaySample(sample, channel, flags); });
}

int RecordingAudio::StopChannel(int channel) {
  return Keep({"StopChannel", channel}, [&] { return gxtkAudio::StopChannel(channel); });
}

int RecordingAudio::PauseChannel(int channel) {
  return Keep({"PauseChannel", channel}, [&] { return gxtkAudio::PauseChannel(channel); });
}

int RecordingAudio::ResumeChannel(int channel) {
  return Keep({"ResumeChannel", channel}, [&] { return gxtkAudio::ResumeChannel(channel); });
}

int RecordingAudio::SetVolume(int channel, float volume) {
  return Keep({"SetVolume", channel, nullptr, 0, volume}, [&] { return gxtkAudio::SetVolume(channel, volume); });
}

int RecordingAudio::SetPan(int channel, float pan) {
  return Keep({"SetPan", channel, nullptr, 0, pan}, [&] { return gxtkAudio::SetPan(channel, pan); });
}

int RecordingAudio::SetRate(int channel, float rate) {
  return Keep({"SetRate", channel, nullptr, 0, rate}, [&] { return gxtkAudio::SetRate(channel, rate); });
}

int RecordingAudio::PlayMusic(String path, int flags) {
  return Keep({"PlayMusic", -1, nullptr, flags, 0, path.ToUtf8()}, [&] { return gxtkAudio::PlayMusic(path, flags); });
}

int RecordingAudio::StopMusic() {
  return Keep({"StopMusic"}, [&] { return gxtkAudio::StopMusic(); });
}

int RecordingAudio::PauseMusic() {
  return Keep({"PauseMusic"}, [&] { return gxtkAudio::PauseMusic(); });
}

int RecordingAudio::ResumeMusic() {
  return Keep({"ResumeMusic"}, [&] { return gxtkAudio::ResumeMusic(); });
}
