// The X display as a driver works it: xdotool, waiting for windows, the
// window manager's close request, and a window manager of its own.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tools/xdrive/folder.h"
#include "tools/xdrive/process.h"

// Runs xdotool with `arguments`; its output without the closing newline.
std::string Xdotool(std::vector<std::string> arguments);
// The first window that xdotool's `search` lists and `fits` accepts, waited
// for while `alive` holds ("" when none came in time).
std::string FindWindow(const std::vector<std::string>& search, const std::function<bool(const std::string&)>& fits,
                       const std::function<bool()>& alive);
// The visible window of this name, waited for ("" when none appeared).
std::string WindowNamed(const std::string& name);
// Its size as the window system has it; 0 x 0 when it is gone.
std::pair<int, int> WindowSize(const std::string& window);
// The close button's request (WM_DELETE_WINDOW), which xdotool cannot send.
bool RequestClose(const std::string& window);

// jwm with an empty configuration. A killed manager leaves its mark on the
// root window, which makes later programs wait on it: the mark is cleared
// before and after.
class WindowManager {
 public:
  WindowManager();
  ~WindowManager();
  // Waits until it manages the display; false when it never did.
  bool Ready() const;

 private:
  static void ClearMark();
  ScratchFolder folder_;
  std::unique_ptr<ChildProcess> jwm_;
};
