// Everything that moves besides the player and the drums: records of the
// actors, particles and stars tables. Creating a thing takes the last free
// record of its range and nothing else, so a full range simply creates
// nothing; destroying one writes 0 into its kind. The actor update runs the
// records in order, so a shot is consumed by the first target tested.
#include <cmath>

#include "framework/random.h"
#include "framework/vxmath.h"
#include "game/core/globals.h"
#include "game/core/records.h"

namespace {

// ---- Tunables ---------------------------------------------------------------------------
constexpr float SHOT_SPEED = 12;         // units per tick
constexpr float ROCK_HITS = 10;          // hit points of a new rock
constexpr int BUG_HITS_PER_TYPE = 5;     // hit points per bug type
constexpr float POP_LIFE = 45;           // ticks, roughly: a pop loses 0.8 .. 1.4 per tick
constexpr int PARTICLE_LIMIT_CAP = 500;  // p_ResetParticles takes limits below this
constexpr int STAR_COUNT_MAX = 499;
constexpr float SHOT_MARGIN = 128;  // a shot this far outside the screen is gone
constexpr float ROCK_WALL_RIGHT = 1120, ROCK_WALL_LEFT = -96, ROCK_WALL_BOTTOM = 832, ROCK_WALL_TOP = 64;
constexpr float BUG_WALL_LEFT = -16, BUG_WALL_RIGHT = 1040;
constexpr float BUG_GROUND_TICKS = 4;
constexpr float BUG_SHOT_REACH2 = 256;               // 16 units, squared
constexpr float BUG_REACH_X = 16, BUG_REACH_Y = 20;  // a bug this close hits the player
constexpr float BUG_HOP_X = 48, BUG_HOP_Y = 32;      // a bug this close hops at the player
constexpr float PARTICLE_FADE = 0.01f;               // life lost per tick
constexpr float FALL_DRAG = 0.95f, FALL_GRAVITY = 0.2f;
constexpr float PARTICLE_SIZE = 2;
constexpr int FLOATING_NUMBER_COLOUR = 3;
constexpr int ROCK_PAY = 25, BUG_PAY_PER_TYPE = 10;
constexpr int ROCK_DEBRIS = 17, BUG_DEBRIS = 6;

// Colours of debris the rules leave open: grey rock, green bug, a yellow and
// orange burst round the player.
constexpr int ROCK_DEBRIS_COLOUR = 0, BUG_DEBRIS_COLOUR = 4, BURST_COLOUR = 3, BURST_SLOW_COLOUR = 2;
constexpr int SPARK = 1;  // particle kind that flies straight

// Particle colours (red, green, blue) by colour index; entry 0 stands for any
// index outside 1 .. 9.
constexpr float kParticleColours[][3] = {
    {76.5f, 76.5f, 76.5f}, {255, 25.5f, 25.5f}, {255, 127.5f, 25.5f}, {255, 255, 25.5f},    {25.5f, 255, 25.5f},
    {25.5f, 255, 255},     {25.5f, 25.5f, 255}, {127.5f, 25.5f, 255}, {255, 25.5f, 127.5f}, {255, 255, 255},
};
constexpr int PARTICLE_COLOURS = sizeof kParticleColours / sizeof kParticleColours[0];

// A rock's heading by quadrant: signs of (sin a, cos a).
constexpr float kQuadrants[4][2] = {{1, -1}, {1, 1}, {-1, -1}, {-1, 1}};

float Rnd() { return vx_random_Rnd(); }

// The free-record rule: the last record of first .. last whose kind is
// exactly 0, as a float index, or -1.
int FreeRecord(const Array<float>& table, int first, int last) {
  for (int r = last; r >= first; --r) {
    if (table[r * RECORD_FLOATS] == 0.0f) return r * RECORD_FLOATS;
  }
  return -1;
}

// A new thing at (x, y) in the free record of first .. last, or null when the
// range is full. The record starts clean, so nothing of its last occupant
// leaks into it.
static_assert(PART_X == ACTOR_X && PART_Y == ACTOR_Y, "every moving thing keeps its position in the same fields");
float* Spawn(const Array<float>& table, int first, int last, float x, float y) {
  int at = FreeRecord(table, first, last);
  if (at < 0) return nullptr;
  float* record = &table[at];
  for (int f = 0; f < RECORD_FLOATS; ++f) record[f] = 0;
  record[ACTOR_X] = x;
  record[ACTOR_Y] = y;
  return record;
}

// Direction a in degrees, 0 up, as a velocity of `speed`.
void Heading(float degrees, float speed, float* vx, float* vy) {
  *vx = speed * static_cast<float>(vx_math_Sin(degrees));
  *vy = -speed * static_cast<float>(vx_math_Cos(degrees));
}

bool OutsideScreen(float x, float y, float margin) {
  return x < -margin || x > vx_Kalvexa_jscrw + margin || y < -margin || y > vx_Kalvexa_jscrh + margin;
}

// Pops and second pops share everything but their kinds and spin.
void AddPop(c_MyApp& app, float firstKind, float spinBase, float spinRange, float x, float y, float size) {
  float* pop = Spawn(app.actors, SMALL_FIRST, SMALL_LAST, x, y);
  if (!pop) return;
  pop[ACTOR_KIND] = Rnd() * 14.99f + firstKind;
  pop[ACTOR_ROTATION] = Rnd() * 360;
  pop[ACTOR_SPIN] = Rnd() * spinRange + spinBase;
  if (Rnd() * 5 < 2) pop[ACTOR_SPIN] = -pop[ACTOR_SPIN];
  pop[ACTOR_LIFE] = POP_LIFE;
  pop[ACTOR_SIZE] = size;
}

// A shot hit something: two sparks fly back from where it was.
void Ricochet(c_MyApp& app, float x, float y, float direction) {
  for (int i = 0; i < 2; ++i) {
    int kind = static_cast<int>(Rnd() * 1.99f + 1);
    int colour = static_cast<int>(Rnd() * 8.9f + 1);
    float back = direction + 180 + Rnd() * 32 - 16;
    app.p_ThrowParticle(x, y, kind, colour, back, Rnd() + 2.5f);
  }
}

// Every shot closer to the target than the square root of `reach2` hits it
// and is consumed; the target pays, pops and sounds for each.
template <class OnHit>
void HitByShots(c_MyApp& app, const int* shots, int count, float x, float y, float reach2, OnHit onHit) {
  for (int i = 0; i < count; ++i) {
    float* shot = &app.actors[shots[i]];
    if (!IsShot(shot[ACTOR_KIND])) continue;
    float dx = shot[ACTOR_X] - x, dy = shot[ACTOR_Y] - y;
    if (static_cast<float>(vx_math_Int(dx * dx + dy * dy)) >= reach2) continue;
    // A pop may take the freed record at once: keep what the sparks need.
    float sx = shot[ACTOR_X], sy = shot[ACTOR_Y], direction = shot[ACTOR_DIRECTION];
    shot[ACTOR_KIND] = 0;
    onHit(direction);
    app.score += 1;
    app.p_AddPop(x, y, 1.0f);
    app.PlayHitSound(SFX_FIRST_HIT);
    Ricochet(app, sx, sy, direction);
  }
}

// A rock or a bug reached the unshielded player.
void HitPlayer(c_MyApp& app, float fromX, float fromY) {
  app.p_AddPop2(app.gameVars[PLAYER_X], app.gameVars[PLAYER_Y], 6.0f);
  app.lives -= 1;
  app.shieldTimer = app.shieldTime;
  app.p_PlaySFX(SFX_PLAYER_HIT, 1.0f);
  for (int a = 0; a < 360; a += 10) app.p_ThrowParticle(fromX, fromY, SPARK, BURST_COLOUR, a, Rnd() * 4.99f + 12);
  for (int a = 0; a < 360; a += 25) app.p_ThrowParticle(fromX, fromY, SPARK, BURST_SLOW_COLOUR, a, Rnd() * 2.99f + 6);
}

float ScreenX(const c_MyApp& app, float x) { return x - app.camX; }
float ScreenY(const c_MyApp& app, float y) { return y - app.camY; }

void MoveShot(c_MyApp& app, float* shot) {
  float frame = shot[ACTOR_KIND] - SHOT_KIND_FIRST;
  app.p_ResetDraw();
  app.p_SetRot(shot[ACTOR_DIRECTION]);
  app.p_Alpha(0.5f);
  app.p_Blend(3);
  app.p_DrawImg(IMG_SHOTS, ScreenX(app, shot[ACTOR_X]), ScreenY(app, shot[ACTOR_Y]), frame);
  if (app.paused == 0) {
    shot[ACTOR_X] += shot[ACTOR_VX];
    shot[ACTOR_Y] += shot[ACTOR_VY];
  }
  float sx = ScreenX(app, shot[ACTOR_X]), sy = ScreenY(app, shot[ACTOR_Y]);
  app.p_SetSize(0.5f);
  app.p_Alpha(1);
  app.p_Blend(1);
  app.p_DrawImg(IMG_SHOTS, sx, sy, frame);
  if (OutsideScreen(sx, sy, SHOT_MARGIN)) shot[ACTOR_KIND] = 0;
}

void MoveRock(c_MyApp& app, float* rock, const int* shots, int shotCount) {
  float size = rock[ACTOR_SIZE];
  float r = static_cast<float>(static_cast<int>((size + 1) * 30));
  HitByShots(app, shots, shotCount, rock[ACTOR_X], rock[ACTOR_Y], (r * 0.5f + 8) * (r * 0.5f + 16),
             [&](float direction) {
               rock[ACTOR_HITS] -= 1;
               rock[ACTOR_HIT_FROM] = direction;
             });

  if (app.paused == 0) {
    rock[ACTOR_ROTATION] += rock[ACTOR_SPIN];
    rock[ACTOR_X] += rock[ACTOR_VX];
    rock[ACTOR_Y] += rock[ACTOR_VY];
  }
  float& vx = rock[ACTOR_VX];
  float& vy = rock[ACTOR_VY];
  float x = rock[ACTOR_X], y = rock[ACTOR_Y];
  if (x + vx + r > ROCK_WALL_RIGHT) vx = -std::fabs(vx);
  if (x + vx - r < ROCK_WALL_LEFT) vx = std::fabs(vx);
  if (y + vy + r > ROCK_WALL_BOTTOM) vy = -std::fabs(vy);
  if (y + vy - r < ROCK_WALL_TOP) vy = std::fabs(vy);

  app.p_ResetDraw();
  app.p_SetRot(rock[ACTOR_ROTATION]);
  app.p_SetSize(size);
  app.p_DrawImg(IMG_ROCKS, ScreenX(app, x), ScreenY(app, y), rock[ACTOR_KIND] - (ROCK_KIND_FIRST - 1));

  if (rock[ACTOR_HITS] < 1) {
    app.p_Gimme(ROCK_PAY, x, y);
    if (size > 1) {
      for (int i = 0; i < 4; ++i) app.p_AddRock(x, y, static_cast<int>(size) - 1, rock[ACTOR_HIT_FROM]);
    }
    for (int i = 0; i < ROCK_DEBRIS; ++i) {
      app.p_ThrowParticle(x, y, static_cast<int>(Rnd() * 1.99f + 1), ROCK_DEBRIS_COLOUR, VX_NONE, VX_NONE);
    }
    app.p_AddPop(x, y, 4.0f);
    app.PlayHitSound(SFX_FIRST_BURST);
    rock[ACTOR_KIND] = 0;
    app.p_BadgeEvent(BADGE_ROCK_DESTROYED, 1);
    return;
  }
  if (app.shieldTimer != 0) return;
  float r2 = static_cast<float>(static_cast<int>((size + 1) * 28));
  float dx = app.gameVars[PLAYER_X] - x, dy = app.gameVars[PLAYER_Y] - y;
  float reach = r2 * 0.5f + 8;
  if (static_cast<float>(vx_math_Int(dx * dx + dy * dy)) < reach * reach) HitPlayer(app, x, y);
}

// Pops stay where they are and burn out even while the game is paused.
void MovePop(c_MyApp& app, float* pop, float frameBase, bool grows) {
  pop[ACTOR_ROTATION] += pop[ACTOR_SPIN];
  pop[ACTOR_LIFE] -= Rnd() * 0.6f + 0.8f;
  float life = pop[ACTOR_LIFE];
  float scale = static_cast<float>(grows ? vx_math_Sin(90 - life) : vx_math_Sin(2 * life));
  app.p_ResetDraw();
  app.p_Alpha(0.75f);
  app.p_Blend(3);
  app.p_SetRot(pop[ACTOR_ROTATION]);
  app.p_SetSize(scale * pop[ACTOR_SIZE]);
  app.p_DrawImg(IMG_POPS, ScreenX(app, pop[ACTOR_X]), ScreenY(app, pop[ACTOR_Y]), pop[ACTOR_KIND] - frameBase);
  if (life < 1) pop[ACTOR_KIND] = 0;
}

void HeadForPlayer(const c_MyApp& app, float* bug) {
  bug[ACTOR_VX] = app.gameVars[PLAYER_X] < bug[ACTOR_X] ? Rnd() * 0.6f - 1 : Rnd() * 0.6f + 0.4f;
}

void MoveBug(c_MyApp& app, float* bug, const int* shots, int shotCount) {
  app.bugCount += 1;
  float px = app.gameVars[PLAYER_X], py = app.gameVars[PLAYER_Y];
  if (Rnd() * 200 < 1) {
    float vx = 2 * Rnd() - 1;
    bug[ACTOR_VX] = std::fabs(vx) < 0.4f ? 0 : vx;
  }
  if ((app.gameMode == 2 || app.level >= 4) && Rnd() * 120 < 1) HeadForPlayer(app, bug);
  if (app.gameMode == 3 && Rnd() * 60 < 1) HeadForPlayer(app, bug);
  if (Rnd() * 1200 < 1 && bug[ACTOR_GROUND] > 0) bug[ACTOR_VY] = -9;
  if (std::fabs(bug[ACTOR_X] - px) < BUG_HOP_X && std::fabs(bug[ACTOR_Y] - py) < BUG_HOP_Y && bug[ACTOR_GROUND] > 0 &&
      Rnd() * 15 < 2) {
    bug[ACTOR_VY] = -8;
  }
  if (app.paused == 0) {
    bug[ACTOR_X] += bug[ACTOR_VX];
    bug[ACTOR_Y] += bug[ACTOR_VY];
  }
  if (bug[ACTOR_X] < BUG_WALL_LEFT) {
    bug[ACTOR_X] = BUG_WALL_LEFT;
    bug[ACTOR_VX] = std::fabs(bug[ACTOR_VX]);
  } else if (bug[ACTOR_X] > BUG_WALL_RIGHT) {
    bug[ACTOR_X] = BUG_WALL_RIGHT;
    bug[ACTOR_VX] = -std::fabs(bug[ACTOR_VX]);
  }
  bug[ACTOR_VY] += app.gravity;
  if (bug[ACTOR_GROUND] > 0) bug[ACTOR_GROUND] -= 1;
  if (bug[ACTOR_Y] > ARENA_FLOOR) {
    bug[ACTOR_Y] = ARENA_FLOOR;
    bug[ACTOR_VY] = 0;
    bug[ACTOR_GROUND] = BUG_GROUND_TICKS;
  }
  bug[ACTOR_WALK] = bug[ACTOR_VX] == 0 ? 0 : std::fmod(bug[ACTOR_WALK] + Rnd() * 0.2f + 0.1f, 4.0f);

  float x = bug[ACTOR_X], y = bug[ACTOR_Y];
  HitByShots(app, shots, shotCount, x, y, BUG_SHOT_REACH2, [&](float) { bug[ACTOR_HITS] -= 1; });
  if (bug[ACTOR_HITS] < 1) {
    app.p_Gimme(static_cast<int>((bug[ACTOR_KIND] - BUG_KIND_BASE) * BUG_PAY_PER_TYPE), x, y);
    for (int i = 0; i < BUG_DEBRIS; ++i) {
      float direction = Rnd() * 360;
      app.p_ThrowParticle(x, y, static_cast<int>(PART_FALLING), BUG_DEBRIS_COLOUR, direction, Rnd() * 2.99f + 6);
    }
    app.p_AddPop(x, y, 1.0f);
    app.PlayHitSound(SFX_FIRST_HIT);
    bug[ACTOR_KIND] = 0;
    app.p_BadgeEvent(BADGE_BUG_DESTROYED, 1);
    return;
  }
  if (app.shieldTimer == 0 && std::fabs(x - px) < BUG_REACH_X && std::fabs(y - py) < BUG_REACH_Y) {
    HitPlayer(app, x, y);
  }
  app.p_ResetDraw();
  app.p_DrawImg(IMG_BUGS, ScreenX(app, x), ScreenY(app, y), static_cast<float>(static_cast<int>(bug[ACTOR_WALK])));
}

// A star that leaves the band round the screen along one axis comes back on
// the other side as a new star, somewhere else across.
void WrapStar(float* star, int along, int across, float extent, float acrossExtent) {
  float overscan = vx_Kalvexa_overscan, margin = overscan + 16;
  float side = star[along] < -margin ? 1 : star[along] > extent + margin ? -1 : 0;
  if (side == 0) return;
  star[along] += side * (2 * overscan + 32 + extent);
  star[across] = Rnd() * (acrossExtent + 16) - 8;
  star[STAR_DEPTH] = Rnd() * 0.6f + 0.2f;
  star[STAR_FRAME] = std::floor(Rnd() * 255.99f);
}

}  // namespace

int c_MyApp::p_Shoot(float x, float y, float direction, int owner, int) {
  float* shot = Spawn(actors, SMALL_FIRST, SMALL_LAST, x, y);
  if (!shot) return 0;
  shot[ACTOR_KIND] = std::floor(Rnd() * 7.99f + SHOT_KIND_FIRST);
  shot[ACTOR_DIRECTION] = direction;
  Heading(direction, SHOT_SPEED, &shot[ACTOR_VX], &shot[ACTOR_VY]);
  shot[ACTOR_OWNER] = static_cast<float>(owner);
  return 0;
}

int c_MyApp::p_AddRock(float x, float y, int size, float direction) {
  const float* quadrant = kQuadrants[static_cast<int>(Rnd() * 3.99f)];
  float* rock = Spawn(actors, ROCK_FIRST, ROCK_LAST, x, y);
  if (!rock) return 0;
  rock[ACTOR_KIND] = std::floor(Rnd() * 14.99f + ROCK_KIND_FIRST);
  float a = Rnd() * 35 + 25;
  float speed = Rnd() * 1.1f + 0.4f;
  if (size == 1) speed *= 2;
  rock[ACTOR_VX] = quadrant[0] * speed * static_cast<float>(vx_math_Sin(a));
  rock[ACTOR_VY] = quadrant[1] * speed * static_cast<float>(vx_math_Cos(a));
  if (direction > VX_NONE) Heading(direction + Rnd() * 90 - 45, speed, &rock[ACTOR_VX], &rock[ACTOR_VY]);
  rock[ACTOR_ROTATION] = Rnd() * 360;
  rock[ACTOR_HITS] = ROCK_HITS;
  rock[ACTOR_SPIN] = Rnd() * 1.6f - 0.8f;
  rock[ACTOR_SIZE] = static_cast<float>(size);
  return 0;
}

int c_MyApp::p_AddBug(float x, float y, int type) {
  float* bug = Spawn(actors, SMALL_FIRST, SMALL_LAST, x, y);
  if (!bug) return 0;
  bug[ACTOR_KIND] = BUG_KIND_BASE + static_cast<float>(type);
  bug[ACTOR_WALK] = Rnd() * 4;
  bug[ACTOR_HITS] = static_cast<float>(BUG_HITS_PER_TYPE * type);
  return 0;
}

int c_MyApp::p_AddPop(float x, float y, float size) {
  AddPop(*this, POP_KIND_FIRST, 1, 2, x, y, size);
  return 0;
}

int c_MyApp::p_AddPop2(float x, float y, float size) {
  AddPop(*this, POP2_KIND_FIRST, 3, 5, x, y, size);
  return 0;
}

int c_MyApp::p_Gimme(int amount, float x, float y) {
  score += amount;
  float* number = Spawn(particles, 0, particleLimit, x, y);
  if (!number) return 0;
  number[PART_KIND] = PART_NUMBER;
  number[PART_VY] = -0.25f;
  number[PART_ROTATION] = std::floor(Rnd() * 360.99f);
  number[PART_SPIN] = Rnd() * 14 - 7;
  number[PART_LIFE] = 1;
  number[PART_COLOUR] = FLOATING_NUMBER_COLOUR;
  number[PART_FRAME] = static_cast<float>(amount);
  return 0;
}

int c_MyApp::p_AddParticle(int kind, float x, float y, float vx, float vy, int frame, int colour, int life) {
  float* particle = Spawn(particles, 0, particleLimit, x, y);
  if (!particle) return 0;
  particle[PART_KIND] = static_cast<float>(kind);
  particle[PART_VX] = vx;
  particle[PART_VY] = vy;
  particle[PART_ROTATION] = std::floor(Rnd() * 360.99f);
  particle[PART_SPIN] = Rnd() * 14 - 7;
  particle[PART_LIFE] = static_cast<float>(life + 1);
  particle[PART_COLOUR] = static_cast<float>(colour);
  particle[PART_FRAME] = static_cast<float>(frame);
  return 0;
}

int c_MyApp::p_ThrowParticle(float x, float y, int kind, int colour, float direction, float speed) {
  if (direction == VX_NONE) direction = Rnd() * 360;
  if (speed == VX_NONE) speed = Rnd() * 5 + 3;
  float* particle = Spawn(particles, 0, particleLimit, x, y);
  if (!particle) return 0;
  particle[PART_KIND] = static_cast<float>(kind);
  Heading(direction, speed, &particle[PART_VX], &particle[PART_VY]);
  particle[PART_ROTATION] = Rnd() * 360;
  particle[PART_SPIN] = Rnd() * 16 - 8;
  particle[PART_LIFE] = Rnd() * 0.6f + 0.7f;
  particle[PART_COLOUR] = static_cast<float>(colour);
  particle[PART_FRAME] = std::floor(Rnd() * 255.99f);
  return 0;
}

int c_MyApp::p_FreeParticle() { return FreeRecord(particles, 0, particleLimit); }

int c_MyApp::p_ResetParticles(int n) {
  if (n >= 1 && n < PARTICLE_LIMIT_CAP) particleLimit = n;
  for (int r = 0; r <= particleLimit; ++r) particles[r * RECORD_FLOATS + PART_KIND] = 0;
  return 0;
}

int c_MyApp::p_ResetStars(int n) {
  if (n >= 1 && n <= STAR_COUNT_MAX) starCount = n;
  for (int r = 0; r <= starCount; ++r) {
    float* star = &stars[r * RECORD_FLOATS];
    star[STAR_FRAME] = std::floor(Rnd() * 255.99f);
    star[STAR_X] = Rnd() * (vx_Kalvexa_jscrw + 16) - 8;
    star[STAR_Y] = Rnd() * (vx_Kalvexa_jscrh + 16) - 8;
    star[STAR_DEPTH] = Rnd() * 0.6f + 0.2f;
    star[STAR_ROTATION] = Rnd() * 360;
    star[STAR_SPIN] = Rnd() - 0.5f;
  }
  return 0;
}

int c_MyApp::p_ResetPlayers() {
  for (int i = 0; i < PLAYER_VARS; ++i) gameVars[i] = 0;
  return 0;
}

void c_MyApp::PlayHitSound(int firstSlot) {
  int mode = options[OPTION_SOUND];
  if (mode != 1 && mode != 2) return;
  int slot = static_cast<int>(std::floor(Rnd() * 3.99f + static_cast<float>(firstSlot)));
  p_PlaySFX(slot, Rnd() * 0.6f + 0.7f);
}

int c_MyApp::p_DoActors() {
  bugCount = 0;
  // Nothing here creates shots, so the shots of this tick are known up front;
  // each is checked again before use, since a hit frees it.
  int shots[ACTORS_UPDATED];
  int shotCount = GatherShots(actors, shots);
  for (int r = 0; r < ACTORS_UPDATED; ++r) {
    float* actor = &actors[r * RECORD_FLOATS];
    if (IsShot(actor[ACTOR_KIND])) MoveShot(*this, actor);
    if (IsRock(actor[ACTOR_KIND])) MoveRock(*this, actor, shots, shotCount);
    if (IsPop(actor[ACTOR_KIND])) MovePop(*this, actor, POP_KIND_FIRST - 1, false);
    if (IsBug(actor[ACTOR_KIND])) MoveBug(*this, actor, shots, shotCount);
    if (IsPop2(actor[ACTOR_KIND])) MovePop(*this, actor, POP2_KIND_FIRST - 1, true);
  }
  return 0;
}

int c_MyApp::p_DoParticles() {
  p_ResetDraw();
  for (int r = 0; r <= particleLimit; ++r) {
    float* p = &particles[r * RECORD_FLOATS];
    float kind = p[PART_KIND];
    if (kind <= 0) continue;
    p[PART_X] += p[PART_VX];
    p[PART_Y] += p[PART_VY];
    p[PART_ROTATION] += p[PART_SPIN];
    if (kind == PART_FALLING) {
      p[PART_VX] *= FALL_DRAG;
      p[PART_VY] += FALL_GRAVITY;
    }
    int colour = static_cast<int>(p[PART_COLOUR]);
    const float* rgb = kParticleColours[colour >= 1 && colour < PARTICLE_COLOURS ? colour : 0];
    p_SetCol(rgb[0], rgb[1], rgb[2], p[PART_LIFE] < 1 ? p[PART_LIFE] : 1);
    float x = p[PART_X] - camX, y = p[PART_Y] - camY;
    if (kind == PART_NUMBER) {
      p_SetSize(1);
      p_SetRot(0);
      p_Text(x, y, String(static_cast<int>(p[PART_FRAME])), 1, 1);
    } else if (kind >= 1 && kind <= 9) {
      p_SetSize(PARTICLE_SIZE);
      p_SetRot(p[PART_ROTATION]);
      p_DrawImg(IMG_PARTS, x, y, p[PART_FRAME]);
    }
    p[PART_LIFE] -= PARTICLE_FADE;
    if (p[PART_LIFE] < 0) p[PART_KIND] = 0;
  }
  p_ResetDraw();
  return 0;
}

int c_MyApp::p_DoStars(float dx, float dy) {
  float w = vx_Kalvexa_jscrw, h = vx_Kalvexa_jscrh;
  p_ResetDraw();
  for (int r = 0; r <= starCount; ++r) {
    float* star = &stars[r * RECORD_FLOATS];
    float depth = star[STAR_DEPTH];
    star[STAR_X] += dx * depth;
    star[STAR_Y] += dy * depth;
    WrapStar(star, STAR_X, STAR_Y, w, h);
    WrapStar(star, STAR_Y, STAR_X, h, w);
    star[STAR_ROTATION] += star[STAR_SPIN];
    p_SetRot(star[STAR_ROTATION]);
    p_Alpha(star[STAR_DEPTH]);
    p_DrawImg(IMG_PARTS, star[STAR_X], star[STAR_Y], star[STAR_FRAME]);
  }
  p_ResetDraw();
  return 0;
}
