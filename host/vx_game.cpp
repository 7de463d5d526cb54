// The platform-neutral host: its state, and the guarded wrappers through
// which every call reaches the delegate. Each wrapper keeps the started and
// suspended states, turns a language exception into Die, and lets the
// collector take one step once the outermost call is over, whatever happened.
#include <cstdlib>

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
void VxGame::Guarded(Call call) {
  ++_wrapperDepth;
  try {
    call();
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
int VxGame::Millisecs() { return 0; }

bool VxGame::PollJoystick(int, Array<float>, Array<float>, Array<float>, Array<bool>) { return false; }
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
  Guarded([&] { _delegate->StartGame(); });
}

void VxGame::SuspendGame() {
  if (!_started || _suspended) return;
  _suspended = true;
  Guarded([&] { _delegate->SuspendGame(); });
}

void VxGame::ResumeGame() {
  if (!_started || !_suspended) return;
  _suspended = false;
  Guarded([&] { _delegate->ResumeGame(); });
}

void VxGame::UpdateGame() {
  if (!_started || _suspended) return;
  Guarded([&] { _delegate->UpdateGame(); });
}

void VxGame::RenderGame() {
  if (!_started) return;
  Guarded([&] { _delegate->RenderGame(); });
}

void VxGame::KeyEvent(int event, int data) {
  if (!_started) return;
  Guarded([&] { _delegate->KeyEvent(event, data); });
}

void VxGame::MouseEvent(int event, int data, float x, float y) {
  if (!_started) return;
  Guarded([&] { _delegate->MouseEvent(event, data, x, y); });
}

void VxGame::TouchEvent(int event, int data, float x, float y) {
  if (!_started) return;
  Guarded([&] { _delegate->TouchEvent(event, data, x, y); });
}

void VxGame::MotionEvent(int event, int data, float x, float y, float z) {
  if (!_started) return;
  Guarded([&] { _delegate->MotionEvent(event, data, x, y, z); });
}

void VxGame::DiscardGraphics() {
  if (!_started) return;
  Guarded([&] { _delegate->DiscardGraphics(); });
}
