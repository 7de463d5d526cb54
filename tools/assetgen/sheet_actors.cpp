// weapon, buga, heart, rocks: the things that fly, walk and bounce.
#include <cmath>

#include "tools/assetgen/palette.h"
#include "tools/assetgen/shading.h"
#include "tools/assetgen/sheets.h"

namespace {
using namespace pal;

enum class ShotForm { Bolt, Ball, Dart, Twin, Star, Wave, Flame, Ring };
struct ShotKind {
  ShotForm form;
  Rgba core, halo;
};
// Frames 0-7 of weapon: the eight shot kinds, all pointing up.
constexpr ShotKind kShots[8] = {
    {ShotForm::Bolt, kTealLight, kTeal},   {ShotForm::Ball, kGoldLight, kOrange},
    {ShotForm::Dart, kGreenLight, kGreen}, {ShotForm::Twin, kRedLight, kRed},
    {ShotForm::Star, kPink, kPurple},      {ShotForm::Wave, kBlueLight, kBlue},
    {ShotForm::Flame, kGold, kRed},        {ShotForm::Ring, kWhite, kTeal},
};

Shape ShotShape(ShotForm form) {
  Vec2 c{32, 32};
  switch (form) {
    case ShotForm::Bolt: return Capsule({32, 22}, {32, 42}, 3);
    case ShotForm::Ball: return Circle(c, 6);
    case ShotForm::Dart: return Polygon({{32, 18}, {38, 34}, {32, 30}, {26, 34}});
    case ShotForm::Twin: return Union(Capsule({28, 24}, {28, 38}, 2.2f), Capsule({36, 24}, {36, 38}, 2.2f));
    case ShotForm::Star: return Star(c, 4, 10, 3.5f, -90);
    case ShotForm::Wave: return Stroke({{32, 20}, {36, 25}, {28, 30}, {36, 35}, {28, 40}, {32, 44}}, 1.8f);
    case ShotForm::Flame: return Union(Circle({32, 36}, 5.5f), Polygon({{32, 18}, {37.2f, 34}, {26.8f, 34}}));
    case ShotForm::Ring: return Ring(c, 6.5f, 2);
  }
  return Circle(c, 1);
}

void Shot(Painter& p, const ShotKind& kind) {
  Shape shape = ShotShape(kind.form);
  p.Glow(shape, 9, WithAlpha(kind.halo, 0.55f));
  p.Fill(shape, kind.core);
  p.Fill(Grow(shape, -1.8f), kWhite);  // hot centre
}

// buga frames 0-3: a beetle seen from the front, legs stepping in turn, feet on row 46.
void Bug(Painter& p, int frame) {
  constexpr float kFeet = 46;
  float bob = (frame % 2) ? -1 : 0;
  for (int side = -1; side <= 1; side += 2)
    for (int leg = 0; leg < 3; ++leg) {
      bool lifted = (leg + frame + (side > 0)) % 2 == 0;
      float hipX = 32 + side * (6 + leg * 2.5f), footX = 32 + side * (9 + leg * 4.5f);
      float footY = lifted ? kFeet - 3.5f : kFeet - 1;
      Vec2 knee{32 + side * (12 + leg * 4.0f), 34 + bob - leg};
      p.Fill(Stroke({{hipX, 38 + bob}, knee, {footX, footY}}, 1.3f), kTealDark);
    }
  Shape shell = Ellipse({32, 35 + bob}, 12.5f, 10);
  p.Fill(shell, Lit({32, 34 + bob}, 12, kGreenLight, kGreen, kGreenDark));
  p.Fill(Capsule({32, 27 + bob}, {32, 44 + bob}, 0.6f), kGreenDark);  // wing split
  for (int side = -1; side <= 1; side += 2) {
    p.Fill(Circle({32 + side * 6.5f, 33 + bob}, 1.6f), kGreenLight);  // shell spots
    p.Fill(Stroke({{32 + side * 3.0f, 21 + bob}, {32 + side * 6.0f, 15 + bob}, {32 + side * 9.0f, 14 + bob}}, 0.8f),
           kTealDark);  // antennae
  }
  p.Fill(Circle({32, 25 + bob}, 6.5f), Lit({32, 25 + bob}, 6.5f, kTeal, kTealDark, kNight));  // head
  for (int side = -1; side <= 1; side += 2) {
    p.Fill(Circle({32 + side * 3.0f, 24 + bob}, 2.4f), kGoldLight);
    p.Fill(Circle({32 + side * 2.6f, 24.5f + bob}, 1.1f), kInk);
  }
  p.Fill(Capsule({30, 28.5f + bob}, {34, 28.5f + bob}, 0.7f), kRed);  // mandibles
  p.Outline(kInk);
}

// heart: the life icon.
void Heart(Painter& p) {
  Shape heart = Union({Circle({11, 12}, 6.5f), Circle({21, 12}, 6.5f), Polygon({{4.8f, 14.5f}, {27.2f, 14.5f}, {16, 27}})});
  p.Fill(heart, Lit({14, 14}, 11, kRedLight, kRed, kRedDark));
  p.Fill(Capsule({8, 10}, {10, 8}, 1.2f), kWhite);
  p.Outline(kInk);
}

// rocks: a lumpy round stone about 58 px across with craters; the seed gives each frame its own outline.
void Rock(Painter& p, int frame) {
  Rng rng(uint32_t(frame) * 7919u + 17);
  Vec2 c{32, 32};
  int corners = rng.Int(9, 14);
  float turn = rng.Range(0, 360);
  std::vector<Vec2> outline;
  for (int i = 0; i < corners; ++i)
    outline.push_back(Polar(c, rng.Range(26.5f, 29.5f), turn + (i + rng.Range(-0.3f, 0.3f)) * 360.0f / corners));
  Shape rock = Grow(Polygon(outline), -0.5f);
  Rgba light = Mix(kStoneLight, kGoldLight, frame % 3 == 0 ? 0.15f : 0);
  p.Fill(rock, Lit(c, 28, light, kStone, kStone));
  p.Fill(Subtract(rock, Circle(c - Vec2{4, 4}, 27)), kBrown);  // shadow on the far side
  for (int i = 0; i < 14; ++i)  // grit
    p.Fill(Intersect(rock, Circle(Polar(c, rng.Range(3, 25), rng.Range(0, 360)), 0.8f)), kBrownDark);
  int craters = rng.Int(3, 5);
  for (int i = 0; i < craters; ++i) {
    Vec2 at = Polar(c, rng.Range(4, 18), rng.Range(0, 360));
    float r = rng.Range(2.5f, 5.5f);
    p.Fill(Intersect(rock, Circle(at, r)), kBrownDark);
    p.Fill(Intersect(rock, Subtract(Circle(at + Vec2{0.8f, 0.8f}, r), Circle(at + Vec2{-0.4f, -0.4f}, r))),
           kStoneLight);  // lit lower rim
  }
  p.Outline(kInk);
}
}  // namespace

void DrawWeapon(Painter& p, int frame) {
  if (frame < 8) Shot(p, kShots[frame]);
}

void DrawBug(Painter& p, int frame) {
  if (frame < 4) Bug(p, frame);
}

void DrawHeart(Painter& p, int) { Heart(p); }

void DrawRock(Painter& p, int frame) { Rock(p, frame); }
