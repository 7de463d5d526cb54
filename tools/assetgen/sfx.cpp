// The game's sound effects, each shaped for its moment in play.
#include <cmath>

#include "tools/assetgen/sounds.h"

namespace {
constexpr int kHz = kSampleRate;

// 1: a coin (loaded, not played): two square notes up a fourth.
SoundBuffer Coin(int) {
  Oscillator osc;
  return Render(0.32f, kHz, [&](float t, int) {
    float f = t < 0.06f ? 987.8f : 1318.5f;
    return wave::Square(osc.Advance(f, kHz), 0.25f) * 0.35f * (t < 0.06f ? 1 : Decay(t - 0.06f, 0.002f, 0.26f));
  });
}

// 2: a floor painted: a bright upward blip, over in a tenth of a second.
SoundBuffer Painted(int) {
  Oscillator osc;
  return Render(0.12f, kHz, [&](float t, int) {
    float f = 700 * std::pow(2.0f, std::min(t, 0.04f) / 0.04f);
    float ph = osc.Advance(f, kHz);
    return (wave::Sine(ph) * 0.7f + wave::Triangle(ph * 2) * 0.2f) * Decay(t, 0.003f, 0.11f);
  });
}

// A struck bell: a fundamental and an inharmonic partial that dies faster.
SoundBuffer Bell(float f, float seconds) {
  return Render(seconds, kHz, [=](float t, int) {
    return (wave::Sine(f * t) * 0.6f + wave::Sine(f * 2.76f * t) * 0.25f * Decay(t, 0, seconds * 0.4f)) *
           Decay(t, 0.002f, seconds);
  });
}

// 3: the switch lights: a rising four-bell chime.
SoundBuffer Chime(int) {
  SoundBuffer out;
  out.hertz = kHz;
  constexpr float kNotes[4] = {1046.5f, 1318.5f, 1568.0f, 2093.0f};
  for (int i = 0; i < 4; ++i) MixInto(out, Bell(kNotes[i], 0.5f), i * 0.08f, 0.5f);
  return out;
}

// 4: the switch hit, the drums set spinning: a swelling whoosh under a fanfare.
SoundBuffer Fanfare(int) {
  Noise noise(4);
  LowPass lp;
  SoundBuffer out = Render(1.5f, kHz, [&](float t, int) {
    float sweep = 300 + 3500 * std::sin(std::min(t / 1.2f, 1.0f) * 3.14159f);
    return lp.Step(noise.Next(), sweep, kHz) * std::sin(std::min(t / 1.5f, 1.0f) * 3.14159f) * 0.9f;
  });
  constexpr float kNotes[4] = {523.3f, 659.3f, 784.0f, 1046.5f};
  for (int i = 0; i < 4; ++i) {
    Oscillator osc;
    float hold = 1.2f - i * 0.1f;
    MixInto(out, Render(hold, kHz, [&](float t, int) {
              float vib = 1 + 0.006f * std::sin(t * 36);
              return wave::Square(osc.Advance(kNotes[i] * vib, kHz), 0.3f) * Decay(t, 0.01f, hold);
            }), 0.12f + i * 0.1f, 0.22f);
  }
  return out;
}

// 5: the player hit: a crushed noise burst over a falling growl.
SoundBuffer Crunch(int) {
  Noise noise(5);
  Oscillator osc;
  float held = 0;
  return Render(0.45f, kHz, [&](float t, int i) {
    if (i % 9 == 0) held = noise.Next();  // sample-and-hold: the grit
    float growl = wave::Square(osc.Advance(170 * std::exp(-t * 5) + 35, kHz));
    return (held * 0.7f + growl * 0.5f) * Decay(t, 0.002f, 0.42f);
  });
}

// 6: a shot, up to ten a second: a short soft falling "pew", quiet at the top end.
SoundBuffer Shot(int) {
  Oscillator osc;
  LowPass lp;
  return Render(0.085f, kHz, [&](float t, int) {
    float f = 380 + 900 * std::exp(-t * 45);
    return lp.Step(wave::Triangle(osc.Advance(f, kHz)), 2500, kHz) * Decay(t, 0.004f, 0.08f);
  });
}

// 10-13: a shot hits something: a tick, four pitches and grains.
SoundBuffer Tick(int v) {
  constexpr float kPitch[4] = {1800, 1450, 2200, 1150};
  Noise noise(10 + v);
  HighPass hp;
  return Render(0.045f, kHz, [&](float t, int) {
    float click = hp.Step(noise.Next(), 2000, kHz) * Decay(t, 0.0005f, 0.012f);
    return (wave::Sine(kPitch[v] * t * (1 - t * 4)) * 0.6f + click * 0.5f) * Decay(t, 0.001f, 0.04f);
  });
}

// 15-18: something destroyed: a burst of filtered noise over a thump, four sizes.
SoundBuffer Burst(int v) {
  float length = 0.35f + v * 0.08f;
  Noise noise(15 + v);
  LowPass lp;
  Oscillator osc;
  return Render(length, kHz, [&](float t, int) {
    float cutoff = (4000 - v * 600) * std::exp(-t * 6) + 200;
    float thump = wave::Sine(osc.Advance(140 * std::exp(-t * 14) + 40 + v * 6, kHz)) * Decay(t, 0.002f, 0.18f);
    return lp.Step(noise.Next(), cutoff, kHz) * Decay(t, 0.002f, length) * 0.9f + thump * 0.7f;
  });
}

// A run of square-wave notes (MIDI numbers, seconds each), the last one held.
SoundBuffer Melody(const std::vector<std::pair<int, float>>& notes, float duty, float tail) {
  SoundBuffer out;
  out.hertz = kHz;
  float at = 0;
  for (size_t i = 0; i < notes.size(); ++i) {
    float f = 440 * std::pow(2.0f, (notes[i].first - 69) / 12.0f);
    float len = notes[i].second + (i + 1 == notes.size() ? tail : 0.02f);
    Oscillator osc;
    MixInto(out, Render(len, kHz, [&](float t, int) {
              return (wave::Square(osc.Advance(f, kHz), duty) * 0.6f + wave::Sine(f * t) * 0.4f) *
                     Decay(t, 0.004f, len * 1.2f);
            }), at, 0.4f);
    at += notes[i].second;
  }
  return out;
}

// 95: a jingle (loaded, not played).
SoundBuffer Jingle(int) { return Melody({{79, 0.09f}, {84, 0.09f}, {88, 0.09f}, {91, 0.09f}, {96, 0.1f}}, 0.25f, 0.4f); }

// 96: the studio logo: bells climbing to a chord that shimmers and fades.
SoundBuffer StudioJingle(int) {
  SoundBuffer out;
  out.hertz = kHz;
  constexpr float kNotes[5] = {659.3f, 830.6f, 987.8f, 1318.5f, 1661.2f};
  for (int i = 0; i < 5; ++i) MixInto(out, Bell(kNotes[i], 1.6f - i * 0.15f), i * 0.11f, 0.32f);
  Oscillator a, b;
  MixInto(out, Render(1.6f, kHz, [&](float t, int) {
            float swell = std::sin(std::min(t / 1.6f, 1.0f) * 3.14159f);
            return (wave::Sine(a.Advance(329.6f, kHz)) + wave::Sine(b.Advance(331.2f, kHz))) * 0.5f * swell;
          }), 0.3f, 0.25f);
  return out;
}

// 98: confirm: a quick two-note step up with a click.
SoundBuffer Confirm(int) {
  Oscillator osc;
  return Render(0.14f, kHz, [&](float t, int) {
    float f = t < 0.045f ? 880 : 1320;
    return wave::Square(osc.Advance(f, kHz), 0.5f) * 0.4f * Decay(t < 0.045f ? t : t - 0.045f, 0.001f, 0.1f);
  });
}

// 99: a move in a menu: a soft short tick.
SoundBuffer Move(int) {
  return Render(0.04f, kHz, [](float t, int) { return wave::Sine(1500 * t) * Decay(t, 0.001f, 0.03f) * 0.5f; });
}
}  // namespace

const std::vector<SoundSpec>& Effects() {
  static const std::vector<SoundSpec> kEffects = {
      {"sfx/001", Coin, 0, "coin (loaded, not played)"},
      {"sfx/002", Painted, 0, "floor painted: bright blip"},
      {"sfx/003", Chime, 0, "switch lit: rising chime"},
      {"sfx/004", Fanfare, 0, "switch hit: whoosh and fanfare"},
      {"sfx/005", Crunch, 0, "player hit: crunch"},
      {"sfx/006", Shot, 0, "shot: soft short pew"},
      {"sfx/010", Tick, 0, "hit tick 1"},
      {"sfx/011", Tick, 1, "hit tick 2"},
      {"sfx/012", Tick, 2, "hit tick 3"},
      {"sfx/013", Tick, 3, "hit tick 4"},
      {"sfx/015", Burst, 0, "destroyed burst 1"},
      {"sfx/016", Burst, 1, "destroyed burst 2"},
      {"sfx/017", Burst, 2, "destroyed burst 3"},
      {"sfx/018", Burst, 3, "destroyed burst 4"},
      {"sfx/095", Jingle, 0, "jingle (loaded, not played)"},
      {"sfx/096", StudioJingle, 0, "studio logo jingle"},
      {"sfx/098", Confirm, 0, "confirm"},
      {"sfx/099", Move, 0, "menu move"},
  };
  return kEffects;
}
