#include "tools/xdrive/picture.h"

#include <stb_image.h>

#include "tools/xdrive/process.h"

bool Picture::Near(uint32_t a, uint32_t b, int tolerance) {
  for (int shift = 0; shift < 24; shift += 8) {
    int d = static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF);
    if (d > tolerance || d < -tolerance) return false;
  }
  return true;
}

int Picture::Count(const std::function<bool(uint32_t)>& is, int left, int top, int right, int bottom) const {
  int n = 0;
  for (int y = top; y < (right ? bottom : height); ++y) {
    for (int x = left; x < (right ? right : width); ++x) n += is(At(x, y));
  }
  return n;
}

int Picture::Count(uint32_t rgb, int tolerance) const {
  return Count([=](uint32_t p) { return Near(p, rgb, tolerance); });
}

int Picture::Changed(const Picture& other, int left, int top, int right, int bottom, int tolerance) const {
  int n = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) n += !Near(At(x, y), other.At(x, y), tolerance);
  }
  return n;
}

Picture LoadPicture(const std::string& path) {
  Picture picture;
  int channels = 0;
  unsigned char* rgb = stbi_load(path.c_str(), &picture.width, &picture.height, &channels, 3);
  if (!rgb) return picture;
  picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
  for (size_t i = 0; i < picture.pixels.size(); ++i) {
    picture.pixels[i] = static_cast<uint32_t>(rgb[i * 3]) << 16 | rgb[i * 3 + 1] << 8 | rgb[i * 3 + 2];
  }
  stbi_image_free(rgb);
  return picture;
}

Picture TakePicture(const std::string& window, const std::string& path) {
  RunProcess({"/usr/bin/import", "-window", window, "png:" + path});
  return LoadPicture(path);
}
