// The WAV reader on any bytes, through a FILE as the game opens a sound effect.
#include "host/audio_data.h"
#include "tools/fuzz/fuzz_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* file = vx_fuzz_case("fuzz.wav", data, size).OpenFile(String("fuzz.wav"), String("rb"));
  if (!file) return 0;
  int length = 0, channels = 0, format = 0, hertz = 0;
  unsigned char* pcm = LoadWAV(file, &length, &channels, &format, &hertz);
  fclose(file);
  vx_fuzz_check_sound(pcm, length, channels, format, hertz);
  return 0;
}
