// The one space of framework key codes: keyboard keys (mostly the Windows
// virtual-key numbers), mouse buttons, joypad buttons, touches, back and close.
#pragma once

constexpr int KEY_CODES = 512;   // codes 0 .. 511
constexpr int KEY_LMB = 1;       // mouse button b is KEY_LMB + b
constexpr int KEY_JOY0 = 256;    // button b of joypad j is KEY_JOY0 + 32 j + b
constexpr int KEY_TOUCH0 = 384;  // touch n is KEY_TOUCH0 + n
constexpr int KEY_BACK = 416;
constexpr int KEY_CLOSE = 432;   // the window's close request

constexpr int JOY_BUTTONS = 32;  // buttons per joypad
constexpr int JOYSTICKS = 4;
constexpr int MOUSE_BUTTONS = 3;  // left, right, middle
constexpr int TOUCHES = 32;       // touch positions kept
constexpr int TOUCH_FINGERS = 10; // fingers followed; events of others are refused
