#include "maker/Reduce.h"

#include <algorithm>
#include <cassert>

#include "maker/JpegEncoder.h"
#include "package/Picture.h"

namespace pixvane::maker {
namespace {

// The source pixels one new pixel covers along one axis, and how much of
// each. Measured in units where a source pixel is `to` long and a new pixel
// `from` long, so every overlap is a whole number and the weights of one
// new pixel add up to `from`.
struct TSpan {
  int First = 0;
  std::vector<float> Weights;
};

std::vector<TSpan> Spans(int from, int to) {
  std::vector<TSpan> spans(static_cast<size_t>(to));
  for (int k = 0; k < to; ++k) {
    int64_t begin = int64_t{k} * from, end = begin + from;
    TSpan& span = spans[static_cast<size_t>(k)];
    span.First = static_cast<int>(begin / to);
    for (int64_t j = span.First; j * to < end; ++j) {
      int64_t covered = std::min(end, (j + 1) * to) - std::max(begin, j * to);
      span.Weights.push_back(static_cast<float>(covered) / static_cast<float>(from));
    }
  }
  return spans;
}

// One source row reduced across: each new pixel's three channels.
void ReduceRow(const uint8_t* row, const std::vector<TSpan>& spans, float* out) {
  for (const TSpan& span : spans) {
    float b = 0, g = 0, r = 0;
    const uint8_t* pixel = row + static_cast<size_t>(span.First) * TBitmap::BytesPerPixel;
    for (float weight : span.Weights) {
      b += weight * pixel[0];
      g += weight * pixel[1];
      r += weight * pixel[2];
      pixel += TBitmap::BytesPerPixel;
    }
    *out++ = b;
    *out++ = g;
    *out++ = r;
  }
}

}  // namespace

TPictureSize FitInside(int width, int height, int maxWidth, int maxHeight) {
  if (width <= maxWidth && height <= maxHeight) return {width, height};
  // The side that overflows more sets the scale; the other is rounded.
  if (int64_t{width} * maxHeight >= int64_t{height} * maxWidth)
    return {maxWidth, static_cast<int>(
                          std::max<int64_t>(1, (int64_t{height} * maxWidth + width / 2) / width))};
  return {
      static_cast<int>(std::max<int64_t>(1, (int64_t{width} * maxHeight + height / 2) / height)),
      maxHeight};
}

TBitmap AreaAverage(const TBitmap& source, int width, int height) {
  assert(width >= 1 && height >= 1 && width <= source.Width() && height <= source.Height());
  std::vector<TSpan> across = Spans(source.Width(), width);
  std::vector<TSpan> down = Spans(source.Height(), height);
  TBitmap result(width, height);
  size_t channels = static_cast<size_t>(width) * TBitmap::BytesPerPixel;
  // A source row on the border of two new rows serves both; it is reduced
  // across once.
  std::vector<float> row(channels), sum(channels);
  int rowIn = -1;
  for (int y = 0; y < height; ++y) {
    const TSpan& span = down[static_cast<size_t>(y)];
    std::fill(sum.begin(), sum.end(), 0.0f);
    for (size_t i = 0; i < span.Weights.size(); ++i) {
      int sourceY = span.First + static_cast<int>(i);
      if (sourceY != rowIn) ReduceRow(source.ScanLine(sourceY), across, row.data());
      rowIn = sourceY;
      for (size_t c = 0; c < channels; ++c) sum[c] += span.Weights[i] * row[c];
    }
    uint8_t* out = result.ScanLine(y);
    for (size_t c = 0; c < channels; ++c)
      out[c] = static_cast<uint8_t>(std::clamp(sum[c] + 0.5f, 0.0f, 255.0f));
  }
  return result;
}

std::optional<std::vector<uint8_t>> ReduceJpeg(const std::vector<uint8_t>& jpeg, int maxWidth,
                                               int maxHeight) {
  TJPEGImage image(jpeg);
  TPictureSize size = FitInside(image.Width(), image.Height(), maxWidth, maxHeight);
  if (size == TPictureSize{image.Width(), image.Height()}) return std::nullopt;
  TBitmap decoded = image.Decode(image.ScaleToCover(size.Width, size.Height));
  return EncodeJpeg(AreaAverage(decoded, size.Width, size.Height), ReducedQuality);
}

}  // namespace pixvane::maker
