#include "tools/xdrive/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "tools/xdrive/folder.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

std::string NameOf(const std::string& entry) { return entry.substr(0, entry.find('=')); }

std::vector<std::string> ChildEnvironment(const ProcessOptions& options) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) env.push_back(*e);
  auto drop = [&](const std::string& name) {
    for (size_t i = env.size(); i-- > 0;) {
      if (NameOf(env[i]) == name) env.erase(env.begin() + static_cast<long>(i));
    }
  };
  for (const std::string& unset : options.unsetEnv) drop(unset);
  for (const std::string& set : options.setEnv) {
    drop(NameOf(set));
    env.push_back(set);
  }
  return env;
}

std::vector<char*> CStrings(std::vector<std::string>& strings) {
  std::vector<char*> out;
  for (std::string& s : strings) out.push_back(s.data());
  out.push_back(nullptr);
  return out;
}

// Starts `argv` with standard input, output and error from `in`, `out` and
// `err` (-1: the caller's); descriptors opened close-on-exec stay behind.
pid_t Spawn(std::vector<std::string> argv, const ProcessOptions& options, int in, int out, int err) {
  std::vector<std::string> env = ChildEnvironment(options);
  std::vector<char*> cargs = CStrings(argv), cenv = CStrings(env);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const int from[] = {in, out, err};
  for (int fd = 0; fd < 3; ++fd) {
    if (from[fd] >= 0) posix_spawn_file_actions_adddup2(&actions, from[fd], fd);
  }
  if (!options.workingDirectory.empty()) {
    posix_spawn_file_actions_addchdir_np(&actions, options.workingDirectory.c_str());
  }
  pid_t pid = -1;
  if (posix_spawn(&pid, cargs[0], &actions, nullptr, cargs.data(), cenv.data()) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

int Open(const std::string& path, int flags) { return open(path.c_str(), flags | O_CLOEXEC, 0600); }

int StatusOf(int raw) { return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw); }

}  // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv, const ProcessOptions& options) {
  ScratchFolder files;
  WriteFile(files.Path("in"), options.input);
  int in = Open(files.Path("in"), O_RDONLY), out = Open(files.Path("out"), O_WRONLY | O_CREAT),
      err = Open(files.Path("err"), O_WRONLY | O_CREAT);
  pid_t pid = Spawn(argv, options, in, out, err);
  for (int fd : {in, out, err}) close(fd);
  ProcessResult result;
  if (pid < 0) {
    result.err = "cannot run " + argv[0];
    result.status = 127;
    return result;
  }
  // Its descriptor turns readable when it exits: the wait ends then, not at a poll.
  pollfd child = {static_cast<int>(syscall(SYS_pidfd_open, pid, 0)), POLLIN, 0};
  bool ended = child.fd < 0 || poll(&child, 1, static_cast<int>(options.timeoutSeconds * 1000)) > 0;
  if (child.fd >= 0) close(child.fd);
  if (!ended) kill(pid, SIGKILL);
  int raw = 0;
  waitpid(pid, &raw, 0);
  result.out = ReadFile(files.Path("out"));
  result.err = ReadFile(files.Path("err")) + (ended ? "" : "\n[killed after timeout]");
  result.status = StatusOf(raw);
  return result;
}

void PauseMilliseconds(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

bool WaitUntil(const std::function<bool()>& done, double seconds, int pollMilliseconds) {
  for (auto deadline = Clock::now() + std::chrono::duration<double>(seconds); !done();
       PauseMilliseconds(pollMilliseconds)) {
    if (Clock::now() > deadline) return false;
  }
  return true;
}

ChildProcess::ChildProcess(const std::vector<std::string>& arguments, ProcessOptions options) {
  int out = Open(folder_.Path("output"), O_WRONLY | O_CREAT);
  options.setEnv.insert(options.setEnv.begin(), {"ASAN_OPTIONS=detect_leaks=0", "ALSOFT_DRIVERS=null"});
  pid_ = Spawn(arguments, options, -1, out, out);
  if (pid_ < 0) status_ = 127;
  close(out);
}

ChildProcess::~ChildProcess() {
  if (!Ended()) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
}

std::string ChildProcess::Output() const { return ReadFile(folder_.Path("output")); }

int ChildProcess::Count(const std::string& line) const {
  int n = 0;
  std::string framed = "\n" + Output(), wanted = "\n" + line + "\n";
  for (size_t at = framed.find(wanted); at != std::string::npos; at = framed.find(wanted, at + 1)) ++n;
  return n;
}

bool ChildProcess::WaitForLine(const std::string& line, int times, double seconds) const {
  return WaitUntil([&] { return Count(line) >= times; }, seconds, 10);
}

bool ChildProcess::Ended() {
  if (status_ >= 0) return true;
  int raw = 0;
  if (waitpid(pid_, &raw, WNOHANG) != pid_) return false;
  status_ = StatusOf(raw);
  return true;
}

int ChildProcess::Wait(double seconds) {
  return WaitUntil([&] { return Ended(); }, seconds, 10) ? status_ : -1;
}
