// Helpers shared by the tests of containers, tiles, transfers, resamplers,
// rasterizers, transformations and the repaint optimiser.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_Engine.h"

namespace bmptest {

// The engine is started once per test program (idempotent).
inline void EnsureEngine() { InitializeBitmapEngine(); }

// A bitmap filled from a function of (x, y).
template <class F>
inline void FillBitmap(TCustomBitmap32& B, Integer W, Integer H, F Fn) {
  B.SetSize(W, H);
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) B.SetPixel(X, Y, Fn(X, Y));
}

// Distinct opaque value per pixel.
inline TColor32 Tag(Integer X, Integer Y) { return 0xFF000000u | (TColor32(X & 0xFF) << 16) | (TColor32(Y & 0xFF) << 8) | 0x55u; }

inline void FillRandom(TCustomBitmap32& B, Integer W, Integer H, std::uint32_t Seed, bool Opaque) {
  std::mt19937 Rng(Seed);
  FillBitmap(B, W, H, [&](Integer, Integer) {
    TColor32 C = Rng();
    return Opaque ? (C | 0xFF000000u) : C;
  });
}

inline std::vector<TColor32> Pixels(const TCustomBitmap32& B) {
  return std::vector<TColor32>(B.Bits(), B.Bits() + size_t(B.Width()) * size_t(B.Height()));
}

// Records change reports of a bitmap.
struct TAreaLog {
  std::vector<TRect> Areas;
  std::vector<Cardinal> Infos;
  void Attach(TCustomBitmap32& B) {
    B.SetOnAreaChanged([this](TObject*, const TRect& R, Cardinal I) {
      Areas.push_back(R);
      Infos.push_back(I);
    });
  }
};

inline int ChannelDiff(TColor32 A, TColor32 B) {
  int M = 0;
  for (int S = 0; S < 32; S += 8) {
    int D = int((A >> S) & 0xFF) - int((B >> S) & 0xFF);
    if (D < 0) D = -D;
    if (D > M) M = D;
  }
  return M;
}

}  // namespace bmptest

inline std::ostream& operator<<(std::ostream& Os, const TRect& R) {
  return Os << "(" << R.Left << ", " << R.Top << ", " << R.Right << ", " << R.Bottom << ")";
}
