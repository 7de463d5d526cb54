// Pictures of windows: taken with ImageMagick's import, read back as
// 0xRRGGBB pixels to be looked at.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Picture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // rows top to bottom; none when it could not be read

  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  // Pixels of the box (the whole picture when it has no right edge) that `is` accepts.
  int Count(const std::function<bool(uint32_t)>& is, int left = 0, int top = 0, int right = 0, int bottom = 0) const;
  // Pixels within `tolerance` of `rgb` in every channel.
  int Count(uint32_t rgb, int tolerance = 8) const;
  // Pixels of the box that differ from `other`'s by more than `tolerance` in a channel.
  int Changed(const Picture& other, int left, int top, int right, int bottom, int tolerance = 8) const;
  static bool Near(uint32_t a, uint32_t b, int tolerance = 8);
};

Picture LoadPicture(const std::string& path);
// Saves the window's client area as the PNG file `path` and reads it back.
Picture TakePicture(const std::string& window, const std::string& path);
