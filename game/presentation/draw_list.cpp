// The deferred draw list: screens record their picture during the update
// tick as fixed-size records, and the render call replays the list scaled to
// the window. Recording allocates nothing; records beyond the list's capacity
// are dropped, so the earliest parts of a picture always survive.
#include <cmath>

#include "game/core/globals.h"
#include "game/core/my_app.h"

namespace {

// Record slots.
constexpr int REC_KIND = 0, REC_X = 1, REC_Y = 2, REC_ROTATION = 3, REC_SIZE_X = 4, REC_SIZE_Y = 5, REC_FRAME = 6;
constexpr int REC_ALPHA = 7, REC_RED = 10, REC_GREEN = 11, REC_BLUE = 12, REC_BLEND = 13;

constexpr int BLEND_ADDITIVE = 3;  // a record's blend value that draws additively

// Colour factors (red, green, blue) of p_Ink by colour number; any other number is grey.
constexpr float kInks[][3] = {
    {0.3f, 0.3f, 0.3f},  // 0 and any number outside the table
    {1.0f, 0.1f, 0.1f}, {1.0f, 0.5f, 0.1f}, {1.0f, 1.0f, 0.1f}, {0.1f, 1.0f, 0.1f}, {0.1f, 1.0f, 1.0f},
    {0.1f, 0.1f, 1.0f}, {0.5f, 0.1f, 1.0f}, {1.0f, 0.1f, 0.5f}, {1.0f, 1.0f, 1.0f},
};
constexpr int INKS = sizeof kInks / sizeof kInks[0];

float Clamp255(float c) { return c < 0 ? 0 : c > 255 ? 255 : c; }

}  // namespace

int c_MyApp::p_CLS2D(float r, float g, float b, float a) {
  viewX = 0;
  viewY = 0;
  viewWidth = vx_Kalvexa_jscrw;
  viewHeight = vx_Kalvexa_jscrh;
  if (r > VX_NONE) {
    clearRed = r;
    clearGreen = g;
    clearBlue = b;
    clearAlpha = a;
  }
  p_ResetDraw();
  drawCount = 0;
  return 0;
}

int c_MyApp::p_ResetDraw() {
  drawSizeX = 1;
  drawSizeY = 1;
  drawRotation = 0;
  drawRed = 255;
  drawGreen = 255;
  drawBlue = 255;
  drawAlpha = 1;
  drawBlend = 1;
  return 0;
}

int c_MyApp::p_SetCol(float r, float g, float b, float a) {
  drawRed = r;
  drawGreen = g;
  drawBlue = b;
  if (a > VX_NONE) drawAlpha = a;
  return 0;
}

int c_MyApp::p_Alpha(float a) {
  drawAlpha = a;
  return 0;
}

int c_MyApp::p_SetSize(float sx, float sy) {
  drawSizeX = sx;
  drawSizeY = sy > VX_NONE ? sy : sx;
  return 0;
}

int c_MyApp::p_SetRot(float angle) {
  drawRotation = -angle;
  return 0;
}

int c_MyApp::p_Blend(int value) {
  drawBlend = value;
  return 0;
}

int c_MyApp::p_Ink(int colour, int brightness) {
  const float* ink = kInks[colour >= 1 && colour < INKS ? colour : 0];
  float scale = static_cast<float>(brightness) * 255;
  drawRed = Clamp255(ink[0] * scale);
  drawGreen = Clamp255(ink[1] * scale);
  drawBlue = Clamp255(ink[2] * scale);
  return 0;
}

bool c_MyApp::AppendRecord(float kind, float x, float y, float sx, float sy, float frame) {
  if (drawCount > DRAW_LIST_LAST_START) return false;
  float* record = &drawList[drawCount];
  record[REC_KIND] = kind;
  record[REC_X] = x;
  record[REC_Y] = y;
  record[REC_ROTATION] = drawRotation;
  record[REC_SIZE_X] = sx;
  record[REC_SIZE_Y] = sy;
  record[REC_FRAME] = frame;
  record[REC_ALPHA] = drawAlpha;
  record[REC_RED] = drawRed;
  record[REC_GREEN] = drawGreen;
  record[REC_BLUE] = drawBlue;
  record[REC_BLEND] = static_cast<float>(drawBlend);
  drawCount += DRAW_RECORD_FLOATS;
  return true;
}

int c_MyApp::p_DrawImg(int slot, float x, float y, float frame) {
  AppendRecord(static_cast<float>(slot), x, y, drawSizeX, drawSizeY, frame);
  return 0;
}

int c_MyApp::p_Rect(float x, float y, float w, float h) {
  AppendRecord(VX_NONE, x, y, w, h, 0);
  return 0;
}

int c_MyApp::p_Oval(float cx, float cy, float rx, float ry) {
  AppendRecord(VX_OVAL, cx, cy, rx, ry, 0);
  return 0;
}

int c_MyApp::p_OnRender() {
  if (vx_Kalvexa_HasMusic == 1) music->p_Ombi_Alive_R();

  int now = vx_app_Millisecs();
  int elapsed = vx_app_MillisecsBetween(renderLastMillis, now);
  if (elapsed > 0) renderFps = 1000 / elapsed;
  renderFpsSmooth = (renderFpsSmooth * 9 + renderFps) / 10;
  renderLastMillis = now;

  // The window is never cleared: with a background alpha below 1 the
  // previous frame shows through.
  int width = vx_graphics_DeviceWidth(), height = vx_graphics_DeviceHeight();
  vx_graphics_SetColor(clearRed, clearGreen, clearBlue);
  vx_graphics_SetAlpha(clearAlpha);
  vx_graphics_DrawRect(-1, -1, static_cast<float>(width + 2), static_cast<float>(height + 2));
  vx_graphics_SetColor(255, 255, 255);
  vx_graphics_SetAlpha(1);

  if (width != startWidth || height != startHeight) {
    loadStep = 1;
    startWidth = width;
    startHeight = height;
  }

  // A window system may report an empty client area; the fit treats it as one pixel.
  float w = static_cast<float>(width < 1 ? 1 : width), h = static_cast<float>(height < 1 ? 1 : height);
  float overscan = vx_Kalvexa_overscan;
  float sx = (w - 2 * overscan) / vx_Kalvexa_rawscrw, sy = (h - 2 * overscan) / vx_Kalvexa_rawscrh;
  float fit;
  if (sy > sx) {
    fitMode = 2;
    scaleX = scaleY = sy;
    fit = h / vx_Kalvexa_rawscrh;
  } else {
    fitMode = 1;
    scaleX = scaleY = sx;
    fit = w / vx_Kalvexa_rawscrw;
  }
  vx_Kalvexa_jscrw = w / fit;
  vx_Kalvexa_jscrh = h / fit;
  landscape = vx_Kalvexa_jscrh > vx_Kalvexa_jscrw ? 0 : 1;
  float ox = overscan, oy = overscan * h / w;

  for (int i = 0; i < drawCount - (DRAW_RECORD_FLOATS - 1); i += DRAW_RECORD_FLOATS) {
    const float* record = &drawList[i];
    vx_graphics_SetAlpha(record[REC_ALPHA]);
    vx_graphics_SetColor(record[REC_RED], record[REC_GREEN], record[REC_BLUE]);
    // The device flushes its batch on a blend change, so the mode is set
    // only when it changes.
    int blend = record[REC_BLEND] == BLEND_ADDITIVE ? 1 : 0;
    if (blend != vx_graphics_context->blendMode) vx_graphics_SetBlend(blend);

    float kind = record[REC_KIND], x = record[REC_X], y = record[REC_Y];
    float a = record[REC_SIZE_X], b = record[REC_SIZE_Y];
    if (kind == VX_NONE) {
      vx_graphics_DrawRect(scaleX * x + ox, scaleY * y + oy, a * scaleX, b * scaleY);
    } else if (kind == VX_OVAL) {
      vx_graphics_DrawEllipse(scaleX * x + ox, scaleY * y + oy, a * scaleX, b * scaleY);
    } else if (kind > -1 && kind < IMAGE_SLOTS) {
      c_Image* image = images[static_cast<int>(kind)];
      if (!image) continue;
      vx_graphics_DrawImage2(image, scaleX * x + ox, scaleY * y + oy, record[REC_ROTATION], a * scaleX * assetScale,
                             b * scaleY * assetScale, static_cast<int>(record[REC_FRAME]));
    }
  }
  return 0;
}
