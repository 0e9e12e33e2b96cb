#include "bitmap/Bmp32_Resamplers.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#define BMP32_RESAMPLERS_SSE2 1
#endif

#include "bitmap/Bmp32_Bindings.h"
#include "bitmap/Bmp32_LowLevel.h"
#include "bitmap/Bmp32_ResamplersShared.h"
#include "bitmap/Bmp32_Spans.h"

TAverageBlockProc AverageBlock = AverageBlock_Pas;
TBilinearInterpolateProc BilinearInterpolate = BilinearInterpolate_Pas;
TClassList* ResamplerList = nullptr;

using namespace resampler_detail;

// ---------------------------------------------------------------------------
// TNearestResampler

TClassRef TNearestResampler::Class() {
  static const TClassDesc Desc{u"TNearestResampler", [](TObject* Arg) -> TObject* {
                                 return new TNearestResampler(dynamic_cast<TCustomBitmap32*>(Arg));
                               }};
  return &Desc;
}

void TNearestResampler::Resample(TCustomBitmap32* Dst, const TRect& DstRect, const TRect& DstClip,
                                 TCustomBitmap32* Src, const TRect& SrcRect, TDrawMode CombineOp,
                                 const TPixelCombineEvent& CombineCallBack) {
  StretchNearestNeighbour(Dst, DstRect, DstClip, Src, SrcRect, CombineOp, CombineCallBack);
}

void TNearestResampler::PrepareSampling() {
  TCustomResampler::PrepareSampling();
  FBoundMode = FPixelAccessMode;
}

TColor32 TNearestResampler::GetPixelTransparentEdge(Integer X, Integer Y) const {
  const TRect& C = FClipRect;
  if (RectIsEmpty(C)) return 0;
  const Integer X1 = std::clamp(X, C.Left, C.Right - 1), Y1 = std::clamp(Y, C.Top, C.Bottom - 1);
  TColor32 P = FBitmap->GetPixel(X1, Y1);
  if (X1 != X || Y1 != Y) P &= 0x00FFFFFFu;
  return P;
}

TColor32 TNearestResampler::GetSampleInt(Integer X, Integer Y) {
  switch (FBoundMode) {
    case pamUnsafe: return FBitmap->GetPixel(X, Y);
    case pamSafe: return FBitmap->GetPixelS(X, Y);
    case pamWrap: return FBitmap->GetPixelW(X, Y);
    case pamTransparentEdge: return GetPixelTransparentEdge(X, Y);
  }
  return 0;
}

TColor32 TNearestResampler::GetSampleFixed(TFixed X, TFixed Y) {
  return GetSampleInt(FixedToIntRound(X), FixedToIntRound(Y));
}

TColor32 TNearestResampler::GetSampleFloat(Single X, Single Y) { return GetSampleInt(RoundToInt(X), RoundToInt(Y)); }

// ---------------------------------------------------------------------------
// TLinearResampler

TClassRef TLinearResampler::Class() {
  static const TClassDesc Desc{u"TLinearResampler", [](TObject* Arg) -> TObject* {
                                 return new TLinearResampler(dynamic_cast<TCustomBitmap32*>(Arg));
                               }};
  return &Desc;
}

TLinearResampler::TLinearResampler() : FLinearKernel(new TLinearKernel()) {}
TLinearResampler::TLinearResampler(TCustomBitmap32* ABitmap)
    : TCustomResampler(ABitmap), FLinearKernel(new TLinearKernel()) {}
TLinearResampler::~TLinearResampler() { delete FLinearKernel; }

void TLinearResampler::Resample(TCustomBitmap32* Dst, const TRect& DstRect, const TRect& DstClip,
                                TCustomBitmap32* Src, const TRect& SrcRect, TDrawMode CombineOp,
                                const TPixelCombineEvent& CombineCallBack) {
  if (RW(DstRect) > RW(SrcRect) && RH(DstRect) > RH(SrcRect) && RW(SrcRect) >= 2 && RH(SrcRect) >= 2)
    StretchBilinear(Dst, DstRect, DstClip, Src, SrcRect, CombineOp, CombineCallBack);
  else
    StretchKernel(Dst, DstRect, DstClip, Src, SrcRect, FLinearKernel, CombineOp, CombineCallBack);
}

void TLinearResampler::PrepareSampling() {
  TCustomResampler::PrepareSampling();
  FBoundMode = FPixelAccessMode;
}

TColor32 TLinearResampler::GetPixelTransparentEdge(TFixed X, TFixed Y) const {
  const TRect& C = FClipRect;
  if (RectIsEmpty(C)) return 0;
  const Integer Cx = X >> 16, Cy = Y >> 16;
  const Integer R1 = C.Right - 1, B1 = C.Bottom - 1;
  if (C.Left <= Cx && Cx < R1 && C.Top <= Cy && Cy < B1) {
    TColor32 R = FBitmap->GetPixel256(Integer(Cardinal(X) >> 8), Integer(Cardinal(Y) >> 8));
    EndBlending();
    return R;
  }
  if (Int64(Cx) < Int64(C.Left) - 1 || Int64(Cy) < Int64(C.Top) - 1 || Cx > R1 || Cy > B1) return 0;
  auto Sign = [](Integer V) { return V > 0 ? 1 : (V < 0 ? -1 : 0); };
  const Integer X1 = std::clamp(Cx, 0, R1), X2 = std::clamp(Cx + Sign(X), 0, R1);
  const Integer Y1 = std::clamp(Cy, 0, B1), Y2 = std::clamp(Cy + Sign(Y), 0, B1);
  TColor32 P11 = FBitmap->GetPixel(X1, Y1), P21 = FBitmap->GetPixel(X2, Y1);
  TColor32 P12 = FBitmap->GetPixel(X1, Y2), P22 = FBitmap->GetPixel(X2, Y2);
  if (Int64(C.Left) * 65536 >= X) {
    P11 &= 0x00FFFFFFu;
    P12 &= 0x00FFFFFFu;
  } else if (Cx == R1) {
    P21 &= 0x00FFFFFFu;
    P22 &= 0x00FFFFFFu;
  }
  if (Int64(C.Top) * 65536 >= Y) {
    P11 &= 0x00FFFFFFu;
    P21 &= 0x00FFFFFFu;
  } else if (Cy == B1) {
    P12 &= 0x00FFFFFFu;
    P22 &= 0x00FFFFFFu;
  }
  const TColor32 WX = GammaCurve[((Cardinal(X) >> 8) & 255) ^ 255];
  const TColor32 WY = GammaCurve[((Cardinal(Y) >> 8) & 255) ^ 255];
  const TColor32 Top = CombineColors(P11, P21, WX);
  const TColor32 Bottom = CombineColors(P12, P22, WX);
  const TColor32 R = CombineColors(Top, Bottom, WY);
  EndBlending();
  return R;
}

TColor32 TLinearResampler::GetSampleFixed(TFixed X, TFixed Y) {
  switch (FBoundMode) {
    case pamUnsafe: return FBitmap->GetPixelFixed(X, Y);
    case pamSafe: return FBitmap->GetPixelFixedS(X, Y);
    case pamWrap: return FBitmap->GetPixelFixedW(X, Y);
    case pamTransparentEdge: return GetPixelTransparentEdge(X, Y);
  }
  return 0;
}

TColor32 TLinearResampler::GetSampleFloat(Single X, Single Y) {
  return GetSampleFixed(RoundToInt(Extended(X) * 65536), RoundToInt(Extended(Y) * 65536));
}

// ---------------------------------------------------------------------------
// TDraftResampler

TClassRef TDraftResampler::Class() {
  static const TClassDesc Desc{u"TDraftResampler", [](TObject* Arg) -> TObject* {
                                 return new TDraftResampler(dynamic_cast<TCustomBitmap32*>(Arg));
                               }};
  return &Desc;
}

void TDraftResampler::Resample(TCustomBitmap32* Dst, const TRect& DstRect, const TRect& DstClip,
                               TCustomBitmap32* Src, const TRect& SrcRect, TDrawMode CombineOp,
                               const TPixelCombineEvent& CombineCallBack) {
  StretchDraft(Dst, DstRect, DstClip, Src, SrcRect, FLinearKernel, CombineOp, CombineCallBack);
}

// ---------------------------------------------------------------------------
// TKernelResampler

TClassRef TKernelResampler::Class() {
  static const TClassDesc Desc{u"TKernelResampler", [](TObject* Arg) -> TObject* {
                                 return new TKernelResampler(dynamic_cast<TCustomBitmap32*>(Arg));
                               }};
  return &Desc;
}

TKernelResampler::TKernelResampler() { Init(); }
TKernelResampler::TKernelResampler(TCustomBitmap32* ABitmap) : TCustomResampler(ABitmap) { Init(); }

void TKernelResampler::Init() {
  FKernel = new TBoxKernel();
  FTableSize = 32;
}

TKernelResampler::~TKernelResampler() {
  delete FWeightTable;
  delete FKernel;
}

Single TKernelResampler::GetWidth() const { return FKernel->GetWidth(); }

void TKernelResampler::SetKernel(TCustomKernel* Value) {
  if (Value == nullptr || Value == FKernel) return;
  delete FKernel;
  FKernel = Value;
  Changed();
}

String TKernelResampler::KernelClassName() const { return FKernel != nullptr ? FKernel->ClassName() : String(); }

void TKernelResampler::SetKernelClassName(const String& Value) {
  if (Value.empty() || Value == KernelClassName() || KernelList == nullptr) return;
  TClassRef C = KernelList->Find(Value);
  if (C == nullptr) return;
  TCustomKernel* K = CreateKernel(C);
  if (K == nullptr) return;
  delete FKernel;
  FKernel = K;
  Changed();
}

void TKernelResampler::SetKernelMode(TKernelMode Value) {
  if (Value != FKernelMode) {
    FKernelMode = Value;
    Changed();
  }
}

void TKernelResampler::SetTableSize(Integer Value) {
  if (Value < 2) Value = 2;
  if (Value != FTableSize) {
    FTableSize = Value;
    Changed();
  }
}

void TKernelResampler::Resample(TCustomBitmap32* Dst, const TRect& DstRect, const TRect& DstClip,
                                TCustomBitmap32* Src, const TRect& SrcRect, TDrawMode CombineOp,
                                const TPixelCombineEvent& CombineCallBack) {
  StretchKernel(Dst, DstRect, DstClip, Src, SrcRect, FKernel, CombineOp, CombineCallBack);
}

void TKernelResampler::PrepareSampling() {
  TCustomResampler::PrepareSampling();
  FOuterColor = FBitmap != nullptr ? FBitmap->OuterColor() : 0;
  delete FWeightTable;
  FWeightTable = nullptr;
  FPreparedMode = FKernelMode;
  if (FKernelMode == kmTableNearest || FKernelMode == kmTableLinear) {
    const Integer W = std::max(0, CeilToInt(FKernel->GetWidth()));
    FWeightTable = new TIntegerMap(2 * W + 1, FTableSize + 1);
    for (Integer R = 0; R <= FTableSize; ++R) {
      const Single F = Single(R) / Single(FTableSize - 1);
      Integer Sum = 0;
      for (Integer J = -W; J <= W; ++J) {
        const Integer V = RoundToInt(Extended(FKernel->Filter(Single(J + F))) * 256);
        FWeightTable->SetValue(W + J, R, V);
        Sum += V;
      }
      FWeightTable->SetValue(W, R, FWeightTable->Value(W, R) + 256 - Sum);
    }
  }
}

void TKernelResampler::FinalizeSampling() {
  delete FWeightTable;
  FWeightTable = nullptr;
  TCustomResampler::FinalizeSampling();
}

TColor32 TKernelResampler::GetSampleFloat(Single X, Single Y) {
  // The table (when there is one) decides the tap range; a mode change after
  // PrepareSampling falls back to evaluating the kernel.
  const bool UseTable = FWeightTable != nullptr;
  const TKernelMode Mode = UseTable ? FPreparedMode : kmDynamic;
  const Integer W = UseTable ? (FWeightTable->Width() - 1) / 2 : std::max(0, CeilToInt(FKernel->GetWidth()));
  const Integer TS = UseTable ? FWeightTable->Height() - 1 : FTableSize;
  const Integer Cx = CeilToInt(X), Cy = CeilToInt(Y);
  const TRect& C = FClipRect;
  const TPixelAccessMode PAM = FPixelAccessMode;
  if (RectIsEmpty(C) || FBitmap == nullptr || FBitmap->Empty()) return PAM == pamTransparentEdge ? 0 : FOuterColor;

  Integer I0 = -W, I1 = W, J0 = -W, J1 = W;
  if (PAM == pamSafe || PAM == pamTransparentEdge) {
    if (Cx < C.Left || Cx > C.Right || Cy < C.Top || Cy > C.Bottom) return PAM == pamSafe ? FOuterColor : 0;
    I0 = std::max<Int64>(-W, Int64(C.Left) - Cx);
    I1 = std::min<Int64>(W, Int64(C.Right) - Cx - 1);
    J0 = std::max<Int64>(-W, Int64(C.Top) - Cy);
    J1 = std::min<Int64>(W, Int64(C.Bottom) - Cy - 1);
  }
  const Single Fx = Single(Extended(Cx) - X), Fy = Single(Extended(Cy) - Y);

  // Weights on the stack for the usual widths (up to 16 taps each side).
  Integer HWs[33], VWs[33];
  std::vector<Integer> HWv, VWv;
  Integer* HW = HWs + W;
  Integer* VW = VWs + W;
  if (W > 16) {
    HWv.resize(static_cast<size_t>(2 * W + 1));
    VWv.resize(static_cast<size_t>(2 * W + 1));
    HW = HWv.data() + W;
    VW = VWv.data() + W;
  }
  auto Weights = [&](Single F, Integer* Out) {
    switch (Mode) {
      case kmDynamic: {
        Integer Sum = 0;
        for (Integer I = -W; I <= W; ++I) {
          Out[I] = RoundToInt(Extended(FKernel->Filter(Single(I + F))) * 256);
          Sum += Out[I];
        }
        Out[0] += 256 - Sum;
        break;
      }
      case kmTableNearest: {
        const Integer Row = std::clamp(RoundToInt(Extended(F) * (TS - 1)), 0, TS);
        for (Integer I = -W; I <= W; ++I) Out[I] = FWeightTable->Value(W + I, Row);
        break;
      }
      case kmTableLinear: {
        const Integer P = RoundToInt(Extended(F) * (TS - 1) * 65536);
        const Integer R = std::clamp(P >> 16, 0, TS - 1), Fr = P & 0xFFFF;
        Integer Sum = 0;
        for (Integer I = -W; I <= W; ++I) {
          const Int64 T0 = FWeightTable->Value(W + I, R), T1 = FWeightTable->Value(W + I, R + 1);
          Out[I] = Integer(T0 + ((T1 - T0) * Fr + 0x7FFF) / 65536);
          Sum += Out[I];
        }
        Out[0] += 256 - Sum;
        break;
      }
    }
  };
  Weights(Fx, HW);
  Weights(Fy, VW);

  TWrapProcEx WrapX = nullptr, WrapY = nullptr;
  if (PAM == pamWrap) {
    WrapX = WrapRoutineForRange(FBitmap->WrapMode(), C.Left, C.Right - 1);
    WrapY = WrapRoutineForRange(FBitmap->WrapMode(), C.Top, C.Bottom - 1);
  }
  // Premultiplied contribution of one colour.
  auto Premul = [](TColor32 P, Int64& A, Int64& R, Int64& G, Int64& B, Int64 Wt) {
    const Integer a = Integer(P >> 24);
    if (a == 0) return;
    A += Wt * a;
    Integer r = (P >> 16) & 0xFF, g = (P >> 8) & 0xFF, b = P & 0xFF;
    if (a < 255) {
      r = r * a / 255;
      g = g * a / 255;
      b = b * a / 255;
    }
    R += Wt * r;
    G += Wt * g;
    B += Wt * b;
  };
  Int64 SA = 0, SR = 0, SG = 0, SB = 0;
  for (Integer J = -W; J <= W; ++J) {
    if (VW[J] == 0) continue;
    const bool RowIn = J >= J0 && J <= J1;
    Int64 RA = 0, RR = 0, RG = 0, RB = 0;
    for (Integer I = -W; I <= W; ++I) {
      const bool In = RowIn && I >= I0 && I <= I1;
      if (PAM == pamWrap) {
        const Integer PX = WrapX(SatInt(Int64(Cx) + I), C.Left, C.Right - 1);
        const Integer PY = WrapY(SatInt(Int64(Cy) + J), C.Top, C.Bottom - 1);
        Premul(FBitmap->GetPixel(PX, PY), RA, RR, RG, RB, HW[I]);
      } else if (PAM == pamUnsafe || In) {
        Premul(FBitmap->GetPixel(Cx + I, Cy + J), RA, RR, RG, RB, HW[I]);
      } else if (PAM == pamSafe) {
        Premul(FOuterColor, RA, RR, RG, RB, HW[I]);
      }
    }
    SA += RA * VW[J];
    SR += RR * VW[J];
    SG += RG * VW[J];
    SB += RB * VW[J];
  }
  auto S = [](Int64 V) { return (V + 0x7FFF) >> 16; };
  const bool Clamp = FKernel->NeedsClamping();
  Int64 A = S(SA);
  Int64 Ch[3] = {S(SR), S(SG), S(SB)};
  if (Clamp) {
    A = std::clamp<Int64>(A, 0, 255);
    for (auto& V : Ch) {
      if (A == 255)
        V = std::clamp<Int64>(V, 0, 255);
      else if (A > 0)
        V = std::clamp<Int64>(V * 255 / A, 0, 255);
      else
        V = 0;
    }
  } else {
    A &= 255;
    for (auto& V : Ch) {
      if (A == 255)
        V &= 255;
      else if (A > 0)
        V = (V * 255 / A) & 255;
      else
        V = 0;
    }
  }
  return TColor32(A) << 24 | TColor32(Ch[0]) << 16 | TColor32(Ch[1]) << 8 | TColor32(Ch[2]);
}

const TPublishedProperties& TKernelResampler::PublishedProperties() const {
  static const TPublishedProperties Props = [this] {
    TPublishedProperties P = TCustomResampler::PublishedProperties();
    TPublishedProperty N;
    N.Name = u"KernelClassName";
    N.Kind = tkUString;
    N.Get = [](TObject* O) -> TPropValue { return dynamic_cast<TKernelResampler*>(O)->KernelClassName(); };
    N.Set = [](TObject* O, const TPropValue& V) {
      if (auto* S = std::get_if<String>(&V)) dynamic_cast<TKernelResampler*>(O)->SetKernelClassName(*S);
    };
    P.push_back(N);
    TPublishedProperty K;
    K.Name = u"Kernel";
    K.Kind = tkClass;
    K.GetObject = [](TObject* O) -> TObject* { return dynamic_cast<TKernelResampler*>(O)->Kernel(); };
    P.push_back(K);
    TPublishedProperty M;
    M.Name = u"KernelMode";
    M.Kind = tkEnumeration;
    M.Get = [](TObject* O) -> TPropValue { return Int64(dynamic_cast<TKernelResampler*>(O)->KernelMode()); };
    M.Set = [](TObject* O, const TPropValue& V) {
      if (auto* I = std::get_if<Int64>(&V)) dynamic_cast<TKernelResampler*>(O)->SetKernelMode(TKernelMode(*I));
    };
    P.push_back(M);
    TPublishedProperty T;
    T.Name = u"TableSize";
    T.Kind = tkInteger;
    T.Get = [](TObject* O) -> TPropValue { return Int64(dynamic_cast<TKernelResampler*>(O)->TableSize()); };
    T.Set = [](TObject* O, const TPropValue& V) {
      if (auto* I = std::get_if<Int64>(&V)) dynamic_cast<TKernelResampler*>(O)->SetTableSize(Integer(*I));
    };
    P.push_back(T);
    return P;
  }();
  return Props;
}


// ---------------------------------------------------------------------------
// Class lists and start-up

void AddResamplerClass(TClassRef ResamplerClass) {
  if (ResamplerList == nullptr) ResamplerList = new TClassList();
  ResamplerList->Add(ResamplerClass);
}

void InitResamplers() {
  TFunctionRegistry* R = CreateRegistry(u"Bmp32_Resamplers bindings");
  R->RegisterBinding(FID_AVERAGEBLOCK, &AverageBlock);
  R->RegisterBinding(FID_BILINEARINTERPOLATE, &BilinearInterpolate);
  R->Add(FID_AVERAGEBLOCK, &AverageBlock_Pas);
  R->Add(FID_BILINEARINTERPOLATE, &BilinearInterpolate_Pas);
#ifdef BMP32_RESAMPLERS_SSE2
  R->Add(FID_AVERAGEBLOCK, &AverageBlock_SSE2, TCPUFeatures{ciSSE2});
  R->Add(FID_BILINEARINTERPOLATE, &BilinearInterpolate_SSE2, TCPUFeatures{ciSSE2});
#endif
  R->RebindAll();

  if (ResamplerList == nullptr || ResamplerList->Count() == 0) {
    AddResamplerClass(TNearestResampler::Class());
    AddResamplerClass(TLinearResampler::Class());
    AddResamplerClass(TDraftResampler::Class());
    AddResamplerClass(TKernelResampler::Class());
  }
  if (KernelList == nullptr || KernelList->Count() == 0) {
    AddKernelClass(TBoxKernel::Class());
    AddKernelClass(TLinearKernel::Class());
    AddKernelClass(TCosineKernel::Class());
    AddKernelClass(TSplineKernel::Class());
    AddKernelClass(TCubicKernel::Class());
    AddKernelClass(TMitchellKernel::Class());
    AddKernelClass(TAlbrechtKernel::Class());
    AddKernelClass(TLanczosKernel::Class());
    AddKernelClass(TGaussianKernel::Class());
    AddKernelClass(TBlackmanKernel::Class());
    AddKernelClass(THannKernel::Class());
    AddKernelClass(THammingKernel::Class());
    AddKernelClass(TSinshKernel::Class());
    AddKernelClass(THermiteKernel::Class());
  }
}

void DoneResamplers() {
  FreeAndNil(ResamplerList);
  FreeAndNil(KernelList);
  AverageBlock = AverageBlock_Pas;
  BilinearInterpolate = BilinearInterpolate_Pas;
}

