#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "base/Errors.h"
#include "base/Stream.h"
#include "setup/IniFile.h"
#include "setup/IniText.h"

namespace pixvane {
namespace {

std::optional<std::string> ReadWholeFile(const std::string& path) {
  try {
    auto stream = TFileStream::OpenRead(path);
    std::string text(static_cast<size_t>(stream->Size()), '\0');
    text.resize(stream->Read(text.data(), text.size()));
    return text;
  } catch (const EFileError&) {
    return std::nullopt;
  }
}

[[noreturn]] void WriteFailed(const std::string& path) {
  throw EFileError(Format("Unable to write to %s", path));
}

// The new text goes to a file beside the old one and is renamed over it, so
// a crash or a full disk leaves either the old file or the new one, never
// half of either. Whatever goes wrong, the temporary file does not stay.
class TReplacement {
 public:
  explicit TReplacement(const std::string& target) : FPath(target + ".XXXXXX") {
    FFd = mkstemp(FPath.data());
    if (FFd < 0) FPath.clear();
  }
  ~TReplacement() {
    if (FFd >= 0) close(FFd);
    if (!FPath.empty()) unlink(FPath.c_str());
  }
  TReplacement(const TReplacement&) = delete;
  TReplacement& operator=(const TReplacement&) = delete;

  bool Commit(const std::string& text, mode_t mode, const std::string& target) {
    if (FFd < 0 || fchmod(FFd, mode) != 0) return false;
    for (size_t done = 0; done < text.size();) {
      ssize_t n = write(FFd, text.data() + done, text.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      done += static_cast<size_t>(n);
    }
    int fd = FFd;
    FFd = -1;
    if (fsync(fd) != 0 || close(fd) != 0) return false;
    if (rename(FPath.c_str(), target.c_str()) != 0) return false;
    FPath.clear();
    return true;
  }

 private:
  std::string FPath;
  int FFd = -1;
};

}  // namespace

bool TIniFile::Exists() const {
  struct stat info;
  return stat(FPath.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::optional<std::string> TIniFile::ReadString(std::string_view section,
                                                std::string_view key) const {
  std::optional<std::string> text = ReadWholeFile(FPath);
  if (!text) return std::nullopt;
  return FindIniValue(*text, section, key);
}

void TIniFile::WriteString(std::string_view section, std::string_view key,
                           std::string_view value) const {
  std::string text;
  std::string target = FPath;
  mode_t mode = 0644;
  struct stat info;
  if (stat(FPath.c_str(), &info) == 0) {
    // A file without any write permission counts as read-only even for an
    // administrator, as the platform's read-only attribute does; renaming
    // over it would otherwise quietly replace it.
    if (!S_ISREG(info.st_mode) || (info.st_mode & 0222) == 0 || access(FPath.c_str(), W_OK) != 0)
      WriteFailed(FPath);
    // A file we cannot read would lose its other settings if we rewrote it.
    std::optional<std::string> current = ReadWholeFile(FPath);
    if (!current) WriteFailed(FPath);
    text = std::move(*current);
    mode = info.st_mode & 07777;
    // Write through a symbolic link rather than replacing the link itself.
    if (char* real = realpath(FPath.c_str(), nullptr)) {
      target = real;
      std::free(real);
    }
  } else if (errno != ENOENT) {
    WriteFailed(FPath);
  }

  std::string updated = SetIniValue(text, section, key, value);
  if (updated == text) return;
  TReplacement replacement(target);
  if (!replacement.Commit(updated, mode, target)) WriteFailed(FPath);
}

}  // namespace pixvane
