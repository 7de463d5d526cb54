// The host without a window system: not one GLFW call. Its clock is a value
// its driver sets, its window only a size (that of the headless GL table,
// graphics/headless_gl.h), it has no joypads and holds the keys the game was
// last sent down. `kalvexa --replay FILE --headless` replays on it as fast as
// it goes.
#pragma once
#include "host/vx_game.h"

class VxHeadlessGame : public VxGlfwGame {
 public:
  double now = 0;  // seconds
  int desktopWidth = 1280, desktopHeight = 1024;

  // The whole life of a headless process. OpenAL Soft plays on its silent
  // device unless ALSOFT_DRIVERS says otherwise.
  static void Main(int argc, const char** argv);

  VxGlfwVideoMode* GetGlfwDesktopMode() override;
  bool PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz, Array<bool> buttons) override;

 protected:
  double Time() override { return now; }
  void Sleep(double seconds) override { now += seconds; }
  void PollEvents() override {}
  void WaitEvents() override {}
  int WindowParam(int param) override;
  bool KeyHeld(int glfwKey) override;
  void OpenWindow(int width, int height, int red, int green, int blue, int alpha, int depth, int stencil,
                  bool fullscreen) override;
};
