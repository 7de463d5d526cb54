// The X display as a test drives it: xdotool, waiting for windows, and a
// window manager.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "tests/support/child_process.h"

// Runs xdotool with `arguments`; its output without the closing newline.
std::string Xdotool(std::vector<std::string> arguments);
// The visible window of this name, waited for ("" when none appeared).
std::string WindowNamed(const std::string& name);
void PauseMilliseconds(int milliseconds);

// jwm with an empty configuration for one test. A killed manager leaves its
// mark on the root window, which makes later programs wait on it: the mark is
// cleared before and after.
class WindowManager {
 public:
  WindowManager();
  ~WindowManager();
  // Waits until it manages the display; false when it never did.
  bool Ready() const;

 private:
  static void ClearMark();
  std::string config_;
  std::unique_ptr<ChildProcess> jwm_;
};
