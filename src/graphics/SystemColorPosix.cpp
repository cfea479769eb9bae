#include "graphics/Color.h"

namespace pixvane {

// Without Windows there is no colour scheme to follow: its defaults stand.
TColor SystemColor(uint32_t index) {
  return DefaultSystemColor(index);
}

}  // namespace pixvane
