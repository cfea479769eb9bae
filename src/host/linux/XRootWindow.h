#pragma once
#include <cstdint>

namespace pixvane {

// The root window of the default X display; 0 when there is no display.
// Apart from the rest: Xlib's headers define macros (None, Bool, Status)
// that clash with the show's own names.
uint64_t XRootWindowId();

}  // namespace pixvane
