#include <windows.h>

#include <algorithm>

#include "base/Errors.h"
#include "base/Stream.h"

namespace pixvane {

struct TFileStream::THandle {
  HANDLE h = INVALID_HANDLE_VALUE;
  ~THandle() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};

TFileStream::TFileStream(std::string path, std::unique_ptr<THandle> handle)
    : FPath(std::move(path)), FHandle(std::move(handle)) {}
TFileStream::~TFileStream() = default;

namespace {

// Other readers are welcome (the player opens itself again for every
// picture); writers are denied so the package cannot change under us.
constexpr DWORD ReadAccess = GENERIC_READ, ReadShare = FILE_SHARE_READ;
constexpr DWORD CreateAccess = GENERIC_READ | GENERIC_WRITE, CreateShare = FILE_SHARE_READ;

std::string Utf8(const std::filesystem::path& path) {
  std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace

// The four ways in differ only in the call that opens the file; shown is the
// name the stream and its errors go by.
std::unique_ptr<TFileStream> TFileStream::Opened(void* opened, const std::string& shown,
                                                 const char* failure) {
  if (opened == INVALID_HANDLE_VALUE) throw EFileError(Format(failure, shown));
  auto handle = std::make_unique<THandle>();
  handle->h = opened;
  return std::unique_ptr<TFileStream>(new TFileStream(shown, std::move(handle)));
}

std::unique_ptr<TFileStream> TFileStream::OpenRead(const std::string& path) {
  return Opened(CreateFileA(path.c_str(), ReadAccess, ReadShare, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr),
                path, "Cannot open file %s");
}

std::unique_ptr<TFileStream> TFileStream::OpenRead(const std::filesystem::path& path) {
  return Opened(CreateFileW(path.c_str(), ReadAccess, ReadShare, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr),
                Utf8(path), "Cannot open file %s");
}

std::unique_ptr<TFileStream> TFileStream::Create(const std::string& path) {
  return Opened(CreateFileA(path.c_str(), CreateAccess, CreateShare, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr),
                path, "Cannot create file %s");
}

std::unique_ptr<TFileStream> TFileStream::Create(const std::filesystem::path& path) {
  return Opened(CreateFileW(path.c_str(), CreateAccess, CreateShare, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr),
                Utf8(path), "Cannot create file %s");
}

namespace {

OVERLAPPED At(int64_t position) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(position);
  at.OffsetHigh = static_cast<DWORD>(position >> 32);
  return at;
}

}  // namespace

size_t TFileStream::Read(void* buffer, size_t count) {
  if (FPosition < 0) return 0;
  size_t done = 0;
  while (done < count) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
    DWORD got = 0;
    OVERLAPPED at = At(FPosition);
    if (!ReadFile(FHandle->h, static_cast<char*>(buffer) + done, chunk, &got, &at) || got == 0)
      break;
    done += got;
    FPosition += got;
  }
  return done;
}

void TFileStream::Write(const void* buffer, size_t count) {
  size_t done = 0;
  while (done < count) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
    DWORD put = 0;
    OVERLAPPED at = At(FPosition);
    if (!WriteFile(FHandle->h, static_cast<const char*>(buffer) + done, chunk, &put, &at) ||
        put == 0)
      throw EFileError(Format("Cannot write to file %s", FPath));
    done += put;
    FPosition += put;
  }
}

int64_t TFileStream::Size() const {
  LARGE_INTEGER size;
  return GetFileSizeEx(FHandle->h, &size) ? size.QuadPart : 0;
}

}  // namespace pixvane
