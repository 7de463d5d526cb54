// The sequencer's tunes: composed here as note cells and stored as images
// whose blue channel carries each value shifted left by 3.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One band's row: pitch (0 none, 13 the sample's own C), volume (0 keep,
// 1-30 level, 31 silence), effect and its parameter.
struct Cell {
  uint8_t pitch = 0, volume = 0, effect = 0, param = 0;
};

constexpr int kVariants = 64, kBands = 8, kSteps = 64;
// Effects the tunes use.
constexpr uint8_t kSlideUp = 1, kSlideDown = 2, kPatternBreak = 8, kVariantJump = 27;

struct Tune {
  std::string name;  // path under data/ without ".png"
  std::vector<Cell> cells = std::vector<Cell>(kVariants * kBands * kSteps);
  Cell& At(int variant, int band, int step) { return cells[(variant * kBands + band) * kSteps + step]; }
  const Cell& At(int variant, int band, int step) const { return cells[(variant * kBands + band) * kSteps + step]; }
};

// "tunes/Quenford/Tune_12", "tunes/Retro/Tazzlebrook", "tunes/Retro/Ferrovale".
const std::vector<Tune>& Tunes();
// The cell value k (0..7) of one band's row, as the image stores it.
int CellValue(const Cell& cell, int k);
// The tune as an image of 64 frames of 64 x 64, eight frames a row (512 x 512 RGBA).
std::vector<uint8_t> TuneImage(const Tune& tune);
constexpr int kTuneImageSize = 512;
