// Object: the base of every language class; ThrowableObject: the root of the
// language's exceptions, which are thrown as ThrowableObject pointers.
#pragma once
#include "runtime/gc.h"
#include "runtime/string.h"

struct Object : gc_object {
  virtual bool Equals(Object* other) { return this == other; }
  virtual int Compare(Object* other);
  virtual String debug() { return String("+Object\n"); }
};

struct ThrowableObject : Object {};
