#include "runtime/fatal.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "runtime/gc.h"
#include "runtime/object.h"
#include "runtime/print.h"

const char* dbg_info = nullptr;
String dbg_exstack;

namespace {

constexpr int DBG_LINE_MAX = 256;  // a debugger command line, newline and terminator included
constexpr int EXIT_FATAL = -1;     // seen by the parent as 255

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

void vxError(const String& message) {
  if (message.Empty()) exit(0);
  std::string text = message.ToCString();
  dbg_error(text.c_str());
}

void dbg_error(const char* message) {
  // One character per byte, zero-extended: a byte above 0x7F reads as Latin-1.
  std::vector<Char> text(message, message + strlen(message));
  for (Char& c : text) c &= 0xFF;
  String line = String("Vorlix Runtime Error : ") + String(text.data(), static_cast<int>(text.size()));
  for (;;) {
    vxPrint(line);
    vxPrint(dbg_stacktrace());
    dbg_stop();
  }
}

void dbg_stop() {
  fprintf(stderr, "{{~~%s~~}}\n", dbg_info ? dbg_info : "");
  fflush(stderr);
  dbg_print(String());
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
  signal(SIGSEGV, sighandler);
  signal(SIGILL, sighandler);
  signal(SIGFPE, sighandler);
}
