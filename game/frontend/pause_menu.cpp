// The pause menu over a running game: a shade, and a panel that slides down
// to the middle of the screen with three buttons (quit into the game-over
// sequence, resume, options). Resuming slides the panel back up, and the game
// runs again once it is out of sight.
#include <cmath>

#include "game/core/globals.h"
#include "game/core/my_app.h"

namespace {

// ---- Tunables ---------------------------------------------------------------------------
constexpr int SLIDE_STEP = 24;       // the panel moves this far per tick
constexpr int GONE = -63;            // above this the panel is out of sight
constexpr int RUNNING = -32;         // the game runs again once the closing panel is above this
constexpr int HIDDEN = -64;          // where a quit leaves the panel
constexpr float SHADE_DEPTH = 0.8f;  // the shade is opaque at this share of the screen height
constexpr float BUTTON_SIZE = 2, RING_SIZE = 2.5f;
constexpr int FRAME_QUIT = 1, FRAME_RESUME = 3, FRAME_RING = 6;
constexpr float COG_TURN = 0.2f;
constexpr float LOW_RATE = 0.8f, HIGH_RATE = 1.2f;  // the confirm sound, pitched, for a move

enum Choice { CHOOSE_QUIT = -1, CHOOSE_RESUME = 0, CHOOSE_OPTIONS = 1 };

// The panel's pieces, by layout: offsets from the centre, sizes.
struct Layout {
  float topBar[4], panel[4], bottomBar[4];
  float sideX, sideY;  // the quit and options buttons, left and right of the centre
};
constexpr Layout kPortrait = {{-96, -92, 192, 8}, {-128, -80, 256, 160}, {-96, 84, 192, 8}, 96, -96};
constexpr Layout kLandscape = {{-128, -64, 256, 8}, {-140, -52, 280, 104}, {-128, 56, 256, 8}, 140, -64};

// 0 .. 1; NaN counts as 0.
float Clamp01(float v) { return v > 0 ? (v < 1 ? v : 1) : 0; }

}  // namespace

int c_MyApp::p_PauseMenu() {
  float w = vx_Kalvexa_jscrw, h = vx_Kalvexa_jscrh;
  float c = w / 2;
  p_ResetDraw();

  float depth = h * SHADE_DEPTH;
  p_SetCol(0, 0, 0, Clamp01(std::fabs(static_cast<float>(pauseMenuY)) / (depth < 1 ? 1 : depth)));
  p_Rect(0, 0, w, h);

  if (pauseMenuOpen == 1) {
    int middle = static_cast<int>(h / 2);
    pauseMenuY = pauseMenuY + SLIDE_STEP < middle ? pauseMenuY + SLIDE_STEP : middle;
  } else if (pauseMenuOpen == -1) {
    if (pauseMenuY < GONE) {
      paused = 0;
    } else {
      pauseMenuY -= SLIDE_STEP;
      if (pauseMenuY < RUNNING) paused = 0;
    }
  }
  float y = static_cast<float>(pauseMenuY);

  const Layout& layout = landscape == 1 ? kLandscape : kPortrait;
  auto bar = [&](const float(&r)[4]) { p_Rect(c + r[0], y + r[1], r[2], r[3]); };
  p_SetCol(255, 255, 10, 0.6f);
  bar(layout.topBar);
  p_SetCol(255, 150, 10, 0.7f);
  bar(layout.panel);
  p_SetCol(10, 150, 255, 0.6f);
  bar(layout.bottomBar);
  p_ResetDraw();

  if (vx_Kalvexa_isOuya == 1) OverscanControl(c, y - 150, &keyLatch, &pointerLatch);

  auto ring = [&](float x, float ringY) {
    p_SetSize(RING_SIZE);
    p_SetCol(255, 255, 100);
    p_DrawImg(IMG_ICONS, x, ringY, FRAME_RING);
    p_ResetDraw();
  };
  auto choose = [&](int choice, float rate) {
    pauseChoice = choice;
    keyLatch = 1;
    p_PlaySFXAtRate(SFX_CONFIRM, rate);
  };
  auto resume = [&]() {
    pauseMenuOpen = -1;
    p_PlaySFX(SFX_CONFIRM, 0.5f);
  };

  // Resume, in the middle.
  if (pauseChoice == CHOOSE_RESUME) ring(c, y);
  p_SetSize(BUTTON_SIZE);
  p_SetCol(50, 50, 250);
  bool resumeTouched = p_Button(IMG_ICONS, c, y, FRAME_RESUME) != 0;
  p_ResetDraw();
  if (resumeTouched && pointerLatch == 0) {
    pointerLatch = 1;
    resume();
  } else if (pauseChoice == CHOOSE_RESUME && keyLatch == 0) {
    if (p_PlayKeyAll(ACTION_FIRE, 0)) {
      keyLatch = 1;
      resume();
    } else if (p_PlayKeyAll(ACTION_LEFT, 1) || p_PlayKeyAll(ACTION_UP, 1)) {
      choose(CHOOSE_QUIT, LOW_RATE);
    } else if (p_PlayKeyAll(ACTION_RIGHT, 1)) {
      choose(CHOOSE_OPTIONS, HIGH_RATE);
    }
  }

  // Quit, to the left: the game-over sequence takes over.
  float quitX = c - layout.sideX, sideY = y + layout.sideY;
  if (pauseChoice == CHOOSE_QUIT) ring(quitX, sideY);
  p_SetSize(BUTTON_SIZE);
  p_SetCol(255, 50, 50);
  bool quitTouched = p_Button(IMG_ICONS, quitX, sideY, FRAME_QUIT) != 0;
  p_ResetDraw();
  auto quit = [&]() {
    paused = 0;
    pauseMenuOpen = -1;
    pauseMenuY = HIDDEN;
    gameOverTimer = 1;
  };
  if (quitTouched && pointerLatch == 0) {
    quit();
    pointerLatch = 1;
    p_PlaySFX(SFX_CONFIRM, 0.5f, 0.5f, 0);
  } else if (pauseChoice == CHOOSE_QUIT && keyLatch == 0) {
    if (p_PlayKeyAll(ACTION_FIRE, 0)) {
      quit();
      keyLatch = 1;
      p_PlaySFX(SFX_CONFIRM, 0.5f);
    } else if (p_PlayKeyAll(ACTION_RIGHT, 1) || p_PlayKeyAll(ACTION_DOWN, 1)) {
      choose(CHOOSE_RESUME, LOW_RATE);
    }
  }

  // Options, to the right.
  float cogX = c + layout.sideX;
  if (optionsOpen == 0) cogAngle += COG_TURN;
  if (pauseChoice == CHOOSE_OPTIONS) ring(cogX, sideY);
  bool cogTouched = DrawCog(cogX, sideY, 1);
  p_ResetDraw();
  if (cogTouched && pointerLatch == 0) {
    optionsOpen = 1;
    pointerLatch = 1;
    p_PlaySFX(SFX_MOVE, 1.0f);
  } else if (pauseChoice == CHOOSE_OPTIONS && keyLatch == 0) {
    if (p_PlayKeyAll(ACTION_FIRE, 0)) {
      optionsOpen = 1;
      keyLatch = 1;
      p_PlaySFX(SFX_CONFIRM, 0.5f);
    } else if (p_PlayKeyAll(ACTION_LEFT, 1) || p_PlayKeyAll(ACTION_DOWN, 1)) {
      choose(CHOOSE_RESUME, LOW_RATE);
    }
  }

  if (keyLatch == 0 && p_PlayKeyAll(ACTION_BACK, 0)) {
    keyLatch = 1;
    resume();
  }
  return 0;
}
