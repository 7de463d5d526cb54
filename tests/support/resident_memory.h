// How much memory this process has resident, for tests that hold memory flat.
#pragma once
#include <cstddef>

// Bytes of this process resident in memory now.
size_t ResidentBytes();
