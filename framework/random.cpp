#include "framework/random.h"

#include <cstdint>

namespace {
constexpr uint32_t RND_A = 1664525;
constexpr uint32_t RND_C = 1013904223;
constexpr float RND_SCALE = 5.96046448e-08f;  // 2^-24
}  // namespace

int vx_random_Seed = 1234;

float vx_random_Rnd() {
  uint32_t state = static_cast<uint32_t>(vx_random_Seed) * RND_A + RND_C;
  vx_random_Seed = static_cast<int>(state);
  // The upper 24 bits: exactly representable, and never reaching 1.
  return static_cast<float>(state >> 8) * RND_SCALE;
}

float vx_random_Rnd2(float low, float high) { return low + (high - low) * vx_random_Rnd(); }

float vx_random_Rnd3(float range) { return vx_random_Rnd() * range; }
