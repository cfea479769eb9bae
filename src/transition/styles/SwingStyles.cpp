// Styles 119 to 122: the picture swings into place about a pivot one pixel
// outside one of its corners.
#include "transition/styles/SwingStyles.h"

#include <cmath>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "transition/styles/Styles.h"

namespace pixvane {

double SwingAngle(int p) {
  // pi to the full precision of an extended (64-bit mantissa) number.
  constexpr long double Pi = 3.14159265358979323846264338327950288L;
  return static_cast<double>(static_cast<long double>(100 - p) * Pi / 200.0L);
}

namespace {

// Rounds to the nearest integer, halves to the even one: the processor's
// own conversion in its default rounding mode.
inline int RoundEven(double x) {
#if defined(__SSE2__)
  return _mm_cvtsd_si32(_mm_set_sd(x));
#else
  return static_cast<int>(std::nearbyint(x));
#endif
}

// One frame's swing: sine and cosine, and the products of every column
// with them, which are the very products the per-pixel formula makes.
class TSwing {
 public:
  TSwing(TBitmap& screen, const TBitmap& picture, int cx, int cy, double angle)
      : FScreen(screen),
        FPicture(picture),
        FWidth(screen.Width()),
        FHeight(screen.Height()),
        FCX(cx),
        FCY(cy),
        FSin(std::sin(angle)),
        FCos(std::cos(angle)) {
    FColumnC.resize(static_cast<size_t>(FWidth));
    FColumnS.resize(static_cast<size_t>(FWidth));
    for (int x = 0; x < FWidth; ++x) {
      FColumnC[x] = static_cast<double>(x - FCX) * FCos;
      FColumnS[x] = static_cast<double>(x - FCX) * FSin;
    }
  }

  void Run() {
    if (FSin >= 0 && FCos >= 0)
      RunByRows();
    else
      RunChecked();
  }

 private:
  int U(int x, int y) const { return RoundEven(FColumnC[x] - (y - FCY) * FSin) + FCX; }
  int V(int x, int y) const { return RoundEven(FColumnS[x] + (y - FCY) * FCos) + FCY; }
  void Copy(uint8_t* to, int u, int v) const {
    std::memcpy(to, FPicture.ScanLine(v) + static_cast<size_t>(u) * 3, 3);
  }

  // The first x from which pred holds, the width if none; pred must keep
  // holding once it does.
  template <class Pred>
  int FirstWhere(Pred pred) const {
    int low = 0, high = FWidth;
    while (low < high) {
      const int mid = low + (high - low) / 2;
      if (pred(mid))
        high = mid;
      else
        low = mid + 1;
    }
    return low;
  }

  // Up to a quarter turn neither u nor v falls as x grows (the products, the
  // sums and the rounding all keep their order), so the pixels of a row that
  // land in the picture are one run, found by two searches; the run is then
  // copied without a test per pixel.
  void RunByRows() const {
    for (int y = 0; y < FHeight; ++y) {
      const int first = FirstWhere([&](int x) { return U(x, y) >= 0 && V(x, y) >= 0; });
      const int end = FirstWhere([&](int x) { return U(x, y) >= FWidth || V(x, y) >= FHeight; });
      CopyRun(y, first, end);
    }
  }

  void CopyRun(int y, int from, int to) const {
    // Byte stores may alias anything, so the picture's address and stride
    // are held here rather than read again from the bitmap after each pixel.
    const uint8_t* const bits = FPicture.Bits();
    const size_t stride = FPicture.Stride();
    const double dyS = (y - FCY) * FSin, dyC = (y - FCY) * FCos;
    uint8_t* pixel = FScreen.ScanLine(y) + static_cast<size_t>(from) * 3;
    auto copy = [&](int u, int v) {
      std::memcpy(pixel, bits + static_cast<size_t>(v + FCY) * stride + (u + FCX) * 3, 3);
      pixel += 3;
    };
    for (int x = from; x < to; ++x)
      copy(RoundEven(FColumnC[x] - dyS), RoundEven(FColumnS[x] + dyC));
  }

  // Beyond a quarter turn (no style goes there) every pixel is checked.
  void RunChecked() const {
    for (int y = 0; y < FHeight; ++y) {
      uint8_t* pixel = FScreen.ScanLine(y);
      for (int x = 0; x < FWidth; ++x, pixel += 3) {
        const int u = U(x, y), v = V(x, y);
        if (u >= 0 && u < FWidth && v >= 0 && v < FHeight) Copy(pixel, u, v);
      }
    }
  }

  TBitmap& FScreen;
  const TBitmap& FPicture;
  const int FWidth, FHeight, FCX, FCY;
  const double FSin, FCos;
  std::vector<double> FColumnC, FColumnS;
};

}  // namespace

void CornerSwing(TBitmap& screen, const TBitmap& picture, int cx, int cy, double angle) {
  TSwing(screen, picture, cx, cy, angle).Run();
}

void AddSwingStyles(TStepTable& t) {
  // The pivot lies one pixel outside the corner the picture swings about.
  t[119] = [](TFrame& f) { CornerSwing(f.Screen, f.Picture, -1, -1, SwingAngle(f.p)); };
  t[120] = [](TFrame& f) { CornerSwing(f.Screen, f.Picture, -1, f.H, SwingAngle(f.p)); };
  t[121] = [](TFrame& f) { CornerSwing(f.Screen, f.Picture, f.W, -1, SwingAngle(f.p)); };
  t[122] = [](TFrame& f) { CornerSwing(f.Screen, f.Picture, f.W, f.H, SwingAngle(f.p)); };
}

}  // namespace pixvane
