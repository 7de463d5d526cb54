// common/dpad, common/Buttons, common/icons: controls the game tints, so
// they are white and greys.
#include <cmath>

#include "tools/assetgen/sheets.h"

namespace {
const Rgba kWhite = Grey(1), kLight = Grey(0.82f), kMid = Grey(0.55f), kDark = Grey(0.3f);

Shape Arrow(Vec2 c, float size, float degrees) {
  return Rotate(Polygon({{c.x + size, c.y}, {c.x - size * 0.6f, c.y - size}, {c.x - size * 0.6f, c.y + size}}), c,
                degrees);
}

// dpad: 0 base, 1-4 arrows up/right/down/left, 5-8 pressed, 9 nub, 10-11 fire, 12-15 diagonals.
void Dpad(Painter& p, int frame) {
  Vec2 c{16, 16};
  constexpr float kArrowTurn[4] = {-90, 0, 90, 180};
  if (frame == 0) {
    p.Fill(Circle(c, 15), Grey(0.55f, 0.6f));
    p.Fill(Ring(c, 14, 1), kLight);
  } else if (frame <= 8) {
    bool pressed = frame >= 5;
    float turn = kArrowTurn[(frame - 1) % 4];
    p.Fill(Rotate(Box({21, 16}, {9, 6}, 2), c, turn), pressed ? kLight : Grey(0.45f, 0.7f));
    p.Fill(Arrow(Polar(c, 6, turn), 5, turn), pressed ? kDark : kWhite);
  } else if (frame == 9) {
    p.Fill(Circle(c, 7), kMid);
    p.Fill(Circle({15, 15}, 5), kLight);
  } else if (frame <= 11) {
    bool pressed = frame == 11;
    p.Fill(Circle(c, 14), pressed ? kLight : Grey(0.5f, 0.7f));
    p.Fill(Ring(c, 12, 1.5f), pressed ? kDark : kWhite);
  } else {
    float turn = 45.0f + 90.0f * (frame - 12) - 90;
    p.Fill(Arrow(Polar(c, 9, turn), 4, turn), kLight);
  }
}

Shape MiniBug(Vec2 c, float s) {
  return Union({Ellipse(c, 4 * s, 3.4f * s), Circle(c + Vec2{0, -3.6f * s}, 2.3f * s),
                Capsule(c + Vec2{-5.5f * s, 2.5f * s}, c + Vec2{5.5f * s, 2.5f * s}, 0.7f * s)});
}

// The options cog: 8 toothed outer ring, 9 middle ring, 10 hub.
void Cog(Painter& p, int layer) {
  Vec2 c{32, 32};
  if (layer == 0) {
    std::vector<Shape> teeth;
    for (int i = 0; i < 10; ++i) teeth.push_back(Rotate(Box({32, 5.5f}, {4, 4}, 1), c, i * 36.0f));
    p.Fill(Subtract(Union(Union(teeth), Circle(c, 24)), Circle(c, 17)), kLight);
    p.Fill(Ring(c, 17.5f, 1), kMid);
  } else if (layer == 1) {
    p.Fill(Ring(c, 13, 3), kMid);
    for (int i = 0; i < 6; ++i) p.Fill(Circle(Polar(c, 13, i * 60.0f), 1.4f), kWhite);
  } else {
    p.Fill(Circle(c, 7), kWhite);
    p.Fill(Circle(c, 3), kDark);
  }
}

// Buttons: 0-2 the game modes (one, two, three bugs over a nest), 8-10 cog, 12 credits.
void Buttons(Painter& p, int frame) {
  Vec2 c{32, 32};
  if (frame <= 2) {
    p.Fill(Circle(c, 29), Grey(0.35f, 0.85f));
    p.Fill(Ring(c, 28, 1.6f), kWhite);
    p.Fill(Intersect(Ellipse({32, 50}, 16, 10), Box({32, 45}, {17, 5})), kMid);  // nest
    constexpr Vec2 kSpots[3][3] = {{{32, 30}}, {{23, 32}, {41, 32}}, {{21, 36}, {43, 36}, {32, 22}}};
    for (int i = 0; i <= frame; ++i) p.Fill(MiniBug(kSpots[frame][i], frame == 0 ? 2.2f : 1.6f), kWhite);
  } else if (frame >= 8 && frame <= 10) {
    Cog(p, frame - 8);
  } else if (frame == 12) {
    p.Fill(Box({32, 42}, {17, 9}, 3), kMid);
    for (int i = 0; i < 3; ++i) p.Fill(Capsule({22, 38.0f + i * 4}, {42, 38.0f + i * 4}, 0.9f), kWhite);
    p.Fill(Star({32, 22}, 5, 12, 5, -90), kWhite);
  }
}

// icons: 0 pause, 1 quit cross, 3 play triangle, 6 highlight ring.
void Icons(Painter& p, int frame) {
  Vec2 c{16, 16};
  switch (frame) {
    case 0:
      p.Fill(Circle(c, 13), Grey(0.3f, 0.6f));
      p.Fill(Ring(c, 13, 1.2f), kWhite);
      p.Fill(Box({12, 16}, {2, 6.5f}, 0.8f), kWhite);
      p.Fill(Box({20, 16}, {2, 6.5f}, 0.8f), kWhite);
      break;
    case 1:
      p.Fill(Circle(c, 13), Grey(0.3f, 0.6f));
      p.Fill(Ring(c, 13, 1.2f), kWhite);
      p.Fill(Union(Capsule({11, 11}, {21, 21}, 2), Capsule({21, 11}, {11, 21}, 2)), kWhite);
      break;
    case 3: p.Fill(Grow(Polygon({{9, 6}, {25, 16}, {9, 26}}), -0.5f), kWhite); break;
    case 6: p.Glow(Ring(c, 12, 1.5f), 3, Grey(1, 0.5f)); p.Fill(Ring(c, 12, 1.5f), kWhite); break;
    default: break;
  }
}
}  // namespace

void DrawDpad(Painter& p, int frame) { Dpad(p, frame); }
void DrawButtons(Painter& p, int frame) { Buttons(p, frame); }
void DrawIcons(Painter& p, int frame) { Icons(p, frame); }
