// Stand-ins until the credits box and the quit question land.
#include "game/core/my_app.h"

int c_MyApp::p_OuyaQuit() { return 0; }
int c_MyApp::p_CreditBox() { return 0; }
