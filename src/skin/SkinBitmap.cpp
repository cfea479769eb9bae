#include "skin/SkinBitmap.h"

#include <algorithm>

#include "base/Errors.h"
#include "base/Stream.h"
#include "skin/SkinRecordIO.h"

namespace pixvane {

TSkinBitmap::TSkinBitmap(int32_t width, int32_t height, TSkinPixel fill) {
  SetSize(width, height, fill);
}

void TSkinBitmap::SetSize(int32_t width, int32_t height, TSkinPixel fill) {
  if (!IsSkinBitmapSize(width, height)) throw EError("Can't allocate the DIB handle");
  FPixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), fill);
  FWidth = width;
  FHeight = height;
}

void TSkinBitmap::Fill(TSkinPixel pixel) {
  std::fill(FPixels.begin(), FPixels.end(), pixel);
}

void TSkinBitmap::Read(TStream& stream) {
  Name = ReadRecordText(stream);
  const int32_t width = ReadRecordInt(stream), height = ReadRecordInt(stream);
  // Checked before anything is allocated: the size must be sane and the
  // stream must still hold every pixel it claims.
  if (!IsSkinBitmapSize(width, height)) throw EReadError("Invalid skin bitmap size");
  if (int64_t{width} * height * 4 > stream.Remaining()) throw EReadError("Stream read error");
  SetSize(width, height);
  if (!FPixels.empty()) stream.ReadBuffer(FPixels.data(), FPixels.size() * 4);
  for (TSkinPixel& pixel : FPixels)
    if ((pixel & 0xFFFFFF) == 0xFF00FF) pixel = TransparentKey;
}

void TSkinBitmap::Write(TStream& stream) const {
  WriteRecordText(stream, Name);
  WriteRecordInt(stream, FWidth);
  WriteRecordInt(stream, FHeight);
  if (!FPixels.empty()) stream.Write(FPixels.data(), FPixels.size() * 4);
}

}  // namespace pixvane
