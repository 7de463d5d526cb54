// The sequencer's tunes: any bytes as a tune picture, decoded by the loader
// into the note cells of its variants, then played for a few sections.
#include <cstdlib>

#include "audio/audio.h"
#include "audio/audio_device.h"
#include "music/ombi_player.h"
#include "runtime/fatal.h"
#include "tools/fuzz/fuzz_host.h"

namespace {

constexpr int PLAYED_STEPS = 4 * OMBI_STEPS;  // rows: past the end of the first section
constexpr double FAR_AHEAD = 1e6;             // seconds: every step is due on this clock

bool StartAudio() {
  // OpenAL Soft's silent device: the instrument files are missing, the channels real.
  setenv("ALSOFT_DRIVERS", "null", 0);
  vx_audio_SetAudioDevice(new gxtkAudio());
  // Closed as the game closes it at its end.
  atexit(vx_orderly_end);
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzHost& host = vx_fuzz_case("tunes/fuzz.png", data, size);
  static bool audio = StartAudio();
  (void)audio;
  host.now = 0;
  // As the game makes and starts its player.
  c_OmbiPlayer* player = (new c_OmbiPlayer())->m_new();
  player->p_Ombi_Init(31, 4, 3, 3, 4);
  player->p_Ombi_StartTune(String("fuzz"), 0, 0);
  while (player->m_loadStep > 0) player->p_Ombi_LoadChunk();
  if (!player->m_tuneImage) return 0;
  host.now = FAR_AHEAD;
  for (int i = 0; i < PLAYED_STEPS; ++i) player->p_Ombi_Alive_U(0, 1);
  return 0;
}
