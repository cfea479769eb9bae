#include <gtest/gtest.h>

#include <cstdio>

#include "base/Errors.h"
#include "base/Paths.h"
#include "base/Stream.h"

namespace pixvane {
namespace {

TEST(MemoryStream, ShortReadFailsWithStreamReadError) {
  TMemoryStream stream({1, 2, 3});
  uint8_t buffer[4];
  EXPECT_EQ(stream.Read(buffer, 4), 3u);
  stream.Seek(1);
  try {
    stream.ReadBuffer(buffer, 3);
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), "Stream read error");
  }
}

TEST(MemoryStream, ReadingNothingIntoAnEmptyBufferIsFine) {
  // Found by the fuzzer: an empty JPEG block read into an empty vector.
  TMemoryStream stream({1, 2, 3});
  std::vector<uint8_t> empty;
  EXPECT_EQ(stream.Read(empty.data(), 0), 0u);
  EXPECT_NO_THROW(stream.ReadBuffer(empty.data(), 0));
  EXPECT_EQ(stream.Position(), 0);
}

TEST(MemoryStream, PositionsOutsideTheDataReadNothing) {
  TMemoryStream stream({1, 2, 3});
  uint8_t b;
  stream.Seek(-5);
  EXPECT_EQ(stream.Read(&b, 1), 0u);
  EXPECT_EQ(stream.Remaining(), 0);
  stream.Seek(int64_t{1} << 40);
  EXPECT_EQ(stream.Read(&b, 1), 0u);
}

TEST(Stream, CopyToMovesExactlyTheCountAcrossChunks) {
  std::vector<uint8_t> bytes(200000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7);
  TMemoryStream source(bytes), target;
  source.Seek(10);
  source.CopyTo(target, 150000);
  EXPECT_EQ(target.Size(), 150000);
  EXPECT_TRUE(std::equal(target.Bytes().begin(), target.Bytes().end(), bytes.begin() + 10));
  EXPECT_THROW(source.CopyTo(target, 60000), EReadError);
}

TEST(FileStream, WritesReadsAndReportsMissingFiles) {
  std::string path = JoinPath(TempFolderPath(), "pixvane-stream-test.bin");
  {
    auto file = TFileStream::Create(path);
    file->Write("hello", 5);
  }
  auto file = TFileStream::OpenRead(path);
  EXPECT_EQ(file->Size(), 5);
  char text[5];
  file->Seek(1);
  file->ReadBuffer(text, 4);
  EXPECT_EQ(std::string(text, 4), "ello");
  file.reset();
  std::remove(path.c_str());

  try {
    TFileStream::OpenRead(path);
    FAIL();
  } catch (const EFileError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + path);
  }
}

}  // namespace
}  // namespace pixvane
