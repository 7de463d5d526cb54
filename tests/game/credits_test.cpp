// The credits box and the console's quit question.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "game/core/globals.h"
#include "tests/support/game_harness.h"

namespace {

// From the title, slid in all the way.
void Open(GameHarness& game) {
  game.Press('N');
  game.Step(30);
}

TEST(CreditBox, TwelveColumnsAndNineRowsOfTilesFrameLinesThatScrollAndWrap) {
  GameHarness game;
  c_MyApp& app = *game.app;
  Open(game);
  float cell = 640.0f / 12;
  std::set<long> columns, rows;  // tiles stand on the grid's points
  for (const DrawRecord& r : game.Records()) {
    if (r.kind != DrawRecord::RECT || std::fabs(r.sizeX - cell - 1) > 0.01f || r.sizeY != r.sizeX) continue;
    columns.insert(std::lround((r.x + cell / 2) / cell));
    rows.insert(std::lround((r.y + cell / 2) / cell));
  }
  EXPECT_EQ(columns, (std::set<long>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  EXPECT_EQ(rows, (std::set<long>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));

  app.creditsScroll = -2;
  game.Step();
  EXPECT_NEAR(app.creditsScroll, -2.3f, 1e-4);
  game.KeyDown(KEY_DOWN);
  game.Step(8);
  EXPECT_NEAR(app.creditsScroll, -2.3f - 8 * 1.8f + 16, 1e-3);
  EXPECT_EQ(app.creditsTop, 1);
  game.KeyUp(KEY_DOWN);
  app.creditsTop = 98;  // the last line is followed by the first
  game.Step();
  std::string text = game.Text();
  EXPECT_NE(text.find("Kalvexa", text.find("End\n")), std::string::npos) << text;

  // The virtual screen's size reads as the runtime writes every float.
  EXPECT_NE(text.find("640.0\n480.0"), std::string::npos) << text;
  game.Click(600, 20);
  EXPECT_EQ(app.creditsOpen, 0);
}

TEST(CreditBox, AGridOfTwoRowsOrTwoColumnsStillColoursItsSides) {
  for (auto [width, height] : {std::pair{1600, 300}, {200, 1000}}) {
    HarnessOptions options;
    options.width = width;
    options.height = height;
    GameHarness game(options);
    Open(game);
    float s = std::max(vx_Kalvexa_jscrw, vx_Kalvexa_jscrh) / 12;
    int greenAcross = 0;  // the one inner tile of the short side starts its colours
    for (const DrawRecord& r : game.Records()) {
      for (float c : {r.red, r.green, r.blue}) EXPECT_TRUE(c >= 0 && c <= 255) << width << " x " << height;
      bool across = width > height ? r.sizeY == s - 16 : r.sizeX == s - 16;
      greenAcross += across && r.red == 0 && r.green == 255 && r.blue == 0;
    }
    EXPECT_GT(greenAcross, 0) << width << " x " << height;
  }
}

TEST(QuitQuestion, OReturnsToTheTitleAndOWithAEndsTheProgram) {
  GameHarness game;
  c_MyApp& app = *game.app;
  app.screenMode = SCREEN_QUIT_QUESTION;
  game.Step();
  EXPECT_EQ(app.clearAlpha, 0);
  EXPECT_NE(game.Text().find("trying to QUIT!"), std::string::npos);
  game.PadButton(0, 0, true);
  game.Step();
  EXPECT_EQ(app.screenMode, SCREEN_TITLE);

  game.PadButton(0, 0, false);
  app.screenMode = SCREEN_QUIT_QUESTION;
  game.Step();
  EXPECT_EXIT(
      {
        game.PadButton(0, 0, true);
        game.PadButton(0, 1, true);
        game.Step();
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
