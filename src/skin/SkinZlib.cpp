#include "skin/SkinZlib.h"

#include <zlib.h>

#include <algorithm>

#include "base/Errors.h"

namespace pixvane {
namespace {

[[noreturn]] void Damaged() {
  throw EReadError("Skin data is damaged");
}

}  // namespace

std::vector<uint8_t> ZlibDeflate(const uint8_t* data, size_t size, int level) {
  uLongf length = compressBound(static_cast<uLong>(size));
  std::vector<uint8_t> out(length);
  if (compress2(out.data(), &length, data, static_cast<uLong>(size), level) != Z_OK)
    throw EError("Compression failed");
  out.resize(length);
  return out;
}

std::vector<uint8_t> ZlibInflate(const uint8_t* data, size_t size, size_t maxSize) {
  z_stream zs{};
  if (inflateInit(&zs) != Z_OK) Damaged();
  std::vector<uint8_t> out;
  zs.next_in = const_cast<Bytef*>(data);
  zs.avail_in = static_cast<uInt>(size);
  int result = Z_OK;
  while (result != Z_STREAM_END) {
    const size_t chunk = 64 * 1024;
    if (out.size() >= maxSize) break;
    const size_t at = out.size();
    out.resize(std::min(at + chunk, maxSize));
    zs.next_out = out.data() + at;
    zs.avail_out = static_cast<uInt>(out.size() - at);
    result = inflate(&zs, Z_NO_FLUSH);
    out.resize(out.size() - zs.avail_out);
    if (result != Z_OK && result != Z_STREAM_END) break;
  }
  inflateEnd(&zs);
  if (result != Z_STREAM_END) Damaged();
  return out;
}

}  // namespace pixvane
