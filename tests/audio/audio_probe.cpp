// The audio device in a process of its own:
//   audio_probe silent  every operation on a device that did not open
//   audio_probe tone    a tone beside a loop that it stops; closes the device
//                       so that its capture is complete
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "audio/audio_device.h"
#include "host/vx_game.h"
#include "tests/audio/sound_files.h"

namespace {

void Sleep(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

int Silent() {
  auto* audio = new gxtkAudio();
  auto* silent = new gxtkSample(ToneBuffer(440, 0.1));
  audio->PlaySample(silent, 0, 0);
  audio->PlaySample(silent, 32, 1);
  audio->SetVolume(0, 0.5f);
  audio->SetPan(0, 1);
  audio->SetRate(0, 2);
  audio->PauseChannel(32);
  audio->ResumeChannel(32);
  audio->Suspend();
  audio->Resume();
  int state = audio->ChannelState(0), music = audio->MusicState();
  silent->Discard();
  audio->PlaySample(new gxtkSample(), 1, 0);
  audio->StopChannel(1);
  audio->mark();
  VxGlfwGame host;
  VxGlfwGame::_glfwGame = &host;
  int musicResult = audio->PlayMusic(String("missing.ogg"), 1);
  printf("states %d %d buffer %u discarded %zu music %d\n", state, music, silent->buffer, gxtkAudio::discarded.size(),
         musicResult);
  return 0;
}

int Tone() {
  auto* audio = new gxtkAudio();
  if (!audio->alcContext) return 1;
  // The capture runs on after both have ended.
  audio->PlaySample(new gxtkSample(ToneBuffer(440, 0.6)), 0, 0);
  audio->PlaySample(new gxtkSample(ToneBuffer(1000, 0.5)), 1, 1);
  Sleep(0.25);
  audio->StopChannel(1);
  while (audio->ChannelState(0) != 0) Sleep(0.01);
  Sleep(0.3);
  alcMakeContextCurrent(nullptr);
  alcDestroyContext(audio->alcContext);
  alcCloseDevice(audio->alcDevice);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc == 2 && strcmp(argv[1], "silent") == 0) return Silent();
  if (argc == 2 && strcmp(argv[1], "tone") == 0) return Tone();
  fprintf(stderr, "usage: audio_probe silent|tone\n");
  return 2;
}
