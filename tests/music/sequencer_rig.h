// The sequencer without a window: a host whose clock the test sets and which
// notes every file it decodes, the graphics device over the GL recorder, the
// given audio device, and a player set up as the game does it (music on
// channels 30..26; 4 kits, 3 leads, 3 accompaniments, 4 basses).
#pragma once
#include <string>
#include <vector>

#include "graphics/graphics_device.h"
#include "host/vx_game.h"
#include "music/ombi_player.h"
#include "tests/support/gl_recorder.h"

struct ClockHost : VxGlfwGame {
  int now = 5000;                    // milliseconds
  bool realTime = false;             // the process's own clock instead of `now`
  std::vector<std::string> decoded;  // every picture and sound path asked for, in order

  int Millisecs() override;
  unsigned char* LoadImageData(String path, int* width, int* height, int* depth) override;
  unsigned char* LoadAudioData(String path, int* length, int* channels, int* format, int* hertz) override;
};

struct SequencerRig {
  ClockHost host;
  GlRecorder gl;
  c_OmbiPlayer* player = nullptr;

  explicit SequencerRig(gxtkAudio* audio);
  ~SequencerRig();

  c_OmbiPlayer* NewPlayer();  // as the game makes it
  void Render();              // one rendered frame, the player's hook first
  int Load();                 // renders until the loader has finished; the frames it took
  void Tick() { player->p_Ombi_Alive_U(0, 1); }
  void Step();  // moves the clock just past the next step's due time and ticks
};

// Points data/<folder> of the working folder ("tunes" or "inst") at the generated one.
void LinkGameData(const std::string& folder);
