// The sequencer's fixed data: pitch ratios, chord letters and strings, the
// drum map, cell layout, effect codes, the seeds of its draws and the loader's
// sample steps.
#pragma once
#include <cstdint>

#include "music/ombi_player.h"

// Rate ratio of pitch value n (13 is the sample's own pitch, one semitone a
// value); values outside 1..32 give 0.
constexpr int OMBI_PITCHES = 32;
constexpr float kOmbiPitchRatios[OMBI_PITCHES + 1] = {
    0.0f,                                                             // no pitch
    0.5f,   0.5295f, 0.561f, 0.5945f, 0.63f,  0.6675f, 0.707f, 0.749f,  // 1..8
    0.7935f, 0.841f, 0.891f, 0.944f,  1.0f,   1.059f,  1.122f, 1.189f,  // 9..16
    1.26f,  1.335f,  1.414f, 1.498f,  1.587f, 1.682f,  1.782f, 1.888f,  // 17..24
    2.0f,   2.118f,  2.244f, 2.378f,  2.52f,  2.67f,   2.828f, 2.996f,  // 25..32
};

// Chord letters in pitch order: the letter at index i has the ratio of pitch
// value i + 1. Two keyboard rows, so "q" is 1.0 and "z" an octave down.
constexpr char kOmbiChordLetters[OMBI_PITCHES + 1] = "zsxdcvgbhnjmq2w3er5t6y7ui9o0p[=]";

// Chord strings by number.
constexpr const char* kOmbiChordStrings[] = {"qqqq", "qqjj", "qqbb", "qbqb", "qqqj", "qqzz"};
constexpr int OMBI_CHORD_STRINGS = 6;
constexpr int OMBI_OTHER_CHORD = 1;                // the string of any other number
constexpr const char* OMBI_FIRST_CHORDS = "qqjj";  // the queue at a tune's start
constexpr int OMBI_CHORD_DRAW = 4;                 // pattern ends draw strings 0..4

// Pitch of drum n (1..8): the white keys of the middle octave.
constexpr int kOmbiDrumPitches[OMBI_KIT_SAMPLES + 1] = {0, 13, 15, 17, 18, 20, 22, 24, 25};

// Cell values.
constexpr int OMBI_PITCH = 0, OMBI_VOLUME = 1, OMBI_EFFECT = 2, OMBI_PARAM = 3;

// Effects.
constexpr int OMBI_PATTERN_BREAK = 8;  // the following channels and the step go to row 63
constexpr int OMBI_VARIANT_JUMP = 27;  // parameter 1: one variant up on odd patterns left, 2: one down on even
struct OmbiSlide {
  int effect;
  float sign;     // +1 up, -1 down
  float divisor;  // rate change per step = parameter / divisor
};
constexpr OmbiSlide kOmbiSlides[] = {{1, +1, 180}, {2, -1, 180}, {3, +1, 15}, {4, -1, 15}};

// Music channels.
constexpr int OMBI_DRUMS_A = 0, OMBI_DRUMS_B = 1, OMBI_FIRST_TONAL = 2, OMBI_LAST_TONAL = 4;

// Seeds: every draw sequence starts from seed x * multiplier + increment
// (modulo 2^32) of its own x.
struct OmbiSeed {
  uint32_t multiplier, increment;
  int Of(uint32_t x) const { return static_cast<int>(x * multiplier + increment); }
};
constexpr OmbiSeed kOmbiChannelSeed = {1948736821u, 3421909937u};  // instruments and channel draws
constexpr OmbiSeed kOmbiChordSeed = {2001863745u, 2210837584u};    // pattern-end chord draw
constexpr OmbiSeed kOmbiSectionSeed = {1u, 0u};                    // section length draw
constexpr int OMBI_SECTION_SKIPPED_DRAWS = 11;                     // R1(5) draws discarded first
constexpr uint32_t OMBI_SECTION_STRIDE = 9;                        // seed step per section
constexpr uint32_t OMBI_CHANNEL_STRIDE = 7;                        // seed step per channel

// The instruments in the order they are drawn: m_picks[pick] from pool m_poolSizes[pool].
struct OmbiPick {
  int pick, pool;
};
constexpr OmbiPick kOmbiPicks[] = {{1, 1}, {2, 1}, {3, 2}, {4, 3}, {5, 4}};

// Loader steps first..last load instrument samples: "inst/" + stem + pick,
// then for a kit "-" + n, then ".wav", into slots firstSlot.. of `bank`.
struct OmbiSampleStep {
  int first, last;
  int pick;  // index into m_picks
  const char* stem;
  bool kit;
  Array<c_Sound*> c_OmbiPlayer::*bank;
  int firstSlot;
};
constexpr OmbiSampleStep kOmbiSampleSteps[] = {
    {2, 9, 1, "d", true, &c_OmbiPlayer::m_drumsA, 1},
    {12, 19, 2, "d", true, &c_OmbiPlayer::m_drumsB, 1},
    {21, 21, 3, "lead", false, &c_OmbiPlayer::m_instruments, 2},
    {22, 22, 4, "accompany", false, &c_OmbiPlayer::m_instruments, 3},
    {23, 23, 5, "bass", false, &c_OmbiPlayer::m_instruments, 4},
};
