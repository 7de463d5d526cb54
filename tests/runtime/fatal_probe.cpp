// Start-up and fatal errors in a process of their own: the argument names the case.
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/vx_game.h"
#include "runtime/array.h"
#include "runtime/fatal.h"
#include "runtime/memory.h"
#include "runtime/print.h"
#include "runtime/startup.h"

namespace {

constexpr size_t ADDRESS_SLACK = 32 << 20;  // address space granted beyond what is in use
constexpr size_t LARGEST_BLOCK = 1 << 20;
constexpr size_t SMALL_BLOCK = 256;  // below this the sizes go down in steps of 8
#if defined(__SANITIZE_ADDRESS__)
// ASan serves blocks up to 128 KiB from space reserved at start-up, which the limit does not cover.
constexpr size_t SMALLEST_BLOCK = 256 << 10;
#else
constexpr size_t SMALLEST_BLOCK = 8;
#endif

volatile bool deeper = true;
void* volatile taken = nullptr;  // the blocks Exhaust takes, linked through their first word

int Recurse(int depth) {
  volatile char frame[512];
  frame[0] = static_cast<char>(depth);
  return deeper ? Recurse(depth + 1) + frame[0] : 0;
}

// Limits the address space to a little more than is in use, takes the rest
// with plain mallocs, then asks the runtime for a large block.
void Exhaust() {
  long pages = 0;
  FILE* statm = fopen("/proc/self/statm", "r");
  if (!statm || fscanf(statm, "%ld", &pages) != 1) abort();
  fclose(statm);
  rlimit limit;
  limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + ADDRESS_SLACK;
  if (setrlimit(RLIMIT_AS, &limit) != 0) abort();
  for (size_t size = LARGEST_BLOCK; size >= SMALLEST_BLOCK; size -= size > SMALL_BLOCK ? size / 2 : 8) {
    while (void* block = malloc(size)) {
      *static_cast<void**>(block) = taken;
      taken = block;
    }
  }
  Array<int>(static_cast<int>(LARGEST_BLOCK));
}

}  // namespace

int main(int argc, const char** argv) {
  // Start-up hands the game's app to the host; this one never opens a window.
  VxGame::_game = new VxGame();
  vx_std_main(argc, argv);
  // Registered twice, run once, and only on the orderly end.
  for (int i = 0; i < 2; ++i) vx_at_orderly_end([] { fputs("end hook\n", stdout); });
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
  if (!strcmp(mode, "ill")) raise(SIGILL);
  if (!strcmp(mode, "recurse")) return Recurse(0);
  if (!strcmp(mode, "oom")) vx_malloc(SIZE_MAX / 2);
  if (!strcmp(mode, "exhaust")) Exhaust();
  if (!strcmp(mode, "print")) {
    const Char text[] = {'x', 0xE9, 0x20AC, 0xD83D};
    vxPrint(String(text, 4));
  }
  return 0;
}
