#pragma once
#include <cstdint>
#include <cstring>
#include <string>

#include "base/Errors.h"
#include "base/Stream.h"
#include "package/ObjectStream.h"

namespace pixvane {

// The bytes of one binary object, read for the object reader and for the
// text form alike. It buffers the underlying stream so that a file is not
// read byte by byte, checks every count against what remains, and puts the
// stream's position back to the logical one when done.
class TObjectScanner {
 public:
  explicit TObjectScanner(TStream& stream)
      : FStream(stream), FBase(stream.Position()), FSize(stream.Size()) {}
  ~TObjectScanner() { FStream.Seek(Position()); }
  TObjectScanner(const TObjectScanner&) = delete;
  TObjectScanner& operator=(const TObjectScanner&) = delete;

  void ReadSignature() {
    char signature[4];
    Read(signature, 4);
    if (std::memcmp(signature, "TPF0", 4) != 0) throw EReadError("Invalid stream format");
  }

  int64_t Position() const { return FBase + static_cast<int64_t>(FNext); }
  int64_t Remaining() const { return Position() < FSize ? FSize - Position() : 0; }
  void CheckRemaining(uint64_t count) const {
    if (Position() < 0 || count > static_cast<uint64_t>(Remaining()))
      throw EReadError("Stream read error");
  }

  void Read(void* out, size_t count) {
    if (count == 0) return;  // an empty block has no buffer to copy into
    size_t buffered = FEnd - FNext;
    if (count <= buffered) {
      std::memcpy(out, FBuffer + FNext, count);
      FNext += count;
      return;
    }
    CheckRemaining(count);
    std::memcpy(out, FBuffer + FNext, buffered);
    FNext = FEnd;
    FBase = Position();
    FNext = FEnd = 0;
    FStream.Seek(FBase);
    FStream.ReadBuffer(static_cast<char*>(out) + buffered, count - buffered);
    FBase += static_cast<int64_t>(count - buffered);
  }

  void Skip(uint64_t count) {
    CheckRemaining(count);
    FBase = Position() + static_cast<int64_t>(count);
    FNext = FEnd = 0;
  }

  uint8_t Peek() {
    if (FNext == FEnd) Fill();
    if (FNext == FEnd) throw EReadError("Stream read error");
    return FBuffer[FNext];
  }
  uint8_t Byte() {
    uint8_t b = Peek();
    ++FNext;
    return b;
  }
  // Gives back the byte just read by Byte() or ValueType(), which is still
  // in the buffer.
  void Unread() { --FNext; }
  TValueType ValueType() { return static_cast<TValueType>(Byte()); }

  template <typename T>
  T Scalar() {
    T value;
    Read(&value, sizeof value);
    return value;
  }

  std::string Bytes(uint64_t count) {
    CheckRemaining(count);
    std::string text(static_cast<size_t>(count), '\0');
    Read(text.data(), text.size());
    return text;
  }
  std::string ShortString() { return Bytes(Byte()); }

  // An integer value stored in one of its three widths; any other type here
  // is a value of the wrong kind.
  int32_t Integer(TValueType type) {
    switch (type) {
      case TValueType::Int8:
        return Scalar<int8_t>();
      case TValueType::Int16:
        return Scalar<int16_t>();
      case TValueType::Int32:
        return Scalar<int32_t>();
      default:
        InvalidValue();
    }
  }

  [[noreturn]] static void InvalidValue() { throw EReadError("Invalid property value"); }

 private:
  void Fill() {
    FBase = Position();
    FStream.Seek(FBase);
    FEnd = FStream.Read(FBuffer, sizeof FBuffer);
    FNext = 0;
  }

  TStream& FStream;
  int64_t FBase;  // stream position of FBuffer[0]
  int64_t FSize;
  uint8_t FBuffer[4096];
  size_t FNext = 0, FEnd = 0;
};

}  // namespace pixvane
