#include "host/command_line.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "game/core/globals.h"

namespace {

constexpr int EXIT_USAGE = 2;

void PrintHelp();
void PrintVersion() { printf("kalvexa %s\n", VX_VERSION); }
void UseSequencer() {
  vx_Kalvexa_HasMusic = 1;
  vx_Kalvexa_HasMusicStream = 0;
}

// A switch either answers at once and ends the program, or changes the
// game's set-up once the globals exist.
struct Switch {
  const char* name;
  const char* help;
  void (*answer)();
  void (*apply)();
};
constexpr Switch kSwitches[] = {
    {"--help", "print this help and the controls", PrintHelp, nullptr},
    {"--version", "print the version", PrintVersion, nullptr},
    {"--sequencer", "play the built-in sequencer's tunes instead of the streamed tune", nullptr, UseSequencer},
};

// The bindings of game/core/controls.cpp and flow.cpp as a player reads them;
// a row without a meaning heads a group.
struct Control {
  const char* input;
  const char* meaning;
};
constexpr Control kControls[] = {
    {"keyboard", nullptr},
    {"arrows, W A S D", "move; up jumps"},
    {"Z, J, Space, Return", "run and fire; confirm"},
    {"X, K, Ctrl", "stand and fire"},
    {"Escape, Backspace", "pause; back"},
    {"F11", "full screen"},
    {"F4", "quit"},
    {"F1", "debug display"},
    {"F2", "hide the on-screen display"},
    {"mouse", nullptr},
    {"click", "menus and the pause button"},
    {"drag", "move"},
    {"gamepad", nullptr},
    {"left stick, d-pad", "move; up jumps"},
    {"right stick", "aim and fire"},
    {"A", "run and fire; confirm"},
    {"B", "stand and fire"},
    {"Start, Back", "pause; back"},
};

constexpr const char* ROW = "  %-22s %s\n";

std::string Usage() {
  std::string usage = "usage: kalvexa";
  for (const Switch& s : kSwitches) usage += std::string(" [") + s.name + "]";
  return usage + "\n";
}

void PrintHelp() {
  printf("%s\n", Usage().c_str());
  for (const Switch& s : kSwitches) printf(ROW, s.name, s.help);
  for (const Control& c : kControls) {
    if (c.meaning) {
      printf(ROW, c.input, c.meaning);
    } else {
      printf("\n%s:\n", c.input);
    }
  }
}

const Switch* Find(const char* name) {
  for (const Switch& s : kSwitches) {
    if (strcmp(s.name, name) == 0) return &s;
  }
  return nullptr;
}

}  // namespace

void vx_Kalvexa_CheckCommandLine(int argc, const char** argv) {
  const Switch* answer = nullptr;
  for (int i = 1; i < argc; ++i) {
    const Switch* s = Find(argv[i]);
    if (!s) {
      fputs(Usage().c_str(), stderr);
      exit(EXIT_USAGE);
    }
    if (s->answer && !answer) answer = s;
  }
  if (answer) {
    answer->answer();
    exit(EXIT_SUCCESS);
  }
}

void vx_Kalvexa_ApplyCommandLine(int argc, const char** argv) {
  for (int i = 1; i < argc; ++i) {
    const Switch* s = Find(argv[i]);
    if (s && s->apply) s->apply();
  }
}
