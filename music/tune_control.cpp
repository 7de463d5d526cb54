// The streamed tune: one Ogg file played once through the audio device's
// music channel, following the sound setting.
#include "game/core/my_app.h"

namespace {

// Sound settings 1 and 3 play music.
bool MusicOn(int soundMode) { return (soundMode & ~2) == 1; }

}  // namespace

int c_MyApp::p_PlayTune(String name, int loop) {
  String path = String("sfx/") + name + String(".ogg");
  if (musicStreaming != 0) p_StopTune();
  if (MusicOn(options[OPTION_SOUND])) {
    vx_audio_PlayMusic(path, loop);
    musicStreaming = 1;
  }
  return 0;
}

int c_MyApp::p_StopTune() {
  vx_audio_StopMusic();
  musicStreaming = 0;
  return 0;
}
