#include "tests/support/audio_recorder.h"

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
  return Keep({"PlaySample", channel, sample, flags, 0, file == files_.end() ? "" : file->second},
              [&] { return gxtkAudio::PlaySample(sample, channel, flags); });
}
