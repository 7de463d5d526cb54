// The sequencer without a window: a host whose clock the test sets and which
// notes every file it decodes, the graphics device over the GL recorder, the
// given audio device, and a player set up as the game does it (music on
// channels 30..26; 4 kits, 3 leads, 3 accompaniments, 4 basses).
#pragma once
#include <array>
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

// The real device, noting every clear.
struct ClearNotingGraphics : gxtkGraphics {
  std::vector<std::array<float, 3>> clears;
  void Cls(float r, float g, float b) override {
    clears.push_back({r, g, b});
    gxtkGraphics::Cls(r, g, b);
  }
};

struct SequencerRig {
  static constexpr int kTopChannel = 31;

  ClockHost host;
  GlRecorder gl;
  ClearNotingGraphics* graphics = new ClearNotingGraphics();
  c_OmbiPlayer* player = (new c_OmbiPlayer())->m_new();

  explicit SequencerRig(gxtkAudio* audio);
  ~SequencerRig();

  void Render();  // one rendered frame, the player's hook first
  int Load();     // renders until the loader has finished; the frames it took
  void Tick() { player->p_Ombi_Alive_U(0, 1); }
  void Step();  // moves the clock just past the next step's due time and ticks
};

// A tune picture made by a test: the blue of every pixel of frames 0..63.
class TunePicture {
 public:
  void SetBlue(int variant, int band, int step, int k, int blue);
  // Writes the frames `perRow` to a row in `rows` rows, `channels` bytes a pixel.
  void Write(const std::string& path, int perRow = 8, int rows = 8, int channels = 4) const;

 private:
  std::vector<unsigned char> blue_ = std::vector<unsigned char>(64 * 64 * 64);
};

// Points data/<folder> of the working folder ("tunes" or "inst") at the generated one.
void LinkGameData(const std::string& folder);
