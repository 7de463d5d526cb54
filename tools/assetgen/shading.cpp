#include "tools/assetgen/shading.h"

Shade Vertical(Rgba top, Rgba bottom, float y0, float y1) {
  return [=](Vec2 p) { return Mix(top, bottom, (p.y - y0) / (y1 - y0)); };
}

Shade Lit(Vec2 centre, float radius, Rgba light, Rgba mid, Rgba dark) {
  Vec2 spot = centre + Vec2{-0.35f, -0.4f} * radius;
  return [=](Vec2 p) {
    float t = Length(p - spot) / (radius * 1.5f);
    // Three bands rather than a smooth ramp: pixel art shades in steps.
    return t < 0.3f ? light : t < 0.75f ? mid : dark;
  };
}

Shade Speckle(Rgba base, Rgba speck, float cell, float threshold, uint32_t seed) {
  return [=](Vec2 p) { return ValueNoise(p * (1 / cell), seed) > threshold ? speck : base; };
}
