#include "framework/input.h"

#include "framework/input_device.h"

c_InputDevice* vx_input_device = nullptr;

namespace {

int JoyKey(int button, int unit) { return button | KEY_JOY0 | (unit << 5); }

}  // namespace

int vx_input_SetInputDevice(c_InputDevice* device) {
  gc_assign(vx_input_device, device);
  return 0;
}

bool vx_input_EnableKeyboard() { return vx_input_device->p_SetKeyboardEnabled(true); }
bool vx_input_DisableKeyboard() { return vx_input_device->p_SetKeyboardEnabled(false); }
bool vx_input_KeyDown(int key) { return vx_input_device->p_KeyDown(key); }
int vx_input_KeyHit(int key) { return vx_input_device->p_KeyHit(key); }
int vx_input_GetChar() { return vx_input_device->p_GetChar(); }
float vx_input_MouseX() { return vx_input_device->p_MouseX(); }
float vx_input_MouseY() { return vx_input_device->p_MouseY(); }
bool vx_input_MouseDown(int button) { return vx_input_device->p_KeyDown(KEY_LMB + button); }
int vx_input_MouseHit(int button) { return vx_input_device->p_KeyHit(KEY_LMB + button); }
float vx_input_TouchX(int index) { return vx_input_device->p_TouchX(index); }
float vx_input_TouchY(int index) { return vx_input_device->p_TouchY(index); }
bool vx_input_TouchDown(int index) { return vx_input_device->p_KeyDown(KEY_TOUCH0 + index); }
float vx_input_JoyX(int index, int unit) { return vx_input_device->p_JoyX(index, unit); }
float vx_input_JoyY(int index, int unit) { return vx_input_device->p_JoyY(index, unit); }
bool vx_input_JoyDown(int button, int unit) { return vx_input_device->p_KeyDown(JoyKey(button, unit)); }
int vx_input_JoyHit(int button, int unit) { return vx_input_device->p_KeyHit(JoyKey(button, unit)); }
float vx_input_AccelX() { return vx_input_device->p_AccelX(); }
float vx_input_AccelY() { return vx_input_device->p_AccelY(); }
