// The input module: the game's input queries over the one input device.
#pragma once

struct c_InputDevice;

extern c_InputDevice* vx_input_device;  // made by the game delegate at start

int vx_input_SetInputDevice(c_InputDevice* device);
bool vx_input_EnableKeyboard();
bool vx_input_DisableKeyboard();
bool vx_input_KeyDown(int key);
int vx_input_KeyHit(int key);
int vx_input_GetChar();
float vx_input_MouseX();
float vx_input_MouseY();
bool vx_input_MouseDown(int button);
int vx_input_MouseHit(int button);
float vx_input_TouchX(int index);
float vx_input_TouchY(int index);
bool vx_input_TouchDown(int index);
float vx_input_JoyX(int index, int unit);
float vx_input_JoyY(int index, int unit);
bool vx_input_JoyDown(int button, int unit);
int vx_input_JoyHit(int button, int unit);
float vx_input_AccelX();
float vx_input_AccelY();
