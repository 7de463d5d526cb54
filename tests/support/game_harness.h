// The real game started as the entry point does, on the headless host whose clock moves only
// when a test steps it: a recording GL table for a window, scripted joypads, an audio device
// that records every call while OpenAL Soft's null backend plays, the generated data, and
// the state file in a temporary folder. A test reads like play: Press(KEY_RETURN), Step(2).
#pragma once
#include <functional>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "framework/game_event.h"
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
constexpr int KEY_F2 = 113, KEY_F4 = 115;

// Values compared in one expectation.
using Ints = std::vector<int>;
using Floats = std::vector<float>;

// One record of the draw list: kind is an image slot, VX_NONE for a rectangle or VX_OVAL.
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
  int width, height;                   // the window
  bool load;                           // step through the loader to the title first
  std::string state;                   // the state file at start-up; none when empty
  std::string dataFolder;              // empty for the generated data
  std::vector<std::string> arguments;  // after the program's name ("--sequencer")
  std::string record;                  // a file the run is recorded into (host/replay.h); none when empty
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

  // Each tick: the clock moves 1/60 s, then one update and one render, as the host's loop does.
  void Step(int ticks = 1) {
    for (int i = 0; i < ticks; ++i) host->now += TICK, Update(), Render();
  }
  void Update() { host->UpdateGame(); }
  void Render() { host->RenderGame(); }
  void FinishLoading() {
    for (int ticks = 0; app->loadStep != 0 && ticks < 100; ++ticks) Step();
  }

  // Input, through the host's event wrappers.
  void KeyDown(int key) { host->keysDown.insert(key), host->KeyEvent(c_VxGameEvent::KeyDown, key); }
  void KeyUp(int key) { host->keysDown.erase(key), host->KeyEvent(c_VxGameEvent::KeyUp, key); }
  void Hold(int key, int ticks) { KeyDown(key), Step(ticks), KeyUp(key); }
  // Down before the next tick and up after it: one tick sees the key held and hit.
  void Press(int key) { Hold(key, 1); }
  // A press, then one tick with every key up so that the screens' key latch lets go; `times` over.
  void Tap(int key, int times = 1) {
    for (int i = 0; i < times; ++i) Press(key), Step();
  }
  void Type(int character) { host->KeyEvent(c_VxGameEvent::KeyChar, character); }
  // Pointer positions are virtual units, turned into window pixels at the current scale.
  void MouseMove(float x, float y);
  void MouseDown(float x, float y);
  void MouseUp() { host->MouseEvent(c_VxGameEvent::MouseUp, 0, 0, 0); }
  void Click(float x, float y) { MouseDown(x, y), Step(), MouseUp(); }
  void TouchDown(int finger, float x, float y);
  void TouchUp(int finger) { host->TouchEvent(c_VxGameEvent::TouchUp, finger, 0, 0); }
  void PadButton(int pad, int button, bool down) {
    host->pads[pad].present = true, host->pads[pad].buttons[button] = down;
  }
  void PadStick(int pad, int stick, float x, float y) {
    host->pads[pad].present = true, host->pads[pad].x[stick] = x, host->pads[pad].y[stick] = y;
  }
  void Resize(int width, int height) { gl->SetWindowSize(width, height); }  // the next render sees it
  // The bot's move for the next tick, on the first joypad.
  void Play(PlayBot& bot) {
    bot.Act();
    for (int stick = 0; stick < 2; ++stick) PadStick(0, stick, bot.stickX[stick], bot.stickY[stick]);
  }
  // Runs `act`; true when the program ended in order (caught where it would exit) in it.
  bool Ends(const std::function<void()>& act);

  // What the game produced.
  std::vector<DrawRecord> Records() const;
  std::vector<DrawRecord> Images(int slot) const;
  // The text drawn this tick: a gap in a line reads as a space, a new line or non-glyph as a break.
  std::string Text() const;
  bool Shows(const std::string& text) const { return Text().find(text) != std::string::npos; }
  std::vector<Sound> SoundsPlayed() const;  // the effects started, in order
  std::string StateFile() const;            // as it is on disk now ("" when there is none)

 private:
  float WindowX(float x) const;
  float WindowY(float y) const;
  TempFolder folder_;
  std::vector<std::string> arguments_;
  std::vector<const char*> argv_;  // the runtime keeps pointers to these
};
