// GLFW 2 keys to framework codes and editing characters, joypads to sticks and buttons.
#include "host/input_translation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "host/glfw2.h"
#include "host/vx_game.h"

namespace {

TEST(Keys, EveryGlfwKeyGivesItsFrameworkCodeAndEachCodeItsEditingCharacter) {
  // clang-format off
  std::map<int, int> codes = {
      {' ', 32}, {'"', 222}, {'\'', 222}, {',', 188}, {'-', 189}, {'.', 190}, {'/', 191}, {';', 186}, {'=', 187},
      {'[', 219}, {'\\', 220}, {']', 221}, {'`', 192}, {'~', 192}, {GLFW_KEY_ESC, 27}, {GLFW_KEY_UP, 38},
      {GLFW_KEY_DOWN, 40}, {GLFW_KEY_LEFT, 37}, {GLFW_KEY_RIGHT, 39}, {GLFW_KEY_LSHIFT, 16}, {GLFW_KEY_RSHIFT, 16},
      {GLFW_KEY_LCTRL, 17}, {GLFW_KEY_RCTRL, 17}, {GLFW_KEY_TAB, 9}, {GLFW_KEY_ENTER, 13}, {GLFW_KEY_BACKSPACE, 8},
      {GLFW_KEY_INSERT, 45}, {GLFW_KEY_DEL, 46}, {GLFW_KEY_PAGEUP, 33}, {GLFW_KEY_PAGEDOWN, 34}, {GLFW_KEY_HOME, 36},
      {GLFW_KEY_END, 35}, {GLFW_KEY_KP_DIVIDE, 111}, {GLFW_KEY_KP_MULTIPLY, 106}, {GLFW_KEY_KP_SUBTRACT, 109},
      {GLFW_KEY_KP_ADD, 107}, {GLFW_KEY_KP_DECIMAL, 110}};
  // clang-format on
  for (int i = 0; i < 12; ++i) codes[GLFW_KEY_F1 + i] = 112 + i;  // F13 and up are not the framework's
  for (int i = 0; i < 10; ++i) codes[GLFW_KEY_KP_0 + i] = 96 + i;
  for (int c = '0'; c <= 'Z'; ++c) codes[c] = c <= '9' || c >= 'A' ? c : codes[c];
  for (int key = -1; key <= GLFW_KEY_LAST + 1; ++key) EXPECT_EQ(TransKey(key), codes[key]) << "GLFW key " << key;

  // Cursor keys and Insert type their code over 0x10000; Delete types 127.
  std::map<int, int> characters = {{8, 8}, {9, 9}, {13, 13}, {27, 27}, {46, 127}};
  for (int key : {33, 34, 35, 36, 37, 38, 39, 40, 45}) characters[key] = 0x10000 + key;
  for (int key = 0; key < 512; ++key) EXPECT_EQ(KeyToChar(key), characters[key]) << "key " << key;
}

// Port 0 holds a pad, read through GLFW's mapping while it has one.
struct PadHost : VxGlfwGame {
  bool mapped = true;
  int axisCount = 6;
  GLFWgamepad pad{};
  std::vector<float> axes = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f};
  std::vector<unsigned char> raw = {GLFW_RELEASE, GLFW_PRESS, 0, 0, 0, 0, 0, 0, GLFW_PRESS};

  bool GamepadState(int port, GLFWgamepad* state) override {
    *state = pad;
    return port == 0 && mapped;
  }
  bool JoystickState(int port, int* count, float* to, int* buttonCount, unsigned char* pressed) override {
    *count = axisCount;
    *buttonCount = static_cast<int>(raw.size());
    std::copy(axes.begin(), axes.end(), to);
    std::copy(raw.begin(), raw.end(), pressed);
    return port == 0;
  }
};

TEST(Joysticks, AMappedPadGivesTheFrameworksButtonsAndSticksAndAnyOtherIsReadRawByItsAxisCount) {
  PadHost host;
  Array<float> x(2), y(2), z(2);
  Array<bool> buttons(32);
  auto pressed = [&] {
    std::vector<int> down;
    for (int b = 0; b < 32; ++b)
      if (buttons[b]) down.push_back(b);
    return down;
  };
  // Each gamepad button alone, in GLFW's order: A B X Y, bumpers, back,
  // start, guide, stick clicks, then the pad up, right, down, left.
  const int kFramework[GLFW_PAD_BUTTONS] = {0, 1, 2, 3, 4, 5, 6, 7, 14, 12, 13, 9, 10, 11, 8};
  for (int b = 0; b < GLFW_PAD_BUTTONS; ++b) {
    host.pad = {};
    host.pad.Buttons[b] = GLFW_PRESS;
    ASSERT_TRUE(host.PollJoystick(0, x, y, z, buttons));
    EXPECT_EQ(pressed(), std::vector<int>{kFramework[b]}) << "gamepad button " << b;
  }
  // Left stick up and to the right, right stick down and to the left: y reads
  // down positive as on the raw path, which the controls turn over for stick 0.
  host.pad = {{}, {0.5f, -1, -0.25f, 0.75f, -0.5f, 1}};
  ASSERT_TRUE(host.PollJoystick(0, x, y, z, buttons));
  EXPECT_EQ((std::vector<float>{x[0], y[0], z[0], x[1], y[1], z[1]}),
            (std::vector<float>{0.5f, -1, -0.5f, -0.25f, 0.75f, 1}));
  EXPECT_EQ(pressed(), std::vector<int>{});

  // No mapping: the buttons as they come, the axes placed by their count
  // (four: the second stick's are swapped); x0, x1, y0, y1, z0, z1.
  host.mapped = false;
  const std::pair<int, std::vector<float>> sticks[] = {{4, {0.1f, 0.4f, 0.2f, 0.3f, 0, 0}},
                                                       {5, {0.1f, 0.5f, 0.2f, 0.4f, 0.3f, 0}},
                                                       {6, {0.1f, 0.4f, 0.2f, 0.5f, 0.3f, 0.6f}},
                                                       {2, {0.1f, 0.4f, 0.2f, 0.5f, 0.3f, 0.6f}}};
  for (const auto& [count, expected] : sticks) {
    host.axisCount = count;
    ASSERT_TRUE(host.PollJoystick(0, x, y, z, buttons));
    EXPECT_EQ((std::vector<float>{x[0], x[1], y[0], y[1], z[0], z[1]}), expected) << count;
  }
  EXPECT_EQ(pressed(), (std::vector<int>{1, 8}));
  x[0] = 9;
  EXPECT_FALSE(host.PollJoystick(1, x, y, z, buttons));
  EXPECT_FALSE(VxGlfwGame().PollJoystick(0, x, y, z, buttons)) << "no pad at all";
  EXPECT_EQ(x[0], 9) << "nothing is touched without a pad";
}

}  // namespace
