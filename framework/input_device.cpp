#include "framework/input_device.h"

#include "framework/game_event.h"
#include "host/vx_game.h"

namespace {

bool IsKey(int key) { return key >= 1 && key < KEY_CODES; }
bool IsTouch(int index) { return index >= 0 && index < TOUCHES; }
// Events name a button or finger by index, added to the device's first key
// code; an index beyond the device would land on another device's key (touch
// 32 on back, mouse button 7 on Backspace).
bool IsMouseButton(int index) { return index >= 0 && index < MOUSE_BUTTONS; }
bool IsFinger(int index) { return index >= 0 && index < TOUCH_FINGERS; }

// The left mouse button is also touch 0: each key has the other as its mirror.
int MirrorKey(int key) {
  if (key == KEY_LMB) return KEY_TOUCH0;
  if (key == KEY_TOUCH0) return KEY_LMB;
  return 0;
}

}  // namespace

void c_JoyState::mark() {
  gc_queue(joyx);
  gc_queue(joyy);
  gc_queue(joyz);
  gc_queue(buttons);
}

c_InputDevice* c_InputDevice::m_new() {
  for (int i = 0; i < JOYSTICKS; ++i) gc_assign(m_joyStates[i], (new c_JoyState())->m_new());
  return this;
}

int c_InputDevice::p_PutKeyHit(int key) {
  if (m_keyHitPut < m_keyHitQueue.Length()) {
    m_keyHit[key] += 1;
    m_keyHitQueue[m_keyHitPut] = key;
    m_keyHitPut += 1;
  }
  return 0;
}

// Key events carry codes below 512; anything else is refused here rather
// than written outside the tables.
void c_InputDevice::KeyDown(int key) {
  if (key < 0 || key >= KEY_CODES || m_keyDown[key]) return;
  m_keyDown[key] = true;
  p_PutKeyHit(key);
  if (int mirror = MirrorKey(key)) {
    m_keyDown[mirror] = true;
    p_PutKeyHit(mirror);
  }
}

void c_InputDevice::KeyUp(int key) {
  if (key < 0 || key >= KEY_CODES || !m_keyDown[key]) return;
  m_keyDown[key] = false;
  if (int mirror = MirrorKey(key)) m_keyDown[mirror] = false;
}

int c_InputDevice::p_KeyEvent(int event, int data) {
  switch (event) {
    case c_VxGameEvent::KeyDown:
      KeyDown(data);
      break;
    case c_VxGameEvent::KeyUp:
      KeyUp(data);
      break;
    case c_VxGameEvent::KeyChar:
      if (m_charPut < m_charQueue.Length()) {
        m_charQueue[m_charPut] = data;
        m_charPut += 1;
      }
      break;
    default:
      break;
  }
  return 0;
}

void c_InputDevice::StoreMouse(float x, float y) {
  m_mouseX = x;
  m_mouseY = y;
  m_touchX[0] = x;
  m_touchY[0] = y;
}

void c_InputDevice::StoreTouch(int index, float x, float y) {
  m_touchX[index] = x;
  m_touchY[index] = y;
  if (index == 0) {
    m_mouseX = x;
    m_mouseY = y;
  }
}

int c_InputDevice::p_MouseEvent(int event, int data, float x, float y) {
  if (event != c_VxGameEvent::MouseMove && !IsMouseButton(data)) return 0;
  switch (event) {
    case c_VxGameEvent::MouseDown:
      KeyDown(KEY_LMB + data);
      StoreMouse(x, y);
      break;
    case c_VxGameEvent::MouseUp:
      KeyUp(KEY_LMB + data);
      break;
    case c_VxGameEvent::MouseMove:
      StoreMouse(x, y);
      break;
    default:
      break;
  }
  return 0;
}

int c_InputDevice::p_TouchEvent(int event, int data, float x, float y) {
  if (!IsFinger(data)) return 0;
  switch (event) {
    case c_VxGameEvent::TouchDown:
      KeyDown(KEY_TOUCH0 + data);
      StoreTouch(data, x, y);
      break;
    case c_VxGameEvent::TouchUp:
      KeyUp(KEY_TOUCH0 + data);
      break;
    case c_VxGameEvent::TouchMove:
      StoreTouch(data, x, y);
      break;
    default:
      break;
  }
  return 0;
}

int c_InputDevice::p_MotionEvent(int event, int, float x, float y, float z) {
  if (event == c_VxGameEvent::MotionAccel) {
    m_accelX = x;
    m_accelY = y;
    m_accelZ = z;
  }
  return 0;
}

int c_InputDevice::p_BeginUpdate() {
  for (int j = 0; j < JOYSTICKS; ++j) {
    c_JoyState* state = m_joyStates[j];
    // Pads are numbered without gaps: the first missing one ends the scan.
    if (!VxGame::_game->ReadJoystick(j, state->joyx, state->joyy, state->joyz, state->buttons)) break;
    for (int b = 0; b < JOY_BUTTONS; ++b) {
      int key = KEY_JOY0 + JOY_BUTTONS * j + b;
      if (state->buttons[b]) {
        if (!m_keyDown[key]) {
          m_keyDown[key] = true;
          p_PutKeyHit(key);
        }
      } else {
        m_keyDown[key] = false;
      }
    }
  }
  return 0;
}

int c_InputDevice::p_EndUpdate() {
  for (int i = 0; i < m_keyHitPut; ++i) m_keyHit[m_keyHitQueue[i]] = 0;
  m_keyHitPut = 0;
  m_charGet = 0;
  m_charPut = 0;
  return 0;
}

bool c_InputDevice::p_KeyDown(int key) { return IsKey(key) && m_keyDown[key]; }

int c_InputDevice::p_KeyHit(int key) { return IsKey(key) ? m_keyHit[key] : 0; }

int c_InputDevice::p_GetChar() {
  if (m_charGet == m_charPut) return 0;
  int character = m_charQueue[m_charGet];
  m_charGet += 1;
  return character;
}

float c_InputDevice::p_TouchX(int index) { return IsTouch(index) ? m_touchX[index] : 0; }
float c_InputDevice::p_TouchY(int index) { return IsTouch(index) ? m_touchY[index] : 0; }

bool c_InputDevice::p_SetKeyboardEnabled(bool enabled) {
  VxGame::_game->SetKeyboardEnabled(enabled);
  return true;
}

void c_InputDevice::mark() {
  gc_queue(m_joyStates);
  gc_queue(m_keyDown);
  gc_queue(m_keyHitQueue);
  gc_queue(m_keyHit);
  gc_queue(m_charQueue);
  gc_queue(m_touchX);
  gc_queue(m_touchY);
}
