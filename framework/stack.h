// A growable stack of asynchronous event sources.
#pragma once
#include "framework/async_event.h"
#include "runtime/array.h"
#include "runtime/object.h"

struct c_Stack : Object {
  static c_IAsyncEventSource* m_NIL;  // written into vacated slots

  Array<c_IAsyncEventSource*> m_data;
  int m_length = 0;

  c_Stack* m_new() { return this; }
  // Holds a copy of `data`.
  c_Stack* m_new2(Array<c_IAsyncEventSource*> data);
  int p_Length() { return m_length; }
  int p_Length(int length);
  // No range check: callers stay below the length.
  c_IAsyncEventSource* p_Get(int index) { return m_data[index]; }

  void mark() override { gc_queue(m_data); }
};
