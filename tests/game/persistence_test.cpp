// The saved state: its exact form and checksums, each section restored or
// reset on its own, damaged and hostile states, and failed saves.
#include <gtest/gtest.h>

#include <random>

#include "tests/support/game_harness.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

std::string Zeros(int count) {
  std::string s;
  for (int i = 0; i < count; ++i) s += "0|";
  return s;
}

// A state by hand, section by section; each checksum is worked out beside it.
// Settings, 25 and their sum of i x setting i: sound 2 (x5), the control
// limits 64, 64 and 12 (x10, x11, x12), overscan 1 (x14): 10 + 640 + 704 + 144 + 14.
const std::string SETTINGS_PART = "0|0|0|0|0|2|0|0|0|0|64|64|12|0|1|" + Zeros(10) + "1512|";
// Badge words 0 to 7 and their sum: badges 1 to 12 (word 0: 8190), 100, 101
// and 127 (word 3: 16 + 32 - 2147483648): 8190 - 2147483600.
const std::string BADGES_PART = "8190|0|0|-2147483600|0|0|0|0|-2147475410|";
// Per mode m, ten pairs of a best and a recent score, then the sum of
// (k + 4) x best k + (m + 3 + k) x recent k.
const std::string MODE0_PART = "900|50|" + Zeros(18) + "3750|";         // 4 x 900 + 3 x 50
const std::string MODE1_PART = "700|30|20|700|" + Zeros(16) + "6520|";  // 4 x 700 + 4 x 30 + 5 x 20 + 5 x 700
const std::string MODE2_PART = "600|10|" + Zeros(18) + "2450|";         // 4 x 600 + 5 x 10
const std::string DEFAULT_PARTS[] = {"0|0|0|0|0|1|0|0|0|0|64|64|10|0|1|" + Zeros(10) + "1483|", Zeros(9), Zeros(21),
                                     Zeros(21), Zeros(21)};

TEST(Persistence, AStateWrittenByHandLoadsIntoItsPlacesAndSavesBackByteForByte) {
  std::string state = SETTINGS_PART + BADGES_PART + MODE0_PART + MODE1_PART + MODE2_PART;
  CaptureStdout();
  GameHarness game({640, 480, false, state});
  EXPECT_EQ(GetCapturedStdout(),
            "Settings Loaded\nBadges Loaded\nHighscore 0 Loaded\nHighscore 1 Loaded\nHighscore 2 Loaded\n");
  c_MyApp& app = *game.app;
  EXPECT_EQ(app.options[OPTION_SOUND], 2);
  EXPECT_EQ(app.options[12], 12);
  for (int id = 0; id < BADGES; ++id)
    EXPECT_EQ(app.badges[id], (id >= 1 && id <= 12) || id == 100 || id == 101 || id == 127) << id;
  const std::pair<int, int> scores[] = {{0, 900}, {30, 50},  {10, 700}, {11, 20},
                                        {40, 30}, {41, 700}, {20, 600}, {50, 10}};
  for (auto [at, score] : scores) EXPECT_EQ(app.scores[at], score) << at;
  app.p_Save();
  EXPECT_EQ(game.StateFile(), state);
}

TEST(Persistence, AWrongChecksumResetsItsSectionAloneToTheDefaultsAndSaysSo) {
  const std::string parts[] = {SETTINGS_PART, BADGES_PART, MODE0_PART, MODE1_PART, MODE2_PART};
  const char* names[] = {"Settings", "Badge", "Highscore 0", "Highscore 1", "Highscore 2"};
  for (int damaged = 0; damaged < 5; ++damaged) {
    std::string state, expected, printed;
    for (int s = 0; s < 5; ++s) {
      std::string part = parts[s];
      if (s == damaged) part.insert(part.size() - 1, "0");  // the checksum times ten
      state += part;
      expected += s == damaged ? DEFAULT_PARTS[s] : parts[s];
      printed += names[s] + std::string(s == damaged ? " Checksum Invalid\n" : s == 1 ? "s Loaded\n" : " Loaded\n");
    }
    CaptureStdout();
    GameHarness game({640, 480, false, state});
    EXPECT_EQ(GetCapturedStdout(), printed) << names[damaged];
    game.app->p_Save();
    EXPECT_EQ(game.StateFile(), expected) << names[damaged];
  }
}

TEST(Persistence, ShortOddAndHostileStatesLoadWithoutHarm) {
  {
    CaptureStdout();
    GameHarness game({640, 480, false, "0|0|0|0|0|3|0|0|0|0|0|0|0|0|0|" + Zeros(10) + "15|7|7|7|7|"});
    EXPECT_EQ(GetCapturedStdout(), "Settings Loaded\n") << "30 parts hold the settings only";
    EXPECT_EQ(game.app->options[OPTION_SOUND], 3);
    EXPECT_EQ(game.app->options[10], 64) << "limits apply after loading";
  }
  {
    CaptureStdout();
    GameHarness game({640, 480, false, "0|0|0|0|0|7|" + Zeros(19) + "35|"});
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
    GameHarness game({640, 480, false, state});
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
