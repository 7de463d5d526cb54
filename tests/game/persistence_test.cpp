// The saved state: its exact form, its checksums, each section restored or
// reset on its own, damaged and hostile states, and failed saves.
#include <gtest/gtest.h>

#include <random>

#include "tests/support/game_harness.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

std::string Parts(int count, const std::string& value = "0") {
  std::string s;
  for (int i = 0; i < count; ++i) s += value + "|";
  return s;
}

HarnessOptions WithState(const std::string& state) {
  HarnessOptions options;
  options.state = state;
  options.load = false;
  return options;
}

std::vector<std::string> Split(const std::string& state) {
  std::vector<std::string> parts;
  for (size_t start = 0, at; (at = state.find('|', start)) != std::string::npos; start = at + 1) {
    parts.push_back(state.substr(start, at - start));
  }
  return parts;
}

TEST(Persistence, AFreshStartSavesTheDefaultsWithTheirChecksums) {
  GameHarness game;
  game.app->p_Save();
  std::string settings = "0|0|0|0|0|1|0|0|0|0|64|64|10|0|1|" + Parts(10) + "1483|";
  EXPECT_EQ(game.StateFile(), settings + Parts(9) + Parts(63));
}

TEST(Persistence, BadgeWordsAreSigned32BitAndEverySectionRoundTrips) {
  std::string state;
  {
    GameHarness game;
    c_MyApp& app = *game.app;
    app.badges[31] = true;
    app.options[OPTION_SOUND] = 3;
    for (int i = 0; i < 10; ++i) {
      app.scores[i] = 1000 - i;
      app.scores[20 + i] = 2000000000 + i;  // the sums wrap
      app.scores[50 + i] = i * 7;
    }
    app.p_Save();
    state = game.StateFile();
  }
  std::vector<std::string> parts = Split(state);
  ASSERT_EQ(parts.size(), 98u);
  EXPECT_EQ(parts[26], "-2147483648");
  EXPECT_EQ(parts[34], "-2147483648");

  CaptureStdout();
  GameHarness game(WithState(state));
  std::string printed = GetCapturedStdout();
  EXPECT_EQ(printed, "Settings Loaded\nBadges Loaded\nHighscore 0 Loaded\nHighscore 1 Loaded\nHighscore 2 Loaded\n");
  c_MyApp& app = *game.app;
  EXPECT_TRUE(app.badges[31]);
  EXPECT_FALSE(app.badges[30]);
  EXPECT_EQ(app.options[OPTION_SOUND], 3);
  EXPECT_EQ(app.scores[9], 991);
  EXPECT_EQ(app.scores[29], 2000000009);
  EXPECT_EQ(app.scores[57], 49);
}

TEST(Persistence, ADamagedSectionAloneReturnsToItsDefaults) {
  std::string state;
  {
    GameHarness game;
    for (int i = 0; i < 60; ++i) game.app->scores[i] = 500 + i;
    game.app->badges[3] = true;
    game.app->p_Save();
    state = game.StateFile();
  }
  std::vector<std::string> parts = Split(state);
  parts[58] = "9" + parts[58];  // a best score of mode 1
  std::string damaged;
  for (const std::string& p : parts) damaged += p + "|";

  CaptureStdout();
  GameHarness game(WithState(damaged));
  std::string printed = GetCapturedStdout();
  EXPECT_NE(printed.find("Highscore 1 Checksum Invalid"), std::string::npos) << printed;
  EXPECT_NE(printed.find("Highscore 0 Loaded"), std::string::npos);
  EXPECT_NE(printed.find("Highscore 2 Loaded"), std::string::npos);
  EXPECT_NE(printed.find("Badges Loaded"), std::string::npos);
  for (int k = 0; k < 10; ++k) {
    EXPECT_EQ(game.app->scores[10 + k], 0);
    EXPECT_EQ(game.app->scores[40 + k], 0);
    EXPECT_EQ(game.app->scores[k], 500 + k);
  }
  EXPECT_TRUE(game.app->badges[3]);
}

TEST(Persistence, ShortOddAndHostileStatesLoadWithoutHarm) {
  {
    CaptureStdout();
    GameHarness game(WithState("0|0|0|0|0|3|0|0|0|0|0|0|0|0|0|" + Parts(10) + "15|" + Parts(4, "7")));
    EXPECT_EQ(GetCapturedStdout(), "Settings Loaded\n") << "30 parts hold the settings only";
    EXPECT_EQ(game.app->options[OPTION_SOUND], 3);
    EXPECT_EQ(game.app->options[10], 64) << "limits apply after loading";
  }
  {
    CaptureStdout();
    GameHarness game(WithState("0|0|0|0|0|7|" + Parts(19) + "35|"));
    GetCapturedStdout();
    EXPECT_EQ(game.app->options[OPTION_SOUND], 0) << "a sound mode no box offers";
  }
  std::mt19937 random(1234);
  std::string bytes(4096, 0);
  for (char& c : bytes) c = static_cast<char>(random());
  std::string huge;
  for (int i = 0; i < 100000; ++i) huge += "99999999999999999999|-";
  for (const std::string& state : {bytes, huge, std::string(300, '|'), std::string("|||\xff\xfe|")}) {
    CaptureStdout();
    GameHarness game(WithState(state));
    GetCapturedStdout();
    game.FinishLoading();
    game.Step(5);
    for (int i = 0; i < 60; ++i) EXPECT_GE(game.app->scores[i], 0);
    EXPECT_GE(game.app->options[OPTION_SOUND], 0);
    EXPECT_LE(game.app->options[OPTION_SOUND], 3);
  }
}

TEST(Persistence, AFailedSaveSaysSoAndLeavesTheOldStateWhole) {
  GameHarness game;
  game.app->p_Save();
  std::string saved = game.StateFile();
  game.host->failSaves = true;
  game.app->options[OPTION_SOUND] = 2;
  CaptureStdout();
  game.app->p_Save();
  EXPECT_EQ(GetCapturedStdout(), "State not saved\n");
  EXPECT_EQ(game.StateFile(), saved);
}

}  // namespace
