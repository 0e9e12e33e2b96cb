#include "bitmap/Bmp32_Rasterizers.h"

#include <cstring>
#include <typeinfo>
#include <vector>

#include "bitmap/Bmp32_Resamplers.h"
#include "bitmap/Bmp32_Spans.h"
#include "bitmap/Bmp32_Transforms.h"
#include "rtl/ScopeGuard.h"

TClassRef DefaultRasterizer = TRegularRasterizer::Class();

void MakeCombineInfo(TCustomBitmap32* Bitmap, TCombineInfo& Info) {
  Info.SrcAlpha = Integer(Bitmap->MasterAlpha());
  Info.DrawMode = Bitmap->DrawMode();
  Info.CombineMode = Bitmap->CombineMode();
  Info.CombineCallBack = Bitmap->OnPixelCombine();
  Info.TransparentColor = Bitmap->OuterColor();
  if (Info.DrawMode == dmCustom && !Info.CombineCallBack) Info.DrawMode = dmOpaque;
}

TCombineInfo MakeCombineInfo(TCustomBitmap32* Bitmap) {
  TCombineInfo Info;
  MakeCombineInfo(Bitmap, Info);
  return Info;
}

TRasterizer* CreateRasterizer(TClassRef RasterizerClass) {
  if (RasterizerClass == nullptr) return nullptr;
  TObject* O = RasterizerClass->Create(nullptr);
  auto* R = dynamic_cast<TRasterizer*>(O);
  if (R == nullptr) delete O;
  return R;
}

TRasterizer::TRasterizer() { ApplyCombineInfo(TCombineInfo()); }

void TRasterizer::SetSampler(TCustomSampler* Value) {
  if (Value != FSampler) {
    FSampler = Value;
    Changed();
  }
}

void TRasterizer::ApplyCombineInfo(const TCombineInfo& CombineInfo) {
  FTransparentColor = CombineInfo.TransparentColor;
  FSrcAlpha = CombineInfo.SrcAlpha;
  FCombineCallBack = CombineInfo.CombineCallBack;
  FBlendMemEx = BlendIntoExByMode[CombineInfo.CombineMode];
  FWriteMode = CombineInfo.DrawMode;
  // A custom mode without a callback writes as the blend writer.
  if (FWriteMode == dmCustom && !FCombineCallBack) FWriteMode = dmBlend;
}

void TRasterizer::Rasterize(TCustomBitmap32* Dst) { Rasterize(Dst, Dst->BoundsRect()); }

void TRasterizer::Rasterize(TCustomBitmap32* Dst, const TRect& DstRect, const TCombineInfo& CombineInfo) {
  ApplyCombineInfo(CombineInfo);
  Rasterize(Dst, DstRect);
}

void TRasterizer::Rasterize(TCustomBitmap32* Dst, const TRect& DstRect, TCustomBitmap32* Src) {
  Rasterize(Dst, DstRect, MakeCombineInfo(Src));
}

void TRasterizer::Rasterize(TCustomBitmap32* Dst, const TRect& DstRect) {
  const Integer UpdateCount = Dst->UpdateCount();
  if (FSampler == nullptr) return;
  FSampler->PrepareSampling();
  auto Cleanup = [&] {
    while (Dst->UpdateCount() > UpdateCount) Dst->EndUpdate();
    FSampler->FinalizeSampling();
  };
  TFinally Done([&] { Cleanup(); });
  TRect R;
  IntersectRects(R, DstRect, Dst->BoundsRect());
  if (FSampler->HasBounds()) IntersectRects(R, R, MakeRect(FSampler->GetSampleBounds(), rrOutward));
  RasterizeArea(Dst, R);
}

void TRasterizer::Assign(TPersistent* Source) {
  TUpdateLock Updating(*this, ReportChange);
  if (auto* B = dynamic_cast<TCustomBitmap32*>(Source))
    ApplyCombineInfo(MakeCombineInfo(B));
  else
    TThreadPersistent::Assign(Source);
}

void TRasterizer::AssignTo(TPersistent* Dest) {
  if (dynamic_cast<TRasterizer*>(Dest) != nullptr)
    AssignPublishedProperties(this, Dest, tkProperties);
  else
    TThreadPersistent::AssignTo(Dest);
}

const TPublishedProperties& TRasterizer::PublishedProperties() const {
  static const TPublishedProperties Props = [] {
    TPublishedProperty S;
    S.Name = u"Sampler";
    S.Kind = tkClass;
    S.GetObject = [](TObject* O) -> TObject* { return dynamic_cast<TRasterizer*>(O)->Sampler(); };
    return TPublishedProperties{S};
  }();
  return Props;
}

// ---------------------------------------------------------------------------
// TRegularRasterizer

TClassRef TRegularRasterizer::Class() {
  static const TClassDesc Desc{u"TRegularRasterizer", [](TObject*) -> TObject* { return new TRegularRasterizer(); }};
  return &Desc;
}

const TPublishedProperties& TRegularRasterizer::PublishedProperties() const {
  static const TPublishedProperties Props = [this] {
    TPublishedProperties P = TRasterizer::PublishedProperties();
    TPublishedProperty U;
    U.Name = u"UpdateRowCount";
    U.Kind = tkInteger;
    U.Get = [](TObject* O) -> TPropValue { return Int64(dynamic_cast<TRegularRasterizer*>(O)->UpdateRowCount()); };
    U.Set = [](TObject* O, const TPropValue& V) {
      if (auto* I = std::get_if<Int64>(&V)) dynamic_cast<TRegularRasterizer*>(O)->SetUpdateRowCount(Integer(*I));
    };
    P.push_back(U);
    return P;
  }();
  return Props;
}

namespace {

// A transformer of the engine's transformations over a resampler that does
// not read the destination: its samples can be taken a row at a time before
// the row is written (nothing in it raises part way through a row).
TTransformer* RowTransformer(TCustomSampler* S, TCustomBitmap32* Dst) {
  if (S == nullptr || typeid(*S) != typeid(TTransformer)) return nullptr;
  auto* T = static_cast<TTransformer*>(S);
  TTransformation* M = T->Transformation();
  if (M == nullptr || (typeid(*M) != typeid(TAffineTransformation) && typeid(*M) != typeid(TProjectiveTransformation) &&
                       typeid(*M) != typeid(TRemapTransformation)))
    return nullptr;
  auto* R = dynamic_cast<TCustomResampler*>(T->Sampler());
  if (R == nullptr || R->Bitmap() == Dst) return nullptr;
  return T;
}

}  // namespace

void TRegularRasterizer::RasterizeArea(TCustomBitmap32* Dst, const TRect& R) {
  TCustomSampler* S = FSampler;
  const Integer W = Dst->Width();
  TColor32* Bits = Dst->Bits();
  TTransformer* T = R.Right > R.Left ? RowTransformer(S, Dst) : nullptr;
  std::vector<TColor32> Buf(T != nullptr ? size_t(R.Right - R.Left) : 0);
  Integer N = 0;
  for (Integer J = R.Top; J < R.Bottom; ++J) {
    TColor32* Row = Bits + ptrdiff_t(J) * W;
    if (T != nullptr) {
      const Integer Count = R.Right - R.Left;
      TransformerSampleRow(T, R.Left, J, Count, Buf.data());
      TColor32* D = Row + R.Left;
      const TColor32* B = Buf.data();
      switch (FWriteMode) {
        case dmOpaque: std::memcpy(D, B, size_t(Count) * sizeof(TColor32)); break;
        case dmBlend: {
          const TBlendMemEx Blend = FBlendMemEx;
          const TColor32 M = TColor32(FSrcAlpha);
          for (Integer I = 0; I < Count; ++I) Blend(B[I], D[I], M);
          EndBlending();
          break;
        }
        default:
          for (Integer I = 0; I < Count; ++I) AssignColor(D[I], B[I]);
          break;
      }
    } else {
      for (Integer I = R.Left; I < R.Right; ++I) AssignColor(Row[I], S->GetSampleInt(I, J));
    }
    ++N;
    if (N == FUpdateRowCount) {
      Dst->Changed(TRect(R.Left, J - N, R.Right, J), AreaInfoRect);
      N = 0;
    }
  }
  Dst->Changed(TRect(R.Left, R.Bottom - N - 1, R.Right, R.Bottom), AreaInfoRect);
}
