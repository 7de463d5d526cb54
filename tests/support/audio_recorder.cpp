#include "tests/support/audio_recorder.h"

#include <utility>

namespace {

AudioCall Call(const char* name, int channel = -1, gxtkSample* sample = nullptr, int flags = 0, float value = 0,
               std::string path = "") {
  AudioCall call;
  call.name = name;
  call.channel = channel;
  call.sample = sample;
  call.flags = flags;
  call.value = value;
  call.path = std::move(path);
  return call;
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

int RecordingAudio::StopChannel(int channel) {
  return Keep(Call("StopChannel", channel), [&] { return gxtkAudio::StopChannel(channel); });
}

int RecordingAudio::PauseChannel(int channel) {
  return Keep(Call("PauseChannel", channel), [&] { return gxtkAudio::PauseChannel(channel); });
}

int RecordingAudio::ResumeChannel(int channel) {
  return Keep(Call("ResumeChannel", channel), [&] { return gxtkAudio::ResumeChannel(channel); });
}

int RecordingAudio::SetVolume(int channel, float volume) {
  return Keep(Call("SetVolume", channel, nullptr, 0, volume), [&] { return gxtkAudio::SetVolume(channel, volume); });
}

int RecordingAudio::SetPan(int channel, float pan) {
  return Keep(Call("SetPan", channel, nullptr, 0, pan), [&] { return gxtkAudio::SetPan(channel, pan); });
}

int RecordingAudio::SetRate(int channel, float rate) {
  return Keep(Call("SetRate", channel, nullptr, 0, rate), [&] { return gxtkAudio::SetRate(channel, rate); });
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
