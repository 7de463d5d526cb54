// The one way the program dies on a fatal error: a message line, the debugger
// stop (a line protocol on the standard streams), then the exit. Also the
// orderly end of the program (vxError with the empty String) and the handler
// that turns fault signals into fatal errors.
#pragma once
#include "runtime/string.h"

extern const char* dbg_info;  // current debug position; nothing sets it
extern String dbg_exstack;    // stack trace saved by the last dbg_throw

// Empty message: the orderly end, status 0, after the end hooks. Otherwise fatal.
[[noreturn]] void vxError(const String& message);
// What must be closed or written before the process goes: run on the orderly
// end only, never on a fatal error, whose report must not wait on a device.
// Newest first, each once; a hook registered again is kept once.
void vx_at_orderly_end(void (*hook)());
// Runs the end hooks; for an end that returns rather than exits.
void vx_orderly_end();
[[noreturn]] void dbg_error(const char* message);
void dbg_stop();
String dbg_stacktrace();
[[noreturn]] void dbg_throw(const char* message);
int vxDebugStop();
void sighandler(int signal);
// Installs sighandler for SIGSEGV, SIGILL and SIGFPE, on a stack of its own,
// and makes exhaustion of the C++ heap a fatal error too.
void vx_install_fault_handlers();
