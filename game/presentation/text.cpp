// Bitmap-font text: one image record per visible character, with small
// per-letter adjustments to the fixed cell advance so that the monospaced
// pixel font reads as proportional; icon escapes, line breaks, alignment and
// rotation. Laying out text allocates nothing.
#include "framework/vxmath.h"
#include "game/core/my_app.h"

namespace {

constexpr int FIRST_CHAR = 32;  // character of frame 0
constexpr int LAST_FRAME = 127;
constexpr Char ESCAPE = 172;       // escape character: the next letter names an icon glyph
constexpr int ESCAPE_MEASURE = 2;  // what an escape pair adds to the cell when measuring
constexpr int ESCAPE_ADVANCE = 4;  // what an icon glyph adds when drawing, unless its letter says otherwise

// Advance adjustments, added to the font's cell width.
struct Adjustment {
  const char* letters;
  int adj;
};
constexpr Adjustment kAdjustments[] = {
    {"wm", 2},
    {"WM", 1},
    {"ifl", -3},
    {"jskrztn", -1},
};

// Icon glyphs of the escape letters.
struct Icon {
  char letter;
  int frame;
  int adj;
};
constexpr Icon kIcons[] = {
    {'J', 96, 4},  {'K', 97, 4},  {'L', 98, 4},  {'I', 99, 4},  {'U', 100, 6}, {'O', 101, 6}, {'Q', 102, 4},
    {'E', 103, 4}, {'F', 104, 4}, {'W', 105, 4}, {'S', 106, 4}, {'A', 107, 4}, {'D', 108, 4},
};

int Adjust(int c) {
  for (const Adjustment& a : kAdjustments) {
    for (const char* l = a.letters; *l; ++l) {
      if (*l == c) return a.adj;
    }
  }
  return 0;
}

bool IsLetter(Char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The glyph an escape letter stands for: an icon of the table, or otherwise
// the frame numbered by the letter's own code.
void EscapeGlyph(Char letter, int* frame, int* adj) {
  for (const Icon& icon : kIcons) {
    if (icon.letter == letter) {
      *frame = icon.frame;
      *adj = icon.adj;
      return;
    }
  }
  *frame = letter;
  int own = Adjust(letter + FIRST_CHAR);
  *adj = own ? own : ESCAPE_ADVANCE;
}

}  // namespace

int c_MyApp::p_Text(float x, float y, String text, float alignX, float alignY) {
  int length = text.Length();
  // One space follows the text, so that looking one character ahead never runs off its end.
  auto at = [&](int i) -> Char { return i < length ? text[i] : ' '; };

  float angle = -drawRotation;
  float dx = static_cast<float>(vx_math_Cos(angle)), dy = static_cast<float>(vx_math_Sin(angle));
  float nx = -dy, ny = dx;  // line-down direction
  float cellW = static_cast<float>(imageInfo[fontSlot * 3]);
  float cellH = static_cast<float>(imageInfo[fontSlot * 3 + 1]);

  // The whole text measures as one line, break characters included.
  float width = 0;
  for (int i = 0; i < length; ++i) {
    int adj;
    if (text[i] == ESCAPE) {
      ++i;
      adj = ESCAPE_MEASURE;
    } else {
      adj = Adjust(text[i]);
    }
    width = std::trunc(width + (static_cast<float>(adj) + cellW) * drawSizeX);
  }

  float h = cellH * drawSizeY;
  float startX = x - 0.5f * alignX * width * dx - 0.5f * (alignY - 1) * h * nx;
  float startY = y - 0.5f * alignX * width * dy - 0.5f * (alignY - 1) * h * ny;
  float penX = startX, penY = startY;
  int line = 0;

  for (int i = 0; i <= length; ++i) {
    Char c = at(i);
    int frame, adj;
    if (c == ESCAPE && IsLetter(at(i + 1))) {
      EscapeGlyph(at(++i), &frame, &adj);
    } else if (c == '\\' && at(i + 1) == 'n') {
      ++i;
      ++line;
      float down = static_cast<float>(line) * cellH * drawSizeY;
      penX = startX + down * nx;
      penY = startY + down * ny;
      continue;
    } else {
      frame = c - FIRST_CHAR;
      adj = Adjust(c);
    }
    if (frame >= 1 && frame <= LAST_FRAME) p_DrawImg(fontSlot, penX, penY, static_cast<float>(frame));
    if (c != 0) {
      float advance = (static_cast<float>(adj) + cellW) * drawSizeX;
      penX += advance * dx;
      penY += advance * dy;
    }
  }
  return 0;
}

String c_MyApp::p_rstr(int value, int width, String pad) {
  String s;
  for (int i = 0; i <= width; ++i) s = s + pad;
  s = s + String(value);
  if (width <= 0 || s.Length() <= width) return s;
  return s.Slice(s.Length() - width);
}
