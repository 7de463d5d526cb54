// Small window-system requests for the window tests, made the way a window
// manager or another program would:
//   x11_tool close WINDOW   asks the window to close (WM_DELETE_WINDOW)
//   x11_tool window NAME    shows a plain window named NAME until killed
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int Close(Display* display, Window window) {
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

int Show(Display* display, const char* name) {
  Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 700, 0, 200, 100, 0, 0, 0);
  XStoreName(display, window, name);
  XMapWindow(display, window);
  XSync(display, False);
  puts("shown");
  fflush(stdout);
  for (;;) pause();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: x11_tool close WINDOW | window NAME\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    fprintf(stderr, "x11_tool: no display\n");
    return 1;
  }
  if (strcmp(argv[1], "close") == 0) return Close(display, static_cast<Window>(strtoul(argv[2], nullptr, 0)));
  if (strcmp(argv[1], "window") == 0) return Show(display, argv[2]);
  return 2;
}
