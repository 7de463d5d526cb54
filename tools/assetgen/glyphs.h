// The project's bitmap typeface: capitals 7 rows tall, lower case 5, two
// rows of descender, widths from 1 to 7 so the game's letter adjustments
// (narrow i, f, l; wide m, w) read evenly.
#pragma once
#include <string>
#include <vector>

struct Glyph {
  int width = 0;
  std::vector<std::string> rows;  // '#' set, '.' clear; row 0 is the cap line, rows 7-8 descend
};

// The glyph of a printable ASCII character (33..126); empty for anything else.
Glyph GlyphFor(int code);
