// Window-system input turned into the framework's events: keys in the
// framework's numbering with their editing characters, typed characters,
// mouse buttons and motion, the close request as a key, and joystick polling.
#include "framework/game_event.h"
#include "framework/key_codes.h"
#include "host/glfw2.h"
#include "host/input_translation.h"
#include "host/vx_game.h"

namespace {

// ---- Tunables ------------------------------------------------------------------------
constexpr int JOYSTICK_BUTTONS = 32;  // read at most

}  // namespace

void VxGlfwGame::OnKey(int glfwKey, int action) {
  int key = TransKey(glfwKey);
  if (!key) return;
  if (action == GLFW_RELEASE) {
    _glfwGame->KeyEvent(c_VxGameEvent::KeyUp, key);
  } else if (action == GLFW_PRESS) {
    _glfwGame->KeyEvent(c_VxGameEvent::KeyDown, key);
    int character = KeyToChar(key);
    if (character) _glfwGame->KeyEvent(c_VxGameEvent::KeyChar, character);
  }
}

void VxGlfwGame::OnChar(int character, int action) {
  if (action == GLFW_PRESS) _glfwGame->KeyEvent(c_VxGameEvent::KeyChar, character);
}

void VxGlfwGame::OnMouseButton(int button, int action) {
  if (button < 0 || button >= MOUSE_BUTTONS) return;
  int x = 0, y = 0;
  glfwGetMousePos(&x, &y);
  if (action == GLFW_PRESS) {
    _glfwGame->MouseEvent(c_VxGameEvent::MouseDown, button, static_cast<float>(x), static_cast<float>(y));
  } else if (action == GLFW_RELEASE) {
    _glfwGame->MouseEvent(c_VxGameEvent::MouseUp, button, static_cast<float>(x), static_cast<float>(y));
  }
}

void VxGlfwGame::OnMousePos(int x, int y) {
  _glfwGame->MouseEvent(c_VxGameEvent::MouseMove, -1, static_cast<float>(x), static_cast<float>(y));
}

// The framework ends the program on this key; the window stays open until then.
int VxGlfwGame::OnWindowClose() {
  _glfwGame->KeyEvent(c_VxGameEvent::KeyDown, KEY_CLOSE);
  _glfwGame->KeyEvent(c_VxGameEvent::KeyUp, KEY_CLOSE);
  return 0;
}

bool VxGlfwGame::PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                              Array<bool> buttons) {
  if (!glfwGetJoystickParam(port, GLFW_PRESENT)) return false;
  int axisCount = glfwGetJoystickParam(port, GLFW_AXES);
  int buttonCount = glfwGetJoystickParam(port, GLFW_BUTTONS);

  float axes[JOYSTICK_AXES] = {};
  glfwGetJoystickPos(port, axes, JOYSTICK_AXES);
  MapJoystickAxes(axisCount, axes, joyx, joyy, joyz);

  unsigned char states[JOYSTICK_BUTTONS] = {};
  glfwGetJoystickButtons(port, states, JOYSTICK_BUTTONS);
  for (int i = 0; i < buttonCount && i < JOYSTICK_BUTTONS; ++i) buttons[i] = states[i] == GLFW_PRESS;
  return true;
}
