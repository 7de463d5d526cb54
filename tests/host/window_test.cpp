// The host in a real window on the test display: real X input reaches the
// game as the framework's codes; close, focus and iconify requests end,
// suspend and resume it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/subprocess.h"
#include "tests/support/x_tools.h"

namespace {

// Holds a key for several ticks, so that the game sees it down at a tick.
void PressKey(const std::string& window, const std::string& key) {
  Xdotool({"keydown", "--window", window, key});
  PauseMilliseconds(100);
  Xdotool({"keyup", "--window", window, key});
}

struct WindowTest : ::testing::Test {
  std::unique_ptr<ChildProcess> probe;

  void SetUp() override {
    const char* display = getenv("DISPLAY");
    ASSERT_TRUE(display && *display) << "the window tests need an X display: run them through make test";
  }
  // Starts the probe and focuses its window; the window's id.
  std::string ProbeWindow() {
    probe = std::make_unique<ChildProcess>(std::vector<std::string>{BuildPath("tests/host/window_probe")});
    EXPECT_TRUE(probe->WaitForLine("window 640x480")) << probe->Output();
    std::string window = Xdotool({"search", "--sync", "--onlyvisible", "--pid", std::to_string(probe->Pid())});
    Xdotool({"windowfocus", "--sync", window});
    return window;
  }
  // Exactly one suspend, and after it one resume.
  void ExpectOneSuspendAndResume(const std::function<void()>& away, const std::function<void()>& back) {
    away();
    EXPECT_TRUE(probe->WaitForLine("suspend")) << probe->Output();
    PauseMilliseconds(200);
    back();
    EXPECT_TRUE(probe->WaitForLine("resume")) << probe->Output();
    PauseMilliseconds(200);
    EXPECT_EQ(probe->Count("suspend"), 1) << probe->Output();
    EXPECT_EQ(probe->Count("resume"), 1) << probe->Output();
  }
};

TEST_F(WindowTest, TheGameOpensAWindowOf640By480TitledKalvexaThatCloseRequestsEnd) {
  ChildProcess game({BuildPath("kalvexa")});
  std::string window = Xdotool({"search", "--sync", "--onlyvisible", "--name", "^Kalvexa$"});
  ASSERT_FALSE(window.empty());
  std::string geometry = Xdotool({"getwindowgeometry", window});
  EXPECT_NE(geometry.find("Geometry: 640x480"), std::string::npos) << geometry;

  PauseMilliseconds(300);  // still running: the loop keeps the window open
  EXPECT_EQ(waitpid(game.Pid(), nullptr, WNOHANG), 0);
  ProcessResult close = RunProcess({BuildPath("tests/host/x11_tool"), "close", window});
  ASSERT_EQ(close.status, 0) << close.err;
  EXPECT_EQ(game.Wait(), 0) << game.Output();
}

TEST_F(WindowTest, KeysAndClicksReachTheInputDeviceAsFrameworkCodesAndFocusAwaySuspends) {
  std::string window = ProbeWindow();
  struct Case {
    const char* key;
    const char *hit, *character;
  } cases[] = {{"Left", "hit 37", "char 65573"}, {"Delete", "hit 46", "char 127"}, {"a", "hit 65", "char 97"}};
  for (const Case& c : cases) {
    PressKey(window, c.key);
    EXPECT_TRUE(probe->WaitForLine(c.hit)) << c.key << probe->Output();
    EXPECT_TRUE(probe->WaitForLine(c.character)) << c.key << probe->Output();
  }
  Xdotool({"mousemove", "--window", window, "100", "100"});
  Xdotool({"click", "--window", window, "1"});
  EXPECT_TRUE(probe->WaitForLine("hit 1")) << probe->Output();
  EXPECT_TRUE(probe->WaitForLine("hit 384")) << probe->Output();
  EXPECT_EQ(probe->Count("suspend"), 0) << probe->Output();

  ChildProcess other({"/usr/bin/xmessage", "-title", "vx-other", "-geometry", "200x100+700+0", "other"});
  std::string otherWindow = WindowNamed("vx-other");
  ExpectOneSuspendAndResume(
      [&] {
        Xdotool({"windowfocus", "--sync", otherWindow});
      },
      [&] {
        Xdotool({"windowfocus", "--sync", window});
      });
}

TEST_F(WindowTest, IconifyAndRestoreUnderAWindowManagerSuspendAndResumeOnce) {
  WindowManager manager;
  ASSERT_TRUE(manager.Ready()) << "jwm did not start";

  std::string window = ProbeWindow();
  Xdotool({"windowactivate", "--sync", window});
  PauseMilliseconds(200);
  ASSERT_EQ(probe->Count("suspend"), 0) << probe->Output();
  // The restored window may come back without the focus; give it as a click would.
  ExpectOneSuspendAndResume(
      [&] {
        Xdotool({"windowminimize", "--sync", window});
      },
      [&] {
        Xdotool({"windowactivate", "--sync", window});
        Xdotool({"windowfocus", "--sync", window});
      });
}

}  // namespace
