// The game's frame around its screens: start-up values, the per-tick work
// before and after the screen handler (function keys, input snapshot,
// latches, overlays, loader, virtual buttons, pop-ups), the screen state
// machine, suspend and resume, and the full-screen switch.
#include "framework/async_event.h"
#include "framework/input.h"
#include "framework/key_codes.h"
#include "framework/vxmath.h"
#include "game/core/globals.h"
#include "game/core/my_app.h"
#include "host/vx_game.h"
#include "runtime/fatal.h"

namespace {

// ---- Tunables ---------------------------------------------------------------------------
constexpr int KEY_F1 = 112, KEY_F2 = 113, KEY_F4 = 115, KEY_F11 = 122;
constexpr int SLIDE_TICKS = 30;  // overlay boxes slide in and out over this many ticks
constexpr int WINDOWED_WIDTH = 640, WINDOWED_HEIGHT = 480;
constexpr int MENU_START_Y = -32;
constexpr int PAUSE_PANEL_HIDDEN = -64;
constexpr int SEQUENCER_TOP_CHANNEL = 31;

// Every action any screen asks for; while one is pressed the key latch stays set.
constexpr int kLatchActions[] = {0, 3, 5, 8, 10, 11, 12, 13, 14, 15, 16, 17, ACTION_BACK};

// iCade: a letter pressed holds a virtual button (2), its partner letter releases it.
struct ICadeLetter {
  char press, release;
  int button;
};
constexpr ICadeLetter kICadeLetters[] = {
    {'W', 'E', 0},  {'X', 'Z', 8},  {'A', 'Q', 3},  {'D', 'C', 5},  {'Y', 'T', 13}, {'U', 'F', 14},
    {'I', 'M', 15}, {'O', 'G', 16}, {'H', 'R', 10}, {'J', 'N', 11}, {'K', 'P', 12}, {'L', 'V', 17},
};
constexpr int ICADE_HELD = 2;

int Upper(int c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

int Toward(int value, int target) { return value < target ? value + 1 : value > target ? value - 1 : value; }

}  // namespace

int c_MyApp::p_OnCreate() {
  fullscreen = 0;
  screenMode = SCREEN_TITLE;
  vx_app_SetUpdateRate(UPDATE_RATE);
  startWidth = vx_graphics_DeviceWidth();
  startHeight = vx_graphics_DeviceHeight();
  p_Reload();
  gameMode = 2;
  menuY = MENU_START_Y;
  paused = 0;
  pauseMenuOpen = -1;
  pauseMenuY = PAUSE_PANEL_HIDDEN;
  for (int i = 0; i < BADGE_SLOTS; ++i) badgeState[i] = badgeShown[i] = 0;
  for (int i = 0; i < BADGES / 2; ++i) badges[i] = false;
  ReleaseVirtualButtons();
  for (int i = 0; i < OPTIONS; ++i) options[i] = 0;
  options[OPTION_SOUND] = 1;
  for (int i = 0; i <= 30; ++i) scores[i] = 0;
  p_Load();
  for (int i = 0; i < AUDIO_CHANNELS; ++i) soundMap[i] = i;
  // Music on channels 30 down to 26: channel 31 belongs to the shot's sound.
  if (vx_Kalvexa_HasMusic == 1) music->p_Ombi_Init(SEQUENCER_TOP_CHANNEL, 4, 3, 3, 4);
  return 0;
}

int c_MyApp::p_OnUpdate() {
  padButtons[BACK_REQUEST] = vx_input_KeyHit(KEY_BACK);

  if (vx_input_KeyHit(KEY_F1)) vx_Kalvexa_DebugMode = 1 - vx_Kalvexa_DebugMode;
  if (vx_input_KeyHit(KEY_F2)) hideHud = 1 - hideHud;
  if (vx_input_KeyHit(KEY_F11)) p_FullscreenFlip();
  if (vx_input_KeyHit(KEY_F4) || vx_input_KeyHit(KEY_CLOSE)) p_Quit();

  vx_asyncevent_UpdateAsyncEvents();

  if (vx_Kalvexa_HasMusicStream == 1 && musicStreaming == 1) {
    if (paused == 1) {
      vx_audio_PauseMusic();
    } else {
      vx_audio_ResumeMusic();
    }
  }
  if (vx_Kalvexa_HasMusic == 1) music->p_Ombi_Alive_U(paused == 1 ? 1 : 0, MusicOn() ? 1 : 0);

  int now = vx_app_Millisecs();
  int elapsed = vx_app_MillisecsBetween(lastMillis, now);
  if (elapsed > 0) fps = 1000 / elapsed;
  fpsSmooth = (fpsSmooth * 9 + fps) / 10;
  lastMillis = now;

  // Pointer and touches in virtual units. The vertical margin is the
  // horizontal one scaled to the window's shape.
  int width = vx_graphics_DeviceWidth(), height = vx_graphics_DeviceHeight();
  float overscan = vx_Kalvexa_overscan;
  float marginY = overscan != 0 && width >= 1 ? overscan * static_cast<float>(height) / static_cast<float>(width) : 0;
  lastMouseX = mouseX;
  lastMouseY = mouseY;
  mouseX = vx_math_Int((vx_input_MouseX() - overscan) / scaleX);
  mouseY = vx_math_Int((vx_input_MouseY() - marginY) / scaleY);
  bool leftDown = vx_input_MouseDown(0);
  if (!lastMouseDown && leftDown) {
    lastMouseX = mouseX;
    lastMouseY = mouseY;
  }
  pointerDown = leftDown;
  mouseHit = vx_input_MouseHit(0);
  for (int n = 0; n < TOUCH_SLOTS; ++n) {
    touchDown[n] = 0;
    touchX[n] = touchY[n] = static_cast<int>(VX_NONE);
    if (vx_input_TouchDown(n)) {
      touchDown[n] = 1;
      touchX[n] = vx_math_Int((vx_input_TouchX(n) - overscan) / scaleX);
      touchY[n] = vx_math_Int((vx_input_TouchY(n) - marginY) / scaleY);
      pointerDown = 1;
    }
  }
  lastMouseDown = leftDown;
  if (!pointerDown) pointerLatch = 0;

  bool anyAction = false;
  for (int action : kLatchActions) anyAction = anyAction || p_PlayKeyAll(action, 1) != 0;
  if (!anyAction) {
    keyLatch = 0;
  } else if (!keyLatch && !pointerLatch && screenMode == SCREEN_TITLE && p_PlayKeyAll(ACTION_BACK, 0) &&
             (creditsOpen || optionsOpen || badgesOpen)) {
    // The options box closes itself, and saves.
    creditsOpen = badgesOpen = 0;
    keyLatch = pointerLatch = 1;
  }
  if (optionsOpen == 1) keyLatch = pointerLatch = 1;

  if (loadStep == 0) {
    switch (screenMode) {
      case SCREEN_TITLE:
        p_Menu();
        break;
      case SCREEN_BACK_TO_TITLE:
        p_LoadMenu();
        p_PlaySFX(SFX_STUDIO, 1.0f);
        screenMode = SCREEN_TITLE;
        break;
      case SCREEN_QUIT_QUESTION:
        p_OuyaQuit();
        break;
      case SCREEN_CLICK_TO_START:
        p_WaitStart(0);
        break;
      case SCREEN_PLAY:
        p_Game();
        p_InGame();
        break;
      case SCREEN_START_GAME:
        p_LoadGame();
        break;
      default:
        break;
    }
    // The game-over overlay runs over play, and again over the title while it fades.
    if (screenMode == SCREEN_PLAY && gameOverTimer > 0) p_GameOver();
    if (screenMode == SCREEN_TITLE || screenMode == SCREEN_BACK_TO_TITLE) p_GameOver();

    if (screenMode == SCREEN_TITLE && (creditsOpen == 1 || creditsSlide > 0)) p_CreditBox();
    creditsSlide = Toward(creditsSlide, creditsOpen == 1 ? SLIDE_TICKS : 0);
    if (screenMode == SCREEN_TITLE && badgesOpen == 1) p_BadgesBox();
    if (optionsOpen == 1 || optionsSlide > 0) {
      p_OptionBox();
      optionsSlide = Toward(optionsSlide, optionsOpen == 1 ? SLIDE_TICKS : 0);
    }
  }

  if (loadStep > 0) p_Loader();

  if (vx_Kalvexa_iCadeControls == 1) {
    for (int c = vx_input_GetChar(); c != 0; c = vx_input_GetChar()) {
      for (const ICadeLetter& letter : kICadeLetters) {
        if (Upper(c) == letter.press) padButtons[letter.button] = ICADE_HELD;
        if (Upper(c) == letter.release) padButtons[letter.button] = 0;
      }
    }
  } else {
    for (int i = 0; i < VIRTUAL_BUTTONS; ++i) {
      if (padButtons[i] == 1) padButtons[i] = 0;
    }
  }

  if (vx_Kalvexa_DebugMode == 1 && screenMode != SCREEN_CLICK_TO_START) {
    p_Text(16, vx_Kalvexa_jscrh - 16,
           String(renderFpsSmooth) + String(":") + String(scaleX) + String(",") + String(scaleY));
  }

  p_ShowBadges();
  return 0;
}

// A game never runs on while the window is away: it comes back into the
// pause menu, its panel already centred.
void c_MyApp::PauseForAbsence() {
  if (screenMode > 9) {
    paused = 1;
    pauseMenuOpen = 1;
    pauseMenuY = static_cast<int>(vx_Kalvexa_jscrh * 0.5f);
  } else {
    paused = pauseMenuOpen = pauseMenuY = 0;
  }
}

void c_MyApp::ReleaseVirtualButtons() {
  for (int i = 0; i < VIRTUAL_BUTTONS; ++i) padButtons[i] = 0;
}

int c_MyApp::p_OnSuspend() {
  vx_input_DisableKeyboard();
  vx_Kalvexa_iCadeControls = 0;
  ReleaseVirtualButtons();
  PauseForAbsence();
  vx_app_SetUpdateRate(SUSPENDED_UPDATE_RATE);
  p_Save();
  return 0;
}

int c_MyApp::p_OnResume() {
  PauseForAbsence();
  vx_app_SetUpdateRate(UPDATE_RATE);
  vx_input_DisableKeyboard();
  vx_Kalvexa_iCadeControls = 0;
  ReleaseVirtualButtons();
  return 0;
}

void c_MyApp::p_Quit() {
  p_Save();
  vx_app_EndApp();
}

int c_MyApp::p_OnClose() { p_Quit(); }
int c_MyApp::p_OnBack() { p_Quit(); }

int c_MyApp::p_FullscreenFlip() {
  VxGlfwGame* host = VxGlfwGame::_glfwGame;
  VxGlfwVideoMode* desktop = host->GetGlfwDesktopMode();
  fullscreen = 1 - fullscreen;
  if (fullscreen == 1) {
    host->SetGlfwWindow(desktop->width, desktop->height, desktop->red, desktop->green, desktop->blue, 0, 0, 0, true);
  } else {
    host->SetGlfwWindow(WINDOWED_WIDTH, WINDOWED_HEIGHT, desktop->red, desktop->green, desktop->blue, 0, 0, 0, false);
  }
  return 0;
}

int c_MyApp::p_InGame() {
  p_ResetDraw();
  menuY = MENU_START_Y;
  if (p_PlayKeyAll(ACTION_BACK, 0) && paused == 0 && keyLatch == 0) {
    keyLatch = 1;
    paused = 1;
    pauseMenuOpen = 1;
    pauseChoice = 0;
    p_PlaySFX(SFX_CONFIRM, 1.0f, 0.5f, 0);
  }
  if (hideHud != 1 && p_Button(IMG_ICONS, 16, 16, 0) && paused == 0) {
    paused = 1;
    pauseMenuOpen = 1;
    pointerLatch = 1;
    pauseChoice = 0;
    p_PlaySFX(SFX_CONFIRM, 0.5f);
  }
  if (paused == 1) p_PauseMenu();
  return 0;
}
