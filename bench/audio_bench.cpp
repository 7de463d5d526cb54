// Decoding cost of the two sound formats, and the cost of starting a sound on
// a channel (which must not allocate).
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "audio/audio_device.h"
#include "host/audio_data.h"
#include "tests/audio/sound_files.h"

namespace {

// Decoding one second of 44.1 kHz stereo from memory.
void BM_LoadSecondOfStereo(benchmark::State& state, Decoder decoder, const Bytes& file) {
  for (auto _ : state) {
    int length, channels, format, hertz;
    FILE* f = MemoryFile(file);
    unsigned char* data = decoder(f, &length, &channels, &format, &hertz);
    fclose(f);
    benchmark::DoNotOptimize(data);
    free(data);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
}
BENCHMARK_CAPTURE(BM_LoadSecondOfStereo, Wav, LoadWAV, Wav(2, 44100, 16, Ramp(4 * 44100)));
BENCHMARK_CAPTURE(BM_LoadSecondOfStereo, Ogg, LoadOGG, EncodeOgg(Tone(440, 1.0, 44100, 2), 2, 44100))
    ->Unit(benchmark::kMillisecond);

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
