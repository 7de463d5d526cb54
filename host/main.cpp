#include "host/command_line.h"
#include "host/vx_game.h"

int main(int argc, const char** argv) {
  vx_Kalvexa_CheckCommandLine(argc, argv);
  VxVorlixGame::Main(argc, argv);
  return 0;
}
