// Sound files into OpenAL buffers: the host decodes, the device copies the PCM
// into one buffer per sample.
#include <cstdlib>

#include "audio/audio_device.h"
#include "host/vx_game.h"
#include "runtime/gc.h"

namespace {

// OpenAL format by bytes per sample (rows) and channels (columns).
constexpr ALenum kBufferFormats[2][2] = {
    {AL_FORMAT_MONO8, AL_FORMAT_STEREO8},
    {AL_FORMAT_MONO16, AL_FORMAT_STEREO16},
};

// 0 for shapes OpenAL has no format for; it rejects that, leaving the buffer empty.
ALenum BufferFormat(int format, int channels) {
  if (format < 1 || format > 2 || channels < 1 || channels > 2) return 0;
  return kBufferFormats[format - 1][channels - 1];
}

}  // namespace

gxtkSample* gxtkAudio::LoadSample__UNSAFE__(gxtkSample* sample, String path) {
  int length = 0, channels = 0, format = 0, hertz = 0;
  unsigned char* data = VxGlfwGame::_glfwGame->LoadAudioData(path, &length, &channels, &format, &hertz);
  if (!data) return nullptr;

  ALuint name = 0;
  int size = format * channels * length;
  alGenBuffers(1, &name);
  alBufferData(name, BufferFormat(format, channels), data, size, hertz);
  free(data);
  // OpenAL keeps its own copy for as long as the sample lives.
  gc_external_alloc(static_cast<size_t>(size));
  // Refilling a sample must not strand its old buffer.
  sample->Discard();
  sample->SetBuffer(name);
  return sample;
}

gxtkSample* gxtkAudio::LoadSample(String path) {
  FlushDiscarded();
  return LoadSample__UNSAFE__(new gxtkSample(), path);
}
