// The X display as a test drives it: xdotool, waiting for windows and a
// window manager, from the driver library.
#pragma once
#include "tools/xdrive/x_display.h"
