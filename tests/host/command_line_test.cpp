#include "host/command_line.h"

#include <gtest/gtest.h>

#include "game/core/globals.h"
#include "tests/support/subprocess.h"

namespace {

TEST(CommandLine, SwitchesAnswerOrApplyAndAnythingElseIsAUsageError) {
  const char* args[] = {"kalvexa", "--sequencer"};
  for (int argc : {1, 2}) {
    vx_Kalvexa_HasMusic = 0;
    vx_Kalvexa_HasMusicStream = 1;
    vx_Kalvexa_CheckCommandLine(argc, args);
    vx_Kalvexa_ApplyCommandLine(argc, args);
    EXPECT_EQ(vx_Kalvexa_HasMusic, argc - 1);
    EXPECT_EQ(vx_Kalvexa_HasMusicStream, 2 - argc);
  }
  // A switch's file is the argument after it, whatever it is.
  const char* run[] = {"kalvexa", "--record", "--sequencer", "--sequencer", "--headless"};
  EXPECT_STREQ(vx_Kalvexa_Switch(5, run, "--record"), "--sequencer");
  EXPECT_STREQ(vx_Kalvexa_Switch(5, run, "--headless"), "");
  EXPECT_EQ(vx_Kalvexa_Switch(5, run, "--replay"), nullptr);
  EXPECT_EQ(vx_Kalvexa_GameSwitches(5, run), std::vector<std::string>{"--sequencer"});
  // The answers and the usage error come before a window would open.
  const std::string usage =
      "usage: kalvexa [--help] [--version] [--sequencer] [--record FILE] [--replay FILE] [--headless]\n";
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out;  // its start
    std::string err;
  } cases[] = {
      {{"--help"}, 0, usage, ""},
      {{"--sequencer", "--help"}, 0, usage, ""},
      {{"--version"}, 0, "kalvexa " VX_VERSION "\n", ""},
      {{"--music"}, 2, "", usage},
      {{"--sequencer", "x"}, 2, "", usage},
      {{"--help", "-h"}, 2, "", usage},
      {{"--headless"}, 2, "", usage},
      {{"--record"}, 2, "", usage},
      {{"--record", "a", "--replay", "b"}, 2, "", usage},
      {{"--replay", "--help", "--headless"}, 2, "", "kalvexa: --help: No such file or directory\n"},
  };
  ProcessOptions noDisplay;
  noDisplay.unsetEnv = {"DISPLAY"};
  for (Case& c : cases) {
    c.args.insert(c.args.begin(), BuildPath("kalvexa"));
    ProcessResult r = RunProcess(c.args, noDisplay);
    EXPECT_EQ(r.status, c.status) << c.args[1];
    EXPECT_EQ(r.out.substr(0, c.out.size()), c.out) << c.args[1];
    EXPECT_EQ(r.out.empty(), c.out.empty()) << c.args[1];
    EXPECT_EQ(r.err, c.err) << c.args[1];
  }
  // The help names every binding group and a row of each.
  std::string help = RunProcess({BuildPath("kalvexa"), "--help"}, noDisplay).out;
  for (const char* line :
       {"\nkeyboard:\n", "  F4                     quit\n", "\nmouse:\n", "  drag                   move\n",
        "\ngamepad:\n", "  right stick            aim and fire\n", "  --sequencer"}) {
    EXPECT_NE(help.find(line), std::string::npos) << line;
  }
}

}  // namespace
