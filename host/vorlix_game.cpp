// The whole life of the process: the window system, the one host object, the
// runtime's start-up with the game's app, the main loop (or a recorded game
// played again), and the way out.
#include <cstdlib>

#include "host/display_loss.h"
#include "host/glfw2.h"
#include "host/run_mode.h"
#include "host/vx_game.h"
#include "runtime/fatal.h"
#include "runtime/print.h"
#include "runtime/startup.h"

namespace {

constexpr int EXIT_NO_WINDOW_SYSTEM = -1;  // seen by the parent as 255

}  // namespace

void VxVorlixGame::Main(int argc, const char** argv) {
  VxGame::RemoveStaleSaves();
  VxRunMode mode(argc, argv);
  if (!glfwInit()) {
    vxPrint(String("glfwInit failed"));
    exit(EXIT_NO_WINDOW_SYSTEM);
  }
  VxEndOnDisplayLoss();

  VxVorlixGame* game = new VxVorlixGame();
  VxGame::_game = game;
  VxGlfwGame::_glfwGame = game;
  game->UpdateGamepadMappings();
  vx_at_orderly_end([] { VxGlfwGame::_glfwGame->WriteReport(); });

  try {
    vx_std_main(mode.Argc(), mode.Argv());
  } catch (ThrowableObject* ex) {
    glfwTerminate();
    game->Die(ex);
  }

  // An app that never registered a delegate has nothing to run.
  if (game->Delegate()) mode.Run(*game);
  // The window went away: the same end as the game's own.
  vx_orderly_end();
  glfwTerminate();
}
