// logo, menu, common/LumoLogo, common/Testcard_Circle: the big single pictures.
#include <cmath>
#include <string>

#include "tools/assetgen/palette.h"
#include "tools/assetgen/shading.h"
#include "tools/assetgen/sheets.h"
#include "tools/assetgen/stroke_letters.h"

namespace {
using namespace pal;

Shape Word(const std::string& word, Vec2 origin, Vec2 unit, float halfWidth, float advance) {
  std::vector<Shape> letters;
  for (size_t i = 0; i < word.size(); ++i)
    letters.push_back(StrokeLetter(word[i], origin + Vec2{advance * float(i), 0}, unit, halfWidth));
  return Union(letters);
}

// logo: KALVEXA in chunky gold letters with paint running off a bar below.
void Logo(Painter& p) {
  Shape word = Word("KALVEXA", {14, 26}, {5.2f, 8}, 4, 35);
  p.Fill(Translate(Grow(word, 3), {3, 4}), kNight);  // drop shadow
  p.Fill(Grow(word, 3), kInk);
  p.Fill(word, Vertical(kGoldLight, kOrange, 22, 78));
  p.Fill(Intersect(word, Box({128, 30}, {128, 6})), kWhite);  // shine on the tops
  Shape bar = Box({128, 96}, {104, 4}, 2);
  std::vector<Shape> drips = {bar};
  for (auto [x, len] : {std::pair{40.0f, 10.0f}, {74.0f, 18.0f}, {131.0f, 8.0f}, {170.0f, 14.0f}, {214.0f, 20.0f}})
    drips.push_back(Union(Capsule({x, 96}, {x, 96 + len}, 2.5f), Circle({x, 97 + len}, 3.5f)));
  Shape paint = Union(drips);
  p.Fill(Grow(paint, 2), kInk);
  p.Fill(paint, Vertical(kPink, kPurple, 92, 120));
}

// menu frame 0: a night sky over the row of drums, fading out at the rim.
void Menu(Painter& p) {
  Vec2 c{128, 128};
  auto fade = [c](Rgba colour, Vec2 at) {
    float d = Length(at - c);
    return WithAlpha(colour, colour.a * std::clamp((126 - d) / 30, 0.0f, 1.0f));
  };
  Shade sky = Vertical(kNight, kPurpleDark, 0, 256);
  p.Fill(Circle(c, 128), [&](Vec2 at) { return fade(sky(at), at); });
  Rng rng(99);
  for (int i = 0; i < 70; ++i) {
    Vec2 at{rng.Range(10, 246), rng.Range(10, 150)};
    float r = rng.Range(0.4f, 1.3f);
    Rgba star = Mix(kWhite, kBlueLight, r / 2);
    p.Fill(Circle(at, r), [&](Vec2 q) { return fade(star, q); });
  }
  p.Fill(Circle({186, 58}, 18), [&](Vec2 q) { return fade(Lit({186, 58}, 18, kGoldLight, kGold, kOrange)(q), q); });
  // Drums: upright cylinders with floors across them, some painted.
  for (int d = 0; d < 7; ++d) {
    float x = 20 + d * 36.0f, top = 128 + ((d * 37) % 5) * 4.0f;
    Shape drum = Box({x + 16, top + 60}, {16, 60});
    p.Fill(drum, [&](Vec2 q) {
      float t = (q.x - x) / 32;
      Rgba base = Mix(kSteelDark, kSteel, 1 - std::fabs(t - 0.35f) * 2);
      return fade(base, q);
    });
    for (int row = 0; row < 4; ++row) {
      float y = top + 8 + row * 26.0f;
      bool painted = (d * 3 + row) % 4 == 0;
      p.Fill(Box({x + 16, y}, {16, 3}), [&](Vec2 q) { return fade(painted ? kPink : kSteelLight, q); });
      p.Fill(Box({x + 16, y + 3.5f}, {16, 0.6f}), [&](Vec2 q) { return fade(kInk, q); });
    }
    p.Fill(Box({x + 0.5f, top + 60}, {0.5f, 60}), [&](Vec2 q) { return fade(kInk, q); });
  }
}

// common/LumoLogo: the studio's lamp glowing over its name.
void LumoLogo(Painter& p) {
  Vec2 bulb{128, 96};
  p.Glow(Circle(bulb, 30), 40, WithAlpha(kGold, 0.5f));
  for (int i = 0; i < 12; ++i) {
    float a = i * 30.0f;
    p.Fill(Capsule(Polar(bulb, 44, a), Polar(bulb, 56, a), 3), kGoldLight);
  }
  p.Fill(Circle(bulb, 32), Lit(bulb, 32, kWhite, kGoldLight, kGold));
  p.Fill(Box({128, 136}, {14, 6}, 2), kSteelLight);  // lamp base
  p.Fill(Box({128, 145}, {10, 3}, 1.5f), kSteel);
  Shape word = Word("LUMO", {48, 168}, {7, 8}, 5, 44);
  p.Fill(Grow(word, 3), kInk);
  p.Fill(word, Vertical(kWhite, kGoldLight, 160, 220));
}

// common/Testcard_Circle: colour bars, a grey wedge, a grid and a centre cross in a disc.
void Testcard(Painter& p) {
  Vec2 c{128, 128};
  Shape disc = Circle(c, 124);
  p.Fill(Grow(disc, 3), kInk);
  p.Fill(disc, Grey(0.45f));
  constexpr Rgba kBars[8] = {{1, 1, 1, 1}, {1, 0.92f, 0.2f, 1}, {0.2f, 0.9f, 0.95f, 1}, {0.25f, 0.85f, 0.3f, 1},
                             {0.9f, 0.3f, 0.85f, 1}, {0.9f, 0.2f, 0.2f, 1}, {0.2f, 0.3f, 0.9f, 1}, {0.1f, 0.1f, 0.1f, 1}};
  for (int i = 0; i < 8; ++i)
    p.Fill(Intersect(disc, Box({28.0f + i * 28.6f, 78}, {14.3f, 36})), kBars[i]);
  for (int i = 0; i < 8; ++i)
    p.Fill(Intersect(disc, Box({28.0f + i * 28.6f, 178}, {14.3f, 14})), Grey(i / 7.0f));
  p.Fill(Intersect(disc, Box({128, 214}, {128, 14})), [](Vec2 q) { return Mix(kBlueDark, kRed, q.x / 256); });
  for (int i = 1; i < 8; ++i) {
    p.Fill(Intersect(disc, Box({i * 32.0f, 128}, {0.5f, 128})), Grey(1, 0.5f));
    p.Fill(Intersect(disc, Box({128, i * 32.0f}, {128, 0.5f})), Grey(1, 0.5f));
  }
  p.Fill(Circle(c, 30), kInk);
  p.Fill(Ring(c, 26, 2), kWhite);
  p.Fill(Union(Box(c, {22, 1}), Box(c, {1, 22})), kWhite);
  p.Fill(Ring(c, 122, 2), kWhite);
}

// BadgesA: 0 is the test badge; the rest cycle shapes, metals and emblems.
void Badge(Painter& p, int frame) {
  Vec2 c{32, 32};
  if (frame == 0) {
    Shape disc = Circle(c, 26);
    p.Fill(Grow(disc, 2), kInk);
    p.Fill(disc, [c](Vec2 q) { return (int(std::floor((q.x - c.x) / 8)) + int(std::floor((q.y - c.y) / 8))) % 2 ? kWhite : kSteelDark; });
    p.Fill(Stroke({{20, 33}, {28, 41}, {45, 22}}, 3.5f), kGreen);
    p.Outline(kInk);
    return;
  }
  struct Metal {
    Rgba light, mid, dark;
  };
  constexpr Metal kMetals[4] = {{kOrange, kBrown, kBrownDark},
                                {kWhite, kSteelLight, kSteel},
                                {kGoldLight, kGold, kGoldDark},
                                {kTealLight, kTeal, kTealDark}};
  const Metal& m = kMetals[(frame / 4) % 4];
  Shape body = frame % 4 == 0   ? Circle(c, 26)
               : frame % 4 == 1 ? Union(Box({32, 22}, {22, 14}, 3), Polygon({{10, 30}, {54, 30}, {32, 58}}))
               : frame % 4 == 2 ? RegularPolygon(c, 6, 27, 30)
                                : Star(c, 12, 28, 23, 0);
  p.Fill(body, Lit(c, 26, m.light, m.mid, m.dark));
  p.Fill(Grow(body, -4), m.mid);
  Shape emblem = Circle(c, 1);
  switch ((frame / 16 + frame) % 6) {
    case 0: emblem = Star(c, 5, 13, 5.5f, -90); break;
    case 1: emblem = Polygon({{35, 14}, {24, 34}, {32, 34}, {28, 50}, {41, 28}, {33, 28}}); break;
    case 2: emblem = Union({Circle({26, 28}, 6), Circle({38, 28}, 6), Polygon({{20.5f, 30}, {43.5f, 30}, {32, 44}})}); break;
    case 3: emblem = Union(Box(c, {9, 12}, 3), Box({32, 32}, {11, 2})); break;
    case 4: emblem = Ring(c, 10, 3); break;
    case 5: emblem = Union(Capsule({22, 22}, {42, 42}, 3), Capsule({42, 22}, {22, 42}, 3)); break;
  }
  p.Fill(Translate(emblem, {0.8f, 0.8f}), WithAlpha(m.dark, 0.6f));  // engraved shadow
  p.Fill(emblem, m.light);
  p.Outline(kInk);
}
}  // namespace

void DrawLogo(Painter& p, int) { Logo(p); }
void DrawMenu(Painter& p, int frame) {
  if (frame == 0) Menu(p);
}
void DrawLumoLogo(Painter& p, int) { LumoLogo(p); }
void DrawTestcard(Painter& p, int) { Testcard(p); }
void DrawBadge(Painter& p, int frame) { Badge(p, frame); }
