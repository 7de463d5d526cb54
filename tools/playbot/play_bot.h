// A scripted player for the soak, the play benchmarks and the play tests. It
// reads the game's state and plays through the first joypad like a person:
// the left stick runs and jumps, the right stick aims and fires; whoever runs
// the game hands the pad on (stickX, stickY). Moves are planned with
// a copy of the player's physics over the tiles in view: the quickest chain of
// runs, waits and jumps to a goal (an unpainted tile, a live nest, the switch).
#pragma once
#include <vector>

#include "game/core/my_app.h"

// Has the next update start a game of `mode` from `seed`, as the title does: state 11.
void StartPlay(c_MyApp& app, int mode, unsigned seed);

class PlayBot {
 public:
  explicit PlayBot(const c_MyApp& app) : app_(app) {}
  // Sets the sticks for the next tick; call it before every step of play.
  void Act();
  // The first joypad's sticks, 0 and 1, as the bot holds them.
  float stickX[2] = {}, stickY[2] = {};

 private:
  struct Body {
    float x, y, vy, ground;
  };
  struct Move {
    int dir, runTicks, jumpAt;  // jumpAt -1: no jump
  };
  struct Tile {
    float cx, stand;
    bool painted;
  };
  struct Point {
    float x, y;
  };
  struct Outcome {
    int node = -1, ticks = 0, moveTicks = 0;  // ticks to the node's centre and to the landing
  };

  void ReadTiles();
  bool Tick(Body& b, float moveX, bool up, int* tile) const;
  bool Up(const Move& m, int t, float vy) const;
  Outcome Simulate(Body b, const Move& m) const;
  int FloorNode(float x) const;
  Body NodeBody(int node) const;
  float NodeX(int node) const;
  bool Goal(int node) const;
  void Decide(const Body& now);
  void Plan(const Body& now);
  std::vector<Point> LiveNests() const;
  void Aim(const Body& now);
  void Stick(int stick, float x, float y) { stickX[stick] = x, stickY[stick] = y; }

  const c_MyApp& app_;
  std::vector<Move> moves_;
  std::vector<Tile> tiles_;
  std::vector<std::vector<Outcome>> links_;  // per node, lazily, for the current arena
  int arenaLevel_ = -1, moveTick_ = 0, moveTicks_ = 0, goalKind_ = 0;
  Move move_{0, 0, -1};
  float goalX_ = 512, goalY_ = 0, centreX_ = 0;
  bool centring_ = false;
};
