// music_probe NAME SECONDS [BAND]: plays a tune of the working folder's data in
// real time on OpenAL Soft's configured device, then closes it so a capture is
// complete. With BAND, that music channel alone is heard for the first section.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "tests/music/sequencer_rig.h"
#include "tests/support/audio_recorder.h"

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    fprintf(stderr, "usage: music_probe NAME SECONDS [BAND]\n");
    return 2;
  }
  auto* audio = new RecordingAudio();
  if (!audio->alcContext) return 1;
  SequencerRig rig(audio);
  rig.host.realTime = true;
  rig.player->p_Ombi_StartTune(String(argv[1]), 37171650, 100);
  rig.Load();
  for (int i = 0; argc == 4 && i < OMBI_PLAYED_CHANNELS; ++i) {
    rig.player->m_mute[i] = rig.player->m_muteNext[i] = i != atoi(argv[3]);
    rig.player->m_earlyEntry[i] = 0;
  }

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
