#include "runtime/memory.h"

#include <cstdlib>

#include "runtime/fatal.h"

void* vx_malloc(size_t size) {
  void* block = malloc(size);
  if (!block && size) vx_out_of_memory();
  return block;
}

void* vx_realloc(void* block, size_t size) {
  void* grown = realloc(block, size);
  if (!grown && size) vx_out_of_memory();
  return grown;
}

void* vx_calloc(size_t count, size_t size) {
  void* block = calloc(count, size);
  if (!block && count && size) vx_out_of_memory();
  return block;
}

void vx_out_of_memory() { dbg_error("Out of memory"); }
