// The host: the one object that owns the window and drives the program.
// VxGame keeps the platform-neutral state, the guarded delegate wrappers,
// files and saved state; VxGlfwGame adds the window, timing, input callbacks
// and the main loop; VxVorlixGame is the concrete class the entry point makes.
#pragma once
#include <bitset>
#include <cstdio>

#include "framework/key_codes.h"
#include "runtime/array.h"
#include "runtime/object.h"
#include "runtime/string.h"

// Incremented each time the host opens a window; a texture made under an
// earlier value died with its GL context.
extern int glfwGraphicsSeq;

struct GLFWgamepad;
struct VxCall;
class VxPlayer;
class VxReplay;

// Receiver of every call from the host; each operation does nothing by default.
struct VxGameDelegate : Object {
  virtual void StartGame() {}
  virtual void SuspendGame() {}
  virtual void ResumeGame() {}
  virtual void UpdateGame() {}
  virtual void RenderGame() {}
  virtual void KeyEvent(int event, int data) { (void)event, (void)data; }
  virtual void MouseEvent(int event, int data, float x, float y) { (void)event, (void)data, (void)x, (void)y; }
  virtual void TouchEvent(int event, int data, float x, float y) { (void)event, (void)data, (void)x, (void)y; }
  virtual void MotionEvent(int event, int data, float x, float y, float z) {
    (void)event, (void)data, (void)x, (void)y, (void)z;
  }
  virtual void DiscardGraphics() {}
};

// A display mode as the game sees it.
struct VxGlfwVideoMode : Object {
  int width = 0, height = 0, red = 0, green = 0, blue = 0;
};

class VxGame {
 public:
  static VxGame* _game;

  VxGame() = default;
  virtual ~VxGame() = default;

  virtual void SetDelegate(VxGameDelegate* delegate);
  virtual VxGameDelegate* Delegate();
  virtual void SetKeyboardEnabled(bool enabled);
  virtual bool KeyboardEnabled();
  virtual void SetUpdateRate(int hertz);
  virtual int UpdateRate();
  virtual bool Started();
  virtual bool Suspended();
  // The clock as the game reads it: while a recording or a replay is
  // attached, the value sampled for the call in progress.
  virtual int Millisecs();
  // The host's own millisecond clock, wrapping modulo 2^32.
  virtual int ClockMillisecs();
  virtual void GetDate(Array<int> date);
  virtual int SaveState(String state);
  virtual String LoadState();
  // Removes the temporary files of saves whose process was killed midway;
  // the state file itself is never touched.
  static void RemoveStaleSaves();
  // Opens descriptors 0, 1 and 2 on /dev/null where they are closed, and
  // lets writes to a pipe nobody reads fail instead of ending the process.
  // First thing in main, before anything opens a file.
  static void GuardStandardStreams();
  virtual String LoadString(String path);
  virtual bool PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz, Array<bool> buttons);
  // PollJoystick as the game reads it: while a recording or a replay is
  // attached, the pad it records or replays.
  bool ReadJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz, Array<bool> buttons);
  virtual void OpenUrl(String url);
  virtual void SetMouseVisible(bool visible);
  virtual String PathToFilePath(String path);
  virtual FILE* OpenFile(String path, String mode);
  virtual unsigned char* LoadData(String path, int* length);
  [[noreturn]] virtual void Die(ThrowableObject* ex);
  virtual void gc_collect();

  // The guarded wrappers: the only way anything reaches the delegate.
  virtual void StartGame();
  virtual void SuspendGame();
  virtual void ResumeGame();
  virtual void UpdateGame();
  virtual void RenderGame();
  virtual void KeyEvent(int event, int data);
  virtual void MouseEvent(int event, int data, float x, float y);
  virtual void TouchEvent(int event, int data, float x, float y);
  virtual void MotionEvent(int event, int data, float x, float y, float z);
  virtual void DiscardGraphics();

  // Attaches a recorder or a player (host/replay.h), or detaches it (null).
  void SetReplay(VxReplay* replay);
  // Whether the game has had a key-down for `key` and no key-up since.
  bool KeySentDown(int key) const;

 protected:
  // The two steps of SaveState that can fail once the new file is open; a
  // test replaces them to show that a failure leaves the old state whole.
  virtual size_t WriteBytes(FILE* file, const void* bytes, size_t count);
  virtual int ReplaceFile(const char* from, const char* to);

  VxGameDelegate* _delegate = nullptr;
  bool _keyboardEnabled = false;
  int _updateRate = 0;
  bool _started = false;
  bool _suspended = false;
  VxReplay* _replay = nullptr;

 private:
  // Runs one delegate call the way every wrapper must; `call` describes it to a replay.
  template <class Call>
  void Guarded(const VxCall& call, Call run);

  int _wrapperDepth = 0;  // wrapper calls in progress, counting those made from inside others
  std::bitset<KEY_CODES> _keysSentDown;
};

class VxGlfwGame : public VxGame {
 public:
  static VxGlfwGame* _glfwGame;

  void SetUpdateRate(int hertz) override;
  int ClockMillisecs() override;
  bool PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz, Array<bool> buttons) override;
  void OpenUrl(String url) override;
  void SetMouseVisible(bool visible) override;
  String PathToFilePath(String path) override;

  // Decodes an image file at its own channel count; the caller frees the bytes.
  virtual unsigned char* LoadImageData(String path, int* width, int* height, int* depth);
  // Decodes a sound file whole into 8- or 16-bit PCM; the caller frees it.
  virtual unsigned char* LoadAudioData(String path, int* length, int* channels, int* format, int* hertz);
  virtual void SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha, int depth, int stencil,
                             bool fullscreen);
  virtual void Run();
  // Instead of Run: feeds the player's calls to the wrappers; paced, at
  // their recorded times in a window, until the window closes.
  void Replay(VxPlayer& player, bool paced);
  // The loop's own account of the run, for people measuring the game: when
  // the environment variable KALVEXA_REPORT names a file, "update_ticks",
  // "frames_rendered", "run_seconds" and "average_fps" lines ("name value")
  // are written there. Main has it done on every orderly end.
  void WriteReport();
  // Adds the gamepad mappings of a database file beside the data folder and
  // of SDL_GAMECONTROLLERCONFIG to GLFW's own.
  void UpdateGamepadMappings();

  virtual VxGlfwVideoMode* GetGlfwDesktopMode();
  Array<VxGlfwVideoMode*> GetGlfwVideoModes();

  // The window-system callbacks, in GLFW 2 form; each calls the wrappers of
  // the one host object.
  static void OnKey(int glfwKey, int action);
  static void OnChar(int character, int action);
  static void OnMouseButton(int button, int action);
  static void OnMousePos(int x, int y);
  static int OnWindowClose();

 protected:
  // The main loop's only contact with the window system: the clock, the
  // window's state and the event pump, so that a test can drive the loop
  // with a fake clock and window.
  virtual double Time();
  virtual void Sleep(double seconds);
  virtual void PollEvents();
  virtual void WaitEvents();
  virtual int WindowParam(int param);
  // SetGlfwWindow's contact with the window system: the held keys, and the
  // window closed and opened again with the loop's settings and callbacks.
  virtual bool KeyHeld(int glfwKey);
  virtual void OpenWindow(int width, int height, int red, int green, int blue, int alpha, int depth, int stencil,
                          bool fullscreen);
  // PollJoystick's contact with the window system: a pad GLFW knows a
  // mapping for, in the gamepad layout; else any pad's raw axes (their count,
  // JOYSTICK_AXES read) and buttons (their count, 32 read). False when the
  // port holds no such pad.
  virtual bool GamepadState(int port, GLFWgamepad* state);
  virtual bool JoystickState(int port, int* axisCount, float* axes, int* buttonCount, unsigned char* buttons);

  bool _iconified = false;
  double _nextUpdate = 0;
  double _updatePeriod = 0;
  double _runStart = 0;
  int _updateTicks = 0;
  int _framesRendered = 0;
};

class VxVorlixGame : public VxGlfwGame {
 public:
  // The whole life of the process.
  static void Main(int argc, const char** argv);
};
