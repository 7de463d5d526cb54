#include "music/command_line.h"

#include <gtest/gtest.h>

#include "game/core/globals.h"
#include "tests/support/subprocess.h"

namespace {

TEST(CommandLine, OnlyTheSequencerSwitchIsTakenAndItTurnsTheSequencerOnAndTheStreamOff) {
  const char* args[] = {"kalvexa", "--sequencer"};
  for (int argc : {1, 2}) {
    vx_Kalvexa_HasMusic = 0;
    vx_Kalvexa_HasMusicStream = 1;
    vx_Kalvexa_CheckCommandLine(argc, args);
    vx_Kalvexa_ApplyCommandLine(argc, args);
    EXPECT_EQ(vx_Kalvexa_HasMusic, argc - 1);
    EXPECT_EQ(vx_Kalvexa_HasMusicStream, 2 - argc);
  }
  // Anything else: the usage and status 2, before a window opens.
  ProcessOptions noDisplay;
  noDisplay.unsetEnv = {"DISPLAY"};
  for (std::vector<std::string> args : {std::vector<std::string>{"--music"}, {"--sequencer", "x"}, {"-h"}}) {
    args.insert(args.begin(), BuildPath("kalvexa"));
    ProcessResult r = RunProcess(args, noDisplay);
    EXPECT_EQ(r.status, 2) << args[1];
    EXPECT_EQ(r.err, "usage: kalvexa [--sequencer]\n");
    EXPECT_EQ(r.out, "");
  }
}

}  // namespace
