// The demo behind `make demo`: the real game in a fresh working folder, played
// through the X display with real input (xdotool) the way a player would:
// it boots, the title's carousel is browsed, one game is played in each mode
// and quit through the pause menu, the options, badge and credits boxes are
// opened, the window goes full screen and back, and the close button ends
// it. Every screen is saved as a PNG (ImageMagick's import) and a short report
// is written beside them. It fails, saying why, when a screen is missing or
// of one colour, when the game ends with another status than 0, or when it
// rendered too few frames a second. The game's resident memory, its peak and
// its open files (from /proc) are read on the title, after the first game of
// each mode, after the last game and before the close. With --soak, the games
// go on mode after mode for MINUTES more before the boxes, and the demo fails
// too when the game's files or resident memory grew from the first games to
// the last.
//   demo [--soak MINUTES] GAME DATA OUT    (GAME the binary, DATA its data folder, OUT the output folder)
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "host/process_status.h"
#include "tools/xdrive/game_session.h"
#include "tools/xdrive/x_display.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// ---- Tunables ---------------------------------------------------------------------------
constexpr double MIN_AVERAGE_FPS = 55;
constexpr double TIME_LIMIT = 300;  // seconds for the whole demo, besides a soak's minutes
constexpr double WINDOW_WAIT = 20;  // seconds for a window, a screen or the exit
constexpr int TAP_HOLD = 120;       // milliseconds: a key seen down at two ticks at least
constexpr int SETTLE = 700;         // an animation (carousel, sliding box) coming to rest
constexpr int PLAY_ROUNDS = 5;      // of the scripted player, about 3.3 s each
constexpr int MODES = 3;
constexpr int FULL_WIDTH = 1280, FULL_HEIGHT = 1024;  // the display with-display.sh starts
constexpr int WINDOW_WIDTH = 640, WINDOW_HEIGHT = 480;
constexpr long long SOAK_RESIDENT_GROWTH = 8 << 20;  // bytes a soak's game may grow by from the title
constexpr double MIB = 1 << 20;

// The state file: 25 settings and their checksum, 8 badge words and theirs,
// then per mode ten (best, recent) pairs and a checksum.
constexpr int STATE_BADGES_AT = 26, BADGE_WORDS = 8, STATE_SCORES_AT = 35, MODE_PARTS = 21;

// Every screen the demo saves, in the order it meets them, and its file name.
enum Screen {
  LOADING,
  TITLE,
  CAROUSEL_MODE2,
  CAROUSEL_MODE3,
  CAROUSEL_OPTIONS,
  MODE1_PLAY,
  MODE1_PAUSE,
  MODE1_GAME_OVER,  // then the same three for modes 2 and 3
  TITLE_SCORES = MODE1_PLAY + 3 * MODES,
  OPTIONS_BOX,
  BADGE_BOX,
  CREDITS_BOX,
  FULL_SCREEN,
  WINDOWED,
  SCREENS
};
constexpr const char* kScreens[SCREENS] = {
    "01-loading",         "02-title",       "03-carousel-mode2",  "04-carousel-mode3",  "05-carousel-options",
    "06-mode1-play",      "07-mode1-pause", "08-mode1-game-over", "09-mode2-play",      "10-mode2-pause",
    "11-mode2-game-over", "12-mode3-play",  "13-mode3-pause",     "14-mode3-game-over", "15-title-scores",
    "16-options",         "17-badges",      "18-credits",         "19-full-screen",     "20-windowed",
};

// ---- Pictures ---------------------------------------------------------------------------
bool OneColour(const Picture& p) { return p.Count(p.At(0, 0), 0) == static_cast<int>(p.pixels.size()); }

// Each channel within `tolerance` of the colour's.
std::function<bool(uint32_t)> Like(uint32_t rgb, int tolerance) {
  return [=](uint32_t p) { return Picture::Near(p, rgb, tolerance); };
}

// Each channel between `low`'s and `high`'s.
std::function<bool(uint32_t)> Between(uint32_t low, uint32_t high) {
  return [=](uint32_t p) {
    for (int shift = 0; shift < 24; shift += 8) {
      if ((p >> shift & 0xFF) < (low >> shift & 0xFF) || (p >> shift & 0xFF) > (high >> shift & 0xFF)) return false;
    }
    return true;
  };
}

// What the game's screens look like, enough to know where it is before a key
// that means something else elsewhere (Escape quits from the bare title).
bool Loading(const Picture& p) { return !OneColour(p) && !ShowsTitle(p); }
// The score's green digits at the top of the arena.
bool Playing(const Picture& p) { return p.Count(Like(0x52CF56, 40), 260, 16, 380, 48) > 40; }
// The blue resume button inside the yellow ring of the selected one.
bool Paused(const Picture& p) { return p.Count(0x3232FA, 12) > 200 && p.Count(0xFFFF64, 12) > 50; }
// The yellow bar across the middle.
bool GameOver(const Picture& p) { return p.Count(Between(0x646400, 0xFFFF50), 0, 216, p.width, 217) > 300; }
// The brown panel over most of the window.
bool Options(const Picture& p) {
  return p.Count(Between(0x783A00, 0xAA692D)) * 10 > static_cast<int>(p.pixels.size()) * 3;
}
// The dark red header across the top.
bool Badges(const Picture& p) { return p.Count(Like(0x640000, 12), 0, 0, p.width, 40) > p.width * 20; }
// The frame of coloured tiles: green top left, red top right.
bool Credits(const Picture& p) { return p.At(53, 10) == 0x00FF00 && p.At(630, 53) == 0xFF0000; }

// ---- The game ---------------------------------------------------------------------------
class Demo {
 public:
  Demo(const char* game, const char* data, const char* out, double soakMinutes)
      : game_(game), data_(data), out_(out), soakSeconds_(soakMinutes * 60) {}

  int Main();

 private:
  void Tap(const std::string& key, int times = 1) {
    for (int i = 0; i < times; ++i) {
      session_->Key(key, TAP_HOLD);
      PauseMilliseconds(TAP_HOLD);
    }
  }
  Picture Shot(Screen screen) { return session_->Shot(kScreens[screen]); }
  // Shots until `seen` holds for one, kept as the screen's; false, and the
  // reason noted, when none did in time.
  bool WaitFor(Screen screen, bool (*seen)(const Picture&), const std::string& what);
  // F11 to the window of this size; false, and the reason noted, when none came.
  bool SwitchTo(int width, int height);
  VxProcessStatus GameStatus() { return VxReadProcessStatus(session_->Process().Pid()); }

  void PlayMode(int mode);
  void Boxes();
  void FullScreen();
  void Close();
  void Report(double demoSeconds);

  std::string game_, data_, out_;
  double soakSeconds_;
  std::unique_ptr<GameSession> session_;
  // The game's, on the first title, after the first game of each mode, after the last game and before the close.
  VxProcessStatus onTitle_, afterFirstGames_, afterLastGame_, atEnd_;
  int status_ = -1;
  std::vector<std::string> problems_;
  std::chrono::time_point<Clock> start_ = Clock::now();
};

bool Demo::WaitFor(Screen screen, bool (*seen)(const Picture&), const std::string& what) {
  if (session_->WaitForShot(kScreens[screen], seen, WINDOW_WAIT)) return true;
  problems_.push_back(what + " never showed (" + kScreens[screen] + ")");
  return false;
}

bool Demo::SwitchTo(int width, int height) {
  if (session_->SwitchWindow("F11", width, height)) return true;
  problems_.push_back("no " + std::to_string(width) + " x " + std::to_string(height) + " window from the game");
  return false;
}

// Runs and jumps both ways, firing between; the game is then quit through
// the pause menu, whose game-over overlay records the score.
void Demo::PlayMode(int mode) {
  std::string name = "mode " + std::to_string(mode);
  auto play = static_cast<Screen>(MODE1_PLAY + 3 * (mode - 1));
  auto pause = static_cast<Screen>(play + 1), over = static_cast<Screen>(play + 2);
  Tap("Left", MODES);
  Tap("Right", mode - 1);
  Tap("Return");
  if (!WaitFor(play, Playing, name + "'s game")) return;
  for (int round = 0; round < PLAY_ROUNDS; ++round) {
    session_->Key("Right Up", 1200);
    session_->Key("z", 450);
    if (round == PLAY_ROUNDS / 2) Shot(play);
    session_->Key("Left Up", 1200);
    session_->Key("z", 450);
  }
  // Escape on the title would quit the program: only a game still running is paused.
  if (!WaitFor(pause, Playing, name + "'s game, still running,")) return;
  Tap("Escape");
  if (!WaitFor(pause, Paused, name + "'s pause menu")) return;
  PauseMilliseconds(SETTLE);
  Shot(pause);
  Tap("Left");
  Tap("Return");
  if (!WaitFor(over, GameOver, name + "'s game over")) return;
  WaitFor(TITLE_SCORES, ShowsTitle, "the title after " + name);
  PauseMilliseconds(SETTLE);
}

void Demo::Boxes() {
  Tap("Right", MODES);  // the options cog
  Tap("Return");
  if (WaitFor(OPTIONS_BOX, Options, "the options box")) {
    PauseMilliseconds(SETTLE);
    Shot(OPTIONS_BOX);
    Tap("Escape");
  }
  PauseMilliseconds(SETTLE);
  Tap("b");
  if (WaitFor(BADGE_BOX, Badges, "the badge box")) {
    PauseMilliseconds(SETTLE);
    Shot(BADGE_BOX);
    Tap("Escape");
  }
  PauseMilliseconds(SETTLE);
  Tap("n");
  if (WaitFor(CREDITS_BOX, Credits, "the credits box")) {
    PauseMilliseconds(SETTLE);
    Shot(CREDITS_BOX);
    Tap("n");
  }
  PauseMilliseconds(SETTLE);
}

// F11 opens a new window each way, found by its size, which loads the art
// again before the title comes back.
void Demo::FullScreen() {
  if (!SwitchTo(FULL_WIDTH, FULL_HEIGHT)) return;
  PauseMilliseconds(SETTLE);
  WaitFor(FULL_SCREEN, ShowsTitle, "the title in full screen");  // after the art is loaded again
  if (!SwitchTo(WINDOW_WIDTH, WINDOW_HEIGHT)) return;
  PauseMilliseconds(SETTLE);
  WaitFor(WINDOWED, ShowsTitle, "the title back in a window");
}

void Demo::Close() {
  RequestClose(session_->Window());
  if (session_->Process().Wait(WINDOW_WAIT) < 0) problems_.push_back("the game did not end on the close request");
}

void Demo::Report(double demoSeconds) {
  std::map<std::string, std::string> game;
  WriteFile(out_ + "/game-output.txt", session_->Output());
  std::istringstream lines(ReadFile(session_->Path("report.txt")));
  for (std::string name, value; lines >> name >> value;) game[name] = value;
  std::vector<std::string> parts;
  std::istringstream state(ReadFile(session_->Path(".vorlixstate")));
  for (std::string part; std::getline(state, part, '|');) parts.push_back(part);

  if (status_ != 0) problems_.push_back("the game's exit status was " + std::to_string(status_) + ", not 0");
  if (game.count("average_fps") == 0) {
    problems_.push_back("the game wrote no report");
  } else if (strtod(game["average_fps"].c_str(), nullptr) < MIN_AVERAGE_FPS) {
    problems_.push_back("the game rendered " + game["average_fps"] + " frames a second on average, under " +
                        std::to_string(static_cast<int>(MIN_AVERAGE_FPS)));
  }
  for (int screen = 0; screen < SCREENS; ++screen) {
    Picture picture = LoadPicture(out_ + "/" + kScreens[screen] + ".png");
    if (picture.pixels.empty()) {
      problems_.push_back(std::string("no screenshot ") + kScreens[screen] + ".png");
    } else if (OneColour(picture)) {
      problems_.push_back(std::string("screenshot ") + kScreens[screen] + ".png is of a single colour");
    }
  }

  std::ostringstream text;
  text << "Kalvexa demo: " << (problems_.empty() ? "passed" : "FAILED") << "\n";
  text << "game exit status     " << status_ << "\n";
  text << "update ticks         " << game["update_ticks"] << "\n";
  text << "frames rendered      " << game["frames_rendered"] << " in " << game["run_seconds"] << " s\n";
  text << "average frames/s     " << game["average_fps"] << "\n";
  const std::pair<const char*, const VxProcessStatus&> moments[] = {{"on title", onTitle_},
                                                                    {"after 3 games", afterFirstGames_},
                                                                    {"after last game", afterLastGame_},
                                                                    {"at end", atEnd_}};
  for (const auto& [when, status] : moments) {
    char line[128];
    snprintf(line, sizeof line, "resident %-15s  %.1f MiB\nopen files %-15s  %d\n", when, status.residentBytes / MIB,
             when, status.openFiles);
    text << line;
  }
  char peak[64];
  snprintf(peak, sizeof peak, "peak resident             %.1f MiB\n", atEnd_.peakResidentBytes / MIB);
  text << peak;
  if (soakSeconds_ > 0) {
    long long growth = afterLastGame_.residentBytes - afterFirstGames_.residentBytes;
    if (afterLastGame_.openFiles != afterFirstGames_.openFiles) {
      problems_.push_back("the game's open files changed in the soak");
    }
    if (growth > SOAK_RESIDENT_GROWTH) {
      problems_.push_back("the game's resident memory grew by " + std::to_string(growth) + " bytes in the soak");
    }
  }
  if (static_cast<int>(parts.size()) >= STATE_SCORES_AT + MODES * MODE_PARTS) {
    for (int mode = 0; mode < MODES; ++mode) {
      int at = STATE_SCORES_AT + mode * MODE_PARTS;
      text << "mode " << mode + 1 << " score         " << parts[at + 1] << " (best " << parts[at] << ")\n";
    }
    text << "badges earned       ";
    for (int word = 0; word < BADGE_WORDS; ++word) {
      auto bits = static_cast<uint32_t>(strtoll(parts[STATE_BADGES_AT + word].c_str(), nullptr, 10));
      for (int bit = 0; bit < 32; ++bit) {
        if (bits >> bit & 1) text << " " << 32 * word + bit;
      }
    }
    text << "\n";
  } else {
    problems_.push_back("no complete state file");
  }
  text << "screenshots          " << SCREENS << " in " << out_ << "/\n";
  text << "demo time            " << static_cast<int>(demoSeconds + 0.5) << " s\n";
  for (const std::string& problem : problems_) text << "problem: " << problem << "\n";
  std::ofstream(out_ + "/report.txt") << text.str();
  fputs(text.str().c_str(), problems_.empty() ? stdout : stderr);
}

int Demo::Main() {
  fs::remove_all(out_);
  fs::create_directories(out_);
  session_ = std::make_unique<GameSession>(GameSetup{game_, data_, out_, {}, "", {"KALVEXA_REPORT=report.txt"}});
  ChildProcess& game = session_->Process();
  if (session_->Window().empty()) {
    problems_.push_back("no window from the game");
  } else {
    WaitFor(LOADING, Loading, "the loading screen");
    if (WaitFor(TITLE, ShowsTitle, "the title")) {
      PauseMilliseconds(SETTLE);
      Shot(TITLE);
      onTitle_ = GameStatus();
      for (Screen item : {CAROUSEL_MODE2, CAROUSEL_MODE3, CAROUSEL_OPTIONS}) {
        Tap("Right");
        PauseMilliseconds(SETTLE);
        Shot(item);
      }
      for (int mode = 1; mode <= MODES && problems_.empty(); ++mode) PlayMode(mode);
      afterFirstGames_ = GameStatus();
      auto soakEnd = start_ + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(soakSeconds_));
      for (int mode = 1; problems_.empty() && Clock::now() < soakEnd; mode = mode % MODES + 1) PlayMode(mode);
      afterLastGame_ = GameStatus();
      if (problems_.empty()) Boxes();
      if (problems_.empty()) FullScreen();
    }
    // Wherever the demo stopped, the game is asked to end as a player would.
    if (!game.Ended()) {
      atEnd_ = GameStatus();
      Close();
    }
  }
  status_ = game.Wait(0);
  double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
  if (seconds > TIME_LIMIT + soakSeconds_) {
    problems_.push_back("the demo took longer than " + std::to_string(static_cast<int>(TIME_LIMIT + soakSeconds_)) +
                        " s");
  }
  Report(seconds);
  return problems_.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  double soakMinutes = 0;
  if (argc == 6 && strcmp(argv[1], "--soak") == 0) {
    soakMinutes = strtod(argv[2], nullptr);
    argv += 2;
    argc -= 2;
  }
  if (argc != 4 || !getenv("DISPLAY")) {
    fprintf(stderr,
            "usage: demo [--soak MINUTES] GAME DATA OUT, on an X display (scripts/with-display.sh gives one)\n");
    return 2;
  }
  return Demo(argv[1], argv[2], argv[3], soakMinutes).Main();
}
