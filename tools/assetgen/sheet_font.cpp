// fonts/editundo (the game's font) and trel_font (the framework's strip).
// Letters come from the bitmap typeface of glyphs.cpp; the larger files
// refine its diagonals with the Scale2x rule instead of repeating pixels.
// The controller icons are shapes, drawn afresh at each size.
#include <algorithm>
#include <vector>

#include "tools/assetgen/glyphs.h"
#include "tools/assetgen/sheets.h"

namespace {
constexpr int kCell = 16;  // editundo cell at 1x
enum Ink : uint8_t { kClear, kShadow, kLetter };
using Bitmap = std::vector<std::vector<uint8_t>>;

// Scale2x: each pixel becomes four, taking a neighbour's value along an edge
// that two neighbours agree on; corners of diagonal strokes fill in.
Bitmap Scale2x(const Bitmap& in) {
  int h = int(in.size()), w = int(in[0].size());
  auto at = [&](int x, int y) { return in[std::clamp(y, 0, h - 1)][std::clamp(x, 0, w - 1)]; };
  Bitmap out(h * 2, std::vector<uint8_t>(w * 2));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t p = at(x, y), a = at(x, y - 1), b = at(x + 1, y), c = at(x - 1, y), d = at(x, y + 1);
      out[2 * y][2 * x] = (c == a && c != d && a != b) ? a : p;
      out[2 * y][2 * x + 1] = (a == b && a != c && b != d) ? b : p;
      out[2 * y + 1][2 * x] = (d == c && d != b && c != a) ? c : p;
      out[2 * y + 1][2 * x + 1] = (b == d && b != a && d != c) ? d : p;
    }
  return out;
}

// The glyph with a drop shadow in a frame of w x h pixels, its cap line on row `top`.
Bitmap Letter(int code, int w, int h, int top) {
  Bitmap bits(h, std::vector<uint8_t>(w, kClear));
  Glyph g = GlyphFor(code);
  int left = w / 2 - g.width / 2;
  for (int pass = 0; pass < 2; ++pass)
    for (size_t r = 0; r < g.rows.size(); ++r)
      for (size_t c = 0; c < g.rows[r].size(); ++c) {
        if (g.rows[r][c] != '#') continue;
        int x = left + int(c) + (pass == 0), y = top + int(r) + (pass == 0);
        if (x < w && y < h && (pass == 1 || bits[y][x] == kClear)) bits[y][x] = pass == 0 ? kShadow : kLetter;
      }
  return bits;
}

void Blit(Painter& p, Bitmap bits) {
  for (int s = 1; s < p.Scale(); s *= 2) bits = Scale2x(bits);
  for (size_t y = 0; y < bits.size(); ++y)
    for (size_t x = 0; x < bits[y].size(); ++x) {
      if (bits[y][x] == kLetter) p.Pixel(int(x), int(y), Grey(1));
      if (bits[y][x] == kShadow) p.Pixel(int(x), int(y), Grey(0, 0.5f));
    }
}

// Frames 96-108: face buttons (the lit one of four), shoulders, sticks, pad.
void ControllerIcon(Painter& p, int frame) {
  Vec2 c{8, 8};
  Rgba white = Grey(1), grey = Grey(0.6f);
  if (frame <= 99) {
    constexpr Vec2 kFace[4] = {{0, 3.3f}, {3.3f, 0}, {-3.3f, 0}, {0, -3.3f}};  // bottom, right, left, top
    p.Fill(Ring(c, 6, 0.5f), grey);
    for (int i = 0; i < 4; ++i) {
      bool lit = i == frame - 96;
      p.Fill(Circle(c + kFace[i], lit ? 2.2f : 1.2f), lit ? white : grey);
    }
  } else if (frame <= 101) {
    float dir = frame == 100 ? -1 : 1;
    p.Fill(Union(Box({8, 9}, {5.5f, 2.5f}, 1), Box({8 + dir * 2, 6.5f}, {3.5f, 1.5f}, 1)), white);
    p.Fill(Box({8 - dir * 2, 9.5f}, {1.5f, 0.6f}), grey);
  } else if (frame <= 103) {
    float dir = frame == 102 ? -1 : 1;
    p.Fill(Ring(c + Vec2{0, 1}, 5, 0.6f), grey);
    p.Fill(Circle(c + Vec2{0, 1}, 3), white);
    p.Fill(Circle(c + Vec2{dir * 4.5f, -4.5f}, 1.2f), white);  // which stick
  } else {
    Shape cross = Union(Box(c, {6, 2.2f}, 0.5f), Box(c, {2.2f, 6}, 0.5f));
    p.Fill(cross, frame == 104 ? white : grey);
    if (frame >= 105) {
      constexpr Vec2 kArm[4] = {{0, -3.8f}, {0, 3.8f}, {-3.8f, 0}, {3.8f, 0}};  // up, down, left, right
      p.Fill(Box(c + kArm[frame - 105], {2.2f, 2.2f}, 0.5f), white);
    }
  }
}
}  // namespace

void DrawEditundo(Painter& p, int frame) {
  if (frame >= 96 && frame <= 108) {
    ControllerIcon(p, frame);
    return;
  }
  // Capitals fill rows 4-10, so the cap height is centred in the cell.
  if (frame >= 1 && frame <= 94) Blit(p, Letter(frame + 32, kCell, kCell, 4));
}

void DrawTrelFont(Painter& p, int frame) { Blit(p, Letter(frame + 32, 7, 13, 2)); }
