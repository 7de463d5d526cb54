#include "tools/playbot/play_bot.h"

#include <cmath>

#include "framework/random.h"
#include "game/core/records.h"

namespace {

// The player's physics, as the play tick has it.
constexpr float RUN = 4, GRAVITY = 0.35f, JUMP = -10, FALL_CAP = 18, REACH_X = 38, REACH_Y = 12, LAND_SPEED = -1;
constexpr int MAX_MOVE_TICKS = 150, FLOOR_NODES = DRUMS;  // nodes: the tiles, then the arena floor below each drum
constexpr int NOT_ON_TILE = -1, CENTRE = -2;              // CENTRE: first walk to the centre of the node stood on
constexpr float CENTRED = 0.5f;
// Goals; how near a nest the bot shoots it from; the switch. Targets: bugs
// this near first, then nests, then bugs this near.
enum { PAINT, NEST, SWITCH };
constexpr float NEST_RANGE = 300, PAINT_ENOUGH = 56, SWITCH_X = 512, SWITCH_NEAR = 8;
constexpr float BUG_DANGER = 160, NEST_SIGHT = 640, BUG_SIGHT = 400;

float Clamp(float v, float lo, float hi) { return v < lo ? lo : v > hi ? hi : v; }

// Row k of drum c's view.
const int* ViewCell(const c_MyApp& app, int c, int k) {
  return &app.cells[CellIndex(c, (static_cast<int>(app.columns[c * RECORD_FLOATS + DRUM_ROW]) + k) % DRUM_ROWS)];
}

// The first of the points nearest to (x, y) and nearer than *d, which becomes its distance; null if none.
template <class P>
const P* Nearest(const std::vector<P>& points, float x, float y, float* d) {
  const P* nearest = nullptr;
  for (const P& p : points) {
    float e = std::hypot(p.x - x, p.y - y);
    if (e < *d) *d = e, nearest = &p;
  }
  return nearest;
}

}  // namespace

void StartPlay(c_MyApp& app, int mode, unsigned seed) {
  app.gameMode = mode;
  vx_random_Seed = static_cast<int>(seed);
  app.screenMode = SCREEN_START_GAME;
}

void PlayBot::ReadTiles() {
  size_t before = tiles_.size();
  tiles_.clear();
  for (int c = 0; c < DRUMS; ++c) {
    const float* drum = &app_.columns[c * RECORD_FLOATS];
    for (int k = VIEW_FIRST_ROW; k <= VIEW_LAST_ROW && drum[DRUM_TURNS] == 0; ++k) {
      int type = ViewCell(app_, c, k)[CELL_TYPE];
      if (type != CELL_FLOOR && type != CELL_PAINTED) continue;
      tiles_.push_back({CELL * c, CELL * k + drum[DRUM_PIXEL], type == CELL_PAINTED});
    }
  }
  if (app_.level != arenaLevel_ || tiles_.size() != before) {
    arenaLevel_ = app_.level;
    links_.assign(tiles_.size() + FLOOR_NODES, {});
  }
  if (!moves_.empty()) return;
  moves_.push_back({0, 0, 0});
  for (int dir : {-1, 1}) {
    for (int run = 4; run <= 64; run += 4) {
      for (int jump : {-1, 0, 8, 16, 24}) moves_.push_back({dir, run, jump});
    }
  }
}

// One tick of the player: the tiles catch it, then it runs, falls and jumps.
bool PlayBot::Tick(Body& b, float moveX, bool up, int* tile) const {
  *tile = NOT_ON_TILE;
  for (size_t i = 0; i < tiles_.size(); ++i) {
    const Tile& t = tiles_[i];
    if (std::fabs(b.x - t.cx) >= REACH_X || std::fabs(b.y - t.stand) >= REACH_Y || b.vy <= LAND_SPEED) continue;
    b = {b.x, t.stand, 0, 4};
    *tile = static_cast<int>(i);
  }
  if (std::fabs(moveX) > 0.1f) b.x = Clamp(b.x + moveX * RUN, -16, 1040);
  b.y += b.vy;
  b.vy = std::fmin(b.vy + (up ? GRAVITY : 2 * GRAVITY), FALL_CAP);
  if (b.ground > 0) b.ground -= 1;
  if (b.y > ARENA_FLOOR) b = {b.x, ARENA_FLOOR, 0, 6};
  if (up && b.ground > 0) b.ground = 0, b.vy = JUMP;
  return *tile >= 0 || b.y >= ARENA_FLOOR;
}

// Up is held from the jump while rising fast, so a landing never jumps again.
bool PlayBot::Up(const Move& m, int t, float vy) const {
  return m.jumpAt >= 0 && (t == m.jumpAt || (t > m.jumpAt && vy < LAND_SPEED));
}

PlayBot::Outcome PlayBot::Simulate(Body b, const Move& m) const {
  bool airborne = false;
  for (int t = 0; t < MAX_MOVE_TICKS; ++t) {
    int tile;
    bool grounded = Tick(b, t < m.runTicks ? static_cast<float>(m.dir) : 0, Up(m, t, b.vy), &tile) && b.ground > 0;
    airborne = airborne || !grounded;
    if (!grounded || (!airborne && (t + 1 < m.runTicks || t < m.jumpAt))) continue;
    int node = tile >= 0 ? tile : static_cast<int>(tiles_.size()) + FloorNode(b.x);
    // Later moves start from the node's centre: walking there is part of the cost.
    return {node, t + 1 + static_cast<int>(std::ceil(std::fabs(NodeX(node) - b.x) / RUN)), t + 1};
  }
  return {};
}

int PlayBot::FloorNode(float x) const { return static_cast<int>(Clamp(std::round(x / CELL), 0, DRUMS - 1)); }

PlayBot::Body PlayBot::NodeBody(int node) const {
  if (node < static_cast<int>(tiles_.size())) return {tiles_[node].cx, tiles_[node].stand, 0, 4};
  return {NodeX(node), ARENA_FLOOR, 0, 6};
}

float PlayBot::NodeX(int node) const {
  int n = static_cast<int>(tiles_.size());
  return node < n ? tiles_[node].cx : CELL * static_cast<float>(node - n);
}

bool PlayBot::Goal(int node) const {
  bool tile = node < static_cast<int>(tiles_.size());
  if (goalKind_ == PAINT) return tile && !tiles_[node].painted;
  if (goalKind_ == NEST) return std::hypot(NodeBody(node).x - goalX_, NodeBody(node).y - goalY_) < NEST_RANGE;
  return !tile;
}

// The quickest chain of moves to a goal; its first move is taken. Moves
// between nodes are worked out from a node's centre, so a chain that passes
// through the node the player stands on starts by walking to its centre.
void PlayBot::Plan(const Body& now) {
  int nodes = static_cast<int>(links_.size());
  std::vector<int> dist(nodes, 1 << 30), first(nodes, -1);
  std::vector<bool> done(nodes, false);
  Body probe = now;
  int tile;
  bool standing = Tick(probe, 0, false, &tile);
  int here = tile >= 0 ? tile : standing ? static_cast<int>(tiles_.size()) + FloorNode(now.x) : -1;
  for (size_t i = 0; i < moves_.size(); ++i) {
    Outcome o = Simulate(now, moves_[i]);
    if (o.node >= 0 && o.node != here && o.ticks < dist[o.node])
      dist[o.node] = o.ticks, first[o.node] = static_cast<int>(i);
  }
  if (here >= 0) {
    float off = std::fabs(NodeX(here) - now.x);
    dist[here] = off < CENTRED ? 0 : static_cast<int>(std::ceil(off / RUN));
    first[here] = CENTRE;
  }
  int chosen = -1;
  for (;;) {
    int best = -1;
    for (int n = 0; n < nodes; ++n) {
      if (!done[n] && first[n] != -1 && (best < 0 || dist[n] < dist[best])) best = n;
    }
    if (best < 0) break;
    if (Goal(best) && best != here) {
      chosen = first[best];
      break;
    }
    done[best] = true;
    if (links_[best].empty()) {
      for (const Move& m : moves_) links_[best].push_back(Simulate(NodeBody(best), m));
    }
    for (size_t i = 0; i < links_[best].size(); ++i) {
      const Outcome& o = links_[best][i];
      if (o.node < 0 || dist[best] + o.ticks >= dist[o.node]) continue;
      dist[o.node] = dist[best] + o.ticks;
      // From the centre of the node it stands on, the player takes the link itself.
      first[o.node] = best == here && dist[here] == 0 ? static_cast<int>(i) : first[best];
    }
  }
  moveTick_ = 0;
  centring_ = chosen == CENTRE;
  if (centring_) {
    centreX_ = NodeX(here);
    moveTicks_ = 0;
    return;
  }
  // Nothing reachable: run toward the goal and look again from there.
  move_ = chosen >= 0 ? moves_[chosen] : Move{goalX_ < now.x ? -1 : 1, 16, -1};
  moveTicks_ = chosen >= 0 ? Simulate(now, move_).moveTicks : 16;
}

// The points where shots hit the live nests in view.
std::vector<PlayBot::Point> PlayBot::LiveNests() const {
  std::vector<Point> nests;
  for (int c = 0; c < DRUMS; ++c) {
    for (int k = VIEW_FIRST_ROW; k <= VIEW_LAST_ROW; ++k) {
      const int* cell = ViewCell(app_, c, k);
      if (cell[CELL_TYPE] != CELL_NEST || cell[NEST_LIFE] <= 0) continue;
      nests.push_back({CELL * c, CELL * k + STAND + 16 + app_.columns[c * RECORD_FLOATS + DRUM_PIXEL]});
    }
  }
  return nests;
}

// Shoots the nearest bug that comes close, else the nearest live nest, else
// a bug in sight. Rocks are left alone: shot, they split into more and faster ones.
void PlayBot::Aim(const Body& now) {
  std::vector<Point> bugs, nests = LiveNests();
  for (int r = 0; r < ACTORS_UPDATED; ++r) {
    const float* a = &app_.actors[r * RECORD_FLOATS];
    if (IsBug(a[ACTOR_KIND])) bugs.push_back({a[ACTOR_X], a[ACTOR_Y]});
  }
  for (auto [points, d] : {std::pair{&bugs, BUG_DANGER}, {&nests, NEST_SIGHT}, {&bugs, BUG_SIGHT}}) {
    if (const Point* target = Nearest(*points, now.x, now.y, &d)) {
      return Stick(1, (target->x - now.x) / d, (target->y - now.y) / d);
    }
  }
  Stick(1, 0, 0);
}

void PlayBot::Decide(const Body& now) {
  ReadTiles();
  // A live nest out of reach first, then paint, then the switch.
  goalKind_ = app_.paintPercent < PAINT_ENOUGH ? PAINT : SWITCH;
  float nearest = 1e9f;
  std::vector<Point> nests = LiveNests();
  if (const Point* nest = Nearest(nests, now.x, now.y, &nearest)) goalX_ = nest->x, goalY_ = nest->y;
  if (nearest < 1e9f && (nearest >= NEST_RANGE || goalKind_ == SWITCH)) goalKind_ = NEST;
  if (goalKind_ == NEST && nearest < NEST_RANGE) return;  // in range: stand and shoot
  if (goalKind_ == SWITCH && now.y >= ARENA_FLOOR) {
    float gap = SWITCH_X - now.x;
    if (std::fabs(gap) > SWITCH_NEAR) move_ = {gap < 0 ? -1 : 1, 1, -1}, moveTicks_ = 1, moveTick_ = 0;
    return;
  }
  for (const Tile& t : tiles_) {
    if (goalKind_ == PAINT && !t.painted) goalX_ = t.cx;
  }
  Plan(now);
}

void PlayBot::Act() {
  const float* p = &app_.gameVars[0];
  Body now{p[PLAYER_X], p[PLAYER_Y], p[PLAYER_SPEED_Y], p[PLAYER_GROUND]};
  float moveX = 0;
  bool up = false;
  if (app_.screenMode != SCREEN_PLAY || app_.lives < 0) {
    Stick(1, 0, 0);
  } else {
    Aim(now);
    if (!centring_ && moveTick_ >= moveTicks_ && app_.gameVars[LEVEL_SPINNING] == 0 && now.ground > 0) Decide(now);
    if (centring_) {
      // The last step is a fraction of a full one; a step too small to run ends it.
      moveX = Clamp((centreX_ - now.x) / RUN, -1, 1);
      if (std::fabs(moveX) <= 0.1f) centring_ = false, moveX = 0;
    } else if (moveTick_ < moveTicks_) {
      moveX = moveTick_ < move_.runTicks ? static_cast<float>(move_.dir) : 0;
      up = Up(move_, moveTick_, now.vy);
      ++moveTick_;
    }
  }
  Stick(0, moveX, up ? -1 : 0);
}
