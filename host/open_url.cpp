// Opening a URL with the desktop's handler. The URL is one argument of
// xdg-open and never passes through a shell, so nothing in it is run.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "host/vx_game.h"

namespace {

constexpr const char* URL_OPENER = "xdg-open";

}  // namespace

void VxGlfwGame::OpenUrl(String url) {
  std::string text = url.ToCString();
  char* const arguments[] = {const_cast<char*>(URL_OPENER), text.data(), nullptr};
  // The opener runs as a grandchild that nobody waits for: the child in
  // between ends at once and is reaped here, so no zombie is left.
  pid_t child = fork();
  if (child < 0) return;
  if (child == 0) {
    if (fork() == 0) {
      signal(SIGPIPE, SIG_DFL);  // the game's own choice, not the opener's
      execvp(URL_OPENER, arguments);
      _exit(127);
    }
    _exit(0);
  }
  waitpid(child, nullptr, 0);
}
