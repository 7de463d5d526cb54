#include "host/headless_game.h"

#include <cstdlib>

#include "graphics/headless_gl.h"
#include "host/glfw2.h"
#include "host/input_translation.h"
#include "host/run_mode.h"
#include "runtime/fatal.h"
#include "runtime/startup.h"

void VxHeadlessGame::Main(int argc, const char** argv) {
  setenv("ALSOFT_DRIVERS", "null", 0);
  VxRunMode mode(argc, argv);
  gxtkGL = &gxtkGLHeadless;
  VxHeadlessGame* game = new VxHeadlessGame();
  VxGame::_game = game;
  VxGlfwGame::_glfwGame = game;
  try {
    vx_std_main(mode.Argc(), mode.Argv());
  } catch (ThrowableObject* ex) {
    game->Die(ex);
  }
  if (game->Delegate()) mode.Run(*game);
  vx_orderly_end();
}

VxGlfwVideoMode* VxHeadlessGame::GetGlfwDesktopMode() {
  auto* mode = new VxGlfwVideoMode();
  mode->width = desktopWidth;
  mode->height = desktopHeight;
  mode->red = mode->green = mode->blue = 8;
  return mode;
}

bool VxHeadlessGame::PollJoystick(int, Array<float>, Array<float>, Array<float>, Array<bool>) { return false; }

int VxHeadlessGame::WindowParam(int param) {
  if (param == GLFW_OPENED) return 1;
  if (param == GLFW_ACTIVE) return !_suspended;
  return 0;
}

bool VxHeadlessGame::KeyHeld(int glfwKey) { return KeySentDown(TransKey(glfwKey)); }

void VxHeadlessGame::OpenWindow(int width, int height, int, int, int, int, int, int, bool) {
  gxtkHeadless.windowWidth = gxtkHeadless.framebufferWidth = width;
  gxtkHeadless.windowHeight = gxtkHeadless.framebufferHeight = height;
  ++glfwGraphicsSeq;
}
