// GLFW 2 keys to framework key codes and editing characters, joypad axes to
// sticks, and the window callbacks that turn input into delegate events.
#include <gtest/gtest.h>

#include "host/input_translation.h"
#include "tests/host/fake_host.h"

namespace {

TEST(KeyTranslation, TransKeyFollowsTheKeyTable) {
  struct Case {
    int glfwKey, code;
  } cases[] = {
      {'0', 48}, {'Z', 90}, {' ', 32}, {'\'', 222}, {'`', 192}, {'~', 192}, {GLFW_KEY_F1 + 11, 123},
      {GLFW_KEY_RSHIFT, 16}, {GLFW_KEY_RCTRL, 17}, {GLFW_KEY_KP_0 + 9, 105}, {GLFW_KEY_KP_DECIMAL, 110},
      // Ignored: keypad equal and enter, lower case, and everything outside 32 .. 316.
      {GLFW_KEY_KP_EQUAL, 0}, {GLFW_KEY_KP_ENTER, 0}, {'a', 0}, {31, 0}, {-1, 0}, {400, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(TransKey(c.glfwKey), c.code) << "GLFW key " << c.glfwKey;
  EXPECT_EQ(KeyToChar(8), 8);
  EXPECT_EQ(KeyToChar(33), 33 + 0x10000);
  EXPECT_EQ(KeyToChar(45), 45 + 0x10000);
  EXPECT_EQ(KeyToChar(41), 0);
}

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

struct Callbacks : HostTest {
  void SetUp() override {
    HostTest::SetUp();
    VxGlfwGame::_glfwGame = host;
    host->StartGame();
    game->calls.clear();
  }
  void TearDown() override { VxGlfwGame::_glfwGame = nullptr; }

  std::vector<std::pair<int, int>> Events() const {
    std::vector<std::pair<int, int>> events;
    for (const Call& c : game->calls) events.push_back({c.event, c.data});
    return events;
  }
};

TEST_F(Callbacks, KeysBecomeKeyEventsWithTheirEditingCharacters) {
  VxGlfwGame::OnKey(GLFW_KEY_LEFT, GLFW_PRESS);
  VxGlfwGame::OnKey(GLFW_KEY_LEFT, GLFW_RELEASE);
  VxGlfwGame::OnKey(GLFW_KEY_DEL, GLFW_PRESS);
  VxGlfwGame::OnKey('A', GLFW_PRESS);
  VxGlfwGame::OnChar('a', GLFW_PRESS);
  VxGlfwGame::OnChar('b', GLFW_RELEASE);
  VxGlfwGame::OnKey(GLFW_KEY_LALT, GLFW_PRESS);
  VxGlfwGame::OnKey(GLFW_KEY_F1 + 12, GLFW_PRESS);
  VxGlfwGame::OnKey('A', 7);
  EXPECT_EQ(Events(), (std::vector<std::pair<int, int>>{
                          {1, 37}, {3, 65573}, {2, 37}, {1, 46}, {3, 127}, {1, 65}, {3, 97}}));
}

TEST_F(Callbacks, MouseAndCloseBecomeFrameworkEvents) {
  VxGlfwGame::OnMousePos(12, 34);
  VxGlfwGame::OnMouseButton(GLFW_MOUSE_BUTTON_RIGHT, GLFW_PRESS);
  VxGlfwGame::OnMouseButton(GLFW_MOUSE_BUTTON_RIGHT, GLFW_RELEASE);
  VxGlfwGame::OnMouseButton(3, GLFW_PRESS);  // a fourth button is ignored
  EXPECT_EQ(VxGlfwGame::OnWindowClose(), 0);  // the window stays open
  EXPECT_EQ(Events(), (std::vector<std::pair<int, int>>{{6, -1}, {4, 1}, {5, 1}, {1, 432}, {2, 432}}));
}

}  // namespace
