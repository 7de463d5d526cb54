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

TEST_F(Title, AKeyActsWhileThePointerIsHeldAndThePlayButtonWhileAKeyIs) {
  game.MouseDown(FIRST_ITEM_X + SPACING, ITEM_Y);  // selects mode 2 and stays down, off the items
  game.Step();
  game.MouseMove(100, 60);
  game.Step(40);
  game.Tap(KEY_RETURN);
  EXPECT_EQ(app.screenMode, SCREEN_PLAY);
  EXPECT_EQ(app.gameMode, 2);

  GameHarness other;
  other.Step(40);
  other.KeyDown(KEY_DOWN);  // moves to mode 2 and stays held
  other.Step(40);
  other.Click(570, 432);
  EXPECT_EQ(other.app->screenMode, SCREEN_START_GAME);
  EXPECT_EQ(other.app->gameMode, 2);
}

// Portrait windows run the carousel down the screen; the selected item rests
// where the others are measured from, so each way of choosing reaches every
// item, the choice stands, and the carousel stops at its ends.
TEST(TitlePortrait, KeysTapsAndFlingsChooseEveryItemAndTheCarouselStopsAtItsEnds) {
  for (auto [width, height] : {std::pair{480, 960}, {600, 1000}}) {
    for (const char* way : {"keys", "taps", "flings"}) {
      HarnessOptions options;
      options.width = width;
      options.height = height;
      GameHarness game(options);
      c_MyApp& app = *game.app;
      game.Step(40);
      ASSERT_EQ(app.landscape, 0);
      float itemX = (vx_Kalvexa_jscrw - 140) / 2, restY = vx_Kalvexa_jscrh - 96;
      for (int item = 2; item <= 5; ++item) {
        if (way[0] == 'k') game.Tap(KEY_DOWN);
        if (way[0] == 't') game.Click(itemX, restY + SPACING - 10);
        if (way[0] == 'f') {
          game.MouseDown(itemX + 70, 200);
          game.Step();
          game.MouseMove(itemX + 70, 153);
          game.Step();
          game.MouseUp();
        }
        game.Step(120);
        EXPECT_EQ(app.menuChoice, item < 5 ? item : 4) << width << " " << way << " " << item;
        EXPECT_EQ(app.screenMode, SCREEN_TITLE);
      }
      // Flung hard past the cog, then past the first item: pushed back each time.
      for (int end : {4, 1}) {
        if (end == 1) game.Tap(KEY_UP, 3);
        app.menuFling = end == 4 ? -400 : 400;
        game.Step(200);
        EXPECT_EQ(app.menuChoice, end) << width << " " << way;
        EXPECT_NEAR(app.menuShown, (1 - end) * SPACING, vx_Kalvexa_jscrh * 0.15f) << width << " " << way;
      }
    }
  }
}

TEST_F(Title, BackQuitsTheProgramInOrder) { EXPECT_EXIT(game.Press(KEY_ESCAPE), ::testing::ExitedWithCode(0), ""); }

}  // namespace
