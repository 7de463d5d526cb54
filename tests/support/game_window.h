// The real program in a real window on the test display: build/kalvexa runs
// in a temporary working folder with the generated data, the silent OpenAL
// device, and real X input sent with xdotool. Screenshots are kept under
// build/screens/ for people to look at.
#pragma once
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

// A picture of the window as 0xRRGGBB pixels, rows top to bottom.
struct Screenshot {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  // Pixels within `tolerance` of `rgb` in every channel.
  int Count(uint32_t rgb, int tolerance = 8) const;
};

class GameWindow {
 public:
  // Starts the game with `arguments`; `state` is written as the state file first.
  explicit GameWindow(std::vector<std::string> arguments = {}, const std::string& state = "");
  ~GameWindow();
  GameWindow(const GameWindow&) = delete;
  GameWindow& operator=(const GameWindow&) = delete;

  // The window's id once it is visible and focused ("" when it never appeared).
  const std::string& Window() const { return window_; }
  // Waits for the game's window to have this size (a full-screen switch
  // opens a new window, which may reuse the old one's id) and focuses it.
  bool FindWindowOfSize(int width, int height);
  pid_t Pid() const { return pid_; }

  // A key held for a few ticks, so that the game sees it down at an update.
  void Key(const std::string& key, int holdMilliseconds = 120);
  void KeyDown(const std::string& key);
  void KeyUp(const std::string& key);
  // Window pixel positions.
  void MouseMove(int x, int y);
  void Click(int x, int y);
  // Button down at the first point, moved in steps to the second, then up.
  void Drag(int x0, int y0, int x1, int y1, int steps = 6);

  // Saves build/screens/<name>.png and returns it.
  Screenshot Shot(const std::string& name);
  // Takes pictures until `seen` holds for one (kept as <name>), for up to
  // `seconds`; false when it never did.
  bool WaitForShot(const std::string& name, const std::function<bool(const Screenshot&)>& seen, double seconds = 10);

  // Stops and continues the process, to catch a picture that lasts only a moment.
  void Freeze();
  void Thaw();

  // The exit status; -1 when the game still runs after `seconds`.
  int Wait(double seconds = 10);
  std::string Output() const;
  std::string StateFile() const;
  const TempFolder& Folder() const { return folder_; }

 private:
  TempFolder folder_;
  pid_t pid_ = -1;
  std::string window_;
  std::string output_;
};

// Another program on the display, for as long as this object lives.
class OtherProgram {
 public:
  explicit OtherProgram(std::vector<std::string> arguments);
  ~OtherProgram();
  OtherProgram(const OtherProgram&) = delete;
  OtherProgram& operator=(const OtherProgram&) = delete;
  // Its visible window of this name, waited for ("" when it never appeared).
  std::string Window(const std::string& name) const;

 private:
  pid_t pid_ = -1;
};

// Runs xdotool with `arguments`; its output without the closing newline.
std::string Xdotool(std::vector<std::string> arguments);
void PauseMilliseconds(int milliseconds);
