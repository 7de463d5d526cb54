// Small math helpers of the framework; angles are in degrees.
#pragma once
#include <cmath>

constexpr float D2R = 0.0174532924f;  // degrees to radians
constexpr float R2D = 57.2957802f;    // radians to degrees

// Two's complement absolute value: the most negative int comes back unchanged.
inline int vx_math_Abs(int x) { return x < 0 ? static_cast<int>(0u - static_cast<unsigned>(x)) : x; }
inline float vx_math_Abs2(float x) { return x < 0 ? -x : x; }
inline int vx_math_Max(int a, int b) { return a >= b ? a : b; }
// NaN in b wins, NaN in a loses: the comparison decides, as the game expects.
inline float vx_math_Max2(float a, float b) { return a > b ? a : b; }
// int() of a float, toward zero, saturating at the int range; NaN gives 0.
inline int vx_math_Int(double x) {
  if (!(x == x)) return 0;
  if (x >= 2147483647.0) return 2147483647;
  if (x <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int>(x);
}
inline double vx_math_Sin(double degrees) { return std::sin(degrees * D2R); }
inline double vx_math_Cos(double degrees) { return std::cos(degrees * D2R); }
inline double vx_math_ATan2(double y, double x) { return std::atan2(y, x) * R2D; }
