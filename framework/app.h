// The app: the game's one object with its five handlers, and the module
// functions for the update rate, the clock, the saved state and ending the
// program.
#pragma once
#include "runtime/object.h"
#include "runtime/string.h"

class VxGame;
struct c_GameDelegate;

struct c_App : Object {
  // Registers this object as the one app and hands a new game delegate to the host.
  c_App* m_new();

  virtual int p_OnCreate() { return 0; }
  virtual int p_OnSuspend() { return 0; }
  virtual int p_OnResume() { return 0; }
  virtual int p_OnUpdate() { return 0; }
  virtual int p_OnRender() { return 0; }

  int p_OnLoading() { return 0; }
  // The window's close button and the back key: both end the program.
  virtual int p_OnClose();
  virtual int p_OnBack();
};

// ---- Module state ----------------------------------------------------------------------
extern c_App* vx_app__app;                // the one app; null until c_App::m_new
extern c_GameDelegate* vx_app__delegate;  // the one delegate, made by c_App::m_new
extern VxGame* vx_app__game;              // the host
extern int vx_app__updateRate;            // last rate passed to vx_app_SetUpdateRate

int vx_app_SetUpdateRate(int hertz);
// The host's millisecond clock. It wraps modulo 2^32 (after 24.8 days it
// goes negative): compare and advance its times only through the two below.
int vx_app_Millisecs();
// `later` - `earlier`, right for times less than 2^31 ms apart.
int vx_app_MillisecsBetween(int earlier, int later);
// `time` + `ms`, wrapping as the clock does.
int vx_app_MillisecsAfter(int time, int ms);
String vx_app_LoadState();
int vx_app_SaveState(String state);
// The orderly end of the program: exit status 0.
[[noreturn]] void vx_app_EndApp();
