#include "framework/app.h"

#include <cstdint>

#include "framework/game_delegate.h"
#include "host/vx_game.h"
#include "runtime/fatal.h"

c_App* vx_app__app = nullptr;
c_GameDelegate* vx_app__delegate = nullptr;
VxGame* vx_app__game = nullptr;
int vx_app__updateRate = 0;

c_App* c_App::m_new() {
  if (vx_app__app) vxError(String("App has already been created"));
  gc_assign(vx_app__app, this);
  gc_assign(vx_app__delegate, (new c_GameDelegate())->m_new());
  vx_app__game->SetDelegate(vx_app__delegate);
  return this;
}

int c_App::p_OnClose() { vx_app_EndApp(); }
int c_App::p_OnBack() { vx_app_EndApp(); }

int vx_app_SetUpdateRate(int hertz) {
  vx_app__updateRate = hertz;
  vx_app__game->SetUpdateRate(hertz);
  return 0;
}

int vx_app_Millisecs() { return vx_app__game->Millisecs(); }

// Unsigned arithmetic wraps where signed would overflow.
int vx_app_MillisecsBetween(int earlier, int later) {
  return static_cast<int32_t>(static_cast<uint32_t>(later) - static_cast<uint32_t>(earlier));
}

int vx_app_MillisecsAfter(int time, int ms) {
  return static_cast<int32_t>(static_cast<uint32_t>(time) + static_cast<uint32_t>(ms));
}

String vx_app_LoadState() { return vx_app__game->LoadState(); }

int vx_app_SaveState(String state) { return vx_app__game->SaveState(state); }

void vx_app_EndApp() { vxError(String()); }
