// Sharpen and exponential blur.
#include "bitmap/SharpenLib32.h"

#include <cmath>
#include <vector>

namespace {

struct TKernel {
  Integer W[5][5];
  Integer Divisor;
};

constexpr TKernel KernelA = {{{0, 0, 0, 0, 0},
                              {0, -1, -2, -1, 0},
                              {0, -2, 28, -2, 0},
                              {0, -1, -2, -1, 0},
                              {0, 0, 0, 0, 0}},
                             16};
constexpr TKernel KernelB = {{{0, 0, 0, 0, 0},
                              {0, -2, -1, -2, 0},
                              {0, -1, 28, -1, 0},
                              {0, -2, -1, -2, 0},
                              {0, 0, 0, 0, 0}},
                             16};

// The reach of a kernel: 2 when its outer ring holds a weight, else 1.
Integer KernelReach(const TKernel& K) {
  for (int i = 0; i < 5; ++i)
    if (K.W[0][i] || K.W[4][i] || K.W[i][0] || K.W[i][4]) return 2;
  return 1;
}

}  // namespace

void Sharpen(TCustomBitmap32* Bitmap, Integer Kind) {
  if (!Bitmap || Bitmap->Empty()) return;
  const TKernel& K = (Kind & 1) ? KernelB : KernelA;
  Integer div = K.Divisor == 0 ? 1 : K.Divisor;
  Integer reach = KernelReach(K);
  Integer W = Bitmap->Width(), H = Bitmap->Height();
  std::vector<TColor32> copy(Bitmap->Bits(), Bitmap->Bits() + size_t(W) * size_t(H));
  std::vector<const TColor32*> rows(static_cast<size_t>(H));
  for (Integer y = 0; y < H; ++y) rows[size_t(y)] = copy.data() + size_t(y) * size_t(W);
  for (Integer y = 0; y < H; ++y) {
    TColor32* out = Bitmap->ScanLine(y);
    for (Integer x = 0; x < W; ++x) {
      TColor32 centre = rows[size_t(y)][x];
      Integer sum[4] = {0, 0, 0, 0};
      for (Integer dy = -reach; dy <= reach; ++dy)
        for (Integer dx = -reach; dx <= reach; ++dx) {
          Integer w = K.W[dy + 2][dx + 2];
          if (w == 0) continue;
          Integer sx = x + dx, sy = y + dy;
          TColor32 c = (sx < 0 || sy < 0 || sx >= W || sy >= H) ? centre : rows[size_t(sy)][sx];
          for (int k = 0; k < 4; ++k) sum[k] += w * Integer((c >> (8 * k)) & 0xFF);
        }
      TColor32 r = 0;
      for (int k = 0; k < 4; ++k) {
        Integer v = sum[k] / div;
        r |= TColor32(v < 0 ? 0 : (v > 255 ? 255 : v)) << (8 * k);
      }
      out[x] = r;
    }
  }
  Bitmap->Changed();
}

Integer ExpBlurDecay(Integer Radius) {
  return Integer(std::nearbyint((1.0 - std::exp(-2.3 / (double(Radius) + 1.0))) * 65536.0));
}

namespace {

// One pass over Count pixels Stride apart.
inline void BlurLine(TColor32* P, Integer Count, ptrdiff_t Stride, Int64 Decay) {
  if (Count < 2) return;
  Int64 s[4];
  for (int k = 0; k < 4; ++k) s[k] = Int64((P[0] >> (8 * k)) & 0xFF) << 7;
  auto step = [&](TColor32& px) {
    TColor32 r = 0;
    for (int k = 0; k < 4; ++k) {
      Int64 c = Int64((px >> (8 * k)) & 0xFF) << 7;
      s[k] += ((c - s[k]) * Decay) >> 16;  // arithmetic shift: floor
      r |= TColor32(s[k] >> 7) << (8 * k);
    }
    px = r;
  };
  for (Integer i = 1; i < Count; ++i) step(P[i * Stride]);
  for (Integer i = Count - 2; i >= 0; --i) step(P[i * Stride]);
}

}  // namespace

void ExpBlur(TCustomBitmap32* Bitmap, Integer Radius) {
  if (!Bitmap || Radius <= 0 || Bitmap->Empty()) return;
  Int64 decay = ExpBlurDecay(Radius);
  Integer W = Bitmap->Width(), H = Bitmap->Height();
  for (Integer y = 0; y < H; ++y) BlurLine(Bitmap->ScanLine(y), W, 1, decay);
  for (Integer x = 0; x < W; ++x) BlurLine(Bitmap->Bits() + x, H, W, decay);
  Bitmap->Changed();
}
