// The credits box and the console's quit question.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "game/core/globals.h"
#include "tests/support/game_harness.h"

namespace {

constexpr int KEY_N = 'N';

HarnessOptions Window(int width, int height) {
  HarnessOptions options;
  options.width = width;
  options.height = height;
  return options;
}

// The credits box from the title, slid in all the way.
void OpenCredits(GameHarness& game) {
  game.Press(KEY_N);
  game.Step(30);
  ASSERT_EQ(game.app->creditsSlide, 30);
}

// The tiles: the squares of a full cell and one unit, black at the edge and white inside.
std::vector<DrawRecord> Tiles(const GameHarness& game, float cell) {
  std::vector<DrawRecord> tiles;
  for (const DrawRecord& r : game.Records()) {
    bool square = r.kind == DrawRecord::RECT && std::fabs(r.sizeX - (cell + 1)) < 0.01f && r.sizeY == r.sizeX;
    if (square && r.red == r.green && r.green == r.blue && (r.red == 0 || r.red == 255)) tiles.push_back(r);
  }
  return tiles;
}

TEST(CreditBox, OnTheDesignScreenTheGridHasTwelveColumnsAndNineRows) {
  GameHarness game;
  OpenCredits(game);
  float cell = 640.0f / 12;
  std::vector<DrawRecord> tiles = Tiles(game, cell);
  ASSERT_EQ(tiles.size(), 13u * 10u);
  std::set<int> columns, rows;
  int black = 0;
  for (const DrawRecord& t : tiles) {
    // Each tile is centred on a point of the grid.
    columns.insert(static_cast<int>(std::lround((t.x + cell / 2) / cell * 100)));
    rows.insert(static_cast<int>(std::lround((t.y + cell / 2) / cell * 100)));
    black += t.red == 0;
  }
  EXPECT_EQ(columns.size(), 13u);
  EXPECT_EQ(rows.size(), 10u);
  EXPECT_EQ(*columns.begin(), 0);
  EXPECT_EQ(*columns.rbegin(), 1200);
  EXPECT_EQ(*rows.rbegin(), 900);
  EXPECT_EQ(black, 13 * 2 + 8 * 2);  // the frame
}

TEST(CreditBox, TheLinesScrollFasterWhileDownIsHeldAndWrapRound) {
  GameHarness game;
  c_MyApp& app = *game.app;
  OpenCredits(game);
  app.creditsScroll = -2;
  game.Step();
  EXPECT_NEAR(app.creditsScroll, -2.3f, 1e-4);
  game.KeyDown(KEY_DOWN);
  game.Step();
  EXPECT_NEAR(app.creditsScroll, -4.1f, 1e-4);
  game.Step(7);
  EXPECT_EQ(app.creditsTop, 1);
  EXPECT_NEAR(app.creditsScroll, -4.1f - 7 * 1.8f + 16, 1e-3);
  game.KeyUp(KEY_DOWN);

  // The last line is followed by the first.
  app.creditsTop = 98;
  game.Step();
  std::string text = game.Text();
  size_t end = text.find("End\n");
  ASSERT_NE(end, std::string::npos);
  EXPECT_NE(text.find("Kalvexa", end), std::string::npos);
}

TEST(CreditBox, AnyTouchOrConfirmClosesIt) {
  GameHarness game;
  c_MyApp& app = *game.app;
  OpenCredits(game);
  game.Click(600, 20);
  EXPECT_EQ(app.creditsOpen, 0);
  game.Step(30);
  EXPECT_EQ(app.creditsSlide, 0);

  OpenCredits(game);
  game.Step();
  game.PadButton(0, 1, true);  // a joypad's B
  game.Step();
  game.PadButton(0, 1, false);
  EXPECT_EQ(app.creditsOpen, 0);
}

TEST(CreditBox, AGridOfTwoRowsOrColumnsStillColoursItsEdges) {
  // Two rows of cells on a wide window, two columns on a tall one; then one and none.
  struct Case {
    int width, height;
    bool twoRows;
  } cases[] = {{1600, 300, true}, {200, 1000, false}, {4000, 100, true}, {100, 4000, false}};
  for (const Case& c : cases) {
    GameHarness game(Window(c.width, c.height));
    OpenCredits(game);
    float w = vx_Kalvexa_jscrw, h = vx_Kalvexa_jscrh, cell = std::max(w, h) / 12;
    int green = 0;
    for (const DrawRecord& r : game.Records()) {
      for (float channel : {r.red, r.green, r.blue}) {
        EXPECT_TRUE(channel >= 0 && channel <= 255) << c.width << "x" << c.height << ": " << channel;
      }
      EXPECT_TRUE(std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.sizeX)) << c.width << "x" << c.height;
      // The side with two tiles: its one inner tile starts the side's colours, green.
      bool across = c.twoRows ? r.sizeX == cell && r.sizeY == cell - 16 : r.sizeX == cell - 16 && r.sizeY == cell;
      green += r.kind == DrawRecord::RECT && across && r.red == 0 && r.green == 255 && r.blue == 0;
    }
    if (c.width < 2000 && c.height < 2000) {
      EXPECT_GT(green, 0) << c.width << "x" << c.height;
    }
  }
}

TEST(QuitQuestion, OReturnsToTheTitleAndOWithAEndsTheProgram) {
  {
    GameHarness game;
    c_MyApp& app = *game.app;
    app.screenMode = SCREEN_QUIT_QUESTION;
    game.Step();
    EXPECT_EQ(app.clearAlpha, 0);
    EXPECT_NE(game.Text().find("trying to QUIT!"), std::string::npos);
    EXPECT_EQ(game.Images(IMG_TESTCARD).size(), 1u);
    game.PadButton(0, 0, true);
    game.Step();
    game.PadButton(0, 0, false);
    EXPECT_EQ(app.screenMode, SCREEN_TITLE);
  }

  EXPECT_EXIT(
      {
        GameHarness quitting;
        quitting.app->screenMode = SCREEN_QUIT_QUESTION;
        quitting.Step();
        quitting.PadButton(0, 0, true);
        quitting.PadButton(0, 1, true);
        quitting.Step();
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
