#include "host/display_loss.h"

#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdio>

#include "runtime/fatal.h"
#include "runtime/print.h"

namespace {

constexpr int EXIT_DISPLAY_LOST = 1;

int DisplayLost(Display*) {
  vxPrint(String("Display lost"));
  vx_orderly_end();
  // Not exit(): the GL driver's exit handlers would talk to the lost display.
  fflush(nullptr);
  _exit(EXIT_DISPLAY_LOST);
}

}  // namespace

void VxEndOnDisplayLoss() { XSetIOErrorHandler(DisplayLost); }
