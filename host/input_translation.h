// The tables between window-system input and the framework's: GLFW 2 key
// codes to framework key codes, those to the editing characters a key press
// also types, and a joypad's axes and buttons to its two sticks and the
// framework's buttons.
#pragma once
#include "runtime/array.h"

struct GLFWgamepad;

// The framework code of a GLFW key, or 0 for a key the program ignores.
int TransKey(int glfwKey);
// The character a key press sends along with it, or 0.
int KeyToChar(int key);

constexpr int JOYSTICK_AXES = 6;  // axes read per joypad, at most
// Places axes a0 .. a5 of a pad with `axisCount` axes on stick 0 and stick 1.
void MapJoystickAxes(int axisCount, const float* axes, Array<float> joyx, Array<float> joyy, Array<float> joyz);
// Places a pad in GLFW's gamepad layout on the sticks and buttons the raw
// path gives a six-axis pad of that layout: y down positive, triggers on z.
void MapGamepad(const GLFWgamepad& pad, Array<float> joyx, Array<float> joyy, Array<float> joyz, Array<bool> buttons);
