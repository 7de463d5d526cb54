// C-heap allocation for the runtime's own buffers (String reps, print buffers,
// collector blocks). Running out of memory is fatal: the program ends through
// the fatal-error report instead of crashing on a null pointer later.
#pragma once
#include <cstddef>

void* vx_malloc(size_t size);
void* vx_realloc(void* block, size_t size);
void* vx_calloc(size_t count, size_t size);
// The fatal report "Out of memory"; it allocates nothing.
[[noreturn]] void vx_out_of_memory();
