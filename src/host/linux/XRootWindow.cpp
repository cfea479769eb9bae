#include "host/linux/XRootWindow.h"

#include <X11/Xlib.h>

namespace pixvane {

uint64_t XRootWindowId() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 0;
  uint64_t root = DefaultRootWindow(display);
  XCloseDisplay(display);
  return root;
}

}  // namespace pixvane
