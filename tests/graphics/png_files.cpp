#include "tests/graphics/png_files.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

// The writer's header leaves struct fields to zero-initialisation.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb_image_write.h>
#pragma GCC diagnostic pop

namespace {

void Append(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<unsigned char>*>(context);
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

bool WritePng(const std::string& path, int w, int h, int channels, const std::vector<unsigned char>& pixels) {
  return stbi_write_png(path.c_str(), w, h, channels, pixels.data(), w * channels) != 0;
}

std::vector<unsigned char> PngBytes(int w, int h, int channels, unsigned char value) {
  std::vector<unsigned char> pixels(static_cast<size_t>(w) * h * channels, value), png;
  stbi_write_png_to_func(Append, &png, w, h, channels, pixels.data(), w * channels);
  return png;
}

void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  FILE* file = fopen(path.c_str(), "wb");
  if (!file) abort();
  if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), file);
  fclose(file);
}

ScratchFolder::ScratchFolder() {
  char pattern[] = "/tmp/vx_graphics_XXXXXX";
  if (!mkdtemp(pattern)) abort();
  root = pattern;
  std::filesystem::create_directory(root + "/data");
  previous = std::filesystem::current_path();
  std::filesystem::current_path(root);
}

ScratchFolder::~ScratchFolder() {
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(root);
}
