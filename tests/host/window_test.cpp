// The host in a real window: real X keys, clicks, close, focus and iconify requests.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <memory>
#include <sstream>

#include "host/glfw2.h"
#include "tests/support/child_process.h"
#include "tests/support/subprocess.h"
#include "tests/support/x_tools.h"

namespace {

struct WindowTest : ::testing::Test {
  std::unique_ptr<ChildProcess> probe;
  std::string window;

  void SetUp() override {
    const char* display = getenv("DISPLAY");
    ASSERT_TRUE(display && *display) << "the window tests need an X display: run them through make test";
  }
  void StartProbe() {
    probe = std::make_unique<ChildProcess>(std::vector<std::string>{BuildPath("tests/host/window_probe")});
    ASSERT_TRUE(probe->WaitForLine("window 640x480")) << probe->Output();
    window = Xdotool({"search", "--sync", "--onlyvisible", "--pid", std::to_string(probe->Pid())});
    Xdotool({"windowfocus", "--sync", window});
  }
  // Exactly one suspend, and after it one resume.
  void ExpectOneSuspendAndResume(const std::vector<std::string>& away, const std::string& awayWindow,
                                 const std::vector<std::string>& back) {
    for (const std::string& command : away) Xdotool({command, "--sync", awayWindow});
    EXPECT_TRUE(probe->WaitForLine("suspend")) << probe->Output();
    PauseMilliseconds(200);
    for (const std::string& command : back) Xdotool({command, "--sync", window});
    EXPECT_TRUE(probe->WaitForLine("resume")) << probe->Output();
    PauseMilliseconds(200);
    EXPECT_EQ(probe->Count("suspend"), 1) << probe->Output();
    EXPECT_EQ(probe->Count("resume"), 1) << probe->Output();
  }
};

TEST_F(WindowTest, EveryNamedKeyArrivesInGlfw2NumberingClicksAndFocusReachTheGameAndACloseRequestEndsIt) {
  StartProbe();
  // clang-format off
  const std::pair<const char*, int> keys[] = {
      {"Escape", GLFW_KEY_ESC}, {"Return", GLFW_KEY_ENTER}, {"Tab", GLFW_KEY_TAB}, {"BackSpace", GLFW_KEY_BACKSPACE},
      {"Insert", GLFW_KEY_INSERT}, {"Delete", GLFW_KEY_DEL}, {"Right", GLFW_KEY_RIGHT}, {"Left", GLFW_KEY_LEFT},
      {"Down", GLFW_KEY_DOWN}, {"Up", GLFW_KEY_UP}, {"Prior", GLFW_KEY_PAGEUP}, {"Next", GLFW_KEY_PAGEDOWN},
      {"Home", GLFW_KEY_HOME}, {"End", GLFW_KEY_END}, {"Caps_Lock", GLFW_KEY_CAPS_LOCK},
      {"Caps_Lock", GLFW_KEY_CAPS_LOCK}, {"Scroll_Lock", GLFW_KEY_SCROLL_LOCK}, {"Num_Lock", GLFW_KEY_KP_NUM_LOCK},
      {"Num_Lock", GLFW_KEY_KP_NUM_LOCK}, {"Pause", GLFW_KEY_PAUSE}, {"KP_Decimal", GLFW_KEY_KP_DECIMAL},
      {"KP_Divide", GLFW_KEY_KP_DIVIDE}, {"KP_Multiply", GLFW_KEY_KP_MULTIPLY}, {"KP_Subtract", GLFW_KEY_KP_SUBTRACT},
      {"KP_Add", GLFW_KEY_KP_ADD}, {"KP_Enter", GLFW_KEY_KP_ENTER}, {"KP_Equal", GLFW_KEY_KP_EQUAL},
      {"Shift_L", GLFW_KEY_LSHIFT}, {"Control_L", GLFW_KEY_LCTRL}, {"Alt_L", GLFW_KEY_LALT}, {"Super_L", GLFW_KEY_LSUPER},
      {"Shift_R", GLFW_KEY_RSHIFT}, {"Control_R", GLFW_KEY_RCTRL}, {"Alt_R", GLFW_KEY_RALT}, {"Super_R", GLFW_KEY_RSUPER},
      {"Menu", GLFW_KEY_MENU}, {"F1", GLFW_KEY_F1}, {"F12", GLFW_KEY_F1 + 11}, {"KP_0", GLFW_KEY_KP_0},
      {"KP_9", GLFW_KEY_KP_0 + 9}, {"space", GLFW_KEY_SPACE}, {"grave", '`'}, {"z", 'Z'}};
  // clang-format on
  // Each key followed by "a": xdotool presses a modifier first where the keymap asks for one.
  std::vector<std::string> command = {"key", "--window", window};
  for (const auto& key : keys) command.insert(command.end(), {key.first, "a"});
  Xdotool(command);
  ASSERT_TRUE(probe->WaitForLine("key 65", std::size(keys))) << probe->Output();
  std::istringstream lines(probe->Output());
  std::vector<int> pressed;
  for (std::string line, last; std::getline(lines, line);) {
    if (line == "key 65") pressed.push_back(std::stoi(last.substr(4)));
    if (line.rfind("key ", 0) == 0) last = line;
  }
  for (size_t i = 0; i < std::size(keys); ++i) EXPECT_EQ(pressed.at(i), keys[i].second) << keys[i].first;
  // As the framework's codes, with the characters the keys type.
  for (const char* line : {"hit 37", "char 65573", "hit 46", "char 127", "hit 65", "char 97"}) {
    EXPECT_GE(probe->Count(line), 1) << line;
  }
  Xdotool({"mousemove", "--window", window, "100", "100"});
  Xdotool({"click", "--window", window, "1"});
  EXPECT_TRUE(probe->WaitForLine("hit 384")) << probe->Output();
  EXPECT_EQ(probe->Count("hit 1"), 1);
  EXPECT_EQ(probe->Count("suspend"), 0) << probe->Output();

  ChildProcess other({"/usr/bin/xmessage", "-title", "vx-other", "-geometry", "200x100+700+0", "other"});
  ExpectOneSuspendAndResume({"windowfocus"}, WindowNamed("vx-other"), {"windowfocus"});

  EXPECT_EQ(waitpid(probe->Pid(), nullptr, WNOHANG), 0) << "the loop keeps the window open";
  ProcessResult close = RunProcess({BuildPath("tests/host/x11_tool"), "close", window});
  ASSERT_EQ(close.status, 0) << close.err;
  EXPECT_EQ(probe->Wait(), 0) << probe->Output();
}

TEST_F(WindowTest, IconifyAndRestoreUnderAWindowManagerSuspendAndResumeOnce) {
  WindowManager manager;
  ASSERT_TRUE(manager.Ready()) << "jwm did not start";
  StartProbe();
  Xdotool({"windowactivate", "--sync", window});
  PauseMilliseconds(200);
  ASSERT_EQ(probe->Count("suspend"), 0) << probe->Output();
  // The restored window may come back without the focus; give it as a click would.
  ExpectOneSuspendAndResume({"windowminimize"}, window, {"windowactivate", "windowfocus"});
}

}  // namespace
