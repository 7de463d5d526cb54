// Stand-ins until play lands: starting a game hands straight back to the title.
#include "game/core/my_app.h"

int c_MyApp::p_LoadGame() {
  screenMode = SCREEN_TITLE;
  return 0;
}
int c_MyApp::p_Game() { return 0; }
int c_MyApp::p_GameOver() { return 0; }
int c_MyApp::p_LoadMenu() { return 0; }
