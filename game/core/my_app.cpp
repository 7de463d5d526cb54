#include "game/core/my_app.h"

#include "graphics/graphics.h"

namespace {

constexpr int UPDATE_RATE = 60;  // ticks per second
constexpr float BACKGROUND_RED = 12, BACKGROUND_GREEN = 14, BACKGROUND_BLUE = 28;

}  // namespace

c_MyApp* c_MyApp::m_new() {
  c_App::m_new();
  return this;
}

int c_MyApp::p_OnCreate() {
  vx_app_SetUpdateRate(UPDATE_RATE);
  return 0;
}

int c_MyApp::p_OnRender() {
  vx_graphics_Cls(BACKGROUND_RED, BACKGROUND_GREEN, BACKGROUND_BLUE);
  return 0;
}
