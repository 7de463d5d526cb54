// The event ids the host passes to the game delegate as `event`, with the
// meaning of `data` for each.
#pragma once

struct c_VxGameEvent {
  static constexpr int KeyDown = 1;      // data: key code
  static constexpr int KeyUp = 2;        // data: key code
  static constexpr int KeyChar = 3;      // data: character
  static constexpr int MouseDown = 4;    // data: button (0 left, 1 right, 2 middle)
  static constexpr int MouseUp = 5;      // data: button
  static constexpr int MouseMove = 6;    // data unused
  static constexpr int TouchDown = 7;    // data: finger
  static constexpr int TouchUp = 8;      // data: finger
  static constexpr int TouchMove = 9;    // data: finger
  static constexpr int MotionAccel = 10; // data unused; x, y, z: acceleration
};
