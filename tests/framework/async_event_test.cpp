// The asynchronous-event pump and the stack of its sources.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "framework/async_event.h"
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

// Removes the source at `index`, as a source that unregisters itself does.
void RemoveAt(c_Stack* stack, int index) {
  for (int i = index; i + 1 < stack->p_Length(); ++i) gc_assign(stack->m_data[i], stack->m_data[i + 1]);
  stack->p_Length(stack->p_Length() - 1);
}

struct Pump : ::testing::Test {
  void SetUp() override {
    gc_assign(vx_asyncevent__sources, (new c_Stack())->m_new());
    vx_asyncevent__current = nullptr;
  }
};

TEST_F(Pump, WithoutSourcesItReturnsAtOnce) {
  EXPECT_EQ(vx_asyncevent_UpdateAsyncEvents(), 0);
  EXPECT_EQ(vx_asyncevent__current, nullptr);
}

TEST_F(Pump, EverySourceIsAskedOnceEvenWhenOneRemovesItselfOrCallsBack) {
  Source* a = new Source();
  Source* b = new Source();
  Source* c = new Source();
  a->onUpdate = [&] {
    RemoveAt(vx_asyncevent__sources, 0);
    vx_asyncevent__current = nullptr;
  };
  b->onUpdate = [] { vx_asyncevent_UpdateAsyncEvents(); };  // no second pass from inside
  Array<c_IAsyncEventSource*> sources(3);
  gc_assign(sources[0], static_cast<c_IAsyncEventSource*>(a));
  gc_assign(sources[1], static_cast<c_IAsyncEventSource*>(b));
  gc_assign(sources[2], static_cast<c_IAsyncEventSource*>(c));
  gc_assign(vx_asyncevent__sources, (new c_Stack())->m_new2(sources));

  EXPECT_EQ(vx_asyncevent_UpdateAsyncEvents(), 0);
  EXPECT_EQ(a->updates, 1);
  EXPECT_EQ(b->updates, 1);
  EXPECT_EQ(c->updates, 1);
  EXPECT_EQ(vx_asyncevent__current, nullptr);
  EXPECT_EQ(vx_asyncevent__sources->p_Length(), 2);
}

TEST(Stack, GrowsByDoublingAndClearsVacatedSlots) {
  c_Stack* stack = (new c_Stack())->m_new();
  EXPECT_EQ(stack->m_data.Length(), 0);
  stack->p_Length(3);
  EXPECT_EQ(stack->m_data.Length(), 10);  // max(2 * 0 + 10, 3)
  stack->p_Length(25);
  EXPECT_EQ(stack->m_data.Length(), 25);  // max(2 * 3 + 10, 25)
  stack->p_Length(26);
  EXPECT_EQ(stack->m_data.Length(), 60);  // max(2 * 25 + 10, 26)

  Source* kept = new Source();
  Source* dropped = new Source();
  gc_assign(stack->m_data[0], static_cast<c_IAsyncEventSource*>(kept));
  gc_assign(stack->m_data[5], static_cast<c_IAsyncEventSource*>(dropped));
  stack->p_Length(2);
  EXPECT_EQ(stack->p_Length(), 2);
  EXPECT_EQ(stack->m_data[5], nullptr);
  EXPECT_EQ(stack->p_Get(0), kept);
  stack->p_Length(40);  // within the array: no new one, the old slots stay cleared
  EXPECT_EQ(stack->m_data.Length(), 60);
  EXPECT_EQ(stack->p_Get(0), kept);
  EXPECT_EQ(stack->p_Get(5), nullptr);

  // m_new2 holds a copy: later changes to the source array do not show.
  Array<c_IAsyncEventSource*> data(2);
  gc_assign(data[1], static_cast<c_IAsyncEventSource*>(kept));
  c_Stack* copy = (new c_Stack())->m_new2(data);
  gc_assign(data[1], static_cast<c_IAsyncEventSource*>(dropped));
  EXPECT_EQ(copy->p_Length(), 2);
  EXPECT_EQ(copy->p_Get(1), kept);
}

}  // namespace
