#include "tools/assetgen/stroke_letters.h"

#include <vector>

namespace {
using Line = std::vector<Vec2>;
struct Letter {
  char c;
  std::vector<Line> lines;
};
const std::vector<Letter> kLetters = {
    {'A', {{{0, 6}, {0, 2}, {2, 0}, {4, 2}, {4, 6}}, {{0, 3.6f}, {4, 3.6f}}}},
    {'E', {{{4, 0}, {0, 0}, {0, 6}, {4, 6}}, {{0, 3}, {3, 3}}}},
    {'K', {{{0, 0}, {0, 6}}, {{4, 0}, {1, 3}, {4, 6}}, {{0, 3}, {1, 3}}}},
    {'L', {{{0, 0}, {0, 6}, {4, 6}}}},
    {'M', {{{0, 6}, {0, 0}, {2, 3}, {4, 0}, {4, 6}}}},
    {'O', {{{1.5f, 0}, {2.5f, 0}, {4, 1.5f}, {4, 4.5f}, {2.5f, 6}, {1.5f, 6}, {0, 4.5f}, {0, 1.5f}, {1.5f, 0}}}},
    {'U', {{{0, 0}, {0, 5}, {1, 6}, {3, 6}, {4, 5}, {4, 0}}}},
    {'V', {{{0, 0}, {0, 3}, {2, 6}, {4, 3}, {4, 0}}}},
    {'X', {{{0, 0}, {4, 6}}, {{4, 0}, {0, 6}}}},
};
}  // namespace

Shape StrokeLetter(char c, Vec2 origin, Vec2 unit, float halfWidth) {
  std::vector<Shape> strokes;
  for (const Letter& letter : kLetters) {
    if (letter.c != c) continue;
    for (const Line& line : letter.lines) {
      Line placed;
      for (Vec2 q : line) placed.push_back({origin.x + q.x * unit.x, origin.y + q.y * unit.y});
      strokes.push_back(Stroke(placed, halfWidth));
    }
  }
  return Union(strokes);
}
