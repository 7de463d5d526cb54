// The player's step of the play tick: the camera follows it; it runs, falls,
// jumps, turns its gun toward the aim and fires, and is drawn with its gun
// and, while shielded, a sparkle.
#include <cmath>

#include "framework/random.h"
#include "framework/vxmath.h"
#include "game/core/globals.h"
#include "game/core/records.h"

namespace {

// ---- Tunables (world units and ticks) ----------------------------------------------------
constexpr float CAMERA_LEFT = -64, CAMERA_RIGHT = 1088, CAMERA_TOP = 96, CAMERA_BOTTOM = 800;
constexpr float WORLD_LEFT = -16, WORLD_RIGHT = 1040;
constexpr float RUN_DEAD_ZONE = 0.1f, RUN_STOP = 0.11f;
constexpr float RUN_CYCLE = 24, RUN_CYCLE_BACK = 18;  // the run counter wraps from 24 back by 18
constexpr float RUN_FRAME_TICKS = 6;
constexpr float UP_HELD = -0.2f;  // moveY below this is holding up: half the gravity
constexpr float JUMP_STICK = -0.4f, JUMP_SPEED = -10, FALL_CAP = 18;
constexpr float FLOOR_GROUND_TICKS = 6;
constexpr float AIM_STICK_DEAD_ZONE = 0.2f;
constexpr int GUN_TURN = 8;        // degrees per tick at most
constexpr float GUN_DRIFT = 0.2f;  // degrees added every tick
constexpr float FIRE_COOLDOWN = 6;
constexpr float SHOT_VOLUME = 0.2f;
constexpr float FRAME_AIRBORNE = 4, FRAME_GUN = 8, FRAME_HAND = 9;

// The shield's sparkle: specks rising through the sprite, swaying.
constexpr int SPARKLE_SPECKS = 13;
constexpr float SPARKLE_HEIGHT = 64, SPARKLE_SPACING = 5, SPARKLE_RISE = 2, SPARKLE_SWAY_MAX = 16;
constexpr float SPARKLE_RED = 120, SPARKLE_GREEN = 220, SPARKLE_BLUE = 255;

float Clamp(float v, float lo, float hi) { return v < lo ? lo : v > hi ? hi : v; }

}  // namespace

void c_MyApp::DoPlayer() {
  float* p = &gameVars[0];
  float w = vx_Kalvexa_jscrw, h = vx_Kalvexa_jscrh;
  camTargetX = p[PLAYER_X] - w / 2;
  if (camTargetX > CAMERA_RIGHT - w) camTargetX = CAMERA_RIGHT - w;
  if (camTargetX < CAMERA_LEFT) camTargetX = CAMERA_LEFT;
  camTargetY = p[PLAYER_Y] - h / 2;
  if (camTargetY > CAMERA_BOTTOM - h) camTargetY = CAMERA_BOTTOM - h;
  if (camTargetY < CAMERA_TOP) camTargetY = CAMERA_TOP;

  bool runAndFire = p_PlayKey(ACTION_FIRE, 1, 0) != 0;
  bool standAndFire = p_PlayKey(ACTION_STAND_FIRE, 1, 0) != 0;
  float speed = std::fabs(moveX);
  if (speed > RUN_DEAD_ZONE && !standAndFire && paused == 0) {
    p[PLAYER_RUN] += speed;
    p[PLAYER_X] += moveX * runSpeed;
  }
  if (!standAndFire) {
    float facing = moveX > RUN_DEAD_ZONE ? 1 : moveX < -RUN_DEAD_ZONE ? -1 : p[PLAYER_FACING];
    // Turning round while running and firing keeps the shots going the same way.
    if (facing != p[PLAYER_FACING] && runAndFire) p[PLAYER_AIM_X] = -p[PLAYER_AIM_X];
    p[PLAYER_FACING] = facing;
  }
  if (speed < RUN_STOP || standAndFire) {
    p[PLAYER_RUN] = 0;
  } else if (p[PLAYER_RUN] >= RUN_CYCLE) {
    p[PLAYER_RUN] -= RUN_CYCLE_BACK;
  }
  p[PLAYER_X] = Clamp(p[PLAYER_X], WORLD_LEFT, WORLD_RIGHT);

  if (paused == 0) {
    p[PLAYER_Y] += p[PLAYER_SPEED_Y];
    p[PLAYER_SPEED_Y] += gravity;
  }
  if (moveY > UP_HELD) p[PLAYER_SPEED_Y] += gravity;
  if (p[PLAYER_SPEED_Y] > FALL_CAP) p[PLAYER_SPEED_Y] = FALL_CAP;
  if (p[PLAYER_GROUND] > 0) p[PLAYER_GROUND] -= 1;
  if (p[PLAYER_Y] > ARENA_FLOOR) {
    p[PLAYER_Y] = ARENA_FLOOR;
    p[PLAYER_SPEED_Y] = 0;
    p[PLAYER_GROUND] = FLOOR_GROUND_TICKS;
  }

  if (moveY < JUMP_STICK && !standAndFire) {
    p[PLAYER_UP_HELD] = 1;
    // Up also moves through the pause menu: that must not leave a jump for the resume.
    if (p[PLAYER_GROUND] > 0 && paused == 0) {
      p[PLAYER_GROUND] = 0;
      p[PLAYER_SPEED_Y] = JUMP_SPEED;
    }
  } else {
    p[PLAYER_UP_HELD] = 0;
  }

  firing = runAndFire || standAndFire ? 1 : 0;
  if (!runAndFire) {
    p[PLAYER_AIM_X] = moveX * p[PLAYER_FACING];
    p[PLAYER_AIM_Y] = moveY - 0.001f;
  }
  float stickX = p_StickX(1, 0), stickY = p_StickY(1, 0);
  if (std::fabs(stickX) > AIM_STICK_DEAD_ZONE || std::fabs(stickY) > AIM_STICK_DEAD_ZONE) {
    p[PLAYER_AIM_X] = stickX * p[PLAYER_FACING];
    p[PLAYER_AIM_Y] = stickY;
    firing = 1;
  }
  // A paused game fires nothing, whatever the stick says.
  if (paused != 0) firing = 0;

  p[PLAYER_GUN_TARGET] = static_cast<float>(vx_math_ATan2(p[PLAYER_AIM_X], -p[PLAYER_AIM_Y])) - 90;
  int step = m_WhichWayDoIGo(p[PLAYER_GUN], p[PLAYER_GUN_TARGET], 0, 359);
  if (step >= GUN_TURN || step <= -GUN_TURN) {
    p[PLAYER_GUN] += static_cast<float>(step > 0 ? GUN_TURN : -GUN_TURN);
  } else {
    p[PLAYER_GUN] = p[PLAYER_GUN_TARGET];
  }
  p[PLAYER_GUN] += GUN_DRIFT;
  if (p[PLAYER_FACING] != 1 && p[PLAYER_FACING] != -1) p[PLAYER_FACING] = 1;

  if (p[PLAYER_COOLDOWN] > 0) p[PLAYER_COOLDOWN] -= 1;
  if (!firing) p[PLAYER_COOLDOWN] = 0;
  if (firing && p[PLAYER_COOLDOWN] < 1) {
    p[PLAYER_COOLDOWN] = FIRE_COOLDOWN;
    p[PLAYER_MUZZLE] = FIRE_COOLDOWN;
    p_Shoot(p[PLAYER_X], p[PLAYER_Y], (p[PLAYER_GUN] + 90) * p[PLAYER_FACING], 1, 1);
    p_PlaySFX(SFX_SHOT, vx_random_Rnd() * 0.6f + 0.7f, SHOT_VOLUME, 0);
  }

  // Facing left mirrors the whole figure, gun included; the gun and the hand
  // holding it turn with the aim.
  float sx = p[PLAYER_X] - camX, sy = p[PLAYER_Y] - camY;
  float facing = p[PLAYER_FACING];
  p_ResetDraw();
  p_SetSize(facing, 1);
  p_SetRot(p[PLAYER_GUN] * facing);
  p_DrawImg(IMG_TILES, sx, sy, FRAME_GUN);
  p_SetRot(0);
  float body =
      p[PLAYER_GROUND] < 1 ? FRAME_AIRBORNE : static_cast<float>(static_cast<int>(p[PLAYER_RUN] / RUN_FRAME_TICKS) % 3);
  p_DrawImg(IMG_TILES, sx, sy, body);
  p_SetRot(p[PLAYER_GUN] * facing);
  p_DrawImg(IMG_TILES, sx, sy, FRAME_HAND);

  if (shieldTimer > 0) {
    float t = static_cast<float>(shieldTimer);
    float sway = t / 5 < SPARKLE_SWAY_MAX ? t / 5 : SPARKLE_SWAY_MAX;
    p_ResetDraw();
    p_SetCol(SPARKLE_RED, SPARKLE_GREEN, SPARKLE_BLUE, t / 60 < 1 ? t / 60 : 1);
    p_Blend(3);
    for (int i = 0; i < SPARKLE_SPECKS; ++i) {
      float n = static_cast<float>(i);
      float rise = std::fmod(n * SPARKLE_SPACING + t * SPARKLE_RISE, SPARKLE_HEIGHT);
      float x = sx + static_cast<float>(vx_math_Sin(n * 40 + t * 9)) * sway;
      float y = sy + SPARKLE_HEIGHT / 2 - rise;
      if (i % 2) {
        p_Oval(x, y, 2, 2);
      } else {
        p_Rect(x - 1.5f, y - 1.5f, 3, 3);
      }
    }
    if (paused == 0) shieldTimer -= 1;
  }
  p_ResetDraw();
}
