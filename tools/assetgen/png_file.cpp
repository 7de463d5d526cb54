#include "tools/assetgen/png_file.h"

#include <stb_image_write.h>

bool WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba) {
  return stbi_write_png(path.c_str(), width, height, 4, rgba.data(), width * 4) != 0;
}
