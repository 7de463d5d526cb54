// Recorded games. A recording holds every call the host's wrappers made to
// the delegate in a run, each with the clock as the game read it during that
// call, and what else the game learnt from the host, as it changed: the
// window's size, the joypads as polled, the saved state as loaded. Fed back
// through the same wrappers with the same answers, it plays the same game.
//
// The file is text, one entry a line, written and flushed line by line:
//
//   kalvexa-replay 1                 the format and its version
//   args --sequencer                 the switches that change the game
//   seed 1234                        the random generator at start
//   start 5012                       a call and the clock in it, ms
//   size 640 480 640 480             the window and its framebuffer from this call on
//   render 5012
//   update 5029
//   state 0|1|0|...                  in this call the game loaded this saved state
//   pad 0 1 0.5 0 0 0 0 0 00000001   in this call pad 0 read so: present,
//                                    x y z of both sticks, the buttons
//   key 5031 1 13                    KeyEvent(1, 13)
//   mouse 5040 6 -1 320 240          MouseEvent(6, -1, 320, 240)
//   end 1800 12500                   the run ended in order: update ticks, score
//
// The calls are start, suspend, resume, update, render, discard, key, mouse,
// touch and motion; size, pad and state lines belong to the call before
// them. A state keeps the printable ASCII characters but the backslash; any
// other unit, the space too, is written \uXXXX.
#pragma once
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/key_codes.h"
#include "runtime/array.h"
#include "runtime/string.h"

class VxGame;

constexpr int VX_REPLAY_VERSION = 1;
constexpr int VX_REPLAY_FIELDS = 9;  // the most a line has: a pad's

// What a line after the head records, in the order of the format's table.
enum class VxLine { START, SUSPEND, RESUME, UPDATE, RENDER, DISCARD, KEY, MOUSE, TOUCH, MOTION, SIZE, PAD, STATE };

// One call of the wrappers.
struct VxCall {
  VxLine line;
  int event = 0, data = 0;
  float x = 0, y = 0, z = 0;
};

struct VxReplayEntry {
  VxLine line;
  double fields[VX_REPLAY_FIELDS] = {};  // in the line's order; a call's first is its clock
  std::u16string text;                   // a state line's state
};

struct VxRecording {
  std::vector<std::string> arguments;
  int seed = 0;
  std::vector<VxReplayEntry> entries;  // none, or start and what came after it
  bool ended = false;                  // the end line is there
  int ticks = 0, score = 0;            // from it
};

// Reads a recording from its text. Strict, for the text is untrusted: every
// field is parsed whole and checked against its range, and the entries must
// come in an order a run can make them. False for a damaged or cut-short
// text or one of another version, with the reason in one line in `error`.
bool VxReadRecording(const std::string& text, VxRecording* recording, std::string* error);

// A recording or a replay as the host sees it: it is shown each outermost
// call before the delegate gets it, and answers what the game asks the host.
class VxReplay {
 public:
  virtual ~VxReplay() = default;

  // False drops the call.
  virtual bool Begin(VxGame& host, const VxCall& call) = 0;
  // The clock for the call in progress.
  int Millisecs() const { return millis_; }
  virtual bool Joystick(VxGame& host, int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                        Array<bool> buttons) = 0;
  // The saved state the game loads, given what the state file holds.
  virtual String LoadState(const String& stored) = 0;
  // Whether a save goes to the state file.
  virtual bool SaveState(const String& state) = 0;
  int Ticks() const { return ticks_; }

 protected:
  // A pad line's fields after the port.
  using Pad = std::array<double, VX_REPLAY_FIELDS - 1>;

  int millis_ = 0;
  int ticks_ = 0;  // update calls
  Pad pads_[JOYSTICKS] = {};
};

// Writes a recording into a file it owns, from its head on.
class VxRecorder : public VxReplay {
 public:
  VxRecorder(FILE* file, const std::vector<std::string>& arguments, int seed);
  ~VxRecorder() override;

  bool Begin(VxGame& host, const VxCall& call) override;
  bool Joystick(VxGame& host, int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                Array<bool> buttons) override;
  String LoadState(const String& stored) override;
  bool SaveState(const String& state) override;
  // The end line, with the score; nothing is written after it.
  void End(int score);

 private:
  void Write(VxLine line, const double* fields, const std::u16string& text = std::u16string());

  FILE* file_;
  std::array<double, 4> size_ = {-1, -1, -1, -1};
};

// Plays a recording: it makes the recorded calls and drops any other (a
// real window's input), noting a request to close the window.
class VxPlayer : public VxReplay {
 public:
  explicit VxPlayer(VxRecording recording);

  const VxRecording& Recording() const { return recording_; }
  // Applies what belongs to the call at entries[at], then makes the call
  // with the window size the GL table reports set to the recorded one
  // (graphics/headless_gl.h); the index of the next call.
  size_t Feed(VxGame& host, size_t at);
  // The window size at the start: the first recorded, or 640 x 480.
  int FirstWidth() const { return static_cast<int>(size_[0]); }
  int FirstHeight() const { return static_cast<int>(size_[1]); }
  bool Closing() const { return closing_; }
  // The state the game last saved; empty when it saved none.
  const String& Saved() const { return saved_; }

  bool Begin(VxGame& host, const VxCall& call) override;
  bool Joystick(VxGame& host, int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                Array<bool> buttons) override;
  String LoadState(const String& stored) override;
  bool SaveState(const String& state) override;

 private:
  VxRecording recording_;
  std::array<double, 4> size_ = {640, 480, 640, 480};
  std::u16string state_;
  String saved_;
  bool feeding_ = false, closing_ = false;
};
