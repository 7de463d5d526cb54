#include "tools/fuzz/fuzz_host.h"

#include <cstdio>
#include <cstdlib>

#include "graphics/graphics.h"
#include "graphics/graphics_device.h"
#include "graphics/headless_gl.h"
#include "runtime/gc.h"
#include "runtime/startup.h"

FILE* FuzzHost::OpenFile(String path, String) {
  if (!path.EndsWith(file) || !input) return nullptr;
  return fmemopen(const_cast<uint8_t*>(input), size, "rb");
}

int FuzzHost::SaveState(String saved) {
  state = saved;
  return 0;
}

namespace {

// Written with what vx_fuzz_read adds up, so that its reads are made.
volatile unsigned sink;

FuzzHost* Start() {
  // The game's lines ("Settings Loaded") would bury libFuzzer's.
  if (!freopen("/dev/null", "w", stdout)) abort();
  auto* host = new FuzzHost();
  VxGame::_game = VxGlfwGame::_glfwGame = host;
  // vx_start_runtime but for its fault handlers, which would take the
  // sanitizers' place in reporting a fault.
  gc_init1();
  vxInit();
  gc_init2(vx_mark_roots);
  gxtkGL = &gxtkGLHeadless;
  host->SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
  vx_graphics_SetGraphicsDevice(new gxtkGraphics());
  return host;
}

}  // namespace

FuzzHost& vx_fuzz_case(const char* file, const uint8_t* data, size_t size) {
  static FuzzHost* host = Start();
  gc_collect_all();
  host->file = String(file);
  host->input = data;
  host->size = size;
  return *host;
}

void vx_fuzz_read(const unsigned char* bytes, size_t count) {
  unsigned sum = 0;
  for (size_t i = 0; i < count; ++i) sum += bytes[i];
  sink = sum;
}

void vx_fuzz_sound(const char* file, VxSoundReader read, const uint8_t* data, size_t size) {
  FILE* in = vx_fuzz_case(file, data, size).OpenFile(String(file), String("rb"));
  if (!in) return;
  int length = 0, channels = 0, format = 0, hertz = 0;
  unsigned char* pcm = read(in, &length, &channels, &format, &hertz);
  fclose(in);
  if (!pcm) return;
  if (length < 1 || (channels != 1 && channels != 2) || (format != 1 && format != 2) || hertz < 1) abort();
  vx_fuzz_read(pcm, static_cast<size_t>(length) * static_cast<size_t>(channels) * static_cast<size_t>(format));
  free(pcm);
}
