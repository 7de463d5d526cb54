// Pictures in memory and the painter that rasterises shapes into one frame
// of a sheet at a given resolution.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "tools/assetgen/shape.h"

// A colour with straight (not premultiplied) alpha, each component 0..1.
struct Rgba {
  float r = 0, g = 0, b = 0, a = 0;
};
Rgba WithAlpha(Rgba c, float a);
Rgba Mix(Rgba a, Rgba b, float t);
Rgba Grey(float level, float a = 1);

class Canvas {
 public:
  Canvas(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgba& At(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  const Rgba& At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  // Composites `c` over the pixel.
  void Blend(int x, int y, Rgba c);
  // Rows top to bottom, 8-bit RGBA.
  std::vector<uint8_t> ToRgba8() const;

 private:
  int width_, height_;
  std::vector<Rgba> pixels_;
};

using Shade = std::function<Rgba(Vec2)>;

// Draws into one frame of a canvas. Coordinates are virtual pixels of the
// frame (0,0 top left; the 1x frame size), whatever the resolution; each
// pixel takes the colour at its centre, which keeps edges hard at every scale.
class Painter {
 public:
  Painter(Canvas& canvas, int originX, int originY, int frameWidth, int frameHeight, int scale);
  int Scale() const { return scale_; }
  float Width() const { return float(width_) / scale_; }
  float Height() const { return float(height_) / scale_; }

  void Fill(const Shape& shape, Rgba colour);
  void Fill(const Shape& shape, const Shade& shade);
  // Solid inside the shape, fading to nothing `radius` outside it.
  void Glow(const Shape& shape, float radius, Rgba colour);
  // Composites `colour` over one pixel of the frame, in file pixels.
  void Pixel(int x, int y, Rgba colour);
  // Rings every opaque region of the frame with `colour`, `width` virtual pixels thick.
  void Outline(Rgba colour, float width = 1);

 private:
  template <typename F>
  void Cover(const Bounds& extent, F&& perPixel);
  Canvas& canvas_;
  int originX_, originY_, width_, height_, scale_;
};

// Deterministic randomness for the generator: every use states its seed.
class Rng {
 public:
  explicit Rng(uint32_t seed) : state_(seed * 2654435761u + 1013904223u) {}
  uint32_t NextBits();
  float Next();  // 0 <= value < 1
  float Range(float lo, float hi) { return lo + (hi - lo) * Next(); }
  int Int(int lo, int hi) { return lo + int(NextBits() % uint32_t(hi - lo + 1)); }

 private:
  uint32_t state_;
};

// Smooth value noise in 0..1 with features about one unit across.
float ValueNoise(Vec2 p, uint32_t seed);
