// Opening a file by a 16-bit, zero-terminated path and mode, as the host's
// file access is written; the path reaches the file system as UTF-8.
#pragma once
#include <cstdio>

#include "runtime/string.h"

FILE* _wfopen(const Char* path, const Char* mode);
