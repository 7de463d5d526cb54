// The collector: nothing reachable is ever freed, garbage goes lazily, marking keeps pace.
#include <gtest/gtest.h>

#include <set>
#include <type_traits>
#include <vector>

#include "runtime/array.h"
#include "runtime/gc.h"
#include "runtime/object.h"

namespace {

// A copy would share the list links of the original.
static_assert(!std::is_copy_constructible_v<Object> && !std::is_copy_assignable_v<Object> &&
              !std::is_move_constructible_v<Object> && !std::is_move_assignable_v<Object>);

std::set<int> destroyed;  // ids of the Nodes destroyed so far
int nextId = 0;

struct Node : Object {
  Node* fields[3] = {nullptr, nullptr, nullptr};
  Array<Node*> items;
  int id = nextId++;
  ~Node() override { destroyed.insert(id); }
  void mark() override {
    for (Node* f : fields) gc_queue(f);
    gc_queue(items);
  }
};

constexpr int kRoots = 8;
Node* roots[kRoots];

bool OnList(const gc_object& head, const gc_object* o) {
  for (const gc_object* p = head.succ; p != &head; p = p->succ) {
    if (p == o) return true;
  }
  return false;
}

// Every leftover of earlier tests destroyed, and a fresh cycle with the test roots.
struct Collector : testing::Test {
  void SetUp() override {
    for (Node*& r : roots) r = nullptr;
    gc_init2([] {
      for (Node* r : roots) gc_queue(r);
    });
    Sweep();
    destroyed.clear();
  }
  // Two whole cycles, then raw blocks handed straight back until allocation has destroyed all garbage.
  static void Sweep() {
    for (int i = 0; i < 2; ++i) gc_collect_all();
    while (gc_free_bytes > 0) gc_object::operator delete(gc_object_alloc(8), 8);
  }
};

TEST_F(Collector, BarrierKeepsAnObjectStoredIntoABlackHolderMidCycle) {
  gc_assign(roots[0], new Node);
  gc_collect_all();           // roots[0] is queued for the new cycle
  gc_mark_queued(INT64_MAX);  // ... and now black
  Node* holder = roots[0];
  ASSERT_TRUE(OnList(gc_marked_list, holder));
  Node* child = new Node;  // white
  gc_assign(holder->fields[0], child);
  Node* unguarded = new Node;  // stored without the barrier: lost at the sweep
  holder->fields[1] = unguarded;
  gc_collect_all();
  EXPECT_TRUE(OnList(gc_unmarked_list, child));
  EXPECT_TRUE(OnList(gc_free_list, unguarded));
  holder->fields[1] = nullptr;
}

TEST_F(Collector, GarbageIsDestroyedOnlyAfterItsSweepByLaterAllocationOrMemoryHeldOutside) {
  Node* n = new Node;
  gc_assign(roots[0], n);
  gc_collect_all();
  roots[0] = nullptr;
  gc_collect_all();  // still black from the last cycle: survives once more
  EXPECT_FALSE(OnList(gc_free_list, n));
  gc_collect_all();
  EXPECT_TRUE(OnList(gc_free_list, n));
  EXPECT_TRUE(destroyed.empty());
  new Object;  // asks for about as many bytes: destroys it
  EXPECT_EQ(destroyed.size(), 1u);
  EXPECT_EQ(gc_free_bytes, 0);

  new Node;
  gc_external_alloc(GC_CYCLE_BYTES / 2);
  gc_collect();
  EXPECT_EQ(gc_free_bytes, 0) << "half a cycle held outside: no sweep yet";
  gc_external_alloc(GC_CYCLE_BYTES / 2 + 1);
  gc_collect();
  EXPECT_GT(gc_free_bytes, 0);
  EXPECT_EQ(destroyed.size(), 1u);
  gc_external_alloc(1 << 20);
  EXPECT_EQ(destroyed.size(), 2u);
}

TEST_F(Collector, AStepMarksTheNewBytesAndTheirShareOfTheOldHeapAndACycleOfAllocationSweepsAtOnce) {
  // A long chain makes an old heap; an eighth of a cycle of garbage follows.
  gc_assign(roots[0], new Node);
  Node* tail = roots[0];
  for (int i = 0; i < 20000; ++i, tail = tail->fields[0]) gc_assign(tail->fields[0], new Node);
  gc_collect_all();
  while (gc_new_bytes < GC_CYCLE_BYTES / 8) new Object;
  int64_t fresh = gc_new_bytes, old = gc_alloced_bytes - fresh, budget = fresh + old * fresh / GC_CYCLE_BYTES;
  ASSERT_GT(old, budget);
  gc_collect();
  EXPECT_GE(gc_marked_bytes, budget);
  EXPECT_LT(gc_marked_bytes, budget + static_cast<int64_t>(sizeof(Node)) + 8);

  int markbit = gc_markbit;
  while (gc_new_bytes <= GC_CYCLE_BYTES) new Object;
  gc_collect();
  EXPECT_NE(gc_markbit, markbit);
  EXPECT_EQ(gc_new_bytes, 0);
  EXPECT_TRUE(destroyed.empty());
}

TEST_F(Collector, ArraysMarkTheirObjectsReleaseTheirStringsAndSharedEmptiesStayOffTheLists) {
  gc_assign(roots[0], new Node);
  Array<Node*> nodes(2);
  gc_assign(roots[0]->items, nodes);
  gc_assign(nodes[1], new Node);
  String text("kept by the array");
  {
    Array<String> strings(1);
    strings[0] = text;
    EXPECT_EQ(text.rep->refs, 2);
  }
  Array<int> ints;
  Array<String> strings;
  Sweep();
  EXPECT_TRUE(destroyed.empty());
  EXPECT_EQ(text.rep->refs, 1);
  for (gc_object* rep : {static_cast<gc_object*>(ints.rep), static_cast<gc_object*>(strings.rep),
                         static_cast<gc_object*>(Array<Node*>().rep)}) {
    EXPECT_EQ(gc_colour(rep), GC_STATIC_COLOUR);
    EXPECT_EQ(rep->succ, rep);
  }
  roots[0] = nullptr;
}

}  // namespace
