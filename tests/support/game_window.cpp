#include "tests/support/game_window.h"

#include <stb_image.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/subprocess.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double WINDOW_WAIT = 20;     // seconds for the window system
constexpr int SLOW_FRAME_HOLD = 1500;  // milliseconds a window-switching key is held
constexpr int TITLE_SLIDE = 700;       // milliseconds the title's items take to slide in

// The size of a window as the window system has it; 0 x 0 when it is gone.
std::pair<int, int> SizeOf(const std::string& window) {
  std::string geometry = Xdotool({"getwindowgeometry", window});
  size_t at = geometry.find("Geometry: ");
  int w = 0, h = 0;
  if (at != std::string::npos) sscanf(geometry.c_str() + at, "Geometry: %dx%d", &w, &h);
  return {w, h};
}

// The first window that `search` finds and `fits` accepts, waited for while `alive`.
std::string FindWindow(const std::vector<std::string>& search, const std::function<bool(const std::string&)>& fits,
                       const std::function<bool()>& alive) {
  for (auto deadline = Clock::now() + std::chrono::duration<double>(WINDOW_WAIT); Clock::now() < deadline;) {
    std::stringstream found(Xdotool(search));
    for (std::string window; std::getline(found, window);) {
      if (!window.empty() && fits(window)) return window;
    }
    if (!alive()) return "";
    PauseMilliseconds(20);
  }
  return "";
}

}  // namespace

bool Screenshot::Near(uint32_t a, uint32_t b, int tolerance) {
  for (int shift = 0; shift < 24; shift += 8) {
    int d = static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF);
    if (d > tolerance || d < -tolerance) return false;
  }
  return true;
}

int Screenshot::Count(uint32_t rgb, int tolerance) const {
  int n = 0;
  for (uint32_t p : pixels) n += Near(p, rgb, tolerance);
  return n;
}

int Screenshot::Changed(const Screenshot& other, int left, int top, int right, int bottom, int tolerance) const {
  int n = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) n += !Near(At(x, y), other.At(x, y), tolerance);
  }
  return n;
}

GameWindow::GameWindow(std::vector<std::string> arguments, const std::string& state, bool focus) {
  std::filesystem::remove(folder_.Path("data"));
  std::filesystem::create_directory_symlink(BuildPath("run/data"), folder_.Path("data"));
  if (!state.empty()) WriteFile(folder_.Path(".vorlixstate"), state);
  std::filesystem::create_directories(BuildPath("screens"));
  arguments.insert(arguments.begin(), BuildPath("kalvexa"));
  process_ = std::make_unique<ChildProcess>(std::move(arguments));
  FindWindowOfSize(0, 0, focus);
}

bool GameWindow::FindWindowOfSize(int width, int height, bool focus) {
  window_ = FindWindow(
      {"search", "--onlyvisible", "--pid", std::to_string(process_->Pid())},
      [&](const std::string& w) { return width == 0 || SizeOf(w) == std::make_pair(width, height); },
      [&] { return !process_->Ended(); });
  if (window_.empty()) return false;
  if (focus) Xdotool({"windowfocus", "--sync", window_});
  return true;
}

bool GameWindow::SwitchWindow(const std::string& key, int width, int height, bool focus) {
  RunProcess({"/usr/bin/xset", "r", "off"});
  Key(key, SLOW_FRAME_HOLD);
  RunProcess({"/usr/bin/xset", "r", "on"});
  return FindWindowOfSize(width, height, focus);
}

bool GameWindow::WaitForFocus() {
  return !FindWindow(
              {"getwindowfocus"}, [&](const std::string& w) { return w == window_; },
              [&] { return !process_->Ended(); })
              .empty();
}

void GameWindow::KeyDown(const std::string& key) { Xdotool({"keydown", "--window", window_, key}); }

// Released on the server, not sent to the window: a key whose press changed
// the window (full screen) would otherwise stay down for every later program.
void GameWindow::KeyUp(const std::string& key) { Xdotool({"keyup", key}); }

void GameWindow::Key(const std::string& key, int holdMilliseconds) {
  KeyDown(key);
  PauseMilliseconds(holdMilliseconds);
  KeyUp(key);
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

bool GameWindow::WaitForTitle(const std::string& name) {
  bool shown =
      WaitForShot(name, [](const Screenshot& s) { return Screenshot::Near(s.At(10, s.height / 2), 0x000050); });
  PauseMilliseconds(TITLE_SLIDE);
  return shown;
}

std::string GameWindow::StateFile() const {
  std::stringstream text;
  text << std::ifstream(folder_.Path(".vorlixstate"), std::ios::binary).rdbuf();
  return text.str();
}
