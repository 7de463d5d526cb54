// The app's registration with the host, the asynchronous-event pump and the
// stack of its sources, and the random sequence.
#include "framework/app.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>

#include "framework/async_event.h"
#include "framework/game_delegate.h"
#include "framework/random.h"
#include "framework/stack.h"
#include "host/vx_game.h"

namespace {

TEST(App, TheFirstAppRegistersAndHandsANewDelegateToTheHostASecondIsFatal) {
  VxGame host;
  vx_app__game = &host;
  c_App* app = (new c_App())->m_new();
  EXPECT_EQ(vx_app__app, app);
  ASSERT_NE(vx_app__delegate, nullptr);
  EXPECT_EQ(host.Delegate(), vx_app__delegate);
  EXPECT_EQ(vx_app__delegate->m_graphics, nullptr);  // devices come with StartGame
  EXPECT_EXIT(
      {
        dup2(2, 1);  // fatal errors print on standard output; the death test reads standard error
        close(0);    // no debugger attached
        (new c_App())->m_new();
      },
      ::testing::ExitedWithCode(255), "Vorlix Runtime Error : App has already been created");
  vx_app__app = nullptr;
  vx_app__delegate = nullptr;
  vx_app__game = nullptr;
}

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

// The generator's sequence is part of the game's behaviour: the same seed must give the same run.
TEST(Random, SequenceFromSeed1234) {
  vx_random_Seed = 1234;
  EXPECT_NEAR(vx_random_Rnd(), 0.7143, 1e-4);
  EXPECT_EQ(static_cast<unsigned>(vx_random_Seed), 3067928073u);
  EXPECT_EQ(vx_random_Rnd2(5, 5), 5.0f);  // an empty range still advances the state by one step
  EXPECT_EQ(static_cast<unsigned>(vx_random_Seed), 889114580u);
}

}  // namespace
