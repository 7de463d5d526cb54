// Decoding cost of the two sound formats, and the cost of starting a sound on
// a channel (which must not allocate).
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "audio/audio_device.h"
#include "host/audio_data.h"
#include "tests/audio/ogg_encoder.h"
#include "tests/audio/sound_files.h"

namespace {

// One second of 44.1 kHz stereo, as WAV.
void BM_LoadWavSecondOfStereo(benchmark::State& state) {
  Bytes file = Wav(2, 44100, 16, PcmBytes(Tone(440, 1.0, 44100, 2)));
  for (auto _ : state) {
    int length, channels, format, hertz;
    FILE* f = MemoryFile(file);
    unsigned char* data = LoadWAV(f, &length, &channels, &format, &hertz);
    fclose(f);
    benchmark::DoNotOptimize(data);
    free(data);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_LoadWavSecondOfStereo);

// One second of 44.1 kHz stereo, as Ogg Vorbis.
void BM_LoadOggSecondOfStereo(benchmark::State& state) {
  Bytes file = EncodeOgg(Tone(440, 1.0, 44100, 2), 2, 44100);
  for (auto _ : state) {
    int length, channels, format, hertz;
    FILE* f = MemoryFile(file);
    unsigned char* data = LoadOGG(f, &length, &channels, &format, &hertz);
    fclose(f);
    benchmark::DoNotOptimize(data);
    free(data);
  }
}
BENCHMARK(BM_LoadOggSecondOfStereo)->Unit(benchmark::kMillisecond);

// Restarting a sound on a busy channel, on OpenAL Soft's silent backend.
void BM_PlaySampleOnABusyChannel(benchmark::State& state) {
  setenv("ALSOFT_DRIVERS", "null", 1);
  static gxtkAudio* audio = new gxtkAudio();
  static gxtkSample* sample = new gxtkSample(ToneBuffer(440, 0.5));
  int channel = 0;
  for (auto _ : state) {
    audio->PlaySample(sample, channel, 0);
    channel = (channel + 1) % 31;
  }
}
BENCHMARK(BM_PlaySampleOnABusyChannel);

}  // namespace
