#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "graphics/Bitmap.h"
#include "package/Persistent.h"

namespace pixvane {

class TStream;

// A JPEG file held as its bytes. The header is parsed when the data arrives,
// so a damaged picture is known at once; pixels are decoded on first use.
class TJPEGImage {
 public:
  // Takes the JPEG file bytes; a damaged header fails with "JPEG error #%d".
  explicit TJPEGImage(std::vector<uint8_t> data);

  const std::vector<uint8_t>& Data() const { return FData; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Grayscale() const { return FGrayscale; }
  bool Progressive() const { return FProgressive; }

  // The full-size pixels, decoded the first time they are asked for.
  const TBitmap& Pixels();
  // Pixels at 1/scale of the size (scale 1, 2, 4 or 8), decoded each call:
  // libjpeg's scaled decode is much cheaper than decoding and shrinking.
  // libjpeg's warnings (a cut-short file, corrupt data), which leave part of
  // the picture grey, go to warnings when given, each text once. With two
  // threads, a file with restart markers is decoded in two parts at once,
  // to the same pixels.
  TBitmap Decode(int scale, std::vector<std::string>* warnings = nullptr, int threads = 1) const;
  // The largest of the scales 1, 2, 4 and 8 whose result still covers
  // width x height.
  int ScaleToCover(int width, int height) const;

 private:
  std::optional<TBitmap> DecodeInTwo(int scale) const;

  std::vector<uint8_t> FData;
  int FWidth = 0, FHeight = 0;
  bool FGrayscale = false, FProgressive = false;
  std::unique_ptr<TBitmap> FPixels;
};

// Holds the graphic of a picture object. Its one stored property, "Data",
// is the graphic class name followed by the graphic's own data.
class TPicture : public TPersistent {
 public:
  TJPEGImage* Graphic() const { return FGraphic.get(); }
  void SetGraphic(std::unique_ptr<TJPEGImage> graphic) { FGraphic = std::move(graphic); }

  std::string_view ClassName() const override { return "TPicture"; }
  void DefineProperties(TPropertyList& properties) override;

  // Reads the graphic payload; an unknown graphic class leaves the picture empty.
  void ReadData(TStream& stream);
  void WriteData(TStream& stream) const;

 private:
  std::unique_ptr<TJPEGImage> FGraphic;
};

// A picture object of the package.
class TImage : public TPersistent {
 public:
  int32_t Left = 0, Top = 0, Width = 105, Height = 105;
  std::string Name;
  int32_t Tag = 0;
  TPicture Picture;

  std::string_view ClassName() const override { return "TImage"; }
  void DefineProperties(TPropertyList& properties) override;
};

}  // namespace pixvane
