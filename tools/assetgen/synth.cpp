#include "tools/assetgen/synth.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float kTwoPi = 6.28318530718f;
}

namespace wave {
float Sine(float phase) { return std::sin(phase * kTwoPi); }
float Square(float phase, float duty) { return phase - std::floor(phase) < duty ? 1.0f : -1.0f; }
float Saw(float phase) { return 2 * (phase - std::floor(phase)) - 1; }
float Triangle(float phase) {
  float f = phase - std::floor(phase);
  return f < 0.5f ? 4 * f - 1 : 3 - 4 * f;
}
}  // namespace wave

float Decay(float t, float attack, float length) {
  if (t < 0) return 0;
  if (t < attack) return t / attack;
  return std::exp(-4 * (t - attack) / length);
}

float LowPass::Step(float in, float cutoff, int hertz) {
  float k = 1 - std::exp(-kTwoPi * std::min(cutoff, hertz * 0.45f) / hertz);
  state_ += (in - state_) * k;
  return state_;
}

float HighPass::Step(float in, float cutoff, int hertz) { return in - low_.Step(in, cutoff, hertz); }

float Oscillator::Advance(float frequency, int hertz) {
  double before = phase_;
  phase_ += double(frequency) / hertz;
  phase_ -= std::floor(phase_);
  return float(before);
}

SoundBuffer Render(float seconds, int hertz, const std::function<float(float, int)>& voice) {
  SoundBuffer out;
  out.hertz = hertz;
  int n = int(seconds * hertz);
  out.samples.resize(n);
  for (int i = 0; i < n; ++i) out.samples[i] = voice(float(i) / hertz, i);
  return out;
}

void Normalise(SoundBuffer& sound, float peak) {
  float top = 0;
  for (float s : sound.samples) top = std::max(top, std::fabs(s));
  if (top <= 0) return;
  for (float& s : sound.samples) s *= peak / top;
}

void MixInto(SoundBuffer& into, const SoundBuffer& add, float atSeconds, float gain) {
  size_t start = size_t(atSeconds * into.hertz);
  if (into.samples.size() < start + add.samples.size()) into.samples.resize(start + add.samples.size());
  for (size_t i = 0; i < add.samples.size(); ++i) into.samples[start + i] += add.samples[i] * gain;
}
