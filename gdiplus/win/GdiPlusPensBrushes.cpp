// Pens, brushes and blends.
#include "gdiplus/win/GdiPlus.h"
#include "gdiplus/win/GdiPlusShared.h"

using namespace gdipflat;

// ---------------------------------------------------------------------------
// Blends

TGPBlend::TGPBlend(Integer Count) : FFactors(Count > 0 ? size_t(Count) : 0), FPositions(FFactors.size()) {}

TGPBlend::TGPBlend(const std::vector<Single>& Factors, const std::vector<Single>& Positions) {
  GP_ASSERT(!Factors.empty() && Factors.size() == Positions.size());
  FFactors = Factors;
  FPositions = Positions;
}

TGPColorBlend::TGPColorBlend(Integer Count) : FColors(Count > 0 ? size_t(Count) : 0), FPositions(FColors.size()) {}

TGPColorBlend::TGPColorBlend(const std::vector<TGPColor>& Colors, const std::vector<Single>& Positions) {
  GP_ASSERT(!Colors.empty() && Colors.size() == Positions.size());
  FColors = Colors;
  FPositions = Positions;
}

namespace {

ARGB* ArgbPtr(TGPColor* C) { return reinterpret_cast<ARGB*>(C); }

template <class GetMatrix>
IGPMatrix NewMatrixFilled(GetMatrix Get, GpBrush* B) {
  IGPMatrix m(new TGPMatrix());
  Get(B, m->Native());
  return m;
}

template <class GetCount, class GetBlend>
IGPBlend ReadBlend(GpBrush* B, GetCount Count, GetBlend Get) {
  INT n = 0;
  Count(B, &n);
  IGPBlend blend(new TGPBlend(n));
  if (n >= 1) Get(B, blend->GetFactorPtr(), blend->GetPositionPtr(), n);
  return blend;
}

template <class GetCount, class GetBlend>
IGPColorBlend ReadColorBlend(GpBrush* B, GetCount Count, GetBlend Get) {
  INT n = 0;
  Count(B, &n);
  IGPColorBlend blend(new TGPColorBlend(n));
  if (n >= 1) Get(B, ArgbPtr(blend->GetColorPtr()), blend->GetPositionPtr(), n);
  return blend;
}

}  // namespace

// ---------------------------------------------------------------------------
// Brushes

TGPBrush* TGPBrush::Wrap(GpBrush* Handle) { return new TGPBrush(static_cast<void*>(Handle)); }
TGPBrush::~TGPBrush() { Gp.GdipDeleteBrush(Native()); }

Integer TGPBrush::GetBrushType() {
  INT t = -1;
  if (Gp.GdipGetBrushType(Native(), &t) != Ok) return -1;
  return t;
}

IGPBrush TGPBrush::Clone() {
  GpBrush* b = nullptr;
  Gp.GdipCloneBrush(Native(), &b);
  return Wrap(b);
}

TGPSolidBrush::TGPSolidBrush(TGPColor Color) {
  GpBrush* b = nullptr;
  Gp.GdipCreateSolidFill(Color, &b);
  FNativeHandle = b;
}

TGPColor TGPSolidBrush::GetColor() {
  ARGB c = 0;
  Gp.GdipGetSolidFillColor(Native(), &c);
  return c;
}

void TGPSolidBrush::SetColor(TGPColor Color) { Gp.GdipSetSolidFillColor(Native(), Color); }

TGPHatchBrush::TGPHatchBrush(Integer HatchStyle, TGPColor ForeColor, TGPColor BackColor) {
  GpBrush* b = nullptr;
  Gp.GdipCreateHatchBrush(HatchStyle, ForeColor, BackColor, &b);
  FNativeHandle = b;
}

Integer TGPHatchBrush::GetHatchStyle() {
  INT s = 0;
  Gp.GdipGetHatchStyle(Native(), &s);
  return s;
}

TGPColor TGPHatchBrush::GetForegroundColor() {
  ARGB c = 0;
  Gp.GdipGetHatchForegroundColor(Native(), &c);
  return c;
}

TGPColor TGPHatchBrush::GetBackgroundColor() {
  ARGB c = 0;
  Gp.GdipGetHatchBackgroundColor(Native(), &c);
  return c;
}

TGPTextureBrush::TGPTextureBrush(const IGPImage& Image, TGPWrapMode WrapMode) {
  GP_ASSERT(Image);
  GpBrush* b = nullptr;
  Gp.GdipCreateTexture(Image->Native(), WrapMode, &b);
  FNativeHandle = b;
}

TGPTextureBrush::TGPTextureBrush(const IGPImage& Image, TGPWrapMode WrapMode, const TGPRectF& R) {
  GP_ASSERT(Image);
  GpBrush* b = nullptr;
  Gp.GdipCreateTexture2(Image->Native(), WrapMode, R.X, R.Y, R.Width, R.Height, &b);
  FNativeHandle = b;
}

TGPTextureBrush::TGPTextureBrush(const IGPImage& Image, TGPWrapMode WrapMode, const TGPRect& R) {
  GP_ASSERT(Image);
  GpBrush* b = nullptr;
  Gp.GdipCreateTexture2I(Image->Native(), WrapMode, R.X, R.Y, R.Width, R.Height, &b);
  FNativeHandle = b;
}

IGPMatrix TGPTextureBrush::GetTransform() {
  return NewMatrixFilled(GP_FUNCTION(GdipGetTextureTransform), Native());
}
void TGPTextureBrush::SetTransform(const IGPMatrix& M) { Gp.GdipSetTextureTransform(Native(), GPHandle<GpMatrix>(M)); }

TGPWrapMode TGPTextureBrush::GetWrapMode() {
  INT w = 0;
  Gp.GdipGetTextureWrapMode(Native(), &w);
  return TGPWrapMode(w);
}

void TGPTextureBrush::SetWrapMode(TGPWrapMode W) { Gp.GdipSetTextureWrapMode(Native(), W); }

IGPImage TGPTextureBrush::GetImage() {
  GpImage* i = nullptr;
  Gp.GdipGetTextureImage(Native(), &i);
  return TGPImage::Wrap(i);
}

void TGPTextureBrush::ResetTransform() { Gp.GdipResetTextureTransform(Native()); }
void TGPTextureBrush::TranslateTransform(Single X, Single Y, Integer O) { Gp.GdipTranslateTextureTransform(Native(), X, Y, O); }
void TGPTextureBrush::ScaleTransform(Single X, Single Y, Integer O) { Gp.GdipScaleTextureTransform(Native(), X, Y, O); }
void TGPTextureBrush::RotateTransform(Single A, Integer O) { Gp.GdipRotateTextureTransform(Native(), A, O); }

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPPointF& P1, const TGPPointF& P2, TGPColor C1, TGPColor C2) {
  GpBrush* b = nullptr;
  Gp.GdipCreateLineBrush(&P1, &P2, C1, C2, WrapModeTile, &b);
  FNativeHandle = b;
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPPoint& P1, const TGPPoint& P2, TGPColor C1, TGPColor C2) {
  GpBrush* b = nullptr;
  Gp.GdipCreateLineBrushI(&P1, &P2, C1, C2, WrapModeTile, &b);
  FNativeHandle = b;
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& R, TGPColor C1, TGPColor C2, TGPLinearGradientMode M) {
  GpBrush* b = nullptr;
  Gp.GdipCreateLineBrushFromRect(&R, C1, C2, M, WrapModeTile, &b);
  FNativeHandle = b;
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRect& R, TGPColor C1, TGPColor C2, TGPLinearGradientMode M) {
  GpBrush* b = nullptr;
  Gp.GdipCreateLineBrushFromRectI(&R, C1, C2, M, WrapModeTile, &b);
  FNativeHandle = b;
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& R, TGPColor C1, TGPColor C2, Single Angle, bool Scalable) {
  GpBrush* b = nullptr;
  Gp.GdipCreateLineBrushFromRectWithAngle(&R, C1, C2, Angle, GPBool(Scalable), WrapModeTile, &b);
  FNativeHandle = b;
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRect& R, TGPColor C1, TGPColor C2, Single Angle, bool Scalable) {
  GpBrush* b = nullptr;
  Gp.GdipCreateLineBrushFromRectWithAngleI(&R, C1, C2, Angle, GPBool(Scalable), WrapModeTile, &b);
  FNativeHandle = b;
}

void TGPLinearGradientBrush::GetColors(TGPColor& C1, TGPColor& C2) {
  ARGB c[2] = {0, 0};
  Gp.GdipGetLineColors(Native(), c);
  C1 = c[0];
  C2 = c[1];
}

void TGPLinearGradientBrush::SetColors(TGPColor C1, TGPColor C2) { Gp.GdipSetLineColors(Native(), C1, C2); }

TGPRectF TGPLinearGradientBrush::GetRectangle() {
  TGPRectF r{};
  Gp.GdipGetLineRect(Native(), &r);
  return r;
}

void TGPLinearGradientBrush::GetRectangle(TGPRect& R) { Gp.GdipGetLineRectI(Native(), &R); }

bool TGPLinearGradientBrush::GetGammaCorrection() {
  BOOL b = 0;
  Gp.GdipGetLineGammaCorrection(Native(), &b);
  return b != 0;
}

void TGPLinearGradientBrush::SetGammaCorrection(bool Use) { Gp.GdipSetLineGammaCorrection(Native(), GPBool(Use)); }

IGPBlend TGPLinearGradientBrush::GetBlend() {
  return ReadBlend(Native(), GP_FUNCTION(GdipGetLineBlendCount), GP_FUNCTION(GdipGetLineBlend));
}

void TGPLinearGradientBrush::SetBlend(const IGPBlend& B) {
  GP_ASSERT(B);
  Gp.GdipSetLineBlend(Native(), B->GetFactorPtr(), B->GetPositionPtr(), B->GetCount());
}

IGPColorBlend TGPLinearGradientBrush::GetInterpolationColors() {
  return ReadColorBlend(Native(), GP_FUNCTION(GdipGetLinePresetBlendCount), GP_FUNCTION(GdipGetLinePresetBlend));
}

void TGPLinearGradientBrush::SetInterpolationColors(const IGPColorBlend& B) {
  GP_ASSERT(B);
  Gp.GdipSetLinePresetBlend(Native(), ArgbPtr(B->GetColorPtr()), B->GetPositionPtr(), B->GetCount());
}

IGPMatrix TGPLinearGradientBrush::GetTransform() {
  return NewMatrixFilled(GP_FUNCTION(GdipGetLineTransform), Native());
}
void TGPLinearGradientBrush::SetTransform(const IGPMatrix& M) { Gp.GdipSetLineTransform(Native(), GPHandle<GpMatrix>(M)); }

TGPWrapMode TGPLinearGradientBrush::GetWrapMode() {
  INT w = 0;
  Gp.GdipGetLineWrapMode(Native(), &w);
  return TGPWrapMode(w);
}

void TGPLinearGradientBrush::SetWrapMode(TGPWrapMode W) { Gp.GdipSetLineWrapMode(Native(), W); }
void TGPLinearGradientBrush::SetBlendBellShape(Single F, Single S) { Gp.GdipSetLineSigmaBlend(Native(), F, S); }
void TGPLinearGradientBrush::SetBlendTriangularShape(Single F, Single S) { Gp.GdipSetLineLinearBlend(Native(), F, S); }
void TGPLinearGradientBrush::ResetTransform() { Gp.GdipResetLineTransform(Native()); }
void TGPLinearGradientBrush::TranslateTransform(Single X, Single Y, Integer O) { Gp.GdipTranslateLineTransform(Native(), X, Y, O); }
void TGPLinearGradientBrush::ScaleTransform(Single X, Single Y, Integer O) { Gp.GdipScaleLineTransform(Native(), X, Y, O); }
void TGPLinearGradientBrush::RotateTransform(Single A, Integer O) { Gp.GdipRotateLineTransform(Native(), A, O); }

TGPPathGradientBrush::TGPPathGradientBrush(const IGPGraphicsPath& Path) {
  GP_ASSERT(Path);
  GpBrush* b = nullptr;
  Gp.GdipCreatePathGradientFromPath(Path->Native(), &b);
  FNativeHandle = b;
}

TGPPathGradientBrush::TGPPathGradientBrush(const std::vector<TGPPointF>& Points, TGPWrapMode W) {
  GP_ASSERT(!Points.empty());
  GpBrush* b = nullptr;
  Gp.GdipCreatePathGradient(Points.data(), INT(Points.size()), W, &b);
  FNativeHandle = b;
}

TGPPathGradientBrush::TGPPathGradientBrush(const std::vector<TGPPoint>& Points, TGPWrapMode W) {
  GP_ASSERT(!Points.empty());
  GpBrush* b = nullptr;
  Gp.GdipCreatePathGradientI(Points.data(), INT(Points.size()), W, &b);
  FNativeHandle = b;
}

TGPColor TGPPathGradientBrush::GetCenterColor() {
  ARGB c = 0;
  Gp.GdipGetPathGradientCenterColor(Native(), &c);
  return c;
}

void TGPPathGradientBrush::SetCenterColor(TGPColor C) { Gp.GdipSetPathGradientCenterColor(Native(), C); }

Integer TGPPathGradientBrush::GetPointCount() {
  INT n = 0;
  Gp.GdipGetPathGradientPointCount(Native(), &n);
  return n;
}

IGPArray<TGPColor> TGPPathGradientBrush::GetSurroundColors() {
  INT n = 0;
  Gp.GdipGetPathGradientSurroundColorCount(Native(), &n);
  IGPArray<TGPColor> a(new TGPArray<TGPColor>(n));
  if (n >= 1) {
    INT got = n;
    Gp.GdipGetPathGradientSurroundColorsWithCount(Native(), ArgbPtr(a->GetItemPtr()), &got);
    a->SetCount(got);
  }
  return a;
}

void TGPPathGradientBrush::SetSurroundColors(const IGPArray<TGPColor>& Colors) {
  GP_ASSERT(Colors);
  INT n = Colors->GetCount();
  Gp.GdipSetPathGradientSurroundColorsWithCount(Native(), ArgbPtr(Colors->GetItemPtr()), &n);
  Colors->SetCount(n);
}

void TGPPathGradientBrush::SetSurroundColors(const std::vector<TGPColor>& Colors) {
  GP_ASSERT(!Colors.empty());
  INT n = INT(Colors.size());
  Gp.GdipSetPathGradientSurroundColorsWithCount(Native(), reinterpret_cast<const ARGB*>(Colors.data()), &n);
}

TGPPointF TGPPathGradientBrush::GetCenterPoint() {
  TGPPointF p{};
  Gp.GdipGetPathGradientCenterPoint(Native(), &p);
  return p;
}

void TGPPathGradientBrush::SetCenterPoint(const TGPPointF& P) { Gp.GdipSetPathGradientCenterPoint(Native(), &P); }

void TGPPathGradientBrush::SetCenterPoint(const TGPPoint& P) {
  const TGPPointF f{Single(P.X), Single(P.Y)};
  Gp.GdipSetPathGradientCenterPoint(Native(), &f);
}

TGPRectF TGPPathGradientBrush::GetRectangle() {
  TGPRectF r{};
  Gp.GdipGetPathGradientRect(Native(), &r);
  return r;
}

bool TGPPathGradientBrush::GetGammaCorrection() {
  BOOL b = 0;
  Gp.GdipGetPathGradientGammaCorrection(Native(), &b);
  return b != 0;
}

void TGPPathGradientBrush::SetGammaCorrection(bool Use) { Gp.GdipSetPathGradientGammaCorrection(Native(), GPBool(Use)); }

IGPBlend TGPPathGradientBrush::GetBlend() {
  return ReadBlend(Native(), GP_FUNCTION(GdipGetPathGradientBlendCount), GP_FUNCTION(GdipGetPathGradientBlend));
}

void TGPPathGradientBrush::SetBlend(const IGPBlend& B) {
  GP_ASSERT(B);
  Gp.GdipSetPathGradientBlend(Native(), B->GetFactorPtr(), B->GetPositionPtr(), B->GetCount());
}

IGPColorBlend TGPPathGradientBrush::GetInterpolationColors() {
  return ReadColorBlend(Native(), GP_FUNCTION(GdipGetPathGradientPresetBlendCount), GP_FUNCTION(GdipGetPathGradientPresetBlend));
}

void TGPPathGradientBrush::SetInterpolationColors(const IGPColorBlend& B) {
  GP_ASSERT(B);
  Gp.GdipSetPathGradientPresetBlend(Native(), ArgbPtr(B->GetColorPtr()), B->GetPositionPtr(), B->GetCount());
}

TGPWrapMode TGPPathGradientBrush::GetWrapMode() {
  INT w = 0;
  Gp.GdipGetPathGradientWrapMode(Native(), &w);
  return TGPWrapMode(w);
}

void TGPPathGradientBrush::SetWrapMode(TGPWrapMode W) { Gp.GdipSetPathGradientWrapMode(Native(), W); }
void TGPPathGradientBrush::SetBlendBellShape(Single F, Single S) { Gp.GdipSetPathGradientSigmaBlend(Native(), F, S); }
void TGPPathGradientBrush::SetBlendTriangularShape(Single F, Single S) { Gp.GdipSetPathGradientLinearBlend(Native(), F, S); }
void TGPPathGradientBrush::GetFocusScales(Single& X, Single& Y) { Gp.GdipGetPathGradientFocusScales(Native(), &X, &Y); }
void TGPPathGradientBrush::SetFocusScales(Single X, Single Y) { Gp.GdipSetPathGradientFocusScales(Native(), X, Y); }

// ---------------------------------------------------------------------------
// Pens

TGPPen::TGPPen(TGPColor Color, Single Width) {
  GpPen* p = nullptr;
  Gp.GdipCreatePen1(Color, Width, UnitWorld, &p);
  FNativeHandle = p;
}

TGPPen::TGPPen(const IGPBrush& Brush, Single Width) {
  GP_ASSERT(Brush);
  GpPen* p = nullptr;
  Gp.GdipCreatePen2(Brush->Native(), Width, UnitWorld, &p);
  FNativeHandle = p;
}

TGPPen::~TGPPen() { Gp.GdipDeletePen(Native()); }

#define LUMIGRA_PEN_INT_PROP(Get, Set, FlatGet, FlatSet) \
  Integer TGPPen::Get() {                                \
    INT v = 0;                                           \
    Gp.FlatGet(Native(), &v);                           \
    return v;                                            \
  }                                                      \
  void TGPPen::Set(Integer V) { Gp.FlatSet(Native(), V); }

LUMIGRA_PEN_INT_PROP(GetStartCap, SetStartCap, GdipGetPenStartCap, GdipSetPenStartCap)
LUMIGRA_PEN_INT_PROP(GetEndCap, SetEndCap, GdipGetPenEndCap, GdipSetPenEndCap)
LUMIGRA_PEN_INT_PROP(GetDashCap, SetDashCap, GdipGetPenDashCap197819, GdipSetPenDashCap197819)
LUMIGRA_PEN_INT_PROP(GetLineJoin, SetLineJoin, GdipGetPenLineJoin, GdipSetPenLineJoin)
LUMIGRA_PEN_INT_PROP(GetAlignment, SetAlignment, GdipGetPenMode, GdipSetPenMode)
LUMIGRA_PEN_INT_PROP(GetDashStyle, SetDashStyle, GdipGetPenDashStyle, GdipSetPenDashStyle)
#undef LUMIGRA_PEN_INT_PROP

Single TGPPen::GetWidth() {
  REAL w = 0;
  Gp.GdipGetPenWidth(Native(), &w);
  return w;
}

void TGPPen::SetWidth(Single W) { Gp.GdipSetPenWidth(Native(), W); }

Single TGPPen::GetMiterLimit() {
  REAL v = 0;
  Gp.GdipGetPenMiterLimit(Native(), &v);
  return v;
}

void TGPPen::SetMiterLimit(Single V) { Gp.GdipSetPenMiterLimit(Native(), V); }

IGPMatrix TGPPen::GetTransform() {
  IGPMatrix m(new TGPMatrix());
  Gp.GdipGetPenTransform(Native(), m->Native());
  return m;
}

void TGPPen::SetTransform(const IGPMatrix& M) { Gp.GdipSetPenTransform(Native(), GPHandle<GpMatrix>(M)); }

Integer TGPPen::GetPenType() {
  INT t = -1;
  Gp.GdipGetPenFillType(Native(), &t);
  return t;
}

TGPColor TGPPen::GetColor() {
  GetPenType();
  ARGB c = 0;
  Gp.GdipGetPenColor(Native(), &c);
  return c;
}

void TGPPen::SetColor(TGPColor C) { Gp.GdipSetPenColor(Native(), C); }

IGPBrush TGPPen::GetBrush() {
  IGPBrush result;
  switch (GetPenType()) {
    case 0: result = new TGPSolidBrush(); break;
    case 1: result = new TGPHatchBrush(); break;
    case 2: result = new TGPTextureBrush(); break;
    case 3: result = new TGPBrush(); break;
    case 4: result = new TGPLinearGradientBrush(); break;
    default: return result;
  }
  GpBrush* b = nullptr;
  Gp.GdipGetPenBrushFill(Native(), &b);
  result->SetNativeHandle(b);
  return result;
}

void TGPPen::SetBrush(const IGPBrush& B) {
  GP_ASSERT(B);
  Gp.GdipSetPenBrushFill(Native(), B->Native());
}

Single TGPPen::GetDashOffset() {
  REAL v = 0;
  Gp.GdipGetPenDashOffset(Native(), &v);
  return v;
}

void TGPPen::SetDashOffset(Single V) { Gp.GdipSetPenDashOffset(Native(), V); }

IGPArray<Single> TGPPen::GetDashPattern() {
  INT n = 0;
  Gp.GdipGetPenDashCount(Native(), &n);
  IGPArray<Single> a(new TGPArray<Single>(n));
  if (n >= 1) Gp.GdipGetPenDashArray(Native(), a->GetItemPtr(), n);
  return a;
}

void TGPPen::SetDashPattern(const IGPArray<Single>& P) {
  GP_ASSERT(P);
  Gp.GdipSetPenDashArray(Native(), P->GetItemPtr(), P->GetCount());
}

void TGPPen::SetDashPattern(const std::vector<Single>& P) {
  GP_ASSERT(!P.empty());
  Gp.GdipSetPenDashArray(Native(), P.data(), INT(P.size()));
}

IGPPen TGPPen::Clone() {
  GpPen* p = nullptr;
  Gp.GdipClonePen(Native(), &p);
  return new TGPPen(TWrapTag{}, p);
}

void TGPPen::SetLineCap(Integer S, Integer E, Integer D) { Gp.GdipSetPenLineCap197819(Native(), S, E, D); }
void TGPPen::ResetTransform() { Gp.GdipResetPenTransform(Native()); }
void TGPPen::MultiplyTransform(const IGPMatrix& M, Integer O) {
  GP_ASSERT(M);
  Gp.GdipMultiplyPenTransform(Native(), M->Native(), O);
}
void TGPPen::TranslateTransform(Single X, Single Y, Integer O) { Gp.GdipTranslatePenTransform(Native(), X, Y, O); }
void TGPPen::ScaleTransform(Single X, Single Y, Integer O) { Gp.GdipScalePenTransform(Native(), X, Y, O); }
void TGPPen::RotateTransform(Single A, Integer O) { Gp.GdipRotatePenTransform(Native(), A, O); }
