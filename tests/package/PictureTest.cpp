#include <gtest/gtest.h>

#include <jpeglib.h>

#include "base/Errors.h"
#include "package/JpegSplit.h"
#include "package/ObjectStream.h"
#include "package/Picture.h"
#include "support/SamePixels.h"
#include "support/StreamBytes.h"
#include "support/TestJpeg.h"

namespace pixvane {
namespace {

using test::MakeJpeg;
using test::SamePixels;
using test::TBytes;

std::string Payload(std::string_view className, const std::vector<uint8_t>& jpeg,
                    uint32_t declared) {
  std::string payload;
  payload += static_cast<char>(className.size());
  payload += className;
  for (int i = 0; i < 4; ++i) payload += static_cast<char>(declared >> (8 * i));
  payload.append(jpeg.begin(), jpeg.end());
  return payload;
}

TImage ReadImage(const std::string& payload, std::string_view extra = "") {
  TImage image;
  TMemoryStream stream = TBytes()
                             .Header("TImage")
                             .Prop("Picture.Data")
                             .Long(TValueType::Binary, payload)
                             .End()
                             .Raw(extra)
                             .Stream();
  ReadObject(stream, image);
  return image;
}

TEST(Picture, ReadsTheJpegHeaderAtOnce) {
  auto jpeg = MakeJpeg(64, 48);
  TImage image = ReadImage(Payload("TJPEGImage", jpeg, static_cast<uint32_t>(jpeg.size())));
  ASSERT_NE(image.Picture.Graphic(), nullptr);
  EXPECT_EQ(image.Picture.Graphic()->Width(), 64);
  EXPECT_EQ(image.Picture.Graphic()->Height(), 48);
  EXPECT_FALSE(image.Picture.Graphic()->Grayscale());
  EXPECT_FALSE(image.Picture.Graphic()->Progressive());
  EXPECT_EQ(image.Picture.Graphic()->Data(), jpeg);

  auto gray = MakeJpeg(10, 7, true, true);
  TJPEGImage other(gray);
  EXPECT_TRUE(other.Grayscale());
  EXPECT_TRUE(other.Progressive());
}

TEST(Picture, UnknownGraphicClassGivesAnEmptyPicture) {
  auto jpeg = MakeJpeg(8, 8);
  TImage image = ReadImage(Payload("TBitmap", jpeg, static_cast<uint32_t>(jpeg.size())));
  EXPECT_EQ(image.Picture.Graphic(), nullptr);
}

TEST(Picture, JpegLengthBeyondItsBlockFailsEvenWithMoreFileAfterIt) {
  auto jpeg = MakeJpeg(8, 8);
  try {
    ReadImage(Payload("TJPEGImage", jpeg, static_cast<uint32_t>(jpeg.size()) + 1),
              std::string(5000, 'x'));
    FAIL();
  } catch (const EError& e) {
    EXPECT_STREQ(e.what(), "Error reading TImage.Picture.Data: Stream read error");
  }
}

TEST(Picture, EmptyDataBlockIsAReadErrorNotACrash) {
  // Found by the fuzzer: a Binary value of length 0 for the picture data.
  try {
    ReadImage("");
    FAIL();
  } catch (const EError& e) {
    EXPECT_STREQ(e.what(), "Error reading TImage.Picture.Data: Stream read error");
  }
}

TEST(Picture, DamagedHeaderReportsTheLibraryErrorNumber) {
  auto jpeg = MakeJpeg(8, 8);
  jpeg[0] = 0x00;  // no start-of-image marker
  try {
    ReadImage(Payload("TJPEGImage", jpeg, static_cast<uint32_t>(jpeg.size())));
    FAIL();
  } catch (const EError& e) {
    EXPECT_TRUE(
        std::string(e.what()).starts_with("Error reading TImage.Picture.Data: JPEG error #"))
        << e.what();
  }
  EXPECT_THROW(TJPEGImage(std::vector<uint8_t>{}), EReadError);
  EXPECT_THROW(TJPEGImage(std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + 20)), EReadError);
}

TEST(Picture, DecodesToBgrRowsOnFirstUse) {
  TJPEGImage jpeg(MakeJpeg(33, 20, false, false, 220, 30, 10));
  const TBitmap& pixels = jpeg.Pixels();
  EXPECT_EQ(pixels.Width(), 33);
  EXPECT_EQ(pixels.Height(), 20);
  EXPECT_EQ(pixels.Stride(), 100u);  // 99 bytes padded to 4
  const uint8_t* first = pixels.Bits();
  EXPECT_NEAR(first[0], 10, 12);   // blue
  EXPECT_NEAR(first[1], 30, 12);   // green
  EXPECT_NEAR(first[2], 220, 12);  // red
  EXPECT_EQ(&jpeg.Pixels(), &pixels) << "decoded once and kept";
}

TEST(Picture, ScaledDecodeCoversItsTarget) {
  TJPEGImage jpeg(MakeJpeg(1600, 1200));
  EXPECT_EQ(jpeg.ScaleToCover(152, 112), 8);
  EXPECT_EQ(jpeg.ScaleToCover(201, 100), 4);
  EXPECT_EQ(jpeg.ScaleToCover(1600, 1200), 1);
  EXPECT_EQ(jpeg.ScaleToCover(3000, 10), 1);
  TBitmap small = jpeg.Decode(8);
  EXPECT_EQ(small.Width(), 200);
  EXPECT_EQ(small.Height(), 150);
}

TEST(Picture, DecodingInTwoGivesTheWholeDecodesPixels) {
  // Colour that changes from pixel to pixel, so rows decoded with the wrong
  // neighbours (the chroma rows an upsampler blends) would show.
  auto fill = [](int components) {
    return [components](int y, uint8_t* row) {
      for (int x = 0; x < 301; ++x)
        for (int c = 0; c < components; ++c)
          row[x * components + c] = static_cast<uint8_t>((x * 37 + y * 11 + c * 90) ^ (x * y));
    };
  };
  struct TCase {
    const char* Name;
    int Components, Space, Height;
    bool FullChroma;
  } cases[] = {{"4:2:0", 3, JCS_RGB, 203, false},
               {"4:4:4", 3, JCS_RGB, 150, true},
               {"grey", 1, JCS_GRAYSCALE, 97, false}};
  for (const TCase& c : cases) {
    const std::vector<uint8_t> bytes = test::CompressJpeg(
        301, c.Height, c.Components, c.Space, 90, false, fill(c.Components), 1, c.FullChroma);
    ASSERT_TRUE(SplitAtRestart(bytes)) << c.Name;
    const TJPEGImage jpeg(bytes);
    for (int scale : {1, 2, 4, 8})
      EXPECT_TRUE(SamePixels(jpeg.Decode(scale, nullptr, 2), jpeg.Decode(scale)))
          << c.Name << " at 1/" << scale;

    // Cut short in its lower half, the file is decoded whole, as before,
    // with libjpeg's warning.
    const TJPEGImage cut(std::vector<uint8_t>(bytes.begin(), bytes.end() - bytes.size() / 5));
    std::vector<std::string> inTwo, whole;
    EXPECT_TRUE(SamePixels(cut.Decode(2, &inTwo, 2), cut.Decode(2, &whole))) << c.Name;
    EXPECT_FALSE(inTwo.empty());
    EXPECT_EQ(inTwo, whole);
  }
  EXPECT_FALSE(SplitAtRestart(MakeJpeg(301, 203))) << "no restart markers: decoded whole";
}

TEST(Picture, WritesThePayloadItReads) {
  auto jpeg = MakeJpeg(12, 9);
  TImage image;
  image.Picture.SetGraphic(std::make_unique<TJPEGImage>(jpeg));
  TMemoryStream stream;
  WriteObject(stream, image);
  stream.Seek(0);
  TImage copy;
  ReadObject(stream, copy);
  ASSERT_NE(copy.Picture.Graphic(), nullptr);
  EXPECT_EQ(copy.Picture.Graphic()->Data(), jpeg);
}

}  // namespace
}  // namespace pixvane
