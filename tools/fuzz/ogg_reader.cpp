// The Ogg Vorbis reader on any bytes, through a FILE as the game opens a tune.
#include "host/audio_data.h"
#include "tools/fuzz/fuzz_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* file = vx_fuzz_case("fuzz.ogg", data, size).OpenFile(String("fuzz.ogg"), String("rb"));
  if (!file) return 0;
  int length = 0, channels = 0, format = 0, hertz = 0;
  unsigned char* pcm = LoadOGG(file, &length, &channels, &format, &hertz);
  fclose(file);
  vx_fuzz_check_sound(pcm, length, channels, format, hertz);
  return 0;
}
