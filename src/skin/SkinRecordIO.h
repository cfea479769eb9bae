#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace pixvane {

class TStream;

// The fields of skin records: 32-bit little-endian integers, and texts as a
// 32-bit byte count and the bytes. A count larger than what the stream still
// holds fails with "Stream read error" before anything is allocated.
int32_t ReadRecordInt(TStream& stream);
std::string ReadRecordText(TStream& stream);
void WriteRecordInt(TStream& stream, int32_t value);
void WriteRecordText(TStream& stream, std::string_view text);

// A count of records that each take at least minBytes: a negative count, or
// one the rest of the stream cannot hold, fails with "Stream read error".
int32_t ReadRecordCount(TStream& stream, int64_t minBytes);

}  // namespace pixvane
