// Controls: numbered game actions answered by the keyboard, four joypads and
// the virtual buttons an iCade cabinet holds; the analogue movement vector of
// a play tick; and hit tests of boxes on screen against the touch snapshot.
#include <cmath>

#include "framework/input.h"
#include "framework/input_device.h"
#include "framework/key_codes.h"
#include "game/core/globals.h"
#include "game/core/my_app.h"

namespace {

// ---- Tunables ---------------------------------------------------------------------------
constexpr float STICK_PRESS = 0.4f;  // stick deflection that counts as a direction action
constexpr float STICK_DEAD_ZONE = 0.2f;
constexpr float DRAG_FULL_SPEED = 72;  // pointer drag, virtual units, for full speed
constexpr float DRAG_DEAD_ZONE = 0.1f;
constexpr int DRAG_LEASH = 64;       // the drag anchor follows a pointer further away than this
constexpr int DRAG_FOLLOW = 4;       // units per tick
constexpr float KEY_RAMP = 0.15f;    // velocity gained per tick while a direction is held
constexpr float KEY_COAST = 0.2f;    // velocity lost per tick after release
constexpr float MOVE_SHOWN = 0.05f;  // smaller vectors are not drawn
constexpr int TOUCH_SLACK_BEFORE = 6, TOUCH_SLACK_AFTER = 12;

constexpr int NO = -1;  // ends a list below

// The keyboard: keys with iCade mode off and on, and the virtual buttons.
struct KeyboardRow {
  int action;
  int keys[4];
  int iCadeKeys[4];
  int buttons[3];
  bool storedInICade;  // in iCade mode the button's stored value (0, 1 or 2) is the answer
};
constexpr KeyboardRow kKeyboard[] = {
    // action    keys: arrows, letters, Space 32, Enter 13, Control 17, Shift 16  iCade mode      buttons
    {ACTION_UP, {38, 'W', NO, NO}, {38, NO, NO, NO}, {0, NO, NO}, false},
    {ACTION_LEFT, {37, 'A', NO, NO}, {37, NO, NO, NO}, {3, NO, NO}, false},
    {ACTION_RIGHT, {39, 'D', NO, NO}, {39, NO, NO, NO}, {5, NO, NO}, false},
    {ACTION_DOWN, {40, 'S', NO, NO}, {40, NO, NO, NO}, {8, NO, NO}, false},
    {10, {'Z', 'J', 32, 13}, {32, 13, NO, NO}, {10, NO, NO}, false},
    {11, {'X', 'K', 17, NO}, {17, NO, NO, NO}, {11, NO, NO}, false},
    {12, {'C', 'L', 16, NO}, {16, NO, NO, NO}, {12, NO, NO}, false},
    {13, {'V', 'I', NO, NO}, {NO, NO, NO, NO}, {13, NO, NO}, true},
    {14, {'B', 'U', NO, NO}, {NO, NO, NO, NO}, {14, NO, NO}, true},
    {15, {'N', 'O', NO, NO}, {NO, NO, NO, NO}, {15, NO, NO}, true},
    // Escape 27, tilde 192, Delete 46, Backspace 8
    {ACTION_BACK, {27, 192, 46, 8}, {27, 46, 8, NO}, {16, 17, BACK_REQUEST}, false},
};

// Joypad buttons (0 A, 1 B, 2 X, 3 Y, 4 and 5 shoulders, 6 back, 7 start,
// 8 left, 9 up, 10 right, 11 down, 14 menu) and the left stick's direction.
enum StickAxis { NO_AXIS, AXIS_X, AXIS_Y };
struct PadRow {
  int action;
  int buttons[3];
  StickAxis axis;
  float sign;  // the stick reading times this must pass STICK_PRESS
};
constexpr PadRow kPad[] = {
    {ACTION_UP, {9, NO, NO}, AXIS_Y, 1},     {ACTION_LEFT, {8, NO, NO}, AXIS_X, -1},
    {ACTION_RIGHT, {10, NO, NO}, AXIS_X, 1}, {ACTION_DOWN, {11, NO, NO}, AXIS_Y, -1},
    {10, {0, NO, NO}, NO_AXIS, 0},           {11, {1, NO, NO}, NO_AXIS, 0},
    {12, {2, NO, NO}, NO_AXIS, 0},           {13, {3, NO, NO}, NO_AXIS, 0},
    {14, {4, NO, NO}, NO_AXIS, 0},           {15, {5, NO, NO}, NO_AXIS, 0},
    {ACTION_BACK, {6, 7, 14}, NO_AXIS, 0},
};

template <class Row, size_t N>
const Row* RowOf(const Row (&table)[N], int action) {
  for (const Row& row : table) {
    if (row.action == action) return &row;
  }
  return nullptr;
}

template <size_t N>
bool AnyKeyDown(const int (&keys)[N]) {
  for (int key : keys) {
    if (key != NO && vx_input_KeyDown(key)) return true;
  }
  return false;
}

float Clamp1(float v) { return v < -1 ? -1 : v > 1 ? 1 : v; }

// One axis of the direction keys: ramps while held, coasts back to 0 after.
void RampAxis(bool less, bool more, float* velocity, float* move) {
  if (less) {
    *velocity -= KEY_RAMP;
    *move = *velocity;
  } else if (*velocity < 0) {
    *velocity = *velocity + KEY_COAST > 0 ? 0 : *velocity + KEY_COAST;
    *move = *velocity;
  }
  if (more) {
    *velocity += KEY_RAMP;
    *move = *velocity;
  } else if (*velocity > 0) {
    *velocity = *velocity - KEY_COAST < 0 ? 0 : *velocity - KEY_COAST;
    *move = *velocity;
  }
}

}  // namespace

int c_MyApp::p_PlayKey(int action, int analogue, int pad) {
  if (pad < -1) return 0;
  const KeyboardRow* row = RowOf(kKeyboard, action);
  if (!row) return 0;
  bool iCade = vx_Kalvexa_iCadeControls == 1;
  if (AnyKeyDown(iCade ? row->iCadeKeys : row->keys)) return 1;

  bool joypad = pad >= 0;
  if (joypad && pad < PADS) {
    const PadRow* padRow = RowOf(kPad, action);
    for (int b : padRow->buttons) {
      if (b != NO && vx_input_KeyDown(KEY_JOY0 + JOY_BUTTONS * pad + b)) return 1;
    }
    if (analogue == 1 && !iCade && padRow->axis != NO_AXIS) {
      float value = padRow->axis == AXIS_X ? p_StickX(0, pad) : p_StickY(0, pad);
      if (value * padRow->sign > STICK_PRESS) return 1;
    }
  }
  for (int b : row->buttons) {
    if (b == NO || padButtons[b] == 0) continue;
    return !joypad && iCade && row->storedInICade ? padButtons[b] : 1;
  }
  return 0;
}

int c_MyApp::p_PlayKeyAll(int action, int analogue) {
  int sum = 0;
  for (int pad = 0; pad < PADS; ++pad) sum += p_PlayKey(action, analogue, pad);
  return sum;
}

float c_MyApp::p_StickX(int stick, int pad) {
  if (pad < 0 || pad >= PADS || stick < 0 || stick >= STICKS) return 0;
  return vx_input_JoyX(stick, pad);
}

// Up is positive on the left stick.
float c_MyApp::p_StickY(int stick, int pad) {
  if (pad < 0 || pad >= PADS || stick < 0 || stick >= STICKS) return 0;
  float y = vx_input_JoyY(stick, pad);
  return stick == 0 ? -y : y;
}

int c_MyApp::p_AnalogueControl() {
  moveX = moveY = 0;

  // The pointer as a stick: the press sets the anchor, the drag from it steers.
  if (pointerDown == 0) dragX = -1;
  if (pointerDown > 0) {
    if (dragX < 0) {
      dragX = mouseX;
      dragY = mouseY;
    } else {
      moveX = static_cast<float>(mouseX - dragX) / DRAG_FULL_SPEED;
      moveY = static_cast<float>(mouseY - dragY) / DRAG_FULL_SPEED;
      if (std::fabs(moveX) < DRAG_DEAD_ZONE && std::fabs(moveY) < DRAG_DEAD_ZONE) moveX = moveY = 0;
      if (mouseX < dragX - DRAG_LEASH) dragX -= DRAG_FOLLOW;
      if (mouseX > dragX + DRAG_LEASH) dragX += DRAG_FOLLOW;
      if (mouseY < dragY - DRAG_LEASH) dragY -= DRAG_FOLLOW;
      if (mouseY > dragY + DRAG_LEASH) dragY += DRAG_FOLLOW;
    }
    p_SetCol(0, 100, 250, 0.25f);
    p_Oval(static_cast<float>(dragX), static_cast<float>(dragY), 12, 12);
    p_Oval(static_cast<float>(mouseX), static_cast<float>(mouseY), 8, 8);
  }

  float stickX = p_StickX(0, 0), stickY = p_StickY(0, 0);
  if (std::fabs(stickX) > STICK_DEAD_ZONE || std::fabs(stickY) > STICK_DEAD_ZONE) {
    moveX = stickX;
    moveY = -stickY;
  }

  // Pad 0's query takes the keyboard's keys as well.
  auto held = [&](int action) { return p_PlayKey(action, 0, 0) != 0; };
  RampAxis(held(ACTION_UP), held(ACTION_DOWN), &keyVY, &moveY);
  RampAxis(held(ACTION_LEFT), held(ACTION_RIGHT), &keyVX, &moveX);

  moveX = Clamp1(moveX);
  moveY = Clamp1(moveY);
  keyVX = Clamp1(keyVX);
  keyVY = Clamp1(keyVY);

  if (std::fabs(moveX) <= MOVE_SHOWN && std::fabs(moveY) <= MOVE_SHOWN) return 0;
  if (vx_Kalvexa_DebugMode == 1) {
    float cx = vx_Kalvexa_jscrw - 64, cy = vx_Kalvexa_jscrh - 64;
    p_SetCol(0, 180, 250, 0.5f);
    p_Oval(cx, cy, 12, 12);
    p_Oval(cx + moveX * 52, cy + moveY * 52, 8, 8);
  }
  return 0;
}

bool c_MyApp::TouchInside(float left, float top, float right, float bottom) {
  for (int n = 0; n < TOUCH_SLOTS; ++n) {
    if (!touchDown[n]) continue;
    float x = static_cast<float>(touchX[n]), y = static_cast<float>(touchY[n]);
    if (x > left && x < right && y > top && y < bottom) return true;
  }
  return false;
}

// From the slot's recorded frame size, never from the image itself, so that a
// missing picture cannot break a hit test.
void c_MyApp::SlotHalfSize(int slot, float* halfW, float* halfH) {
  *halfW = static_cast<float>(imageInfo[slot * 3]) * assetScale * drawSizeX * 0.5f;
  *halfH = static_cast<float>(imageInfo[slot * 3 + 1]) * assetScale * drawSizeY * 0.5f;
}

int c_MyApp::p_Button(int slot, float x, float y, int frame) {
  p_DrawImg(slot, x, y, static_cast<float>(frame));
  float halfW, halfH;
  SlotHalfSize(slot, &halfW, &halfH);
  buttonHit = pointerDown >= 1 && TouchInside(x - halfW, y - halfH, x + halfW, y + halfH) ? 1 : 0;
  return buttonHit;
}

int c_MyApp::p_Button0(int slot, float x, float y, int frame) {
  p_DrawImg(slot, x, y, static_cast<float>(frame));
  float halfW, halfH;
  SlotHalfSize(slot, &halfW, &halfH);
  float tx = static_cast<float>(touchX[0]), ty = static_cast<float>(touchY[0]);
  return pointerDown > 0 && tx > x - halfW && tx < x + halfW && ty > y - halfH && ty < y + halfH ? 1 : 0;
}

int c_MyApp::p_Touch(float x, float y, float w, float h) {
  p_Rect(x, y, w, h);
  return TouchInside(x - TOUCH_SLACK_BEFORE, y - TOUCH_SLACK_BEFORE, x + w + TOUCH_SLACK_AFTER,
                     y + h + TOUCH_SLACK_AFTER);
}

int c_MyApp::p_MouseIn_Centered(float x, float y, float w, float h) {
  return TouchInside(x - w * 0.5f, y - h * 0.5f, x + w * 0.5f, y + h * 0.5f);
}

int c_MyApp::p_iCade(int on) {
  if (on == 1) {
    vx_input_EnableKeyboard();
    vx_Kalvexa_iCadeControls = 1;
    // Letters typed before the mode began are not cabinet input.
    while (vx_input_GetChar() != 0) {
    }
  } else {
    vx_input_DisableKeyboard();
    vx_Kalvexa_iCadeControls = 0;
    ReleaseVirtualButtons();
  }
  return 0;
}
