#include "runtime/print.h"

#include <cstdio>

namespace {
std::string vxPrintBuffer;  // reused by every vxPrint: cleared, refilled, never shrunk
std::string dbgPrintBuffer;
}  // namespace

int vxPrint(const String& text) {
  vxPrintBuffer.clear();
  vx_utf8_append(text, vxPrintBuffer);
  vxPrintBuffer += '\n';
  fwrite(vxPrintBuffer.data(), 1, vxPrintBuffer.size(), stdout);
  fflush(stdout);
  return 0;
}

int vxDebugLog(const String& text) { return vxPrint(text); }

int dbg_print(const String& text) {
  dbgPrintBuffer.clear();
  for (int i = 0; i < text.Length(); ++i) dbgPrintBuffer += static_cast<char>(text[i]);
  dbgPrintBuffer += '\n';
  fwrite(dbgPrintBuffer.data(), 1, dbgPrintBuffer.size(), stderr);
  fflush(stderr);
  return 0;
}
