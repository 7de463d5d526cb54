// A small program for the process-level tests of start-up and fatal errors:
// the first argument names what it does.
#include <csignal>
#include <cstdint>
#include <cstring>

#include "host/vx_game.h"
#include "runtime/fatal.h"
#include "runtime/memory.h"
#include "runtime/print.h"
#include "runtime/startup.h"

int main(int argc, const char** argv) {
  // Start-up hands the game's app to the host, so there must be one, as in
  // the real program; this one never opens a window.
  VxGame::_game = new VxGame();
  vx_std_main(argc, argv);
  const char* mode = argc > 1 ? argv[1] : "";
  if (!strcmp(mode, "fatal")) vxError(String("Something broke"));
  if (!strcmp(mode, "wide")) {
    const Char text[] = {'A', 0x20AC, 'B'};
    vxError(String(text, 3));
  }
  if (!strcmp(mode, "end")) vxError(String());
  if (!strcmp(mode, "segv")) {
    volatile uintptr_t nowhere = 8;
    return *reinterpret_cast<volatile int*>(nowhere);
  }
  if (!strcmp(mode, "fpe")) raise(SIGFPE);
  if (!strcmp(mode, "oom")) vx_malloc(SIZE_MAX / 2);
  if (!strcmp(mode, "print")) {
    const Char text[] = {'x', 0xE9, 0x20AC, 0xD83D};
    vxPrint(String(text, 4));
  }
  return 0;
}
