// Pictures: any bytes decoded as the game loads an image file, and a surface
// with its texture made from what they decode to.
#include <cstdlib>

#include "graphics/graphics.h"
#include "graphics/graphics_device.h"
#include "graphics/surface.h"
#include "tools/fuzz/fuzz_host.h"

namespace {

constexpr int MAX_SIDE = 8192;  // pixels: the most the host decodes along a side

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vx_fuzz_case("fuzz.png", data, size);
  gxtkSurface* surface = vx_graphics_device->LoadSurface(String("fuzz.png"));
  if (!surface) return 0;
  int w = surface->Width(), h = surface->Height(), depth = surface->bytesPerPixel;
  if (w < 1 || h < 1 || w > MAX_SIDE || h > MAX_SIDE || depth < 1 || depth > 4 || !surface->glFormat) abort();
  vx_fuzz_read(surface->pixelData, static_cast<size_t>(w) * static_cast<size_t>(h) * static_cast<size_t>(depth));
  surface->Discard();
  return 0;
}
