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
#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stb_image.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "host/process_status.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// ---- Tunables ---------------------------------------------------------------------------
constexpr double MIN_AVERAGE_FPS = 55;
constexpr double TIME_LIMIT = 300;  // seconds for the whole demo, besides a soak's minutes
constexpr double WINDOW_WAIT = 20;  // seconds for a window, a screen or the exit
constexpr int TAP_HOLD = 120;       // milliseconds: a key seen down at two ticks at least
constexpr int SWITCH_HOLD = 300;    // a full-screen switch, held past a slow frame but not into repeat
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
struct Picture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0xRRGGBB, rows top to bottom

  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  bool OneColour() const {
    for (uint32_t p : pixels) {
      if (p != pixels[0]) return false;
    }
    return true;
  }
  // Pixels of the box (the whole picture when it has no right edge) that `is` accepts.
  int Count(const std::function<bool(int, int, int)>& is, int left = 0, int top = 0, int right = 0,
            int bottom = 0) const {
    int n = 0;
    for (int y = top; y < (right ? bottom : height); ++y) {
      for (int x = left; x < (right ? right : width); ++x) {
        uint32_t p = At(x, y);
        n += is(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
      }
    }
    return n;
  }
};

Picture Load(const std::string& path) {
  Picture picture;
  int channels = 0;
  unsigned char* rgb = stbi_load(path.c_str(), &picture.width, &picture.height, &channels, 3);
  if (!rgb) return picture;
  picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
  for (size_t i = 0; i < picture.pixels.size(); ++i) {
    picture.pixels[i] = static_cast<uint32_t>(rgb[i * 3]) << 16 | rgb[i * 3 + 1] << 8 | rgb[i * 3 + 2];
  }
  stbi_image_free(rgb);
  return picture;
}

bool Near(int value, int wanted, int tolerance) { return value >= wanted - tolerance && value <= wanted + tolerance; }

// Each channel within `tolerance` of the colour's.
std::function<bool(int, int, int)> Like(uint32_t rgb, int tolerance) {
  return [=](int r, int g, int b) {
    return Near(r, rgb >> 16 & 0xFF, tolerance) && Near(g, rgb >> 8 & 0xFF, tolerance) &&
           Near(b, rgb & 0xFF, tolerance);
  };
}

// What the game's screens look like, enough to know where it is before a key
// that means something else elsewhere (Escape quits from the bare title).
bool Title(const Picture& p) { return p.Count(Like(0x000050, 8), 10, p.height / 2, 11, p.height / 2 + 1) == 1; }
bool Loading(const Picture& p) { return !p.OneColour() && !Title(p); }
// The score's green digits at the top of the arena.
bool Playing(const Picture& p) { return p.Count(Like(0x52CF56, 40), 260, 16, 380, 48) > 40; }
// The blue resume button inside the yellow ring of the selected one.
bool Paused(const Picture& p) { return p.Count(Like(0x3232FA, 12)) > 200 && p.Count(Like(0xFFFF64, 12)) > 50; }
// The yellow bar across the middle.
bool GameOver(const Picture& p) {
  return p.Count([](int r, int g, int b) { return r >= 100 && g >= 100 && b <= 80; }, 0, 216, p.width, 217) > 300;
}
// The brown panel over most of the window.
bool Options(const Picture& p) {
  return p.Count([](int r, int g, int b) { return r >= 120 && r <= 170 && g >= 58 && g <= 105 && b <= 45; }) * 10 >
         static_cast<int>(p.pixels.size()) * 3;
}
// The dark red header across the top.
bool Badges(const Picture& p) { return p.Count(Like(0x640000, 12), 0, 0, p.width, 40) > p.width * 20; }
// The frame of coloured tiles: green top left, red top right.
bool Credits(const Picture& p) { return p.At(53, 10) == 0x00FF00 && p.At(630, 53) == 0xFF0000; }

// ---- Programs ---------------------------------------------------------------------------
// Runs a helper program to its end; its standard output.
std::string Run(const std::vector<std::string>& arguments) {
  int out[2];
  if (pipe(out) != 0) return "";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::vector<char*> argv;
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  std::string text;
  char buffer[4096];
  for (ssize_t n; !failed && (n = read(out[0], buffer, sizeof buffer)) > 0;) text.append(buffer, n);
  close(out[0]);
  if (!failed) waitpid(pid, nullptr, 0);
  return text;
}

void Pause(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

std::string Contents(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

// ---- The game ---------------------------------------------------------------------------
class Demo {
 public:
  Demo(const char* game, const char* data, const char* out, double soakMinutes)
      : game_(fs::absolute(game)), data_(fs::absolute(data)), out_(out), soakSeconds_(soakMinutes * 60) {}

  int Main();

 private:
  bool Start();
  bool FindWindow(int width, int height);
  void Focus() { Run({"/usr/bin/xdotool", "windowfocus", "--sync", window_}); }
  void Keys(const char* action, const std::vector<std::string>& keys) {
    std::vector<std::string> command = {"/usr/bin/xdotool", action};
    command.insert(command.end(), keys.begin(), keys.end());
    Run(command);
  }
  void Hold(const std::vector<std::string>& keys, int milliseconds) {
    Keys("keydown", keys);
    Pause(milliseconds);
    Keys("keyup", keys);
  }
  void Tap(const std::string& key, int times = 1) {
    for (int i = 0; i < times; ++i) {
      Hold({key}, TAP_HOLD);
      Pause(TAP_HOLD);
    }
  }
  std::string PathOf(Screen screen) const { return out_ + "/" + kScreens[screen] + ".png"; }
  Picture Shot(Screen screen);
  // Shots until `seen` holds for one, kept as the screen's; false, and the
  // reason noted, when none did in time.
  bool WaitFor(Screen screen, bool (*seen)(const Picture&), const std::string& what);
  // Whether the game has ended; its status is then kept.
  bool Ended();

  void PlayMode(int mode);
  void Boxes();
  void FullScreen();
  void Close();
  void Report(double demoSeconds);

  std::string game_, data_, out_, work_;
  double soakSeconds_;
  // The game's, on the first title, after the first game of each mode, after the last game and before the close.
  VxProcessStatus onTitle_, afterFirstGames_, afterLastGame_, atEnd_;
  pid_t pid_ = -1;
  int status_ = -1;
  std::string window_;
  std::vector<std::string> problems_;
  std::chrono::time_point<Clock> start_ = Clock::now();
};

bool Demo::Start() {
  char folder[] = "/tmp/kalvexa-demo-XXXXXX";
  if (!mkdtemp(folder)) {
    problems_.push_back("no working folder");
    return false;
  }
  work_ = folder;
  fs::create_directory_symlink(data_, work_ + "/data");
  std::string log = out_ + "/game-output.txt", report = work_ + "/report.txt";
  pid_ = fork();
  if (pid_ == 0) {
    int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(fd, 1);
    dup2(fd, 2);
    if (chdir(work_.c_str()) != 0) _exit(126);
    setenv("ALSOFT_DRIVERS", "null", 1);
    setenv("KALVEXA_REPORT", report.c_str(), 1);
    execl(game_.c_str(), game_.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  if (pid_ < 0) problems_.push_back("the game could not be started");
  return pid_ > 0;
}

bool Demo::FindWindow(int width, int height) {
  for (auto deadline = Clock::now() + std::chrono::duration<double>(WINDOW_WAIT); Clock::now() < deadline; Pause(20)) {
    std::istringstream found(Run({"/usr/bin/xdotool", "search", "--onlyvisible", "--pid", std::to_string(pid_)}));
    for (std::string window; found >> window;) {
      std::string geometry = Run({"/usr/bin/xdotool", "getwindowgeometry", window});
      int w = 0, h = 0;
      size_t at = geometry.find("Geometry: ");
      if (at != std::string::npos) sscanf(geometry.c_str() + at, "Geometry: %dx%d", &w, &h);
      if (width == 0 || (w == width && h == height)) {
        window_ = window;
        Focus();
        return true;
      }
    }
    if (Ended()) break;
  }
  problems_.push_back("no " + (width ? std::to_string(width) + " x " + std::to_string(height) + " " : "") +
                      "window from the game");
  return false;
}

Picture Demo::Shot(Screen screen) {
  Run({"/usr/bin/import", "-window", window_, "png:" + PathOf(screen)});
  return Load(PathOf(screen));
}

bool Demo::WaitFor(Screen screen, bool (*seen)(const Picture&), const std::string& what) {
  for (auto deadline = Clock::now() + std::chrono::duration<double>(WINDOW_WAIT); Clock::now() < deadline;) {
    Picture shot = Shot(screen);
    if (!shot.pixels.empty() && seen(shot)) return true;
    if (Ended()) break;
    Pause(50);
  }
  problems_.push_back(what + " never showed (" + kScreens[screen] + ")");
  return false;
}

bool Demo::Ended() {
  if (status_ >= 0) return true;
  int raw = 0;
  if (waitpid(pid_, &raw, WNOHANG) != pid_) return false;
  status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
  return true;
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
    Hold({"Right", "Up"}, 1200);
    Hold({"z"}, 450);
    if (round == PLAY_ROUNDS / 2) Shot(play);
    Hold({"Left", "Up"}, 1200);
    Hold({"z"}, 450);
  }
  // Escape on the title would quit the program: only a game still running is paused.
  if (!WaitFor(pause, Playing, name + "'s game, still running,")) return;
  Tap("Escape");
  if (!WaitFor(pause, Paused, name + "'s pause menu")) return;
  Pause(SETTLE);
  Shot(pause);
  Tap("Left");
  Tap("Return");
  if (!WaitFor(over, GameOver, name + "'s game over")) return;
  WaitFor(TITLE_SCORES, Title, "the title after " + name);
  Pause(SETTLE);
}

void Demo::Boxes() {
  Tap("Right", MODES);  // the options cog
  Tap("Return");
  if (WaitFor(OPTIONS_BOX, Options, "the options box")) {
    Pause(SETTLE);
    Shot(OPTIONS_BOX);
    Tap("Escape");
  }
  Pause(SETTLE);
  Tap("b");
  if (WaitFor(BADGE_BOX, Badges, "the badge box")) {
    Pause(SETTLE);
    Shot(BADGE_BOX);
    Tap("Escape");
  }
  Pause(SETTLE);
  Tap("n");
  if (WaitFor(CREDITS_BOX, Credits, "the credits box")) {
    Pause(SETTLE);
    Shot(CREDITS_BOX);
    Tap("n");
  }
  Pause(SETTLE);
}

// F11 opens a new window each way, found by its size, which loads the art
// again before the title comes back.
void Demo::FullScreen() {
  Hold({"F11"}, SWITCH_HOLD);
  if (!FindWindow(FULL_WIDTH, FULL_HEIGHT)) return;
  Pause(SETTLE);
  WaitFor(FULL_SCREEN, Title, "the title in full screen");  // after the art is loaded again
  Hold({"F11"}, SWITCH_HOLD);
  if (!FindWindow(WINDOW_WIDTH, WINDOW_HEIGHT)) return;
  Pause(SETTLE);
  WaitFor(WINDOWED, Title, "the title back in a window");
}

// The window manager's close request (WM_DELETE_WINDOW), which xdotool cannot send.
void Demo::Close() {
  if (Display* display = XOpenDisplay(nullptr)) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = static_cast<Window>(std::stoul(window_));
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
    XCloseDisplay(display);
  }
  for (auto deadline = Clock::now() + std::chrono::duration<double>(WINDOW_WAIT); !Ended(); Pause(20)) {
    if (Clock::now() > deadline) {
      problems_.push_back("the game did not end on the close request");
      return;
    }
  }
}

void Demo::Report(double demoSeconds) {
  std::map<std::string, std::string> game;
  std::istringstream lines(Contents(work_ + "/report.txt"));
  for (std::string name, value; lines >> name >> value;) game[name] = value;
  std::vector<std::string> parts;
  std::istringstream state(Contents(work_ + "/.vorlixstate"));
  for (std::string part; std::getline(state, part, '|');) parts.push_back(part);

  if (status_ != 0) problems_.push_back("the game's exit status was " + std::to_string(status_) + ", not 0");
  if (game.count("average_fps") == 0) {
    problems_.push_back("the game wrote no report");
  } else if (strtod(game["average_fps"].c_str(), nullptr) < MIN_AVERAGE_FPS) {
    problems_.push_back("the game rendered " + game["average_fps"] + " frames a second on average, under " +
                        std::to_string(static_cast<int>(MIN_AVERAGE_FPS)));
  }
  for (int screen = 0; screen < SCREENS; ++screen) {
    Picture picture = Load(PathOf(static_cast<Screen>(screen)));
    if (picture.pixels.empty()) {
      problems_.push_back(std::string("no screenshot ") + kScreens[screen] + ".png");
    } else if (picture.OneColour()) {
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
  if (Start() && FindWindow(0, 0)) {
    WaitFor(LOADING, Loading, "the loading screen");
    if (WaitFor(TITLE, Title, "the title")) {
      Pause(SETTLE);
      Shot(TITLE);
      onTitle_ = VxReadProcessStatus(pid_);
      for (Screen item : {CAROUSEL_MODE2, CAROUSEL_MODE3, CAROUSEL_OPTIONS}) {
        Tap("Right");
        Pause(SETTLE);
        Shot(item);
      }
      for (int mode = 1; mode <= MODES && problems_.empty(); ++mode) PlayMode(mode);
      afterFirstGames_ = VxReadProcessStatus(pid_);
      auto soakEnd = start_ + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(soakSeconds_));
      for (int mode = 1; problems_.empty() && Clock::now() < soakEnd; mode = mode % MODES + 1) PlayMode(mode);
      afterLastGame_ = VxReadProcessStatus(pid_);
      if (problems_.empty()) Boxes();
      if (problems_.empty()) FullScreen();
    }
    // Wherever the demo stopped, the game is asked to end as a player would.
    if (!Ended()) {
      atEnd_ = VxReadProcessStatus(pid_);
      Close();
    }
  }
  if (pid_ > 0 && !Ended()) {
    kill(pid_, SIGKILL);
    while (!Ended()) Pause(20);
  }
  double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
  if (seconds > TIME_LIMIT + soakSeconds_) {
    problems_.push_back("the demo took longer than " + std::to_string(static_cast<int>(TIME_LIMIT + soakSeconds_)) +
                        " s");
  }
  Report(seconds);
  if (!work_.empty()) fs::remove_all(work_);
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
