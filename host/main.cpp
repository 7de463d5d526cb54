#include "runtime/startup.h"

int main(int argc, const char** argv) {
  vx_std_main(argc, argv);
  return 0;
}
