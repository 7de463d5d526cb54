// Which way, and how far, to turn from one value to another on a wrapping
// range: the signed shortest step. The gun turns toward its aim with it.
#include <cmath>

#include "framework/vxmath.h"
#include "game/core/my_app.h"

namespace {

// x in [0, n).
double Wrap(double x, double n) {
  double r = std::fmod(x, n);
  return r < 0 ? r + n : r;
}

}  // namespace

// A step of exactly half the range goes the negative way.
int c_MyApp::m_WhichWayDoIGo(float from, float to, int lo, int hi) {
  int span = hi - lo;
  double n = span + 1;
  double ahead = lo + Wrap(Wrap(to, n) - Wrap(from, n), n);
  return ahead <= lo + span / 2 ? vx_math_Int(ahead) : vx_math_Int(ahead - n);
}
