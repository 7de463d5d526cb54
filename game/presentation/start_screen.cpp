// The loading screen: two tails of dots turning round a yellow disc on an
// orange band, with the studio logo between them, drawn on every loading
// tick. Without the loading flag it is the click-to-start screen.
#include "framework/vxmath.h"
#include "game/core/globals.h"
#include "game/core/my_app.h"

namespace {

constexpr int SPIN_STEP = 16;  // degrees per tick, and between two dots of a tail
constexpr int TAIL_DOTS = 11;
constexpr float DOT_RADIUS = 8;
constexpr float LIGHT_TAIL_START = 196;  // degrees ahead of the spinner angle
constexpr float DARK_TAIL_START = 16;

}  // namespace

int c_MyApp::p_WaitStart(int loading) {
  p_CLS2D(40, 40, 80, 1);
  float w = vx_Kalvexa_jscrw, h = vx_Kalvexa_jscrh;
  float radius = static_cast<float>(static_cast<int>(w < h ? w : h)) * 0.25f;
  float cx = w * 0.5f, cy = h * 0.5f;
  float spin = static_cast<float>(waitSpin);
  waitSpin += SPIN_STEP;

  auto tail = [&](float start) {
    for (int i = 0; i < TAIL_DOTS; ++i) {
      p_Alpha(static_cast<float>(i) / (TAIL_DOTS - 1));
      float a = spin + start + static_cast<float>(SPIN_STEP * i);
      p_Oval(cx + static_cast<float>(vx_math_Sin(a)) * radius, cy - static_cast<float>(vx_math_Cos(a)) * radius,
             DOT_RADIUS, DOT_RADIUS);
    }
  };

  p_SetCol(250, 250, 250);
  tail(LIGHT_TAIL_START);
  p_SetCol(255, 255, 0, 0.8f);
  float disc = static_cast<float>(static_cast<int>(w < h ? w : h)) * 0.3f;
  p_Oval(cx, cy, disc, disc);
  p_SetCol(250, 160, 60, 0.7f);
  p_Rect(0, 0.4f * h, w, 0.2f * h);
  p_ResetDraw();
  p_DrawImg(IMG_STUDIO_LOGO, cx, 0.48f * h, 0);
  p_SetCol(50, 50, 50);
  tail(DARK_TAIL_START);

  if (!loading) {
    p_ResetDraw();
    p_SetSize(2);
    p_Text(cx, h * 0.8f, String("Click to Start"), 1, 1);
    if (mouseHit > 0 && mouseX > w * 0.25f && mouseX < w * 0.75f && mouseY > h * 0.25f && mouseY < h * 0.75f) {
      pointerLatch = 1;
      screenMode = SCREEN_TITLE;
      p_Reload();
      vx_app_SetUpdateRate(UPDATE_RATE);
    }
  }
  return 0;
}
