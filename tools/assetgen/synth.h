// Sound synthesis: oscillators, envelopes, filters and noise, all driven by
// sample counts and fixed seeds so every run makes the same samples.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "tools/assetgen/canvas.h"

struct SoundBuffer {
  int hertz = 22050;
  std::vector<float> samples;  // mono, -1..1
};

namespace wave {
float Sine(float phase);                 // phase in cycles
float Square(float phase, float duty = 0.5f);
float Saw(float phase);
float Triangle(float phase);
}  // namespace wave

// Exponential decay to 1/e^4 (about -35 dB) over `length` seconds after a linear attack.
float Decay(float t, float attack, float length);

// One-pole filters; `cutoff` in Hz may change every sample.
class LowPass {
 public:
  float Step(float in, float cutoff, int hertz);

 private:
  float state_ = 0;
};
class HighPass {
 public:
  float Step(float in, float cutoff, int hertz);

 private:
  LowPass low_;
};

// An oscillator whose frequency may glide: keeps its own phase.
class Oscillator {
 public:
  float Advance(float frequency, int hertz);  // returns the phase before advancing, in cycles
 private:
  double phase_ = 0;
};

// White noise from a seeded generator, -1..1.
class Noise {
 public:
  explicit Noise(uint32_t seed) : rng_(seed) {}
  float Next() { return rng_.Next() * 2 - 1; }

 private:
  Rng rng_;
};

// `seconds` of sound from a per-sample voice: f(t seconds, sample index).
SoundBuffer Render(float seconds, int hertz, const std::function<float(float, int)>& voice);
// Scales so the loudest sample reaches `peak`.
void Normalise(SoundBuffer& sound, float peak);
// Mixes `add` into `into` starting at `atSeconds`, scaled by `gain`.
void MixInto(SoundBuffer& into, const SoundBuffer& add, float atSeconds, float gain);
