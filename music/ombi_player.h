// c_OmbiPlayer: the built-in sequencer. A tune is a picture whose pixels hold
// note cells: up to 63 variants (frames) of one 64-row pattern for eight bands.
// Five bands play on their own audio channels through instrument samples drawn
// from numbered pools; each section (2 or 4 patterns) every channel draws a
// variant and whether it is muted, and a queue of chord letters transposes the
// tonal channels pattern by pattern.
//
// Every random draw is preceded by an explicit seed made from the tune's seed
// and the section count, so a tune always unfolds the same way whatever else
// uses the framework's global seed; the player leaves that seed at its own
// values.
//
// Loading is spread over rendered frames (at most three loader steps each) and
// nothing plays until it has finished.
#pragma once
#include <cstdint>

#include "audio/audio.h"
#include "graphics/graphics.h"
#include "runtime/array.h"
#include "runtime/object.h"
#include "runtime/string.h"

// ---- Tunables ---------------------------------------------------------------
constexpr int OMBI_BANDS = 8;                // bands of a tune frame, 8 pixels each
constexpr int OMBI_CELL_VALUES = 8;          // values per cell: pitch, volume, effect, parameter, 4 unused
constexpr int OMBI_STEPS = 64;               // rows of a pattern
constexpr int OMBI_FRAME_PIXELS = 64;        // a tune frame is this many pixels square
constexpr int OMBI_FRAMES = 64;              // frames cut from a tune image
constexpr int OMBI_VARIANTS = 63;            // frames read: variants 0..62
constexpr int OMBI_FRAME_VALUES = OMBI_BANDS * OMBI_STEPS * OMBI_CELL_VALUES;  // 4096 values per variant
constexpr int OMBI_CELLS = OMBI_FRAMES * OMBI_FRAME_VALUES + 1;                // m_cells length
constexpr int OMBI_MUSIC_CHANNELS = 8;       // length of the per-channel tables
constexpr int OMBI_PLAYED_CHANNELS = 5;      // bands played: drums A and B, lead, accompaniment, bass
constexpr int OMBI_POOLS = 8;                // length of m_poolSizes and m_picks
constexpr int OMBI_KIT_SAMPLES = 8;          // drums per kit, numbered from 1

constexpr int OMBI_LOAD_STEPS = 70;          // loader steps of one tune
constexpr int OMBI_LOAD_STEPS_PER_FRAME = 3; // loader steps per rendered frame at most
constexpr int OMBI_FIRST_DECODE_STEP = 5;    // loader step that decodes frame 0
constexpr int OMBI_START_DELAY_MS = 100;     // first step after a start or a loader step
constexpr int OMBI_RESUME_DELAY_MS = 150;    // first step after a pause
constexpr int OMBI_FAR_FUTURE_MS = 123456;   // a due time further ahead than this counts as due now
constexpr int OMBI_TEMPO_MS = 8000;          // a step lasts OMBI_TEMPO_MS / tempo milliseconds, truncated

constexpr int OMBI_INITIAL_TEMPO = 95;
constexpr float OMBI_MUSIC_VOLUME = 0.5f;    // master factor on every channel volume
constexpr int OMBI_LOOP_FLAG = 1;            // play flags of tonal samples: loop
constexpr float OMBI_DRUM_PAN = 0.35f;       // kit A left by this, kit B right
constexpr float OMBI_DRUM_ENVELOPE = 4.0f;   // envelope after a drum hit
constexpr float OMBI_NOTE_ENVELOPE = 1.5f;   // envelope after a note or a volume
constexpr float OMBI_ENVELOPE_FALL = 0.1f;   // per step; below 1 it scales the level
constexpr int OMBI_VOLUME_LEVELS = 29;       // volume v gives level (v - 1) / 29; above 1 is silence
constexpr float OMBI_RATE_MAX = 4.0f;        // pitch slides stop here
constexpr float OMBI_RATE_MIN = 0.25f;
constexpr int OMBI_EARLY_ENTRY_ROW = 55;     // rows after this may follow the next section's mute

class c_OmbiPlayer : public Object {
 public:
  int m_topChannel = 0;           // music channel i plays on audio channel m_topChannel - 1 - i
  Array<int> m_poolSizes;         // [1] drum kits, [2] leads, [3] accompaniments, [4] basses
  int m_loadStep = 0;             // next loader step; 0 = nothing to load
  Array<int> m_picks;             // [1] kit of channel 0, [2] kit of channel 1, [3] lead, [4] accompaniment, [5] bass
  Array<c_Sound*> m_drumsA;       // drums 1..8 of channel 0
  Array<c_Sound*> m_drumsB;       // drums 1..8 of channel 1
  Array<c_Sound*> m_instruments;  // samples of channels 2, 3 and 4
  String m_tunePath;              // tune image loaded or loading
  c_Image* m_tuneImage = nullptr;
  Array<int> m_cells;             // value k of variant v, band b, row s at v*4096 + b*512 + s*8 + k
  Array<int> m_lastVariant;       // per band: highest variant holding a non-zero value
  int m_nextStepTime = 0;         // host milliseconds at which the next step is due
  int m_state = 0;                // 0 stopped, 2 playing
  int m_channelCount = OMBI_PLAYED_CHANNELS;
  Array<int> m_audioChannel;
  Array<int> m_sounding;          // 1 after a sample was started on the channel, 0 once stopped
  Array<int> m_variant;           // variant each channel reads
  int m_step = 0;                 // row of the pattern
  int m_patternsLeft = 0;         // in the current section
  Array<int> m_mute;              // 1 = silent in this section
  Array<int> m_earlyEntry;        // 1 = follows the next section's mute in the last 8 rows
  Array<int> m_muteNext;          // mute drawn for the next section
  float m_chordRatio = 0;         // rate factor of the current chord letter
  String m_chords;                // chord letters; the first is the current pattern's
  Array<float> m_rate;            // playback rate per channel
  Array<float> m_envelope;        // volume envelope per channel
  float m_musicVolume = OMBI_MUSIC_VOLUME;
  Array<float> m_lastVolume;      // last level per channel, before the master factor
  int m_loopFlag = OMBI_LOOP_FLAG;
  int m_tempo = OMBI_INITIAL_TEMPO;
  int m_tuneSeed = 0;
  int m_variation = 0;            // sections since the tune started

  c_OmbiPlayer();
  c_OmbiPlayer* m_new() { return this; }
  void mark() override;

  // Music on audio channels top-1 downwards, with the sizes of the four instrument pools.
  int p_Ombi_Init(int top, int kits, int leads, int accomps, int basses);
  // Starts "tunes/<name>.png"; a tune already loaded is not loaded again.
  int p_Ombi_StartTune(String name, int seed, int tempo);
  int p_Ombi_LoadChunk();
  // Per rendered frame: up to three loader steps, then the screen cleared black.
  int p_Ombi_Alive_R();
  // Random integer lo..hi from the framework's global seed.
  int p_Rand(float lo, float hi);

  // Per update tick.
  int p_Ombi_Alive_U(int paused, int musicOn);
  // Plays one step when one is due.
  int p_Ombi_MusicPlay();
  int p_Ombi_PlayNote(int channel, int pitch, int volume, int effect, int param);
  // Silences the channels; all = 1 also stops the tune.
  int p_Ombi_Stop(int all);
  String p_Ombi_GetChord(int n);
  float p_GetPitch(int n);
  float p_GetPitch_Alpha(int c);

 private:
  // Index in m_cells of value 0 of a cell.
  static int CellAt(int variant, int band, int step) {
    return variant * OMBI_FRAME_VALUES + (band * OMBI_STEPS + step) * OMBI_CELL_VALUES;
  }
  // What the section's seeds are made from.
  uint32_t SectionSeed() const;
  uint32_t ChannelSeed(int channel) const;
  void StopSounding();
  void LoadSample(int step);
  c_Image* LoadTuneImage();
  void DecodeFrame(int frame);
};
