// Programs run from a driver: one run to its end with its output captured, or
// one running beside the driver for as long as an object lives.
#pragma once
#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "tools/xdrive/folder.h"

struct ProcessResult {
  std::string out;
  std::string err;
  int status = -1;  // exit status 0-255, or 128 + signal when killed
};

struct ProcessOptions {
  std::string input;                  // RunProcess: written to standard input, which is then closed
  std::vector<std::string> setEnv;    // "NAME=value" entries added to the environment
  std::vector<std::string> unsetEnv;  // names removed from the environment
  std::string workingDirectory;       // empty: the caller's
  double timeoutSeconds = 60;         // RunProcess: the child is killed after this
};

ProcessResult RunProcess(const std::vector<std::string>& argv, const ProcessOptions& options = {});

void PauseMilliseconds(int milliseconds);
// Asks `done` every `pollMilliseconds` until it holds; false when it never did within `seconds`.
bool WaitUntil(const std::function<bool()>& done, double seconds = 20, int pollMilliseconds = 20);

// A program beside the driver, its standard output and error going to a file
// that is read as it grows. It runs with the silent OpenAL device (these
// machines have no sound card) and without leak reports (Mesa and Xlib keep
// allocations until exit that LeakSanitizer would report).
class ChildProcess {
 public:
  explicit ChildProcess(const std::vector<std::string>& arguments, ProcessOptions options = {});
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t Pid() const { return pid_; }
  std::string Output() const;
  // How often `line` has been printed so far.
  int Count(const std::string& line) const;
  // Waits until `line` has been printed `times` times in all.
  bool WaitForLine(const std::string& line, int times = 1, double seconds = 20) const;
  // The exit status (128 + signal when killed); -1 when it still runs after `seconds`.
  int Wait(double seconds = 20);
  // True once the process has ended (the status is then kept for Wait).
  bool Ended();

 private:
  ScratchFolder folder_;  // holds the output
  pid_t pid_ = -1;
  int status_ = -1;
};
