#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace pixvane {

// A seekable byte stream. Reads past the end return fewer bytes; ReadBuffer
// turns a short read into "Stream read error". Positions are 64-bit so a
// package offset read from a hostile file can never wrap.
class TStream {
 public:
  virtual ~TStream() = default;
  virtual size_t Read(void* buffer, size_t count) = 0;
  virtual void Write(const void* buffer, size_t count) = 0;
  virtual int64_t Size() const = 0;
  virtual int64_t Position() const = 0;
  // Any position is accepted; reading from outside 0 .. Size() gives nothing.
  virtual void Seek(int64_t position) = 0;

  void ReadBuffer(void* buffer, size_t count);
  uint8_t ReadByte();
  int64_t Remaining() const;
  // Copies count bytes to target through a buffer of at most 61440 bytes.
  void CopyTo(TStream& target, int64_t count);
};

class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> bytes) : FBytes(std::move(bytes)) {}
  size_t Read(void* buffer, size_t count) override;
  void Write(const void* buffer, size_t count) override;
  int64_t Size() const override { return static_cast<int64_t>(FBytes.size()); }
  int64_t Position() const override { return FPosition; }
  void Seek(int64_t position) override { FPosition = position; }
  const std::vector<uint8_t>& Bytes() const { return FBytes; }

 private:
  std::vector<uint8_t> FBytes;
  int64_t FPosition = 0;
};

// The first bytes of another stream, up to a given size, read-only: what
// lies beyond that size is not there for the reader. Positions are those
// of the whole stream.
class TStreamPrefix : public TStream {
 public:
  TStreamPrefix(std::unique_ptr<TStream> whole, int64_t size)
      : FWhole(std::move(whole)), FSize(size) {}
  size_t Read(void* buffer, size_t count) override;
  // Raises "Stream write error": a prefix is only read.
  void Write(const void* buffer, size_t count) override;
  int64_t Size() const override { return FSize; }
  int64_t Position() const override { return FPosition; }
  void Seek(int64_t position) override { FPosition = position; }

 private:
  std::unique_ptr<TStream> FWhole;
  int64_t FSize;
  int64_t FPosition = 0;
};

// A file on disk. OpenRead allows other readers and denies writers where the
// platform can say so (Windows); failures raise "Cannot open file %s" and
// "Cannot create file %s".
//
// A path given as std::string is in the system's narrow encoding: the ANSI
// code page on Windows, where the player takes its own path from the ANSI
// API. A std::filesystem::path reaches every name Windows can hold (the
// wide API); its messages show it as UTF-8.
class TFileStream : public TStream {
 public:
  static std::unique_ptr<TFileStream> OpenRead(const std::string& path);
  static std::unique_ptr<TFileStream> OpenRead(const std::filesystem::path& path);
  static std::unique_ptr<TFileStream> Create(const std::string& path);
  static std::unique_ptr<TFileStream> Create(const std::filesystem::path& path);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  size_t Read(void* buffer, size_t count) override;
  void Write(const void* buffer, size_t count) override;
  int64_t Size() const override;
  int64_t Position() const override { return FPosition; }
  void Seek(int64_t position) override { FPosition = position; }
  const std::string& Path() const { return FPath; }

 private:
  struct THandle;
  TFileStream(std::string path, std::unique_ptr<THandle> handle);
#ifdef _WIN32
  // A stream over a handle just opened (void*: the platform's HANDLE).
  static std::unique_ptr<TFileStream> Opened(void* opened, const std::string& shown,
                                             const char* failure);
#endif
  std::string FPath;
  std::unique_ptr<THandle> FHandle;
  int64_t FPosition = 0;
};

}  // namespace pixvane
