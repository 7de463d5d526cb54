// The real game, headless. GameHarness starts the program the way the entry
// point does (the runtime's start-up, the one c_MyApp, the framework's game
// delegate and devices) on the program's headless host, whose clock moves
// only when a test steps it, with a window that is a recording GL call table
// of any size, scripted joypads, and an audio device that records every call
// while OpenAL Soft's null backend plays it. It reads the generated data
// folder and keeps its state file in a temporary working folder.
//
// A test reads like play: press Return, step two ticks, expect screenMode 11.
//
//   GameHarness game;                    // loaded, on the title screen
//   game.Press(KEY_RETURN);
//   game.Step(2);
//   EXPECT_EQ(game.app->screenMode, 11);
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "game/core/my_app.h"
#include "graphics/gl_calls.h"
#include "host/headless_game.h"
#include "host/replay.h"
#include "tests/support/audio_recorder.h"
#include "tests/support/gl_recorder.h"
#include "tests/support/temp_folder.h"
#include "tools/playbot/play_bot.h"

// Framework key codes the game tests use.
constexpr int KEY_BACKSPACE = 8, KEY_RETURN = 13, KEY_SHIFT = 16, KEY_CONTROL = 17, KEY_ESCAPE = 27, KEY_SPACE = 32;
constexpr int KEY_LEFT = 37, KEY_UP = 38, KEY_RIGHT = 39, KEY_DOWN = 40, KEY_DELETE = 46, KEY_TILDE = 192;
constexpr int KEY_F1 = 112, KEY_F2 = 113, KEY_F4 = 115, KEY_F11 = 122;

// Values compared in one expectation: EXPECT_EQ((Ints{app.lives, app.level}), (Ints{3, 1})).
using Ints = std::vector<int>;
using Floats = std::vector<float>;

// One record of the draw list as the game lays it out: kind is an image
// slot, VX_NONE for a rectangle or VX_OVAL for an oval.
struct DrawRecord {
  float kind, x, y, rotation, sizeX, sizeY, frame, alpha, unused8, unused9, red, green, blue, blend, unused14;
};
static_assert(sizeof(DrawRecord) == DRAW_RECORD_FLOATS * sizeof(float), "one record of the draw list");

// An effect started: its sound slot, rate and volume.
struct Sound {
  int slot;
  float rate, volume;
};
inline bool operator==(const Sound& a, const Sound& b) {
  return a.slot == b.slot && a.rate == b.rate && a.volume == b.volume;
}
inline void PrintTo(const Sound& s, std::ostream* out) {
  *out << "sound " << s.slot << " x" << s.rate << " v" << s.volume;
}

struct HarnessOptions {
  HarnessOptions(int width = 640, int height = 480, bool load = true, std::string state = "")
      : width(width), height(height), load(load), state(std::move(state)) {}
  int width, height;  // the window
  // Step through the loader to the title screen before the test begins.
  bool load;
  // The state file at start-up; none when empty.
  std::string state;
  // The data folder the game reads; empty for the generated one.
  std::string dataFolder;
  // The program's arguments after its name ("--sequencer").
  std::vector<std::string> arguments;
  // A file the run is recorded into from its start (host/replay.h); none when empty.
  std::string record;
};
inline HarnessOptions Unloaded() { return {640, 480, false}; }

class GameHarness;
// Starts a game of `mode` from `seed`, as the title does: state 11, one tick.
void StartPlay(GameHarness& game, int mode, unsigned seed);

class HarnessHost : public VxHeadlessGame {
 public:
  HarnessHost() { now = 100; }
  GlRecorder* recorder = nullptr;  // the window
  std::set<int> keysDown;          // framework key codes the test holds
  bool failSaves = false;          // the state file cannot be replaced

  struct Pad {
    bool present = false;
    float x[2] = {}, y[2] = {};  // sticks 0 and 1 as the host reports them
    bool buttons[32] = {};
  } pads[4];

  bool PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz, Array<bool> buttons) override;

 protected:
  int ReplaceFile(const char* from, const char* to) override;
  bool KeyHeld(int glfwKey) override;
  void OpenWindow(int width, int height, int red, int green, int blue, int alpha, int depth, int stencil,
                  bool fullscreen) override;
};

class GameHarness {
 public:
  static constexpr double TICK = 1.0 / 60;

  explicit GameHarness(HarnessOptions options = HarnessOptions());
  ~GameHarness();
  GameHarness(const GameHarness&) = delete;
  GameHarness& operator=(const GameHarness&) = delete;

  c_MyApp* app = nullptr;
  RecordingAudio* audio = nullptr;
  HarnessHost* host = nullptr;
  std::unique_ptr<VxRecorder> recording;  // when the options name a file
  std::unique_ptr<GlRecorder> gl;

  // ---- Time ----------------------------------------------------------------------------
  // Each tick: the clock moves 1/60 s, then one update and one render, as the host's loop does.
  void Step(int ticks = 1);
  void Update();
  void Render();
  // Steps until the loader is done; the number of ticks it took.
  int FinishLoading();

  // ---- Input, through the host's event wrappers ------------------------------------------
  void KeyDown(int key);
  void KeyUp(int key);
  // Down before the next tick and up after it: one tick sees the key held and hit.
  void Press(int key);
  // A press, then one tick with every key up, so that the screens' key latch
  // lets go and the next press is a new one; `times` over.
  void Tap(int key, int times = 1);
  void Type(int character);
  // Pointer positions are virtual units, turned into window pixels at the current scale.
  void MouseMove(float x, float y);
  void MouseDown(float x, float y);
  void MouseUp();
  void Click(float x, float y);  // down, one tick, up
  void TouchDown(int finger, float x, float y);
  void TouchUp(int finger);
  void PadButton(int pad, int button, bool down);
  void PadStick(int pad, int stick, float x, float y);
  // The window's new size; the next render sees it.
  void Resize(int width, int height);
  // The bot's move for the next tick, on the first joypad.
  void Play(PlayBot& bot);
  // Runs `act`; true when the program ended in order in it, after saving its
  // state. The end is caught where the program would exit; keys held are let go.
  bool Ends(const std::function<void()>& act);

  // ---- What the game produced ------------------------------------------------------------------
  std::vector<DrawRecord> Records() const;
  std::vector<DrawRecord> Images(int slot) const;
  // The characters of the text drawn this tick, in order; a gap in a line
  // (spaces are not drawn) reads as one space, a new line or any record that
  // is not a glyph as a line break.
  std::string Text() const;
  bool Shows(const std::string& text) const { return Text().find(text) != std::string::npos; }
  // The effects started, in order.
  std::vector<Sound> SoundsPlayed() const;
  // The data file the picture of an image slot was decoded from.
  std::string ImageFile(int slot) const;
  // The state file as it is on disk now ("" when there is none).
  std::string StateFile() const;

 private:
  float WindowX(float x) const;
  float WindowY(float y) const;

  TempFolder folder_;
  std::vector<std::string> arguments_;
  std::vector<const char*> argv_;  // the runtime keeps pointers to these
};
