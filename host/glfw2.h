// The windowing interface the host is written against: the GLFW 2.x calls,
// constants, key numbering and semantics, provided by our own layer over
// GLFW 3 (glfw2.cpp, the only file that includes GLFW 3). One window at a
// time, as in GLFW 2: every call acts on it.
#pragma once

// ---- Open modes, window hints and parameters ---------------------------------
constexpr int GLFW_WINDOW = 0x00010001;
constexpr int GLFW_FULLSCREEN = 0x00010002;

constexpr int GLFW_OPENED = 0x00020001;
constexpr int GLFW_ACTIVE = 0x00020002;
constexpr int GLFW_ICONIFIED = 0x00020003;
constexpr int GLFW_WINDOW_NO_RESIZE = 0x00020012;

// ---- glfwEnable / glfwDisable -------------------------------------------------------
constexpr int GLFW_MOUSE_CURSOR = 0x00030001;
constexpr int GLFW_KEY_REPEAT = 0x00030005;
constexpr int GLFW_AUTO_POLL_EVENTS = 0x00030006;

// ---- Joystick parameters -------------------------------------------------------------
constexpr int GLFW_PRESENT = 0x00050001;
constexpr int GLFW_AXES = 0x00050002;
constexpr int GLFW_BUTTONS = 0x00050003;

// ---- Actions ----------------------------------------------------------------------------
constexpr int GLFW_RELEASE = 0;
constexpr int GLFW_PRESS = 1;

// ---- Keys: printable keys are their upper-case ASCII codes; the rest follow -------------
constexpr int GLFW_KEY_UNKNOWN = -1;
constexpr int GLFW_KEY_SPACE = 32;
constexpr int GLFW_KEY_SPECIAL = 256;
constexpr int GLFW_KEY_ESC = 257;
constexpr int GLFW_KEY_F1 = 258;   // F1 .. F25 = 258 .. 282
constexpr int GLFW_KEY_F25 = 282;
constexpr int GLFW_KEY_UP = 283;
constexpr int GLFW_KEY_DOWN = 284;
constexpr int GLFW_KEY_LEFT = 285;
constexpr int GLFW_KEY_RIGHT = 286;
constexpr int GLFW_KEY_LSHIFT = 287;
constexpr int GLFW_KEY_RSHIFT = 288;
constexpr int GLFW_KEY_LCTRL = 289;
constexpr int GLFW_KEY_RCTRL = 290;
constexpr int GLFW_KEY_LALT = 291;
constexpr int GLFW_KEY_RALT = 292;
constexpr int GLFW_KEY_TAB = 293;
constexpr int GLFW_KEY_ENTER = 294;
constexpr int GLFW_KEY_BACKSPACE = 295;
constexpr int GLFW_KEY_INSERT = 296;
constexpr int GLFW_KEY_DEL = 297;
constexpr int GLFW_KEY_PAGEUP = 298;
constexpr int GLFW_KEY_PAGEDOWN = 299;
constexpr int GLFW_KEY_HOME = 300;
constexpr int GLFW_KEY_END = 301;
constexpr int GLFW_KEY_KP_0 = 302;  // keypad 0 .. 9 = 302 .. 311
constexpr int GLFW_KEY_KP_DIVIDE = 312;
constexpr int GLFW_KEY_KP_MULTIPLY = 313;
constexpr int GLFW_KEY_KP_SUBTRACT = 314;
constexpr int GLFW_KEY_KP_ADD = 315;
constexpr int GLFW_KEY_KP_DECIMAL = 316;
constexpr int GLFW_KEY_KP_EQUAL = 317;
constexpr int GLFW_KEY_KP_ENTER = 318;
constexpr int GLFW_KEY_KP_NUM_LOCK = 319;
constexpr int GLFW_KEY_CAPS_LOCK = 320;
constexpr int GLFW_KEY_SCROLL_LOCK = 321;
constexpr int GLFW_KEY_PAUSE = 322;
constexpr int GLFW_KEY_LSUPER = 323;
constexpr int GLFW_KEY_RSUPER = 324;
constexpr int GLFW_KEY_MENU = 325;
constexpr int GLFW_KEY_LAST = GLFW_KEY_MENU;

constexpr int GLFW_MOUSE_BUTTON_LEFT = 0;
constexpr int GLFW_MOUSE_BUTTON_RIGHT = 1;
constexpr int GLFW_MOUSE_BUTTON_MIDDLE = 2;

// ---- Gamepads (not in GLFW 2): GLFW 3's layout for a pad it knows a mapping for ----------
constexpr int GLFW_PAD_A = 0;
constexpr int GLFW_PAD_B = 1;
constexpr int GLFW_PAD_X = 2;
constexpr int GLFW_PAD_Y = 3;
constexpr int GLFW_PAD_LEFT_BUMPER = 4;
constexpr int GLFW_PAD_RIGHT_BUMPER = 5;
constexpr int GLFW_PAD_BACK = 6;
constexpr int GLFW_PAD_START = 7;
constexpr int GLFW_PAD_GUIDE = 8;
constexpr int GLFW_PAD_LEFT_THUMB = 9;
constexpr int GLFW_PAD_RIGHT_THUMB = 10;
constexpr int GLFW_PAD_DPAD_UP = 11;
constexpr int GLFW_PAD_DPAD_RIGHT = 12;
constexpr int GLFW_PAD_DPAD_DOWN = 13;
constexpr int GLFW_PAD_DPAD_LEFT = 14;
constexpr int GLFW_PAD_BUTTONS = 15;

// Sticks read -1 at the top and the left; triggers -1 at rest.
constexpr int GLFW_PAD_LEFT_X = 0;
constexpr int GLFW_PAD_LEFT_Y = 1;
constexpr int GLFW_PAD_RIGHT_X = 2;
constexpr int GLFW_PAD_RIGHT_Y = 3;
constexpr int GLFW_PAD_LEFT_TRIGGER = 4;
constexpr int GLFW_PAD_RIGHT_TRIGGER = 5;
constexpr int GLFW_PAD_AXES = 6;

struct GLFWgamepad {
  unsigned char Buttons[GLFW_PAD_BUTTONS];  // GLFW_PRESS or GLFW_RELEASE
  float Axes[GLFW_PAD_AXES];
};

// ---- Window icons (not in GLFW 2): RGBA rows, top first ---------------------------------
struct GLFWicon {
  int Width, Height;
  const unsigned char* Pixels;
};

// ---- Video modes: GLFW 2 keeps blue before green --------------------------------------
struct GLFWvidmode {
  int Width, Height;
  int RedBits, BlueBits, GreenBits;
};

// ---- Callbacks --------------------------------------------------------------------------
typedef void (*GLFWkeyfun)(int key, int action);
typedef void (*GLFWcharfun)(int character, int action);
typedef void (*GLFWmousebuttonfun)(int button, int action);
typedef void (*GLFWmouseposfun)(int x, int y);
typedef int (*GLFWwindowclosefun)();  // return 0 to keep the window open

// ---- Calls ---------------------------------------------------------------------------------
int glfwInit();
void glfwTerminate();

int glfwOpenWindow(int width, int height, int redbits, int greenbits, int bluebits, int alphabits, int depthbits,
                   int stencilbits, int mode);
void glfwOpenWindowHint(int target, int hint);
// Not in GLFW 2: the WM_CLASS instance and class names of the next window
// glfwOpenWindow opens, a hint like the others.
void glfwOpenWindowClassHint(const char* instance, const char* className);
void glfwCloseWindow();
void glfwSetWindowTitle(const char* title);
// Not in GLFW 2: the window's icon in several sizes, for the window system to
// choose from.
void glfwSetWindowIcon(const GLFWicon* icons, int count);
void glfwGetWindowSize(int* width, int* height);
// Not in GLFW 2: the framebuffer's size in pixels, more than the window's
// size on a display that scales windows.
void glfwGetFramebufferSize(int* width, int* height);
void glfwSetWindowPos(int x, int y);
int glfwGetWindowParam(int param);
void glfwSwapBuffers();

int glfwGetVideoModes(GLFWvidmode* list, int maxcount);
void glfwGetDesktopMode(GLFWvidmode* mode);

void glfwPollEvents();
void glfwWaitEvents();
int glfwGetKey(int key);
int glfwGetMouseButton(int button);
void glfwGetMousePos(int* x, int* y);
void glfwSetKeyCallback(GLFWkeyfun callback);
void glfwSetCharCallback(GLFWcharfun callback);
void glfwSetMouseButtonCallback(GLFWmousebuttonfun callback);
void glfwSetMousePosCallback(GLFWmouseposfun callback);
void glfwSetWindowCloseCallback(GLFWwindowclosefun callback);

int glfwGetJoystickParam(int joy, int param);
int glfwGetJoystickPos(int joy, float* pos, int numaxes);
int glfwGetJoystickButtons(int joy, unsigned char* buttons, int numbuttons);
// Not in GLFW 2: 1 and the pad's state when GLFW has a gamepad mapping for
// the joystick, 0 otherwise.
int glfwGetGamepad(int joy, GLFWgamepad* state);
// Not in GLFW 2: adds mappings to GLFW's own, or replaces those of the same
// pads, from text in the SDL game controller database format.
int glfwUpdateGamepadMappings(const char* mappings);

double glfwGetTime();
void glfwSleep(double seconds);

void glfwEnable(int token);
void glfwDisable(int token);
