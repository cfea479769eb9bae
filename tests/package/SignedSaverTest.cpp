#include <gtest/gtest.h>

#include <functional>

#include "base/Errors.h"
#include "base/Stream.h"
#include "package/ClassRegistry.h"
#include "package/Package.h"
#include "package/PackageWriter.h"
#include "package/SignedSaver.h"
#include "support/TestJpeg.h"

namespace pixvane {
namespace {

constexpr size_t PeAt = 0x40, OptionalAt = PeAt + 24, OptionalSize = 240;
constexpr size_t SecurityAt = OptionalAt + 112 + 4 * 8, HeadersEnd = OptionalAt + OptionalSize;

void PutLittle(std::vector<uint8_t>& bytes, size_t at, uint32_t value, int width = 4) {
  for (int i = 0; i < width; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A 64-bit PE's headers, a package after them, and, when signed, the zero
// padding and certificate table osslsigncode appends, with the security
// directory pointing at it.
struct TSaver {
  std::vector<uint8_t> Bytes;
  size_t UnsignedSize = 0, Table = 0;

  explicit TSaver(size_t playerSize = 1001) {
    RegisterStreamClasses();
    std::vector<uint8_t> player(playerSize, 0);
    player[0] = 'M', player[1] = 'Z';
    PutLittle(player, 0x3C, PeAt);
    std::copy_n("PE\0\0", 4, player.begin() + PeAt);
    PutLittle(player, PeAt + 4 + 16, OptionalSize, 2);
    PutLittle(player, OptionalAt, 0x20B, 2);
    PutLittle(player, OptionalAt + 108, 16);  // NumberOfRvaAndSizes
    TMemoryStream file(std::move(player));
    file.Seek(file.Size());
    TSSFileLocations settings;
    settings.Title = "Signed";
    settings.Ver = "photo";
    TPackageWriter writer(file, settings);
    writer.AddPicture(test::MakeJpeg(16, 12), "one.jpg");
    writer.Finish();
    Bytes = file.Bytes();
    UnsignedSize = Bytes.size();
  }

  TSaver& Sign(uint32_t certificateLength = 1456) {
    Bytes.resize((Bytes.size() + 7) / 8 * 8, 0);
    Table = Bytes.size();
    Bytes.resize(Table + certificateLength, 0x30);
    PutLittle(Bytes, Table, certificateLength);
    PutLittle(Bytes, Table + 4, 0x0200, 2);
    PutLittle(Bytes, Table + 6, 0x0002, 2);
    PutLittle(Bytes, SecurityAt, static_cast<uint32_t>(Table));
    PutLittle(Bytes, SecurityAt + 4, certificateLength);
    return *this;
  }

  std::optional<int64_t> End() const {
    TMemoryStream file(Bytes);
    return PackageEnd(file);
  }
  std::unique_ptr<TStream> View() const {
    return PackageView(std::make_unique<TMemoryStream>(Bytes));
  }
};

TEST(SignedSaver, UnsignedFilesAreReadToTheirEnd) {
  TSaver saver;
  EXPECT_EQ(saver.End(), static_cast<int64_t>(saver.Bytes.size()));
  TMemoryStream notAnExecutable(std::vector<uint8_t>(100, 'x'));
  EXPECT_EQ(PackageEnd(notAnExecutable), 100);
  TMemoryStream standIn(std::vector<uint8_t>{'M', 'Z', ' ', 'p', 'l', 'a', 'y', 'e', 'r'});
  EXPECT_EQ(PackageEnd(standIn), 9) << "no PE header: nothing to say about a signature";
}

TEST(SignedSaver, TheTrailerIsFoundBeforeTheTableAndItsPadding) {
  for (size_t playerSize : {1001, 1002, 1004, 1008}) {  // every padding from 0 to 7
    TSaver saver(playerSize);
    saver.Sign();
    ASSERT_EQ(saver.End(), static_cast<int64_t>(saver.UnsignedSize)) << playerSize;
    auto view = saver.View();
    TSSFileLocations settings;
    ASSERT_TRUE(ReadSettings(*view, settings));
    EXPECT_EQ(settings.Title, "Signed");
    EXPECT_EQ(settings.PicOffsetAt(0), static_cast<int32_t>(playerSize));
    auto picture = ReadFirstPicture(*view);
    ASSERT_TRUE(picture && picture->Picture.Graphic());
    EXPECT_EQ(picture->Picture.Graphic()->Width(), 16);
  }
}

// Each of these would send a reader outside the file or to the wrong
// trailer; the file is refused and its view holds nothing.
TEST(SignedSaver, ALyingSecurityDirectoryIsRefused) {
  const TSaver good = TSaver().Sign();
  std::vector<std::pair<const char*, std::function<void(TSaver&)>>> damages = {
      {"cut short", [](TSaver& s) { s.Bytes.resize(s.Bytes.size() - 100); }},
      {"not ending the file", [](TSaver& s) { s.Bytes.push_back(0); }},
      {"outside the file", [](TSaver& s) { PutLittle(s.Bytes, SecurityAt, 0xFFFFFF00); }},
      {"absurd size", [](TSaver& s) { PutLittle(s.Bytes, SecurityAt + 4, 0xFFFFFFFF); }},
      {"overlapping the headers",
       [](TSaver& s) {
         PutLittle(s.Bytes, SecurityAt, 8);
         PutLittle(s.Bytes, SecurityAt + 4, static_cast<uint32_t>(s.Bytes.size() - 8));
       }},
      {"certificate longer than its table", [](TSaver& s) { PutLittle(s.Bytes, s.Table, 5000); }},
      {"optional header beyond the file",
       [](TSaver& s) { PutLittle(s.Bytes, PeAt + 4 + 16, 0xFFFF, 2); }},
      {"directories beyond the optional header",
       [](TSaver& s) { PutLittle(s.Bytes, PeAt + 4 + 16, 112, 2); }},
  };
  for (auto& [name, damage] : damages) {
    TSaver saver = good;
    damage(saver);
    EXPECT_FALSE(saver.End()) << name;
    auto view = saver.View();
    EXPECT_EQ(view->Size(), 0) << name;
    TSSFileLocations settings;
    EXPECT_THROW(ReadSettings(*view, settings), EReadError) << name;
    EXPECT_THROW(ReadFirstPicture(*view), EReadError) << name;
  }
}

}  // namespace
}  // namespace pixvane
