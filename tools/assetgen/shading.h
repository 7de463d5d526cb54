// Colour ramps shared by the sheets: light from the top left, as every
// sprite of the game is lit.
#pragma once
#include "tools/assetgen/canvas.h"

// From `top` at y0 to `bottom` at y1.
Shade Vertical(Rgba top, Rgba bottom, float y0, float y1);
// A ball lit from the upper left: `light` near the highlight, `dark` at the far rim.
Shade Lit(Vec2 centre, float radius, Rgba light, Rgba mid, Rgba dark);
// `base` speckled with `speck` where noise of the given cell size exceeds `threshold`.
Shade Speckle(Rgba base, Rgba speck, float cell, float threshold, uint32_t seed);
