// The platform-neutral host: its state, and the guarded wrappers through
// which every call reaches the delegate. Each wrapper keeps the started and
// suspended states, shows the outermost call to an attached recording or
// replay, turns a language exception into Die, and lets the collector take
// one step once the outermost call is over, whatever happened.
#include <cstdlib>

#include "framework/game_event.h"
#include "host/replay.h"
#include "host/vx_game.h"
#include "runtime/gc.h"
#include "runtime/print.h"

VxGame* VxGame::_game = nullptr;

namespace {

constexpr int EXIT_UNCAUGHT = -1;  // seen by the parent as 255

}  // namespace

// The collector steps only when the outermost wrapper returns: a wrapper
// called from game code (key-ups sent by SetGlfwWindow during a tick) must
// not sweep while the tick's C++ locals hold objects no root reaches.
template <class Call>
void VxGame::Guarded(const VxCall& call, Call run) {
  if (_wrapperDepth == 0 && _replay && !_replay->Begin(*this, call)) return;
  ++_wrapperDepth;
  try {
    run();
  } catch (ThrowableObject* ex) {
    Die(ex);
  }
  if (--_wrapperDepth == 0) gc_collect();
}

void VxGame::SetDelegate(VxGameDelegate* delegate) { _delegate = delegate; }
VxGameDelegate* VxGame::Delegate() { return _delegate; }
void VxGame::SetKeyboardEnabled(bool enabled) { _keyboardEnabled = enabled; }
bool VxGame::KeyboardEnabled() { return _keyboardEnabled; }
void VxGame::SetUpdateRate(int hertz) { _updateRate = hertz; }
int VxGame::UpdateRate() { return _updateRate; }
bool VxGame::Started() { return _started; }
bool VxGame::Suspended() { return _suspended; }
int VxGame::Millisecs() { return _replay ? _replay->Millisecs() : ClockMillisecs(); }
int VxGame::ClockMillisecs() { return 0; }

bool VxGame::PollJoystick(int, Array<float>, Array<float>, Array<float>, Array<bool>) { return false; }

bool VxGame::ReadJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz, Array<bool> buttons) {
  if (!_replay) return PollJoystick(port, joyx, joyy, joyz, buttons);
  return _replay->Joystick(*this, port, joyx, joyy, joyz, buttons);
}

void VxGame::SetReplay(VxReplay* replay) { _replay = replay; }

bool VxGame::KeySentDown(int key) const { return key >= 0 && key < KEY_CODES && _keysSentDown[key]; }
void VxGame::OpenUrl(String) {}
void VxGame::SetMouseVisible(bool) {}

void VxGame::Die(ThrowableObject*) {
  vxPrint(String("Vorlix Runtime Error : Uncaught Vorlix Exception"));
  exit(EXIT_UNCAUGHT);
}

void VxGame::gc_collect() {
  // The delegate is reachable from a module global too, but the host holds
  // it independently of what the game does to its globals.
  gc_mark_object(_delegate);
  ::gc_collect();
}

void VxGame::StartGame() {
  if (_started) return;
  _started = true;
  Guarded({VxLine::START}, [&] { _delegate->StartGame(); });
}

void VxGame::SuspendGame() {
  if (!_started || _suspended) return;
  _suspended = true;
  Guarded({VxLine::SUSPEND}, [&] { _delegate->SuspendGame(); });
}

void VxGame::ResumeGame() {
  if (!_started || !_suspended) return;
  _suspended = false;
  Guarded({VxLine::RESUME}, [&] { _delegate->ResumeGame(); });
}

void VxGame::UpdateGame() {
  if (!_started || _suspended) return;
  Guarded({VxLine::UPDATE}, [&] { _delegate->UpdateGame(); });
}

void VxGame::RenderGame() {
  if (!_started) return;
  Guarded({VxLine::RENDER}, [&] { _delegate->RenderGame(); });
}

void VxGame::KeyEvent(int event, int data) {
  if (!_started) return;
  Guarded({VxLine::KEY, event, data}, [&] {
    if ((event == c_VxGameEvent::KeyDown || event == c_VxGameEvent::KeyUp) && data >= 0 && data < KEY_CODES) {
      _keysSentDown[data] = event == c_VxGameEvent::KeyDown;
    }
    _delegate->KeyEvent(event, data);
  });
}

void VxGame::MouseEvent(int event, int data, float x, float y) {
  if (!_started) return;
  Guarded({VxLine::MOUSE, event, data, x, y}, [&] { _delegate->MouseEvent(event, data, x, y); });
}

void VxGame::TouchEvent(int event, int data, float x, float y) {
  if (!_started) return;
  Guarded({VxLine::TOUCH, event, data, x, y}, [&] { _delegate->TouchEvent(event, data, x, y); });
}

void VxGame::MotionEvent(int event, int data, float x, float y, float z) {
  if (!_started) return;
  Guarded({VxLine::MOTION, event, data, x, y, z}, [&] { _delegate->MotionEvent(event, data, x, y, z); });
}

void VxGame::DiscardGraphics() {
  if (!_started) return;
  Guarded({VxLine::DISCARD}, [&] { _delegate->DiscardGraphics(); });
}
