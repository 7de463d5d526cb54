// GLFW 2 keys to framework key codes and editing characters, and the window
// callbacks that turn them into delegate events.
#include <gtest/gtest.h>

#include "host/key_translation.h"
#include "tests/host/fake_host.h"

namespace {

TEST(KeyTranslation, TransKeyFollowsTheKeyTable) {
  struct Case {
    int glfwKey, code;
  } cases[] = {
      {'0', 48},  {'9', 57},  {'A', 65},  {'Z', 90},  {' ', 32},  {'"', 222}, {'\'', 222}, {',', 188},
      {'-', 189}, {'.', 190}, {'/', 191}, {';', 186}, {'=', 187}, {'[', 219}, {'\\', 220}, {']', 221},
      {'`', 192}, {'~', 192},
      {GLFW_KEY_ESC, 27},        {GLFW_KEY_F1, 112},          {GLFW_KEY_F1 + 11, 123},
      {GLFW_KEY_UP, 38},         {GLFW_KEY_DOWN, 40},         {GLFW_KEY_LEFT, 37},
      {GLFW_KEY_RIGHT, 39},      {GLFW_KEY_LSHIFT, 16},       {GLFW_KEY_RSHIFT, 16},
      {GLFW_KEY_LCTRL, 17},      {GLFW_KEY_RCTRL, 17},        {GLFW_KEY_TAB, 9},
      {GLFW_KEY_ENTER, 13},      {GLFW_KEY_BACKSPACE, 8},     {GLFW_KEY_INSERT, 45},
      {GLFW_KEY_DEL, 46},        {GLFW_KEY_PAGEUP, 33},       {GLFW_KEY_PAGEDOWN, 34},
      {GLFW_KEY_HOME, 36},       {GLFW_KEY_END, 35},          {GLFW_KEY_KP_0, 96},
      {GLFW_KEY_KP_0 + 9, 105},  {GLFW_KEY_KP_DIVIDE, 111},   {GLFW_KEY_KP_MULTIPLY, 106},
      {GLFW_KEY_KP_SUBTRACT, 109}, {GLFW_KEY_KP_ADD, 107},    {GLFW_KEY_KP_DECIMAL, 110},
      // Ignored: Alt, F13 and up, keypad equal and enter, and everything outside 32 .. 316.
      {GLFW_KEY_LALT, 0},        {GLFW_KEY_RALT, 0},          {GLFW_KEY_F1 + 12, 0},
      {GLFW_KEY_KP_EQUAL, 0},    {GLFW_KEY_KP_ENTER, 0},      {GLFW_KEY_MENU, 0},
      {'a', 0},                  {'!', 0},                    {31, 0},
      {-1, 0},                   {400, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(TransKey(c.glfwKey), c.code) << "GLFW key " << c.glfwKey;

  EXPECT_EQ(KeyToChar(8), 8);
  EXPECT_EQ(KeyToChar(27), 27);
  EXPECT_EQ(KeyToChar(33), 33 + 0x10000);
  EXPECT_EQ(KeyToChar(40), 40 + 0x10000);
  EXPECT_EQ(KeyToChar(45), 45 + 0x10000);
  EXPECT_EQ(KeyToChar(46), 127);
  EXPECT_EQ(KeyToChar(65), 0);
  EXPECT_EQ(KeyToChar(41), 0);
}

struct Callbacks : ::testing::Test {
  FakeHost* host = new FakeHost();
  RecordingDelegate* game = new RecordingDelegate();

  void SetUp() override {
    game->host = host;
    host->SetDelegate(game);
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
  EXPECT_EQ(Events(), (std::vector<std::pair<int, int>>{{6, -1}, {4, 1}, {5, 1}}));

  game->calls.clear();
  EXPECT_EQ(VxGlfwGame::OnWindowClose(), 0);  // the window stays open
  EXPECT_EQ(Events(), (std::vector<std::pair<int, int>>{{1, 432}, {2, 432}}));
}

}  // namespace
