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

// A switch answers at once and ends the program, changes the game's set-up
// once the globals exist (a recording keeps those), or says how the host runs.
struct Switch {
  const char* name;
  const char* value;  // what the argument after it is; null when it takes none
  const char* help;
  void (*answer)();
  void (*apply)();
  const char* needs;     // a switch it goes only with
  const char* excludes;  // a switch it cannot go with
};
constexpr Switch kSwitches[] = {
    {"--help", nullptr, "print this help and the controls", PrintHelp, nullptr, nullptr, nullptr},
    {"--version", nullptr, "print the version", PrintVersion, nullptr, nullptr, nullptr},
    {"--sequencer", nullptr, "play the built-in sequencer's tunes instead of the streamed tune", nullptr, UseSequencer,
     nullptr, nullptr},
    {"--record", "FILE", "write every input of the game to FILE as it goes", nullptr, nullptr, nullptr, "--replay"},
    {"--replay", "FILE", "play the game recorded in FILE again, ignoring the keyboard, mouse and pads", nullptr,
     nullptr, nullptr, nullptr},
    {"--headless", nullptr, "replay without a window, as fast as it goes, and print the score", nullptr, nullptr,
     "--replay", nullptr},
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

// The switch as the usage writes it: "--record FILE".
std::string Synopsis(const Switch& s) { return s.value ? std::string(s.name) + " " + s.value : s.name; }

std::string Usage() {
  std::string usage = "usage: kalvexa";
  for (const Switch& s : kSwitches) usage += " [" + Synopsis(s) + "]";
  return usage + "\n";
}

void PrintHelp() {
  printf("%s\n", Usage().c_str());
  for (const Switch& s : kSwitches) printf(ROW, Synopsis(s).c_str(), s.help);
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

// Calls `use` with each switch given and its value ("" for none): null for
// an unknown argument or a value that is missing.
template <class Use>
void ForEachSwitch(int argc, const char** argv, Use use) {
  for (int i = 1; i < argc; ++i) {
    const Switch* s = Find(argv[i]);
    const char* value = "";
    if (s && s->value) {
      if (i + 1 < argc) {
        value = argv[++i];
      } else {
        s = nullptr;
      }
    }
    use(s, value);
  }
}

[[noreturn]] void UsageError() {
  fputs(Usage().c_str(), stderr);
  exit(EXIT_USAGE);
}

}  // namespace

void vx_Kalvexa_CheckCommandLine(int argc, const char** argv) {
  const Switch* answer = nullptr;
  ForEachSwitch(argc, argv, [&](const Switch* s, const char*) {
    if (!s) UsageError();
    if (s->answer && !answer) answer = s;
  });
  if (answer) {
    answer->answer();
    exit(EXIT_SUCCESS);
  }
  ForEachSwitch(argc, argv, [&](const Switch* s, const char*) {
    if (s->needs && !vx_Kalvexa_Switch(argc, argv, s->needs)) UsageError();
    if (s->excludes && vx_Kalvexa_Switch(argc, argv, s->excludes)) UsageError();
  });
}

void vx_Kalvexa_ApplyCommandLine(int argc, const char** argv) {
  ForEachSwitch(argc, argv, [](const Switch* s, const char*) {
    if (s && s->apply) s->apply();
  });
}

const char* vx_Kalvexa_Switch(int argc, const char** argv, const char* name) {
  const char* found = nullptr;
  ForEachSwitch(argc, argv, [&](const Switch* s, const char* value) {
    if (s && strcmp(s->name, name) == 0) found = value;
  });
  return found;
}

std::vector<std::string> vx_Kalvexa_GameSwitches(int argc, const char** argv) {
  std::vector<std::string> game;
  ForEachSwitch(argc, argv, [&](const Switch* s, const char*) {
    if (s && s->apply) game.push_back(s->name);
  });
  return game;
}

bool vx_Kalvexa_IsGameSwitch(const std::string& name) {
  const Switch* s = Find(name.c_str());
  return s && s->apply;
}
