// The GLFW 2.x interface of glfw2.h, kept over GLFW 3: one implicit window
// whose context is current once open, callbacks with GLFW 2 signatures, key
// codes in GLFW 2 numbering, and a close request that the program may refuse.
//
// The two interfaces collide by name. GLFW 3 declares C functions with the
// very names of several GLFW 2 calls (glfwInit, glfwPollEvents, glfwGetTime...)
// and macros that reuse GLFW 2 names with other values (GLFW_KEY_UP is 283 in
// GLFW 2 and 265 in GLFW 3; GLFW_ICONIFIED is a window attribute there). So the
// GLFW 2 values this file needs are copied into namespace v2 before GLFW 3 is
// seen, and GLFW 3 is included inside namespace g3: its functions keep their C
// linkage and stay the library's, ours are ordinary C++ functions of the
// global namespace, and every GLFW 3 call below is spelled g3::.
#include "host/glfw2.h"

// Pre-included at global scope so that GLFW 3's own includes of them, inside
// namespace g3, find them already seen.
#include <stddef.h>
#include <stdint.h>

#include <cerrno>
#include <ctime>
#include <string>

namespace v2 {
constexpr int PRESS = GLFW_PRESS;
constexpr int RELEASE = GLFW_RELEASE;
constexpr int ICONIFIED = GLFW_ICONIFIED;
constexpr int KEY_SPACE = GLFW_KEY_SPACE;
constexpr int KEY_ESC = GLFW_KEY_ESC;
constexpr int KEY_F1 = GLFW_KEY_F1;
constexpr int KEY_UP = GLFW_KEY_UP;
constexpr int KEY_DOWN = GLFW_KEY_DOWN;
constexpr int KEY_LEFT = GLFW_KEY_LEFT;
constexpr int KEY_RIGHT = GLFW_KEY_RIGHT;
constexpr int KEY_LSHIFT = GLFW_KEY_LSHIFT;
constexpr int KEY_RSHIFT = GLFW_KEY_RSHIFT;
constexpr int KEY_LCTRL = GLFW_KEY_LCTRL;
constexpr int KEY_RCTRL = GLFW_KEY_RCTRL;
constexpr int KEY_LALT = GLFW_KEY_LALT;
constexpr int KEY_RALT = GLFW_KEY_RALT;
constexpr int KEY_TAB = GLFW_KEY_TAB;
constexpr int KEY_ENTER = GLFW_KEY_ENTER;
constexpr int KEY_BACKSPACE = GLFW_KEY_BACKSPACE;
constexpr int KEY_INSERT = GLFW_KEY_INSERT;
constexpr int KEY_DEL = GLFW_KEY_DEL;
constexpr int KEY_PAGEUP = GLFW_KEY_PAGEUP;
constexpr int KEY_PAGEDOWN = GLFW_KEY_PAGEDOWN;
constexpr int KEY_HOME = GLFW_KEY_HOME;
constexpr int KEY_END = GLFW_KEY_END;
constexpr int KEY_KP_0 = GLFW_KEY_KP_0;
constexpr int KEY_KP_DIVIDE = GLFW_KEY_KP_DIVIDE;
constexpr int KEY_KP_MULTIPLY = GLFW_KEY_KP_MULTIPLY;
constexpr int KEY_KP_SUBTRACT = GLFW_KEY_KP_SUBTRACT;
constexpr int KEY_KP_ADD = GLFW_KEY_KP_ADD;
constexpr int KEY_KP_DECIMAL = GLFW_KEY_KP_DECIMAL;
constexpr int KEY_KP_EQUAL = GLFW_KEY_KP_EQUAL;
constexpr int KEY_KP_ENTER = GLFW_KEY_KP_ENTER;
constexpr int KEY_KP_NUM_LOCK = GLFW_KEY_KP_NUM_LOCK;
constexpr int KEY_CAPS_LOCK = GLFW_KEY_CAPS_LOCK;
constexpr int KEY_SCROLL_LOCK = GLFW_KEY_SCROLL_LOCK;
constexpr int KEY_PAUSE = GLFW_KEY_PAUSE;
constexpr int KEY_LSUPER = GLFW_KEY_LSUPER;
constexpr int KEY_RSUPER = GLFW_KEY_RSUPER;
constexpr int KEY_MENU = GLFW_KEY_MENU;
constexpr int KEY_LAST = GLFW_KEY_LAST;
}  // namespace v2

#define GLFW_INCLUDE_NONE
namespace g3 {
#include <GLFW/glfw3.h>
}  // namespace g3

namespace {

// ---- Tunables ------------------------------------------------------------------------
constexpr int DEFAULT_WIDTH = 640;   // pixels, when glfwOpenWindow is given no size
constexpr int DEFAULT_HEIGHT = 480;  // pixels
constexpr int JOYSTICKS = GLFW_JOYSTICK_LAST + 1;
constexpr int MAX_ICONS = 8;  // sizes of one icon

// glfw2.h's gamepad layout is GLFW 3's, so states are copied index for index.
static_assert(GLFW_PAD_A == GLFW_GAMEPAD_BUTTON_A && GLFW_PAD_B == GLFW_GAMEPAD_BUTTON_B &&
              GLFW_PAD_X == GLFW_GAMEPAD_BUTTON_X && GLFW_PAD_Y == GLFW_GAMEPAD_BUTTON_Y &&
              GLFW_PAD_LEFT_BUMPER == GLFW_GAMEPAD_BUTTON_LEFT_BUMPER &&
              GLFW_PAD_RIGHT_BUMPER == GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER && GLFW_PAD_BACK == GLFW_GAMEPAD_BUTTON_BACK &&
              GLFW_PAD_START == GLFW_GAMEPAD_BUTTON_START && GLFW_PAD_GUIDE == GLFW_GAMEPAD_BUTTON_GUIDE &&
              GLFW_PAD_LEFT_THUMB == GLFW_GAMEPAD_BUTTON_LEFT_THUMB &&
              GLFW_PAD_RIGHT_THUMB == GLFW_GAMEPAD_BUTTON_RIGHT_THUMB &&
              GLFW_PAD_DPAD_UP == GLFW_GAMEPAD_BUTTON_DPAD_UP &&
              GLFW_PAD_DPAD_RIGHT == GLFW_GAMEPAD_BUTTON_DPAD_RIGHT &&
              GLFW_PAD_DPAD_DOWN == GLFW_GAMEPAD_BUTTON_DPAD_DOWN &&
              GLFW_PAD_DPAD_LEFT == GLFW_GAMEPAD_BUTTON_DPAD_LEFT && GLFW_PAD_BUTTONS == GLFW_GAMEPAD_BUTTON_LAST + 1);
static_assert(GLFW_PAD_LEFT_X == GLFW_GAMEPAD_AXIS_LEFT_X && GLFW_PAD_LEFT_Y == GLFW_GAMEPAD_AXIS_LEFT_Y &&
              GLFW_PAD_RIGHT_X == GLFW_GAMEPAD_AXIS_RIGHT_X && GLFW_PAD_RIGHT_Y == GLFW_GAMEPAD_AXIS_RIGHT_Y &&
              GLFW_PAD_LEFT_TRIGGER == GLFW_GAMEPAD_AXIS_LEFT_TRIGGER &&
              GLFW_PAD_RIGHT_TRIGGER == GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER && GLFW_PAD_AXES == GLFW_GAMEPAD_AXIS_LAST + 1);

// ---- Key numbering -------------------------------------------------------------------
// Printable keys carry their ASCII codes in both interfaces; the named keys
// are paired here.
struct KeyPair {
  int glfw3, glfw2;
};

constexpr KeyPair kNamedKeys[] = {
    {GLFW_KEY_ESCAPE, v2::KEY_ESC},
    {GLFW_KEY_ENTER, v2::KEY_ENTER},
    {GLFW_KEY_TAB, v2::KEY_TAB},
    {GLFW_KEY_BACKSPACE, v2::KEY_BACKSPACE},
    {GLFW_KEY_INSERT, v2::KEY_INSERT},
    {GLFW_KEY_DELETE, v2::KEY_DEL},
    {GLFW_KEY_RIGHT, v2::KEY_RIGHT},
    {GLFW_KEY_LEFT, v2::KEY_LEFT},
    {GLFW_KEY_DOWN, v2::KEY_DOWN},
    {GLFW_KEY_UP, v2::KEY_UP},
    {GLFW_KEY_PAGE_UP, v2::KEY_PAGEUP},
    {GLFW_KEY_PAGE_DOWN, v2::KEY_PAGEDOWN},
    {GLFW_KEY_HOME, v2::KEY_HOME},
    {GLFW_KEY_END, v2::KEY_END},
    {GLFW_KEY_CAPS_LOCK, v2::KEY_CAPS_LOCK},
    {GLFW_KEY_SCROLL_LOCK, v2::KEY_SCROLL_LOCK},
    {GLFW_KEY_NUM_LOCK, v2::KEY_KP_NUM_LOCK},
    {GLFW_KEY_PAUSE, v2::KEY_PAUSE},
    {GLFW_KEY_KP_DECIMAL, v2::KEY_KP_DECIMAL},
    {GLFW_KEY_KP_DIVIDE, v2::KEY_KP_DIVIDE},
    {GLFW_KEY_KP_MULTIPLY, v2::KEY_KP_MULTIPLY},
    {GLFW_KEY_KP_SUBTRACT, v2::KEY_KP_SUBTRACT},
    {GLFW_KEY_KP_ADD, v2::KEY_KP_ADD},
    {GLFW_KEY_KP_ENTER, v2::KEY_KP_ENTER},
    {GLFW_KEY_KP_EQUAL, v2::KEY_KP_EQUAL},
    {GLFW_KEY_LEFT_SHIFT, v2::KEY_LSHIFT},
    {GLFW_KEY_LEFT_CONTROL, v2::KEY_LCTRL},
    {GLFW_KEY_LEFT_ALT, v2::KEY_LALT},
    {GLFW_KEY_LEFT_SUPER, v2::KEY_LSUPER},
    {GLFW_KEY_RIGHT_SHIFT, v2::KEY_RSHIFT},
    {GLFW_KEY_RIGHT_CONTROL, v2::KEY_RCTRL},
    {GLFW_KEY_RIGHT_ALT, v2::KEY_RALT},
    {GLFW_KEY_RIGHT_SUPER, v2::KEY_RSUPER},
    {GLFW_KEY_MENU, v2::KEY_MENU},
};
constexpr int FUNCTION_KEYS = 25;  // F1 .. F25 in both
constexpr int KEYPAD_DIGITS = 10;

// Both directions, 0 where the other interface has no such key.
struct KeyMaps {
  short to2[GLFW_KEY_LAST + 1];
  short to3[v2::KEY_LAST + 1];

  constexpr void Pair(int glfw3, int glfw2) {
    to2[glfw3] = static_cast<short>(glfw2);
    to3[glfw2] = static_cast<short>(glfw3);
  }
};

constexpr KeyMaps MakeKeyMaps() {
  KeyMaps maps{};
  for (int key = GLFW_KEY_SPACE; key <= GLFW_KEY_GRAVE_ACCENT; ++key) maps.Pair(key, key);
  for (int i = 0; i < FUNCTION_KEYS; ++i) maps.Pair(GLFW_KEY_F1 + i, v2::KEY_F1 + i);
  for (int i = 0; i < KEYPAD_DIGITS; ++i) maps.Pair(GLFW_KEY_KP_0 + i, v2::KEY_KP_0 + i);
  for (const KeyPair& pair : kNamedKeys) maps.Pair(pair.glfw3, pair.glfw2);
  return maps;
}

constexpr KeyMaps kKeys = MakeKeyMaps();
static_assert(kKeys.to2[GLFW_KEY_UP] == v2::KEY_UP && kKeys.to3[v2::KEY_KP_0 + 9] == GLFW_KEY_KP_9);

int ToGlfw2Key(int key) { return key >= 0 && key <= GLFW_KEY_LAST ? kKeys.to2[key] : 0; }
int ToGlfw3Key(int key) { return key >= 0 && key <= v2::KEY_LAST ? kKeys.to3[key] : 0; }

// ---- The one window and its GLFW 2 state ---------------------------------------------
// Cleared by every glfwOpenWindow, as GLFW 2's hints were.
struct Hints {
  bool noResize = false;
  std::string instance, className;  // WM_CLASS; GLFW 3 names it after the title without them
};
Hints hints;

struct Window {
  g3::GLFWwindow* handle = nullptr;

  // Reset by every glfwOpenWindow, as in GLFW 2.
  bool keyRepeat = false;
  bool autoPoll = true;
  bool cursorVisible = true;
  GLFWkeyfun onKey = nullptr;
  GLFWcharfun onChar = nullptr;
  GLFWmousebuttonfun onMouseButton = nullptr;
  GLFWmouseposfun onMousePos = nullptr;
  GLFWwindowclosefun onClose = nullptr;

  bool lastKeyRepeated = false;  // the character that follows a refused repeat is refused too
  bool closeAccepted = false;    // GLFW 3 must not destroy a window inside its own callback
};
Window window;

void ApplyCursor() {
  if (window.handle) {
    g3::glfwSetInputMode(window.handle, GLFW_CURSOR, window.cursorVisible ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_HIDDEN);
  }
}

void KeyCallback(g3::GLFWwindow*, int key, int, int action, int) {
  window.lastKeyRepeated = action == GLFW_REPEAT;
  if (window.lastKeyRepeated) {
    if (!window.keyRepeat) return;
    action = GLFW_PRESS;
  }
  int code = ToGlfw2Key(key);
  if (code && window.onKey) window.onKey(code, action == GLFW_PRESS ? v2::PRESS : v2::RELEASE);
}

void CharCallback(g3::GLFWwindow*, unsigned int character) {
  if (window.lastKeyRepeated && !window.keyRepeat) return;
  if (window.onChar) window.onChar(static_cast<int>(character), v2::PRESS);
}

void MouseButtonCallback(g3::GLFWwindow*, int button, int action, int) {
  if (window.onMouseButton) window.onMouseButton(button, action == GLFW_PRESS ? v2::PRESS : v2::RELEASE);
}

void CursorPosCallback(g3::GLFWwindow*, double x, double y) {
  if (window.onMousePos) window.onMousePos(static_cast<int>(x), static_cast<int>(y));
}

void CloseCallback(g3::GLFWwindow* handle) {
  if (!window.onClose || window.onClose() != 0) window.closeAccepted = true;
  g3::glfwSetWindowShouldClose(handle, GLFW_FALSE);
}

// A close the program accepted takes effect once GLFW 3 has left its callbacks.
void FinishEvents() {
  if (window.closeAccepted) glfwCloseWindow();
}

int ColourBits(int bits) { return bits > 0 ? bits : GLFW_DONT_CARE; }

bool ValidJoystick(int joy) { return joy >= 0 && joy < JOYSTICKS; }

}  // namespace

int glfwInit() { return g3::glfwInit() == GLFW_TRUE ? 1 : 0; }

void glfwTerminate() {
  g3::glfwTerminate();
  window.handle = nullptr;
}

int glfwOpenWindow(int width, int height, int redbits, int greenbits, int bluebits, int alphabits, int depthbits,
                   int stencilbits, int mode) {
  if (window.handle) return 0;
  // A missing size is 4:3 of the other one, or the default.
  if (width <= 0 && height <= 0) {
    width = DEFAULT_WIDTH;
    height = DEFAULT_HEIGHT;
  } else if (width <= 0) {
    width = height * 4 / 3;
  } else if (height <= 0) {
    height = width * 3 / 4;
  }

  g3::glfwDefaultWindowHints();
  g3::glfwWindowHint(GLFW_RESIZABLE, hints.noResize ? GLFW_FALSE : GLFW_TRUE);
  g3::glfwWindowHint(GLFW_RED_BITS, ColourBits(redbits));
  g3::glfwWindowHint(GLFW_GREEN_BITS, ColourBits(greenbits));
  g3::glfwWindowHint(GLFW_BLUE_BITS, ColourBits(bluebits));
  g3::glfwWindowHint(GLFW_ALPHA_BITS, alphabits);
  g3::glfwWindowHint(GLFW_DEPTH_BITS, depthbits);
  g3::glfwWindowHint(GLFW_STENCIL_BITS, stencilbits);
  // The renderer issues fixed-function GL 1.1 calls: the default request
  // (version 1.0, any profile) gets a compatibility context.
  g3::glfwWindowHint(GLFW_CLIENT_API, GLFW_OPENGL_API);
  g3::glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_ANY_PROFILE);
  g3::glfwWindowHintString(GLFW_X11_INSTANCE_NAME, hints.instance.c_str());
  g3::glfwWindowHintString(GLFW_X11_CLASS_NAME, hints.className.c_str());
  // GLFW 3 iconifies a full-screen window that loses the focus, and a window
  // manager moves the focus about while one window replaces another: the new
  // one would open iconified, out of reach of the keys.
  g3::glfwWindowHint(GLFW_AUTO_ICONIFY, GLFW_FALSE);
  hints = Hints{};

  g3::GLFWmonitor* monitor = mode == GLFW_FULLSCREEN ? g3::glfwGetPrimaryMonitor() : nullptr;
  g3::GLFWwindow* handle = g3::glfwCreateWindow(width, height, "", monitor, nullptr);
  if (!handle) return 0;
  // A new window takes the focus, as in GLFW 2; GLFW 3 gives it to windowed ones only.
  if (monitor) g3::glfwFocusWindow(handle);

  window = Window{};
  window.handle = handle;
  g3::glfwMakeContextCurrent(handle);
  g3::glfwSetKeyCallback(handle, KeyCallback);
  g3::glfwSetCharCallback(handle, CharCallback);
  g3::glfwSetMouseButtonCallback(handle, MouseButtonCallback);
  g3::glfwSetCursorPosCallback(handle, CursorPosCallback);
  g3::glfwSetWindowCloseCallback(handle, CloseCallback);
  return 1;
}

void glfwOpenWindowHint(int target, int hint) {
  if (target == GLFW_WINDOW_NO_RESIZE) hints.noResize = hint != 0;
}

void glfwOpenWindowClassHint(const char* instance, const char* className) {
  hints.instance = instance;
  hints.className = className;
}

void glfwCloseWindow() {
  if (window.handle) g3::glfwDestroyWindow(window.handle);
  window.handle = nullptr;
  window.closeAccepted = false;
}

void glfwSetWindowTitle(const char* title) {
  if (window.handle) g3::glfwSetWindowTitle(window.handle, title);
}

void glfwSetWindowIcon(const GLFWicon* icons, int count) {
  if (!window.handle) return;
  g3::GLFWimage images[MAX_ICONS];
  int n = count < MAX_ICONS ? count : MAX_ICONS;
  // GLFW 3 copies the pixels and never writes them.
  for (int i = 0; i < n; ++i)
    images[i] = {icons[i].Width, icons[i].Height, const_cast<unsigned char*>(icons[i].Pixels)};
  g3::glfwSetWindowIcon(window.handle, n, images);
}

void glfwGetWindowSize(int* width, int* height) {
  *width = *height = 0;
  if (window.handle) g3::glfwGetWindowSize(window.handle, width, height);
}

void glfwGetFramebufferSize(int* width, int* height) {
  *width = *height = 0;
  if (window.handle) g3::glfwGetFramebufferSize(window.handle, width, height);
}

void glfwSetWindowPos(int x, int y) {
  if (window.handle) g3::glfwSetWindowPos(window.handle, x, y);
}

int glfwGetWindowParam(int param) {
  if (param == GLFW_OPENED) return window.handle ? 1 : 0;
  if (!window.handle) return 0;
  if (param == GLFW_ACTIVE) return g3::glfwGetWindowAttrib(window.handle, GLFW_FOCUSED);
  if (param == v2::ICONIFIED) return g3::glfwGetWindowAttrib(window.handle, GLFW_ICONIFIED);
  return 0;
}

void glfwSwapBuffers() {
  if (!window.handle) return;
  g3::glfwSwapBuffers(window.handle);
  if (window.autoPoll) glfwPollEvents();
}

int glfwGetVideoModes(GLFWvidmode* list, int maxcount) {
  g3::GLFWmonitor* monitor = g3::glfwGetPrimaryMonitor();
  if (!monitor) return 0;
  int count = 0;
  const g3::GLFWvidmode* modes = g3::glfwGetVideoModes(monitor, &count);
  // GLFW 3 lists each size once per refresh rate; GLFW 2 listed it once.
  int kept = 0;
  for (int i = 0; i < count && kept < maxcount; ++i) {
    GLFWvidmode mode{modes[i].width, modes[i].height, modes[i].redBits, modes[i].blueBits, modes[i].greenBits};
    if (kept > 0) {
      const GLFWvidmode& last = list[kept - 1];
      if (last.Width == mode.Width && last.Height == mode.Height && last.RedBits == mode.RedBits &&
          last.GreenBits == mode.GreenBits && last.BlueBits == mode.BlueBits) {
        continue;
      }
    }
    list[kept++] = mode;
  }
  return kept;
}

void glfwGetDesktopMode(GLFWvidmode* mode) {
  *mode = GLFWvidmode{0, 0, 0, 0, 0};
  g3::GLFWmonitor* monitor = g3::glfwGetPrimaryMonitor();
  const g3::GLFWvidmode* current = monitor ? g3::glfwGetVideoMode(monitor) : nullptr;
  if (current) *mode = GLFWvidmode{current->width, current->height, current->redBits, current->blueBits, current->greenBits};
}

void glfwPollEvents() {
  g3::glfwPollEvents();
  FinishEvents();
}

void glfwWaitEvents() {
  // Without a window nothing could wake the wait.
  if (!window.handle) return;
  g3::glfwWaitEvents();
  FinishEvents();
}

int glfwGetKey(int key) {
  int key3 = ToGlfw3Key(key);
  if (!window.handle || !key3) return v2::RELEASE;
  return g3::glfwGetKey(window.handle, key3) == GLFW_PRESS ? v2::PRESS : v2::RELEASE;
}

int glfwGetMouseButton(int button) {
  if (!window.handle || button < 0 || button > GLFW_MOUSE_BUTTON_LAST) return v2::RELEASE;
  return g3::glfwGetMouseButton(window.handle, button) == GLFW_PRESS ? v2::PRESS : v2::RELEASE;
}

void glfwGetMousePos(int* x, int* y) {
  double fx = 0, fy = 0;
  if (window.handle) g3::glfwGetCursorPos(window.handle, &fx, &fy);
  *x = static_cast<int>(fx);
  *y = static_cast<int>(fy);
}

void glfwSetKeyCallback(GLFWkeyfun callback) { window.onKey = callback; }
void glfwSetCharCallback(GLFWcharfun callback) { window.onChar = callback; }
void glfwSetMouseButtonCallback(GLFWmousebuttonfun callback) { window.onMouseButton = callback; }
void glfwSetMousePosCallback(GLFWmouseposfun callback) { window.onMousePos = callback; }
void glfwSetWindowCloseCallback(GLFWwindowclosefun callback) { window.onClose = callback; }

int glfwGetJoystickParam(int joy, int param) {
  if (!ValidJoystick(joy) || !g3::glfwJoystickPresent(joy)) return 0;
  int count = 0;
  switch (param) {
    case GLFW_PRESENT:
      return 1;
    case GLFW_AXES:
      g3::glfwGetJoystickAxes(joy, &count);
      return count;
    case GLFW_BUTTONS:
      g3::glfwGetJoystickButtons(joy, &count);
      return count;
    default:
      return 0;
  }
}

int glfwGetJoystickPos(int joy, float* pos, int numaxes) {
  if (!ValidJoystick(joy)) return 0;
  int count = 0;
  const float* axes = g3::glfwGetJoystickAxes(joy, &count);
  if (!axes) return 0;
  int n = count < numaxes ? count : numaxes;
  for (int i = 0; i < n; ++i) pos[i] = axes[i];
  return n;
}

int glfwGetJoystickButtons(int joy, unsigned char* buttons, int numbuttons) {
  if (!ValidJoystick(joy)) return 0;
  int count = 0;
  const unsigned char* states = g3::glfwGetJoystickButtons(joy, &count);
  if (!states) return 0;
  int n = count < numbuttons ? count : numbuttons;
  for (int i = 0; i < n; ++i) buttons[i] = states[i] == GLFW_PRESS ? v2::PRESS : v2::RELEASE;
  return n;
}

int glfwGetGamepad(int joy, GLFWgamepad* state) {
  g3::GLFWgamepadstate pad;
  if (!ValidJoystick(joy) || !g3::glfwGetGamepadState(joy, &pad)) return 0;
  for (int i = 0; i < GLFW_PAD_BUTTONS; ++i) state->Buttons[i] = pad.buttons[i] == GLFW_PRESS ? v2::PRESS : v2::RELEASE;
  for (int i = 0; i < GLFW_PAD_AXES; ++i) state->Axes[i] = pad.axes[i];
  return 1;
}

int glfwUpdateGamepadMappings(const char* mappings) {
  return g3::glfwUpdateGamepadMappings(mappings) == GLFW_TRUE ? 1 : 0;
}

double glfwGetTime() { return g3::glfwGetTime(); }

void glfwSleep(double seconds) {
  if (!(seconds > 0)) return;
  timespec left;
  left.tv_sec = static_cast<time_t>(seconds);
  left.tv_nsec = static_cast<long>((seconds - static_cast<double>(left.tv_sec)) * 1e9);
  while (nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}

namespace {
void SetToggle(int token, bool on) {
  switch (token) {
    case GLFW_MOUSE_CURSOR:
      window.cursorVisible = on;
      ApplyCursor();
      break;
    case GLFW_KEY_REPEAT:
      window.keyRepeat = on;
      break;
    case GLFW_AUTO_POLL_EVENTS:
      window.autoPoll = on;
      break;
    default:
      break;
  }
}
}  // namespace

void glfwEnable(int token) { SetToggle(token, true); }
void glfwDisable(int token) { SetToggle(token, false); }
