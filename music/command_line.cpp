#include "music/command_line.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game/core/globals.h"

namespace {

constexpr const char* SEQUENCER_SWITCH = "--sequencer";
constexpr int EXIT_USAGE = 2;

}  // namespace

void vx_Kalvexa_CheckCommandLine(int argc, const char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], SEQUENCER_SWITCH) != 0) {
      fprintf(stderr, "usage: kalvexa [%s]\n", SEQUENCER_SWITCH);
      exit(EXIT_USAGE);
    }
  }
}

void vx_Kalvexa_ApplyCommandLine(int argc, const char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], SEQUENCER_SWITCH) == 0) {
      vx_Kalvexa_HasMusic = 1;
      vx_Kalvexa_HasMusicStream = 0;
    }
  }
}
