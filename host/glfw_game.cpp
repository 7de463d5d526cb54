// The GLFW host: the window, the clock and the main loop with its fixed
// update rate, its catch-up limit and its suspension while the window is
// iconified or unfocused.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <vector>

#include "framework/game_event.h"
#include "host/glfw2.h"
#include "host/input_translation.h"
#include "host/vx_game.h"

VxGlfwGame* VxGlfwGame::_glfwGame = nullptr;
int glfwGraphicsSeq = 0;

namespace {

// ---- Tunables ------------------------------------------------------------------------
constexpr int WINDOW_WIDTH = 640;   // pixels, the window Run opens
constexpr int WINDOW_HEIGHT = 480;  // pixels
constexpr int WINDOW_COLOUR_BITS = 8;
constexpr const char* WINDOW_TITLE = "Kalvexa";
constexpr const char* WINDOW_INSTANCE = "kalvexa";  // WM_CLASS
constexpr const char* WINDOW_CLASS = "Kalvexa";
constexpr const char* ICON_PATH = "vorlix://data/icons/kalvexa-";  // + size + ".png"
constexpr int ICON_SIZES[] = {32, 64, 128, 256};
constexpr int MAX_CATCH_UP_TICKS = 4;  // update ticks per pass before the backlog is dropped
constexpr int MAX_VIDEO_MODES = 1024;
constexpr double MILLISECS_WRAP = 4294967296.0;  // 2^32: the clock's period
constexpr const char* REPORT_VARIABLE = "KALVEXA_REPORT";

VxGlfwVideoMode* NewVideoMode(const GLFWvidmode& mode) {
  VxGlfwVideoMode* copy = new VxGlfwVideoMode();
  copy->width = mode.Width;
  copy->height = mode.Height;
  copy->red = mode.RedBits;
  copy->green = mode.GreenBits;
  copy->blue = mode.BlueBits;
  return copy;
}

// Every size of the icon whose picture loads as RGBA; none at all leaves the
// window system's own.
void SetWindowIcon(VxGlfwGame& host) {
  GLFWicon icons[std::size(ICON_SIZES)];
  int count = 0;
  for (int size : ICON_SIZES) {
    int width = 0, height = 0, depth = 0;
    String path = String(ICON_PATH) + String(size) + String(".png");
    unsigned char* pixels = host.LoadImageData(path, &width, &height, &depth);
    if (pixels && depth == 4) {
      icons[count++] = GLFWicon{width, height, pixels};
    } else {
      free(pixels);
    }
  }
  glfwSetWindowIcon(icons, count);
  for (int i = 0; i < count; ++i) free(const_cast<unsigned char*>(icons[i].Pixels));
}

}  // namespace

void VxGlfwGame::SetUpdateRate(int hertz) {
  _updateRate = hertz;
  if (hertz) {
    _updatePeriod = 1.0 / hertz;
    _nextUpdate = Time() + _updatePeriod;
  }
}

// Whole milliseconds modulo 2^32 as a 32-bit two's-complement int, computed
// in doubles so that no time, however far off, overflows the conversion.
int VxGlfwGame::ClockMillisecs() {
  double ms = std::fmod(std::floor(Time() * 1000), MILLISECS_WRAP);
  if (ms < 0) ms += MILLISECS_WRAP;
  return ms >= 0 && ms < MILLISECS_WRAP ? static_cast<int32_t>(static_cast<uint32_t>(ms)) : 0;
}

void VxGlfwGame::SetMouseVisible(bool visible) {
  if (visible) {
    glfwEnable(GLFW_MOUSE_CURSOR);
  } else {
    glfwDisable(GLFW_MOUSE_CURSOR);
  }
}

void VxGlfwGame::SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha, int depth,
                               int stencil, bool fullscreen) {
  // No key may stay down in the game across the change of window. A
  // recorded or replayed game goes by the keys it was sent, which the
  // recording holds, not by the keyboard.
  for (int key = 0; key <= GLFW_KEY_LAST; ++key) {
    int code = TransKey(key);
    if (code && (_replay ? KeySentDown(code) : KeyHeld(key))) KeyEvent(c_VxGameEvent::KeyUp, code);
  }
  OpenWindow(width, height, red, green, blue, alpha, depth, stencil, fullscreen);
}

VxGlfwVideoMode* VxGlfwGame::GetGlfwDesktopMode() {
  GLFWvidmode mode;
  glfwGetDesktopMode(&mode);
  return NewVideoMode(mode);
}

Array<VxGlfwVideoMode*> VxGlfwGame::GetGlfwVideoModes() {
  std::vector<GLFWvidmode> modes(MAX_VIDEO_MODES);
  int count = glfwGetVideoModes(modes.data(), MAX_VIDEO_MODES);
  Array<VxGlfwVideoMode*> copies(count);
  for (int i = 0; i < count; ++i) gc_assign(copies[i], NewVideoMode(modes[i]));
  return copies;
}

void VxGlfwGame::Run() {
  SetGlfwWindow(WINDOW_WIDTH, WINDOW_HEIGHT, WINDOW_COLOUR_BITS, WINDOW_COLOUR_BITS, WINDOW_COLOUR_BITS, 0, 0, 0,
                false);
  _runStart = Time();
  StartGame();
  RenderGame();
  ++_framesRendered;

  for (;;) {
    PollEvents();
    if (!WindowParam(GLFW_OPENED)) return;

    if (WindowParam(GLFW_ICONIFIED)) {
      if (!_suspended) {
        _iconified = true;
        SuspendGame();
      }
    } else if (WindowParam(GLFW_ACTIVE)) {
      if (_suspended) {
        _iconified = false;
        ResumeGame();
        _nextUpdate = Time();  // no catch-up for the time spent suspended
      }
    } else if (!_suspended) {
      SuspendGame();
    }

    // No ticks: render on window events only (not at all while iconified).
    if (!_updateRate || _suspended) {
      if (!_iconified) {
        RenderGame();
        ++_framesRendered;
      }
      WaitEvents();
      continue;
    }

    double delay = _nextUpdate - Time();
    if (delay > 0) {
      Sleep(delay);
      continue;
    }

    bool caughtUp = false;
    for (int tick = 0; tick < MAX_CATCH_UP_TICKS && !caughtUp; ++tick) {
      _nextUpdate += _updatePeriod;
      UpdateGame();
      ++_updateTicks;
      caughtUp = !_updateRate || _nextUpdate - Time() > 0;
    }
    RenderGame();
    ++_framesRendered;
    // Still behind: the backlog is dropped rather than carried on.
    if (!caughtUp && _updateRate) _nextUpdate = Time();
  }
}

void VxGlfwGame::WriteReport() {
  const char* path = getenv(REPORT_VARIABLE);
  FILE* file = path ? fopen(path, "w") : nullptr;
  if (!file) return;
  double seconds = Time() - _runStart;
  fprintf(file, "update_ticks %d\nframes_rendered %d\nrun_seconds %.3f\naverage_fps %.2f\n", _updateTicks,
          _framesRendered, seconds, seconds > 0 ? _framesRendered / seconds : 0.0);
  fclose(file);
}

double VxGlfwGame::Time() { return glfwGetTime(); }
void VxGlfwGame::Sleep(double seconds) { glfwSleep(seconds); }
void VxGlfwGame::PollEvents() { glfwPollEvents(); }
void VxGlfwGame::WaitEvents() { glfwWaitEvents(); }
int VxGlfwGame::WindowParam(int param) { return glfwGetWindowParam(param); }
bool VxGlfwGame::KeyHeld(int glfwKey) { return glfwGetKey(glfwKey) == GLFW_PRESS; }

void VxGlfwGame::OpenWindow(int width, int height, int red, int green, int blue, int alpha, int depth, int stencil,
                            bool fullscreen) {
  GLFWvidmode desktop;
  glfwGetDesktopMode(&desktop);
  glfwCloseWindow();
  glfwOpenWindowHint(GLFW_WINDOW_NO_RESIZE, 0);
  glfwOpenWindowClassHint(WINDOW_INSTANCE, WINDOW_CLASS);
  glfwOpenWindow(width, height, red, green, blue, alpha, depth, stencil, fullscreen ? GLFW_FULLSCREEN : GLFW_WINDOW);
  if (!fullscreen) glfwSetWindowPos((desktop.Width - width) / 2, (desktop.Height - height) / 2);
  glfwSetWindowTitle(WINDOW_TITLE);
  SetWindowIcon(*this);
  ++glfwGraphicsSeq;

  glfwEnable(GLFW_KEY_REPEAT);
  // Events are handled only by the loop's own poll or wait, never inside a
  // buffer swap in the middle of rendering.
  glfwDisable(GLFW_AUTO_POLL_EVENTS);

  glfwSetKeyCallback(OnKey);
  glfwSetCharCallback(OnChar);
  glfwSetMouseButtonCallback(OnMouseButton);
  glfwSetMousePosCallback(OnMousePos);
  glfwSetWindowCloseCallback(OnWindowClose);
}
