// The real program in a real window on the test display: build/kalvexa in a
// session of the driver library, its screenshots kept under build/screens/
// for people to look at.
#pragma once
#include <string>
#include <vector>

#include "tests/support/x_tools.h"
#include "tools/xdrive/game_session.h"

using Screenshot = Picture;

class GameWindow : public GameSession {
 public:
  // Starts the game with `arguments`; `state` is written as the state file
  // first. The window is focused as by a click, unless told not to.
  explicit GameWindow(std::vector<std::string> arguments = {}, const std::string& state = "", bool focus = true);

  // Waits for the title, kept as <name>, and for its items to slide in.
  bool WaitForTitle(const std::string& name);
  std::string StateFile() const { return ReadFile(Path(".vorlixstate")); }
};
