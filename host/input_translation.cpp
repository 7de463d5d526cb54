#include "host/input_translation.h"

#include <cstdint>

#include "host/glfw2.h"

namespace {

struct KeyCode {
  int glfwKey;
  uint8_t code;
};

// Everything but digits and letters, which keep their codes.
constexpr KeyCode kKeyCodes[] = {
    {GLFW_KEY_SPACE, 32},
    {'"', 222},
    {'\'', 222},
    {',', 188},
    {'-', 189},
    {'.', 190},
    {'/', 191},
    {';', 186},
    {'=', 187},
    {'[', 219},
    {'\\', 220},
    {']', 221},
    {'`', 192},
    {'~', 192},
    {GLFW_KEY_ESC, 27},
    {GLFW_KEY_F1 + 0, 112},
    {GLFW_KEY_F1 + 1, 113},
    {GLFW_KEY_F1 + 2, 114},
    {GLFW_KEY_F1 + 3, 115},
    {GLFW_KEY_F1 + 4, 116},
    {GLFW_KEY_F1 + 5, 117},
    {GLFW_KEY_F1 + 6, 118},
    {GLFW_KEY_F1 + 7, 119},
    {GLFW_KEY_F1 + 8, 120},
    {GLFW_KEY_F1 + 9, 121},
    {GLFW_KEY_F1 + 10, 122},
    {GLFW_KEY_F1 + 11, 123},
    {GLFW_KEY_UP, 38},
    {GLFW_KEY_DOWN, 40},
    {GLFW_KEY_LEFT, 37},
    {GLFW_KEY_RIGHT, 39},
    {GLFW_KEY_LSHIFT, 16},
    {GLFW_KEY_RSHIFT, 16},
    {GLFW_KEY_LCTRL, 17},
    {GLFW_KEY_RCTRL, 17},
    {GLFW_KEY_TAB, 9},
    {GLFW_KEY_ENTER, 13},
    {GLFW_KEY_BACKSPACE, 8},
    {GLFW_KEY_INSERT, 45},
    {GLFW_KEY_DEL, 46},
    {GLFW_KEY_PAGEUP, 33},
    {GLFW_KEY_PAGEDOWN, 34},
    {GLFW_KEY_HOME, 36},
    {GLFW_KEY_END, 35},
    {GLFW_KEY_KP_0 + 0, 96},
    {GLFW_KEY_KP_0 + 1, 97},
    {GLFW_KEY_KP_0 + 2, 98},
    {GLFW_KEY_KP_0 + 3, 99},
    {GLFW_KEY_KP_0 + 4, 100},
    {GLFW_KEY_KP_0 + 5, 101},
    {GLFW_KEY_KP_0 + 6, 102},
    {GLFW_KEY_KP_0 + 7, 103},
    {GLFW_KEY_KP_0 + 8, 104},
    {GLFW_KEY_KP_0 + 9, 105},
    {GLFW_KEY_KP_DIVIDE, 111},
    {GLFW_KEY_KP_MULTIPLY, 106},
    {GLFW_KEY_KP_SUBTRACT, 109},
    {GLFW_KEY_KP_ADD, 107},
    {GLFW_KEY_KP_DECIMAL, 110},
};

constexpr int TABLE_FIRST = GLFW_KEY_SPACE;       // 32
constexpr int TABLE_LAST = GLFW_KEY_KP_DECIMAL;   // 316

// The byte table over GLFW codes 32 .. 316, 0 for keys left out.
struct KeyTable {
  uint8_t codes[TABLE_LAST - TABLE_FIRST + 1];
};

constexpr KeyTable MakeKeyTable() {
  KeyTable table{};
  for (const KeyCode& key : kKeyCodes) table.codes[key.glfwKey - TABLE_FIRST] = key.code;
  return table;
}

constexpr KeyTable kKeyTable = MakeKeyTable();
static_assert(sizeof kKeyTable.codes == 285);

constexpr int CURSOR_CHAR_BASE = 0x10000;  // cursor and Insert keys type key + this
constexpr int DELETE_CHAR = 127;

struct KeyChar {
  int key, character;
};

constexpr KeyChar kKeyChars[] = {
    {8, 8},
    {9, 9},
    {13, 13},
    {27, 27},
    {33, 33 + CURSOR_CHAR_BASE},  // Page Up
    {34, 34 + CURSOR_CHAR_BASE},  // Page Down
    {35, 35 + CURSOR_CHAR_BASE},  // End
    {36, 36 + CURSOR_CHAR_BASE},  // Home
    {37, 37 + CURSOR_CHAR_BASE},  // Left
    {38, 38 + CURSOR_CHAR_BASE},  // Up
    {39, 39 + CURSOR_CHAR_BASE},  // Right
    {40, 40 + CURSOR_CHAR_BASE},  // Down
    {45, 45 + CURSOR_CHAR_BASE},  // Insert
    {46, DELETE_CHAR},            // Delete
};

constexpr int NO_AXIS = -1;  // reads as 0

// Which axes feed the two sticks, by the pad's axis count.
struct StickAxes {
  int x[2], y[2], z[2];
};
constexpr StickAxes kFourAxes = {{0, 3}, {1, 2}, {NO_AXIS, NO_AXIS}};
constexpr StickAxes kFiveAxes = {{0, 4}, {1, 3}, {2, NO_AXIS}};
constexpr StickAxes kOtherAxes = {{0, 3}, {1, 4}, {2, 5}};
constexpr StickAxes kGamepadAxes = {{GLFW_PAD_LEFT_X, GLFW_PAD_RIGHT_X},
                                    {GLFW_PAD_LEFT_Y, GLFW_PAD_RIGHT_Y},
                                    {GLFW_PAD_LEFT_TRIGGER, GLFW_PAD_RIGHT_TRIGGER}};

float Axis(const float* axes, int index) { return index == NO_AXIS ? 0.0f : axes[index]; }

void PlaceAxes(const StickAxes& map, const float* axes, Array<float> joyx, Array<float> joyy, Array<float> joyz) {
  for (int stick = 0; stick < 2; ++stick) {
    joyx[stick] = Axis(axes, map.x[stick]);
    joyy[stick] = Axis(axes, map.y[stick]);
    joyz[stick] = Axis(axes, map.z[stick]);
  }
}

// A mapped pad's buttons in the framework's numbering, which the game's
// controls read; 12 and 13 are the stick clicks.
struct PadButton {
  int glfw, framework;
};
constexpr PadButton kPadButtons[] = {
    {GLFW_PAD_A, 0},           {GLFW_PAD_B, 1},
    {GLFW_PAD_X, 2},           {GLFW_PAD_Y, 3},
    {GLFW_PAD_LEFT_BUMPER, 4}, {GLFW_PAD_RIGHT_BUMPER, 5},
    {GLFW_PAD_BACK, 6},        {GLFW_PAD_START, 7},
    {GLFW_PAD_DPAD_LEFT, 8},   {GLFW_PAD_DPAD_UP, 9},
    {GLFW_PAD_DPAD_RIGHT, 10}, {GLFW_PAD_DPAD_DOWN, 11},
    {GLFW_PAD_LEFT_THUMB, 12}, {GLFW_PAD_RIGHT_THUMB, 13},
    {GLFW_PAD_GUIDE, 14},
};

}  // namespace

int TransKey(int glfwKey) {
  if ((glfwKey >= '0' && glfwKey <= '9') || (glfwKey >= 'A' && glfwKey <= 'Z')) return glfwKey;
  if (glfwKey < TABLE_FIRST || glfwKey > TABLE_LAST) return 0;
  return kKeyTable.codes[glfwKey - TABLE_FIRST];
}

int KeyToChar(int key) {
  for (const KeyChar& entry : kKeyChars) {
    if (entry.key == key) return entry.character;
  }
  return 0;
}

void MapJoystickAxes(int axisCount, const float* axes, Array<float> joyx, Array<float> joyy, Array<float> joyz) {
  PlaceAxes(axisCount == 4 ? kFourAxes : axisCount == 5 ? kFiveAxes : kOtherAxes, axes, joyx, joyy, joyz);
}

void MapGamepad(const GLFWgamepad& pad, Array<float> joyx, Array<float> joyy, Array<float> joyz, Array<bool> buttons) {
  PlaceAxes(kGamepadAxes, pad.Axes, joyx, joyy, joyz);
  for (int b = 0; b < buttons.Length(); ++b) buttons[b] = false;
  for (const PadButton& button : kPadButtons) buttons[button.framework] = pad.Buttons[button.glfw] == GLFW_PRESS;
}
