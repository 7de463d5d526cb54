#include "runtime/fatal.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "runtime/gc.h"
#include "runtime/memory.h"
#include "runtime/object.h"
#include "runtime/print.h"

const char* dbg_info = nullptr;
String dbg_exstack;

namespace {

// ---- Tunables ------------------------------------------------------------------------
constexpr int DBG_LINE_MAX = 256;              // a debugger command line, newline and terminator included
constexpr int EXIT_FATAL = -1;                 // seen by the parent as 255
constexpr int REPORT_CHUNK = 256;              // bytes of the report written at a time
constexpr size_t FAULT_STACK_BYTES = 1 << 18;  // the fault handler's own stack
constexpr int FAULT_SIGNALS[] = {SIGSEGV, SIGILL, SIGFPE};

// The report is written through static storage, never the heap: it must
// still come out when memory is exhausted.
char reportChunk[REPORT_CHUNK];
int reportUsed = 0;

// A stack overflow leaves no room to run the handler on the faulting stack.
alignas(16) char faultStack[FAULT_STACK_BYTES];

std::vector<void (*)()> endHooks;

void ReportFlush() {
  fwrite(reportChunk, 1, static_cast<size_t>(reportUsed), stdout);
  reportUsed = 0;
}

void ReportByte(unsigned byte) {
  if (reportUsed == REPORT_CHUNK) ReportFlush();
  reportChunk[reportUsed++] = static_cast<char>(byte);
}

// One character per byte, zero-extended (a byte above 0x7F reads as
// Latin-1), written as UTF-8 like everything on standard output.
void ReportText(const char* text) {
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    if (*p < 0x80) {
      ReportByte(*p);
    } else {
      ReportByte(0xC0 | *p >> 6);
      ReportByte(0x80 | (*p & 0x3F));
    }
  }
}

void ReportLineEnd() {
  ReportByte('\n');
  ReportFlush();
  fflush(stdout);
}

// The '@' command: the text after it is an object address in "%p" form. Only
// an object the collector currently holds is asked for its debug text;
// anything else gives the empty line instead of a call through a stray pointer.
String DebugObjectAt(const char* text) {
  void* address = nullptr;
  if (sscanf(text, "%p", &address) != 1 || !address || !gc_holds(address)) return String();
  Object* object = dynamic_cast<Object*>(static_cast<gc_object*>(address));
  return object ? object->debug() : String();
}

}  // namespace

void vx_at_orderly_end(void (*hook)()) {
  if (std::find(endHooks.begin(), endHooks.end(), hook) == endHooks.end()) endHooks.push_back(hook);
}

// Each hook leaves the list before it runs: one that ends the program itself
// is not run again.
void vx_orderly_end() {
  while (!endHooks.empty()) {
    void (*hook)() = endHooks.back();
    endHooks.pop_back();
    hook();
  }
}

void vxError(const String& message) {
  if (message.Empty()) {
    vx_orderly_end();
    exit(0);
  }
  std::string text = message.ToCString();
  dbg_error(text.c_str());
}

// The message line, then the stack trace line (empty while dbg_info is
// unset), as vxPrint would write them but without allocating.
void dbg_error(const char* message) {
  for (;;) {
    ReportText("Vorlix Runtime Error : ");
    ReportText(message);
    ReportLineEnd();
    if (dbg_info && *dbg_info) {
      ReportText(dbg_info);
      ReportText("\n");
    }
    ReportLineEnd();
    dbg_stop();
  }
}

void dbg_stop() {
  // The marker line and an empty one, as dbg_print writes it.
  fprintf(stderr, "{{~~%s~~}}\n\n", dbg_info ? dbg_info : "");
  fflush(stderr);
  for (;;) {
    char line[DBG_LINE_MAX];
    if (!fgets(line, sizeof line, stdin)) exit(EXIT_FATAL);
    char* newline = strchr(line, '\n');
    if (!newline) exit(EXIT_FATAL);
    *newline = 0;
    switch (line[0]) {
      case '?':
        break;
      case '@':
        dbg_print(DebugObjectAt(line + 1));
        break;
      case 'r':
      case 's':
      case 'e':
      case 'l':
        return;
      case 'q':
        exit(0);
      default:
        printf("????? %s ?????", line);
        fflush(stdout);
        exit(EXIT_FATAL);
    }
  }
}

String dbg_stacktrace() {
  if (!dbg_info || !*dbg_info) return String();
  return String(dbg_info) + String("\n");
}

void dbg_throw(const char* message) {
  dbg_exstack = dbg_stacktrace();
  throw message;
}

int vxDebugStop() {
  dbg_stop();
  return 0;
}

void sighandler(int signal) {
  switch (signal) {
    case SIGFPE:
      dbg_error("Floating point exception");
    case SIGSEGV:
      dbg_error("Memory access violation");
    case SIGILL:
      dbg_error("Illegal instruction");
    default:
      dbg_error("Unknown signal");
  }
}

void vx_install_fault_handlers() {
  stack_t stack{};
  stack.ss_sp = faultStack;
  stack.ss_size = sizeof faultStack;
  sigaltstack(&stack, nullptr);
  struct sigaction action {};
  action.sa_handler = sighandler;
  action.sa_flags = SA_ONSTACK;
  sigemptyset(&action.sa_mask);
  for (int fault : FAULT_SIGNALS) sigaction(fault, &action, nullptr);
  // The C++ heap runs out through the same report as the runtime's own.
  std::set_new_handler(vx_out_of_memory);
}
