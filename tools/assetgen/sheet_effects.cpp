// flash and parts: white shapes the game colours, spins and scales.
#include <cmath>

#include "tools/assetgen/sheets.h"

namespace {
constexpr Rgba kWhite{1, 1, 1, 1};
const Vec2 kCentre{32, 32};

Shape Spikes(Vec2 c, int count, float inner, float outer, float halfWidth, float turn) {
  std::vector<Shape> spikes;
  for (int i = 0; i < count; ++i) {
    float a = turn + 360.0f * i / count;
    Vec2 side0 = Polar(c, inner, a - halfWidth), side1 = Polar(c, inner, a + halfWidth);
    spikes.push_back(Polygon({side0, Polar(c, outer, a), side1, c}));
  }
  return Union(spikes);
}

// flash frames 1-15; frame 0 is a plain soft glow.
void Flash(Painter& p, int frame) {
  Rgba soft = Grey(1, 0.45f);
  switch (frame) {
    case 0: p.Glow(Circle(kCentre, 6), 22, soft); break;
    case 1: p.Glow(Circle(kCentre, 4), 10, soft); p.Fill(Spikes(kCentre, 8, 6, 29, 9, 0), kWhite); break;
    case 2: p.Fill(Ring(kCentre, 26, 1.5f), kWhite); break;
    case 3: p.Glow(Ring(kCentre, 22, 3), 6, soft); p.Fill(Ring(kCentre, 22, 3), kWhite); break;
    case 4: p.Glow(Circle(kCentre, 3), 12, soft); p.Fill(Star(kCentre, 4, 30, 4, 0), kWhite); break;
    case 5: p.Fill(Spikes(kCentre, 12, 8, 28, 7, 15), Grey(1, 0.85f)); p.Fill(Circle(kCentre, 8), kWhite); break;
    case 6:
      for (int i = 0; i < 12; ++i) p.Fill(Circle(Polar(kCentre, 24, i * 30.0f), 3), kWhite);
      break;
    case 7: p.Fill(Ring(kCentre, 28, 1.2f), kWhite); p.Fill(Ring(kCentre, 17, 2.2f), Grey(1, 0.8f)); break;
    case 8:
      p.Fill(Star(kCentre, 4, 30, 2.5f, 0), kWhite);
      p.Fill(Star(kCentre, 4, 16, 2, 45), Grey(1, 0.8f));
      break;
    case 9: p.Glow(Circle(kCentre, 12), 16, soft); p.Fill(Circle(kCentre, 9), kWhite); break;
    case 10:
      for (int i = 0; i < 10; ++i) {
        float a = i * 36.0f;
        p.Fill(Polygon({Polar(kCentre, 18, a - 6), Polar(kCentre, 29, a), Polar(kCentre, 18, a + 6)}), kWhite);
      }
      break;
    case 11:
      for (int i = 0; i < 6; ++i) {
        std::vector<Vec2> arm;
        for (int k = 0; k <= 6; ++k) arm.push_back(Polar(kCentre, 6 + k * 3.8f, i * 60.0f + k * 12));
        p.Fill(Stroke(arm, 1.6f), kWhite);
      }
      break;
    case 12: p.Glow(Circle(kCentre, 4), 10, soft); p.Fill(Star(kCentre, 6, 28, 9, -90), kWhite); break;
    case 13: p.Glow(Ring(kCentre, 25, 1), 7, soft); p.Fill(Ring(kCentre, 25, 1), kWhite); break;
    case 14: {
      Rng rng(1414);
      for (int i = 0; i < 9; ++i) p.Fill(Circle(Polar(kCentre, rng.Range(6, 22), i * 40.0f), rng.Range(3, 6)), kWhite);
      break;
    }
    case 15: p.Fill(Spikes(kCentre, 16, 3, 30, 3, 0), kWhite); p.Glow(Circle(kCentre, 5), 8, soft); break;
    default: break;
  }
}

// parts: eight families of 32 small white shapes, 8 x 8 at 1x.
void Part(Painter& p, int frame) {
  int family = frame / 32, k = frame % 32;
  Vec2 c{4, 4};
  float angle = k * 360.0f / 32;
  float size = 3.6f - (k % 8) * 0.3f;  // each family runs large to small, four times over
  switch (family) {
    case 0: p.Fill(Circle(c, size), kWhite); break;
    case 1: p.Fill(Ring(c, size - 0.6f, 0.6f), kWhite); break;
    case 2: p.Fill(Rotate(Capsule({4, 0.6f}, {4, 7.4f}, 0.55f), c, angle), kWhite); break;
    case 3: p.Fill(Rotate(Polygon({{4, 0.5f}, {6.2f, 7}, {2.2f, 6}}), c, angle), kWhite); break;
    case 4: p.Fill(Star(c, 4, size + 0.3f, size * 0.3f + 0.3f, angle / 4), kWhite); break;
    case 5:
      p.Fill(Rotate(Union(Box(c, {3.4f, 0.6f}), Box(c, {0.6f, 3.4f})), c, angle), kWhite);
      break;
    case 6: p.Fill(Rotate(Box(c, {size * 0.7f, size * 0.7f}), c, angle), kWhite); break;
    case 7: p.Glow(Circle(c, 0.6f), size, Grey(1, 0.9f)); break;
    default: break;
  }
}
}  // namespace

void DrawFlash(Painter& p, int frame) { Flash(p, frame); }
void DrawParts(Painter& p, int frame) { Part(p, frame); }
