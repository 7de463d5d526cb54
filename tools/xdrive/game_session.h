// The game started in a fresh working folder that links its data, and driven
// through its window as a player would: keys held until an update tick sees
// them, pictures of the window, full-screen switches that open a new window.
// The folder goes with the session.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tools/xdrive/folder.h"
#include "tools/xdrive/picture.h"
#include "tools/xdrive/process.h"

struct GameSetup {
  std::string game, data;  // the program and its data folder
  std::string pictures;    // the folder Shot saves <name>.png in
  std::vector<std::string> arguments;
  std::string state;                // written as the state file first, unless empty
  std::vector<std::string> setEnv;  // "NAME=value" entries for the game
  bool focus = true;                // the window is focused as by a click once shown
};

class GameSession {
 public:
  explicit GameSession(const GameSetup& setup);

  // The window's id once it is visible ("" when it never appeared).
  const std::string& Window() const { return window_; }
  ChildProcess& Process() { return *process_; }
  std::string Output() const { return process_->Output(); }
  // A path in the game's working folder.
  std::string Path(const std::string& relative) const { return folder_.Path(relative); }

  // `keys` are xdotool's names, separated by spaces, pressed or released together.
  void KeyDown(const std::string& keys);
  void KeyUp(const std::string& keys);
  // Held for a few ticks, so that the game sees them down at an update.
  void Key(const std::string& keys, int holdMilliseconds = 120);
  // Presses a key that replaces the window (full screen and back) and finds
  // the new window of that size. The key is held past a slow full-screen
  // frame, with the server's key repeat off so that it switches only once.
  bool SwitchWindow(const std::string& key, int width, int height, bool focus = true);
  // Waits for the game's window to have this size (0 x 0: any; a full-screen
  // switch opens a new window, which may reuse the old one's id) and, unless
  // told not to, focuses it as a player's click would.
  bool FindWindowOfSize(int width, int height, bool focus = true);
  // Waits for the game's window to hold the keyboard focus.
  bool WaitForFocus();

  // Saves the window as <pictures>/<name>.png and returns it.
  Picture Shot(const std::string& name);
  // Takes pictures until `seen` holds for one (kept as <name>), for up to
  // `seconds`; false when it never did or the game ended.
  bool WaitForShot(const std::string& name, const std::function<bool(const Picture&)>& seen, double seconds = 10);

 private:
  ScratchFolder folder_;
  std::string pictures_;
  std::unique_ptr<ChildProcess> process_;
  std::string window_;
};

// The title's background, (0, 0, 80), left of its art.
bool ShowsTitle(const Picture& picture);
