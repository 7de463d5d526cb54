// Stand-ins until the title's boxes, the pause menu and the badges land.
#include "game/core/my_app.h"

int c_MyApp::p_OuyaQuit() { return 0; }
int c_MyApp::p_CreditBox() { return 0; }
int c_MyApp::p_BadgesBox() { return 0; }
int c_MyApp::p_OptionBox() { return 0; }
int c_MyApp::p_ShowBadges() { return 0; }
int c_MyApp::p_PauseMenu() { return 0; }
