// The effect bitmap's transitions and effects on its padded 24-bit rows.
#include "common/gtest.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "rtl/Random.h"
#include "skin/data/SpEffects.h"

namespace {

struct Eff {
  std::vector<Byte> Mem;
  TspEffectView V;
  Eff(Integer W, Integer H, Cardinal Seed) : Mem(size_t(TspEffectView::StrideOf(W)) * size_t(H)) {
    V = TspEffectView{Mem.data(), W, H};
    for (Integer y = 0; y < H; ++y)
      for (Integer x = 0; x < W; ++x) EffSetPixel(V, x, y, (Seed * 2654435761u + Cardinal(x * 977 + y * 131)) & 0xFFFFFF);
  }
  Cardinal At(Integer x, Integer y) const { return EffGetPixel(V, x, y); }
};

Byte Ch(Cardinal P, int c) { return Byte(P >> (8 * c)); }

// round(P * t + Q * (1 - t)) per channel, clamped.
Cardinal MixRef(Cardinal P, Cardinal Q, double t) {
  Cardinal R = 0;
  for (int c = 0; c < 3; ++c) {
    const double v = std::nearbyint(Ch(P, c) * t + Ch(Q, c) * (1 - t));
    R |= Cardinal(std::clamp(v, 0.0, 255.0)) << (8 * c);
  }
  return R;
}

double Clamp01(double k) { return !(k >= 0) ? 0 : k > 1 ? 1 : k; }

TEST(SpEffects, RowStride) {
  EXPECT_EQ(TspEffectView::StrideOf(10), 32);
  EXPECT_EQ(TspEffectView::StrideOf(12), 36);
  EXPECT_EQ(TspEffectView::StrideOf(1), 4);
  EXPECT_EQ(TspEffectView::StrideOf(3), 12);
}

// The expected picture of each transition, written from its rule per row.
using RowRule = void (*)(std::vector<Cardinal>& Row, const std::vector<Cardinal>& Q, Integer W, double Kf);

void LeftGradRef(std::vector<Cardinal>& Row, const std::vector<Cardinal>& Q, Integer W, double Kf) {
  Integer b = Integer(std::nearbyint(W * Clamp01(Kf)));
  b = std::min(std::max(b, 1), W - 1);
  const double step = b == 0 ? 1 : 1.0 / b;
  double t = 0;
  for (Integer k = 0; k <= b; ++k, t = std::min(1.0, t + step)) Row[k] = MixRef(Row[k], Q[k], t);
}
void RightGradRef(std::vector<Cardinal>& Row, const std::vector<Cardinal>& Q, Integer W, double Kf) {
  Integer c = W - Integer(std::nearbyint(W * Clamp01(Kf)));
  c = std::min(std::max(c, 0), W - 1);
  const double step = 1.0 / (W - c);
  double t = 0;
  for (Integer k = W - 1; k >= c; --k, t = std::min(1.0, t + step)) Row[k] = MixRef(Row[k], Q[k], t);
}
void HGradRef(std::vector<Cardinal>& Row, const std::vector<Cardinal>& Q, Integer W, double Kf) {
  const Integer b = Integer(std::nearbyint(W * Clamp01(Kf))), c = (W - b) / 2;
  const double step = c == 0 ? 1 : 1.0 / c;
  const Integer L = std::max(0, W / 2 - b / 2), R = std::min(W - 1, W / 2 + b / 2);
  for (Integer k = L; k <= R; ++k) Row[k] = Q[k];
  double t = 0;
  for (Integer k = L; k >= 0; --k, t = std::min(1.0, t + step)) Row[k] = MixRef(Row[k], Q[k], t);
  t = 0;
  for (Integer k = R; k < W; ++k, t = std::min(1.0, t + step)) Row[k] = MixRef(Row[k], Q[k], t);
}
void PushRef(std::vector<Cardinal>& Row, const std::vector<Cardinal>& Q, Integer W, double Kf) {
  const Integer b = std::min(std::max(Integer(std::nearbyint(W * Clamp01(Kf))), 0), W - 1);
  const std::vector<Cardinal> Old = Row;
  for (Integer j = W - 1; j >= b; --j) Row[j] = Old[std::max(j - b - 1, 0)];
  for (Integer j = 0; j <= b; ++j) Row[j] = Q[W - b - 1 + j];
}
void LeftSlideRef(std::vector<Cardinal>& Row, const std::vector<Cardinal>& Q, Integer W, double Kf) {
  const Integer b = std::min(std::max(Integer(std::nearbyint(W * Clamp01(Kf))), 1), W - 1);
  for (Integer j = 0; j < b; ++j) Row[j] = Q[W - b + j];
}
void RightSlideRef(std::vector<Cardinal>& Row, const std::vector<Cardinal>& Q, Integer W, double Kf) {
  const Integer b = std::min(std::max(Integer(std::nearbyint(W * Clamp01(Kf))), 1), W - 1);
  for (Integer j = 0; j < b; ++j) Row[W - b + j] = Q[j];
}
void MorphRef(std::vector<Cardinal>& Row, const std::vector<Cardinal>& Q, Integer W, double Kf) {
  for (Integer k = 0; k < W; ++k) Row[k] = MixRef(Row[k], Q[k], 1 - Clamp01(Kf));
}

TEST(SpEffects, RowTransitionsAgainstReference) {
  const struct {
    const char* Name;
    void (*Fn)(const TspEffectView&, const TspEffectView&, double);
    RowRule Ref;
  } Cases[] = {{"Morph", EffMorph, MorphRef},
               {"HGrad", EffMorphHGrad, HGradRef},
               {"LeftGrad", EffMorphLeftGrad, LeftGradRef},
               {"RightGrad", EffMorphRightGrad, RightGradRef},
               {"Push", EffMorphPush, PushRef},
               {"LeftSlide", EffMorphLeftSlide, LeftSlideRef},
               {"RightSlide", EffMorphRightSlide, RightSlideRef}};
  const double Kfs[] = {0, 0.2, 0.5, 1, -1, 2, std::numeric_limits<double>::quiet_NaN()};
  for (const auto& C : Cases)
    for (Integer W : {1, 2, 3, 10, 11})
      for (Integer H : {1, 2, 3})
        for (double Kf : Kfs) {
          Eff A(W, H, 1), B(W, H, 2);
          std::vector<std::vector<Cardinal>> Expect(static_cast<size_t>(H));
          for (Integer y = 0; y < H; ++y) {
            std::vector<Cardinal> Row(static_cast<size_t>(W)), Q(static_cast<size_t>(W));
            for (Integer x = 0; x < W; ++x) {
              Row[x] = A.At(x, y);
              Q[x] = B.At(x, y);
            }
            C.Ref(Row, Q, W, Kf);
            Expect[size_t(y)] = Row;
          }
          C.Fn(A.V, B.V, Kf);
          for (Integer y = 0; y < H; ++y)
            for (Integer x = 0; x < W; ++x)
              ASSERT_EQ(A.At(x, y), Expect[size_t(y)][size_t(x)]) << C.Name << " W" << W << " H" << H << " Kf" << Kf
                                                                 << " at " << x << "," << y;
        }
}

TEST(SpEffects, NamedEdgeCases) {
  Eff A(10, 2, 1), B(10, 2, 2);
  Eff A0 = A;
  A0.V.Bits = A0.Mem.data();
  EffMorphHGrad(A.V, B.V, 0);
  EXPECT_EQ(A.At(5, 0), B.At(5, 0));
  EXPECT_EQ(A.At(0, 0), A0.At(0, 0));
  EXPECT_EQ(A.At(9, 0), MixRef(A0.At(9, 0), B.At(9, 0), 0.8));
  // Sizes that differ: nothing.
  Eff C(10, 3, 3);
  Eff C0 = C;
  C0.V.Bits = C0.Mem.data();
  EffMorph(C.V, B.V, 0.5);
  EXPECT_EQ(C.Mem, C0.Mem);
  // Push with Kf 0: BMP's last column first, then this bitmap shifted by one.
  Eff P(4, 1, 5), Q(4, 1, 6);
  Eff P0 = P;
  P0.V.Bits = P0.Mem.data();
  EffMorphPush(P.V, Q.V, 0);
  EXPECT_EQ(P.At(0, 0), Q.At(3, 0));
  for (Integer x = 1; x < 4; ++x) EXPECT_EQ(P.At(x, 0), P0.At(x - 1, 0));
}

TEST(SpEffects, VerticalGradientKeepsItsOwnStep) {
  for (Integer H : {1, 2, 3, 10, 11})
    for (double Kf : {0.0, 0.2, 0.5, 1.0}) {
      Eff A(2, H, 7), B(2, H, 8);
      Eff A0 = A;
      A0.V.Bits = A0.Mem.data();
      EffMorphVGrad(A.V, B.V, Kf);
      const Integer b = Integer(std::nearbyint(H * Kf)), c = (H - 1 - b) / 2;
      const double step = c == 0 ? 0 : 1.0 / c;
      const Integer T = std::max(0, H / 2 - b / 2), Bo = std::min(H - 1, H / 2 + b / 2);
      std::vector<double> Weight(size_t(H), -1);
      double t = 0;
      for (Integer y = T; y >= 0; --y, t = std::min(1.0, t + step)) Weight[y] = t;
      t = 0;
      for (Integer y = Bo; y < H; ++y, t = std::min(1.0, t + step)) Weight[y] = t;
      for (Integer y = 0; y < H; ++y) {
        const Cardinal Want = Weight[y] < 0 ? B.At(0, y) : MixRef(y >= T && y <= Bo ? B.At(0, y) : A0.At(0, y), B.At(0, y), Weight[y]);
        EXPECT_EQ(A.At(0, y), Want) << H << " " << Kf << " row " << y;
      }
    }
}

TEST(SpEffects, ChannelEffectsOverAllValues) {
  Eff E(256, 1, 0);
  for (Integer x = 0; x < 256; ++x) EffSetPixel(E.V, x, 0, Cardinal(x) * 0x010101u);
  auto Run = [&](auto Fn, auto Want) {
    Eff F = E;
    F.V.Bits = F.Mem.data();
    Fn(F.V);
    for (Integer v = 0; v < 256; ++v) ASSERT_EQ(F.At(v, 0) & 0xFF, Cardinal(Want(v))) << v;
  };
  Run([](auto& V) { EffChangeBrightness(V, 0.5); }, [](Integer v) { return Integer(std::nearbyint(0.5 * v + 127.5)); });
  Run([](auto& V) { EffChangeDarkness(V, 0.3); }, [](Integer v) { return Integer(std::nearbyint(0.7 * v)); });
  Run([](auto& V) { EffInvert(V); }, [](Integer v) { return 255 - v; });
  Run([](auto& V) { EffGrayScale(V); },
      [](Integer v) { return std::min(255, Integer(std::nearbyint(0.3 * v + 0.59 * v + 0.11 * v))); });
  Run([](auto& V) { EffAddMonoNoise(V, 0); }, [](Integer v) { return v; });
  // (0, 100, 255) brightened by half: 127.5 -> 128, 177.5 -> 178.
  Eff G(1, 1, 0);
  EffSetPixel(G.V, 0, 0, 0x0064FFu);  // red 0, green 100, blue 255
  EffChangeBrightness(G.V, 0.5);
  EXPECT_EQ(G.At(0, 0), 0x80B2FFu);
}

TEST(SpEffects, SplitBlurStaysInside) {
  for (Integer Amount : {1, 2, 3, -2})
    for (auto [W, H] : {std::pair{1, 1}, std::pair{2, 2}, std::pair{5, 3}}) {
      Eff E(W, H, 9);
      EffSplitBlur(E.V, Amount);  // the sanitizers check every read
      Eff M(W, H, 0);
      EffMaskBlur(E.V, M.V, Amount);
      EffMaskAntialiasing(E.V, M.V, Amount);
    }
  // A 1 x 1 bitmap averages its own pixel four times.
  Eff One(1, 1, 4);
  const Cardinal P = One.At(0, 0);
  EffSplitBlur(One.V, 1);
  EXPECT_EQ(One.At(0, 0), P);
}

TEST(SpEffects, MosaicBlocksAndTurns) {
  Eff E(3, 3, 11);
  Eff E0 = E;
  E0.V.Bits = E0.Mem.data();
  EffMosaic(E.V, 2);
  const Integer Src[3] = {0, 0, 2};
  for (Integer y = 0; y < 3; ++y)
    for (Integer x = 0; x < 3; ++x) EXPECT_EQ(E.At(x, y), E0.At(Src[x], Src[y])) << x << "," << y;
  Eff A(3, 2, 12), R(2, 3, 0), F(3, 2, 0), Wrong(3, 3, 13);
  EffRotate90_1(A.V, R.V);
  EXPECT_EQ(R.At(1, 0), A.At(2, 1));  // (x, y) -> (y, W - 1 - x)
  EffRotate90_2(A.V, R.V);
  EXPECT_EQ(R.At(1, 0), A.At(0, 0));  // (x, y) -> (H - 1 - y, x)
  EffFlipVert(A.V, F.V);
  EXPECT_EQ(F.At(2, 0), A.At(2, 1));
  Eff W0 = Wrong;
  W0.V.Bits = W0.Mem.data();
  EffRotate90_1(A.V, Wrong.V);  // not the turned size: nothing
  EffFlipVert(A.V, Wrong.V);
  EXPECT_EQ(Wrong.Mem, W0.Mem);
}

TEST(SpEffects, MaskedEffectsSpareWhite) {
  Eff E(2, 1, 3), M(2, 1, 0);
  EffSetPixel(M.V, 0, 0, 0xFFFFFF);
  EffSetPixel(M.V, 1, 0, 0xFFFFFE);
  const Cardinal P0 = E.At(0, 0), P1 = E.At(1, 0);
  EffMaskFillColor(E.V, M.V, 0x0000FF, 1.0);  // $00BBGGRR red
  EXPECT_EQ(E.At(0, 0), P0);
  EXPECT_EQ(E.At(1, 0), 0xFF0000u);
  (void)P1;
}

}  // namespace
