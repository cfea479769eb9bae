#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "base/Errors.h"
#include "base/Stream.h"
#include "package/MediaFiles.h"
#include "support/TempFolder.h"

namespace pixvane {
namespace {

namespace fs = std::filesystem;
using test::TTempFolder;

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// An executable stand-in: bytes 0..N with media runs at known places.
struct TMedia {
  TMemoryStream File;
  TSSFileLocations Record;
  TMedia() {
    std::vector<uint8_t> bytes(300000);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 31 + i / 251);
    File = TMemoryStream(bytes);
  }
  std::string Run(int64_t offset, int64_t size) const {
    const auto& b = File.Bytes();
    return std::string(b.begin() + offset, b.begin() + offset + size);
  }
};

TEST(MediaFiles, ExtractsEveryRunExactlyAndDeletesThemAgain) {
  TTempFolder temp;
  TMedia media;
  media.Record.SndList.SetCommaText("10,150000");
  media.Record.SndFileNamesList.SetCommaText("a.wav,\"b c.mp3\"");
  media.Record.SndSizesList.SetCommaText("140000,0");
  media.Record.FlashList.SetCommaText("$100");
  media.Record.FlashFileNamesList.SetCommaText("movie.swf");
  media.Record.FlashSizesList.SetCommaText("61441");
  ExtractMediaFiles(media.Record, media.File, temp.Path());
  EXPECT_EQ(Contents(temp.File("a.wav")), media.Run(10, 140000));
  EXPECT_TRUE(fs::exists(temp.File("b c.mp3")));
  EXPECT_EQ(fs::file_size(temp.File("b c.mp3")), 0u);
  EXPECT_EQ(Contents(temp.File("movie.swf")), media.Run(256, 61441));

  DeleteMediaFiles(media.Record, temp.Path());
  EXPECT_TRUE(fs::is_empty(fs::path(temp.Path())));
}

TEST(MediaFiles, NoMediaCreatesAndDeletesNothing) {
  TTempFolder temp;
  TMedia media;
  std::ofstream(temp.File("keep.txt")) << "x";
  ExtractMediaFiles(media.Record, media.File, temp.Path());
  DeleteMediaFiles(media.Record, temp.Path());
  EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(temp.Path())), {}), 1);
}

TEST(MediaFiles, SameNameTwiceKeepsTheSecondAndDeletesQuietly) {
  TTempFolder temp;
  TMedia media;
  media.Record.SndList.SetCommaText("0,1000");
  media.Record.SndFileNamesList.SetCommaText("x.wav,X.wav");
  media.Record.SndSizesList.SetCommaText("10,20");
  ExtractMediaFiles(media.Record, media.File, temp.Path());
  media.Record.SndFileNamesList.SetCommaText("x.wav,x.wav");
  ExtractMediaFiles(media.Record, media.File, temp.Path());
  EXPECT_EQ(Contents(temp.File("x.wav")), media.Run(1000, 20));
  EXPECT_NO_THROW(DeleteMediaFiles(media.Record, temp.Path()));
  EXPECT_FALSE(fs::exists(temp.File("x.wav")));
}

TEST(MediaFiles, NamesThatLeaveTheFolderAreNeverWritten) {
  TTempFolder outer;
  std::string inner = outer.File("inner") + PathDelim;
  fs::create_directories(inner);
  TMedia media;
  for (const char* name : {"../evil.wav", "..\\evil.wav", "C:evil.wav", "..", "NUL"}) {
    media.Record.SndList.Items = {"0"};
    media.Record.SndFileNamesList.Items = {name};
    media.Record.SndSizesList.Items = {"10"};
    try {
      ExtractMediaFiles(media.Record, media.File, inner);
      FAIL() << name;
    } catch (const EFileError& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot create file " + JoinPath(inner, name));
    }
    DeleteMediaFiles(media.Record, inner);
  }
  std::ofstream(outer.File("evil.wav")) << "precious";
  DeleteMediaFiles(media.Record, inner);
  EXPECT_EQ(Contents(outer.File("evil.wav")), "precious");
  EXPECT_TRUE(fs::is_empty(fs::path(inner)));
}

TEST(MediaFiles, ErrorsStopExtractionAndKeepWhatWasWritten) {
  TTempFolder temp;
  TMedia media;
  media.Record.SndList.SetCommaText("0,299990");
  media.Record.SndFileNamesList.SetCommaText("one.wav,two.wav");
  media.Record.SndSizesList.SetCommaText("5,100");
  media.Record.FlashList.SetCommaText("0");
  media.Record.FlashFileNamesList.SetCommaText("never.swf");
  media.Record.FlashSizesList.SetCommaText("1");
  EXPECT_THROW(ExtractMediaFiles(media.Record, media.File, temp.Path()), EReadError);
  EXPECT_EQ(Contents(temp.File("one.wav")), media.Run(0, 5));
  EXPECT_TRUE(fs::exists(temp.File("two.wav"))) << "the partly written file stays";
  EXPECT_FALSE(fs::exists(temp.File("never.swf")));

  media.Record.SndSizesList.SetCommaText("5");
  try {
    ExtractMediaFiles(media.Record, media.File, temp.Path());
    FAIL();
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "Index is out of bounds");
  }

  media.Record.SndSizesList.SetCommaText("5,-1");
  EXPECT_THROW(ExtractMediaFiles(media.Record, media.File, temp.Path()), EReadError);

  media.Record.SndFileNamesList.SetCommaText("one.wav");
  EXPECT_NO_THROW(DeleteMediaFiles(media.Record, temp.Path()));
  EXPECT_FALSE(fs::exists(temp.File("one.wav")));
}

TEST(MediaFiles, MissingFolderFailsAsAnUncreatableFile) {
  TTempFolder temp;
  TMedia media;
  media.Record.SndList.SetCommaText("0");
  media.Record.SndFileNamesList.SetCommaText("a.wav");
  media.Record.SndSizesList.SetCommaText("1");
  std::string missing = temp.File("missing") + PathDelim;
  try {
    ExtractMediaFiles(media.Record, media.File, missing);
    FAIL();
  } catch (const EFileError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file " + missing + "a.wav");
  }
}

}  // namespace
}  // namespace pixvane
