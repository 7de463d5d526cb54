// The host in a real window on the test display: real X input sent with
// xdotool reaches the game as the framework's codes, and the window system's
// close, focus and iconify requests end, suspend and resume the game.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/subprocess.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr double WAIT_SECONDS = 20;  // for anything the window system must do
const char* XDOTOOL = "/usr/bin/xdotool";

Clock::time_point Deadline() {
  return Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(WAIT_SECONDS));
}

// A program running beside the test, whose output (standard output and
// standard error together) the test reads as it comes.
class Child {
 public:
  explicit Child(const std::vector<std::string>& args) {
    int out[2];
    if (pipe(out) != 0) abort();
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], 1);
      dup2(out[1], 2);
      close(out[0]);
      close(out[1]);
      // Mesa and Xlib keep allocations until exit that LeakSanitizer reports.
      setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
      // No sound card here: the silent OpenAL device.
      setenv("ALSOFT_DRIVERS", "null", 1);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(out[1]);
    fd_ = out[0];
    fcntl(fd_, F_SETFL, O_NONBLOCK);
  }
  ~Child() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    close(fd_);
  }

  pid_t Pid() const { return pid_; }
  const std::string& Output() const { return out_; }

  // Waits until `line` has been printed `times` times in all.
  bool WaitForLine(const std::string& line, int times = 1) {
    Clock::time_point deadline = Deadline();
    while (Count(line) < times) {
      if (Clock::now() > deadline || !Read(deadline)) return false;
    }
    return true;
  }
  int Count(const std::string& line) const {
    int n = 0;
    std::string framed = "\n" + out_;
    for (size_t at = framed.find("\n" + line + "\n"); at != std::string::npos;
         at = framed.find("\n" + line + "\n", at + 1)) {
      ++n;
    }
    return n;
  }
  // The exit status, or -1 when the program is still running at the deadline.
  int Wait() {
    Clock::time_point deadline = Deadline();
    while (Read(deadline)) {
    }
    for (;;) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      if (Clock::now() > deadline) return -1;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

 private:
  // Reads what is there; false at the end of the output or the deadline.
  bool Read(Clock::time_point deadline) {
    int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
    if (left <= 0) return false;
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, left) <= 0) return false;
    char buffer[4096];
    ssize_t n = read(fd_, buffer, sizeof buffer);
    if (n <= 0) return false;
    out_.append(buffer, static_cast<size_t>(n));
    return true;
  }

  pid_t pid_ = -1;
  int fd_ = -1;
  std::string out_;
};

std::string Trim(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

std::string Xdotool(const std::vector<std::string>& args) {
  std::vector<std::string> argv{XDOTOOL};
  argv.insert(argv.end(), args.begin(), args.end());
  ProcessOptions options;
  options.timeoutSeconds = WAIT_SECONDS;
  ProcessResult result = RunProcess(argv, options);
  EXPECT_EQ(result.status, 0) << "xdotool failed: " << result.err;
  return Trim(result.out);
}

// Holds a key for several ticks, so that the game sees it down at a tick.
void PressKey(const std::string& window, const std::string& key) {
  Xdotool({"keydown", "--window", window, key});
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  Xdotool({"keyup", "--window", window, key});
}

struct WindowTest : ::testing::Test {
  void SetUp() override {
    const char* display = getenv("DISPLAY");
    ASSERT_TRUE(display && *display) << "the window tests need an X display: run them through make test";
  }

  // Starts the probe and waits for its window; the window's id.
  std::string StartProbe(Child& probe) {
    EXPECT_TRUE(probe.WaitForLine("window 640x480")) << probe.Output();
    std::string window = Xdotool({"search", "--sync", "--onlyvisible", "--pid", std::to_string(probe.Pid())});
    Xdotool({"windowfocus", "--sync", window});
    return window;
  }
};

TEST_F(WindowTest, TheGameOpensAWindowOf640By480TitledKalvexaThatCloseRequestsEnd) {
  Child game({BuildPath("kalvexa")});
  std::string window = Xdotool({"search", "--sync", "--onlyvisible", "--name", "^Kalvexa$"});
  ASSERT_FALSE(window.empty());
  EXPECT_EQ(Xdotool({"getwindowname", window}), "Kalvexa");
  std::string geometry = Xdotool({"getwindowgeometry", window});
  EXPECT_NE(geometry.find("Geometry: 640x480"), std::string::npos) << geometry;

  // Still running a moment later: the loop keeps the window open.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(waitpid(game.Pid(), nullptr, WNOHANG), 0);

  ProcessResult close = RunProcess({BuildPath("tests/host/x11_tool"), "close", window});
  ASSERT_EQ(close.status, 0) << close.err;
  EXPECT_EQ(game.Wait(), 0) << game.Output();
}

TEST_F(WindowTest, KeysAndClicksReachTheInputDeviceAsFrameworkCodes) {
  Child probe({BuildPath("tests/host/window_probe")});
  std::string window = StartProbe(probe);

  PressKey(window, "Left");
  EXPECT_TRUE(probe.WaitForLine("hit 37")) << probe.Output();
  EXPECT_TRUE(probe.WaitForLine("char 65573")) << probe.Output();
  PressKey(window, "Delete");
  EXPECT_TRUE(probe.WaitForLine("hit 46")) << probe.Output();
  EXPECT_TRUE(probe.WaitForLine("char 127")) << probe.Output();
  PressKey(window, "a");
  EXPECT_TRUE(probe.WaitForLine("hit 65")) << probe.Output();
  EXPECT_TRUE(probe.WaitForLine("char 97")) << probe.Output();

  Xdotool({"mousemove", "--window", window, "100", "100"});
  Xdotool({"click", "--window", window, "1"});
  EXPECT_TRUE(probe.WaitForLine("hit 1")) << probe.Output();
  EXPECT_TRUE(probe.WaitForLine("hit 384")) << probe.Output();
  EXPECT_EQ(probe.Count("suspend"), 0) << probe.Output();
}

TEST_F(WindowTest, FocusMovedAwaySuspendsAndFocusBackResumes) {
  Child probe({BuildPath("tests/host/window_probe")});
  std::string window = StartProbe(probe);
  Child other({BuildPath("tests/host/x11_tool"), "window", "vx-other"});
  ASSERT_TRUE(other.WaitForLine("shown"));
  std::string otherWindow = Xdotool({"search", "--sync", "--onlyvisible", "--name", "^vx-other$"});

  Xdotool({"windowfocus", "--sync", otherWindow});
  EXPECT_TRUE(probe.WaitForLine("suspend")) << probe.Output();
  Xdotool({"windowfocus", "--sync", window});
  EXPECT_TRUE(probe.WaitForLine("resume")) << probe.Output();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(probe.Count("suspend"), 1) << probe.Output();
  EXPECT_EQ(probe.Count("resume"), 1) << probe.Output();
}

TEST_F(WindowTest, IconifyAndRestoreUnderAWindowManagerSuspendAndResumeOnce) {
  // Iconifying needs a window manager: one runs for this test only, with an
  // empty configuration so that it starts no programs of its own.
  char config[] = "/tmp/vx_jwmrc_XXXXXX";
  int configFile = mkstemp(config);
  ASSERT_GE(configFile, 0);
  const char empty[] = "<?xml version=\"1.0\"?>\n<JWM></JWM>\n";
  ASSERT_EQ(write(configFile, empty, sizeof empty - 1), static_cast<ssize_t>(sizeof empty - 1));
  close(configFile);
  Child manager({"/usr/bin/jwm", "-f", config});
  auto deadline = Clock::now() + std::chrono::seconds(10);
  while (RunProcess({"/usr/bin/xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).out.find("window id") ==
         std::string::npos) {
    ASSERT_LT(Clock::now(), deadline) << "jwm did not start";
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }

  Child probe({BuildPath("tests/host/window_probe")});
  std::string window = StartProbe(probe);
  Xdotool({"windowactivate", "--sync", window});
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  ASSERT_EQ(probe.Count("suspend"), 0) << probe.Output();

  Xdotool({"windowminimize", "--sync", window});
  EXPECT_TRUE(probe.WaitForLine("suspend")) << probe.Output();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  Xdotool({"windowactivate", "--sync", window});
  EXPECT_TRUE(probe.WaitForLine("resume")) << probe.Output();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(probe.Count("suspend"), 1) << probe.Output();
  EXPECT_EQ(probe.Count("resume"), 1) << probe.Output();
  unlink(config);
}

TEST(NoDisplay, WithoutADisplayTheGameSaysGlfwInitFailedAndEndsWith255) {
  ProcessOptions noDisplay;
  noDisplay.unsetEnv = {"DISPLAY", "WAYLAND_DISPLAY"};
  ProcessResult result = RunProcess({BuildPath("kalvexa")}, noDisplay);
  EXPECT_EQ(result.out, "glfwInit failed\n");
  EXPECT_EQ(result.status, 255);
}

}  // namespace
