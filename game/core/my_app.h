// c_MyApp: the game, the one app object. For now it only runs the frame: it
// ticks at 60 per second and clears the window to the game's background.
#pragma once
#include "framework/app.h"

class c_MyApp : public c_App {
 public:
  c_MyApp* m_new();

  int p_OnCreate() override;
  int p_OnRender() override;
};
