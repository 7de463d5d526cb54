// A GLFW host without a window system: a clock that moves only when the loop
// sleeps or waits (or a test moves it), a scripted window and keyboard, and a
// delegate that records every call with the time it came.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "host/glfw2.h"
#include "host/vx_game.h"

struct Call {
  std::string name;
  double time;
  int event = 0, data = 0;
};

class FakeHost : public VxGlfwGame {
 public:
  double now = 100;  // far from 0, so that no test leans on a zero start
  bool opened = true, active = true, iconified = false;
  int pass = 0, passLimit = 1000;         // the window closes after passLimit loop passes
  std::function<void(FakeHost&)> onPass;  // at the start of each pass
  std::set<int> heldKeys;                 // GLFW key codes
  std::function<void()> onOpenWindow;

  double Time() override { return now; }
  void Sleep(double seconds) override { now += seconds; }
  void PollEvents() override {
    if (++pass > passLimit) opened = false;
    if (onPass) onPass(*this);
  }
  void WaitEvents() override { now += 0.25; }
  int WindowParam(int param) override {
    return param == GLFW_OPENED ? opened : param == GLFW_ACTIVE ? active : param == GLFW_ICONIFIED ? iconified : 0;
  }
  bool KeyHeld(int glfwKey) override { return heldKeys.count(glfwKey) > 0; }
  void OpenWindow(int, int, int, int, int, int, int, int, bool) override {
    if (onOpenWindow) onOpenWindow();
  }
};

struct RecordingDelegate : VxGameDelegate {
  FakeHost* host = nullptr;
  std::vector<Call> calls;
  std::function<void(const std::string&)> onCall;  // runs inside each delegate call

  void Record(const std::string& name, int event = 0, int data = 0) {
    calls.push_back({name, host->now, event, data});
    if (onCall) onCall(name);
  }
  void StartGame() override { Record("start"); }
  void SuspendGame() override { Record("suspend"); }
  void ResumeGame() override { Record("resume"); }
  void UpdateGame() override { Record("update"); }
  void RenderGame() override { Record("render"); }
  void KeyEvent(int event, int data) override { Record("key", event, data); }
  void MouseEvent(int event, int data, float, float) override { Record("mouse", event, data); }

  int Count(const std::string& name) const {
    int n = 0;
    for (const Call& c : calls) n += c.name == name;
    return n;
  }
};

struct HostTest : ::testing::Test {
  FakeHost hostObject;
  FakeHost* host = &hostObject;
  RecordingDelegate* game = new RecordingDelegate();

  void SetUp() override {
    game->host = host;
    host->SetDelegate(game);
  }
};
