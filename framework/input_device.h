// The input device: the game's polled view of input. Host events update it as
// they arrive; the game reads it during update ticks. Keyboard keys, mouse
// buttons, touches and joypad buttons share one space of 512 key codes, so a
// single down/hit table serves them all. Hits and typed characters live from
// their event to the end of the next update tick.
#pragma once
#include "framework/key_codes.h"
#include "runtime/array.h"
#include "runtime/object.h"

// ---- Tunables ------------------------------------------------------------------------
constexpr int KEY_HIT_QUEUE = 33;  // distinct hits kept per tick; later ones are dropped
constexpr int CHAR_QUEUE = 32;     // characters kept per tick; later ones are dropped
constexpr int STICKS = 2;          // sticks per joypad

// One joypad as last sampled: two sticks and 32 buttons.
struct c_JoyState : Object {
  Array<float> joyx{STICKS};
  Array<float> joyy{STICKS};
  Array<float> joyz{STICKS};
  Array<bool> buttons{JOY_BUTTONS};

  c_JoyState* m_new() { return this; }
  void mark() override;
};

struct c_InputDevice : Object {
  Array<c_JoyState*> m_joyStates{JOYSTICKS};
  Array<bool> m_keyDown{KEY_CODES};
  int m_keyHitPut = 0;
  Array<int> m_keyHitQueue{KEY_HIT_QUEUE};
  Array<int> m_keyHit{KEY_CODES};
  int m_charGet = 0;
  int m_charPut = 0;
  Array<int> m_charQueue{CHAR_QUEUE};
  float m_mouseX = 0, m_mouseY = 0;
  Array<float> m_touchX{TOUCHES};
  Array<float> m_touchY{TOUCHES};
  float m_accelX = 0, m_accelY = 0, m_accelZ = 0;

  // Creates the joypad states.
  c_InputDevice* m_new();

  // Events, from the game delegate.
  int p_KeyEvent(int event, int data);
  int p_MouseEvent(int event, int data, float x, float y);
  int p_TouchEvent(int event, int data, float x, float y);
  int p_MotionEvent(int event, int data, float x, float y, float z);

  // Around each update tick: joypads are sampled before it, hits and
  // characters forgotten after it.
  int p_BeginUpdate();
  int p_EndUpdate();

  // Queries; key codes outside 1 .. 511 read as up and never hit.
  bool p_KeyDown(int key);
  int p_KeyHit(int key);
  int p_GetChar();
  float p_MouseX() { return m_mouseX; }
  float p_MouseY() { return m_mouseY; }
  float p_TouchX(int index);
  float p_TouchY(int index);
  // No range test: index 0 .. 1, unit 0 .. 3.
  float p_JoyX(int index, int unit) { return m_joyStates[unit]->joyx[index]; }
  float p_JoyY(int index, int unit) { return m_joyStates[unit]->joyy[index]; }
  float p_AccelX() { return m_accelX; }
  float p_AccelY() { return m_accelY; }
  bool p_SetKeyboardEnabled(bool enabled);

  int p_PutKeyHit(int key);
  void mark() override;

 private:
  void KeyDown(int key);
  void KeyUp(int key);
  void StoreMouse(float x, float y);
  void StoreTouch(int index, float x, float y);
};
