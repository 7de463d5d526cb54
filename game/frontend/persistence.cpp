// What the game keeps between runs: the settings, the 256 badge flags and
// the score tables of the three modes, as one "|"-separated string of
// decimal numbers. Each of the five sections carries its own checksum and is
// restored or reset on its own, so damage to one never costs the others.
#include <climits>
#include <cstdint>

#include "game/core/globals.h"
#include "game/core/my_app.h"
#include "runtime/print.h"

namespace {

// ---- Layout -------------------------------------------------------------------------------
constexpr int BADGE_WORDS = BADGES / 32;
constexpr int MODES = 3;
constexpr int TABLE = 10;          // scores kept per list
constexpr int RECENT_OFFSET = 30;  // from a mode's top ten to its recent ten
constexpr int NUMBER_CHARS = 63;   // characters of a part that are read

// Limits applied after loading, whatever the state held.
constexpr int CONTROL_MIN = 64, CONTROL_SIZE_MIN = 8, CONTROL_SIZE_DEFAULT = 10, OVERSCAN_DEFAULT = 64;

const Char SEPARATOR = '|';

// Sums wrap around as 32-bit two's complement; unsigned arithmetic gives the
// same bits without overflowing.
int32_t Wrap(uint32_t bits) { return static_cast<int32_t>(bits); }

int32_t SettingsSum(const Array<int>& options) {
  uint32_t sum = 0;
  for (int i = 0; i < OPTIONS; ++i) sum += static_cast<uint32_t>(i) * static_cast<uint32_t>(options[i]);
  return Wrap(sum);
}

int32_t BadgeWord(const Array<bool>& badges, int g) {
  uint32_t word = 0;
  for (int j = 0; j < 32; ++j) {
    if (badges[32 * g + j]) word |= 1u << j;
  }
  return Wrap(word);
}

int32_t ScoreSum(const Array<int>& scores, int m) {
  uint32_t sum = 0;
  for (int k = 0; k < TABLE; ++k) {
    sum += static_cast<uint32_t>(k + 4) * static_cast<uint32_t>(scores[TABLE * m + k]);
    sum += static_cast<uint32_t>(m + 3 + k) * static_cast<uint32_t>(scores[RECENT_OFFSET + TABLE * m + k]);
  }
  return Wrap(sum);
}

// Like atoi on the part's first 63 characters (each narrowed to a byte):
// leading blanks, a sign, digits up to the first other character; no digits
// give 0. Out-of-range values saturate instead of overflowing.
int Number(const String& part) {
  int n = part.Length() < NUMBER_CHARS ? part.Length() : NUMBER_CHARS;
  int i = 0;
  auto byte = [&](int at) { return static_cast<unsigned char>(part[at] & 0xFF); };
  while (i < n && (byte(i) == ' ' || (byte(i) >= '\t' && byte(i) <= '\r'))) ++i;
  bool negative = false;
  if (i < n && (byte(i) == '+' || byte(i) == '-')) negative = byte(i++) == '-';
  int64_t value = 0;
  for (; i < n && byte(i) >= '0' && byte(i) <= '9'; ++i) {
    value = value * 10 + (byte(i) - '0');
    if (value > static_cast<int64_t>(INT_MAX) + 1) value = static_cast<int64_t>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

void Append(String& state, int value) { state = state + String(value) + String("|"); }

}  // namespace

int c_MyApp::p_Save() {
  String state;
  for (int i = 0; i < OPTIONS; ++i) Append(state, options[i]);
  Append(state, SettingsSum(options));
  uint32_t badgeSum = 0;
  for (int g = 0; g < BADGE_WORDS; ++g) {
    int32_t word = BadgeWord(badges, g);
    Append(state, word);
    badgeSum += static_cast<uint32_t>(word);
  }
  Append(state, Wrap(badgeSum));
  for (int m = 0; m < MODES; ++m) {
    for (int k = 0; k < TABLE; ++k) {
      Append(state, scores[TABLE * m + k]);
      Append(state, scores[RECENT_OFFSET + TABLE * m + k]);
    }
    Append(state, ScoreSum(scores, m));
  }
  if (vx_Kalvexa_DebugMode == 1) vxPrint(state);
  // The old state stays whole on disk when the new one cannot be written.
  if (vx_app_SaveState(state) < 0) vxPrint(String("State not saved"));
  return 0;
}

int c_MyApp::p_Load() {
  String state = vx_app_LoadState();
  if (vx_Kalvexa_DebugMode == 1) vxPrint(state);
  Array<String> parts = state.Split(String(&SEPARATOR, 1));
  int count = parts.Length();
  int pos = 0;

  if (count >= OPTIONS + 1) {
    for (int i = 0; i < OPTIONS; ++i) options[i] = Number(parts[i]);
    pos = OPTIONS + 1;
    if (SettingsSum(options) == Number(parts[OPTIONS])) {
      vxPrint(String("Settings Loaded"));
    } else {
      vxPrint(String("Settings Checksum Invalid"));
      for (int i = 0; i < OPTIONS; ++i) options[i] = 0;
      options[OPTION_SOUND] = 1;
    }
  }

  if (options[10] < CONTROL_MIN) options[10] = CONTROL_MIN;
  if (options[11] < CONTROL_MIN) options[11] = CONTROL_MIN;
  if (options[12] < CONTROL_SIZE_MIN) options[12] = CONTROL_SIZE_DEFAULT;
  if (options[OPTION_OVERSCAN] < 1) options[OPTION_OVERSCAN] = OVERSCAN_DEFAULT;
  // A sound mode that no box offers plays as silence would: it is reset.
  if (options[OPTION_SOUND] < 0 || options[OPTION_SOUND] > 3) options[OPTION_SOUND] = 0;
  if (vx_Kalvexa_isOuya == 1) {
    vx_Kalvexa_overscan = static_cast<float>(options[OPTION_OVERSCAN]);
  } else {
    options[OPTION_OVERSCAN] = 1;
    vx_Kalvexa_overscan = 0;
  }

  if (pos + BADGE_WORDS < count) {
    uint32_t sum = 0;
    for (int g = 0; g < BADGE_WORDS; ++g) {
      uint32_t word = static_cast<uint32_t>(Number(parts[pos + g]));
      sum += word;
      for (int j = 0; j < 32; ++j) badges[32 * g + j] = (word >> j & 1) != 0;
    }
    pos += BADGE_WORDS;
    if (Wrap(sum) == Number(parts[pos])) {
      vxPrint(String("Badges Loaded"));
    } else {
      vxPrint(String("Badge Checksum Invalid"));
      for (int i = 0; i < BADGES; ++i) badges[i] = false;
    }
    ++pos;
  }

  for (int m = 0; m < MODES && pos + 2 * TABLE < count; ++m) {
    for (int k = 0; k < TABLE; ++k) {
      scores[TABLE * m + k] = Number(parts[pos + 2 * k]);
      scores[RECENT_OFFSET + TABLE * m + k] = Number(parts[pos + 2 * k + 1]);
    }
    pos += 2 * TABLE;
    String mode = String("Highscore ") + String(m);
    if (ScoreSum(scores, m) == Number(parts[pos])) {
      vxPrint(mode + String(" Loaded"));
    } else {
      vxPrint(mode + String(" Checksum Invalid"));
      for (int k = 0; k < TABLE; ++k) scores[TABLE * m + k] = scores[RECENT_OFFSET + TABLE * m + k] = 0;
    }
    ++pos;
  }
  return 0;
}
