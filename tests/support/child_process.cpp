#include "tests/support/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

void Pause() { std::this_thread::sleep_for(std::chrono::milliseconds(10)); }

}  // namespace

ChildProcess::ChildProcess(std::vector<std::string> arguments) {
  char path[] = "/tmp/vx_child_XXXXXX";
  int out = mkstemp(path);
  if (out < 0) abort();
  output_ = path;
  pid_ = fork();
  if (pid_ == 0) {
    dup2(out, 1);
    dup2(out, 2);
    setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
    setenv("ALSOFT_DRIVERS", "null", 1);
    std::vector<char*> argv;
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(out);
}

ChildProcess::~ChildProcess() {
  if (!Ended()) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  unlink(output_.c_str());
}

std::string ChildProcess::Output() const {
  std::stringstream text;
  text << std::ifstream(output_).rdbuf();
  return text.str();
}

int ChildProcess::Count(const std::string& line) const {
  int n = 0;
  std::string framed = "\n" + Output(), wanted = "\n" + line + "\n";
  for (size_t at = framed.find(wanted); at != std::string::npos; at = framed.find(wanted, at + 1)) ++n;
  return n;
}

bool ChildProcess::WaitForLine(const std::string& line, int times, double seconds) const {
  for (auto deadline = Clock::now() + std::chrono::duration<double>(seconds); Count(line) < times; Pause()) {
    if (Clock::now() > deadline) return false;
  }
  return true;
}

bool ChildProcess::Ended() {
  if (status_ >= 0) return true;
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) != pid_) return false;
  status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return true;
}

int ChildProcess::Wait(double seconds) {
  for (auto deadline = Clock::now() + std::chrono::duration<double>(seconds); !Ended(); Pause()) {
    if (Clock::now() > deadline) return -1;
  }
  return status_;
}
