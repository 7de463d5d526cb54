// Two screens of the title: the credits box, a frame of square tiles that
// flies together round a slowly scrolling list of credit lines, and the quit
// question with which a console build asks before it ends the program.
#include <cmath>

#include "framework/vxmath.h"
#include "game/core/globals.h"
#include "game/core/my_app.h"

namespace {

// ---- Tunables ---------------------------------------------------------------------------
constexpr float SLIDE_TICKS = 30;
constexpr float GRID_CELLS = 12;                    // cells along the longer side of the screen
constexpr float SHRINK_BELOW = 20;                  // tiles grow to full size over the first ticks of the slide
constexpr float SCROLL = 0.3f, SCROLL_HELD = 1.5f;  // line scroll per tick, and extra while up or down is held
constexpr float LINE_HEIGHT = 16;
constexpr int LINES_ABOVE = 3, LINES_BELOW = 4;
constexpr float FADE = 40, FADE_FULL = 0.3f;  // lines fade with distance from the centre line
constexpr float FLY_IN = 24;                  // the picture and lines rise this far per tick left
constexpr float DISC_FLY_X = 6, DISC_FLY_Y = 3;
constexpr float NUMBER_GAP = 16;
constexpr int kCloseActions[] = {15, 10, 11};

// The quit question: its texts from the top, each this far below the one before, at this size.
struct QuitLine {
  const char* text;
  float below, size;
};
constexpr QuitLine kQuitLines[] = {
    {"It looks like you're", 0, 3},     {"trying to QUIT!", 32, 3},
    {"Are you absolutely sure", 36, 2}, {"you want to quit the game?", 20, 2},
    {"Isn't this fun?", 28, 2},         {"It'll be a shame to see you go.", 38, 2},
    {"Press (A) to Quit", 38, 2},       {"or (O) to return to the fun!", 20, 2},
};
// The title shows through behind the question: its background is not painted.
constexpr float QUIT_BACKGROUND_ALPHA = 0;
constexpr int kQuitActions[] = {11, 12, ACTION_BACK};  // the console's A and U, and back

// 0 .. 255, rounded; NaN counts as 0.
float Channel(float v) {
  float r = std::round(v);
  return r > 0 ? (r < 255 ? r : 255) : 0;
}

// A tile's distance from the middle of its row or column, in tiles, with no 0:
// the tiles fly in along parabolas from both sides.
float FromMiddle(int i, int count) {
  int u = i - count / 2;
  return static_cast<float>(u < 1 ? u - 1 : u);
}

}  // namespace

int c_MyApp::p_CreditBox() {
  float w = vx_Kalvexa_jscrw, h = vx_Kalvexa_jscrh;
  float slide = static_cast<float>(creditsSlide), t = SLIDE_TICKS - slide, alpha = slide / SLIDE_TICKS;
  p_ResetDraw();

  // Square cells that fit the longer side twelve times; the grid is centred.
  float cell = w > h ? w / GRID_CELLS : h / GRID_CELLS;
  int cols = vx_math_Int(static_cast<double>(w) / cell + 1e-4);
  int rows = vx_math_Int(static_cast<double>(h) / cell + 1e-4);
  float x0 = w / 2 - static_cast<float>(cols) * cell / 2, y0 = h / 2 - static_cast<float>(rows) * cell / 2;
  float s = slide < SHRINK_BELOW ? cell * slide / SHRINK_BELOW : cell;
  // A grid of two rows or columns has no inner tile to spread the edge colours over.
  float colSpread = static_cast<float>(cols - 2 > 1 ? cols - 2 : 1);
  float rowSpread = static_cast<float>(rows - 2 > 1 ? rows - 2 : 1);

  for (int i = 0; i <= cols; ++i) {
    for (int j = 0; j <= rows; ++j) {
      float u = FromMiddle(i, cols), v = FromMiddle(j, rows);
      float x = t * u * std::fabs(u) + static_cast<float>(i) * cell + x0 - s / 2;
      float y = t * v * std::fabs(v) + static_cast<float>(j) * cell + y0 - s / 2;
      bool left = i == 0, right = i == cols, top = j == 0, bottom = j == rows;
      bool edge = left || right || top || bottom;
      float shade = edge ? 0 : 255;
      p_SetCol(shade, shade, shade, alpha);
      p_Rect(x, y, s + 1, s + 1);
      if (!edge) {
        p_SetCol(128, 128, 128);
        bool bar = j == rows - 1 && i >= 4 && i < cols - 2;
        if (bar) {
          p_Rect(x - 6, y + 2, i == cols - 3 ? s + 4 : s + 24, s - 4);
        } else {
          p_Rect(x + 2, y + 2, s - 4, s - 4);
        }
        continue;
      }
      if ((left || right) && (top || bottom)) continue;
      float a = 512 / colSpread * static_cast<float>(i - 1), b = 512 / rowSpread * static_cast<float>(j - 1);
      if (top) {
        p_SetCol(Channel(a), Channel(512 - a), 0);
      } else if (bottom) {
        float grey = Channel(255 / colSpread * static_cast<float>(i - 1));
        p_SetCol(grey, grey, grey);
      } else if (left) {
        p_SetCol(0, Channel(512 - b), Channel(b));
      } else {
        p_SetCol(Channel(512 - b), 0, Channel(b));
      }
      if (top || bottom) {
        p_Rect(x + 8, y, s - 16, s);
      } else {
        p_Rect(x, y + 8, s, s - 16);
      }
    }
  }
  p_ResetDraw();
  p_Alpha(alpha);
  p_DrawImg(IMG_TESTCARD, w / 2, h / 2 - t * FLY_IN, 0);

  creditsScroll -= SCROLL;
  if (p_PlayKeyAll(ACTION_UP, 1) || p_PlayKeyAll(ACTION_DOWN, 1)) creditsScroll -= SCROLL_HELD;
  if (creditsScroll < -LINE_HEIGHT) {
    creditsScroll += LINE_HEIGHT;
    ++creditsTop;
  }
  int count = vx_Kalvexa_CreditText.Length();
  for (int k = -LINES_ABOVE; k <= LINES_BELOW && count > 0; ++k) {
    int line = (creditsTop + k) % count;
    if (line < 0) line += count;
    float along = LINE_HEIGHT * static_cast<float>(k) + creditsScroll;
    float fade = std::fabs(along / FADE) - FADE_FULL;
    float x = w / 2 + 24, y = along + h / 2 - t * FLY_IN;
    p_Alpha(1 - (fade < 0 ? 0 : fade > 1 ? 1 : fade));
    // A shadow keeps the lines readable over the light parts of the picture.
    p_SetCol(0, 0, 0);
    p_Text(x + 1, y + 1, vx_Kalvexa_CreditText[line], 0.8f, 0.8f);
    p_SetCol(255, 255, 255);
    p_Text(x, y, vx_Kalvexa_CreditText[line], 0.8f, 0.8f);
  }

  p_Alpha(alpha);
  p_SetSize(0.4f);
  p_DrawImg(IMG_LOGO, w / 2, t * 4 + static_cast<float>(rows - 1) * cell + y0, 0);

  // Four discs in the inner corners, with the live figures on the upper two.
  float nearX = x0 + 1.5f * cell - DISC_FLY_X * t,
        farX = x0 + (static_cast<float>(cols) - 1.5f) * cell + DISC_FLY_X * t;
  float upperY = y0 + 1.5f * cell - DISC_FLY_Y * t,
        lowerY = y0 + (static_cast<float>(rows) - 1.5f) * cell + DISC_FLY_Y * t;
  for (float dx : {nearX, farX}) {
    for (float dy : {upperY, lowerY}) {
      p_ResetDraw();
      p_Alpha(alpha);
      p_Oval(dx, dy, s / 2, s / 2);
      p_SetCol(128, 128, 128);
      p_Oval(dx, dy, (s - 3) / 2, (s - 3) / 2);
    }
  }
  p_ResetDraw();
  p_Alpha(alpha);
  auto figures = [&](float x, String first, String second, int third) {
    p_Text(x, upperY - NUMBER_GAP, first, 0.8f, 0.8f);
    p_Text(x, upperY, second, 0.8f, 0.8f);
    p_Text(x, upperY + NUMBER_GAP, String(third), 0.8f, 0.8f);
  };
  figures(nearX, String(vx_graphics_DeviceWidth()), String(vx_graphics_DeviceHeight()), fpsSmooth);
  // The virtual screen's size is a float and reads as one ("640.0").
  figures(farX, String(w), String(h), renderFpsSmooth);
  p_DrawImg(IMG_BUTTONS, nearX, lowerY, 12);
  p_SetSize(0.3f);
  p_DrawImg(IMG_STUDIO_LOGO, farX, lowerY, 0);
  p_ResetDraw();

  if (creditsOpen != 1) return 0;
  bool touched = pointerDown > 0 && pointerLatch == 0;
  bool pressed = false;
  for (int action : kCloseActions) pressed = pressed || (keyLatch == 0 && p_PlayKeyAll(action, 0));
  if (touched) pointerLatch = 1;
  if (pressed) keyLatch = 1;
  if (touched || pressed) {
    creditsOpen = 0;
    p_PlaySFX(SFX_MOVE, 1.0f);
  }
  return 0;
}

int c_MyApp::p_OuyaQuit() {
  float w = vx_Kalvexa_jscrw, h = vx_Kalvexa_jscrh;
  p_CLS2D(180, 180, 180, QUIT_BACKGROUND_ALPHA);
  p_SetSize(3);
  p_DrawImg(IMG_TESTCARD, w / 2, h / 2, 0);
  float y = h * 0.3f;
  for (const QuitLine& line : kQuitLines) {
    y += line.below;
    p_SetSize(line.size);
    p_Text(w * 0.65f, y, String(line.text), 1, 1);
  }
  p_ResetDraw();

  if (keyLatch != 0 || pointerLatch != 0) return 0;
  // Both answers are heard in the same tick: O and A together quit.
  if (p_PlayKeyAll(ACTION_FIRE, 0)) {
    screenMode = SCREEN_TITLE;
    keyLatch = pointerLatch = 1;
  }
  for (int action : kQuitActions) {
    if (p_PlayKeyAll(action, 0)) p_Quit();
  }
  return 0;
}
