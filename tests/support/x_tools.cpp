#include "tests/support/x_tools.h"

#include <chrono>
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
