// GLFW 2 keys to framework key codes and editing characters, joypads to
// sticks and buttons, and the window callbacks that turn input into delegate
// events.
#include "host/input_translation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/host/fake_host.h"

namespace {

TEST(JoystickAxes, SticksTakeTheirAxesByThePadsAxisCount) {
  const float axes[JOYSTICK_AXES] = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f};
  Array<float> x(2), y(2), z(2);
  struct Case {
    int count;
    std::vector<float> sticks;  // x0, x1, y0, y1, z0, z1
  } cases[] = {
      // Four axes: the third is the second stick's vertical, the fourth its horizontal.
      {4, {0.1f, 0.4f, 0.2f, 0.3f, 0, 0}},
      {5, {0.1f, 0.5f, 0.2f, 0.4f, 0.3f, 0}},
      {6, {0.1f, 0.4f, 0.2f, 0.5f, 0.3f, 0.6f}},
      {2, {0.1f, 0.4f, 0.2f, 0.5f, 0.3f, 0.6f}},
  };
  for (const Case& c : cases) {
    MapJoystickAxes(c.count, axes, x, y, z);
    EXPECT_EQ((std::vector<float>{x[0], x[1], y[0], y[1], z[0], z[1]}), c.sticks) << c.count;
  }

  // No pad at port 0: nothing is touched.
  x[0] = 9;
  EXPECT_FALSE(VxGlfwGame().PollJoystick(0, x, y, z, Array<bool>(32)));
  EXPECT_EQ(x[0], 9);
}

// Port 0 holds a pad, read through GLFW's mapping while it has one.
struct PadHost : VxGlfwGame {
  bool mapped = true;
  GLFWgamepad pad{};
  std::vector<float> axes = {0.1f, 0.2f, 0.3f, 0.4f};
  std::vector<unsigned char> raw = {GLFW_RELEASE, GLFW_PRESS, 0, 0, 0, 0, 0, 0, GLFW_PRESS};

  bool GamepadState(int port, GLFWgamepad* state) override {
    *state = pad;
    return port == 0 && mapped;
  }
  bool JoystickState(int port, int* axisCount, float* to, int* buttonCount, unsigned char* pressed) override {
    *axisCount = static_cast<int>(axes.size());
    *buttonCount = static_cast<int>(raw.size());
    std::copy(axes.begin(), axes.end(), to);
    std::copy(raw.begin(), raw.end(), pressed);
    return port == 0;
  }
};

TEST(Joysticks, AMappedPadGivesTheFrameworksButtonsAndSticksAndAnyOtherPadIsReadRaw) {
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

  // No mapping: the raw axes (four: the second stick's are swapped) and buttons as they come.
  host.mapped = false;
  ASSERT_TRUE(host.PollJoystick(0, x, y, z, buttons));
  EXPECT_EQ((std::vector<float>{x[0], y[0], x[1], y[1]}), (std::vector<float>{0.1f, 0.2f, 0.4f, 0.3f}));
  EXPECT_EQ(pressed(), (std::vector<int>{1, 8}));
  EXPECT_FALSE(host.PollJoystick(1, x, y, z, buttons));
}

struct Callbacks : HostTest {
  void SetUp() override {
    HostTest::SetUp();
    VxGlfwGame::_glfwGame = host;
    host->StartGame();
    game->calls.clear();
  }
  void TearDown() override { VxGlfwGame::_glfwGame = nullptr; }

  // Event and data of each call, in turn.
  std::vector<int> Events() const {
    std::vector<int> events;
    for (const Call& c : game->calls) events.insert(events.end(), {c.event, c.data});
    return events;
  }
};

TEST_F(Callbacks, KeysMouseAndCloseBecomeFrameworkEventsWithTheirEditingCharacters) {
  VxGlfwGame::OnKey(GLFW_KEY_LEFT, GLFW_PRESS);
  VxGlfwGame::OnKey(GLFW_KEY_LEFT, GLFW_RELEASE);
  VxGlfwGame::OnKey(GLFW_KEY_DEL, GLFW_PRESS);
  VxGlfwGame::OnKey('A', GLFW_PRESS);
  VxGlfwGame::OnChar('a', GLFW_PRESS);
  VxGlfwGame::OnChar('b', GLFW_RELEASE);
  VxGlfwGame::OnKey('\'', GLFW_PRESS);
  VxGlfwGame::OnKey(GLFW_KEY_KP_0 + 9, GLFW_PRESS);
  VxGlfwGame::OnKey(GLFW_KEY_HOME, GLFW_PRESS);
  // Not keys of the framework: Alt, F13 and up, keypad enter, lower case, out of range.
  for (int key : {GLFW_KEY_LALT, GLFW_KEY_F1 + 12, GLFW_KEY_KP_ENTER, int('a'), 31, -1, 400}) {
    VxGlfwGame::OnKey(key, GLFW_PRESS);
  }
  VxGlfwGame::OnKey('A', 7);  // not a press or a release
  VxGlfwGame::OnMousePos(12, 34);
  VxGlfwGame::OnMouseButton(GLFW_MOUSE_BUTTON_RIGHT, GLFW_PRESS);
  VxGlfwGame::OnMouseButton(GLFW_MOUSE_BUTTON_RIGHT, GLFW_RELEASE);
  VxGlfwGame::OnMouseButton(3, GLFW_PRESS);   // a fourth button is ignored
  EXPECT_EQ(VxGlfwGame::OnWindowClose(), 0);  // the window stays open
  EXPECT_EQ(Events(), (std::vector<int>{1, 37,  3, 65573, 2, 37,    1, 46, 3, 127, 1, 65, 3, 97,  1, 222,
                                        1, 105, 1, 36,    3, 65572, 6, -1, 4, 1,   5, 1,  1, 432, 2, 432}));
}

}  // namespace
