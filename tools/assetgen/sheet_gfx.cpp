// gfx: the player, the gun, the spin switch, the floor tiles and the nest.
#include "tools/assetgen/palette.h"
#include "tools/assetgen/shading.h"
#include "tools/assetgen/sheets.h"

namespace {
using namespace pal;

// The ground the player stands on is row 46 of its frame.
constexpr float kFeet = 46;

struct Legs {
  Vec2 nearKnee, nearFoot, farKnee, farFoot;
};
// Frames 0-2: contact, passing, other contact; frame 4: tucked in the air.
constexpr Legs kRun[3] = {
    {{35, 41}, {38.5f, kFeet - 2.2f}, {26, 41}, {23, 42.5f}},
    {{33, 41}, {31, kFeet - 2.2f}, {30, 40}, {26.5f, 41}},
    {{31, 41.5f}, {25, kFeet - 2.2f}, {33.5f, 40.5f}, {37, 42.5f}},
};
constexpr Legs kJump = {{37, 38.5f}, {35.5f, 42.5f}, {27, 40}, {24, 43}};

void Boot(Painter& p, Vec2 ankle, Rgba colour) {
  p.Fill(Box(ankle + Vec2{1.2f, 0}, {3.2f, 2.2f}, 1.2f), colour);
  p.Fill(Box(ankle + Vec2{1.2f, 1.6f}, {3.2f, 0.6f}), kInk);
}

// Frames 0-2 and 4: a painter in a round helmet with a paint tank on the back.
void Player(Painter& p, const Legs& legs) {
  Vec2 farHip{29, 38}, nearHip{32.5f, 38};
  p.Fill(Stroke({farHip, legs.farKnee, legs.farFoot}, 2.2f), kBlueDark);
  Boot(p, legs.farFoot, kBrownDark);
  p.Fill(Box({23.5f, 31}, {3.5f, 5.5f}, 1.5f), Vertical(kGoldLight, kGoldDark, 26, 36));  // paint tank
  p.Fill(Capsule({23.5f, 25}, {23.5f, 27}, 1.2f), kSteelLight);                          // tank valve
  p.Fill(Box({30.5f, 32.5f}, {6.5f, 6.2f}, 3), Lit({30, 32}, 7, kBlueLight, kBlue, kBlueDark));
  p.Fill(Box({30.5f, 37.2f}, {6.3f, 1.1f}), kBrownDark);  // belt
  p.Fill(Box({32, 37.2f}, {1.2f, 1.1f}), kGold);          // buckle
  p.Fill(Stroke({nearHip, legs.nearKnee, legs.nearFoot}, 2.3f), kBlue);
  Boot(p, legs.nearFoot, kBrown);
  p.Fill(Circle({31, 21}, 8.5f), Lit({31, 21}, 8.5f, kWhite, kSteelLight, kSteel));  // helmet
  p.Fill(Ellipse({35, 21.5f}, 4.8f, 3.6f), Vertical(kTealLight, kTealDark, 18, 25));  // visor
  p.Fill(Capsule({34, 19.5f}, {36.5f, 19.5f}, 0.8f), kWhite);                          // visor glint
  p.Fill(Capsule({27, 12.5f}, {29, 10.5f}, 0.9f), kSteel);                             // antenna
  p.Fill(Circle({29.5f, 10}, 1.6f), kRed);
  p.Outline(kInk);
}

// Frame 8: the paint gun, held at the frame centre, barrel to the right.
void Gun(Painter& p) {
  p.Fill(Box({37, 35.5f}, {1.6f, 3}, 0.8f), kBrownDark);                                  // grip
  p.Fill(Box({42, 32}, {9, 3.2f}, 1.5f), Vertical(kSteelLight, kSteelDark, 29, 35));      // body
  p.Fill(Box({53, 32}, {2.5f, 2.2f}, 0.8f), Vertical(kGoldLight, kGoldDark, 30, 34));     // nozzle
  p.Fill(Circle({41, 27.5f}, 3), Lit({41, 27.5f}, 3, kPink, kPink, kRedDark));            // paint pot
  p.Fill(Box({46, 32}, {3, 0.6f}), kSteelDark);                                           // vent
  p.Outline(kInk);
}

// Frame 9: the hand on the grip, drawn over the body with the gun's turn.
void Hand(Painter& p) {
  p.Fill(Capsule({30, 32.5f}, {35, 33}, 2.4f), kBlue);
  p.Fill(Circle({37, 33.5f}, 2.7f), Lit({37, 33.5f}, 2.7f, kWhite, kSteelLight, kSteel));
  p.Outline(kInk);
}

// Frames 10-11: the spin switch. The arena floor is row 48; the housing's
// foot goes a little lower so the blink at 1.2x never shows a gap.
void Switch(Painter& p, bool lit) {
  if (lit) p.Glow(Ellipse({32, 34}, 13, 10), 12, WithAlpha(kGold, 0.7f));
  Shape dome = Intersect(Ellipse({32, 38}, 12, 10), Box({32, 32}, {14, 6}));
  if (lit)
    p.Fill(dome, Lit({32, 33}, 10, kWhite, kGoldLight, kGold));
  else
    p.Fill(dome, Lit({32, 33}, 10, kRedLight, kRed, kRedDark));
  p.Fill(Polygon({{11, 51}, {53, 51}, {48, 38}, {16, 38}}), Vertical(kSteelLight, kSteelDark, 38, 51));
  p.Fill(Box({32, 38.5f}, {17, 1.5f}, 0.5f), kSteelLight);  // rim
  for (int i = 0; i < 6; ++i) {                               // hazard stripes
    float x = 15 + i * 6.5f;
    p.Fill(Polygon({{x, 44}, {x + 3, 44}, {x + 5, 48}, {x + 2, 48}}), lit ? kGold : kGoldDark);
  }
  for (int i = 0; i < 2; ++i) p.Fill(Circle({21.0f + i * 22, 41.5f}, 1.5f), lit ? kGreenLight : kGreenDark);
  p.Outline(kInk);
}

// Frame 12 and 13: a riveted slab whose top edge is the walking surface,
// two brackets under it. Painted tiles carry a coat with drips.
void Floor(Painter& p, bool painted) {
  p.Fill(Polygon({{8, 14}, {20, 14}, {16, 28}, {12, 28}}), Vertical(kSteel, kSteelDark, 14, 28));
  p.Fill(Polygon({{44, 14}, {56, 14}, {52, 28}, {48, 28}}), Vertical(kSteel, kSteelDark, 14, 28));
  p.Fill(Box({32, 7}, {32, 7}), Vertical(kSteelLight, kSteelDark, 0, 14));
  p.Fill(Box({32, 1}, {32, 1}), kWhite);
  p.Fill(Box({32, 13.5f}, {32, 0.5f}), kNight);
  for (float x : {0.5f, 63.5f}) p.Fill(Box({x, 7}, {0.5f, 7}), kSteelDark);  // panel seams
  for (float x : {6.0f, 22.0f, 42.0f, 58.0f}) {
    p.Fill(Circle({x, 8}, 1.5f), kSteelDark);
    p.Fill(Circle({x - 0.4f, 7.6f}, 0.7f), kSteelLight);
  }
  if (painted) {
    Shade paint = Vertical(kPink, kPurple, 0, 12);
    p.Fill(Box({32, 4.5f}, {32, 4.5f}), paint);
    for (auto [x, len] : {std::pair{9.0f, 4.0f}, {27.0f, 7.0f}, {38.0f, 3.0f}, {53.0f, 9.0f}})
      p.Fill(Capsule({x, 8}, {x, 8 + len}, 1.6f), paint);
    p.Fill(Box({32, 1}, {32, 1}), kRedLight);
    p.Fill(Capsule({12, 3}, {20, 3}, 0.7f), kWhite);  // wet shine
    p.Fill(Capsule({44, 3}, {48, 3}, 0.7f), kWhite);
  }
  p.Outline(kInk);
}

// Frame 14: light over a painted tile while the switch is lit.
void FloorGlow(Painter& p) {
  p.Glow(Box({32, 6}, {30, 5}, 2), 6, WithAlpha(kGoldLight, 0.55f));
  p.Fill(Box({32, 2}, {31, 1}), WithAlpha(kWhite, 0.8f));
}

// Frame 15: a lumpy hive sitting on the floor under it (the frame's bottom edge).
void Nest(Painter& p) {
  Shape body = Union({Ellipse({32, 60}, 20, 16), Circle({22, 52}, 7), Circle({42, 51}, 7.5f), Circle({32, 45}, 8)});
  p.Fill(body, Lit({32, 50}, 18, kPink, kPurple, kPurpleDark));
  for (auto [c, r] : {std::pair{Vec2{24, 56}, 3.0f}, {Vec2{39, 57}, 3.5f}, {Vec2{32, 48}, 2.5f}}) {
    p.Fill(Ellipse(c, r, r * 0.8f), kInk);
    p.Fill(Ellipse(c + Vec2{0, 0.8f}, r * 0.5f, r * 0.35f), kGreenLight);  // something glows inside
  }
  p.Fill(Capsule({26, 44}, {28, 42}, 0.9f), kRedLight);
  p.Outline(kInk);
}
}  // namespace

void DrawGfx(Painter& p, int frame) {
  switch (frame) {
    case 0: case 1: case 2: Player(p, kRun[frame]); break;
    case 4: Player(p, kJump); break;
    case 8: Gun(p); break;
    case 9: Hand(p); break;
    case 10: case 11: Switch(p, frame == 11); break;
    case 12: case 13: Floor(p, frame == 13); break;
    case 14: FloorGlow(p); break;
    case 15: Nest(p); break;
    default: break;  // 3, 5, 6, 7: empty
  }
}
