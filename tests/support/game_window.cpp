#include "tests/support/game_window.h"

#include "tests/support/subprocess.h"

namespace {

constexpr int TITLE_SLIDE = 700;  // milliseconds the title's items take to slide in

}  // namespace

GameWindow::GameWindow(std::vector<std::string> arguments, const std::string& state, bool focus)
    : GameSession(
          {BuildPath("kalvexa"), BuildPath("run/data"), BuildPath("screens"), std::move(arguments), state, {}, focus}) {
}

bool GameWindow::WaitForTitle(const std::string& name) {
  bool shown = WaitForShot(name, ShowsTitle);
  PauseMilliseconds(TITLE_SLIDE);
  return shown;
}
