#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "base/Stream.h"

namespace pixvane::maker {

// A file the tool writes, replaced as a whole: the bytes go to a temporary
// file beside the target, which takes the target's name only at Commit.
// Until then an existing target stays as it was, and whatever goes wrong,
// the destructor takes the temporary file away. The file gets the usual
// permissions of a new file (read and write for all, less the umask).
//
// Failures raise EFileError naming the target: "Cannot create file %s" when
// the file cannot be created or renamed, "Cannot write to file %s".
class TOutputFile : public TStream {
 public:
  explicit TOutputFile(const std::filesystem::path& target);
  ~TOutputFile() override;
  TOutputFile(const TOutputFile&) = delete;
  TOutputFile& operator=(const TOutputFile&) = delete;

  // Closes the file, which Windows insists on before a rename, and gives it
  // the target's name. Nothing may be written afterwards.
  void Commit();

  size_t Read(void* buffer, size_t count) override { return FFile->Read(buffer, count); }
  void Write(const void* buffer, size_t count) override;
  int64_t Size() const override { return FFile->Size(); }
  int64_t Position() const override { return FFile->Position(); }
  void Seek(int64_t position) override { FFile->Seek(position); }

 private:
  std::filesystem::path FTarget, FTemporary;
  std::unique_ptr<TFileStream> FFile;
};

// Writes bytes as path, the same way.
void WriteOutputFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

}  // namespace pixvane::maker
