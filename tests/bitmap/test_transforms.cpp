#include "common/gtest.h"

#include <cmath>

#include "bitmap/Bmp32_Transforms.h"
#include "bitmap/resample_test_helpers.h"

namespace {

using namespace bmptest;

class Transforms : public ::testing::Test {
 protected:
  void SetUp() override { EnsureEngine(); }
};

TEST_F(Transforms, MatrixRoutines) {
  TFloatMatrix A = MatrixIdentity;
  A[2][0] = 5;  // translate x by 5
  TFloatMatrix B = MatrixIdentity;
  B[0][0] = 2;  // scale x by 2
  // MatrixMultiply(M1, M2) maps with M2 first.
  const TVector3f P = MatrixTransformVector(MatrixMultiply(B, A), TVector3f{{1, 0, 1}});
  EXPECT_FLOAT_EQ(P[0], 12);
  EXPECT_FLOAT_EQ(MatrixDeterminant(B), 2);
  TFloatMatrix I = MatrixMultiply(B, A);
  ASSERT_TRUE(MatrixInvert(I));
  const TVector3f Q = MatrixTransformVector(I, TVector3f{{12, 3, 1}});
  EXPECT_NEAR(Q[0], 1, 1e-6);
  EXPECT_NEAR(Q[1], 3, 1e-6);
  TFloatMatrix Z = {};
  EXPECT_FALSE(MatrixInvert(Z));
  EXPECT_EQ(Z, MatrixIdentity);
  EXPECT_EQ(ToFixedMatrix(B)[0][0], 0x20000);
  EXPECT_EQ(ToFixedMatrix(A)[2][0], 5 << 16);
}

TEST_F(Transforms, AffineOperationsApplyAfterTheMatrix) {
  TAffineTransformation T;
  T.Rotate(90);
  const TFloatPoint P = T.Transform(TFloatPoint{1, 0});
  EXPECT_NEAR(P.X, 0, 1e-6);
  EXPECT_NEAR(P.Y, -1, 1e-6);
  T.Clear();
  T.Rotate(10, 10, 90);
  const TFloatPoint C = T.Transform(TFloatPoint{10, 10});
  EXPECT_NEAR(C.X, 10, 1e-4);
  EXPECT_NEAR(C.Y, 10, 1e-4);
  T.Clear();
  T.Translate(5, 0);
  T.Scale(2, 2);
  EXPECT_EQ(T.Transform(TFloatPoint{0, 0}), (TFloatPoint{10, 0}));
  T.Clear();
  T.Scale(2, 2);
  T.Translate(5, 0);
  EXPECT_EQ(T.Transform(TFloatPoint{0, 0}), (TFloatPoint{5, 0}));
  // Skew: x' = x + Fx*y, y' = Fy*x + y.
  T.Clear();
  T.Skew(0.5f, 0.25f);
  EXPECT_EQ(T.Transform(TFloatPoint{4, 2}), (TFloatPoint{5, 3}));
  // Fixed and integer forms agree; reverse undoes forward.
  T.Clear();
  T.Rotate(30);
  T.Translate(7, -3);
  const TFixedPoint F = T.Transform(TFixedPoint{3 << 16, 4 << 16});
  const TFloatPoint G = T.Transform(TFloatPoint{3, 4});
  EXPECT_NEAR(F.X / 65536.0, G.X, 1e-3);
  EXPECT_NEAR(F.Y / 65536.0, G.Y, 1e-3);
  const TFloatPoint Back = T.ReverseTransform(G);
  EXPECT_NEAR(Back.X, 3, 1e-4);
  EXPECT_NEAR(Back.Y, 4, 1e-4);
  const TPoint Pi = T.ReverseTransform(T.Transform(TPoint(3, 4)));
  EXPECT_EQ(Pi, TPoint(3, 4));
  // Bounds of the four corners.
  T.Clear();
  T.Rotate(90);
  const TFloatRect Bn = T.GetTransformedBounds(TFloatRect{0, 0, 4, 2});
  EXPECT_NEAR(Bn.Left, 0, 1e-5);
  EXPECT_NEAR(Bn.Top, -4, 1e-5);
  EXPECT_NEAR(Bn.Right, 2, 1e-5);
  EXPECT_NEAR(Bn.Bottom, 0, 1e-5);
}

TEST_F(Transforms, SingularMatricesReverseMapAsIdentityAndRenderNothing) {
  TAffineTransformation T;
  T.Scale(0, 0);
  EXPECT_EQ(T.ReverseTransform(TFloatPoint{3.5f, 7}), (TFloatPoint{3.5f, 7}));
  EXPECT_TRUE(T.Singular());
  TCustomBitmap32 Src, Dst;
  FillBitmap(Src, 4, 4, Tag);
  Dst.SetSize(4, 4);
  const auto Before = Pixels(Dst);
  TAreaLog Log;
  Log.Attach(Dst);
  Transform(&Dst, &Src, &T);
  EXPECT_EQ(Pixels(Dst), Before);
  ASSERT_EQ(Log.Areas.size(), 1u);
  EXPECT_EQ(Log.Areas[0], TRect(0, 0, 4, 4));
  T.Clear();
  T.SetSrcRect(TFloatRect{0, 0, 4, 4});
  Transform(&Dst, &Src, &T);
  EXPECT_EQ(Pixels(Dst), Pixels(Src));
}

TEST_F(Transforms, IdentityAndQuarterTurnMapPixelCentres) {
  TCustomBitmap32 Src, Dst;
  FillBitmap(Src, 5, 3, Tag);
  Dst.SetSize(5, 3);
  TAffineTransformation T;
  T.SetSrcRect(TFloatRect{0, 0, 5, 3});
  Transform(&Dst, &Src, &T);
  EXPECT_EQ(Pixels(Dst), Pixels(Src));
  // A quarter turn about the image's centre region, then moved back inside:
  // pixel (x, y) lands on (y, 4 - x) exactly (centres are mapped).
  Dst.SetSize(3, 5);
  T.Clear();
  T.SetSrcRect(TFloatRect{0, 0, 5, 3});
  T.Rotate(90);
  T.Translate(0, 5);
  Transform(&Dst, &Src, &T);
  for (Integer Y = 0; Y < 3; ++Y)
    for (Integer X = 0; X < 5; ++X) EXPECT_EQ(Dst.GetPixel(Y, 4 - X), Src.GetPixel(X, Y)) << X << "," << Y;
  // The same with the linear resampler (exact positions read the pixel).
  Src.SetResamplerClassName(u"TLinearResampler");
  Dst.Clear(0);
  Transform(&Dst, &Src, &T);
  for (Integer Y = 0; Y < 3; ++Y)
    for (Integer X = 0; X < 5; ++X) EXPECT_EQ(Dst.GetPixel(Y, 4 - X), Src.GetPixel(X, Y)) << X << "," << Y;
}

// The nested sampler sees exactly the positions the transformer asks for.
class TProbe : public TCustomSampler {
 public:
  std::vector<TFixedPoint> Asked;
  TColor32 GetSampleFixed(TFixed X, TFixed Y) override {
    Asked.push_back(TFixedPoint{X, Y});
    return 0;
  }
};

TEST_F(Transforms, TransformerCancelsTheCentreOffset) {
  TAffineTransformation T;
  TProbe P;
  TTransformer Tr(&P, &T);
  Tr.PrepareSampling();
  Tr.GetSampleInt(0, 0);
  Tr.GetSampleInt(3, 2);
  ASSERT_EQ(P.Asked.size(), 2u);
  EXPECT_EQ(P.Asked[0], (TFixedPoint{0, 0}));
  EXPECT_EQ(P.Asked[1], (TFixedPoint{3 << 16, 2 << 16}));
  TNestedSampler Empty;
  try {
    Empty.PrepareSampling();
    FAIL();
  } catch (const ENestedException& E) {
    EXPECT_EQ(E.Message(), u"Nested sampler is nil");
  }
}

TEST_F(Transforms, ProjectiveIdentityAndBounds) {
  TProjectiveTransformation T;
  T.SetSrcRect(TFloatRect{0, 0, 100, 100});
  T.SetX0(0);
  T.SetY0(0);
  T.SetX1(100);
  T.SetY1(0);
  T.SetX2(100);
  T.SetY2(100);
  T.SetX3(0);
  T.SetY3(100);
  for (TFloatPoint P : {TFloatPoint{0, 0}, TFloatPoint{37.5f, 80}, TFloatPoint{100, 100}}) {
    const TFloatPoint Q = T.Transform(P);
    EXPECT_NEAR(Q.X, P.X, 1e-4);
    EXPECT_NEAR(Q.Y, P.Y, 1e-4);
  }
  EXPECT_EQ(T.GetTransformedBounds(), (TFloatRect{0, 0, 100, 100}));
  EXPECT_FALSE(T.Singular());
  // A true perspective: the unit square corners land on the quadrilateral.
  T.SetX1(90);
  T.SetY2(120);
  const TFloatPoint Corner = T.Transform(TFloatPoint{100, 100});
  EXPECT_NEAR(Corner.X, 100, 1e-3);
  EXPECT_NEAR(Corner.Y, 120, 1e-3);
  const TFloatPoint Back = T.ReverseTransform(Corner);
  EXPECT_NEAR(Back.X, 100, 1e-2);
  EXPECT_NEAR(Back.Y, 100, 1e-2);
}

TEST_F(Transforms, DegenerateQuadrilateralsRenderNothing) {
  TCustomBitmap32 Src, Dst;
  FillBitmap(Src, 8, 8, Tag);
  Dst.SetSize(16, 16);
  const auto Before = Pixels(Dst);
  TProjectiveTransformation T;
  T.SetSrcRect(TFloatRect{0, 0, 8, 8});
  // All four corners on one line (k = 0).
  T.SetX0(0), T.SetY0(0), T.SetX1(4), T.SetY1(4), T.SetX2(10), T.SetY2(10), T.SetX3(2), T.SetY3(2);
  Transform(&Dst, &Src, &T);
  EXPECT_TRUE(T.Singular());
  EXPECT_EQ(Pixels(Dst), Before);
  // A bow-tie renders something and never converts out of range (UBSan).
  T.SetX0(0), T.SetY0(0), T.SetX1(15), T.SetY1(15), T.SetX2(15), T.SetY2(0), T.SetX3(0), T.SetY3(15);
  Src.SetResamplerClassName(u"TLinearResampler");
  Transform(&Dst, &Src, &T);
  Src.SetResamplerClassName(u"TKernelResampler");
  Transform(&Dst, &Src, &T);
  Src.SetResamplerClassName(u"TNearestResampler");
  Transform(&Dst, &Src, &T);
  EXPECT_NE(Pixels(Dst), Before);
}

TEST_F(Transforms, ClipOutsideTheDestinationStillReports) {
  TCustomBitmap32 Src, Dst;
  FillBitmap(Src, 4, 4, Tag);
  Dst.SetSize(4, 4);
  const auto Before = Pixels(Dst);
  TAreaLog Log;
  Log.Attach(Dst);
  TAffineTransformation T;
  TransformClipped(&Dst, &Src, &T, TRect(10, 10, 20, 20));
  EXPECT_EQ(Pixels(Dst), Before);
  // (The rasterizer's own report of its empty area comes first.)
  ASSERT_FALSE(Log.Areas.empty());
  EXPECT_EQ(Log.Areas.back(), TRect(0, 0, 0, 0));
}

TEST_F(Transforms, RemapWithZeroVectorsKeepsPositions) {
  TRemapTransformation T;
  T.VectorMap()->SetSize(2, 2);
  T.SetSrcRect(TFloatRect{0, 0, 1, 1});
  T.SetMappingRect(TFloatRect{0, 0, 1, 1});
  T.Scale(1, 1);
  const TFloatPoint P = T.ReverseTransform(TFloatPoint{3.5f, 7.25f});
  EXPECT_FLOAT_EQ(P.X, 3.5f);
  EXPECT_FLOAT_EQ(P.Y, 7.25f);
  EXPECT_FALSE(T.HasTransformedBounds());
  try {
    T.Transform(TFloatPoint{1, 1});
    FAIL();
  } catch (const ETransformNotImplemented& E) {
    EXPECT_EQ(E.Message(), u"Forward transformation is not implemented in TRemapTransformation.");
  }
  TRemapTransformation Empty;
  try {
    Empty.ReverseTransform(TFloatPoint{0, 0});
    FAIL();
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), u"SrcRect is empty!");
  }
  Empty.SetSrcRect(TFloatRect{0, 0, 1, 1});
  try {
    Empty.ReverseTransform(TFloatPoint{0, 0});
    FAIL();
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), u"MappingRect is empty!");
  }
}

TEST_F(Transforms, RemapDisplacesByTheVectors) {
  TRemapTransformation T;
  T.VectorMap()->SetSize(10, 10);
  for (Integer Y = 0; Y < 10; ++Y)
    for (Integer X = 0; X < 10; ++X) T.VectorMap()->SetVector(X, Y, TFixedPoint{2 << 16, -(1 << 16)});
  T.SetSrcRect(TFloatRect{0, 0, 10, 10});
  T.SetMappingRect(TFloatRect{0, 0, 10, 10});
  T.Scale(0.5f, 0.5f);
  const TFloatPoint P = T.ReverseTransform(TFloatPoint{4, 4});
  EXPECT_NEAR(P.X, 5, 1e-4);
  EXPECT_NEAR(P.Y, 3.5, 1e-4);
  const TFixedPoint F = T.ReverseTransform(TFixedPoint{4 << 16, 4 << 16});
  EXPECT_NEAR(F.X / 65536.0, 5, 1e-3);
  EXPECT_NEAR(F.Y / 65536.0, 3.5, 1e-3);
  const TPoint I = T.ReverseTransform(TPoint(4, 4));
  EXPECT_EQ(I, TPoint(5, 3));  // 3.5 rounds down
}

TEST_F(Transforms, WarpWithAZeroFieldKeepsEveryPixelOpaque) {
  // The warping tool: linear resampler, safe access, outer colour 0.
  for (Integer W : {640, 360, 448, 1}) {
    TCustomBitmap32 Src, Dst;
    FillRandom(Src, W, 3, 17, true);
    Src.SetResamplerClassName(u"TLinearResampler");
    Src.SetOuterColor(0);
    Dst.SetSize(W, 3);
    Dst.Clear(0);
    TRemapTransformation T;
    T.VectorMap()->SetSize(W, 3);
    T.SetSrcRect(TFloatRect{0, 0, Single(W), 3});
    T.SetMappingRect(TFloatRect{0, 0, Single(W), 3});
    T.Scale(1, 1);
    Transform(&Dst, &Src, &T);
    for (Integer Y = 0; Y < 3; ++Y)
      for (Integer X = 0; X < W; ++X) ASSERT_EQ(Dst.GetPixel(X, Y) >> 24, 0xFFu) << W << ": " << X << "," << Y;
  }
}

TEST_F(Transforms, AffineRotationOfAnImageStaysInsideItsBounds) {
  TCustomBitmap32 Src, Dst;
  FillRandom(Src, 40, 30, 4, true);
  Src.SetResamplerClassName(u"TLinearResampler");
  Src.SetDrawMode(dmBlend);
  Dst.SetSize(60, 60);
  Dst.Clear(0);
  TAffineTransformation T;
  T.SetSrcRect(TFloatRect{0, 0, 40, 30});
  T.Rotate(20, 15, 30);
  T.Translate(10, 15);
  TAreaLog Log;
  Log.Attach(Dst);
  Transform(&Dst, &Src, &T);
  const TRect B = MakeRect(T.GetTransformedBounds(), rrOutward);
  Integer Painted = 0;
  for (Integer Y = 0; Y < 60; ++Y)
    for (Integer X = 0; X < 60; ++X)
      if (Dst.GetPixel(X, Y) != 0) {
        ++Painted;
        EXPECT_TRUE(X >= B.Left && X < B.Right && Y >= B.Top && Y < B.Bottom) << X << "," << Y;
      }
  EXPECT_GT(Painted, 1000);
  ASSERT_FALSE(Log.Areas.empty());
  EXPECT_EQ(Log.Areas.back(), TRect(0, 0, 60, 60));
}

}  // namespace
