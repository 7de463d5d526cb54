// The reader of recorded games on any text. A text it refuses has its reason
// in one line.
#include <cstdlib>
#include <string>

#include "host/replay.h"
#include "tools/fuzz/fuzz_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vx_fuzz_case("fuzz.kxr", data, size);
  VxRecording recording;
  std::string error;
  if (VxReadRecording(std::string(reinterpret_cast<const char*>(data), size), &recording, &error)) return 0;
  if (error.empty() || error.find('\n') != std::string::npos) abort();
  return 0;
}
