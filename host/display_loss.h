// The X server going away under a running game (killed, or the session
// ended). Xlib then calls its IO error handler from inside whatever call
// noticed, and ends the process when the handler returns; by default with a
// message of its own and with the sound device still open.
#pragma once

// From now on a lost display prints "Display lost" on standard output, closes
// what the orderly end closes (the sound device, a recording, the report),
// touching neither the display nor the game, and ends with status 1. The
// state on disk is whatever the last save left there.
void VxEndOnDisplayLoss();
