#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/Errors.h"
#include "base/Stream.h"

namespace pixvane {

struct TFileStream::THandle {
  int fd = -1;
  ~THandle() {
    if (fd >= 0) close(fd);
  }
};

TFileStream::TFileStream(std::string path, std::unique_ptr<THandle> handle)
    : FPath(std::move(path)), FHandle(std::move(handle)) {}
TFileStream::~TFileStream() = default;

std::unique_ptr<TFileStream> TFileStream::OpenRead(const std::string& path) {
  auto handle = std::make_unique<THandle>();
  handle->fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat info;
  if (handle->fd < 0 || fstat(handle->fd, &info) != 0 || !S_ISREG(info.st_mode))
    throw EFileError(Format("Cannot open file %s", path));
  return std::unique_ptr<TFileStream>(new TFileStream(path, std::move(handle)));
}

std::unique_ptr<TFileStream> TFileStream::Create(const std::string& path) {
  auto handle = std::make_unique<THandle>();
  // A new file gets the usual permissions: what the umask leaves of 0666.
  handle->fd = open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (handle->fd < 0) throw EFileError(Format("Cannot create file %s", path));
  return std::unique_ptr<TFileStream>(new TFileStream(path, std::move(handle)));
}

std::unique_ptr<TFileStream> TFileStream::OpenRead(const std::filesystem::path& path) {
  return OpenRead(path.string());
}

std::unique_ptr<TFileStream> TFileStream::Create(const std::filesystem::path& path) {
  return Create(path.string());
}

size_t TFileStream::Read(void* buffer, size_t count) {
  if (FPosition < 0) return 0;
  size_t done = 0;
  while (done < count) {
    ssize_t n = pread(FHandle->fd, static_cast<char*>(buffer) + done, count - done,
                      static_cast<off_t>(FPosition));
    if (n <= 0) break;
    done += static_cast<size_t>(n);
    FPosition += n;
  }
  return done;
}

void TFileStream::Write(const void* buffer, size_t count) {
  size_t done = 0;
  while (done < count) {
    ssize_t n = pwrite(FHandle->fd, static_cast<const char*>(buffer) + done, count - done,
                       static_cast<off_t>(FPosition));
    if (n <= 0) throw EFileError(Format("Cannot write to file %s", FPath));
    done += static_cast<size_t>(n);
    FPosition += n;
  }
}

int64_t TFileStream::Size() const {
  struct stat info;
  return fstat(FHandle->fd, &info) == 0 ? static_cast<int64_t>(info.st_size) : 0;
}

}  // namespace pixvane
