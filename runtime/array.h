// Array<T>: a fixed-length array stored as one collectable object, passed as a
// single pointer. Elements sit inline after the length and start as 0, null or
// the empty String. Each element type has one shared empty rep with the static
// colour, so an empty array never allocates and the collector never touches it.
// Indexing is not range-checked: callers keep indices below the length.
#pragma once
#include <new>
#include <type_traits>

#include "runtime/gc.h"
#include "runtime/string.h"

template <class T>
struct Array {
  struct Rep : gc_object {
    int length;

    Rep() : gc_object(gc_object::static_tag{}), length(0) {}

    explicit Rep(int n) : length(n) {
      T* e = data();
      for (int i = 0; i < n; ++i) new (e + i) T();
    }

    ~Rep() override {
      if constexpr (std::is_same_v<T, String>) {
        T* e = data();
        for (int i = 0; i < length; ++i) e[i].~T();
      }
    }

    // Object elements are marked depth-first, not queued.
    void mark() override {
      if constexpr (std::is_pointer_v<T>) {
        T* e = data();
        for (int i = 0; i < length; ++i) gc_mark_object(e[i]);
      }
    }

    T* data() { return reinterpret_cast<T*>(this + 1); }

    static Rep* make(int n) {
      void* block = gc_object_alloc(static_cast<int>(sizeof(Rep) + sizeof(T) * static_cast<size_t>(n)));
      return ::new (block) Rep(n);
    }

    // The shared empty rep of this element type.
    static Rep* empty() {
      static Rep nullRep;
      return &nullRep;
    }
  };

  static_assert(sizeof(Rep) % alignof(T) == 0, "elements must be aligned after the header");

  Array() : rep(Rep::empty()) {}
  explicit Array(int length) : rep(length > 0 ? Rep::make(length) : Rep::empty()) {}
  Array(const T* source, int length) : Array(length) {
    for (int i = 0; i < length; ++i) {
      if constexpr (std::is_pointer_v<T>) {
        gc_assign((*this)[i], source[i]);
      } else {
        (*this)[i] = source[i];
      }
    }
  }

  int Length() const { return rep->length; }
  T& operator[](int index) const { return rep->data()[index]; }
  T* begin() const { return rep->data(); }
  T* end() const { return rep->data() + rep->length; }

  Rep* rep;
};

// The write barrier for array handles held in fields and globals.
template <class T>
inline void gc_assign(Array<T>& target, const Array<T>& value) {
  gc_queue(value.rep);
  target = value;
}

// Marking helpers for array fields inside a class's mark().
template <class T>
inline void gc_queue(const Array<T>& a) {
  gc_queue(a.rep);
}
