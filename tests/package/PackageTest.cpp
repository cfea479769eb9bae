#include <gtest/gtest.h>

#include "base/Errors.h"
#include "package/ClassRegistry.h"
#include "package/ObjectStream.h"
#include "package/Package.h"
#include "package/PackageWriter.h"
#include "support/StreamBytes.h"
#include "support/TestJpeg.h"

namespace pixvane {
namespace {

using test::MakeJpeg;

// A player stand-in followed by a package of three pictures, a sound and a movie.
struct TSample {
  TMemoryStream File;
  TSSFileLocations Settings;
  int64_t PlayerSize = 1000;
  TSample() {
    RegisterStreamClasses();
    std::vector<uint8_t> player(static_cast<size_t>(PlayerSize), 'P');
    File.Write(player.data(), player.size());
    Settings.Title = "Beach";
    Settings.Ver = "photo";
    Settings.Interval = 5000;
    TPackageWriter writer(File, Settings);
    writer.AddPicture(MakeJpeg(40, 30), "one.jpg");
    writer.AddPicture(MakeJpeg(20, 50), "two.jpg");
    writer.AddPicture(MakeJpeg(8, 8, true), "three.jpg");
    TMemoryStream sound(std::vector<uint8_t>(5000, 's'));
    writer.AddSound("waves.wav", sound);
    TMemoryStream movie(std::vector<uint8_t>(300, 'f'));
    writer.AddFlash("intro.swf", movie);
    writer.Finish();
  }
};

TEST(Trailer, LocatesThePackageFromTheLastFortyBytes) {
  TMemoryStream file(std::vector<uint8_t>(3390736 - 40, 0));
  file.Seek(file.Size());
  std::string trailer = "595176" + std::string(14, ' ') + "3389212" + std::string(13, ' ');
  file.Write(trailer.data(), trailer.size());
  auto fields = ReadTrailer(file);
  ASSERT_TRUE(fields);
  EXPECT_EQ(fields->PackageLength, 595176);
  EXPECT_EQ(fields->SettingsOffset, 3389212);
  EXPECT_EQ(PackageStart(file, fields->PackageLength), 2795520);
}

TEST(Trailer, FieldsAreTrimmedAndNonNumbersAreZero) {
  TMemoryStream file;
  std::string trailer =
      std::string("\0\t 12 \r\n", 8) + std::string(12, ' ') + "12abc" + std::string(15, ' ');
  file.Write(trailer.data(), trailer.size());
  auto fields = ReadTrailer(file);
  ASSERT_TRUE(fields);
  EXPECT_EQ(fields->PackageLength, 12);
  EXPECT_EQ(fields->SettingsOffset, 0);
  EXPECT_EQ(FormatTrailerField(595176), "595176" + std::string(14, ' '));
}

TEST(Trailer, ShortFilesReadNothing) {
  TSSFileLocations record;
  for (size_t size : {0, 19, 39}) {
    TMemoryStream file(std::vector<uint8_t>(size, '1'));
    EXPECT_FALSE(ReadTrailer(file));
    EXPECT_FALSE(ReadSettings(file, record));
    EXPECT_EQ(ReadFirstPicture(file), nullptr);
  }
  TMemoryStream tiny(std::vector<uint8_t>(19, '1'));
  EXPECT_EQ(ReadSettings(tiny), nullptr);
}

TEST(Package, WriterPlacesRecordsAtAbsoluteOffsets) {
  TSample sample;
  const TSSFileLocations& s = sample.Settings;
  ASSERT_EQ(s.PicCount(), 3);
  EXPECT_EQ(s.PicOffsetAt(0), sample.PlayerSize) << "the first picture begins at the package start";
  EXPECT_EQ(s.PicFileNamesList.Items,
            (std::vector<std::string>{"one.jpg", "two.jpg", "three.jpg"}));
  ASSERT_EQ(s.Sounds().Count(), 1);
  EXPECT_EQ(s.Sounds().SizeAt(0), 5000);
  EXPECT_EQ(s.Flash().SizeAt(0), 300);
  EXPECT_EQ(s.Flash().OffsetAt(0), s.Sounds().OffsetAt(0) + 5000);

  auto trailer = ReadTrailer(sample.File);
  ASSERT_TRUE(trailer);
  EXPECT_EQ(PackageStart(sample.File, trailer->PackageLength), sample.PlayerSize);
  sample.File.Seek(trailer->SettingsOffset);
  char signature[4];
  sample.File.ReadBuffer(signature, 4);
  EXPECT_EQ(std::string(signature, 4), "TPF0");
}

TEST(Package, SaverWayReadsTheSettingsIntoTheGivenRecord) {
  TSample sample;
  TSSFileLocations record;
  ASSERT_TRUE(ReadSettings(sample.File, record));
  EXPECT_TRUE(record == sample.Settings);
}

TEST(Package, SetupWayCreatesTheRecordFromItsClassName) {
  TSample sample;
  auto record = ReadSettings(sample.File);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->Title, "Beach");

  // A settings offset that names a picture object is not a settings record.
  TSample other;
  std::string trailer = FormatTrailerField(0) + FormatTrailerField(other.PlayerSize);
  other.File.Seek(other.File.Size() - TrailerSize);
  other.File.Write(trailer.data(), trailer.size());
  EXPECT_THROW(ReadSettings(other.File), EReadError);
}

TEST(Package, PreviewWayReadsTheFirstPicture) {
  TSample sample;
  auto image = ReadFirstPicture(sample.File);
  ASSERT_NE(image, nullptr);
  ASSERT_NE(image->Picture.Graphic(), nullptr);
  EXPECT_EQ(image->Picture.Graphic()->Width(), 40);
  EXPECT_EQ(image->Width, 40);
}

TEST(Package, ZeroSettingsOffsetPointsAtTheHeaderAndFails) {
  TSample sample;
  std::string trailer = FormatTrailerField(12) + "not a number        ";
  sample.File.Seek(sample.File.Size() - TrailerSize);
  sample.File.Write(trailer.data(), trailer.size());
  TSSFileLocations record;
  try {
    ReadSettings(sample.File, record);
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), "Invalid stream format");
  }
}

TEST(Package, OmittedTextsGiveEmptyTextsAndLists) {
  TSSFileLocations empty;
  TMemoryStream file;
  TPackageWriter writer(file, empty);
  writer.Finish();
  TSSFileLocations record;
  record.Title = "stale";
  ASSERT_TRUE(ReadSettings(file, record));
  EXPECT_EQ(record.Title, "stale") << "the saver's record is filled, not replaced";
  auto fresh = ReadSettings(file);
  ASSERT_NE(fresh, nullptr);
  EXPECT_TRUE(fresh->Title.empty());
  EXPECT_EQ(fresh->PicCount(), 0);
  EXPECT_EQ(fresh->Sounds().Count(), 0);
}

}  // namespace
}  // namespace pixvane
