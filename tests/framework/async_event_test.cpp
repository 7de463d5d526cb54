// The asynchronous-event pump and the stack of its sources.
#include "framework/async_event.h"

#include <gtest/gtest.h>

#include <functional>

#include "framework/stack.h"

namespace {

struct Source : Object, c_IAsyncEventSource {
  std::function<void()> onUpdate;
  int updates = 0;
  int p_UpdateAsyncEvents() override {
    ++updates;
    if (onUpdate) onUpdate();
    return 0;
  }
};

TEST(Pump, EverySourceIsAskedOnceEvenWhenOneRemovesItselfOrCallsBack) {
  gc_assign(vx_asyncevent__sources, (new c_Stack())->m_new());
  EXPECT_EQ(vx_asyncevent_UpdateAsyncEvents(), 0);  // no sources

  Source* s[3] = {new Source(), new Source(), new Source()};
  s[0]->onUpdate = [] {  // unregisters itself, as a finished source does
    c_Stack* stack = vx_asyncevent__sources;
    for (int i = 0; i + 1 < stack->p_Length(); ++i) gc_assign(stack->m_data[i], stack->m_data[i + 1]);
    stack->p_Length(stack->p_Length() - 1);
    vx_asyncevent__current = nullptr;
  };
  s[1]->onUpdate = [] { vx_asyncevent_UpdateAsyncEvents(); };  // no second pass from inside
  Array<c_IAsyncEventSource*> sources(3);
  for (int i = 0; i < 3; ++i) gc_assign(sources[i], static_cast<c_IAsyncEventSource*>(s[i]));
  gc_assign(vx_asyncevent__sources, (new c_Stack())->m_new2(sources));

  EXPECT_EQ(vx_asyncevent_UpdateAsyncEvents(), 0);
  for (Source* source : s) EXPECT_EQ(source->updates, 1);
  EXPECT_EQ(vx_asyncevent__current, nullptr);
  EXPECT_EQ(vx_asyncevent__sources->p_Length(), 2);
}

TEST(Stack, ShrinkingClearsVacatedSlotsAndACopyIsItsOwn) {
  Source* kept = new Source();
  Source* dropped = new Source();
  Array<c_IAsyncEventSource*> data(26);
  gc_assign(data[0], static_cast<c_IAsyncEventSource*>(kept));
  gc_assign(data[5], static_cast<c_IAsyncEventSource*>(dropped));
  c_Stack* stack = (new c_Stack())->m_new2(data);
  gc_assign(data[0], static_cast<c_IAsyncEventSource*>(dropped));
  EXPECT_EQ(stack->p_Get(0), kept) << "m_new2 holds a copy";
  stack->p_Length(2);
  stack->p_Length(20);  // within the array again: the old slots stay cleared
  EXPECT_EQ(stack->p_Get(0), kept);
  EXPECT_EQ(stack->p_Get(5), nullptr);
}

}  // namespace
