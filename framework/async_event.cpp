#include "framework/async_event.h"

#include "framework/stack.h"

c_IAsyncEventSource* vx_asyncevent__current = nullptr;
c_Stack* vx_asyncevent__sources = nullptr;

int vx_asyncevent_UpdateAsyncEvents() {
  // A source that calls back into the pump must not start a second pass.
  if (vx_asyncevent__current) return 0;
  int i = 0;
  while (i < vx_asyncevent__sources->p_Length()) {
    gc_assign(vx_asyncevent__current, vx_asyncevent__sources->p_Get(i));
    vx_asyncevent__current->p_UpdateAsyncEvents();
    // A source that removed itself cleared `current`; the same index now
    // holds the next source.
    if (vx_asyncevent__current) ++i;
  }
  vx_asyncevent__current = nullptr;
  return 0;
}
