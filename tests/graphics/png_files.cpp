#include "tests/graphics/png_files.h"

// The writer's header leaves struct fields to zero-initialisation.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb_image_write.h>
#pragma GCC diagnostic pop

bool WritePng(const std::string& path, int w, int h, int channels, const std::vector<unsigned char>& pixels) {
  return stbi_write_png(path.c_str(), w, h, channels, pixels.data(), w * channels) != 0;
}
