// The title screen: the title art, a carousel of the three game modes and the
// options cog, the best and most recent scores of the selected mode, and the
// play and credits buttons. Keys, touches, drags and flings move the
// carousel; confirming starts a game or opens a box; back quits.
#include <cmath>

#include "framework/input.h"
#include "game/core/globals.h"
#include "game/core/my_app.h"

namespace {

// ---- Tunables ---------------------------------------------------------------------------
constexpr int ITEMS = 4;  // three game modes and the options cog
constexpr int COG = 4;
constexpr float ITEM_SPACING = 88;            // virtual units between two items
constexpr float ITEM_REST_ABOVE_BOTTOM = 96;  // where the selected item rests
// A portrait carousel pulled this share of the screen past its first or last item is pushed back.
constexpr float VERTICAL_OVERSHOOT = 0.15f;
constexpr float PANEL_WIDTH = 140;  // the score panel at the right edge
constexpr float SELECTED_SIZE = 1.75f;
constexpr float FADE_DISTANCE = 480;  // items fade with distance from the reference point, to half
constexpr float MIN_ITEM_ALPHA = 0.5f;
constexpr float FOLLOW = 0.125f;  // the drawn carousel follows its target by this share per tick
constexpr float FLING_DECAY = 0.2f;
constexpr float FLING_STOP = 3;
constexpr float DRAG_GAIN = 1.5f;
constexpr float DRAG_THRESHOLD = 2;
constexpr float EDGE_PUSH = 8;  // a carousel pulled past its ends is pushed back this far per tick
constexpr float SETTLED = 32;
constexpr int MAX_SCORE_ROWS = 10;
constexpr int SCORES_PER_MODE = 10;
constexpr int RECENT_OFFSET = 30;
constexpr int POINTER_DRAGGING = 2;  // pointerLatch while the carousel is dragged

// Every action that activates the selected item.
constexpr int kSelectActions[] = {10, 11, 12, 13, 16, 17};
constexpr int CREDITS_ACTION = 15;

}  // namespace

int c_MyApp::p_Menu() {
  float w = vx_Kalvexa_jscrw, h = vx_Kalvexa_jscrh;
  p_CLS2D(0, 0, 80, 1);
  if (menuY < 0) ++menuY;

  // One of the pictures 1 .. 6 is touched each tick, invisibly.
  menuAnim = (menuAnim + 1) % 6;
  p_Alpha(0);
  p_DrawImg(menuAnim + 1, 100, 100, 0);
  p_Alpha(1);

  bool latched = keyLatch != 0 || pointerLatch != 0;
  if (!latched) {
    bool back = p_PlayKeyAll(ACTION_BACK, 0) != 0;
    if (vx_Kalvexa_isOuya == 0 && back) p_Quit();
    if (vx_Kalvexa_isOuya == 1 && (back || vx_input_KeyDown(27))) {
      screenMode = SCREEN_QUIT_QUESTION;
      keyLatch = pointerLatch = 1;
    }
  }

  float slide = static_cast<float>(menuY);
  p_SetSize(2);
  p_DrawImg(IMG_MENU, w / 2, h / 2 + slide * 16, 0);
  p_DrawImg(IMG_LOGO, w * 0.4f, 128 + slide * 12, 0);
  p_ResetDraw();

  float panelX = w - PANEL_WIDTH - slide * 4;
  p_SetCol(0, 0, 0, 0.4f);
  p_Rect(panelX, 0, PANEL_WIDTH, h);
  p_ResetDraw();

  bool boxOpen = creditsOpen || optionsOpen || badgesOpen;
  if (!boxOpen && menuChoice < COG) {
    float lineHeight = static_cast<float>(imageInfo[fontSlot * 3 + 1]);
    float fit = std::floor((h - 90 - h / 2) / (lineHeight * 1.5f));
    int rows = fit < 1 ? 1 : fit > MAX_SCORE_ROWS ? MAX_SCORE_ROWS : static_cast<int>(fit);
    int base = (gameMode - 1) * SCORES_PER_MODE;
    auto table = [&](const char* title, const char* single, int first, float y, float r, float g, float b) {
      String text = rows == 1 ? String(single) : String(title) + String(rows);
      for (int row = 0; row < rows; ++row) text = text + String("\\n") + p_rstr(scores[first + row], 11, String(" "));
      p_SetSize(1.5f);
      p_SetCol(r, g, b);
      p_Text(panelX + 20, y, text);
    };
    table("Top ", "Highscore", base, 60, 255, 200, 100);
    table("Last ", "Last", base + RECENT_OFFSET, h / 2 + 20, 200, 255, 100);
    p_ResetDraw();
  }

  if (menuChoice < 1 || menuChoice > COG) menuChoice = 1;
  if (menuChoice < COG) gameMode = menuChoice;
  if (menuChoice == COG) cogAngle += 0.5f;

  menuOffset += menuFling;
  menuShown -= (menuShown - menuOffset) * FOLLOW;
  menuFling *= FLING_DECAY;
  if (std::fabs(menuFling) < FLING_STOP) menuFling = 0;

  // The carousel runs down a portrait screen and across a landscape one. The
  // selected item comes to rest at the reference point in both, so the
  // nearest item is the selected one once the carousel has settled.
  bool vertical = landscape == 0;
  float centreX = (w - PANEL_WIDTH) / 2;
  float refX = centreX, refY = h - ITEM_REST_ABOVE_BOTTOM;
  auto itemX = [&](int i) { return vertical ? centreX : centreX + menuShown + ITEM_SPACING * (i - 1); };
  auto itemY = [&](int i) { return vertical ? refY + menuShown + ITEM_SPACING * (i - 1) : refY; };
  bool pastFirst = vertical ? itemY(1) > refY + h * VERTICAL_OVERSHOOT : itemX(1) > (w - PANEL_WIDTH) * 0.75f;
  bool pastLast = vertical ? itemY(COG) < refY - h * VERTICAL_OVERSHOOT : itemX(COG) < w * 0.25f;
  if (pastFirst) {
    menuChoice = 1;
    menuOffset -= EDGE_PUSH;
  }
  if (pastLast) {
    menuChoice = COG;
    menuOffset += EDGE_PUSH;
  }

  int activate = 0;
  auto select = [&](int item) {
    menuChoice = item;
    menuOffset = (1 - item) * ITEM_SPACING;
    menuFling = 0;
    menuSettling = item;
    p_PlaySFX(SFX_MOVE, 1.0f);
  };

  if (!boxOpen) {
    int nearest = 0;
    float nearestDistance = 0;
    for (int i = 1; i <= ITEMS; ++i) {
      float x = itemX(i), y = itemY(i);
      float distance = std::hypot(x - refX, y - refY);
      if (nearest == 0 || distance < nearestDistance) {
        nearest = i;
        nearestDistance = distance;
      }
      bool selected = i == menuChoice;
      float alpha = selected ? 1 : std::fmin(std::fmax(1 - distance / FADE_DISTANCE, MIN_ITEM_ALPHA), 1);
      float size = selected ? SELECTED_SIZE : 1;
      p_ResetDraw();
      p_Alpha(alpha);
      bool touched;
      if (i < COG) {
        p_SetSize(size);
        touched = p_Button(IMG_BUTTONS, x, y, i - 1);
      } else {
        touched = DrawCog(x, y, size);
      }
      if (touched) {
        if (!selected) {
          select(i);
          keyLatch = pointerLatch = 1;
        } else if (keyLatch == 0 && pointerLatch == 0) {
          activate = i;
        }
      }
    }
    p_ResetDraw();

    if (menuChoice < COG) {
      p_SetSize(3, 2.5f);
      p_SetCol(100, 255, 100, 0.3f);
      // The play button answers its own hit, held pointer or key or not.
      if (p_Button(IMG_ICONS, w - 70, h - 48 - slide * 4, 3)) activate = menuChoice;
      p_ResetDraw();
    }

    if (nearest != menuChoice && menuSettling == 0) {
      menuChoice = nearest;
      p_PlaySFX(SFX_MOVE, 1.0f);
    }
    if (std::fabs(menuShown - menuOffset) < SETTLED) menuSettling = 0;

    if (keyLatch == 0) {
      if ((p_PlayKeyAll(ACTION_UP, 1) || p_PlayKeyAll(ACTION_LEFT, 1)) && menuChoice >= 2) {
        select(menuChoice - 1);
        keyLatch = 1;
      } else if ((p_PlayKeyAll(ACTION_DOWN, 1) || p_PlayKeyAll(ACTION_RIGHT, 1)) && menuChoice < COG) {
        select(menuChoice + 1);
        keyLatch = 1;
      }
      for (int action : kSelectActions) {
        if (keyLatch == 0 && p_PlayKeyAll(action, 0)) activate = menuChoice;
      }
    }

    if (activate) {
      if (activate < COG) {
        gameMode = activate;
        screenMode = SCREEN_START_GAME;
      } else {
        optionsOpen = 1;
        optionsLine = 0;
      }
      keyLatch = pointerLatch = 1;
      p_PlaySFX(SFX_CONFIRM, 1.0f);
    }

    p_SetSize(0.35f);
    bool creditsTouched = p_Button(IMG_STUDIO_LOGO, w - 70, 32 + slide * 4, 0) != 0;
    p_ResetDraw();
    if (keyLatch == 0 && pointerLatch == 0 && (creditsTouched || p_PlayKeyAll(CREDITS_ACTION, 0))) {
      creditsOpen = 1;
      keyLatch = pointerLatch = 1;
      p_PlaySFX(SFX_MOVE, 1.0f);
    }
    p_BadgesButton();

    if (pointerDown > 0 && pointerLatch != 1) {
      int moved = vertical ? mouseY - lastMouseY : mouseX - lastMouseX;
      float drag = static_cast<float>(moved) * DRAG_GAIN;
      if (drag < -DRAG_THRESHOLD || drag > DRAG_THRESHOLD) {
        menuFling += drag;
        pointerLatch = POINTER_DRAGGING;
      }
    }
  }
  return 0;
}
