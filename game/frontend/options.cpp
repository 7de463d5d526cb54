// The options box: a panel that slides up over the title or the pause menu
// with the player's settings (sound mode, iCade mode, full screen, credits,
// and on a console the overscan), each a line to select and activate. It has
// latches of its own so that the press that opened it does not also act in
// it, and it saves the settings when it closes.
#include "game/core/globals.h"
#include "game/core/my_app.h"

namespace {

// ---- Tunables ---------------------------------------------------------------------------
constexpr int SLIDE_TICKS = 30;
constexpr float SLIDE_STEP = 24;  // panel and lines move this far per tick of the slide
constexpr float COG_Y = 60;
constexpr float COG_SIZE = 1.5f, COG_SELECTED_SIZE = 2;
constexpr float COG_TURN = 0.2f;
constexpr float LINE_X = 100, LINE_FIRST_Y = 130, LINE_SPACING = 40;
constexpr float CREDITS_GAP = 10;          // the credits line stands this much further down
constexpr float CREDITS_FROM_RIGHT = 264;  // its text, from the right edge
constexpr float CREDITS_BOX_WIDTH = 180;
constexpr float BAR_X = 84, BAR_HEIGHT = 24;
constexpr float TEXT_SIZE = 2;

// Overscan, console only: window pixels, moved 16 at a time by the shoulders.
constexpr int OVERSCAN_MIN = 1, OVERSCAN_MAX = 96, OVERSCAN_STEP = 16;
constexpr float OVERSCAN_OFF_ABOVE = 1, OVERSCAN_FULL_BELOW = 32;
constexpr float OVERSCAN_UNITS = 2.67f;  // slider units per overscan pixel
constexpr int ACTION_L1 = 14, ACTION_R1 = 15;

// Actions that activate the selected line, and those that close the box from the cog.
constexpr int kActivateActions[] = {10, 11, 12, 13, 14, 15};
constexpr int kCloseActions[] = {15, 10, 11};
// While any of these is pressed the box's key latch stays set.
constexpr int kLatchActions[] = {0, 3, 5, 8, 10, 11, 12, 13, 14, 15, 16, 17, ACTION_BACK};

// The texts of the sound modes 0 .. 3, and of 0 .. 1 when there is no music to switch.
constexpr const char* kSoundTexts[] = {"Sound : Off", "Sound : SFX + Music", "Sound : SFX", "Sound : Music"};
constexpr const char* kSoundTextsWithoutMusic[] = {"Sound : Off", "Sound : On"};

// The cog's three rings: frames of image 95 and how fast each turns.
constexpr int kCogFrames[] = {8, 9, 10};
constexpr float kCogTurns[] = {0.66f, 0.33f, 1.0f};

enum Line { SOUND, ICADE, SCREEN, CREDITS };

bool HasMusicSource() { return vx_Kalvexa_HasMusic == 1 || vx_Kalvexa_HasMusicStream == 1; }

template <size_t N>
bool AnyPressed(c_MyApp* app, const int (&actions)[N], int analogue) {
  for (int action : actions) {
    if (app->p_PlayKeyAll(action, analogue)) return true;
  }
  return false;
}

}  // namespace

bool c_MyApp::DrawCog(float x, float y, float size) {
  p_SetSize(size);
  for (int ring = 0; ring < 3; ++ring) {
    p_SetRot(-cogAngle * kCogTurns[ring]);
    p_DrawImg(IMG_BUTTONS, x, y, static_cast<float>(kCogFrames[ring]));
  }
  p_SetRot(0);
  float halfW, halfH;
  SlotHalfSize(IMG_BUTTONS, &halfW, &halfH);
  p_SetSize(1);
  return pointerDown > 0 && TouchInside(x - halfW, y - halfH, x + halfW, y + halfH);
}

void c_MyApp::OverscanControl(float x, float y, int* keyLatchOf, int* pointerLatchOf) {
  int& value = options[OPTION_OVERSCAN];
  p_SetSize(TEXT_SIZE);
  p_Text(x, y, String("L1 <      Overscan      > R1"), 1, 1);
  p_ResetDraw();
  p_SetCol(0, 128, 255, 0.5f);
  p_Rect(x - 128, y - 5, 256, 9);
  p_SetCol(255, 255, 0, 0.75f);
  p_Rect(static_cast<float>(value) * OVERSCAN_UNITS + x - 132, y - 8, 8, 16);
  p_ResetDraw();

  // A touch switches a wide margin off and a narrow one to the widest.
  if (*pointerLatchOf == 0 && pointerDown > 0 && p_MouseIn_Centered(x, y - 8, 256, 16)) {
    *pointerLatchOf = 1;
    p_PlaySFX(SFX_CONFIRM, 1.0f);
    if (vx_Kalvexa_overscan > OVERSCAN_OFF_ABOVE) value = OVERSCAN_MIN;
    if (vx_Kalvexa_overscan < OVERSCAN_FULL_BELOW) value = OVERSCAN_MAX;
  }
  if (*keyLatchOf == 0 && p_PlayKeyAll(ACTION_L1, 0)) {
    *keyLatchOf = 1;
    value -= OVERSCAN_STEP;
  }
  if (*keyLatchOf == 0 && p_PlayKeyAll(ACTION_R1, 0)) {
    *keyLatchOf = 1;
    value += OVERSCAN_STEP;
  }
  if (value < OVERSCAN_MIN) value = OVERSCAN_MIN;
  if (value > OVERSCAN_MAX) value = OVERSCAN_MAX;
  vx_Kalvexa_overscan = static_cast<float>(value);
}

int c_MyApp::p_OptionBox() {
  float w = vx_Kalvexa_jscrw, h = vx_Kalvexa_jscrh;
  bool console = vx_Kalvexa_isOuya == 1;
  p_ResetDraw();
  if (console) {
    // The corners of the screen, to judge the margin by.
    for (float right : {0.0f, 1.0f}) {
      for (float bottom : {0.0f, 1.0f}) {
        p_Rect(right * (w - 16), bottom * (h - 8), 16, 8);
        p_Rect(right * (w - 8), bottom * (h - 16), 8, 16);
      }
    }
  }

  // The screen underneath takes no input; neither does the box while it slides.
  keyLatch = pointerLatch = 1;
  if (optionsSlide != SLIDE_TICKS) optionsKeyLatch = optionsPointerLatch = 1;

  float slide = static_cast<float>(optionsSlide);
  float rise = (SLIDE_TICKS - slide) * SLIDE_STEP;
  float arriving = (slide * 3 - 90) * 4;  // -360 as the box starts to slide in, 0 once it is in
  p_SetCol(150, 75, 0, 0.85f);
  p_Rect(50, rise, w - 100, h);
  p_ResetDraw();

  auto close = [&]() {
    optionsOpen = 0;
    optionsKeyLatch = optionsPointerLatch = 1;
    p_PlaySFX(SFX_MOVE, 1.0f);
    p_Save();
  };

  float cogX = arriving + 100;
  cogAngle += COG_TURN;
  bool cogTouched = DrawCog(cogX, COG_Y, optionsLine == 0 ? COG_SELECTED_SIZE : COG_SIZE);
  p_SetSize(TEXT_SIZE);
  p_Text(cogX + 76, COG_Y, String("<[BACK]"), 0, 1);
  p_ResetDraw();
  if (optionsKeyLatch == 0 && optionsPointerLatch == 0 && (cogTouched || p_PlayKeyAll(ACTION_BACK, 0))) close();

  if (console) OverscanControl(w * 0.6f, arriving + 92, &optionsKeyLatch, &optionsPointerLatch);

  int& sound = options[OPTION_SOUND];
  bool music = HasMusicSource();
  if (sound < 0 || sound > 3 || (!music && sound > 1)) sound = 0;

  Line lines[4];
  int count = 0;
  lines[count++] = SOUND;
  if (!console) lines[count++] = ICADE;
  lines[count++] = SCREEN;
  if (paused == 0) lines[count++] = CREDITS;
  if (optionsLine < 0 || optionsLine > count) optionsLine = 0;

  bool activateKey = AnyPressed(this, kActivateActions, 0);
  float y = rise + LINE_FIRST_Y;
  for (int n = 1; n <= count; ++n) {
    Line line = lines[n - 1];
    if (line == CREDITS) y += CREDITS_GAP;
    bool selected = optionsLine == n;
    if (selected) {
      p_SetCol(0, 180, 255, 0.5f);
    } else {
      p_SetCol(0, 0, 160, 0.5f);
    }
    float textX = line == CREDITS ? w - CREDITS_FROM_RIGHT : LINE_X;
    bool touched = line == CREDITS ? p_Touch(textX - 16, y - 2, CREDITS_BOX_WIDTH, BAR_HEIGHT)
                                   : p_Touch(BAR_X, y - 2, w - 2 * BAR_X, BAR_HEIGHT);
    p_ResetDraw();

    const char* text = "Credits";
    if (line == SOUND) text = music ? kSoundTexts[sound] : kSoundTextsWithoutMusic[sound];
    if (line == ICADE) text = vx_Kalvexa_iCadeControls == 1 ? "iCade : On" : "iCade : Off";
    if (line == SCREEN) text = fullscreen == 1 ? "Windowed" : "Fullscreen";
    p_SetSize(TEXT_SIZE);
    p_Text(textX, y, String(text));
    p_ResetDraw();
    y += LINE_SPACING;

    if (touched) optionsLine = n;
    // Once per press and per touch: a held key must not switch a line on every tick.
    if (!(touched || (selected && activateKey)) || optionsKeyLatch != 0 || optionsPointerLatch != 0) continue;
    if (line == CREDITS) {
      creditsOpen = 1;
      optionsOpen = 0;
      optionsKeyLatch = optionsPointerLatch = 0;
      // Handing over to the credits closes the box as surely as its back cog does.
      p_Save();
      continue;
    }
    if (line == SOUND) {
      if (music) {
        sound = (sound + 1) % 4;
        // Music stops at once; turning it back on waits for the next game or level.
        if (sound == 0 || sound == 2) p_StopTune();
      } else {
        sound = 1 - sound;
      }
    } else if (line == ICADE) {
      vx_Kalvexa_iCadeControls = 1 - vx_Kalvexa_iCadeControls;
      p_iCade(vx_Kalvexa_iCadeControls);
      for (int i = 0; i < PAD_BUTTONS; ++i) padButtons[i] = 0;
    } else {
      p_FullscreenFlip();
    }
    optionsKeyLatch = optionsPointerLatch = 1;
    p_PlaySFX(SFX_MOVE, 1.0f);
  }

  if (optionsKeyLatch == 0) {
    int step = 0;
    if ((p_PlayKeyAll(ACTION_UP, 1) || p_PlayKeyAll(ACTION_LEFT, 1)) && optionsLine > 0) {
      step = -1;
    } else if ((p_PlayKeyAll(ACTION_DOWN, 1) || p_PlayKeyAll(ACTION_RIGHT, 1)) && optionsLine < count) {
      step = 1;
    }
    if (optionsLine == 0 && AnyPressed(this, kCloseActions, 0)) {
      close();
    } else if (step != 0) {
      optionsLine += step;
      optionsKeyLatch = 1;
      p_PlaySFX(SFX_MOVE, 1.0f);
    }
  }

  if (pointerDown == 0) optionsPointerLatch = 0;
  if (!AnyPressed(this, kLatchActions, 1)) optionsKeyLatch = 0;
  return 0;
}
