// Composition of the three sequencer tunes. Each band gets several variants
// (the sequencer picks one per section), written in C: the sequencer's chord
// queue transposes whole patterns, so every pattern moves I-I-IV-V or
// similar inside itself and stays singable when shifted.
//
// Pitched bands play only in even patterns (counting from 0): the chord queue
// gives patterns 7, 11, 15... a blank letter, under which a new note keeps the
// channel's old pitch and a slide starts from nothing. So each pitched
// variant (even) has a silent partner, the next one, that it turns into on
// odd patterns.
#include "tools/assetgen/tunes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "tools/assetgen/canvas.h"

namespace {
// Pitch values: 13 is the sample's C, one step a semitone.
constexpr int kC = 13;
constexpr int kMajor[7] = {0, 2, 4, 5, 7, 9, 11};
constexpr double kSlideDivisor = 180;  // effects 1 and 2 move the rate by param / 180 a row
constexpr int kGlideRows = 3;          // a bend or fall long enough to be heard as a glide
constexpr int kStabRows = 2;           // a stab sounds at most this long
constexpr int kBreakRow = 59;          // where the last kit-A groove ends its pattern

// Drum letters: band 0 kit A, band 1 kit B, each mapped to the white-key
// pitches the sequencer turns into drums 1-8. Capitals are accented.
int DrumPitch(char c) {
  switch (c) {
    case 'k': return 13;  // kick
    case 's': return 15;  // snare
    case 'h': return 17;  // closed hat
    case 'o': return 18;  // open hat
    case 'l': return 20;  // low tom
    case 't': return 22;  // high tom
    case 'c': return 24;  // clap
    case 'x': return 25;  // crash
    default: return 0;
  }
}

struct Style {
  const char* name;
  std::vector<std::array<const char*, 2>> drumsA;  // {groove bar, fill bar}, 16 rows each
  std::vector<std::array<const char*, 2>> drumsB;
  std::vector<std::array<int, 4>> progressions;    // scale degree (0-6) of each bar
  std::vector<const char*> bassRhythms;            // R root, F fifth, O octave, x cut, . nothing
  std::vector<const char*> chordRhythms;           // X chord stab, 1 3 5 arpeggio notes, x cut
  std::vector<const char*> leadRhythms;            // N a note, x cut, . nothing
  uint32_t seed;
};

const Style kStyles[3] = {
    {"tunes/Quenford/Tune_12",
     {{"K.h.S.h.K.hKS.h.", "K.h.S.h.K.S.SSSS"}, {"K.hhS.hhK.hhS.ho", "K.hhS.hhKKS.S.Ss"},
      {"KhhhShhhKhKhShhh", "KhhhShhhK.S.SsSs"}, {"K...S..KK...S...", "K...S..KS.S.SSSS"}},
     {{"....c.......c...", "....c.......c.tt"}, {"h.h.h.h.h.h.h.h.", "h.h.h.h.l.l.t.t."}, {"x...............", "..........t.l.l."}},
     {{0, 0, 3, 4}, {0, 5, 3, 4}, {5, 3, 0, 4}, {0, 3, 5, 4}},
     {"R.R.R.RxR.R.F.O.", "R..R..R.R..R..F.", "R.xRR.xRR.xRF.O."},
     {"..X...X...X...X.", "1.3.5.3.1.3.5.3.", "X..X..X.....X..."},
     {"N.N.N...N.N.N.N.", "N...N.N.N...N...", "NN.N.N..N.NN.N.."},
     1201},
    {"tunes/Retro/Tazzlebrook",
     {{"K.hhS.hhKKhhS.hh", "K.hhS.hhK.S.SSSS"}, {"K..hS..hK..hS.hh", "K..hS..hSSS.SSSS"},
      {"KhShKhShKhShKhSh", "KhShKhShKSKSKSSS"}},
     {{"..o...o...o...o.", "..o...o...o.t.t."}, {"....c.......c...", "....c...c.c.c.c."}, {"h.hhh.hhh.hhh.hh", "h.hhh.hhl.l.t.tt"}},
     {{0, 4, 5, 3}, {0, 0, 4, 4}, {3, 4, 0, 0}},
     {"RxRxRxRxRxRxFxOx", "R.RR.RR.R.RR.RF.", "O.R.O.R.O.R.F.R."},
     {"1.3.5.O.5.3.1.3.", "X.X...X.X.X...X.", "1351351313513513"},
     {"N.NN.NN.N.N.NNN.", "N.......N.N.N...", "NNNN.N.NNNN.N.N."},
     2207},
    {"tunes/Retro/Ferrovale",
     {{"K..K..S.K..K..S.", "K..K..S.K.S.SSSS"}, {"K.h.S.h.h.K.S.h.", "K.h.S.h.KKS.SsSs"},
      {"KKhhSKhhKKhhShhh", "KKhhSKhhK.S.S.SS"}, {"K.......S.......", "K.......S...SSSS"}, {"K.hKS.hKK.hKS.hK", "K.hKS.hKSSSSSSSS"}},
     {{"h.h.h.h.h.h.h.h.", "h.h.h.h.t.t.l.l."}, {"..c...c...c...c.", "..c...c...c.cccc"}},
     {{5, 3, 0, 4}, {5, 5, 3, 4}, {0, 4, 5, 3}, {5, 4, 3, 4}},
     {"R..R..R.R..R..R.", "R.RxR.RxR.RxF.Ox", "RRxRRxRROxRRxRFx"},
     {"1..3..5.1..3..5.", "..X..X..X..X..X.", "X.......X.......", "1.5.3.5.1.5.3.5."},
     {"N..N..N.N..N..N.", "N.N.N...N.......", "N..N..N.NNN.N..."},
     3319},
};

// Semitones above C of the root and of the third and fifth of the triad on a major-scale degree.
std::array<int, 3> Triad(int degree) {
  return {kMajor[degree % 7], kMajor[(degree + 2) % 7] + ((degree + 2) >= 7 ? 12 : 0),
          kMajor[(degree + 4) % 7] + ((degree + 4) >= 7 ? 12 : 0)};
}

// Pitch values stop at 31: anything higher drops an octave.
void Set(Cell& cell, int pitch, int volume) {
  while (pitch > 31) pitch -= 12;
  cell.pitch = uint8_t(pitch);
  cell.volume = uint8_t(volume);
}

double Ratio(int pitch) { return std::pow(2.0, (pitch - kC) / 12.0); }

// Variant a turns into a + 1 on odd patterns, a + 1 back into a on even ones.
void Pair(Tune& tune, int band, int a) {
  tune.At(a, band, 0).effect = tune.At(a + 1, band, 0).effect = kVariantJump;
  tune.At(a, band, 0).param = 1;
  tune.At(a + 1, band, 0).param = 2;
}

// Rows from position i of a one-bar rhythm to its next onset, the rhythm repeating.
int Gap(const char* rhythm, int i) {
  int d = 1;
  while (d < 16 && (rhythm[(i + d) % 16] == '.' || rhythm[(i + d) % 16] == 'x')) ++d;
  return d;
}

void Drums(Tune& tune, int band, const std::vector<std::array<const char*, 2>>& grooves) {
  for (size_t v = 0; v < grooves.size(); ++v)
    for (int bar = 0; bar < 4; ++bar)
      for (int i = 0; i < 16; ++i) {
        char c = grooves[v][bar == 3][i];
        int pitch = DrumPitch(char(c | 0x20));
        if (pitch) Set(tune.At(int(v), band, bar * 16 + i), pitch, (c & 0x20) ? 21 : 29);
      }
}

void Bass(Tune& tune, const Style& style) {
  for (size_t k = 0; k < style.bassRhythms.size() * 2; ++k) {
    const char* rhythm = style.bassRhythms[k % style.bassRhythms.size()];
    const auto& prog = style.progressions[k % style.progressions.size()];
    int v = int(k) * 2;
    Pair(tune, 4, v);
    for (int bar = 0; bar < 4; ++bar) {
      auto triad = Triad(prog[bar]);
      int root = 1 + triad[0];  // pitch 1 is the octave below the sample's C
      for (int i = 0; i < 16; ++i) {
        Cell& cell = tune.At(v, 4, bar * 16 + i);
        switch (rhythm[i]) {
          case 'R': Set(cell, root, 28); break;
          case 'F': Set(cell, root + 7, 25); break;
          case 'O': Set(cell, root + 12, 25); break;
          case 'x': cell.volume = 31; break;
          default: break;
        }
      }
    }
  }
}

void Chords(Tune& tune, const Style& style) {
  for (size_t k = 0; k < style.chordRhythms.size() + 1; ++k) {
    const char* rhythm = style.chordRhythms[k % style.chordRhythms.size()];
    const auto& prog = style.progressions[(k + 1) % style.progressions.size()];
    int v = int(k) * 2;
    Pair(tune, 3, v);
    for (int bar = 0; bar < 4; ++bar) {
      auto triad = Triad(prog[bar]);
      for (int i = 0; i < 16; ++i) {
        int row = bar * 16 + i;
        Cell& cell = tune.At(v, 3, row);
        char c = rhythm[i];
        // One voice: a stab sounds the chord's third, arpeggios walk root, third, fifth, octave.
        // A stab is cut before the next onset: a note holds its level for five rows and would blur into it.
        if (c == 'X') {
          Set(cell, kC + triad[1], 22);
          int gap = Gap(rhythm, i), cut = row + std::min(kStabRows, gap - 1);
          if (gap > 1 && cut < kSteps) tune.At(v, 3, cut).volume = 31;
        }
        if (c == '1') Set(cell, kC + triad[0], 20);
        if (c == '3') Set(cell, kC + triad[1], 19);
        if (c == '5') Set(cell, kC + triad[2], 19);
        if (c == 'O') Set(cell, kC + triad[0] + 12, 19);
        if (c == 'x') cell.volume = 31;
      }
    }
  }
}

// A glide of a semitone from `pitch` over the rows from `row`: its parameters
// add up to the semitone's rate step at the chord ratio 1.
void Glide(Tune& tune, int variant, int row, int pitch, uint8_t effect) {
  int direction = effect == kSlideUp ? 1 : -1;
  int total = int(std::lround(kSlideDivisor * std::abs(Ratio(pitch + direction) - Ratio(pitch))));
  for (int r = 0; r < kGlideRows; ++r) {
    Cell& cell = tune.At(variant, 2, row + r);
    cell.effect = effect;
    cell.param = uint8_t(total * (r + 1) / kGlideRows - total * r / kGlideRows);
  }
}

// Lead melodies: chord tones on the beat, major-pentatonic steps between,
// a bend up into a note now and then and a fall at the end of each phrase.
void Lead(Tune& tune, const Style& style) {
  // Major pentatonic from the G below the sample's C to the E an octave above.
  constexpr int kPentatonic[10] = {-5, -3, 0, 2, 4, 7, 9, 12, 14, 16};
  // The phrase ends early enough for its fall and cut to come before the break row, which the other bands skip.
  constexpr int kLastNoteRow = kBreakRow - kGlideRows - 2;
  Rng rng(style.seed);
  for (int k = 0; k < int(style.leadRhythms.size()) * 2; ++k) {
    const char* rhythm = style.leadRhythms[k % style.leadRhythms.size()];
    const auto& prog = style.progressions[k % style.progressions.size()];
    int v = k * 2;
    Pair(tune, 2, v);
    int at = rng.Int(3, 6);  // index into the pentatonic run
    std::vector<int> onsets;
    bool bend = false;
    for (int bar = 0; bar < 4; ++bar) {
      auto triad = Triad(prog[bar]);
      for (int i = 0; i < 16; ++i) {
        int row = bar * 16 + i;
        if (row > kLastNoteRow || rhythm[i] != 'N') continue;
        at = std::clamp(at + rng.Int(-2, 2), 0, 9);
        int pitch = kC + kPentatonic[at];
        if (i % 4 == 0) {  // on the beat: the nearest chord tone
          int best = 0;
          for (int octave : {-12, 0, 12})
            for (int t : triad) {
              int candidate = kC + t + octave;
              if (candidate >= 1 && candidate <= 31 && std::abs(candidate - pitch) < std::abs(best - pitch))
                best = candidate;
            }
          pitch = best;
        }
        Set(tune.At(v, 2, row), pitch, 24 + (i % 4 == 0 ? 3 : 0));
        onsets.push_back(row);
      }
      bend |= bar == 1 && rng.Int(0, 1);
    }
    // A bend glides into a note from the first half's last note that leaves room for it.
    for (int n = int(onsets.size()) - 2; bend && n >= 0; --n) {
      if (onsets[n] < 32 && onsets[n + 1] - onsets[n] > kGlideRows) {
        Glide(tune, v, onsets[n + 1] - kGlideRows, tune.At(v, 2, onsets[n]).pitch, kSlideUp);
        bend = false;
      }
    }
    int last = onsets.back();
    Glide(tune, v, last + 1, tune.At(v, 2, last).pitch, kSlideDown);
    tune.At(v, 2, last + 1 + kGlideRows).volume = 31;
  }
}

Tune Compose(const Style& style) {
  Tune tune;
  tune.name = style.name;
  Drums(tune, 0, style.drumsA);
  Drums(tune, 1, style.drumsB);
  Bass(tune, style);
  Chords(tune, style);
  Lead(tune, style);
  // The last kit-A groove ends its pattern early: a break after the fill's
  // third beat makes a 60-row pattern now and then.
  Cell& stop = tune.At(int(style.drumsA.size()) - 1, 0, kBreakRow);
  stop.effect = kPatternBreak;
  return tune;
}
}  // namespace

const std::vector<Tune>& Tunes() {
  static const std::vector<Tune> kTunes = {Compose(kStyles[0]), Compose(kStyles[1]), Compose(kStyles[2])};
  return kTunes;
}

int CellValue(const Cell& cell, int k) {
  switch (k) {
    case 0: return cell.pitch;
    case 1: return cell.volume;
    case 2: return cell.effect;
    case 3: return cell.param;
    default: return 0;
  }
}

std::vector<uint8_t> TuneImage(const Tune& tune) {
  // Frame v sits at column v % 8, row v / 8; in a frame, x = band * 8 + k
  // and y = step. Red marks the band so the picture shows the arrangement;
  // only blue carries data.
  std::vector<uint8_t> rgba(size_t(kTuneImageSize) * kTuneImageSize * 4);
  for (int v = 0; v < kVariants; ++v)
    for (int band = 0; band < kBands; ++band)
      for (int step = 0; step < kSteps; ++step)
        for (int k = 0; k < 8; ++k) {
          int x = (v % 8) * 64 + band * 8 + k, y = (v / 8) * 64 + step;
          uint8_t* px = &rgba[(size_t(y) * kTuneImageSize + x) * 4];
          int value = CellValue(tune.At(v, band, step), k);
          px[0] = uint8_t(band * 32);
          px[1] = value ? 96 : 0;
          px[2] = uint8_t(value << 3);
          px[3] = 255;
        }
  return rgba;
}
