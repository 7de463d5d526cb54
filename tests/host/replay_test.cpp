// Recordings on the headless host, without the game.
#include "host/replay.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <sstream>

#include "framework/app.h"
#include "framework/game_event.h"
#include "graphics/headless_gl.h"
#include "host/headless_game.h"
#include "tests/support/temp_folder.h"

namespace {

using Event = c_VxGameEvent;

std::string Text(const char* path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// A host with one joypad the test sets.
struct PadHost : VxHeadlessGame {
  bool present = false;
  float axis = 0;
  bool PollJoystick(int port, Array<float> joyx, Array<float>, Array<float> joyz, Array<bool> buttons) override {
    if (port > 0 || !present) return false;
    joyx[1] = axis;
    joyz[0] = -axis;
    buttons[31] = true;
    return true;
  }
};

// Notes every call with the clock, and what the game learns from the host in it.
struct Notes : VxGameDelegate {
  VxHeadlessGame* host = nullptr;
  std::vector<std::string> seen;
  std::vector<int> millis;
  std::vector<double> times;

  template <class... Values>
  void Note(const char* what, Values... values) {
    std::ostringstream line;
    line.precision(9);
    line << what;
    ((line << ' ' << values), ...);
    seen.push_back(line.str() + " at " + std::to_string(host->Millisecs()));
    millis.push_back(host->Millisecs());
    times.push_back(host->now);
  }
  void StartGame() override { Note("start", host->LoadState().ToUtf8()); }
  void SuspendGame() override { Note("suspend", host->SaveState(String("saved"))); }
  void ResumeGame() override { Note("resume"); }
  void UpdateGame() override {
    Array<float> x(2), y(2), z(2);
    Array<bool> buttons(32);
    bool pad = host->ReadJoystick(0, x, y, z, buttons);
    Note("update", pad, x[0], y[0], z[0], x[1], y[1], z[1], buttons[31]);
  }
  void RenderGame() override {
    int w = 0, h = 0, fw = 0, fh = 0;
    gxtkGL->GetWindowSize(&w, &h);
    gxtkGL->GetFramebufferSize(&fw, &fh);
    Note("render", w, h, fw, fh);
    if (w == 800) host->KeyEvent(Event::KeyUp, 37);  // as a change of window does, within the call
  }
  void KeyEvent(int event, int data) override { Note("key", event, data); }
  void MouseEvent(int event, int data, float x, float y) override { Note("mouse", event, data, x, y); }
  void TouchEvent(int event, int data, float x, float y) override { Note("touch", event, data, x, y); }
  void MotionEvent(int event, int data, float x, float y, float z) override { Note("motion", event, data, x, y, z); }
  void DiscardGraphics() override { Note("discard"); }
};

TEST(Replay, ARecordedRunReplaysCallForCallAtItsPaceWithTheSameAnswersAndDropsOtherInput) {
  TempFolder folder;
  WriteFile(".vorlixstate", "a b\\c|\xC3\xA9");
  gxtkGL = &gxtkGLHeadless;
  gxtkHeadless = gxtkHeadlessGL();

  PadHost recorded;
  Notes* first = new Notes();
  first->host = &recorded;
  recorded.SetDelegate(first);
  VxRecorder recorder(fopen("run.kxr", "w"), {"--sequencer"}, -42);
  recorded.SetReplay(&recorder);
  recorded.now = 2147483;  // 648 ms before the clock wraps
  recorded.StartGame();
  recorded.RenderGame();
  recorded.now = 2147483.0165;
  recorded.UpdateGame();
  recorded.present = true;
  recorded.axis = 0.25f;
  recorded.UpdateGame();
  recorded.KeyEvent(Event::KeyDown, 37);
  recorded.KeyEvent(Event::KeyChar, 0x263A);
  recorded.MouseEvent(Event::MouseMove, -1, 1.00000012f, -7.25f);
  recorded.TouchEvent(Event::TouchDown, 3, 1.5f, 2.5f);
  recorded.MotionEvent(Event::MotionAccel, 0, 0.1f, -9.8f, 1e-3f);
  gxtkHeadless.windowWidth = 800, gxtkHeadless.framebufferHeight = 1200;
  recorded.RenderGame();
  recorded.SuspendGame();
  recorded.ResumeGame();
  recorded.DiscardGraphics();
  recorded.now = 2147483.6485;
  recorded.UpdateGame();
  recorded.present = false;
  recorded.UpdateGame();
  recorder.End(77);
  EXPECT_FALSE(recorded.KeySentDown(37));
  EXPECT_EQ(Text(".vorlixstate"), "saved");

  std::string text = Text("run.kxr");
  for (const char* line :
       {"kalvexa-replay 1\nargs --sequencer\nseed -42\nstart 2147483000\nsize 640 480 640 480\n"
        "state a\\u0020b\\u005cc|\\u00e9\n",
        "\nupdate 2147483016\npad 0 1 0 0 -0.25 0.25 0 0 80000000\nkey 2147483016 1 37\nkey 2147483016 3 9786\n",
        "\nmouse 2147483016 6 -1 1.00000012 -7.25\n",
        "\nrender 2147483016\nsize 800 480 640 1200\nsuspend 2147483016\n",
        "\nupdate -2147483648\nupdate -2147483648\npad 0 0 0 0 0 0 0 0 00000000\nend 4 77\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }
  VxRecording recording;
  std::string error;
  ASSERT_TRUE(VxReadRecording(text, &recording, &error)) << error;

  // The replay reads neither the state file nor the window nor the pad, and saves nothing.
  WriteFile(".vorlixstate", "other");
  gxtkHeadless = gxtkHeadlessGL();
  VxHeadlessGame replayed;
  replayed.now = 500;
  Notes* second = new Notes();
  second->host = &replayed;
  replayed.SetDelegate(second);
  VxPlayer player(recording);
  replayed.SetReplay(&player);
  replayed.Replay(player, true);
  EXPECT_EQ(second->seen, first->seen);
  EXPECT_EQ(player.Ticks(), 4);
  EXPECT_EQ(player.Saved(), String("saved"));
  EXPECT_EQ(Text(".vorlixstate"), "other");
  for (size_t i = 0; i < second->times.size(); ++i) {
    EXPECT_NEAR(second->times[i] - 500, vx_app_MillisecsBetween(second->millis[0], second->millis[i]) / 1000.0, 1e-9);
  }

  replayed.KeyEvent(Event::KeyDown, 65);
  EXPECT_FALSE(player.Closing());
  replayed.KeyEvent(Event::KeyDown, KEY_CLOSE);
  EXPECT_TRUE(player.Closing());
  EXPECT_EQ(second->seen.size(), first->seen.size());
  gxtkGL = &gxtkGLReal;
}

TEST(Replay, TheReaderTakesEveryFieldWithinItsRangeAndRefusesAnythingElseNamingTheLine) {
  const std::string head = "kalvexa-replay 1\nargs --sequencer\nseed -5\nstart 0\n";
  const struct {
    std::string text;
    const char* error;  // its start; null when the text is good
  } cases[] = {
      {head + "update 2147483647\nupdate -2147483648\nkey 1 3 1114111\nkey 1 1 0\nmouse 1 4 2 -1000000 1e6\n"
              "mouse 1 6 -1 0 0\ntouch 1 9 31 0 0\ntouch 1 7 0 0 0\nmotion 1 10 0 -1e6 0 1e6\n"
              "size 0 0 65535 65535\npad 3 1 -1 1 0 0 0 0 ffffffff\npad 0 0 0 0 0 0 0 0 00000000\n"
              "state a\\u0020b\\u005c|\nstate \nsuspend 2\nresume 3\nrender 4\ndiscard 5\nend 2 -3\n",
       nullptr},
      {"kalvexa-replay 1\nargs\nseed 0\n", nullptr},
      {"", "line 1: not a recorded game"},
      {"kalvexa-replay\n", "line 1: not a recorded game"},
      {"kalvexa-replay 2\nargs\nseed 1\n", "line 1: recorded in version 2"},
      {head.substr(0, head.size() - 1), "cut short"},
      {"kalvexa-replay 1\n", "line 2: expected the game's switches"},
      {"kalvexa-replay 1\nargs --record\nseed 1\n", "line 2: not a switch of the game: --record"},
      {"kalvexa-replay 1\nargs \nseed 1\n", "line 2: not a switch"},
      {"kalvexa-replay 1\nargs\nseed 1.5\n", "line 3: expected the random seed"},
      {"kalvexa-replay 1\nargs\nseed 1\nupdate 0\n", "line 4: out of order"},
      {head + "start 1\n", "line 5: out of order"},
      {head + "end 1 0\n", "line 5: the end counts other ticks"},
      {head + "end 0 0\nupdate 1\n", "line 5: lines after the end"},
      {head + "end 0\n", "line 5: a damaged end"},
  };
  for (const auto& c : cases) {
    VxRecording recording;
    std::string error;
    EXPECT_EQ(VxReadRecording(c.text, &recording, &error), !c.error) << c.text;
    if (c.error) {
      EXPECT_EQ(error.substr(0, strlen(c.error)), c.error) << c.text;
    }
  }
  VxRecording recording;
  std::string error;
  ASSERT_TRUE(VxReadRecording(cases[0].text, &recording, &error));
  EXPECT_EQ(recording.entries.size(), 19u);
  EXPECT_EQ(recording.entries[13].text, u"a b\\|");
  EXPECT_EQ(recording.entries[11].fields[8], 4294967295.0);

  // Each line of a call, size or pad out of its range, cut or padded, or not a number of its kind.
  std::istringstream bad(
      "update 2147483648\nupdate +1\nupdate 0x1\nupdate \nupdate\nupdat 1\nrender 1 2\nkey 1 4 13\nkey 1 0 13\n"
      "key 1 1 1114112\nkey 1 1 -1\nmouse 1 3 0 0 0\nmouse 1 7 0 0 0\nmouse 1 6 -2 0 0\nmouse 1 4 3 0 0\n"
      "mouse 1 6 -1 1000001 0\nmouse 1 6 -1 0 nan\nmouse 1 6 -1 inf 0\nmouse 1 6 -1 0x1 0\ntouch 1 6 0 0 0\n"
      "touch 1 10 0 0 0\ntouch 1 7 32 0 0\ntouch 1 7 -1 0 0\ntouch 1 7 0 0 -1e7\nmotion 1 9 0 0 0 0\n"
      "motion 1 10 1 0 0 0\nmotion 1 10 0 0 0 2e6\nmotion 1 10 0 0 0\nsize 640 480 640\nsize 640 480 640 480 1\n"
      "size -1 480 640 480\nsize 640 65536 640 480\npad 4 1 0 0 0 0 0 0 00000000\npad -1 1 0 0 0 0 0 0 00000000\n"
      "pad 0 2 0 0 0 0 0 0 00000000\npad 0 1 1.5 0 0 0 0 0 00000000\npad 0 1 0 0 0 0 0 -1.01 00000000\n"
      "pad 0 1 0 0 0 0 0 0 0000000G\npad 0 1 0 0 0 0 0 0 0000000\npad 0 1 0 0 0 0 0 0 FFFFFFFF\nstate a b\n"
      "state \\u12g4\nstate \\x0041\nstate \\u004\nstate\nend");
  for (std::string line; std::getline(bad, line);) {
    EXPECT_FALSE(VxReadRecording(head + line + "\n", &recording, &error)) << line;
    EXPECT_EQ(error.substr(0, 7), "line 5:") << line;
  }
}

}  // namespace
