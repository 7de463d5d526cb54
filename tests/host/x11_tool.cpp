// Asks a window to close the way a window manager does (WM_DELETE_WINDOW):
//   x11_tool close WINDOW
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  Display* display = argc == 3 && strcmp(argv[1], "close") == 0 ? XOpenDisplay(nullptr) : nullptr;
  if (!display) {
    fprintf(stderr, "usage: x11_tool close WINDOW, on a display\n");
    return 2;
  }
  Window window = static_cast<Window>(strtoul(argv[2], nullptr, 0));
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  Status sent = XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
  XCloseDisplay(display);
  return sent ? 0 : 1;
}
