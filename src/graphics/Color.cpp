#include "graphics/Color.h"

#include <iterator>

namespace pixvane {
namespace {

// Windows' default system colours (00BBGGRR) by index, as a fresh Windows 10
// profile has them.
constexpr TColor SystemColors[] = {
    0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0x000000, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xD77800, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xE1FFFF, 0x000000, 0xCC6600, 0xEAD1B9, 0xF2E4D7, 0xD77800, 0xF0F0F0,
};

bool IsSystemColor(int32_t color) {
  return (static_cast<uint32_t>(color) & 0x80000000u) != 0;
}

}  // namespace

TColor DefaultSystemColor(uint32_t index) {
  return index < std::size(SystemColors) ? SystemColors[index] : 0;
}

TColor ColorToRgb(int32_t color) {
  if (IsSystemColor(color)) return DefaultSystemColor(color & 0xFF);
  return static_cast<uint32_t>(color) & 0xFFFFFF;
}

TColor ScreenColorToRgb(int32_t color) {
  if (IsSystemColor(color)) return SystemColor(color & 0xFF);
  return static_cast<uint32_t>(color) & 0xFFFFFF;
}

}  // namespace pixvane
