#include "tests/support/game_window.h"

#include <fcntl.h>
#include <signal.h>
#include <stb_image.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/support/subprocess.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double WINDOW_WAIT = 20;  // seconds for the window system

std::string ReadWhole(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

bool Near(uint32_t a, uint32_t b, int tolerance) {
  for (int shift = 0; shift < 24; shift += 8) {
    int d = static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF);
    if (d > tolerance || d < -tolerance) return false;
  }
  return true;
}

}  // namespace

int Screenshot::Count(uint32_t rgb, int tolerance) const {
  int n = 0;
  for (uint32_t p : pixels) n += Near(p, rgb, tolerance);
  return n;
}

void PauseMilliseconds(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

std::string Xdotool(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "/usr/bin/xdotool");
  ProcessResult result = RunProcess(arguments);
  while (!result.out.empty() && result.out.back() == '\n') result.out.pop_back();
  return result.out;
}

namespace {

pid_t Start(std::vector<std::string> arguments, const std::string& output) {
  pid_t pid = fork();
  if (pid == 0) {
    int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, 1);
    dup2(out, 2);
    // Mesa and Xlib keep allocations until exit that LeakSanitizer reports.
    setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
    setenv("ALSOFT_DRIVERS", "null", 1);
    std::vector<char*> argv;
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

void Stop(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

// The size of a window as the window system has it; 0 x 0 when it is gone.
std::pair<int, int> SizeOf(const std::string& window) {
  std::string geometry = Xdotool({"getwindowgeometry", window});
  size_t at = geometry.find("Geometry: ");
  int w = 0, h = 0;
  if (at != std::string::npos) sscanf(geometry.c_str() + at, "Geometry: %dx%d", &w, &h);
  return {w, h};
}

// A visible window of a process, of the given size unless that is 0 x 0, waited for.
std::string WindowOf(pid_t pid, int width = 0, int height = 0) {
  for (auto deadline = Clock::now() + std::chrono::duration<double>(WINDOW_WAIT); Clock::now() < deadline;) {
    std::stringstream found(Xdotool({"search", "--onlyvisible", "--pid", std::to_string(pid)}));
    for (std::string window; std::getline(found, window);) {
      if (!window.empty() && (width == 0 || SizeOf(window) == std::make_pair(width, height))) return window;
    }
    if (waitpid(pid, nullptr, WNOHANG) == pid) return "";
    PauseMilliseconds(20);
  }
  return "";
}

}  // namespace

OtherProgram::OtherProgram(std::vector<std::string> arguments) : pid_(Start(std::move(arguments), "/dev/null")) {}

OtherProgram::~OtherProgram() { Stop(pid_); }

std::string OtherProgram::Window(const std::string& name) const {
  for (auto deadline = Clock::now() + std::chrono::duration<double>(WINDOW_WAIT); Clock::now() < deadline;) {
    std::string found = Xdotool({"search", "--onlyvisible", "--name", "^" + name + "$"});
    if (!found.empty()) return found.substr(0, found.find('\n'));
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) return "";
    PauseMilliseconds(20);
  }
  return "";
}

GameWindow::GameWindow(std::vector<std::string> arguments, const std::string& state) {
  std::filesystem::remove(folder_.Path("data"));
  std::filesystem::create_directory_symlink(BuildPath("run/data"), folder_.Path("data"));
  if (!state.empty()) WriteFile(folder_.Path(".vorlixstate"), state);
  output_ = folder_.Path("output.txt");
  std::filesystem::create_directories(BuildPath("screens"));

  arguments.insert(arguments.begin(), BuildPath("kalvexa"));
  pid_ = Start(std::move(arguments), output_);
  window_ = WindowOf(pid_);
  if (!window_.empty()) Xdotool({"windowfocus", "--sync", window_});
}

// Without a window manager a new full-screen window does not get the focus;
// the test gives it, as a player's click would.
bool GameWindow::FindWindowOfSize(int width, int height) {
  window_ = WindowOf(pid_, width, height);
  if (window_.empty()) return false;
  Xdotool({"windowfocus", "--sync", window_});
  return true;
}

GameWindow::~GameWindow() { Stop(pid_); }

void GameWindow::KeyDown(const std::string& key) { Xdotool({"keydown", "--window", window_, key}); }

// Released on the server, not sent to the window: a key whose press changed
// the window (full screen) would otherwise stay down for every later program.
void GameWindow::KeyUp(const std::string& key) { Xdotool({"keyup", key}); }

void GameWindow::Key(const std::string& key, int holdMilliseconds) {
  KeyDown(key);
  PauseMilliseconds(holdMilliseconds);
  KeyUp(key);
}

void GameWindow::MouseMove(int x, int y) {
  Xdotool({"mousemove", "--window", window_, std::to_string(x), std::to_string(y)});
}

void GameWindow::Click(int x, int y) {
  MouseMove(x, y);
  Xdotool({"mousedown", "1"});
  PauseMilliseconds(120);
  Xdotool({"mouseup", "1"});
}

void GameWindow::Drag(int x0, int y0, int x1, int y1, int steps) {
  MouseMove(x0, y0);
  Xdotool({"mousedown", "1"});
  PauseMilliseconds(60);
  for (int i = 1; i <= steps; ++i) {
    MouseMove(x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps);
    PauseMilliseconds(20);
  }
  Xdotool({"mouseup", "1"});
}

Screenshot GameWindow::Shot(const std::string& name) {
  std::string path = BuildPath("screens/" + name + ".png");
  RunProcess({"/usr/bin/import", "-window", window_, "png:" + path});
  Screenshot shot;
  int channels = 0;
  unsigned char* rgb = stbi_load(path.c_str(), &shot.width, &shot.height, &channels, 3);
  if (!rgb) return shot;
  shot.pixels.resize(static_cast<size_t>(shot.width) * shot.height);
  for (size_t i = 0; i < shot.pixels.size(); ++i) {
    shot.pixels[i] = static_cast<uint32_t>(rgb[i * 3]) << 16 | rgb[i * 3 + 1] << 8 | rgb[i * 3 + 2];
  }
  stbi_image_free(rgb);
  return shot;
}

bool GameWindow::WaitForShot(const std::string& name, const std::function<bool(const Screenshot&)>& seen,
                             double seconds) {
  for (auto deadline = Clock::now() + std::chrono::duration<double>(seconds); Clock::now() < deadline;) {
    Screenshot shot = Shot(name);
    if (!shot.pixels.empty() && seen(shot)) return true;
    PauseMilliseconds(50);
  }
  return false;
}

void GameWindow::Freeze() { kill(pid_, SIGSTOP); }

void GameWindow::Thaw() { kill(pid_, SIGCONT); }

int GameWindow::Wait(double seconds) {
  for (auto deadline = Clock::now() + std::chrono::duration<double>(seconds); Clock::now() < deadline;) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    PauseMilliseconds(10);
  }
  return -1;
}

std::string GameWindow::Output() const { return ReadWhole(output_); }

std::string GameWindow::StateFile() const { return ReadWhole(folder_.Path(".vorlixstate")); }
