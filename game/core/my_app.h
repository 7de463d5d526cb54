// c_MyApp: the game, the one app object.
//
// All of the game's state lives in this object, most of it in tables that the
// constructor allocates once at their full capacity; play allocates nothing.
// Everything happens inside the update tick: every screen starts a new
// picture with p_CLS2D and records images, rectangles, ovals and text into
// the draw list, and p_OnRender only replays that list, fitted to the window.
//
// The operations are defined by concern:
//   game/presentation/  draw_list.cpp (recording and replay), text.cpp,
//                       assets.cpp (slots, staged loader, sound effects),
//                       start_screen.cpp (loading and click-to-start screens)
//   game/core/          my_app.cpp (tables), flow.cpp (update tick, screens,
//                       suspend), controls.cpp, arena.cpp, player.cpp,
//                       entities.cpp, turning.cpp, scoring.cpp
//   game/frontend/      persistence.cpp, title_menu.cpp, options.cpp,
//                       pause_menu.cpp, badges.cpp, credits.cpp
//   music/              tune_control.cpp (the streamed tune)
#pragma once
#include "audio/audio.h"
#include "framework/app.h"
#include "graphics/graphics.h"
#include "music/ombi_player.h"
#include "runtime/array.h"
#include "runtime/string.h"

// ---- Tunables and fixed layouts ----------------------------------------------
constexpr float VX_NONE = -3717;  // a left-out argument or position; a rectangle record
constexpr float VX_OVAL = -3716;  // an oval record

constexpr int UPDATE_RATE = 60;           // update ticks per second while running
constexpr int SUSPENDED_UPDATE_RATE = 5;  // while the window is away

constexpr int DRAW_RECORD_FLOATS = 15;
constexpr int DRAW_LIST_RECORDS = 2500;
constexpr int DRAW_LIST_FLOATS = DRAW_RECORD_FLOATS * DRAW_LIST_RECORDS;
// A record is refused past this count; the last one ends at float 37 499.
constexpr int DRAW_LIST_LAST_START = DRAW_LIST_FLOATS - DRAW_RECORD_FLOATS;

constexpr int IMAGE_SLOTS = 100;
constexpr int SOUND_SLOTS = 100;
constexpr int AUDIO_CHANNELS = 33;
constexpr int TOUCH_SLOTS = 10;  // touches the game follows
constexpr int PAD_BUTTONS = 20;  // virtual buttons; entry 19 is the tick's back request
constexpr int BACK_REQUEST = 19;
constexpr int VIRTUAL_BUTTONS = 19;  // entries 0 .. 18 are buttons
constexpr int PADS = 4;              // joypads the game asks
constexpr int OPTIONS = 25;
constexpr int BADGES = 256;
constexpr int BADGE_SLOTS = 15;  // pop-up slots; 0 .. 12 are shown
constexpr int SCORES = 150;
constexpr int GAME_VARS = 512;
constexpr int RECORD_FLOATS = 10;  // one actor, particle, star, column or cell record
constexpr int COLUMNS = 200;       // 20 drum records
constexpr int CELLS = 20000;       // 2000 cell records
constexpr int ACTORS = 2100;       // 210 actor records
constexpr int PARTICLES = 5100;
constexpr int STARS = 5100;

// The streamed tune of play.
constexpr const char* GAME_TUNE = "adventurous";

// Screens (screenMode).
constexpr int SCREEN_TITLE = 1;
constexpr int SCREEN_BACK_TO_TITLE = 2;
constexpr int SCREEN_QUIT_QUESTION = 4;
constexpr int SCREEN_CLICK_TO_START = 5;
constexpr int SCREEN_PLAY = 10;
constexpr int SCREEN_START_GAME = 11;

// Options entries.
constexpr int OPTION_SOUND = 5;  // 0 off, 1 effects and music, 2 effects, 3 music
constexpr int OPTION_OVERSCAN = 14;

// Game actions (p_PlayKey).
constexpr int ACTION_UP = 0;
constexpr int ACTION_LEFT = 3;
constexpr int ACTION_RIGHT = 5;
constexpr int ACTION_DOWN = 8;
constexpr int ACTION_FIRE = 10;        // "Run and Fire", menu select
constexpr int ACTION_STAND_FIRE = 11;  // "Stand and Fire"
constexpr int ACTION_BACK = 99;

// Image slots.
constexpr int IMG_TILES = 1, IMG_SHOTS = 2, IMG_BUGS = 3, IMG_LIFE = 4, IMG_ROCKS = 5, IMG_POPS = 6;
constexpr int IMG_BADGES = 80, IMG_FONT = 90, IMG_TESTCARD = 91, IMG_STUDIO_LOGO = 93, IMG_DPAD = 94;
constexpr int IMG_BUTTONS = 95, IMG_PARTS = 96, IMG_ICONS = 97, IMG_LOGO = 98, IMG_MENU = 99;

// Sound slots.
constexpr int SFX_PAINT = 2, SFX_SWITCH_LIT = 3, SFX_SWITCH_HIT = 4, SFX_PLAYER_HIT = 5, SFX_SHOT = 6;
constexpr int SFX_STUDIO = 96, SFX_CONFIRM = 98, SFX_MOVE = 99;
constexpr int SFX_FIRST_HIT = 10, SFX_FIRST_BURST = 15;  // four variations of each follow

// Play events that can earn a badge (p_BadgeEvent), each with the value it reports.
enum BadgeEvent {
  BADGE_NEW_GAME,        // a game starts: the per-game counts begin again
  BADGE_FLOOR_PAINTED,   // a floor tile painted
  BADGE_NEST_DESTROYED,  // a nest destroyed
  BADGE_ROCK_DESTROYED,  // a rock destroyed and freed
  BADGE_BUG_DESTROYED,   // a bug destroyed
  BADGE_SWITCH_HIT,      // the spin switch hit: the painted percentage
  BADGE_LEVEL_REACHED,   // the new level
  BADGE_SCORE,           // the running score, once per play tick
  BADGE_GAME_ENDED,      // a game's score recorded: its game mode
};

class c_MyApp : public c_App {
 public:
  // ---- [Presentation] Draw list and replay -----------------------------------------
  Array<float> drawList;  // DRAW_LIST_FLOATS: records of 15 floats packed from 0
  int drawCount = 0;      // floats in use
  float drawSizeX = 1, drawSizeY = 1;
  float drawRotation = 0;  // the negated angle given to p_SetRot
  float drawRed = 255, drawGreen = 255, drawBlue = 255;
  float drawAlpha = 1;
  int drawBlend = 1;  // 3 additive, anything else normal
  float clearRed = 0, clearGreen = 0, clearBlue = 0, clearAlpha = 1;
  float viewX = 0, viewY = 0, viewWidth = 0, viewHeight = 0;
  float scaleX = 1, scaleY = 1;  // window pixels per virtual unit
  int fitMode = 0;               // 1 width fixed at 640, 2 height fixed at 480
  int landscape = 1;
  int startWidth = 0, startHeight = 0;  // window size at the previous render
  int renderLastMillis = 0, renderFps = 0, renderFpsSmooth = 0;

  // ---- [Presentation] Asset slots and sound effects ------------------------------------
  Array<c_Image*> images;  // IMAGE_SLOTS; none where nothing is loaded
  Array<int> imageInfo;    // per slot: frame width, height (loaded pixels), frames; fonts: advance, line, 128
  Array<c_Sound*> sounds;  // SOUND_SLOTS
  int assetDivisor = 1;    // loaded pixels per virtual unit: 1, 2 or 4
  float assetScale = 1;    // 1 / assetDivisor
  int loadStep = 0;        // next loading step 1 .. 33, 0 when done
  int fontSlot = 0;
  int logoSoundPlayed = 0;
  int sfxCursor = 0;    // last rotating effect channel used
  Array<int> soundMap;  // AUDIO_CHANNELS: channel number per channel index

  // ---- [Core] Screen flow and overlays ---------------------------------------------------
  int fullscreen = 0;
  int screenMode = 0;
  c_OmbiPlayer* music = nullptr;  // the sequencer, used while HasMusic is 1
  int waitSpin = 0;               // loading spinner angle, degrees
  int gameMode = 0;               // 1 .. 3
  int paused = 0;
  int pauseMenuOpen = 0;  // 1 opening, -1 closing
  int pauseMenuY = 0;
  int creditsOpen = 0, optionsOpen = 0, badgesOpen = 0;
  int creditsSlide = 0, optionsSlide = 0;  // 0 .. 30
  int hideHud = 0;
  int musicStreaming = 0;
  int keyLatch = 0, pointerLatch = 0;  // a press already used; cleared on release
  int gameOverTimer = 0;
  int score = 0;
  int lastRank = 0;

  // ---- [Core] Input snapshot, refreshed at the top of every tick (virtual units) ----------
  int mouseX = 0, mouseY = 0, lastMouseX = 0, lastMouseY = 0;
  int lastMouseDown = 0;
  int pointerDown = 0;
  int mouseHit = 0;
  Array<int> touchDown, touchX, touchY;  // TOUCH_SLOTS; an up touch sits at (-3717, -3717)
  Array<int> padButtons;                 // PAD_BUTTONS: 0 released, 1 one-tick press, 2 held

  // ---- [Core] Update timing ------------------------------------------------------------------
  int lastMillis = 0, fps = 0, fpsSmooth = 0;

  // ---- [Core] Controls -----------------------------------------------------------------------
  float moveX = 0, moveY = 0;  // this play tick's movement, -1 .. 1, y down
  int dragX = -1, dragY = 0;   // anchor of the pointer drag stick; dragX -1 when none
  float keyVX = 0, keyVY = 0;  // ramped velocity of the direction actions
  int buttonHit = 0;

  // ---- [Core] Arena and level play --------------------------------------------------------------
  Array<int> cells;       // CELLS: drum c row r is record 100 c + r
  Array<float> columns;   // COLUMNS: one record per drum
  Array<float> gameVars;  // GAME_VARS: the player record and the level flags
  int shownScore = 0;
  int level = 0;
  int lives = 0;
  int shieldTimer = 0, shieldTime = 0;
  int paintPercent = 0;
  int liveNests = 0;      // counted in view this tick
  int floorsInView = 0;   // still floors counted in view this tick
  int paintedInView = 0;  // of which painted
  int bugCount = 0;       // counted in the previous tick
  int firing = 0;
  float camX = 0, camY = 0, camTargetX = 0, camTargetY = 0;
  float bgRed = 0, bgGreen = 0, bgBlue = 0;
  float bgTargetRed = 0, bgTargetGreen = 0, bgTargetBlue = 0;
  float runSpeed = 0, gravity = 0;

  // ---- [Core] Entities ---------------------------------------------------------------------------
  Array<float> actors;     // ACTORS: shots, rocks, pops, bugs
  Array<float> particles;  // PARTICLES: debris and floating numbers
  Array<float> stars;      // STARS: the background star field
  int starCount = 0;
  int particleLimit = 0;

  // ---- [Core] Game over and scoring -----------------------------------------------------------------
  Array<int> scores;  // SCORES: per mode m the top ten at 10 (m-1), the last ten 30 further
  int gameOverStep = 0;
  int nthRank = 0;

  // ---- [Front-end] Persistent settings and badges ---------------------------------------------------
  Array<int> options;  // OPTIONS
  Array<bool> badges;  // BADGES

  // ---- [Front-end] Title menu ----------------------------------------------------------------------------
  int menuY = 0;       // slide-in position, -32 .. 0
  int menuChoice = 0;  // 1 .. 3 game modes, 4 the options cog
  float menuOffset = 0, menuShown = 0, menuFling = 0;
  int menuSettling = 0;
  float cogAngle = 0;
  int menuAnim = 0;

  // ---- [Front-end] Options and pause ------------------------------------------------------------------
  int optionsLine = 0;
  int optionsKeyLatch = 0, optionsPointerLatch = 0;
  int pauseChoice = 0;  // -1 quit, 0 resume, 1 options

  // ---- [Front-end] Badges --------------------------------------------------------------------------------
  Array<int> badgeState;  // BADGE_SLOTS: badge shown in each pop-up slot
  Array<int> badgeShown;  // BADGE_SLOTS: pop-up timer, 0 idle
  float badgeScrollTarget = 0, badgeScroll = 0;
  int badgeBugs = 0;  // bugs destroyed in this game

  // ---- [Front-end] Credits --------------------------------------------------------------------------------
  float creditsScroll = 0;
  int creditsTop = 0;

  // Allocates every table at its capacity, zero-filled.
  c_MyApp();
  c_MyApp* m_new();
  void mark() override;

  // ---- The app's handlers ------------------------------------------------------------------------------------
  int p_OnCreate() override;
  int p_OnUpdate() override;
  int p_OnRender() override;
  int p_OnSuspend() override;
  int p_OnResume() override;
  int p_OnClose() override;
  int p_OnBack() override;

  // ---- Draw list -----------------------------------------------------------------------------------------------
  int p_CLS2D(float r, float g, float b, float a);
  int p_ResetDraw();
  int p_SetCol(float r, float g, float b, float a = VX_NONE);
  int p_Alpha(float a);
  int p_SetSize(float sx, float sy = VX_NONE);
  int p_SetRot(float angle);
  int p_Blend(int value);
  int p_Ink(int colour, int brightness);
  int p_DrawImg(int slot, float x, float y, float frame);
  int p_Rect(float x, float y, float w, float h);
  int p_Oval(float cx, float cy, float rx, float ry);

  // ---- Text ------------------------------------------------------------------------------------------------------
  int p_Text(float x, float y, String text, float alignX = 0, float alignY = 0);
  String p_rstr(int value, int width, String pad);

  // ---- Assets and sound effects ----------------------------------------------------------------------------------
  int p_Reload();
  int p_Loader();
  int p_LoadImg(int slot, String name, int frameWidth, int frameHeight, int frameCount, int flags);
  int p_LoadFont(int slot, String name, int advance, int lineHeight);
  int p_LoadSFX(int slot);
  int p_PlaySFX(int slot, float rate, float volume, float pan);
  // At the given volume, rate 1 and centred.
  int p_PlaySFX(int slot, float volume);
  // At the given rate, volume 0.5 and centred.
  int p_PlaySFXAtRate(int slot, float rate);

  // ---- Screen flow -------------------------------------------------------------------------------------------------
  int p_FullscreenFlip();
  int p_InGame();
  // The orderly end of the program, with the settings, badges and scores saved first.
  [[noreturn]] void p_Quit();
  int p_WaitStart(int loading);

  // ---- Controls
  // ------------------------------------------------------------------------------------------------------
  int p_PlayKey(int action, int analogue, int pad);
  int p_PlayKeyAll(int action, int analogue);
  int p_AnalogueControl();
  float p_StickX(int stick, int pad);
  float p_StickY(int stick, int pad);
  int p_Button(int slot, float x, float y, int frame);
  int p_Button0(int slot, float x, float y, int frame);
  int p_Touch(float x, float y, float w, float h);
  int p_MouseIn_Centered(float x, float y, float w, float h);
  int p_iCade(int on);

  // ---- Arena and play
  // -------------------------------------------------------------------------------------------------
  int p_LoadGame();
  int p_Game();
  int p_Rand(float lo, float hi);

  // ---- Entities
  // -------------------------------------------------------------------------------------------------------
  int p_Shoot(float x, float y, float direction, int owner, int extra);
  int p_AddRock(float x, float y, int size, float direction);
  int p_AddBug(float x, float y, int type);
  int p_AddPop(float x, float y, float size);
  int p_AddPop2(float x, float y, float size);
  int p_Gimme(int amount, float x, float y);
  int p_AddParticle(int kind, float x, float y, float vx, float vy, int frame, int colour, int life);
  int p_ThrowParticle(float x, float y, int kind, int colour, float direction, float speed);
  int p_FreeParticle();
  int p_ResetParticles(int n);
  int p_ResetStars(int n);
  int p_ResetPlayers();
  int p_DoActors();
  int p_DoParticles();
  int p_DoStars(float dx, float dy);
  // One of the four hit or burst sounds from `firstSlot`, at a random rate, while effects are on.
  void PlayHitSound(int firstSlot);

  // ---- Turning
  // -----------------------------------------------------------------------------------------------------------
  static int m_WhichWayDoIGo(float from, float to, int lo, int hi);

  // ---- Game over and scoring
  // -----------------------------------------------------------------------------------------------
  int p_GameOver();
  String p_MyNth();
  int p_LoadMenu();
  int p_GC_PostScore(int score, int mode);

  // ---- Persistence
  // ---------------------------------------------------------------------------------------------------------
  int p_Save();
  int p_Load();

  // ---- Front-end screens
  // -------------------------------------------------------------------------------------------------------
  int p_Menu();
  int p_OptionBox();
  int p_PauseMenu();
  String p_BadgeID(int id);
  String p_BadgeName(int id);
  String p_BadgeDetail(int id);
  int p_ShowBadges();
  int p_BadgesBox();
  int p_GC_Badges();
  // Earns a badge once: its flag, and a pop-up in a free slot.
  int p_AwardBadge(int id);
  // What play reports; the badge table decides what it earns.
  int p_BadgeEvent(int event, int value);
  // The title's way into the badge box: its button and key.
  int p_BadgesButton();
  int p_CreditBox();
  int p_OuyaQuit();

  // ---- Music
  // ------------------------------------------------------------------------------------------------------------------------
  int p_PlayTune(String name, int loop);
  int p_StopTune();
  // Decodes a tune while the loading screen shows, so that starting it later costs nothing.
  int p_PrepareTune(String name);

 private:
  // Appends one record of `kind` (an image slot, VX_NONE or VX_OVAL); false when the list is full.
  bool AppendRecord(float kind, float x, float y, float sx, float sy, float frame);
  // The asset resolution that suits the window.
  void ChooseResolution();
  // Any of the ten touches that is down lies strictly inside the box.
  bool TouchInside(float left, float top, float right, float bottom);
  // Half the drawn size of a slot's frame at the current draw size, virtual units.
  void SlotHalfSize(int slot, float* halfW, float* halfH);
  // Sets virtual buttons 0 .. 18 to released.
  void ReleaseVirtualButtons();
  // The pause state after the window was away: paused with the panel centred during play.
  void PauseForAbsence();
  // The sound setting plays music (settings 1 and 3).
  bool MusicOn();
  // The sequencer's tune of the game mode.
  void StartSequencerTune();
  // The player's step of the play tick (player.cpp).
  void DoPlayer();
  // The options cog, three rings turning at their own speeds; true when a touch is on it.
  bool DrawCog(float x, float y, float size);
  // The console's overscan slider and its L1 and R1 keys, with the latches of the box it sits in.
  void OverscanControl(float x, float y, int* keyLatchOf, int* pointerLatchOf);
};
