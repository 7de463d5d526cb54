#include "host/command_line.h"
#include "host/headless_game.h"

int main(int argc, const char** argv) {
  VxGame::GuardStandardStreams();
  vx_Kalvexa_CheckCommandLine(argc, argv);
  if (vx_Kalvexa_Switch(argc, argv, "--headless")) {
    VxHeadlessGame::Main(argc, argv);
  } else {
    VxVorlixGame::Main(argc, argv);
  }
  return 0;
}
