// The Ogg Vorbis reader on any bytes, through a FILE as the game opens a tune.
#include "host/audio_data.h"
#include "tools/fuzz/fuzz_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vx_fuzz_sound("fuzz.ogg", LoadOGG, data, size);
  return 0;
}
