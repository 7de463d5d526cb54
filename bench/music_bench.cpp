// Sequencer costs: one step of a real tune (cell reads and the audio calls on
// OpenAL Soft's silent backend), and loading a tune, frame by frame.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "tests/music/sequencer_rig.h"
#include "tests/support/temp_folder.h"

namespace {

// One for the whole run: benchmarks run their function several times.
SequencerRig& Rig() {
  static TempFolder folder;
  static SequencerRig* rig = [] {
    setenv("ALSOFT_DRIVERS", "null", 1);
    LinkGameData("tunes");
    LinkGameData("inst");
    return new SequencerRig(new gxtkAudio());
  }();
  return *rig;
}

void BM_PlayOneStep(benchmark::State& state) {
  SequencerRig& rig = Rig();
  rig.player->p_Ombi_StartTune(String("Quenford/Tune_12"), 37171650, 100);
  rig.Load();
  for (auto _ : state) rig.Step();
}
BENCHMARK(BM_PlayOneStep);

// Items are rendered frames: the cost one frame of loading adds.
void BM_LoadTune(benchmark::State& state) {
  SequencerRig& rig = Rig();
  const char* tunes[2] = {"Retro/Tazzlebrook", "Retro/Ferrovale"};
  int loads = 0, frames = 0;
  for (auto _ : state) {
    rig.player->p_Ombi_StartTune(String(tunes[loads++ % 2]), 37171650, 100);
    frames += rig.Load();
  }
  state.SetItemsProcessed(frames);
}
BENCHMARK(BM_LoadTune)->Unit(benchmark::kMillisecond);

}  // namespace
