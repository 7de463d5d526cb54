// The streamed tune: one Ogg file played once through the audio device's
// music channel, following the sound setting.
#include "game/core/my_app.h"

namespace {

// The sequencer's tune of each game mode, all started with one seed and tempo.
constexpr const char* kModeTunes[] = {"Quenford/Tune_12", "Retro/Tazzlebrook", "Retro/Ferrovale"};
constexpr int TUNE_SEED = 37171650;
constexpr int TUNE_TEMPO = 100;

String TunePath(const String& name) { return String("sfx/") + name + String(".ogg"); }

}  // namespace

bool c_MyApp::MusicOn() { return (options[OPTION_SOUND] & ~2) == 1; }

void c_MyApp::StartSequencerTune() {
  if (gameMode >= 1 && gameMode <= 3) music->p_Ombi_StartTune(String(kModeTunes[gameMode - 1]), TUNE_SEED, TUNE_TEMPO);
}

int c_MyApp::p_PlayTune(String name, int loop) {
  if (musicStreaming != 0) p_StopTune();
  if (MusicOn()) {
    vx_audio_PlayMusic(TunePath(name), loop);
    musicStreaming = 1;
  }
  return 0;
}

int c_MyApp::p_PrepareTune(String name) {
  vx_audio_PrepareMusic(TunePath(name));
  return 0;
}

int c_MyApp::p_StopTune() {
  vx_audio_StopMusic();
  musicStreaming = 0;
  return 0;
}
