// The few capital letters the titles spell (KALVEXA, LUMO), as strokes on a
// 4 x 6 grid, so titles scale up as shapes rather than as pixels.
#pragma once
#include "tools/assetgen/shape.h"

// Letter `c` with its top-left at `origin`, grid units `unit` wide and tall,
// strokes `halfWidth` thick either side.
Shape StrokeLetter(char c, Vec2 origin, Vec2 unit, float halfWidth);
