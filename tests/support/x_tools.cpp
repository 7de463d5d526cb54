#include "tests/support/x_tools.h"

#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "tests/support/subprocess.h"

namespace {

constexpr auto WINDOW_WAIT = std::chrono::seconds(20);

}  // namespace

void PauseMilliseconds(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

std::string Xdotool(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "/usr/bin/xdotool");
  ProcessResult result = RunProcess(arguments);
  while (!result.out.empty() && result.out.back() == '\n') result.out.pop_back();
  return result.out;
}

std::string WindowNamed(const std::string& name) {
  for (auto deadline = std::chrono::steady_clock::now() + WINDOW_WAIT; std::chrono::steady_clock::now() < deadline;
       PauseMilliseconds(20)) {
    std::string found = Xdotool({"search", "--onlyvisible", "--name", "^" + name + "$"});
    if (!found.empty()) return found.substr(0, found.find('\n'));
  }
  return "";
}

WindowManager::WindowManager() : config_("/tmp/vx_jwmrc_" + std::to_string(getpid())) {
  ClearMark();
  std::ofstream(config_) << "<?xml version=\"1.0\"?>\n<JWM></JWM>\n";
  jwm_ = std::make_unique<ChildProcess>(std::vector<std::string>{"/usr/bin/jwm", "-f", config_});
}

WindowManager::~WindowManager() {
  jwm_.reset();
  ClearMark();
  unlink(config_.c_str());
}

bool WindowManager::Ready() const {
  for (auto deadline = std::chrono::steady_clock::now() + WINDOW_WAIT; std::chrono::steady_clock::now() < deadline;
       PauseMilliseconds(50)) {
    if (RunProcess({"/usr/bin/xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).out.find("window id") !=
        std::string::npos) {
      return true;
    }
  }
  return false;
}

void WindowManager::ClearMark() { RunProcess({"/usr/bin/xprop", "-root", "-remove", "_NET_SUPPORTING_WM_CHECK"}); }
