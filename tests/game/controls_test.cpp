// Controls: actions from the keyboard, joypads and iCade letters, the
// analogue movement vector, and the hit tests.
#include <gtest/gtest.h>

#include "game/core/globals.h"
#include "tests/support/game_harness.h"

namespace {

struct Controls : ::testing::Test {
  GameHarness game;
  c_MyApp& app = *game.app;
  // No screen runs: the keys pressed here would start games or quit on the title.
  void SetUp() override { app.screenMode = 0; }
};

TEST_F(Controls, KeyboardAndJoypadKeysAnswerTheActionsOfTheirTables) {
  struct Key {
    int key, action;
  } keys[] = {{KEY_UP, 0},     {'W', 0},         {'A', 3},  {KEY_RIGHT, 5},    {'S', 8},
              {KEY_SPACE, 10}, {KEY_RETURN, 10}, {'K', 11}, {KEY_CONTROL, 11}, {KEY_SHIFT, 12},
              {'I', 13},       {'U', 14},        {'O', 15}, {192, 99},         {KEY_BACKSPACE, 99}};
  for (const Key& k : keys) {
    game.KeyDown(k.key);
    game.Update();
    EXPECT_EQ(app.p_PlayKey(k.action, 0, -1), 1) << k.key;
    EXPECT_EQ(app.p_PlayKey(k.action, 0, 2), 1) << "joypad queries take the keyboard too: " << k.key;
    EXPECT_EQ(app.p_PlayKey(k.action == 10 ? 11 : 10, 0, -1), 0) << k.key;
    EXPECT_EQ(app.p_PlayKey(k.action, 1, -2), 0) << k.key;
    EXPECT_EQ(app.p_PlayKey(7, 0, -1), 0) << "no such action";
    game.KeyUp(k.key);
  }

  struct Button {
    int pad, button, action;
  } buttons[] = {{0, 0, 10}, {1, 1, 11}, {2, 5, 15}, {3, 7, 99}, {0, 14, 99}, {1, 9, 0}, {0, 11, 8}};
  for (const Button& b : buttons) {
    game.PadButton(b.pad, b.button, true);
    game.Update();
    EXPECT_EQ(app.p_PlayKey(b.action, 0, b.pad), 1) << b.pad << "/" << b.button;
    EXPECT_EQ(app.p_PlayKey(b.action, 0, -1), 0) << "the keyboard query ignores pads";
    EXPECT_EQ(app.p_PlayKey(b.action, 0, (b.pad + 1) % 4), 0);
    EXPECT_EQ(app.p_PlayKey(b.action, 0, 8), 0) << "a pad beyond the fourth has no keys";
    game.PadButton(b.pad, b.button, false);
  }

  // The left stick counts as a direction only when asked for, up positive.
  game.PadStick(0, 0, 0.1f, -0.5f);
  game.Update();
  EXPECT_EQ(app.p_PlayKey(ACTION_UP, 1, 0), 1);
  EXPECT_EQ(app.p_PlayKey(ACTION_UP, 0, 0), 0);
  EXPECT_FLOAT_EQ(app.p_StickY(0, 0), 0.5f);
  EXPECT_FLOAT_EQ(app.p_StickY(0, -1), 0);
}

TEST_F(Controls, InICadeModeTheLettersHoldVirtualButtonsInsteadOfMoving) {
  app.p_iCade(1);
  game.KeyDown('W');
  game.Type('w');
  game.Step();
  EXPECT_EQ(app.padButtons[0], 2);
  EXPECT_EQ(app.p_PlayKey(ACTION_UP, 0, -1), 1) << "held by the letter, not by the key";
  game.KeyUp('W');
  game.Type('I');
  game.Step();
  EXPECT_EQ(app.p_PlayKey(13, 0, -1), 0);
  EXPECT_EQ(app.p_PlayKey(15, 0, -1), 2) << "a button's stored value";
  EXPECT_EQ(app.p_PlayKey(15, 0, 0), 1) << "joypad queries answer 1";
  game.Step(5);
  EXPECT_EQ(app.padButtons[0], 2) << "held until its release letter";
  game.Type('E');
  game.Step();
  EXPECT_EQ(app.padButtons[0], 0);
  game.KeyDown('W');
  game.Step();
  EXPECT_EQ(app.p_PlayKey(ACTION_UP, 0, -1), 0) << "W is a cabinet letter in iCade mode";
  game.KeyUp('W');

  game.Type('D');
  game.Step();
  app.p_iCade(0);
  EXPECT_EQ(app.padButtons[5], 0);
  EXPECT_EQ(vx_Kalvexa_iCadeControls, 0);
  game.Type('w');
  game.Step();
  EXPECT_EQ(app.padButtons[0], 0) << "letters are only letters again";
}

TEST_F(Controls, DirectionKeysRampAndCoastAndThePointerDragSteers) {
  game.KeyDown(KEY_UP);
  game.Update();
  app.p_AnalogueControl();
  EXPECT_FLOAT_EQ(app.moveY, -0.15f);
  game.KeyUp(KEY_UP);
  game.Update();
  app.p_AnalogueControl();
  EXPECT_FLOAT_EQ(app.moveY, 0);

  for (int tick = 0; tick < 10; ++tick) {
    game.KeyDown(KEY_RIGHT);
    game.Update();
    app.p_AnalogueControl();
  }
  EXPECT_FLOAT_EQ(app.moveX, 1) << "full speed after seven ticks, and no further";
  game.KeyUp(KEY_RIGHT);
  for (int tick = 0; tick < 5; ++tick) {
    game.Update();
    app.p_AnalogueControl();
  }
  EXPECT_NEAR(app.moveX, 0, 1e-6);

  game.MouseDown(100, 100);
  game.Update();
  app.p_AnalogueControl();
  EXPECT_EQ(app.moveX, 0) << "a press only sets the anchor";
  game.MouseMove(172, 100);
  game.Update();
  app.p_AnalogueControl();
  EXPECT_FLOAT_EQ(app.moveX, 1);
  EXPECT_EQ(app.dragX, 104) << "the anchor follows a pointer more than 64 away";
  // A stick inside its dead zone leaves the drag in charge; beyond it, it takes over.
  game.PadStick(0, 0, 0.15f, 0.15f);
  game.Update();
  app.p_AnalogueControl();
  EXPECT_FLOAT_EQ(app.moveX, 68.0f / 72);
  game.PadStick(0, 0, -0.5f, 0);
  game.Update();
  app.p_AnalogueControl();
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
