// The title screen: the carousel under keys, touches and flings, the score
// panel, and quitting.
#include <gtest/gtest.h>

#include "game/core/globals.h"
#include "tests/support/game_harness.h"

namespace {

constexpr float FIRST_ITEM_X = 250, ITEM_Y = 384, SPACING = 88;  // on a 640 x 480 screen

struct Title : ::testing::Test {
  GameHarness game;
  c_MyApp& app = *game.app;
  void SetUp() override { game.Step(40); }  // slid in
  void Settle() { game.Step(40); }
};

TEST_F(Title, DownFourTimesStopsAtTheCogWhereConfirmOpensTheOptions) {
  ASSERT_EQ(app.menuChoice, 1);
  for (int i = 0; i < 4; ++i) game.Tap(KEY_DOWN);
  Settle();
  EXPECT_EQ(app.menuChoice, 4);
  game.Tap(KEY_RETURN);
  EXPECT_EQ(app.optionsOpen, 1);
  EXPECT_EQ(app.optionsLine, 0);
  EXPECT_EQ(app.screenMode, SCREEN_TITLE);
}

TEST_F(Title, AHeldKeyMovesTheSelectionOnceAndThePanelFollowsTheMode) {
  app.scores[10] = 7777;
  app.scores[40] = 6666;
  EXPECT_EQ(game.Text().find("7777"), std::string::npos);
  game.KeyDown(KEY_RIGHT);
  game.Step(20);
  game.KeyUp(KEY_RIGHT);
  EXPECT_EQ(app.menuChoice, 2);
  Settle();
  EXPECT_EQ(app.gameMode, 2);
  std::string text = game.Text();
  EXPECT_NE(text.find("Top 10"), std::string::npos) << text;
  EXPECT_NE(text.find("7777"), std::string::npos) << text;
  EXPECT_NE(text.find("6666"), std::string::npos) << text;
  EXPECT_EQ(game.SoundsPlayed().back(), SFX_MOVE);
}

TEST(TitleScreen, AScreenTooLowForOneRowStillShowsOneTitledRow) {
  HarnessOptions options;
  options.width = 1280;
  options.height = 400;  // a virtual screen of 640 x 200
  GameHarness game(options);
  game.Step(40);
  std::string text = game.Text();
  EXPECT_NE(text.find("Highscore\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Last\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("Top"), std::string::npos) << text;
}

TEST_F(Title, ATouchSelectsAnItemAndASecondTouchOnItStartsItsGame) {
  game.Click(FIRST_ITEM_X + 2 * SPACING, ITEM_Y);
  EXPECT_EQ(app.menuChoice, 3);
  EXPECT_EQ(app.screenMode, SCREEN_TITLE);
  Settle();
  game.Step();
  game.Click(FIRST_ITEM_X, ITEM_Y);
  EXPECT_EQ(app.screenMode, SCREEN_START_GAME);
  EXPECT_EQ(app.gameMode, 3);
  EXPECT_EQ(game.SoundsPlayed().back(), SFX_CONFIRM);
}

TEST_F(Title, AFlingMovesTheCarouselAndTheSelectionWithIt) {
  game.MouseDown(500, 450);
  game.Step();
  for (float x = 470; x >= 350; x -= 30) {
    game.MouseMove(x, 450);
    game.Step();
  }
  game.MouseUp();
  EXPECT_LT(app.menuOffset, -SPACING) << "flung left past the second item";
  Settle();
  EXPECT_GT(app.menuChoice, 1);
  EXPECT_EQ(app.screenMode, SCREEN_TITLE) << "the release of a drag activates nothing";
}

TEST_F(Title, BackQuitsTheProgramInOrder) { EXPECT_EXIT(game.Press(KEY_ESCAPE), ::testing::ExitedWithCode(0), ""); }

}  // namespace
