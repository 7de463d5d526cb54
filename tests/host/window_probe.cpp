// The real host and framework around an app that prints what reaches it.
#include "framework/app.h"
#include "framework/input.h"
#include "host/glfw2.h"
#include "host/vx_game.h"
#include "runtime/print.h"
#include "runtime/startup.h"

namespace {

void PrintKey(int key, int action) {
  if (action == GLFW_PRESS) vxPrint(String("key ") + String(key));
  VxGlfwGame::OnKey(key, action);
}

struct ProbeApp : c_App {
  int p_OnCreate() override {
    vx_app_SetUpdateRate(60);
    glfwSetKeyCallback(PrintKey);
    int width = 0, height = 0;
    glfwGetWindowSize(&width, &height);
    vxPrint(String("window ") + String(width) + String("x") + String(height));
    return 0;
  }
  int p_OnSuspend() override {
    vxPrint(String("suspend"));
    return 0;
  }
  int p_OnResume() override {
    vxPrint(String("resume"));
    return 0;
  }
  int p_OnUpdate() override {
    for (int key = 1; key < 512; ++key) {
      if (vx_input_KeyHit(key)) vxPrint(String("hit ") + String(key));
    }
    while (int character = vx_input_GetChar()) vxPrint(String("char ") + String(character));
    return 0;
  }
};

}  // namespace

// The start-up of VxVorlixGame::Main with this app in place of the game's.
int main(int count, const char** arguments) {
  if (!glfwInit()) return 255;
  VxVorlixGame* game = new VxVorlixGame();
  VxGame::_game = VxGlfwGame::_glfwGame = game;
  vx_start_runtime(count, arguments);
  (new ProbeApp())->m_new();
  game->Run();
  glfwTerminate();
  return 0;
}
