#include "host/vx_game.h"

int main(int argc, const char** argv) {
  VxVorlixGame::Main(argc, argv);
  return 0;
}
