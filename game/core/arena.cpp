// The drum arena and the play tick. A new game builds seventeen drums of a
// hundred rows; each tick then runs in a fixed order: camera, arena colour,
// stars, controls, the drums with their nests and floors, the end of a spin,
// the paint rule and the spin switch, the player, the actors, the frame, the
// particles and the display.
#include <cmath>
#include <cstdint>

#include "framework/random.h"
#include "framework/vxmath.h"
#include "game/core/globals.h"
#include "game/core/records.h"

namespace {

// ---- Tunables (world units and ticks) ----------------------------------------------------
constexpr float CAMERA_EASE = 0.125f;     // share of the gap the camera closes per tick
constexpr float COLOUR_DRIFT_TICKS = 60;  // the arena colour closes 1/60 of its gap per tick
constexpr float COLOUR_STEP = 20;         // arena colour components are 20 .. 120 in steps of 20
constexpr float START_RED = 40, START_GREEN = 60, START_BLUE = 120;
constexpr int SHIELD_TICKS = 240;
constexpr int START_STARS = 100, START_PARTICLES = 250;
constexpr int START_LIVES = 3;
constexpr float START_X = 512, START_Y = 704;
constexpr float RUN_SPEED = 4, GRAVITY = 0.35f;
constexpr float SPIN_STAR_SPEED = 4, STAR_DRIFT = 0.1f;

constexpr int NEST_START_LIFE = 30;
constexpr int FIRST_NEST_FLOOR = 14;  // floors from this row may carry a nest on the row above
constexpr float DRAW_MARGIN = 128;    // cells this far outside the screen are not drawn
constexpr float LAND_REACH_X = 38, LAND_REACH_Y = 12, LAND_MIN_SPEED = -1;
constexpr float TILE_GROUND_TICKS = 4;
constexpr int FLOOR_PAY = 10, NEST_PAY = 100;
constexpr int MAX_BUGS = 120;  // counted in the previous tick; nests hatch none beyond
constexpr float NEST_HIT_REACH = 16, NEST_HIT_DROP = 16, NEST_PAY_RISE = 32, BUG_HATCH_DROP = 4;
constexpr float PAINT_PAY_RISE = 48;

constexpr float PIXEL_STEP = 8;   // plus the rows still to turn, per tick
constexpr float SETTLE_STEP = 6;  // a drum that has no rows left settles onto the next row
constexpr float FIRST_DRUM_TURNS = 12, FIRST_DRUM_EXTRA = 4, NEXT_DRUM_TURNS = 3, NEXT_DRUM_EXTRA = 3;
constexpr float NEST_TIMER_AFTER_SPIN = 120, NEST_TIMER_AFTER_SPIN_RANGE = 240;
constexpr float DROP_X = 128, DROP_RANGE = 768, DROP_Y = 64;
constexpr int DROP_SIZE = 3;

constexpr int SWITCH_PERCENT = 50;
constexpr int FULL_BONUS = 2500, BONUS_PER_PERCENT = 10;
constexpr float SWITCH_X = 512, SWITCH_Y = ARENA_FLOOR, SWITCH_REACH = 32;
constexpr int BLINK_PERIOD = 650, BLINK_ON = 350;  // milliseconds
constexpr float BLINK_SIZE = 1.2f;
constexpr float FRAME_SWITCH = 10, FRAME_SWITCH_LIT = 11, FRAME_GLOW = 14;

// The frame round the arena: the top edge is drawn before the player, the
// sides and the bottom after the actors.
struct Band {
  float x, y, w, h;
};
constexpr Band TOP_EDGE = {-64, 80, 1152, 32};
constexpr Band kFrame[] = {{-64, 80, 32, 736}, {1056, 80, 32, 736}, {-64, 784, 1152, 32}};

// Nest timers by game mode: a count between lo and hi ticks, both falling per level.
struct NestTiming {
  float hi, hiPerLevel, lo, loPerLevel;
};
constexpr NestTiming kNestTiming[] = {{360, 15, 180, 5}, {300, 15, 160, 5}, {240, 10, 140, 5}};
constexpr float NEST_TIMER_MIN = 100, NEST_TIMER_FALLBACK = 80, NEST_TIMER_FALLBACK_RANGE = 40;

// Nest density per floor: a roll of 1 in 8, re-rolled as 1 in 16 in mode 1 and 1 in 12 in mode 2.
constexpr int NEST_ROLL = 8;
constexpr int kNestReroll[] = {0, 16, 12, 0};

// The display.
constexpr int SCORE_CATCH_UP = 6, SCORE_SNAP = 5;
constexpr float LIFE_ICONS_RIGHT = 64, LIFE_ICON_SPACING = 10;  // of the screen's centre
constexpr int LIFE_ICONS = 4;

float Rnd() { return vx_random_Rnd(); }

int GameModeIndex(int mode) { return mode >= 1 && mode <= 3 ? mode - 1 : 1; }

int* Cell(const c_MyApp& app, int drum, int row) { return &app.cells[CellIndex(drum, row)]; }
float* Drum(const c_MyApp& app, int drum) { return &app.columns[drum * RECORD_FLOATS]; }

bool IsFloor(int type) { return type == CELL_FLOOR || type == CELL_PAINTED; }

// A body standing on a tile whose centre is at (cx, cy).
bool Lands(float x, float y, float speedY, float cx, float cy) {
  return std::fabs(x - cx) < LAND_REACH_X && std::fabs(y - (cy - STAND)) < LAND_REACH_Y && speedY > LAND_MIN_SPEED;
}

void NewColourTarget(c_MyApp& app) {
  app.bgTargetRed = static_cast<float>(app.p_Rand(1, 6)) * COLOUR_STEP;
  app.bgTargetGreen = static_cast<float>(app.p_Rand(1, 6)) * COLOUR_STEP;
  app.bgTargetBlue = static_cast<float>(app.p_Rand(1, 6)) * COLOUR_STEP;
}

void BuildDrums(c_MyApp& app) {
  int reroll = kNestReroll[app.gameMode >= 0 && app.gameMode <= 3 ? app.gameMode : 0];
  for (int c = 0; c < DRUMS; ++c) {
    int run = static_cast<int>(Rnd() * 2 + 3);
    for (int r = 0; r < DRUM_ROWS; ++r) {
      int* cell = Cell(app, c, r);
      for (int f = 0; f < RECORD_FLOATS; ++f) cell[f] = 0;
      cell[NEST_LIFE] = NEST_START_LIFE;
      int roll = static_cast<int>(Rnd() * NEST_ROLL);
      if (reroll) roll = static_cast<int>(Rnd() * static_cast<float>(reroll));
      run -= 1;
      if (run < 1) {
        cell[CELL_TYPE] = CELL_FLOOR;
        run = static_cast<int>(2 * Rnd() + 3);
        if (r >= FIRST_NEST_FLOOR && roll == 1) {
          int* above = Cell(app, c, r - 1);
          if (above[CELL_TYPE] == CELL_EMPTY) above[CELL_TYPE] = CELL_NEST;
        }
      }
    }
    // A game that ended during a spin must not leave its drums turning.
    float* drum = Drum(app, c);
    drum[DRUM_ROW] = drum[DRUM_PIXEL] = drum[DRUM_TURNS] = 0;
  }
}

// One row step of a drum: the row above comes into view.
void StepRow(float* drum) { drum[DRUM_ROW] = static_cast<float>((static_cast<int>(drum[DRUM_ROW]) + 99) % DRUM_ROWS); }

// Turns a drum for one tick. A drum turned this tick while it has rows to
// turn or is settling, paused or not: so a spin ends once every drum stands,
// and a pause never ends it.
bool TurnDrum(const c_MyApp& app, float* drum) {
  bool turning = drum[DRUM_TURNS] > 0 || drum[DRUM_PIXEL] != 0;
  if (app.paused != 0) return turning;
  if (drum[DRUM_TURNS] > 0) {
    drum[DRUM_PIXEL] += PIXEL_STEP + drum[DRUM_TURNS];
    if (drum[DRUM_PIXEL] > CELL - 1) {
      drum[DRUM_PIXEL] -= CELL;
      drum[DRUM_TURNS] -= 1;
      StepRow(drum);
    }
  }
  if (drum[DRUM_TURNS] < 1) {
    drum[DRUM_TURNS] = 0;
    if (drum[DRUM_PIXEL] != 0) {
      drum[DRUM_PIXEL] += SETTLE_STEP;
      if (drum[DRUM_PIXEL] > CELL - 1) {
        drum[DRUM_PIXEL] = 0;
        StepRow(drum);
      }
    }
  }
  return turning;
}

int NestTimer(const c_MyApp& app) {
  const NestTiming& t = kNestTiming[GameModeIndex(app.gameMode)];
  float level = static_cast<float>(app.level);
  float lo = t.lo - t.loPerLevel * level, hi = t.hi - t.hiPerLevel * level;
  int timer = vx_math_Int(Rnd() * (hi - lo) + lo);
  return timer < NEST_TIMER_MIN ? static_cast<int>(Rnd() * NEST_TIMER_FALLBACK_RANGE + NEST_TIMER_FALLBACK) : timer;
}

void DoNest(c_MyApp& app, int* cell, float cx, float cy, const int* shots, int shotCount) {
  app.liveNests += 1;
  if (app.paused == 0 && app.gameVars[LEVEL_SPINNING] == 0) cell[NEST_TIMER] -= 1;
  if (cell[NEST_TIMER] < 0) {
    cell[NEST_TIMER] = NestTimer(app);
    if (app.bugCount < MAX_BUGS) app.p_AddBug(cx, cy + BUG_HATCH_DROP, 1);
  }
  float hitY = cy + NEST_HIT_DROP;
  for (int i = 0; i < shotCount; ++i) {
    float* shot = &app.actors[shots[i]];
    if (!IsShot(shot[ACTOR_KIND]) || std::fabs(shot[ACTOR_X] - cx) >= NEST_HIT_REACH ||
        std::fabs(shot[ACTOR_Y] - hitY) >= NEST_HIT_REACH) {
      continue;
    }
    app.score += 1;
    cell[NEST_LIFE] -= static_cast<int>(Rnd() * 2.5f + 1);
    app.p_AddPop(cx, hitY, 1.0f);
    app.PlayHitSound(SFX_FIRST_HIT);
    shot[ACTOR_KIND] = 0;
    if (cell[NEST_LIFE] < 1) {
      app.p_Gimme(NEST_PAY, cx, cy - NEST_PAY_RISE);
      app.p_AddPop(cx, hitY, 2.0f);
      app.PlayHitSound(SFX_FIRST_BURST);
      app.p_BadgeEvent(BADGE_NEST_DESTROYED, 1);
      return;
    }
  }
}

void DoFloor(c_MyApp& app, int* cell, float cx, float cy) {
  app.floorsInView += 1;
  if (cell[CELL_TYPE] == CELL_PAINTED) app.paintedInView += 1;
  float* player = &app.gameVars[0];
  // The player stops landing once the last life is gone.
  if (app.lives < 0 || app.gameOverTimer != 0) return;
  if (!Lands(player[PLAYER_X], player[PLAYER_Y], player[PLAYER_SPEED_Y], cx, cy)) return;
  player[PLAYER_SPEED_Y] = 0;
  player[PLAYER_GROUND] = TILE_GROUND_TICKS;
  player[PLAYER_Y] = cy - STAND;
  if (cell[CELL_TYPE] == CELL_FLOOR) {
    app.p_Gimme(FLOOR_PAY, cx, cy - PAINT_PAY_RISE);
    app.p_PlaySFX(SFX_PAINT, 0.5f);
    cell[CELL_TYPE] = CELL_PAINTED;
    app.p_BadgeEvent(BADGE_FLOOR_PAINTED, 1);
  }
}

// Bugs land on still tiles by the player's rule. Tested bug by bug after the
// drums have moved, which gives the same result as tile by tile: a bug is
// changed only by its own tests, and a bug hatched this tick hangs too far
// above its floor to land on it yet.
void LandBugs(c_MyApp& app) {
  for (int r = 0; r < ACTORS_UPDATED; ++r) {
    float* bug = &app.actors[r * RECORD_FLOATS];
    if (!IsBug(bug[ACTOR_KIND])) continue;
    int nearest = static_cast<int>(std::floor(bug[ACTOR_X] / CELL));
    for (int c = nearest; c <= nearest + 1; ++c) {
      if (c < 0 || c >= DRUMS) continue;
      const float* drum = Drum(app, c);
      float cx = CELL * static_cast<float>(c);
      if (drum[DRUM_TURNS] != 0 || std::fabs(bug[ACTOR_X] - cx) >= LAND_REACH_X) continue;
      int top = static_cast<int>(drum[DRUM_ROW]);
      for (int k = VIEW_FIRST_ROW; k <= VIEW_LAST_ROW; ++k) {
        float cy = CELL * static_cast<float>(k) + STAND + drum[DRUM_PIXEL];
        if (!IsFloor(Cell(app, c, (top + k) % DRUM_ROWS)[CELL_TYPE])) continue;
        if (!Lands(bug[ACTOR_X], bug[ACTOR_Y], bug[ACTOR_VY], cx, cy)) continue;
        bug[ACTOR_VY] = 0;
        bug[ACTOR_GROUND] = TILE_GROUND_TICKS;
        bug[ACTOR_Y] = cy - STAND;
      }
    }
  }
}

// The drums: turning, drawing, nests and floors. True when a drum turned.
bool DoDrums(c_MyApp& app) {
  int shots[ACTORS_UPDATED];
  int shotCount = GatherShots(app.actors, shots);
  float w = vx_Kalvexa_jscrw, h = vx_Kalvexa_jscrh;
  bool turned = false;
  app.p_ResetDraw();
  for (int c = 0; c < DRUMS; ++c) {
    float* drum = Drum(app, c);
    turned = TurnDrum(app, drum) || turned;
    int top = static_cast<int>(drum[DRUM_ROW]);
    float cx = CELL * static_cast<float>(c);
    for (int k = VIEW_FIRST_ROW; k <= VIEW_LAST_ROW; ++k) {
      int* cell = Cell(app, c, (top + k) % DRUM_ROWS);
      int type = cell[CELL_TYPE];
      if (type == CELL_EMPTY) continue;
      float cy = CELL * static_cast<float>(k) + STAND + drum[DRUM_PIXEL];
      float sx = cx - app.camX, sy = cy - app.camY;
      bool onScreen = sx > -DRAW_MARGIN && sx < w + DRAW_MARGIN && sy > -DRAW_MARGIN && sy < h + DRAW_MARGIN;
      if (cell[NEST_LIFE] > 0 && onScreen) {
        app.p_DrawImg(IMG_TILES, sx, sy, static_cast<float>(type));
        if (type == CELL_PAINTED && app.gameVars[LEVEL_SWITCH_LIT] == 1 && app.liveNests == 0) {
          app.p_DrawImg(IMG_TILES, sx, sy, FRAME_GLOW);
        }
      }
      if (type == CELL_NEST && cell[NEST_LIFE] > 0) {
        DoNest(app, cell, cx, cy, shots, shotCount);
      } else if (IsFloor(type) && drum[DRUM_TURNS] == 0) {
        DoFloor(app, cell, cx, cy);
      }
    }
  }
  LandBugs(app);
  return turned;
}

void DrawBand(c_MyApp& app, const Band& band) { app.p_Rect(band.x - app.camX, band.y - app.camY, band.w, band.h); }

void ArenaColour(c_MyApp& app) {
  app.p_ResetDraw();
  app.p_SetCol(app.bgRed, app.bgGreen, app.bgBlue, 1);
}

// The spin has ended: a big rock drops in, and the streamed tune starts
// again (never over the sequencer).
void EndSpin(c_MyApp& app) {
  app.gameVars[LEVEL_SPINNING] = 0;
  float x = Rnd() * DROP_RANGE + DROP_X;
  app.p_AddRock(x, DROP_Y, DROP_SIZE, VX_NONE);
  if (app.level >= 2 && vx_Kalvexa_HasMusicStream == 1) app.p_PlayTune(String(GAME_TUNE), 0);
}

// Half the floors in view painted and no live nest lights the switch; with
// nothing still in view every floor counts as painted.
void PaintRule(c_MyApp& app) {
  int percent = app.floorsInView > 0 ? app.paintedInView * 100 / app.floorsInView : 0;
  if (percent > 100 || app.paintedInView == app.floorsInView) percent = 100;
  app.paintPercent = percent;
  float* flags = &app.gameVars[0];
  if (percent >= SWITCH_PERCENT && app.liveNests == 0) {
    flags[LEVEL_SWITCH_LIT] = 1;
    if (flags[LEVEL_SWITCH_SOUNDED] == 0) {
      app.p_PlaySFX(SFX_SWITCH_LIT, 1.0f);
      flags[LEVEL_SWITCH_SOUNDED] = 1;
    }
  }
  if (percent < SWITCH_PERCENT) {
    flags[LEVEL_SWITCH_SOUNDED] = 0;
    flags[LEVEL_SWITCH_LIT] = 0;
  }
}

void DrawSwitch(c_MyApp& app) {
  app.p_ResetDraw();
  float frame = FRAME_SWITCH;
  // The clock read unsigned: once it wraps it goes negative.
  if (app.gameVars[LEVEL_SWITCH_LIT] == 1 && static_cast<uint32_t>(vx_app_Millisecs()) % BLINK_PERIOD < BLINK_ON) {
    frame = FRAME_SWITCH_LIT;
    app.p_SetSize(BLINK_SIZE);
  }
  app.p_DrawImg(IMG_TILES, SWITCH_X - app.camX, SWITCH_Y - app.camY, frame);
  app.p_ResetDraw();
}

// Touching the lit switch pays the bonus, unpaints every floor and sets each
// drum turning further than its left neighbour: the next level.
void HitSwitch(c_MyApp& app) {
  float* flags = &app.gameVars[0];
  if (std::fabs(flags[PLAYER_X] - SWITCH_X) >= SWITCH_REACH || std::fabs(flags[PLAYER_Y] - SWITCH_Y) >= SWITCH_REACH ||
      flags[LEVEL_SWITCH_LIT] != 1 || flags[LEVEL_SPINNING] != 0) {
    return;
  }
  app.p_Gimme(app.paintPercent == 100 ? FULL_BONUS : app.paintPercent * BONUS_PER_PERCENT, SWITCH_X, SWITCH_Y - CELL);
  NewColourTarget(app);
  flags[LEVEL_SPINNING] = 1;
  app.level += 1;
  app.p_BadgeEvent(BADGE_SWITCH_HIT, app.paintPercent);
  app.p_BadgeEvent(BADGE_LEVEL_REACHED, app.level);
  app.p_PlaySFX(SFX_SWITCH_HIT, 1.0f);
  app.p_StopTune();
  for (int c = 0; c < DRUMS; ++c) {
    for (int r = 0; r < DRUM_ROWS; ++r) {
      int* cell = Cell(app, c, r);
      if (cell[CELL_TYPE] == CELL_PAINTED) cell[CELL_TYPE] = CELL_FLOOR;
      cell[NEST_LIFE] = NEST_START_LIFE;
      cell[NEST_TIMER] = static_cast<int>(Rnd() * NEST_TIMER_AFTER_SPIN_RANGE + NEST_TIMER_AFTER_SPIN);
    }
  }
  float turns = 0;
  for (int c = 0; c < DRUMS; ++c) {
    turns = c == 0 ? Rnd() * FIRST_DRUM_EXTRA + FIRST_DRUM_TURNS : turns + Rnd() * NEXT_DRUM_EXTRA + NEXT_DRUM_TURNS;
    Drum(app, c)[DRUM_TURNS] = turns;
  }
}

void DrawDisplay(c_MyApp& app) {
  static const String kZero("0"), kPercent("%");
  float w = vx_Kalvexa_jscrw;
  int gap = app.shownScore - app.score;
  int shown = app.shownScore - gap / SCORE_CATCH_UP;
  app.shownScore = vx_math_Abs(shown - app.score) <= SCORE_SNAP ? app.score : shown;

  app.p_ResetDraw();
  app.p_SetSize(2);
  app.p_SetCol(100, 255, 100, 0.8f);
  app.p_Text(w / 2, 32, app.p_rstr(app.shownScore, 8, kZero), 1, 1);

  app.p_ResetDraw();
  app.p_Alpha(0.75f);
  app.p_DrawImg(IMG_TILES, w - 32, 16, CELL_NEST);
  app.p_Alpha(1);
  app.p_SetSize(2);
  app.p_Text(w - 32, 32, String(app.liveNests), 1, 1);

  app.p_ResetDraw();
  app.p_SetSize(0.5f);
  bool painted = app.paintedInView == app.floorsInView || app.paintPercent >= SWITCH_PERCENT;
  app.p_DrawImg(IMG_TILES, w - 96, 50, static_cast<float>(painted ? CELL_PAINTED : CELL_FLOOR));
  app.p_SetSize(1.5f);
  app.p_Text(w - 96, 32, app.p_rstr(app.paintPercent, 3, kZero) + kPercent, 1, 1);

  app.p_ResetDraw();
  app.p_SetSize(0.75f);
  float left = static_cast<float>(static_cast<int>(w / 2 + LIFE_ICONS_RIGHT));
  for (int n = 0; n < LIFE_ICONS; ++n) {
    app.p_Alpha(app.lives >= n ? 1 : 0.3f);
    app.p_DrawImg(IMG_LIFE, left + LIFE_ICON_SPACING * static_cast<float>(n), n % 2 ? 40 : 24, 0);
  }
  app.p_ResetDraw();
}

}  // namespace

int c_MyApp::p_Rand(float lo, float hi) { return vx_math_Int(std::floor(Rnd() * (hi + 0.99f - lo) + lo)); }

int c_MyApp::p_LoadGame() {
  paused = 0;
  score = 0;
  gameOverTimer = 0;
  gameOverStep = 0;
  screenMode = SCREEN_PLAY;
  bgTargetRed = START_RED;
  bgTargetGreen = START_GREEN;
  bgTargetBlue = START_BLUE;
  shieldTime = SHIELD_TICKS;
  camX = camY = camTargetX = camTargetY = 0;
  if (vx_Kalvexa_HasMusicStream == 1) p_PlayTune(String(GAME_TUNE), 0);
  if (vx_Kalvexa_HasMusic == 1) StartSequencerTune();
  p_ResetStars(START_STARS);
  p_ResetParticles(START_PARTICLES);
  p_ResetPlayers();
  BuildDrums(*this);
  level = 1;
  lives = START_LIVES;
  shieldTimer = shieldTime;
  for (int i = 0; i < ACTORS; ++i) actors[i] = 0;
  gameVars[PLAYER_X] = START_X;
  gameVars[PLAYER_Y] = START_Y;
  p_BadgeEvent(BADGE_NEW_GAME, gameMode);
  return 0;
}

int c_MyApp::p_Game() {
  p_CLS2D(bgRed * 0.5f, bgGreen * 0.5f, bgBlue * 0.5f, 1);

  float dx = (camX - camTargetX) * CAMERA_EASE, dy = (camY - camTargetY) * CAMERA_EASE;
  camX -= dx;
  camY -= dy;

  if (bgTargetRed == bgTargetGreen && bgTargetGreen == bgTargetBlue) NewColourTarget(*this);
  bgRed += (bgTargetRed - bgRed) / COLOUR_DRIFT_TICKS;
  bgGreen += (bgTargetGreen - bgGreen) / COLOUR_DRIFT_TICKS;
  bgBlue += (bgTargetBlue - bgBlue) / COLOUR_DRIFT_TICKS;

  bool spinning = gameVars[LEVEL_SPINNING] == 1;
  p_DoStars(dx, spinning ? SPIN_STAR_SPEED : dy + STAR_DRIFT);

  p_AnalogueControl();
  runSpeed = RUN_SPEED;
  gravity = GRAVITY;
  liveNests = floorsInView = paintedInView = 0;

  bool turned = DoDrums(*this);

  ArenaColour(*this);
  DrawBand(*this, TOP_EDGE);

  // A pause on the tick the last drum settles must not end the spin under the pause menu.
  if (!turned && gameVars[LEVEL_SPINNING] == 1 && paused == 0) EndSpin(*this);
  PaintRule(*this);
  DrawSwitch(*this);
  HitSwitch(*this);

  if (lives >= 0 && gameOverTimer == 0) DoPlayer();
  p_DoActors();

  ArenaColour(*this);
  for (const Band& band : kFrame) DrawBand(*this, band);
  p_DoParticles();
  if (hideHud != 1) DrawDisplay(*this);
  p_BadgeEvent(BADGE_SCORE, score);

  if (lives < 0 && gameOverTimer == 0) {
    gameOverTimer = 1;
    p_StopTune();
  }
  return 0;
}
