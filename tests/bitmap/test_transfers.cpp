#include "common/gtest.h"

#include <random>

#include "bitmap/Bmp32_Resamplers.h"
#include "bitmap/resample_test_helpers.h"

namespace {

using namespace bmptest;

class Transfers : public ::testing::Test {
 protected:
  void SetUp() override { EnsureEngine(); }
};

// Reference for TransferBlock in the opaque mode: a naive clipped copy.
std::vector<TColor32> NaiveBlock(const TCustomBitmap32& Dst, Integer DstX, Integer DstY, const TRect& DstClip,
                                 const TCustomBitmap32& Src, const TRect& SrcRect) {
  std::vector<TColor32> R = Pixels(Dst);
  for (Integer Y = SrcRect.Top; Y < SrcRect.Bottom; ++Y)
    for (Integer X = SrcRect.Left; X < SrcRect.Right; ++X) {
      if (X < 0 || Y < 0 || X >= Src.Width() || Y >= Src.Height()) continue;
      const Integer DX = DstX + X - SrcRect.Left, DY = DstY + Y - SrcRect.Top;
      if (DX < 0 || DY < 0 || DX >= Dst.Width() || DY >= Dst.Height()) continue;
      if (DX < DstClip.Left || DY < DstClip.Top || DX >= DstClip.Right || DY >= DstClip.Bottom) continue;
      R[size_t(DX) + size_t(DY) * Dst.Width()] = Src.GetPixel(X, Y);
    }
  return R;
}

TEST_F(Transfers, BlockLeftOfTheDestinationCopiesAndReportsTheVisiblePart) {
  TCustomBitmap32 Src, Dst;
  FillBitmap(Src, 8, 4, Tag);
  Dst.SetSize(10, 10);
  TAreaLog Log;
  Log.Attach(Dst);
  TransferBlock(&Dst, -5, 2, Dst.BoundsRect(), &Src, Src.BoundsRect(), dmOpaque);
  ASSERT_EQ(Log.Areas.size(), 1u);
  EXPECT_EQ(Log.Areas[0], TRect(0, 2, 3, 6));
  EXPECT_EQ(Log.Infos[0], AreaInfoRect);
  EXPECT_EQ(Dst.GetPixel(0, 2), Tag(5, 0));
  EXPECT_EQ(Dst.GetPixel(2, 5), Tag(7, 3));
  EXPECT_EQ(Dst.GetPixel(3, 2), 0xFF000000u);
}

TEST_F(Transfers, ClippingAtEveryEdge) {
  TCustomBitmap32 Src, Dst;
  FillBitmap(Src, 6, 5, Tag);
  struct Case {
    Integer DstX, DstY;
    TRect DstClip, SrcRect;
  } Cases[] = {
      {-3, 0, TRect(0, 0, 10, 8), TRect(0, 0, 6, 5)},    {7, 0, TRect(0, 0, 10, 8), TRect(0, 0, 6, 5)},
      {0, -4, TRect(0, 0, 10, 8), TRect(0, 0, 6, 5)},    {0, 6, TRect(0, 0, 10, 8), TRect(0, 0, 6, 5)},
      {2, 1, TRect(3, 2, 5, 4), TRect(0, 0, 6, 5)},      {1, 1, TRect(-5, -5, 50, 50), TRect(-2, -1, 9, 9)},
      {4, 3, TRect(0, 0, 10, 8), TRect(2, 1, 5, 4)},     {12, 0, TRect(0, 0, 10, 8), TRect(0, 0, 6, 5)},
      {0, 0, TRect(0, 0, 10, 8), TRect(6, 0, 9, 5)},
  };
  for (const auto& C : Cases) {
    FillBitmap(Dst, 10, 8, [](Integer X, Integer Y) { return 0xFF000000u | TColor32(X * 10 + Y); });
    const auto Expected = NaiveBlock(Dst, C.DstX, C.DstY, C.DstClip, Src, C.SrcRect);
    TransferBlock(&Dst, C.DstX, C.DstY, C.DstClip, &Src, C.SrcRect, dmOpaque);
    EXPECT_EQ(Pixels(Dst), Expected) << C.DstX << "," << C.DstY;
  }
}

TEST_F(Transfers, EveryDrawMode) {
  TCustomBitmap32 Src, Dst;
  FillRandom(Src, 7, 3, 11, false);
  Src.SetPixel(0, 0, 0x00000000u);
  Src.SetPixel(1, 0, 0xFF00FF00u);
  Src.SetOuterColor(0xFF00FF00u);
  FillRandom(Dst, 7, 3, 12, false);
  const auto Before = Pixels(Dst);
  const auto S = Pixels(Src);
  struct Mode {
    TDrawMode Op;
    Cardinal Master;
    TCombineMode Combine;
  } Modes[] = {{dmOpaque, 255, cmBlend}, {dmBlend, 255, cmBlend}, {dmBlend, 100, cmBlend},
               {dmBlend, 255, cmMerge},  {dmBlend, 77, cmMerge},  {dmTransparent, 255, cmBlend}};
  for (const auto& M : Modes) {
    Dst.SetSize(0, 0);
    Dst.SetSize(7, 3);
    std::copy(Before.begin(), Before.end(), Dst.Bits());
    Src.SetMasterAlpha(M.Master);
    Src.SetCombineMode(M.Combine);
    TransferBlock(&Dst, 0, 0, Dst.BoundsRect(), &Src, Src.BoundsRect(), M.Op);
    for (size_t I = 0; I < S.size(); ++I) {
      TColor32 E = Before[I];
      switch (M.Op) {
        case dmOpaque: E = S[I]; break;
        case dmBlend:
          if (M.Master >= 255)
            BlendIntoByMode[M.Combine](S[I], E);
          else
            BlendIntoExByMode[M.Combine](S[I], E, M.Master);
          break;
        case dmTransparent:
          if (S[I] != 0xFF00FF00u) E = S[I];
          break;
        default: break;
      }
      EXPECT_EQ(Dst.Bits()[I], E) << "mode " << M.Op << " master " << M.Master << " pixel " << I;
    }
  }
  // Custom: the callback sees F, B and the master alpha.
  Src.SetMasterAlpha(42);
  std::copy(Before.begin(), Before.end(), Dst.Bits());
  TransferBlock(&Dst, 0, 0, Dst.BoundsRect(), &Src, Src.BoundsRect(), dmCustom,
                [](TColor32 F, TColor32& B, TColor32 Mm) { B = (F ^ B) + Mm; });
  for (size_t I = 0; I < S.size(); ++I) EXPECT_EQ(Dst.Bits()[I], (S[I] ^ Before[I]) + 42);
  // Custom without a callback copies.
  TransferBlock(&Dst, 0, 0, Dst.BoundsRect(), &Src, Src.BoundsRect(), dmCustom);
  EXPECT_EQ(Pixels(Dst), S);
  // Blend with master alpha 0 does nothing, not even a report.
  Src.SetMasterAlpha(0);
  TAreaLog Log;
  Log.Attach(Dst);
  std::copy(Before.begin(), Before.end(), Dst.Bits());
  TransferBlock(&Dst, 0, 0, Dst.BoundsRect(), &Src, Src.BoundsRect(), dmBlend);
  EXPECT_EQ(Pixels(Dst), Before);
  EXPECT_TRUE(Log.Areas.empty());
}

TEST_F(Transfers, NilBitmapsRaise) {
  TCustomBitmap32 B;
  B.SetSize(2, 2);
  try {
    TransferBlock(nullptr, 0, 0, TRect(0, 0, 2, 2), &B, B.BoundsRect(), dmOpaque);
    FAIL();
  } catch (const EBitmapException& E) {
    EXPECT_EQ(E.Message(), u"Destination bitmap is nil");
  }
  try {
    TransferStretched(&B, TRect(0, 0, 2, 2), TRect(0, 0, 2, 2), nullptr, TRect(0, 0, 1, 1), nullptr, dmOpaque);
    FAIL();
  } catch (const EBitmapException& E) {
    EXPECT_EQ(E.Message(), u"Source bitmap is nil");
  }
}

TEST_F(Transfers, SelfOverlappingBlocksReadTheOriginalPixels) {
  for (Integer Dx = -2; Dx <= 2; Dx += 1)
    for (Integer Dy = -2; Dy <= 2; Dy += 1) {
      if (Dx == 0 && Dy == 0) continue;
      TCustomBitmap32 B, Copy;
      FillBitmap(B, 9, 7, Tag);
      FillBitmap(Copy, 9, 7, Tag);
      const TRect SrcRect(1, 1, 7, 6);
      TransferBlock(&B, SrcRect.Left + Dx, SrcRect.Top + Dy, B.BoundsRect(), &B, SrcRect, dmOpaque);
      const auto Expected = NaiveBlock(Copy, SrcRect.Left + Dx, SrcRect.Top + Dy, Copy.BoundsRect(), Copy, SrcRect);
      EXPECT_EQ(Pixels(B), Expected) << Dx << "," << Dy;
    }
  // The blend mode also reads the untouched source.
  TCustomBitmap32 B, Ref;
  FillRandom(B, 6, 6, 5, false);
  FillRandom(Ref, 6, 6, 5, false);
  B.SetDrawMode(dmBlend);
  TransferBlock(&B, 1, 1, B.BoundsRect(), &B, TRect(0, 0, 5, 5), dmBlend);
  for (Integer Y = 1; Y < 6; ++Y)
    for (Integer X = 1; X < 6; ++X) {
      TColor32 E = Ref.GetPixel(X, Y);
      BlendInto(Ref.GetPixel(X - 1, Y - 1), E);
      EXPECT_EQ(B.GetPixel(X, Y), E);
    }
}

TEST_F(Transfers, MeasuringDestinationReportsWithoutWriting) {
  TCustomBitmap32 Src, Dst;
  FillBitmap(Src, 4, 4, Tag);
  Dst.SetSize(8, 8);
  const auto Before = Pixels(Dst);
  std::vector<TRect> Seen;
  Dst.BeginMeasuring([&](TObject*, const TRect& R, Cardinal) { Seen.push_back(R); });
  TransferBlock(&Dst, 6, 6, Dst.BoundsRect(), &Src, Src.BoundsRect(), dmOpaque);
  TransferStretched(&Dst, TRect(-2, 0, 6, 8), Dst.BoundsRect(), &Src, Src.BoundsRect(), Src.Resampler(), dmOpaque);
  Dst.EndMeasuring();
  EXPECT_EQ(Pixels(Dst), Before);
  ASSERT_EQ(Seen.size(), 2u);
  EXPECT_EQ(Seen[0], TRect(6, 6, 8, 8));
  EXPECT_EQ(Seen[1], TRect(-2, 0, 6, 8));  // the unclipped destination
}

TEST_F(Transfers, StretchedSourceOutsideMovesTheDestinationMargin) {
  TCustomBitmap32 Src, Dst;
  FillBitmap(Src, 10, 10, Tag);
  Dst.SetSize(40, 20);
  TAreaLog Log;
  Log.Attach(Dst);
  TransferStretched(&Dst, TRect(0, 0, 40, 20), Dst.BoundsRect(), &Src, TRect(-10, 0, 10, 10), Src.Resampler(),
                    dmOpaque);
  ASSERT_EQ(Log.Areas.size(), 1u);
  EXPECT_EQ(Log.Areas[0], TRect(20, 0, 40, 20));
  EXPECT_EQ(Dst.GetPixel(19, 0), 0xFF000000u);
  EXPECT_EQ(Dst.GetPixel(20, 0), Tag(0, 0));
  EXPECT_EQ(Dst.GetPixel(39, 19), Tag(9, 9));
  // Right and bottom margins use Floor.
  TAreaLog Log2;
  Log2.Attach(Dst);
  TransferStretched(&Dst, TRect(0, 0, 30, 30), Dst.BoundsRect(), &Src, TRect(5, 5, 15, 15), Src.Resampler(),
                    dmOpaque);
  ASSERT_EQ(Log2.Areas.size(), 1u);
  EXPECT_EQ(Log2.Areas[0], TRect(0, 0, 15, 15));
}

class TCountingResampler : public TNearestResampler {
 public:
  explicit TCountingResampler(TCustomBitmap32* B) : TNearestResampler(B) {}
  int Calls = 0;
  void Resample(TCustomBitmap32* Dst, const TRect& DstRect, const TRect& DstClip, TCustomBitmap32* Src,
                const TRect& SrcRect, TDrawMode Op, const TPixelCombineEvent& CB) override {
    ++Calls;
    TNearestResampler::Resample(Dst, DstRect, DstClip, Src, SrcRect, Op, CB);
  }
};

TEST_F(Transfers, EqualSizesNeverCallTheResampler) {
  TCustomBitmap32 Src, Dst;
  FillBitmap(Src, 6, 6, Tag);
  Dst.SetSize(10, 10);
  auto* R = new TCountingResampler(&Src);
  TransferStretched(&Dst, TRect(2, 3, 6, 7), TRect(0, 0, 5, 10), &Src, TRect(1, 1, 5, 5), R, dmOpaque);
  EXPECT_EQ(R->Calls, 0);
  EXPECT_EQ(Dst.GetPixel(2, 3), Tag(1, 1));
  EXPECT_EQ(Dst.GetPixel(4, 6), Tag(3, 4));
  EXPECT_EQ(Dst.GetPixel(5, 6), 0xFF000000u);  // clipped
  TransferStretched(&Dst, TRect(0, 0, 10, 10), Dst.BoundsRect(), &Src, TRect(1, 1, 5, 5), R, dmOpaque);
  EXPECT_EQ(R->Calls, 1);
}

// ---------------------------------------------------------------------------
// Nearest stretch

std::vector<Integer> RowSources(const TCustomBitmap32& Dst, Integer Y) {
  std::vector<Integer> R;
  for (Integer X = 0; X < Dst.Width(); ++X) R.push_back(Integer((Dst.GetPixel(X, Y) >> 16) & 0xFF));
  return R;
}

TEST_F(Transfers, NearestColumnAndRowMaps) {
  TCustomBitmap32 Src, Dst;
  FillBitmap(Src, 2, 1, Tag);
  Dst.SetSize(4, 1);
  StretchNearestNeighbour(&Dst, TRect(0, 0, 4, 1), Dst.BoundsRect(), &Src, TRect(0, 0, 2, 1), dmOpaque);
  EXPECT_EQ(RowSources(Dst, 0), (std::vector<Integer>{0, 0, 1, 1}));
  FillBitmap(Src, 4, 1, Tag);
  Dst.SetSize(2, 1);
  StretchNearestNeighbour(&Dst, TRect(0, 0, 2, 1), Dst.BoundsRect(), &Src, TRect(0, 0, 4, 1), dmOpaque);
  EXPECT_EQ(RowSources(Dst, 0), (std::vector<Integer>{0, 2}));
  // A 1-pixel-high destination takes the middle row, a 1-pixel-wide one the middle column.
  FillBitmap(Src, 5, 6, Tag);
  Dst.SetSize(3, 1);
  StretchNearestNeighbour(&Dst, TRect(0, 0, 3, 1), Dst.BoundsRect(), &Src, TRect(0, 1, 5, 5), dmOpaque);
  EXPECT_EQ(Dst.GetPixel(0, 0), Tag(0, 2));
  Dst.SetSize(1, 3);
  StretchNearestNeighbour(&Dst, TRect(0, 0, 1, 3), Dst.BoundsRect(), &Src, TRect(1, 0, 5, 6), dmOpaque);
  EXPECT_EQ(Dst.GetPixel(0, 0), Tag(2, 0));
  EXPECT_EQ(Dst.GetPixel(0, 2), Tag(2, 4));
  EXPECT_THROW(StretchNearestNeighbour(&Dst, TRect(0, 0, 1, 3), Dst.BoundsRect(), &Src, TRect(-1, 0, 5, 6), dmOpaque),
               Exception);
}

TEST_F(Transfers, NearestStretchInEveryModeMatchesPerPixelWrites) {
  TCustomBitmap32 Src, Dst;
  FillRandom(Src, 5, 4, 21, false);
  FillRandom(Dst, 13, 9, 22, false);
  const auto Before = Pixels(Dst);
  Src.SetOuterColor(Src.GetPixel(2, 2));
  for (TDrawMode Op : {dmOpaque, dmBlend, dmTransparent}) {
    std::copy(Before.begin(), Before.end(), Dst.Bits());
    Src.SetMasterAlpha(Op == dmBlend ? 200 : 255);
    const TRect DstRect(-1, 1, 12, 8), Clip(0, 0, 13, 9);
    StretchNearestNeighbour(&Dst, DstRect, Clip, &Src, Src.BoundsRect(), Op);
    for (Integer Y = 0; Y < 9; ++Y)
      for (Integer X = 0; X < 13; ++X) {
        TColor32 E = Before[size_t(X) + size_t(Y) * 13];
        if (X >= 0 && X < 12 && Y >= 1 && Y < 8) {
          const Integer SX = Integer(Single(X + 1) * (5.0f / 13.0f));
          const Integer SY = (Y - 1) * 4 / 7;
          const TColor32 C = Src.GetPixel(SX, SY);
          if (Op == dmOpaque) E = C;
          if (Op == dmBlend) BlendIntoEx(C, E, 200);
          if (Op == dmTransparent && C != Src.OuterColor()) E = C;
        }
        EXPECT_EQ(Dst.GetPixel(X, Y), E) << Op << " " << X << "," << Y;
      }
  }
}

// ---------------------------------------------------------------------------
// Draft reduction and the block average

TEST_F(Transfers, AverageBlockCases) {
  const TColor32 White[3] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
  const TColor32 Quad[4] = {0xFF000000u, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFF000000u};
  std::vector<TColor32> Wide(300 * 2, 0xFFFFFFFFu);
  Wide[5] = 0xFF000000u;
  for (TAverageBlockProc P : {AverageBlock_Pas,
#if defined(__x86_64__) || defined(__i386__)
                              AverageBlock_SSE2,
#endif
                              AverageBlock}) {
    EXPECT_EQ(P(3, 1, White, 3), 0xFFFFFFFFu);
    EXPECT_EQ(P(1, 3, White, 1), 0xFFFFFFFFu);
    EXPECT_EQ(P(2, 2, Quad, 2), 0xFF7F7F7Fu);
    // 300 columns: opaque stays opaque, the sums do not wrap.
    EXPECT_EQ(P(300, 2, Wide.data(), 300), 0xFFFEFEFEu);
  }
}

#if defined(__x86_64__) || defined(__i386__)
TEST_F(Transfers, VectorSlotsEqualThePortableOnes) {
  std::mt19937 Rng(99);
  std::vector<TColor32> Buf(64 * 64);
  for (auto& C : Buf) C = Rng();
  for (int T = 0; T < 2000; ++T) {
    const Integer W = 1 + Integer(Rng() % 40), H = 1 + Integer(Rng() % 10);
    const TColor32* P = Buf.data() + Rng() % 64;
    ASSERT_EQ(AverageBlock_SSE2(W, H, P, 64), AverageBlock_Pas(W, H, P, 64)) << W << "x" << H;
  }
  // The kernel stretch's vertical pass: negative and odd weights, odd counts.
  for (int T = 0; T < 500; ++T) {
    const Integer Count = 1 + Integer(Rng() % 37);
    const Integer W1 = Integer(Rng() % 1200) - 600, W2 = Integer(Rng() % 1200) - 600;
    const TColor32* R1 = Buf.data() + Rng() % 2000;
    const TColor32* R2 = Buf.data() + Rng() % 2000;
    std::vector<Integer> A(size_t(Count) * 4), B(size_t(Count) * 4);
    for (size_t I = 0; I < A.size(); ++I) A[I] = B[I] = Integer(Rng() % 100000) - 50000;
    KernelRows_Pas(R1, W1, R2, W2, Count, A.data());
    KernelRows_SSE2(R1, W1, R2, W2, Count, B.data());
    ASSERT_EQ(A, B) << Count;
  }
  for (Cardinal WX = 0; WX <= 256; ++WX)
    for (Cardinal WY = 0; WY <= 256; WY += 3) {
      const TColor32* P = Buf.data() + Rng() % 4000;
      ASSERT_EQ(BilinearInterpolate_SSE2(WX, WY, P, P + 64), BilinearInterpolate_Pas(WX, WY, P, P + 64));
    }
}
#endif

TEST_F(Transfers, BilinearInterpolateTruncatesWithoutBias) {
  const TColor32 Row0[2] = {0xFF000000u, 0xFFFFFFFFu};
  const TColor32 Row1[2] = {0xFF000000u, 0xFFFFFFFFu};
  // WX = 256: the left pixel; WX = 0: the right one; 128: (255*256 - 255*128) >> 8 = 127.
  EXPECT_EQ(BilinearInterpolate(256, 256, Row0, Row1), 0xFF000000u);
  EXPECT_EQ(BilinearInterpolate(0, 256, Row0, Row1), 0xFFFFFFFFu);
  EXPECT_EQ(BilinearInterpolate(128, 100, Row0, Row1), 0xFF7F7F7Fu);
}

TEST_F(Transfers, DraftReductionKeepsOpaqueImagesOpaque) {
  TCustomBitmap32 Src, Dst;
  FillRandom(Src, 301, 203, 7, true);
  Src.SetResamplerClassName(u"TDraftResampler");
  ASSERT_EQ(Src.ResamplerClassName(), u"TDraftResampler");
  Dst.SetSize(100, 67);
  TransferStretched(&Dst, Dst.BoundsRect(), Dst.BoundsRect(), &Src, Src.BoundsRect(), Src.Resampler(), dmOpaque);
  for (Integer I = 0; I < 100 * 67; ++I) ASSERT_EQ(Dst.Bits()[I] >> 24, 0xFFu) << I;
  // Each destination pixel is the mean of its block (B0 = 0, B1 = Trunc(Scale), then 16.16 steps).
  const Single SX = 301.0f / 100, SY = 203.0f / 67;
  auto B = [](Integer K, Single S) { return K == 0 ? 0 : K == 1 ? Integer(S) : Integer((Int64(K) * Int64(S * 65536)) >> 16); };
  for (Integer Y : {0, 1, 33, 66})
    for (Integer X : {0, 1, 2, 50, 99}) {
      UInt64 Sum[4] = {};
      const Integer X0 = B(X, SX), X1 = B(X + 1, SX), Y0 = B(Y, SY), Y1 = B(Y + 1, SY);
      for (Integer J = Y0; J < Y1; ++J)
        for (Integer I = X0; I < X1; ++I)
          for (int C = 0; C < 4; ++C) Sum[C] += (Src.GetPixel(I, J) >> (8 * C)) & 0xFF;
      const UInt64 N = UInt64(X1 - X0) * UInt64(Y1 - Y0);
      TColor32 E = 0;
      for (int C = 0; C < 4; ++C) E |= TColor32(Sum[C] / N) << (8 * C);
      EXPECT_EQ(Dst.GetPixel(X, Y), E) << X << "," << Y;
    }
}

// ---------------------------------------------------------------------------
// Bilinear enlargement

TEST_F(Transfers, BilinearRightEdgeUsesTheLastPixel) {
  TCustomBitmap32 Src, Dst;
  Src.SetSize(2, 2);
  Src.SetPixel(0, 0, 0xFF000000u);
  Src.SetPixel(1, 0, 0xFFFFFFFFu);
  Src.SetPixel(0, 1, 0xFF000000u);
  Src.SetPixel(1, 1, 0xFFFFFFFFu);
  Dst.SetSize(5, 2);
  Dst.Clear(0);
  StretchBilinear(&Dst, TRect(0, 0, 5, 3), Dst.BoundsRect(), &Src, Src.BoundsRect(), dmOpaque);
  // Centres at 0.2 - 0.5 ... : column 0 limited to 0 (left pixel), the last columns end on pixel 1.
  EXPECT_EQ(Dst.GetPixel(0, 0), 0xFF000000u);
  EXPECT_EQ(Dst.GetPixel(4, 0), 0xFFFFFFFFu);
  // Fx = 0.9: left weight 256 - Round(230.4) = 26, (255 * 256 - 255 * 26) >> 8 = 229.
  EXPECT_EQ(Dst.GetPixel(3, 0), 0xFFE5E5E5u);
  // The middle column: Fx = 0.4 * 2.5 - 0.5 = 0.5, weight 128 of the left.
  EXPECT_EQ(Dst.GetPixel(2, 0), 0xFF7F7F7Fu);
  // A clip covering only the last columns stays inside the source.
  Dst.Clear(0);
  StretchBilinear(&Dst, TRect(0, 0, 5, 2), TRect(4, 0, 5, 2), &Src, Src.BoundsRect(), dmOpaque);
  EXPECT_EQ(Dst.GetPixel(4, 1), 0xFFFFFFFFu);
  EXPECT_EQ(Dst.GetPixel(3, 1), 0u);
}

}  // namespace
