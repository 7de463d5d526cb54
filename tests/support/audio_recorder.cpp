#include "tests/support/audio_recorder.h"

#include <utility>

namespace {

AudioCall Call(const char* name, int channel = -1, gxtkSample* sample = nullptr, int flags = 0, float value = 0,
               std::string path = "") {
  return {name, channel, sample, flags, value, std::move(path)};
}

}  // namespace

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

gxtkSample* RecordingAudio::LoadSample(String path) {
  gxtkSample* sample = gxtkAudio::LoadSample(path);
  if (sample) files_[sample] = path.ToUtf8();
  return sample;
}

int RecordingAudio::PlaySample(gxtkSample* sample, int channel, int flags) {
  auto file = files_.find(sample);
  std::string path = file == files_.end() ? "" : file->second;
  return Keep(Call("PlaySample", channel, sample, flags, 0, path),
              [&] { return gxtkAudio::PlaySample(sample, channel, flags); });
}

int RecordingAudio::StopChannel(int c) {
  return Keep(Call("StopChannel", c), [&] { return gxtkAudio::StopChannel(c); });
}
int RecordingAudio::PauseChannel(int c) {
  return Keep(Call("PauseChannel", c), [&] { return gxtkAudio::PauseChannel(c); });
}
int RecordingAudio::ResumeChannel(int c) {
  return Keep(Call("ResumeChannel", c), [&] { return gxtkAudio::ResumeChannel(c); });
}

int RecordingAudio::SetVolume(int c, float v) {
  return Keep(Call("SetVolume", c, nullptr, 0, v), [&] { return gxtkAudio::SetVolume(c, v); });
}
int RecordingAudio::SetPan(int c, float v) {
  return Keep(Call("SetPan", c, nullptr, 0, v), [&] { return gxtkAudio::SetPan(c, v); });
}
int RecordingAudio::SetRate(int c, float v) {
  return Keep(Call("SetRate", c, nullptr, 0, v), [&] { return gxtkAudio::SetRate(c, v); });
}

int RecordingAudio::PlayMusic(String path, int flags) {
  return Keep(Call("PlayMusic", -1, nullptr, flags, 0, path.ToUtf8()),
              [&] { return gxtkAudio::PlayMusic(path, flags); });
}
int RecordingAudio::StopMusic() {
  return Keep(Call("StopMusic"), [&] { return gxtkAudio::StopMusic(); });
}
int RecordingAudio::PauseMusic() {
  return Keep(Call("PauseMusic"), [&] { return gxtkAudio::PauseMusic(); });
}
int RecordingAudio::ResumeMusic() {
  return Keep(Call("ResumeMusic"), [&] { return gxtkAudio::ResumeMusic(); });
}
