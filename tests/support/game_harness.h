// The real game, headless. GameHarness starts the program the way the entry
// point does (the runtime's start-up, the one c_MyApp, the framework's game
// delegate and devices) under a host whose clock moves only when a test steps
// it, whose window is a recording GL call table of any size, and whose audio
// device records every call while OpenAL Soft's null backend plays it. It
// reads the generated data folder and keeps its state file in a temporary
// working folder.
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
#include <set>
#include <string>
#include <vector>

#include "game/core/my_app.h"
#include "graphics/gl_calls.h"
#include "host/vx_game.h"
#include "tests/support/audio_recorder.h"
#include "tests/support/gl_recorder.h"
#include "tests/support/temp_folder.h"

// Framework key codes the game tests use.
constexpr int KEY_BACKSPACE = 8, KEY_RETURN = 13, KEY_SHIFT = 16, KEY_CONTROL = 17, KEY_ESCAPE = 27, KEY_SPACE = 32;
constexpr int KEY_LEFT = 37, KEY_UP = 38, KEY_RIGHT = 39, KEY_DOWN = 40, KEY_DELETE = 46;
constexpr int KEY_F1 = 112, KEY_F2 = 113, KEY_F4 = 115, KEY_F11 = 122;

// One record of the draw list, read back.
struct DrawRecord {
  enum Kind { IMAGE, RECT, OVAL, OTHER } kind;
  int slot;  // image records: the image slot
  float x, y, rotation, sizeX, sizeY, frame, alpha, red, green, blue;
  int blend;
};

struct HarnessOptions {
  int width = 640, height = 480;  // the window
  // The data folder the game reads; empty for the generated one.
  std::string dataFolder;
  // The state file at start-up; none when empty.
  std::string state;
  // Step through the loader to the title screen before the test begins.
  bool load = true;
  // Draw into a real GLFW window on the display (real GL) instead of the
  // recording call table.
  bool realWindow = false;
  // The program's arguments after its name ("--sequencer").
  std::vector<std::string> arguments;
};

// The host: a fake clock, a window that is only a size, scripted joypads.
class HarnessHost : public VxGlfwGame {
 public:
  double now = 100;                // seconds
  GlRecorder* recorder = nullptr;  // the window when it is not a real one
  bool fullscreenWindow = false;
  int windowsOpened = 0;
  int desktopWidth = 1280, desktopHeight = 1024;
  std::set<int> keysDown;  // framework key codes the test holds
  bool failSaves = false;  // the state file cannot be replaced

  struct Pad {
    bool present = false;
    float x[2] = {}, y[2] = {};  // sticks 0 and 1 as the host reports them
    bool buttons[32] = {};
  } pads[4];

  double Time() override { return now; }
  void Sleep(double seconds) override { now += seconds; }
  void PollEvents() override {}
  void WaitEvents() override {}
  int WindowParam(int param) override;
  VxGlfwVideoMode* GetGlfwDesktopMode() override;
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
  std::unique_ptr<GlRecorder> gl;  // none in a real window

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
  void TouchMove(int finger, float x, float y);
  void TouchUp(int finger);
  void PadButton(int pad, int button, bool down);
  void PadStick(int pad, int stick, float x, float y);
  void LoseFocus();
  void RegainFocus();
  // The window's new size; the next render sees it.
  void Resize(int width, int height);

  // ---- What the game produced ------------------------------------------------------------------
  std::vector<DrawRecord> Records() const;
  std::vector<DrawRecord> Images(int slot) const;
  // The characters of the text drawn this tick, in order; a gap in a line
  // (spaces are not drawn) reads as one space, a new line or any record that
  // is not a glyph as a line break.
  std::string Text() const;
  // The sound slot a PlaySample call started, from the file its sample came from; -1 for others.
  int SoundSlot(const AudioCall& call) const;
  // The sound slots started on effect channels, in order.
  std::vector<int> SoundsPlayed() const;
  // The state file as it is on disk now ("" when there is none).
  std::string StateFile() const;

  // Real window only: runs `draw` inside one frame of the graphics device and
  // reads the back buffer before the swap, rows top to bottom as 0xAARRGGBB.
  std::vector<uint32_t> ReadFrame(const std::function<void()>& draw);

  float WindowX(float x) const;
  float WindowY(float y) const;

 private:
  TempFolder folder_;
  bool realWindow_;
  std::vector<std::string> arguments_;
  std::vector<const char*> argv_;  // the runtime keeps pointers to these
};
