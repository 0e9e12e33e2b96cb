// The row path of the regular rasterizer (transformer samples taken a row at
// a time) against the per-pixel path it replaces: a sampler that only
// forwards to the transformer keeps the rasterizer on the per-pixel path.
#include "common/gtest.h"

#include <memory>
#include <random>
#include <string_view>
#include <vector>

#include "bitmap/Bmp32_Spans.h"
#include "bitmap/Bmp32_Transforms.h"
#include "bitmap/resample_test_helpers.h"

namespace {

using namespace bmptest;

// Forwards everything to another sampler, one pixel at a time.
class TForwarder : public TCustomSampler {
 public:
  explicit TForwarder(TCustomSampler* S) : FS(S) {}
  void PrepareSampling() override { FS->PrepareSampling(); }
  void FinalizeSampling() override { FS->FinalizeSampling(); }
  bool HasBounds() const override { return FS->HasBounds(); }
  TFloatRect GetSampleBounds() const override { return FS->GetSampleBounds(); }
  TColor32 GetSampleInt(Integer X, Integer Y) override { return FS->GetSampleInt(X, Y); }
  TColor32 GetSampleFixed(TFixed X, TFixed Y) override { return FS->GetSampleFixed(X, Y); }
  TColor32 GetSampleFloat(Single X, Single Y) override { return FS->GetSampleFloat(X, Y); }

 private:
  TCustomSampler* FS;
};

// What TransformClipped renders, with the transformer behind a forwarder.
void TransformPerPixel(TCustomBitmap32* Dst, TCustomBitmap32* Src, TTransformation* T, const TRect& DstClip) {
  TRect DstRect;
  IntersectRects(DstRect, DstClip, Dst->ClipRect());
  if (DstRect.Right < DstRect.Left || DstRect.Bottom < DstRect.Top) return;
  T->EnsureValid();
  if (T->Singular()) return;
  TTransformer Transformer(Src->Resampler(), T);
  TForwarder F(&Transformer);
  TRegularRasterizer R;
  R.SetSampler(&F);
  R.Rasterize(Dst, DstRect, Src);
  R.SetSampler(nullptr);
}

struct TCase {
  Integer Kind;  // 0 affine, 1 projective, 2 remap
  const char16_t* Resampler;
  TPixelAccessMode Access;
  TDrawMode Mode;
};

class TransformSpans : public ::testing::TestWithParam<TCase> {
 protected:
  void SetUp() override { EnsureEngine(); }
};

TTransformation* RandomTransformation(Integer Kind, std::mt19937& Rng, Integer SW, Integer SH, Integer DW,
                                      Integer DH) {
  std::uniform_real_distribution<float> U(0, 1);
  if (Kind == 0) {
    auto* T = new TAffineTransformation();
    T->SetSrcRect(TFloatRect{0, 0, Single(SW), Single(SH)});
    switch (Rng() % 4) {
      case 0: break;  // identity: sample positions on pixel centres
      case 1: T->Rotate(SW / 2.0f, SH / 2.0f, Single(90 * (1 + Rng() % 3))); break;
      default: T->Rotate(SW * U(Rng), SH * U(Rng), 360 * U(Rng)); break;
    }
    if (Rng() % 2) T->Scale(0.3f + 2.5f * U(Rng), 0.3f + 2.5f * U(Rng));
    if (Rng() % 3 == 0) T->Skew(U(Rng) - 0.5f, U(Rng) - 0.5f);
    T->Translate(DW * (U(Rng) - 0.3f), DH * (U(Rng) - 0.3f));
    return T;
  }
  if (Kind == 1) {
    auto* T = new TProjectiveTransformation();
    T->SetSrcRect(TFloatRect{0, 0, Single(SW), Single(SH)});
    auto X = [&] { return DW * (1.4f * U(Rng) - 0.2f); };
    auto Y = [&] { return DH * (1.4f * U(Rng) - 0.2f); };
    // Random corners: convex, concave, bow-tie and near-degenerate ones.
    T->SetX0(X()), T->SetY0(Y()), T->SetX1(X()), T->SetY1(Y());
    T->SetX2(X()), T->SetY2(Y()), T->SetX3(X()), T->SetY3(Y());
    return T;
  }
  auto* T = new TRemapTransformation();
  const Integer MW = 1 + Integer(Rng() % 12), MH = 1 + Integer(Rng() % 12);
  T->VectorMap()->SetSize(MW, MH);
  for (Integer Y = 0; Y < MH; ++Y)
    for (Integer X = 0; X < MW; ++X)
      T->VectorMap()->SetVector(X, Y, TFixedPoint{Integer(Rng() % 0x60000) - 0x30000, Integer(Rng() % 0x60000) - 0x30000});
  T->SetSrcRect(TFloatRect{0, 0, Single(SW), Single(SH)});
  T->SetMappingRect(TFloatRect{0, 0, Single(DW), Single(DH)});
  T->Scale(2 * U(Rng), 2 * U(Rng));
  if (Rng() % 2) T->SetOffset(TFloatPoint{4 * U(Rng) - 2, 4 * U(Rng) - 2});
  return T;
}

TEST_P(TransformSpans, RowPathGivesThePerPixelPixels) {
  const TCase C = GetParam();
  std::mt19937 Rng(1234 + C.Kind * 97 + Integer(C.Access) * 13 + Integer(C.Mode) * 7);
  for (int Iter = 0; Iter < 40; ++Iter) {
    const Integer SW = 1 + Integer(Rng() % 37), SH = 1 + Integer(Rng() % 29);
    const Integer DW = 1 + Integer(Rng() % 45), DH = 1 + Integer(Rng() % 33);
    TCustomBitmap32 Src, A, B;
    FillRandom(Src, SW, SH, Rng(), Rng() % 2 == 0);
    FillRandom(A, DW, DH, Rng(), Rng() % 2 == 0);
    B.Assign(&A);
    Src.SetResamplerClassName(C.Resampler);
    Src.Resampler()->SetPixelAccessMode(C.Access);
    Src.SetWrapMode(TWrapMode(Rng() % 3));
    Src.SetOuterColor(Rng() % 2 ? 0 : TColor32(Rng()));
    Src.SetDrawMode(C.Mode);
    Src.SetCombineMode(TCombineMode(Rng() % 2));
    Src.SetMasterAlpha(Rng() % 3 == 0 ? 255 : Rng() % 256);
    if (C.Mode == dmTransparent && Rng() % 2) Src.SetOuterColor(Src.GetPixel(0, 0));
    if (C.Mode == dmCustom)
      Src.SetOnPixelCombine([](TColor32 F, TColor32& Bk, TColor32 M) { Bk = (F ^ Bk) + M; });
    if (Rng() % 4 == 0 && SW > 2 && SH > 2) Src.SetClipRect(TRect(1, 1, SW - 1, SH - 1));
    TRect Clip = A.BoundsRect();
    if (Rng() % 3 == 0) {
      Clip = TRect(Integer(Rng() % DW), Integer(Rng() % DH), 0, 0);
      Clip.Right = Clip.Left + 1 + Integer(Rng() % DW);
      Clip.Bottom = Clip.Top + 1 + Integer(Rng() % DH);
    }
    std::unique_ptr<TTransformation> T(RandomTransformation(C.Kind, Rng, SW, SH, DW, DH));
    TransformClipped(&A, &Src, T.get(), Clip);
    TransformPerPixel(&B, &Src, T.get(), Clip);
    ASSERT_EQ(Pixels(A), Pixels(B)) << "iteration " << Iter << " src " << SW << "x" << SH << " dst " << DW << "x"
                                    << DH;
  }
}

std::vector<TCase> Cases() {
  std::vector<TCase> R;
  for (Integer Kind : {0, 1, 2})
    for (const char16_t* Res : {u"TNearestResampler", u"TLinearResampler", u"TDraftResampler", u"TKernelResampler"})
      for (TPixelAccessMode Access : {pamSafe, pamWrap, pamTransparentEdge})
        for (TDrawMode Mode : {dmOpaque, dmBlend, dmTransparent, dmCustom}) {
          // The other readers are called per pixel either way: one mode each.
          if ((Access != pamSafe || Res == std::u16string_view(u"TKernelResampler")) && Mode != dmBlend) continue;
          R.push_back(TCase{Kind, Res, Access, Mode});
        }
  return R;
}

INSTANTIATE_TEST_SUITE_P(All, TransformSpans, ::testing::ValuesIn(Cases()));

TEST(TransformSpansSelf, TransformOntoItsOwnSourceStaysPerPixel) {
  EnsureEngine();
  // Later samples read pixels already written: rows must not be sampled first.
  for (TDrawMode Mode : {dmOpaque, dmBlend}) {
    TCustomBitmap32 A, B;
    FillRandom(A, 31, 23, 5, false);
    B.Assign(&A);
    for (TCustomBitmap32* Bmp : {&A, &B}) {
      Bmp->SetResamplerClassName(u"TLinearResampler");
      Bmp->SetDrawMode(Mode);
    }
    TAffineTransformation T;
    T.SetSrcRect(TFloatRect{0, 0, 31, 23});
    T.Rotate(15, 11, 17);
    T.Translate(1.5f, 0.25f);
    Transform(&A, &A, &T);
    TransformPerPixel(&B, &B, &T, B.BoundsRect());
    EXPECT_EQ(Pixels(A), Pixels(B));
  }
}

}  // namespace
