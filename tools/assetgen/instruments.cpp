// The sequencer's instrument samples: four drum kits of eight drums and the
// tonal pools. Tonal samples are steady tones (the sequencer shapes their
// volume) holding a whole number of cycles of every partial, so a looped
// sample is seamless.
#include <cmath>
#include <string>

#include "tools/assetgen/sounds.h"

namespace {
constexpr int kHz = kSampleRate;

// Drum kits 1-4: analogue, chip, soft, electro.
struct Kit {
  float kickHigh, kickLow, kickLength;  // Hz, Hz, seconds
  float snareTone, snareCut, snareLength;
  float hatCut, tomBase;
  int crush;  // sample-and-hold length in samples; 1 = none
};
constexpr Kit kKits[4] = {
    {160, 48, 0.30f, 190, 6000, 0.20f, 7000, 110, 1},
    {220, 55, 0.22f, 240, 8000, 0.16f, 9000, 140, 6},
    {120, 45, 0.26f, 170, 3500, 0.18f, 5000, 95, 1},
    {300, 42, 0.40f, 210, 9000, 0.14f, 10000, 125, 2},
};

// Drum n of a kit: 1 kick, 2 snare, 3 closed hat, 4 open hat, 5 low tom,
// 6 high tom, 7 clap, 8 crash.
SoundBuffer Drum(int variant) {
  const Kit& k = kKits[variant / 8];
  int drum = variant % 8 + 1;
  Noise noise(uint32_t(variant) + 100);
  Oscillator osc;
  LowPass lp;
  HighPass hp;
  float held = 0;
  auto grit = [&](int i) {
    if (i % k.crush == 0) held = noise.Next();
    return held;
  };
  switch (drum) {
    case 1:
      return Render(k.kickLength, kHz, [&](float t, int) {
        float f = k.kickLow + (k.kickHigh - k.kickLow) * std::exp(-t * 30);
        return wave::Sine(osc.Advance(f, kHz)) * Decay(t, 0.001f, k.kickLength);
      });
    case 2:
      return Render(k.snareLength, kHz, [&](float t, int i) {
        float body = wave::Triangle(osc.Advance(k.snareTone * (1 + std::exp(-t * 40) * 0.5f), kHz)) *
                     Decay(t, 0.001f, 0.08f);
        return body * 0.6f + lp.Step(grit(i), k.snareCut, kHz) * Decay(t, 0.001f, k.snareLength) * 0.8f;
      });
    case 3:
    case 4: {
      float length = drum == 3 ? 0.06f : 0.32f;
      return Render(length, kHz, [&](float t, int i) {
        return hp.Step(grit(i), k.hatCut, kHz) * Decay(t, 0.001f, length);
      });
    }
    case 5:
    case 6: {
      float f0 = k.tomBase * (drum == 5 ? 1.0f : 1.5f);
      return Render(0.3f, kHz, [&](float t, int i) {
        float f = f0 * (1 + 0.6f * std::exp(-t * 18));
        return (wave::Sine(osc.Advance(f, kHz)) + lp.Step(grit(i), 1500, kHz) * 0.15f) * Decay(t, 0.001f, 0.28f);
      });
    }
    case 7:
      return Render(0.22f, kHz, [&](float t, int i) {
        // Three quick slaps, then the tail.
        float slaps = t < 0.03f ? Decay(std::fmod(t, 0.01f), 0.0005f, 0.008f) : Decay(t - 0.03f, 0.001f, 0.18f);
        return lp.Step(hp.Step(grit(i), 800, kHz), 5000, kHz) * slaps * 1.4f;
      });
    default:
      return Render(0.9f, kHz, [&](float t, int i) {
        float ring = wave::Square(osc.Advance(k.tomBase * 5.37f, kHz)) * 0.15f;
        return (hp.Step(grit(i), k.hatCut * 0.6f, kHz) + ring) * Decay(t, 0.002f, 0.85f);
      });
  }
}

struct Tone {
  float c;                // the C it sounds, Hz
  float harmonics[8];     // amplitude of partials 1-8
  float detune;           // level of a second voice one cycle sharper over the sample
};
// Leads 1-3, accompaniments 1-3, basses 1-4.
constexpr Tone kTones[10] = {
    {kLeadC, {1, 0, 0.33f, 0, 0.2f, 0, 0.14f, 0}, 0.3f},                            // lead 1: hollow square
    {kLeadC, {1, 0.5f, 0.33f, 0.25f, 0.2f, 0.16f, 0.14f, 0.12f}, 0.6f},             // lead 2: bright saw
    {kLeadC, {1, 0.15f, 0.08f, 0.03f, 0, 0, 0, 0}, 0},                              // lead 3: flute
    {kAccompanyC, {1, 0.5f, 0, 0.3f, 0, 0.2f, 0, 0.15f}, 0},                        // accompany 1: organ
    {kAccompanyC, {1, 0.45f, 0.3f, 0.2f, 0.12f, 0.08f, 0.05f, 0.03f}, 0.8f},        // accompany 2: strings
    {kAccompanyC, {1, 0.05f, 0.4f, 0.03f, 0.2f, 0, 0.1f, 0}, 0.2f},                 // accompany 3: reed
    {kBassC, {1, 0.5f, 0.33f, 0.25f, 0.2f, 0.16f, 0.1f, 0.05f}, 0},                 // bass 1: saw
    {kBassC, {1, 0, 0.33f, 0, 0.2f, 0, 0.14f, 0}, 0},                               // bass 2: square
    {kBassC, {1, 0.2f, 0.05f, 0, 0, 0, 0, 0}, 0},                                   // bass 3: round sub
    {kBassC, {1, 0.7f, 0.2f, 0.5f, 0.1f, 0.3f, 0.05f, 0.1f}, 0.4f},                 // bass 4: growl
};

SoundBuffer Tonal(int variant) {
  const Tone& tone = kTones[variant];
  // The length (about half a second) whose whole number of cycles best hits the pitch.
  int bestCycles = 0, bestLength = 0;
  float bestError = 1e9f;
  for (int cycles = int(tone.c * 0.4f); cycles <= int(tone.c * 0.6f); ++cycles) {
    int length = int(std::lround(cycles * double(kHz) / tone.c));
    float error = std::fabs(std::log2(cycles * float(kHz) / length / tone.c));
    if (error < bestError) bestError = error, bestCycles = cycles, bestLength = length;
  }
  SoundBuffer out;
  out.hertz = kHz;
  out.samples.resize(bestLength);
  for (int i = 0; i < bestLength; ++i) {
    double pos = double(i) / bestLength;  // 0..1 over the loop
    float s = 0;
    for (int h = 0; h < 8; ++h) {
      if (tone.harmonics[h] == 0) continue;
      s += tone.harmonics[h] * wave::Sine(float(std::fmod(pos * bestCycles * (h + 1), 1.0)));
      s += tone.detune * tone.harmonics[h] * wave::Sine(float(std::fmod(pos * (bestCycles + 1) * (h + 1), 1.0)));
    }
    out.samples[i] = s;
  }
  return out;
}

std::vector<SoundSpec> MakeInstruments() {
  std::vector<SoundSpec> all;
  for (int kit = 1; kit <= 4; ++kit)
    for (int drum = 1; drum <= 8; ++drum)
      all.push_back({"inst/d" + std::to_string(kit) + "-" + std::to_string(drum), Drum, (kit - 1) * 8 + drum - 1,
                     "drum"});
  for (int i = 1; i <= 3; ++i) all.push_back({"inst/lead" + std::to_string(i), Tonal, i - 1, "lead"});
  for (int i = 1; i <= 3; ++i) all.push_back({"inst/accompany" + std::to_string(i), Tonal, 2 + i, "accompaniment"});
  for (int i = 1; i <= 4; ++i) all.push_back({"inst/bass" + std::to_string(i), Tonal, 5 + i, "bass"});
  return all;
}
}  // namespace

const std::vector<SoundSpec>& Instruments() {
  static const std::vector<SoundSpec> kAll = MakeInstruments();
  return kAll;
}
