// The input device as the game sees it across update ticks, and the random sequence.
#include "framework/input_device.h"

#include <gtest/gtest.h>

#include <vector>

#include "framework/game_event.h"
#include "framework/input.h"
#include "framework/random.h"
#include "host/vx_game.h"

namespace {

using E = c_VxGameEvent;

// A host with scripted joypads that hold their first button down; it records
// which ports were asked.
struct PadHost : VxGame {
  bool present[4] = {};
  std::vector<int> polled;
  bool PollJoystick(int port, Array<float>, Array<float>, Array<float>, Array<bool> buttons) override {
    polled.push_back(port);
    buttons[0] = present[port];
    return present[port];
  }
};

struct Input : ::testing::Test {
  PadHost host;
  c_InputDevice* device = (new c_InputDevice())->m_new();

  void SetUp() override {
    VxGame::_game = &host;
    vx_input_SetInputDevice(device);
  }
  void TearDown() override {
    VxGame::_game = nullptr;
    vx_input_device = nullptr;
  }
  void Tick() {
    device->p_BeginUpdate();
    device->p_EndUpdate();
  }
};

TEST_F(Input, HitsAndCharactersLiveOneTickWithinTheirQueuesAndOutOfRangeCodesAreRefused) {
  device->p_KeyEvent(E::KeyDown, 65);
  device->p_KeyEvent(E::KeyDown, 65);  // a repeat adds no hit
  device->p_KeyEvent(E::KeyDown, 66);
  device->p_KeyEvent(E::KeyUp, 66);  // pressed and released between ticks
  for (int key = 100; key < 140; ++key) device->p_KeyEvent(E::KeyDown, key);
  for (int c = 0; c < 40; ++c) device->p_KeyEvent(E::KeyChar, 'A' + c);
  device->p_BeginUpdate();
  EXPECT_EQ(vx_input_KeyHit(65), 1);
  EXPECT_FALSE(vx_input_KeyDown(66));
  EXPECT_EQ(vx_input_KeyHit(66), 1);
  EXPECT_EQ(vx_input_KeyHit(130), 1);  // the 33rd hit
  EXPECT_EQ(vx_input_KeyHit(131), 0);
  EXPECT_TRUE(vx_input_KeyDown(131));  // dropped as a hit, still down
  for (int c = 0; c < 32; ++c) EXPECT_EQ(vx_input_GetChar(), 'A' + c);
  EXPECT_EQ(vx_input_GetChar(), 0);
  device->p_EndUpdate();
  device->p_BeginUpdate();
  EXPECT_TRUE(vx_input_KeyDown(65));
  EXPECT_EQ(vx_input_KeyHit(65), 0);
  device->p_EndUpdate();
  for (int code : {0, 512, -7}) {
    device->p_KeyEvent(E::KeyDown, code);
    EXPECT_FALSE(vx_input_KeyDown(code)) << code;
    EXPECT_EQ(vx_input_KeyHit(code), 0) << code;
  }
}

TEST_F(Input, TheLeftButtonAndTouchZeroMirrorEachOtherAndButtonsOrFingersBeyondTheirDeviceReachNoKey) {
  device->p_MouseEvent(E::MouseDown, 0, 10, 20);
  EXPECT_EQ(vx_input_KeyHit(1), 1);
  EXPECT_EQ(vx_input_KeyHit(384), 1);
  EXPECT_EQ(vx_input_TouchY(0), 20);
  device->p_MouseEvent(E::MouseUp, 0, 99, 99);
  EXPECT_FALSE(vx_input_KeyDown(384));
  EXPECT_EQ(vx_input_MouseX(), 10);  // a release does not move the pointer
  Tick();
  device->p_TouchEvent(E::TouchDown, 0, 5, 6);
  EXPECT_EQ(vx_input_MouseHit(0), 1);
  device->p_TouchEvent(E::TouchUp, 0, 5, 6);
  EXPECT_FALSE(vx_input_MouseDown(0));
  device->p_TouchEvent(E::TouchMove, 1, 70, 80);  // other fingers leave the pointer alone
  EXPECT_EQ(vx_input_MouseX(), 5);
  Tick();

  device->p_TouchEvent(E::TouchDown, 32, 1, 2);  // would be back, 416
  device->p_TouchEvent(E::TouchDown, 48, 1, 2);  // would be close, 432
  device->p_TouchEvent(E::TouchDown, 10, 1, 2);  // the eleventh finger
  device->p_MouseEvent(E::MouseDown, 7, 1, 2);   // would be Backspace, 8
  device->p_TouchEvent(E::TouchMove, 40, 1, 2);
  for (int key : {416, 432, 394, 8}) {
    EXPECT_FALSE(vx_input_KeyDown(key)) << key;
    EXPECT_EQ(vx_input_KeyHit(key), 0) << key;
  }
  EXPECT_EQ(vx_input_MouseX(), 5);
  device->p_TouchEvent(E::TouchDown, 9, 1, 2);
  device->p_MouseEvent(E::MouseDown, 2, 3, 4);
  EXPECT_TRUE(vx_input_KeyDown(393));
  EXPECT_TRUE(vx_input_KeyDown(3));
}

TEST_F(Input, JoypadsAreSampledOncePerTickUpToTheFirstMissingOne) {
  host.present[1] = true;  // pad 1 without pad 0 is never asked
  device->p_BeginUpdate();
  EXPECT_EQ(host.polled, std::vector<int>{0});
  EXPECT_FALSE(vx_input_JoyDown(0, 1));
  device->p_EndUpdate();
  host.present[0] = true;
  host.polled.clear();
  device->p_BeginUpdate();
  EXPECT_EQ(host.polled, (std::vector<int>{0, 1, 2}));
  EXPECT_TRUE(vx_input_JoyDown(0, 1));
  EXPECT_TRUE(vx_input_KeyDown(288));  // button 0 of pad 1
  EXPECT_EQ(vx_input_JoyHit(0, 1), 1);
  device->p_EndUpdate();
}

// The generator's sequence is part of the game's behaviour: the same seed must give the same run.
TEST(Random, SequenceFromSeed1234) {
  vx_random_Seed = 1234;
  EXPECT_NEAR(vx_random_Rnd(), 0.7143, 1e-4);
  EXPECT_EQ(static_cast<unsigned>(vx_random_Seed), 3067928073u);
  EXPECT_EQ(vx_random_Rnd2(5, 5), 5.0f);  // an empty range still advances the state by one step
  EXPECT_EQ(static_cast<unsigned>(vx_random_Seed), 889114580u);
}

}  // namespace
