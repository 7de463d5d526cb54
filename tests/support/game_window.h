// The real program in a real window on the test display: build/kalvexa runs
// in a temporary working folder with the generated data, the silent OpenAL
// device, and real X input sent with xdotool. Screenshots are kept under
// build/screens/ for people to look at.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/temp_folder.h"
#include "tests/support/x_tools.h"

// A picture of the window as 0xRRGGBB pixels, rows top to bottom.
struct Screenshot {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;

  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  // Pixels within `tolerance` of `rgb` in every channel.
  int Count(uint32_t rgb, int tolerance = 8) const;
  // Pixels of the box that differ from `other`'s by more than `tolerance` in a channel.
  int Changed(const Screenshot& other, int left, int top, int right, int bottom, int tolerance = 8) const;
  static bool Near(uint32_t a, uint32_t b, int tolerance = 8);
};

class GameWindow {
 public:
  // Starts the game with `arguments`; `state` is written as the state file
  // first. The window is focused as by a click, unless told not to.
  explicit GameWindow(std::vector<std::string> arguments = {}, const std::string& state = "", bool focus = true);

  // The window's id once it is visible ("" when it never appeared).
  const std::string& Window() const { return window_; }
  ChildProcess& Process() { return *process_; }

  // A key held for a few ticks, so that the game sees it down at an update.
  void Key(const std::string& key, int holdMilliseconds = 120);
  void KeyDown(const std::string& key);
  void KeyUp(const std::string& key);
  // Presses a key that replaces the window (full screen and back) and finds
  // the new window of that size. The key is held past a slow full-screen
  // frame, with the server's key repeat off so that it switches only once.
  bool SwitchWindow(const std::string& key, int width, int height, bool focus = true);
  // Waits for the game's window to have this size (a full-screen switch opens
  // a new window, which may reuse the old one's id) and, unless told not to,
  // focuses it as a player's click would, for tests of what lies beyond.
  bool FindWindowOfSize(int width, int height, bool focus = true);
  // Waits for the game's window to hold the keyboard focus.
  bool WaitForFocus();

  // Saves build/screens/<name>.png and returns it.
  Screenshot Shot(const std::string& name);
  // Takes pictures until `seen` holds for one (kept as <name>), for up to
  // `seconds`; false when it never did.
  bool WaitForShot(const std::string& name, const std::function<bool(const Screenshot&)>& seen, double seconds = 10);
  // Waits for the title's background, (0, 0, 80) left of its art, and for its slide.
  bool WaitForTitle(const std::string& name);

  std::string Output() const { return process_->Output(); }
  std::string StateFile() const;

 private:
  TempFolder folder_;
  std::unique_ptr<ChildProcess> process_;
  std::string window_;
};
