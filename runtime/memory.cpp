#include "runtime/memory.h"

#include <cstdlib>

#include "runtime/fatal.h"

void* vx_malloc(size_t size) {
  void* block = malloc(size);
  if (!block && size) dbg_error("Out of memory");
  return block;
}

void* vx_realloc(void* block, size_t size) {
  void* grown = realloc(block, size);
  if (!grown && size) dbg_error("Out of memory");
  return grown;
}
