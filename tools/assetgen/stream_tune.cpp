#include "tools/assetgen/stream_tune.h"

#include <algorithm>
#include <cmath>

#include "tools/assetgen/sounds.h"
#include "tools/assetgen/tunes.h"

namespace {
constexpr int kHz = 44100;
constexpr float kRowSeconds = 0.1f;  // four rows a beat: 150 beats a minute
constexpr int kBandsPlayed = 5;

// One pattern of the arrangement: the variant of each band (-1 silent) and
// the transposition in semitones.
struct Section {
  int variant[kBandsPlayed];
  int semitones;
};
// About 90 seconds. It opens with the whole band so that a start cut short by
// the next spin still sounds like the tune. Pitched bands keep their music in
// the even variants.
constexpr Section kArrangement[] = {
    {{0, 0, 0, 0, 0}, 0},   {{1, 0, 2, 2, 2}, 0},  {{0, 1, 4, 0, 4}, -2}, {{1, 1, 6, 2, 6}, -5},
    {{2, -1, -1, 4, 0}, 0}, {{2, 2, -1, 4, 2}, 0}, {{0, 0, 8, 6, 8}, 2},  {{3, 0, 10, 2, 10}, -2},
    {{1, 1, 0, 0, 0}, 0},   {{1, 2, 2, 2, 2}, -5}, {{0, 1, 4, 4, 4}, -2}, {{3, 0, 6, 6, 6}, 0},
    {{0, 2, 0, 0, 0}, 0},   {{2, 1, 2, 2, 8}, 0},
};
constexpr float kPan[kBandsPlayed] = {-0.35f, 0.35f, 0.2f, -0.3f, 0};
constexpr float kGain[kBandsPlayed] = {0.9f, 0.7f, 0.45f, 0.35f, 0.6f};

// A channel the way the game's sequencer plays one: a sample, its rate and
// a level that holds, then falls step by step.
struct Voice {
  const SoundBuffer* sample = nullptr;
  bool loop = false;
  double position = 0;
  float rate = 1, level = 0, envelope = 0, target = 0, current = 0;
};

float Ratio(int pitch) { return std::pow(2.0f, (pitch - 13) / 12.0f); }
}  // namespace

StereoMix RenderAdventurous() {
  const Tune& tune = Tunes()[0];
  std::vector<SoundBuffer> kitA, kitB;
  for (int d = 0; d < 8; ++d) {
    kitA.push_back(Instruments()[d].make(Instruments()[d].variant));            // kit 1
    kitB.push_back(Instruments()[24 + d].make(Instruments()[24 + d].variant));  // kit 4
  }
  SoundBuffer lead = Instruments()[33].make(Instruments()[33].variant);       // lead 2
  SoundBuffer accompany = Instruments()[36].make(Instruments()[36].variant);  // accompany 2
  SoundBuffer bass = Instruments()[38].make(Instruments()[38].variant);       // bass 1
  const SoundBuffer* tonal[kBandsPlayed] = {nullptr, nullptr, &lead, &accompany, &bass};
  constexpr int kDrumOfPitch[32] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 2, 0, 3, 4, 0, 5, 0, 6, 0, 7, 8};

  StereoMix mix;
  mix.hertz = kHz;
  int rowFrames = int(kRowSeconds * kHz);
  Voice voices[kBandsPlayed];
  auto renderRow = [&]() {
    for (int i = 0; i < rowFrames; ++i) {
      float l = 0, r = 0;
      for (int b = 0; b < kBandsPlayed; ++b) {
        Voice& v = voices[b];
        v.current += (v.target - v.current) * 0.005f;  // about 5 ms to a new level: no clicks
        if (!v.sample) continue;
        size_t n = v.sample->samples.size();
        if (v.position >= n) {
          if (!v.loop) continue;
          v.position = std::fmod(v.position, double(n));
        }
        size_t i0 = size_t(v.position);
        float s0 = v.sample->samples[i0];
        float s1 = i0 + 1 < n ? v.sample->samples[i0 + 1] : v.loop ? v.sample->samples[0] : 0;
        float frac = float(v.position - double(i0));
        float s = s0 + (s1 - s0) * frac;
        v.position += double(v.rate) * v.sample->hertz / kHz;
        s *= v.current * kGain[b];
        l += s * (1 - kPan[b]) * 0.5f;
        r += s * (1 + kPan[b]) * 0.5f;
      }
      mix.left.push_back(l);
      mix.right.push_back(r);
    }
  };

  for (const Section& section : kArrangement) {
    float transpose = std::pow(2.0f, section.semitones / 12.0f);
    for (int step = 0; step < kSteps; ++step) {
      bool broken = false;
      for (int b = 0; b < kBandsPlayed; ++b) {
        Voice& v = voices[b];
        Cell cell = section.variant[b] >= 0 ? tune.At(section.variant[b], b, step) : Cell{};
        if (cell.pitch && b < 2) {
          int drum = kDrumOfPitch[cell.pitch];
          if (drum) {
            v = Voice{&(b == 0 ? kitA : kitB)[drum - 1], false, 0, 1, 1, 4, 1, v.current};
          }
        }
        if (cell.volume == 31) v.envelope = 0, v.level = 0;
        else if (cell.volume) v.envelope = 1.5f, v.level = (cell.volume - 1) / 29.0f;
        if (cell.pitch && b >= 2) {
          v.sample = tonal[b];
          v.loop = true;
          v.position = 0;
          v.rate = Ratio(cell.pitch) * transpose;
          v.envelope = 1.5f;
        }
        v.envelope = std::max(0.0f, v.envelope - 0.1f);
        if (v.envelope < 1) v.level *= v.envelope;
        if (cell.effect == kSlideUp) v.rate = std::min(4.0f, v.rate + cell.param / 180.0f);
        if (cell.effect == kSlideDown) v.rate = std::max(0.25f, v.rate - cell.param / 180.0f);
        v.target = v.level;
        if (cell.effect == kPatternBreak && b == 0) broken = true;
      }
      renderRow();
      if (broken) break;
    }
  }
  // The last chord: kick, crash and the bass's low C, left to ring.
  voices[0] = Voice{&kitA[0], false, 0, 1, 1, 0, 1, 1};
  voices[1] = Voice{&kitB[7], false, 0, 1, 1, 0, 1, 1};
  voices[4] = Voice{&bass, true, 0, 0.5f, 1, 0, 1, voices[4].current};
  voices[2].target = voices[3].target = 0;
  for (int row = 0; row < 20; ++row) {
    voices[4].target *= 0.85f;
    renderRow();
  }
  float peak = 0;
  for (size_t i = 0; i < mix.left.size(); ++i) peak = std::max({peak, std::fabs(mix.left[i]), std::fabs(mix.right[i])});
  for (size_t i = 0; i < mix.left.size(); ++i) {
    mix.left[i] *= 0.89f / peak;
    mix.right[i] *= 0.89f / peak;
  }
  return mix;
}
