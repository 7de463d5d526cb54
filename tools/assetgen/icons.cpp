// The icon: the player with the paint gun on a painted floor tile, framed in
// the logo's gold over a night-purple rounded square. Drawn once at 8x its
// 64-unit design and boxed down to each size, so that the small icons keep
// the sprite's shape instead of dropping whole rows as point sampling would.
// The sprites are drawn an eighth larger than the frame so the player fills it.
#include "tools/assetgen/icons.h"

#include <algorithm>

#include "tools/assetgen/palette.h"
#include "tools/assetgen/shading.h"
#include "tools/assetgen/sheets.h"

namespace {
using namespace pal;

constexpr int kDesign = 64;  // units across
constexpr int kScale = 8;    // master pixels per unit
constexpr int kMaster = kDesign * kScale;
constexpr int kSpriteScale = 9;  // master pixels per unit of a gfx frame

// gfx frames in the order the game draws them, moved in units of the frame:
// the floor tile with its top edge under the feet (row 46), then gun, body
// and hand, so that the player and the gun together sit in the middle.
struct Stamp {
  int frame, dx, dy;
};
constexpr Stamp kStamps[] = {{13, -4, 44}, {8, -10, -3}, {0, -10, -3}, {9, -10, -3}};

Canvas Master() {
  Canvas icon(kMaster, kMaster);
  Painter p(icon, 0, 0, kMaster, kMaster, kScale);
  p.Fill(Box({32, 32}, {32, 32}, 14), kInk);
  p.Fill(Box({32, 32}, {30.5f, 30.5f}, 12.5f), Vertical(kGoldLight, kOrange, 2, 62));
  Shape inside = Box({32, 32}, {28, 28}, 10);
  p.Fill(inside, Vertical(kPurple, kNight, 4, 60));
  // A light behind the helmet lifts the player off the backdrop.
  p.Fill(inside, [](Vec2 q) {
    float t = std::clamp(1 - Length(q - Vec2{26, 24}) / 24, 0.0f, 1.0f);
    return WithAlpha(kGoldLight, 0.5f * t * t);
  });

  constexpr int kSprite = kDesign * kSpriteScale;
  for (const Stamp& stamp : kStamps) {
    Canvas sprite(kSprite, kSprite);
    Painter sp(sprite, 0, 0, kSprite, kSprite, kSpriteScale);
    DrawGfx(sp, stamp.frame);
    for (int y = 0; y < kSprite; ++y)
      for (int x = 0; x < kSprite; ++x) {
        int tx = x + stamp.dx * kSpriteScale, ty = y + stamp.dy * kSpriteScale;
        if (tx < 0 || ty < 0 || tx >= kMaster || ty >= kMaster || sprite.At(x, y).a <= 0) continue;
        if (inside.Distance({(tx + 0.5f) / kScale, (ty + 0.5f) / kScale}) <= 0) icon.Blend(tx, ty, sprite.At(x, y));
      }
  }
  return icon;
}

// Averages k x k blocks with alpha weighting, so that clear pixels add no dark fringe.
Canvas Shrink(const Canvas& master, int size) {
  int k = master.Width() / size;
  Canvas out(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      Rgba sum;
      for (int v = 0; v < k; ++v)
        for (int u = 0; u < k; ++u) {
          const Rgba& c = master.At(x * k + u, y * k + v);
          sum = {sum.r + c.r * c.a, sum.g + c.g * c.a, sum.b + c.b * c.a, sum.a + c.a};
        }
      if (sum.a > 0) out.At(x, y) = {sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, sum.a / float(k * k)};
    }
  return out;
}
}  // namespace

Canvas RenderIcon(int size) {
  static const Canvas master = Master();
  return Shrink(master, size);
}
