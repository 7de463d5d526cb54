#include "tools/xdrive/x_display.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <sstream>

namespace {

bool ManagerMarked() {
  return RunProcess({"/usr/bin/xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).out.find("window id") != std::string::npos;
}

}  // namespace

std::string Xdotool(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "/usr/bin/xdotool");
  ProcessResult result = RunProcess(arguments);
  while (!result.out.empty() && result.out.back() == '\n') result.out.pop_back();
  return result.out;
}

std::string FindWindow(const std::vector<std::string>& search, const std::function<bool(const std::string&)>& fits,
                       const std::function<bool()>& alive) {
  std::string window;
  WaitUntil([&] {
    std::istringstream found(Xdotool(search));
    while (found >> window) {
      if (fits(window)) return true;
    }
    window.clear();
    return !alive();
  });
  return window;
}

std::string WindowNamed(const std::string& name) {
  return FindWindow(
      {"search", "--onlyvisible", "--name", "^" + name + "$"}, [](const std::string&) { return true; },
      [] { return true; });
}

std::pair<int, int> WindowSize(const std::string& window) {
  std::string geometry = Xdotool({"getwindowgeometry", window});
  size_t at = geometry.find("Geometry: ");
  int w = 0, h = 0;
  if (at != std::string::npos) sscanf(geometry.c_str() + at, "Geometry: %dx%d", &w, &h);
  return {w, h};
}

bool RequestClose(const std::string& window) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return false;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = static_cast<Window>(std::stoul(window));
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  Status sent = XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
  XCloseDisplay(display);
  return sent != 0;
}

WindowManager::WindowManager() {
  ClearMark();
  WriteFile(folder_.Path("jwmrc"), "<?xml version=\"1.0\"?>\n<JWM></JWM>\n");
  jwm_ = std::make_unique<ChildProcess>(std::vector<std::string>{"/usr/bin/jwm", "-f", folder_.Path("jwmrc")});
}

WindowManager::~WindowManager() {
  jwm_.reset();
  ClearMark();
}

bool WindowManager::Ready() const { return WaitUntil(ManagerMarked, 20, 50); }

void WindowManager::ClearMark() { RunProcess({"/usr/bin/xprop", "-root", "-remove", "_NET_SUPPORTING_WM_CHECK"}); }
