#include "tools/xdrive/game_session.h"

#include <filesystem>
#include <sstream>

#include "tools/xdrive/x_display.h"

namespace {

constexpr int SLOW_FRAME_HOLD = 1500;  // milliseconds a window-switching key is held

std::vector<std::string> KeyCommand(std::vector<std::string> command, const std::string& keys) {
  std::istringstream names(keys);
  for (std::string key; names >> key;) command.push_back(key);
  return command;
}

}  // namespace

GameSession::GameSession(const GameSetup& setup) : pictures_(setup.pictures) {
  std::filesystem::create_directory_symlink(std::filesystem::absolute(setup.data), Path("data"));
  if (!setup.state.empty()) WriteFile(Path(".vorlixstate"), setup.state);
  std::filesystem::create_directories(pictures_);
  std::vector<std::string> arguments = setup.arguments;
  arguments.insert(arguments.begin(), std::filesystem::absolute(setup.game));
  ProcessOptions options;
  options.setEnv = setup.setEnv;
  options.workingDirectory = folder_.Root();
  process_ = std::make_unique<ChildProcess>(arguments, options);
  FindWindowOfSize(0, 0, setup.focus);
}

void GameSession::KeyDown(const std::string& keys) { Xdotool(KeyCommand({"keydown", "--window", window_}, keys)); }

// Released on the server, not sent to the window: a key whose press changed
// the window (full screen) would otherwise stay down for every later program.
void GameSession::KeyUp(const std::string& keys) { Xdotool(KeyCommand({"keyup"}, keys)); }

void GameSession::Key(const std::string& keys, int holdMilliseconds) {
  KeyDown(keys);
  PauseMilliseconds(holdMilliseconds);
  KeyUp(keys);
}

bool GameSession::SwitchWindow(const std::string& key, int width, int height, bool focus) {
  RunProcess({"/usr/bin/xset", "r", "off"});
  Key(key, SLOW_FRAME_HOLD);
  RunProcess({"/usr/bin/xset", "r", "on"});
  return FindWindowOfSize(width, height, focus);
}

bool GameSession::FindWindowOfSize(int width, int height, bool focus) {
  window_ = FindWindow(
      {"search", "--onlyvisible", "--pid", std::to_string(process_->Pid())},
      [&](const std::string& w) { return width == 0 || WindowSize(w) == std::make_pair(width, height); },
      [&] { return !process_->Ended(); });
  if (window_.empty()) return false;
  if (focus) Xdotool({"windowfocus", "--sync", window_});
  return true;
}

bool GameSession::WaitForFocus() {
  return !FindWindow(
              {"getwindowfocus"}, [&](const std::string& w) { return w == window_; },
              [&] { return !process_->Ended(); })
              .empty();
}

Picture GameSession::Shot(const std::string& name) { return TakePicture(window_, pictures_ + "/" + name + ".png"); }

bool GameSession::WaitForShot(const std::string& name, const std::function<bool(const Picture&)>& seen,
                              double seconds) {
  bool shown = false;
  WaitUntil(
      [&] {
        Picture shot = Shot(name);
        shown = !shot.pixels.empty() && seen(shot);
        return shown || process_->Ended();
      },
      seconds, 50);
  return shown;
}

bool ShowsTitle(const Picture& picture) { return Picture::Near(picture.At(10, picture.height / 2), 0x000050); }
