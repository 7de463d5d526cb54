#include "framework/game_delegate.h"

#include "audio/audio.h"
#include "audio/audio_device.h"
#include "framework/app.h"
#include "framework/game_event.h"
#include "framework/input.h"
#include "framework/input_device.h"
#include "graphics/graphics.h"
#include "graphics/graphics_device.h"

namespace {

constexpr int DEFAULT_FONT_FIRST_CHAR = 32;
constexpr int RENDER_NOTHING = 0;  // BeginRender: the frame cannot be drawn
constexpr int RENDER_LOADING = 2;  // BeginRender: draw the loading picture instead

gxtkAudio* NewAudioDevice() { return new gxtkAudio(); }

}  // namespace

gxtkAudio* (*c_GameDelegate::m_newAudio)() = NewAudioDevice;

void c_GameDelegate::StartGame() {
  gc_assign(m_graphics, new gxtkGraphics());
  vx_graphics_SetGraphicsDevice(m_graphics);
  vx_graphics_SetFont(nullptr, DEFAULT_FONT_FIRST_CHAR);
  gc_assign(m_audio, m_newAudio());
  vx_audio_SetAudioDevice(m_audio);
  gc_assign(m_input, (new c_InputDevice())->m_new());
  vx_input_SetInputDevice(m_input);
  vx_app__app->p_OnCreate();
}

void c_GameDelegate::SuspendGame() {
  vx_app__app->p_OnSuspend();
  m_audio->Suspend();
}

// The reverse order of suspending.
void c_GameDelegate::ResumeGame() {
  m_audio->Resume();
  vx_app__app->p_OnResume();
}

void c_GameDelegate::UpdateGame() {
  m_input->p_BeginUpdate();
  vx_app__app->p_OnUpdate();
  m_input->p_EndUpdate();
}

void c_GameDelegate::RenderGame() {
  int mode = m_graphics->BeginRender();
  if (mode != RENDER_NOTHING) vx_graphics_BeginRender();
  if (mode == RENDER_LOADING) {
    vx_app__app->p_OnLoading();
  } else {
    vx_app__app->p_OnRender();
  }
  if (mode != RENDER_NOTHING) vx_graphics_EndRender();
  m_graphics->EndRender();
}

// Back and close end the program on every key-down, even one for a key that
// is already down.
void c_GameDelegate::KeyEvent(int event, int data) {
  m_input->p_KeyEvent(event, data);
  if (event != c_VxGameEvent::KeyDown) return;
  if (data == KEY_BACK) vx_app__app->p_OnBack();
  if (data == KEY_CLOSE) vx_app__app->p_OnClose();
}

void c_GameDelegate::MouseEvent(int event, int data, float x, float y) { m_input->p_MouseEvent(event, data, x, y); }

void c_GameDelegate::TouchEvent(int event, int data, float x, float y) { m_input->p_TouchEvent(event, data, x, y); }

void c_GameDelegate::MotionEvent(int event, int data, float x, float y, float z) {
  m_input->p_MotionEvent(event, data, x, y, z);
}

void c_GameDelegate::DiscardGraphics() { m_graphics->DiscardGraphics(); }

void c_GameDelegate::mark() {
  gc_queue(m_graphics);
  gc_queue(m_audio);
  gc_queue(m_input);
}
