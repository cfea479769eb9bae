#include "skin/SkinRecordIO.h"

#include "base/Errors.h"
#include "base/Stream.h"

namespace pixvane {

int32_t ReadRecordInt(TStream& stream) {
  int32_t value;
  stream.ReadBuffer(&value, sizeof value);  // little-endian hosts, as both targets are
  return value;
}

std::string ReadRecordText(TStream& stream) {
  const uint32_t length = static_cast<uint32_t>(ReadRecordInt(stream));
  if (length > stream.Remaining()) throw EReadError("Stream read error");
  std::string text(length, '\0');
  if (length) stream.ReadBuffer(text.data(), length);
  return text;
}

void WriteRecordInt(TStream& stream, int32_t value) {
  stream.Write(&value, sizeof value);
}

void WriteRecordText(TStream& stream, std::string_view text) {
  WriteRecordInt(stream, static_cast<int32_t>(text.size()));
  stream.Write(text.data(), text.size());
}

int32_t ReadRecordCount(TStream& stream, int64_t minBytes) {
  const int32_t count = ReadRecordInt(stream);
  if (count < 0 || count * minBytes > stream.Remaining()) throw EReadError("Stream read error");
  return count;
}

}  // namespace pixvane
