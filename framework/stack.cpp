#include "framework/stack.h"

c_IAsyncEventSource* c_Stack::m_NIL = nullptr;

namespace {

constexpr int GROWTH_EXTRA = 10;  // slots added beyond doubling when the array grows

}  // namespace

c_Stack* c_Stack::m_new2(Array<c_IAsyncEventSource*> data) {
  gc_assign(m_data, Array<c_IAsyncEventSource*>(data.begin(), data.Length()));
  m_length = data.Length();
  return this;
}

int c_Stack::p_Length(int length) {
  if (length >= m_length && length > m_data.Length()) {
    int capacity = 2 * m_length + GROWTH_EXTRA;
    Array<c_IAsyncEventSource*> grown(capacity > length ? capacity : length);
    for (int i = 0; i < m_length; ++i) gc_assign(grown[i], m_data[i]);
    gc_assign(m_data, grown);
  }
  for (int i = length; i < m_length; ++i) gc_assign(m_data[i], m_NIL);
  m_length = length;
  return 0;
}
