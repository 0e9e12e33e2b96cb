#include "skin/data/SpBlur.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

TspReciprocal::TspReciprocal(Cardinal D) {
  // S = 24 + ceil(log2 D), M = ceil(2^S / D): then 2^S <= M * D < 2^S + D
  // <= 2^S + 2^(S - 24), which makes (N * M) >> S exact for every N < 2^24.
  Integer l = 0;
  while ((UInt64(1) << l) < D) ++l;
  S = 24 + l;
  M = ((UInt64(1) << S) + D - 1) / D;
}

namespace {

struct Rgb {
  Cardinal R, G, B;
};

// One pass of the stack over Count samples, read at In(i) and written at
// Out(i, r, g, b), positions clamped to 0..Count - 1.
template <class InF, class OutF>
void StackPass(Integer Count, Integer Radius, const TspReciprocal& Div, std::vector<Rgb>& Stack, InF In, OutF Out) {
  const Integer r = Radius, div = 2 * r + 1, last = Count - 1;
  Cardinal sumR = 0, sumG = 0, sumB = 0, inR = 0, inG = 0, inB = 0, outR = 0, outG = 0, outB = 0;
  for (Integer i = -r; i <= r; ++i) {
    const Rgb p = In(std::clamp(i, 0, last));
    Stack[size_t(i + r)] = p;
    const Cardinal w = Cardinal(r + 1 - std::abs(i));
    sumR += p.R * w;
    sumG += p.G * w;
    sumB += p.B * w;
    if (i > 0) {
      inR += p.R;
      inG += p.G;
      inB += p.B;
    } else {
      outR += p.R;
      outG += p.G;
      outB += p.B;
    }
  }
  Integer sp = r;
  for (Integer x = 0; x < Count; ++x) {
    Out(x, Div.Div(sumR), Div.Div(sumG), Div.Div(sumB));
    sumR -= outR;
    sumG -= outG;
    sumB -= outB;
    Rgb& old = Stack[size_t((sp - r + div) % div)];
    outR -= old.R;
    outG -= old.G;
    outB -= old.B;
    old = In(std::min(x + r + 1, last));
    inR += old.R;
    inG += old.G;
    inB += old.B;
    sumR += inR;
    sumG += inG;
    sumB += inB;
    sp = (sp + 1) % div;
    const Rgb& mid = Stack[size_t(sp)];
    outR += mid.R;
    outG += mid.G;
    outB += mid.B;
    inR -= mid.R;
    inG -= mid.G;
    inB -= mid.B;
  }
}

}  // namespace

void StackBlurPixels(TspColor* Bits, Integer Width, Integer Height, Integer Radius) {
  if (!Bits || Width <= 0 || Height <= 0 || Radius <= 0) return;
  const Integer r = std::min(Radius, MaxStackBlurRadius);
  const TspReciprocal Div(Cardinal((r + 1) * (r + 1)));
  std::vector<Rgb> Stack(static_cast<size_t>(2 * r + 1));
  const size_t N = size_t(Width) * size_t(Height);
  std::vector<Byte> Planes(N * 3);
  Byte* PR = Planes.data();
  Byte* PG = PR + N;
  Byte* PB = PG + N;
  for (Integer y = 0; y < Height; ++y) {
    const TspColor* Row = Bits + size_t(y) * size_t(Width);
    const size_t base = size_t(y) * size_t(Width);
    StackPass(
        Width, r, Div, Stack,
        [Row](Integer x) {
          const TspColor p = Row[x];
          return Rgb{(p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF};
        },
        [&](Integer x, Cardinal R, Cardinal G, Cardinal B) {
          PR[base + size_t(x)] = Byte(R);
          PG[base + size_t(x)] = Byte(G);
          PB[base + size_t(x)] = Byte(B);
        });
  }
  for (Integer x = 0; x < Width; ++x) {
    StackPass(
        Height, r, Div, Stack,
        [&](Integer y) {
          const size_t i = size_t(y) * size_t(Width) + size_t(x);
          return Rgb{PR[i], PG[i], PB[i]};
        },
        [&](Integer y, Cardinal R, Cardinal G, Cardinal B) {
          Bits[size_t(y) * size_t(Width) + size_t(x)] = 0xFF000000u | (R << 16) | (G << 8) | B;
        });
  }
}

void AlphaFromGrayPixels(TspColor* Bits, Integer Width, Integer Height, const TspColor* Mask, Integer MaskWidth,
                         Integer MaskHeight) {
  if (!Bits || !Mask) return;
  const Integer w = std::min(Width, MaskWidth), h = std::min(Height, MaskHeight);
  for (Integer y = 0; y < h; ++y) {
    TspColor* D = Bits + size_t(y) * size_t(Width);
    const TspColor* M = Mask + size_t(y) * size_t(MaskWidth);
    for (Integer x = 0; x < w; ++x) {
      const TspColor m = M[x];
      const Cardinal a = (((m >> 16) & 0xFF) + ((m >> 8) & 0xFF) + (m & 0xFF)) / 3;
      D[x] = (D[x] & 0x00FFFFFFu) | (a << 24);
    }
  }
}
