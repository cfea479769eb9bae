#include <windows.h>

#include "graphics/Color.h"

namespace pixvane {

// The user's colour scheme, as the rest of the desktop draws with it.
TColor SystemColor(uint32_t index) {
  return GetSysColor(static_cast<int>(index));
}

}  // namespace pixvane
