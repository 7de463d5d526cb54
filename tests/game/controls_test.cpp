// Controls: the actions of the keyboard, the joypads, the virtual buttons and
// the iCade letters, the analogue movement vector, and the hit tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

#include "game/core/globals.h"
#include "tests/support/game_harness.h"

namespace {

struct Controls : ::testing::Test {
  GameHarness game;
  c_MyApp& app = *game.app;
  // No screen runs: the keys pressed here would start games or quit on the title.
  void SetUp() override { app.screenMode = 0; }

  // The actions a query of `pad` answers now.
  std::set<int> Answering(int pad, int analogue = 0) {
    std::set<int> actions;
    for (int action : {0, 3, 5, 8, 10, 11, 12, 13, 14, 15, 99}) {
      if (app.p_PlayKey(action, analogue, pad)) actions.insert(action);
    }
    return actions;
  }
  static std::set<int> Only(int action) { return action < 0 ? std::set<int>{} : std::set<int>{action}; }
};

TEST_F(Controls, EveryKeyAndVirtualButtonAnswersTheActionsOfItsRowWithICadeModeOffAndOn) {
  struct Row {
    int action;
    std::vector<int> keys, iCadeKeys;
  } rows[] = {
      {0, {KEY_UP, 'W'}, {KEY_UP}},
      {3, {KEY_LEFT, 'A'}, {KEY_LEFT}},
      {5, {KEY_RIGHT, 'D'}, {KEY_RIGHT}},
      {8, {KEY_DOWN, 'S'}, {KEY_DOWN}},
      {10, {'Z', 'J', KEY_SPACE, KEY_RETURN}, {KEY_SPACE, KEY_RETURN}},
      {11, {'X', 'K', KEY_CONTROL}, {KEY_CONTROL}},
      {12, {'C', 'L', KEY_SHIFT}, {KEY_SHIFT}},
      {13, {'V', 'I'}, {}},
      {14, {'B', 'U'}, {}},
      {15, {'N', 'O'}, {}},
      {99, {KEY_ESCAPE, KEY_TILDE, KEY_DELETE, KEY_BACKSPACE}, {KEY_ESCAPE, KEY_DELETE, KEY_BACKSPACE}},
  };
  std::set<int> keys;
  for (const Row& row : rows) keys.insert(row.keys.begin(), row.keys.end());
  for (int iCade : {0, 1}) {
    app.p_iCade(iCade);
    for (int key : keys) {
      std::set<int> expected;
      for (const Row& row : rows) {
        const std::vector<int>& column = iCade ? row.iCadeKeys : row.keys;
        if (std::count(column.begin(), column.end(), key)) expected.insert(row.action);
      }
      game.KeyDown(key);
      game.Update();
      EXPECT_EQ(Answering(-1), expected) << key << " in iCade mode " << iCade;
      EXPECT_EQ(Answering(2), expected) << "joypad queries take the keyboard too: " << key;
      EXPECT_TRUE(Answering(-2).empty()) << key;
      game.KeyUp(key);
    }
  }
  app.p_iCade(0);

  // The virtual buttons of the on-screen pad and the iCade cabinet; 19 is the tick's back request.
  const int buttonAction[PAD_BUTTONS] = {0, -1, -1, 3, -1, 5, -1, -1, 8, -1, 10, 11, 12, 13, 14, 15, 99, 99, -1, 99};
  for (int b = 0; b < PAD_BUTTONS; ++b) {
    app.padButtons[b] = 1;
    EXPECT_EQ(Answering(-1), Only(buttonAction[b])) << b;
    app.padButtons[b] = 0;
  }
}

TEST_F(Controls, EveryJoypadButtonAndStickDirectionAnswersItsAction) {
  // A, B, X, Y, the shoulders, back, start, left, up, right, down, two unused, menu, one unused.
  const int buttonAction[16] = {10, 11, 12, 13, 14, 15, 99, 99, 3, 0, 5, 8, -1, -1, 99, -1};
  for (int button = 0; button < 16; ++button) {
    int pad = button % 4;
    game.PadButton(pad, button, true);
    game.Update();
    EXPECT_EQ(Answering(pad), Only(buttonAction[button])) << button;
    EXPECT_TRUE(Answering((pad + 1) % 4).empty()) << button;
    EXPECT_TRUE(Answering(-1).empty()) << "the keyboard query ignores pads";
    EXPECT_TRUE(Answering(8).empty()) << "a pad beyond the fourth has no keys";
    game.PadButton(pad, button, false);
  }

  // The left stick counts past 0.4 and only when asked for; the host's y runs down.
  struct Stick {
    float x, y;
    int action;
  } sticks[] = {{0, -0.5f, 0}, {0, 0.5f, 8}, {-0.5f, 0, 3}, {0.5f, 0, 5}, {0.35f, -0.35f, -1}};
  for (const Stick& s : sticks) {
    game.PadStick(1, 0, s.x, s.y);
    game.Update();
    EXPECT_EQ(Answering(1, 1), Only(s.action)) << s.x << " " << s.y;
    EXPECT_TRUE(Answering(1, 0).empty()) << s.x << " " << s.y;
  }
  EXPECT_FLOAT_EQ(app.p_StickY(0, 1), 0.35f);
  EXPECT_FLOAT_EQ(app.p_StickY(0, -1), 0);
}

TEST_F(Controls, InICadeModeEachLetterHoldsItsVirtualButtonUntilItsPartnerLetter) {
  struct Letter {
    char press, release;
    int button;
  } letters[] = {{'W', 'E', 0},  {'X', 'Z', 8},  {'A', 'Q', 3},  {'D', 'C', 5},  {'Y', 'T', 13}, {'U', 'F', 14},
                 {'I', 'M', 15}, {'O', 'G', 16}, {'H', 'R', 10}, {'J', 'N', 11}, {'K', 'P', 12}, {'L', 'V', 17}};
  app.p_iCade(1);
  for (const Letter& l : letters) {
    game.Type(std::tolower(l.press));
    game.Step(5);
    for (int b = 0; b < PAD_BUTTONS; ++b) EXPECT_EQ(app.padButtons[b], b == l.button ? 2 : 0) << l.press << b;
    game.Type(l.release);
    game.Step();
    EXPECT_EQ(app.padButtons[l.button], 0) << l.release;
  }
  // The keyboard query of a held button answers its stored value for actions 13 to 15.
  game.Type('I');
  game.Type('H');
  game.Step();
  EXPECT_EQ(app.p_PlayKey(15, 0, -1), 2);
  EXPECT_EQ(app.p_PlayKey(15, 0, 0), 1);
  EXPECT_EQ(app.p_PlayKey(10, 0, -1), 1);
  app.p_iCade(0);
  for (int b = 0; b < PAD_BUTTONS; ++b) EXPECT_EQ(app.padButtons[b], 0) << b;
  game.Type('w');
  game.Step();
  EXPECT_EQ(app.padButtons[0], 0) << "letters are only letters again";
}

TEST_F(Controls, DirectionKeysRampAndCoastAndThePointerDragSteers) {
  auto tick = [&] {
    game.Update();
    app.p_AnalogueControl();
  };
  game.KeyDown(KEY_UP);
  tick();
  EXPECT_FLOAT_EQ(app.moveY, -0.15f);
  game.KeyUp(KEY_UP);
  tick();
  EXPECT_FLOAT_EQ(app.moveY, 0);
  game.KeyDown(KEY_RIGHT);
  for (int i = 0; i < 10; ++i) tick();
  EXPECT_FLOAT_EQ(app.moveX, 1) << "full speed after seven ticks, and no further";
  game.KeyUp(KEY_RIGHT);
  for (int i = 0; i < 5; ++i) tick();
  EXPECT_NEAR(app.moveX, 0, 1e-6);

  game.MouseDown(100, 100);
  tick();
  EXPECT_EQ(app.moveX, 0) << "a press only sets the anchor";
  game.MouseMove(172, 100);
  tick();
  EXPECT_FLOAT_EQ(app.moveX, 1);
  EXPECT_EQ(app.dragX, 104) << "the anchor follows a pointer more than 64 away";
  // A stick inside its dead zone leaves the drag in charge; beyond it, it takes over.
  game.PadStick(0, 0, 0.15f, 0.15f);
  tick();
  EXPECT_FLOAT_EQ(app.moveX, 68.0f / 72);
  game.PadStick(0, 0, -0.5f, 0);
  tick();
  EXPECT_FLOAT_EQ(app.moveX, -0.5f);
  game.MouseUp();
}

TEST_F(Controls, HitTestsUseTheTouchSnapshotWithTheirSlack) {
  game.TouchDown(2, 120, 50);
  game.Step();
  EXPECT_EQ(app.p_Touch(100, 40, 10, 20), 1) << "10 units right of the box is inside";
  EXPECT_EQ(app.p_Touch(130, 40, 10, 20), 0) << "10 units left of the box is outside";
  EXPECT_EQ(app.p_MouseIn_Centered(120, 50, 4, 4), 1);
  EXPECT_EQ(app.p_Button(IMG_ICONS, 130, 50, 0), 1) << "the icon is 32 units wide";
  EXPECT_EQ(app.p_Button0(IMG_ICONS, 130, 50, 0), 0) << "only touch 0 counts";
  game.TouchUp(2);
  game.Step();
  EXPECT_EQ(app.p_Touch(-4000, -4000, 1000, 1000), 0) << "an up touch is nowhere";

  // A slot whose picture is missing draws nothing and still tests its box.
  app.images[IMG_ICONS] = nullptr;
  game.TouchDown(0, 16, 16);
  game.Update();
  EXPECT_EQ(app.p_Button0(IMG_ICONS, 16, 16, 0), 1);
  game.Render();
}

}  // namespace
