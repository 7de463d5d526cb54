// A program running beside the test for as long as this object lives: its
// standard output and error go to a file the test reads as it grows. It runs
// with the silent OpenAL device and without leak reports (Mesa and Xlib keep
// allocations until exit that LeakSanitizer would report).
#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

class ChildProcess {
 public:
  explicit ChildProcess(std::vector<std::string> arguments);
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
  pid_t pid_ = -1;
  int status_ = -1;
  std::string output_;
};
