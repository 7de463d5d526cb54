// The game delegate: what the host calls, turned into the app's handlers. It
// creates the graphics, audio and input devices when the game starts, frames
// every update tick with the input device and every render with the graphics
// device, and routes input events into the input device.
#pragma once
#include "host/vx_game.h"

class gxtkGraphics;
struct gxtkAudio;
struct c_InputDevice;

struct c_GameDelegate : VxGameDelegate {
  gxtkGraphics* m_graphics = nullptr;
  gxtkAudio* m_audio = nullptr;
  c_InputDevice* m_input = nullptr;

  // How StartGame makes the audio device: a test swaps in one that records
  // what the game asks of it.
  static gxtkAudio* (*m_newAudio)();

  c_GameDelegate* m_new() { return this; }

  void StartGame() override;
  void SuspendGame() override;
  void ResumeGame() override;
  void UpdateGame() override;
  void RenderGame() override;
  void KeyEvent(int event, int data) override;
  void MouseEvent(int event, int data, float x, float y) override;
  void TouchEvent(int event, int data, float x, float y) override;
  void MotionEvent(int event, int data, float x, float y, float z) override;
  void DiscardGraphics() override;
  void mark() override;
};
