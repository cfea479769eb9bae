#include "maker/FileKind.h"

#include <algorithm>
#include <string_view>

namespace pixvane::maker {
namespace {

bool HasAt(const std::vector<uint8_t>& bytes, size_t at, std::string_view text) {
  return bytes.size() >= at + text.size() &&
         std::equal(text.begin(), text.end(), bytes.begin() + static_cast<ptrdiff_t>(at),
                    [](char a, uint8_t b) { return static_cast<uint8_t>(a) == b; });
}

// HEIF files start with an "ftyp" box whose major brand names the coding.
bool IsHeic(const std::vector<uint8_t>& bytes) {
  if (!HasAt(bytes, 4, "ftyp")) return false;
  for (std::string_view brand : {"heic", "heix", "hevc", "hevx", "heim", "heis", "mif1", "msf1"})
    if (HasAt(bytes, 8, brand)) return true;
  return false;
}

// A PE image: the DOS header's e_lfanew points at "PE\0\0".
bool IsWindowsProgram(const std::vector<uint8_t>& bytes) {
  if (!HasAt(bytes, 0, "MZ") || bytes.size() < 0x40) return false;
  uint32_t peOffset =
      bytes[0x3C] | bytes[0x3D] << 8 | bytes[0x3E] << 16 | uint32_t{bytes[0x3F]} << 24;
  return HasAt(bytes, peOffset, std::string_view("PE\0\0", 4));
}

}  // namespace

std::string DescribeFileKind(const std::vector<uint8_t>& bytes) {
  if (HasAt(bytes, 0, "\xFF\xD8\xFF")) return "a JPEG picture";
  if (HasAt(bytes, 0, "\x89PNG\r\n\x1A\n")) return "a PNG picture";
  if (HasAt(bytes, 0, "GIF87a") || HasAt(bytes, 0, "GIF89a")) return "a GIF picture";
  if (HasAt(bytes, 0, "RIFF") && HasAt(bytes, 8, "WEBP")) return "a WebP picture";
  if (HasAt(bytes, 0, "RIFF") && HasAt(bytes, 8, "WAVE")) return "a WAV sound";
  if (IsHeic(bytes)) return "a HEIC picture";
  if (HasAt(bytes, 0, "BM")) return "a BMP picture";
  if (IsWindowsProgram(bytes)) return "a Windows program";
  return "";
}

bool IsPlayer(const std::vector<uint8_t>& bytes) {
  if (!IsWindowsProgram(bytes)) return false;
  // Resource strings are UTF-16LE; the description is plain ASCII.
  std::vector<uint8_t> wide;
  for (char c : std::string_view(PlayerDescription)) wide.insert(wide.end(), {uint8_t(c), 0});
  return std::search(bytes.begin(), bytes.end(), wide.begin(), wide.end()) != bytes.end();
}

}  // namespace pixvane::maker
