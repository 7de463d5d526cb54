// Image files become pixel bytes here, through stb_image, at the file's own
// channel count. Anything that is not a picture of sane size gives none.
#include <cstdint>
#include <cstdio>

#include <stb_image.h>

#include "host/vx_game.h"

namespace {

// ---- Tunables ---------------------------------------------------------------
constexpr int IMAGE_MAX_SIDE = 16384;                          // pixels along either side
constexpr int64_t IMAGE_MAX_PIXELS = int64_t{8192} * 8192;     // pixels in all (256 MiB as RGBA)

}  // namespace

unsigned char* VxGlfwGame::LoadImageData(String path, int* width, int* height, int* depth) {
  FILE* file = OpenFile(path, String("rb"));
  if (!file) return nullptr;
  // The header alone first: a picture too large to hold is refused before
  // any of it is decoded.
  int w = 0, h = 0, channels = 0;
  unsigned char* bytes = nullptr;
  if (stbi_info_from_file(file, &w, &h, &channels) && w > 0 && h > 0 && w <= IMAGE_MAX_SIDE &&
      h <= IMAGE_MAX_SIDE && int64_t{w} * h <= IMAGE_MAX_PIXELS) {
    bytes = stbi_load_from_file(file, &w, &h, &channels, 0);
  }
  fclose(file);
  if (!bytes) return nullptr;
  *width = w;
  *height = h;
  *depth = channels;
  return bytes;
}
