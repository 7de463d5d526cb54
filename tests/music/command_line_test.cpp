#include <gtest/gtest.h>

#include "game/core/globals.h"
#include "music/command_line.h"
#include "tests/support/subprocess.h"

namespace {

TEST(CommandLine, TheSequencerSwitchTurnsTheSequencerOnAndTheStreamOff) {
  const char* plain[] = {"kalvexa"};
  const char* sequencer[] = {"kalvexa", "--sequencer"};
  vx_Kalvexa_HasMusic = 0;
  vx_Kalvexa_HasMusicStream = 1;
  vx_Kalvexa_CheckCommandLine(1, plain);
  vx_Kalvexa_ApplyCommandLine(1, plain);
  EXPECT_EQ(vx_Kalvexa_HasMusic, 0);
  EXPECT_EQ(vx_Kalvexa_HasMusicStream, 1);
  vx_Kalvexa_CheckCommandLine(2, sequencer);
  vx_Kalvexa_ApplyCommandLine(2, sequencer);
  EXPECT_EQ(vx_Kalvexa_HasMusic, 1);
  EXPECT_EQ(vx_Kalvexa_HasMusicStream, 0);
}

TEST(CommandLine, AnyOtherArgumentPrintsTheUsageAndEndsWithStatus2BeforeAWindowOpens) {
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
