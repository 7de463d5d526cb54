#include "tests/support/resident_memory.h"

#include <unistd.h>

#include <cstdio>

size_t ResidentBytes() {
  long pages = 0, resident = 0;
  FILE* statm = fopen("/proc/self/statm", "r");
  if (!statm) return 0;
  if (fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
  fclose(statm);
  return static_cast<size_t>(resident) * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}
