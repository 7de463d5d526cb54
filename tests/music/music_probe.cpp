// music_probe NAME SECONDS: plays a tune of the working folder's data in real
// time on OpenAL Soft's configured device, then closes it so a capture is complete.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "tests/music/sequencer_rig.h"
#include "tests/support/audio_recorder.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: music_probe NAME SECONDS\n");
    return 2;
  }
  auto* audio = new RecordingAudio();
  if (!audio->alcContext) return 1;
  SequencerRig rig(audio);
  rig.host.realTime = true;
  rig.player->p_Ombi_StartTune(String(argv[1]), 37171650, 100);
  rig.Load();

  using Clock = std::chrono::steady_clock;
  auto tick = std::chrono::microseconds(1000000 / 60);
  auto end = Clock::now() + std::chrono::duration<double>(atof(argv[2]));
  for (auto next = Clock::now(); next < end; next += tick) {
    rig.Tick();
    std::this_thread::sleep_until(next + tick);
  }
  rig.player->p_Ombi_Stop(1);
  printf("played %d samples\n", audio->Count("PlaySample"));
  alcMakeContextCurrent(nullptr);
  alcDestroyContext(audio->alcContext);
  alcCloseDevice(audio->alcDevice);
  return 0;
}
