#include "package/SignedSaver.h"

#include "base/Errors.h"
#include "base/Stream.h"

namespace pixvane {
namespace {

// The few fields of the MS-DOS and PE headers that lead to the security
// directory; all little-endian.
constexpr int64_t PeOffsetField = 0x3C;  // e_lfanew: where "PE\0\0" is
constexpr int64_t CoffHeaderSize = 20;
constexpr int64_t OptionalSizeField = 16;  // SizeOfOptionalHeader, in the COFF header
constexpr uint16_t Pe32Magic = 0x10B, Pe32PlusMagic = 0x20B;
constexpr int64_t SecurityDirectory = 4;
constexpr int64_t DirectoryEntrySize = 8;
constexpr int64_t CertificateHeaderSize = 8;  // WIN_CERTIFICATE: dwLength, wRevision, wType
constexpr int MaxPadding = 7;

// Bounded little-endian reads: nothing when the bytes are not all there.
std::optional<uint32_t> ReadLittle(TStream& file, int64_t position, int width) {
  uint8_t bytes[4] = {};
  if (position < 0 || position > file.Size() - width) return std::nullopt;
  file.Seek(position);
  if (file.Read(bytes, static_cast<size_t>(width)) != static_cast<size_t>(width))
    return std::nullopt;
  uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = value << 8 | bytes[i];
  return value;
}

// The security directory's (offset, size); {0, 0} when the file has none,
// or is no PE executable we know (a stand-in, a bare package after "MZ"):
// those are read as they are. Nothing when a PE header is there but its
// sizes lead outside it or outside the file.
using TEntry = std::pair<int64_t, int64_t>;
std::optional<TEntry> SecurityEntry(TStream& file, int64_t& headersEnd) {
  auto peOffset = ReadLittle(file, PeOffsetField, 4);
  auto signature = peOffset ? ReadLittle(file, *peOffset, 4) : std::nullopt;
  if (!signature || *signature != 0x00004550) return TEntry{0, 0};  // "PE\0\0"
  const int64_t coff = int64_t{*peOffset} + 4;
  const int64_t optional = coff + CoffHeaderSize;
  auto magic = ReadLittle(file, optional, 2);
  if (!magic || (*magic != Pe32Magic && *magic != Pe32PlusMagic)) return TEntry{0, 0};
  auto optionalSize = ReadLittle(file, coff + OptionalSizeField, 2);
  if (!optionalSize) return std::nullopt;
  headersEnd = optional + *optionalSize;
  // NumberOfRvaAndSizes comes just before the directories.
  const int64_t directories = optional + (*magic == Pe32Magic ? 96 : 112);
  if (headersEnd > file.Size() || directories > headersEnd) return std::nullopt;
  auto count = ReadLittle(file, directories - 4, 4);
  if (!count) return std::nullopt;
  if (*count <= SecurityDirectory) return TEntry{0, 0};
  const int64_t entry = directories + SecurityDirectory * DirectoryEntrySize;
  if (entry + DirectoryEntrySize > headersEnd) return std::nullopt;
  auto offset = ReadLittle(file, entry, 4);
  auto size = ReadLittle(file, entry + 4, 4);
  if (!offset || !size) return std::nullopt;
  return TEntry{*offset, *size};
}

// A saver whose signature lies: there is nothing in it to read.
class TDamagedSaver final : public TStream {
 public:
  size_t Read(void*, size_t) override { throw EReadError("Stream read error"); }
  void Write(const void*, size_t) override { throw EError("Stream write error"); }
  int64_t Size() const override { return 0; }
  int64_t Position() const override { return 0; }
  void Seek(int64_t) override {}
};

}  // namespace

std::optional<int64_t> PackageEnd(TStream& file) {
  const int64_t fileSize = file.Size();
  auto mz = ReadLittle(file, 0, 2);
  if (!mz || *mz != 0x5A4D) return fileSize;  // "MZ": no executable, read as it is
  int64_t headersEnd = 0;
  auto entry = SecurityEntry(file, headersEnd);
  if (!entry) return std::nullopt;
  const auto [table, tableSize] = *entry;
  if (table == 0 && tableSize == 0) return fileSize;
  // The table must follow the headers, end the file exactly, and hold at
  // least one certificate whose length stays inside it.
  if (table < headersEnd || tableSize < CertificateHeaderSize || table + tableSize != fileSize)
    return std::nullopt;
  auto first = ReadLittle(file, table, 4);
  if (!first || *first < CertificateHeaderSize || *first > tableSize) return std::nullopt;
  // The trailer never ends in a zero byte (its fields are padded with
  // spaces), so the zeros before the table are the signing tool's padding.
  int64_t end = table;
  for (int i = 0; i < MaxPadding && end > headersEnd; ++i) {
    auto byte = ReadLittle(file, end - 1, 1);
    if (!byte || *byte != 0) break;
    --end;
  }
  return end;
}

std::unique_ptr<TStream> PackageView(std::unique_ptr<TStream> file) {
  const std::optional<int64_t> end = PackageEnd(*file);
  if (!end) return std::make_unique<TDamagedSaver>();
  file->Seek(0);
  return std::make_unique<TStreamPrefix>(std::move(file), *end);
}

std::unique_ptr<TStream> OpenSaver(const std::string& path) {
  return PackageView(TFileStream::OpenRead(path));
}

std::unique_ptr<TStream> OpenSaver(const std::filesystem::path& path) {
  return PackageView(TFileStream::OpenRead(path));
}

}  // namespace pixvane
