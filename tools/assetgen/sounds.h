// Every sound the generator writes: the game's effects and the sequencer's
// instrument samples.
#pragma once
#include <string>
#include <vector>

#include "tools/assetgen/synth.h"

struct SoundSpec {
  std::string name;  // path under data/ without ".wav"
  SoundBuffer (*make)(int variant);
  int variant;
  const char* what;
};

// Sound effects "sfx/NNN" for every slot the game loads.
const std::vector<SoundSpec>& Effects();
// Instrument samples "inst/...": drum kits 1-4 (drums 1-8), leads 1-3,
// accompaniments 1-3, basses 1-4. Tonal ones sound C (the sequencer's pitch
// value 13) and hold a whole number of cycles, so they loop without a click.
const std::vector<SoundSpec>& Instruments();

// The sample rate of effects and instruments.
constexpr int kSampleRate = 22050;
// The C each tonal pool is tuned to, in Hz.
constexpr float kLeadC = 523.25f, kAccompanyC = 261.63f, kBassC = 130.81f;
