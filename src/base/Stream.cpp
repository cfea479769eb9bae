#include "base/Stream.h"

#include <algorithm>
#include <cstring>

#include "base/Errors.h"

namespace pixvane {

void TStream::ReadBuffer(void* buffer, size_t count) {
  if (Read(buffer, count) != count) throw EReadError("Stream read error");
}

uint8_t TStream::ReadByte() {
  uint8_t b;
  ReadBuffer(&b, 1);
  return b;
}

int64_t TStream::Remaining() const {
  int64_t position = Position();
  int64_t size = Size();
  return position >= 0 && position < size ? size - position : 0;
}

void TStream::CopyTo(TStream& target, int64_t count) {
  constexpr int64_t Chunk = 61440;
  std::vector<uint8_t> buffer(static_cast<size_t>(std::min(std::max<int64_t>(count, 0), Chunk)));
  while (count > 0) {
    size_t n = static_cast<size_t>(std::min(count, Chunk));
    ReadBuffer(buffer.data(), n);
    target.Write(buffer.data(), n);
    count -= static_cast<int64_t>(n);
  }
}

size_t TMemoryStream::Read(void* buffer, size_t count) {
  // Nothing to read also means nothing to copy into: an empty vector's
  // buffer may be null.
  if (count == 0 || FPosition < 0 || FPosition >= Size()) return 0;
  size_t n = std::min(count, static_cast<size_t>(Size() - FPosition));
  std::memcpy(buffer, FBytes.data() + FPosition, n);
  FPosition += static_cast<int64_t>(n);
  return n;
}

void TMemoryStream::Write(const void* buffer, size_t count) {
  if (FPosition < 0) throw EError("Stream write error");
  size_t end = static_cast<size_t>(FPosition) + count;
  if (end > FBytes.size()) FBytes.resize(end);
  if (count) std::memcpy(FBytes.data() + FPosition, buffer, count);
  FPosition = static_cast<int64_t>(end);
}

size_t TStreamPrefix::Read(void* buffer, size_t count) {
  if (FPosition < 0 || FPosition >= FSize) return 0;
  count = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(count), FSize - FPosition));
  FWhole->Seek(FPosition);
  size_t n = FWhole->Read(buffer, count);
  FPosition += static_cast<int64_t>(n);
  return n;
}

void TStreamPrefix::Write(const void*, size_t) {
  throw EError("Stream write error");
}

}  // namespace pixvane
