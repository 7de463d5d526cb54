#include "runtime/startup.h"

#include "framework/random.h"
#include "runtime/fatal.h"
#include "runtime/gc.h"

int argc = 0;
const char** argv = nullptr;

namespace {

// The collector's roots: every module global that holds an object, queued in
// this order at the start of each cycle.
void vx_mark_roots() {}

}  // namespace

int vxInit() {
  vx_random_Seed = 1234;
  return 0;
}

int vxMain() { return 0; }

int vx_std_main(int count, const char** arguments) {
  argc = count;
  argv = arguments;
  vx_install_fault_handlers();
  gc_init1();
  vxInit();
  gc_init2(vx_mark_roots);
  return vxMain();
}
