// Window-system input turned into the framework's events: keys in the
// framework's numbering with their editing characters, typed characters,
// mouse buttons and motion, the close request as a key, joystick polling, and
// the gamepad mappings newer than GLFW's own.
#include <cstdlib>
#include <string>

#include "framework/game_event.h"
#include "framework/key_codes.h"
#include "host/glfw2.h"
#include "host/input_translation.h"
#include "host/vx_game.h"

namespace {

// ---- Tunables ------------------------------------------------------------------------
constexpr int JOYSTICK_BUTTONS = 32;  // read at most
// Read in turn, so that the player's own setting has the last word.
constexpr const char* MAPPING_FILES[] = {"vorlix://data/gamecontrollerdb.txt", "./gamecontrollerdb.txt"};
constexpr const char* MAPPING_VARIABLE = "SDL_GAMECONTROLLERCONFIG";

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
  GLFWgamepad pad;
  if (GamepadState(port, &pad)) {
    MapGamepad(pad, joyx, joyy, joyz, buttons);
    return true;
  }

  int axisCount = 0, buttonCount = 0;
  float axes[JOYSTICK_AXES] = {};
  unsigned char states[JOYSTICK_BUTTONS] = {};
  if (!JoystickState(port, &axisCount, axes, &buttonCount, states)) return false;
  MapJoystickAxes(axisCount, axes, joyx, joyy, joyz);
  for (int i = 0; i < buttonCount && i < JOYSTICK_BUTTONS; ++i) buttons[i] = states[i] == GLFW_PRESS;
  return true;
}

bool VxGlfwGame::GamepadState(int port, GLFWgamepad* state) { return glfwGetGamepad(port, state) != 0; }

bool VxGlfwGame::JoystickState(int port, int* axisCount, float* axes, int* buttonCount, unsigned char* buttons) {
  if (!glfwGetJoystickParam(port, GLFW_PRESENT)) return false;
  *axisCount = glfwGetJoystickParam(port, GLFW_AXES);
  *buttonCount = glfwGetJoystickParam(port, GLFW_BUTTONS);
  glfwGetJoystickPos(port, axes, JOYSTICK_AXES);
  glfwGetJoystickButtons(port, buttons, JOYSTICK_BUTTONS);
  return true;
}

void VxGlfwGame::UpdateGamepadMappings() {
  for (const char* path : MAPPING_FILES) {
    int length = 0;
    unsigned char* text = LoadData(String(path), &length);
    if (!text) continue;
    glfwUpdateGamepadMappings(std::string(reinterpret_cast<char*>(text), length).c_str());
    free(text);
  }
  if (const char* mappings = getenv(MAPPING_VARIABLE)) glfwUpdateGamepadMappings(mappings);
}
