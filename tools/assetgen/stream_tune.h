// The streamed tune "sfx/adventurous": the first sequencer tune arranged
// and played through the instrument samples offline, then mixed to stereo.
#pragma once
#include <vector>

struct StereoMix {
  int hertz = 44100;
  std::vector<float> left, right;
};

StereoMix RenderAdventurous();
