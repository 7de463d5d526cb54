#include "runtime/gc.h"

#include <climits>
#include <cstdlib>
#include <new>

#include "runtime/fatal.h"
#include "runtime/memory.h"

int gc_markbit = 0;
int gc_new_bytes = 0;
int gc_alloced_bytes = 0;
int gc_marked_bytes = 0;
int gc_free_bytes = 0;

gc_object gc_unmarked_list{gc_object::static_tag{}};
gc_object gc_queued_list{gc_object::static_tag{}};
gc_object gc_marked_list{gc_object::static_tag{}};
gc_object gc_free_list{gc_object::static_tag{}};

gc_object* gc_locals[GC_LOCALS_MAX];
gc_object** gc_locals_sp = gc_locals;

namespace {

// One singly-linked cache of freed blocks per size 8 * k (k = 0..7), linked
// through their first word.
struct gc_block {
  gc_block* next;
};
gc_block* gc_cache[GC_CACHE_LIMIT / 8];

gc_mark_roots_fn gc_roots = nullptr;

// Blocks handed out by gc_object_alloc whose constructor has not run yet.
// A new-expression may allocate again while evaluating its arguments, so the
// constructor finds its own block by address rather than taking the last one.
struct Pending {
  void* block;
  int size;
};
constexpr int GC_PENDING_MAX = 64;
Pending gc_pending[GC_PENDING_MAX];
int gc_pending_count = 0;

// Returns the recorded size of a pending block and forgets it; -1 when the
// block did not come from gc_object_alloc.
int gc_take_pending(void* block) {
  for (int i = gc_pending_count - 1; i >= 0; --i) {
    if (gc_pending[i].block == block) {
      int size = gc_pending[i].size;
      gc_pending[i] = gc_pending[--gc_pending_count];
      return size;
    }
  }
  return -1;
}

void gc_clear(gc_object& head) { head.succ = head.pred = &head; }

void gc_unlink(gc_object* o) {
  o->pred->succ = o->succ;
  o->succ->pred = o->pred;
}

void gc_append(gc_object* o, gc_object& list) {
  o->succ = &list;
  o->pred = list.pred;
  list.pred->succ = o;
  list.pred = o;
}

// Moves every object of `from` to the end of `to` in O(1).
void gc_splice(gc_object& from, gc_object& to) {
  if (from.succ == &from) return;
  gc_object* first = from.succ;
  gc_object* last = from.pred;
  first->pred = to.pred;
  to.pred->succ = first;
  last->succ = &to;
  to.pred = last;
  gc_clear(from);
}

void gc_release_block(void* block, int size) {
  if (size < GC_CACHE_LIMIT) {
    gc_cache[size / 8] = new (block) gc_block{gc_cache[size / 8]};
  } else {
    free(block);
  }
}

// Runs the object's destructor and returns its block.
void gc_object_free(gc_object* o) {
  int size = gc_size(o);
  o->~gc_object();
  gc_free_bytes -= size;
  gc_release_block(o, size);
}

// Lazy destruction: destroys about `bytes` of garbage, oldest first.
void gc_destroy_garbage(int bytes) {
  int target = gc_free_bytes - bytes;
  if (target < 0) target = 0;
  while (gc_free_bytes > target) {
    gc_object* o = gc_free_list.succ;
    if (o == &gc_free_list) {
      gc_free_bytes = 0;
      break;
    }
    gc_unlink(o);
    o->succ = nullptr;
    gc_object_free(o);
  }
}

bool gc_list_holds(const gc_object& head, const void* address) {
  for (const gc_object* o = head.succ; o != &head; o = o->succ) {
    if (o == address) return true;
  }
  return false;
}

}  // namespace

gc_object::gc_object() {
  int size = gc_take_pending(this);
  if (size < 0) dbg_error("Collectable object not allocated by the collector");
  flags = size | gc_markbit;
  gc_append(this, gc_unmarked_list);
  gc_alloced_bytes += size;
}

gc_object::gc_object(static_tag) : succ(this), pred(this), flags(GC_STATIC_COLOUR) {}

gc_object::~gc_object() {
  if (succ && gc_colour(this) != GC_STATIC_COLOUR) {
    gc_unlink(this);
    gc_alloced_bytes -= gc_size(this);
  }
}

void* gc_object::operator new(size_t size) { return gc_object_alloc(static_cast<int>(size)); }

void gc_object::operator delete(void* block, size_t size) {
  gc_take_pending(block);  // still pending when the base constructor never ran
  gc_release_block(block, (static_cast<int>(size) + 7) & ~7);
}

void* gc_object_alloc(int size) {
  size = (size + 7) & ~7;
  gc_new_bytes += size;
  gc_destroy_garbage(size);

  void* block;
  if (size < GC_CACHE_LIMIT && gc_cache[size / 8]) {
    gc_block* cached = gc_cache[size / 8];
    gc_cache[size / 8] = cached->next;
    block = cached;
  } else {
    block = vx_malloc(static_cast<size_t>(size));
  }
  if (gc_pending_count == GC_PENDING_MAX) dbg_error("Too many objects under construction");
  gc_pending[gc_pending_count++] = {block, size};
  return block;
}

void gc_external_alloc(size_t bytes) {
  int size = bytes < static_cast<size_t>(INT_MAX) ? static_cast<int>(bytes) : INT_MAX;
  gc_new_bytes = size < INT_MAX - gc_new_bytes ? gc_new_bytes + size : INT_MAX;
  gc_destroy_garbage(size);
}

void gc_move_to(gc_object* o, gc_object& list) {
  gc_unlink(o);
  gc_append(o, list);
}

void gc_init1() {
  gc_clear(gc_unmarked_list);
  gc_clear(gc_queued_list);
  gc_clear(gc_marked_list);
  gc_clear(gc_free_list);
}

void gc_init2(gc_mark_roots_fn roots) {
  gc_roots = roots;
  gc_mark();
}

void gc_mark() {
  if (gc_roots) gc_roots();
}

void gc_mark_queued(int64_t limit) {
  while (gc_marked_bytes < limit && gc_queued_list.succ != &gc_queued_list) {
    gc_object* o = gc_queued_list.succ;
    gc_move_to(o, gc_marked_list);
    gc_marked_bytes += gc_size(o);
    o->mark();
  }
}

void gc_sweep() {
  int garbage = gc_alloced_bytes - gc_marked_bytes;
  if (garbage != 0) {
    gc_splice(gc_unmarked_list, gc_free_list);
    gc_free_bytes += garbage;
  }
  gc_splice(gc_marked_list, gc_unmarked_list);
  gc_alloced_bytes = gc_marked_bytes;
  gc_marked_bytes = 0;
  gc_markbit ^= 1;
}

void gc_collect() {
  gc_locals_sp = gc_locals;
  if (gc_new_bytes > GC_CYCLE_BYTES) {
    gc_mark_queued(INT64_MAX);
    gc_sweep();
    gc_mark();
    gc_new_bytes = 0;
  } else {
    int64_t newBytes = gc_new_bytes;
    int64_t oldBytes = gc_alloced_bytes - gc_new_bytes;
    gc_mark_queued(newBytes + oldBytes * newBytes / GC_CYCLE_BYTES);
  }
}

void gc_collect_all() {
  for (gc_object** local = gc_locals; local < gc_locals_sp; ++local) gc_mark_object(*local);
  gc_mark_queued(INT64_MAX);
  gc_sweep();
  gc_mark();
  gc_new_bytes = 0;
}

bool gc_holds(const void* address) {
  return gc_list_holds(gc_unmarked_list, address) || gc_list_holds(gc_queued_list, address) ||
         gc_list_holds(gc_marked_list, address) || gc_list_holds(gc_free_list, address);
}
