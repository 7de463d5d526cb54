// The collected heap: an incremental, non-moving, tri-colour mark-and-sweep
// collector over intrusive doubly-linked lists.
//
// Invariant: a black object never points to a white one. Every object sits on
// the list of its colour: white (unvisited this cycle) on gc_unmarked_list,
// grey (reached, fields not yet scanned) on gc_queued_list, black (reached and
// scanned) on gc_marked_list. The write barrier gc_assign greys every object
// stored into a field, global or array element, so a store made by the game
// between two collector steps can never hide a white object behind a black
// one. The meaning of the colour bit flips at every sweep (gc_markbit), so the
// survivors turn white again without being touched.
//
// Pacing: the host runs one step after every delegate call. A step's marking
// budget grows with the bytes allocated since the last sweep, so marking keeps
// pace with allocation and a cycle always ends once GC_CYCLE_BYTES have been
// allocated. Garbage is not destroyed at the sweep; it waits on gc_free_list
// and every allocation destroys about as many bytes of it as it asks for.
//
// Memory an object holds outside the collector (pixel bytes, textures, sound
// buffers) counts as allocation too: a few small objects can hold hundreds of
// megabytes, and their garbage must not wait for megabytes of new objects.
#pragma once
#include <cstddef>
#include <cstdint>
#include <type_traits>

// ---- Tunables ---------------------------------------------------------------
constexpr int GC_CYCLE_BYTES = 8 * 1024 * 1024;  // bytes of new objects that force a full cycle
constexpr int GC_CACHE_LIMIT = 64;               // blocks smaller than this (bytes) are recycled in gc_cache
constexpr int GC_LOCALS_MAX = 8192;              // entries of the local-root stack
constexpr int GC_STATIC_COLOUR = 3;              // colour of static objects: never equals gc_markbit

struct gc_object;
using gc_mark_roots_fn = void (*)();

// Base of every collectable object. The header fields are written by the
// constructor from the size gc_object_alloc recorded for this block.
struct gc_object {
  gc_object* succ;
  gc_object* pred;
  int flags;  // block size in bytes (a multiple of 8) | colour in bits 0-1

  gc_object();
  // The header links the object into the collector's lists: a copy would
  // share them (a copy assigned over a listed object makes a cycle, and a
  // copy's destructor unlinks the original).
  gc_object(const gc_object&) = delete;
  gc_object& operator=(const gc_object&) = delete;
  // An object still on a list is one whose constructor threw: it leaves its
  // list here. The collector unlinks garbage before destroying it.
  virtual ~gc_object();
  virtual void mark() {}

  static void* operator new(size_t size);
  // Only reached when a constructor throws: the block goes back before the
  // exception travels on.
  static void operator delete(void* block, size_t size);

  // Static objects (list heads, shared empty arrays): colour 3, on no list.
  struct static_tag {};
  explicit gc_object(static_tag);
};

// Base of interfaces; an interface pointer reaches its object by dynamic_cast.
struct gc_interface {
  virtual ~gc_interface() {}
};

// ---- Collector state ----------------------------------------------------------
extern int gc_markbit;
extern int gc_new_bytes;      // allocated since the last sweep
extern int gc_alloced_bytes;  // on the white, grey and black lists
extern int gc_marked_bytes;   // turned black in this cycle
extern int gc_free_bytes;     // waiting on gc_free_list
extern gc_object gc_unmarked_list, gc_queued_list, gc_marked_list, gc_free_list;
extern gc_object* gc_locals[GC_LOCALS_MAX];
extern gc_object** gc_locals_sp;

// ---- Allocation -----------------------------------------------------------------
void* gc_object_alloc(int size);
// Reports memory taken outside the collector on behalf of a collectable
// object. It counts as if the collector had allocated it: toward the end of
// the cycle, and toward the garbage destroyed to make room for it.
void gc_external_alloc(size_t bytes);

// ---- Colours and the write barrier -------------------------------------------------
inline int gc_colour(const gc_object* o) { return o->flags & 3; }
inline int gc_size(const gc_object* o) { return o->flags & ~7; }

void gc_move_to(gc_object* o, gc_object& list);

// Grey an object: a white object moves to the end of the queue.
inline void gc_queue(gc_object* o) {
  if (o && gc_colour(o) == gc_markbit) {
    o->flags ^= 1;
    gc_move_to(o, gc_queued_list);
  }
}

// Black an object at once and scan it (used by arrays of objects).
inline void gc_mark_object(gc_object* o) {
  if (o && gc_colour(o) == gc_markbit) {
    o->flags ^= 1;
    gc_marked_bytes += gc_size(o);
    gc_move_to(o, gc_marked_list);
    o->mark();
  }
}

inline void gc_queue(gc_interface* i) { gc_queue(dynamic_cast<gc_object*>(i)); }
inline void gc_mark_object(gc_interface* i) { gc_mark_object(dynamic_cast<gc_object*>(i)); }

// The write barrier: every store of an object reference into a field, a global
// or an array element goes through here.
template <class T, class U>
inline void gc_assign(T*& target, U* value) {
  gc_queue(value);
  target = value;
}

// ---- Cycles -------------------------------------------------------------------------
// gc_init1 empties the lists; gc_init2 installs the program's root marker and
// queues the roots for the first cycle.
void gc_init1();
void gc_init2(gc_mark_roots_fn roots);
void gc_mark();                    // queue the roots
void gc_mark_queued(int64_t limit);
void gc_sweep();
void gc_collect();                 // one step
void gc_collect_all();             // finish the current cycle at once

// True when the collector holds this address on one of its lists.
bool gc_holds(const void* address);
