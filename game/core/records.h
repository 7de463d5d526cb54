// The fields of the play tables' records, so that play code reads
// actor[ACTOR_X] rather than a[1], and the arena's geometry. Every table is
// flat: record n of a float table starts at n * RECORD_FLOATS, and field 0 of
// a moving thing's record is its kind, 0 when the record is free.
#pragma once
#include "game/core/my_app.h"

// ---- The arena, in world units ------------------------------------------------------------
constexpr float CELL = 64;          // a drum cell is CELL square; drum c stands at x = CELL c
constexpr float STAND = 46;         // a standing body's centre above the centre of its tile
constexpr float ARENA_FLOOR = 768;  // the y of everything standing on the arena floor

// ---- actors: shots, rocks, pops, bugs and second pops ----------------------------------
constexpr int ACTOR_KIND = 0, ACTOR_X = 1, ACTOR_Y = 2, ACTOR_VX = 3, ACTOR_VY = 4;
constexpr int ACTOR_DIRECTION = 5;  // shot: its heading, degrees
constexpr int ACTOR_ROTATION = 5;   // rock, pop: drawn rotation
constexpr int ACTOR_WALK = 5;       // bug: walk animation, 0 .. 4
constexpr int ACTOR_SPIN = 6;       // rock, pop: rotation per tick
constexpr int ACTOR_GROUND = 6;     // bug: ticks it may still hop
constexpr int ACTOR_HITS = 7;       // rock, bug: hit points
constexpr int ACTOR_LIFE = 7;       // pop: counts down to 1
constexpr int ACTOR_SIZE = 8;       // rock: 1 .. 3; pop: drawn size
constexpr int ACTOR_OWNER = 9;      // shot: 1 for the player
constexpr int ACTOR_HIT_FROM = 9;   // rock: heading of the shot that hit it last

constexpr int ACTOR_RECORDS = ACTORS / RECORD_FLOATS;
constexpr int ACTORS_UPDATED = 201;                // records 0 .. 200 move each tick
constexpr int ROCK_FIRST = 0, ROCK_LAST = 50;      // rocks are created here
constexpr int SMALL_FIRST = 50, SMALL_LAST = 200;  // shots, bugs and pops here
constexpr float SHOT_KIND_FIRST = 1, ROCK_KIND_FIRST = 21, POP_KIND_FIRST = 41;
constexpr float BUG_KIND_BASE = 60, POP2_KIND_FIRST = 81;

// Kinds are tested by open ranges.
inline bool IsShot(float kind) { return kind > 0 && kind < 20; }
inline bool IsRock(float kind) { return kind > 20 && kind < 40; }
inline bool IsPop(float kind) { return kind > 40 && kind < 60; }
inline bool IsBug(float kind) { return kind > 60 && kind < 80; }
inline bool IsPop2(float kind) { return kind > 80 && kind < 100; }

// The float indexes of the shots among the records that move; their number.
inline int GatherShots(const Array<float>& actors, int* out) {
  int count = 0;
  for (int r = 0; r < ACTORS_UPDATED; ++r) {
    if (IsShot(actors[r * RECORD_FLOATS + ACTOR_KIND])) out[count++] = r * RECORD_FLOATS;
  }
  return count;
}

// ---- particles: debris and floating numbers ----------------------------------------------
constexpr int PART_KIND = 0, PART_X = 1, PART_Y = 2, PART_VX = 3, PART_VY = 4, PART_ROTATION = 5, PART_SPIN = 6;
constexpr int PART_LIFE = 7, PART_COLOUR = 8;
constexpr int PART_FRAME = 9;  // sprite frame; the number shown for PART_NUMBER
constexpr float PART_FALLING = 2, PART_NUMBER = 99;

// ---- stars: the background, in screen units ----------------------------------------------
constexpr int STAR_FRAME = 0, STAR_X = 1, STAR_Y = 2, STAR_DEPTH = 3, STAR_ROTATION = 5, STAR_SPIN = 6;

// ---- cells: drum c row r is record 100 c + r ----------------------------------------------
constexpr int CELL_TYPE = 0, NEST_LIFE = 7, NEST_TIMER = 8;
constexpr int CELL_EMPTY = 0, CELL_FLOOR = 12, CELL_PAINTED = 13, CELL_NEST = 15;
constexpr int DRUMS = 17, DRUM_ROWS = 100;
constexpr int VIEW_FIRST_ROW = 4, VIEW_LAST_ROW = 11;  // rows below the drum's top row that are in play

inline int CellIndex(int drum, int row) { return (drum * DRUM_ROWS + row) * RECORD_FLOATS; }

// ---- columns: one record per drum ------------------------------------------------------------
constexpr int DRUM_ROW = 0;    // row at the top of the view, 0 .. 99
constexpr int DRUM_PIXEL = 1;  // sub-row offset while turning
constexpr int DRUM_TURNS = 2;  // rows still to turn

// ---- gameVars: the player and the level flags ------------------------------------------------
constexpr int PLAYER_X = 1, PLAYER_Y = 2, PLAYER_FACING = 3, PLAYER_SPEED_Y = 4, PLAYER_UP_HELD = 5;
constexpr int PLAYER_GROUND = 6;  // ticks in which a jump is still possible
constexpr int PLAYER_GUN = 8, PLAYER_RUN = 9, PLAYER_GUN_TARGET = 12, PLAYER_AIM_X = 13, PLAYER_AIM_Y = 14;
constexpr int PLAYER_COOLDOWN = 21, PLAYER_MUZZLE = 22;
constexpr int LEVEL_SPINNING = 50, LEVEL_SWITCH_LIT = 51, LEVEL_SWITCH_SOUNDED = 52;
constexpr int PLAYER_VARS = 500;  // entries a new game clears
