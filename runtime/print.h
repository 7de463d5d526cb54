// The runtime's two output channels: program text on standard output (UTF-8)
// and the debugger's lines on standard error (one byte per character).
#pragma once
#include "runtime/string.h"

int vxPrint(const String& text);
int vxDebugLog(const String& text);
int dbg_print(const String& text);
