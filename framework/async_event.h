// The asynchronous-event pump: sources registered in a stack are asked, once
// per update, to deliver whatever finished in the background. Nothing in this
// program registers one; the game still calls the pump every tick.
#pragma once
#include "runtime/gc.h"

struct c_IAsyncEventSource : gc_interface {
  virtual int p_UpdateAsyncEvents() = 0;
};

struct c_Stack;

extern c_IAsyncEventSource* vx_asyncevent__current;  // the source being pumped; null outside the pump
extern c_Stack* vx_asyncevent__sources;              // the registered sources

int vx_asyncevent_UpdateAsyncEvents();
