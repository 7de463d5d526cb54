#include "tools/assetgen/canvas.h"

#include <algorithm>
#include <cmath>

Rgba WithAlpha(Rgba c, float a) { return {c.r, c.g, c.b, a}; }

Rgba Mix(Rgba a, Rgba b, float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Rgba Grey(float level, float a) { return {level, level, level, a}; }

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height) {}

void Canvas::Blend(int x, int y, Rgba s) {
  Rgba& d = At(x, y);
  float a = s.a + d.a * (1 - s.a);
  if (a <= 0) {
    d = {};
    return;
  }
  float keep = d.a * (1 - s.a);
  d = {(s.r * s.a + d.r * keep) / a, (s.g * s.a + d.g * keep) / a, (s.b * s.a + d.b * keep) / a, a};
}

std::vector<uint8_t> Canvas::ToRgba8() const {
  std::vector<uint8_t> out;
  out.reserve(pixels_.size() * 4);
  auto byte = [](float v) { return uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255)); };
  for (const Rgba& p : pixels_) {
    // Fully transparent pixels are stored as zero so nothing hides in them.
    uint8_t a = byte(p.a);
    out.push_back(a ? byte(p.r) : 0);
    out.push_back(a ? byte(p.g) : 0);
    out.push_back(a ? byte(p.b) : 0);
    out.push_back(a);
  }
  return out;
}

Painter::Painter(Canvas& canvas, int originX, int originY, int frameWidth, int frameHeight, int scale)
    : canvas_(canvas), originX_(originX), originY_(originY), width_(frameWidth), height_(frameHeight), scale_(scale) {}

template <typename F>
void Painter::Cover(const Bounds& e, F&& perPixel) {
  // Only the pixels the shape can reach, clipped to the frame so that no
  // frame ever bleeds into its neighbour.
  int x0 = std::max(0, int(std::floor(e.x0 * scale_)) - 1);
  int y0 = std::max(0, int(std::floor(e.y0 * scale_)) - 1);
  int x1 = std::min(width_, int(std::ceil(e.x1 * scale_)) + 1);
  int y1 = std::min(height_, int(std::ceil(e.y1 * scale_)) + 1);
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      Vec2 p{(x + 0.5f) / scale_, (y + 0.5f) / scale_};
      perPixel(originX_ + x, originY_ + y, p);
    }
}

void Painter::Fill(const Shape& shape, Rgba colour) {
  Cover(shape.Extent(), [&](int x, int y, Vec2 p) {
    if (shape.Distance(p) <= 0) canvas_.Blend(x, y, colour);
  });
}

void Painter::Fill(const Shape& shape, const Shade& shade) {
  Cover(shape.Extent(), [&](int x, int y, Vec2 p) {
    if (shape.Distance(p) <= 0) canvas_.Blend(x, y, shade(p));
  });
}

void Painter::Glow(const Shape& shape, float radius, Rgba colour) {
  const Bounds& e = shape.Extent();
  Cover({e.x0 - radius, e.y0 - radius, e.x1 + radius, e.y1 + radius}, [&](int x, int y, Vec2 p) {
    float d = shape.Distance(p);
    float t = d <= 0 ? 1 : 1 - d / radius;
    if (t > 0) canvas_.Blend(x, y, WithAlpha(colour, colour.a * t * t));
  });
}

void Painter::Pixel(int x, int y, Rgba colour) {
  if (x >= 0 && y >= 0 && x < width_ && y < height_) canvas_.Blend(originX_ + x, originY_ + y, colour);
}

void Painter::Outline(Rgba colour, float width) {
  int reach = std::max(1, int(std::lround(width * scale_)));
  std::vector<uint8_t> solid(static_cast<size_t>(width_) * height_);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) solid[size_t(y) * width_ + x] = canvas_.At(originX_ + x, originY_ + y).a > 0.5f;
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      if (solid[size_t(y) * width_ + x]) continue;
      bool near = false;
      for (int dy = -reach; dy <= reach && !near; ++dy)
        for (int dx = -reach; dx <= reach && !near; ++dx) {
          int nx = x + dx, ny = y + dy;
          if (nx < 0 || ny < 0 || nx >= width_ || ny >= height_ || dx * dx + dy * dy > reach * reach) continue;
          near = solid[size_t(ny) * width_ + nx];
        }
      if (near) canvas_.Blend(originX_ + x, originY_ + y, colour);
    }
}

uint32_t Rng::NextBits() {
  state_ = state_ * 1664525u + 1013904223u;
  uint32_t x = state_;
  x ^= x >> 15;
  x *= 0x2c1b3c6du;
  x ^= x >> 12;
  return x;
}

float Rng::Next() { return float(NextBits() >> 8) / 16777216.0f; }

namespace {
float Lattice(int x, int y, uint32_t seed) {
  uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return float((h ^ (h >> 16)) & 0xffffff) / 16777215.0f;
}
}  // namespace

float ValueNoise(Vec2 p, uint32_t seed) {
  int ix = int(std::floor(p.x)), iy = int(std::floor(p.y));
  float fx = p.x - ix, fy = p.y - iy;
  fx = fx * fx * (3 - 2 * fx);
  fy = fy * fy * (3 - 2 * fy);
  float top = Lattice(ix, iy, seed) + (Lattice(ix + 1, iy, seed) - Lattice(ix, iy, seed)) * fx;
  float bottom = Lattice(ix, iy + 1, seed) + (Lattice(ix + 1, iy + 1, seed) - Lattice(ix, iy + 1, seed)) * fx;
  return top + (bottom - top) * fy;
}
