#include "maker/OutputFile.h"

#include <random>
#include <string>

#include "base/Errors.h"
#include "maker/ToolError.h"

namespace pixvane::maker {

namespace fs = std::filesystem;

TOutputFile::TOutputFile(const fs::path& target) : FTarget(target) {
  std::random_device random;
  std::error_code error;
  do {
    FTemporary = target;
    FTemporary += "." + std::to_string(random() % 1000000000) + ".tmp";
  } while (fs::exists(FTemporary, error));
  try {
    FFile = TFileStream::Create(FTemporary);
  } catch (const EError&) {
    throw EFileError(Format("Cannot create file %s", PathForMessage(FTarget)));
  }
}

TOutputFile::~TOutputFile() {
  if (FTemporary.empty()) return;  // committed
  FFile.reset();
  std::error_code error;
  fs::remove(FTemporary, error);
}

void TOutputFile::Write(const void* buffer, size_t count) {
  try {
    FFile->Write(buffer, count);
  } catch (const EError&) {
    throw EFileError(Format("Cannot write to file %s", PathForMessage(FTarget)));
  }
}

void TOutputFile::Commit() {
  FFile.reset();
  std::error_code error;
  fs::rename(FTemporary, FTarget, error);
  if (error) throw EFileError(Format("Cannot create file %s", PathForMessage(FTarget)));
  FTemporary.clear();
}

void WriteOutputFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
  TOutputFile file(path);
  file.Write(bytes.data(), bytes.size());
  file.Commit();
}

}  // namespace pixvane::maker
