// The drawing surface.
#include "gdiplus/win/GdiPlus.h"
#include "gdiplus/win/GdiPlusShared.h"

using namespace gdipflat;

TGPGraphics::TGPGraphics(HDC DC) {
  GpGraphics* g = nullptr;
  if (Gp.GdipCreateFromHDC(DC, &g) != Ok) g = nullptr;
  FNativeHandle = g;
}

TGPGraphics::TGPGraphics(const IGPImage& Image) {
  GP_ASSERT(Image);
  GpGraphics* g = nullptr;
  Gp.GdipGetImageGraphicsContext(Image->Native(), &g);
  FNativeHandle = g;
}

IGPGraphics TGPGraphics::FromHDC(HDC DC) { return new TGPGraphics(DC); }
IGPGraphics TGPGraphics::FromImage(const IGPImage& Image) { return new TGPGraphics(Image); }

// Deleting a DC surface is what composes its drawing into the bitmap.
TGPGraphics::~TGPGraphics() { Gp.GdipDeleteGraphics(Native()); }

#define LUMIGRA_GRAPHICS_INT_PROP(Get, Set, FlatGet, FlatSet) \
  Integer TGPGraphics::Get() {                                \
    INT v = 0;                                                \
    Gp.FlatGet(Native(), &v);                                \
    return v;                                                 \
  }                                                           \
  void TGPGraphics::Set(Integer V) { Gp.FlatSet(Native(), V); }
LUMIGRA_GRAPHICS_INT_PROP(GetCompositingMode, SetCompositingMode, GdipGetCompositingMode, GdipSetCompositingMode)
LUMIGRA_GRAPHICS_INT_PROP(GetCompositingQuality, SetCompositingQuality, GdipGetCompositingQuality, GdipSetCompositingQuality)
LUMIGRA_GRAPHICS_INT_PROP(GetTextRenderingHint, SetTextRenderingHint, GdipGetTextRenderingHint, GdipSetTextRenderingHint)
LUMIGRA_GRAPHICS_INT_PROP(GetInterpolationMode, SetInterpolationMode, GdipGetInterpolationMode, GdipSetInterpolationMode)
LUMIGRA_GRAPHICS_INT_PROP(GetSmoothingMode, SetSmoothingMode, GdipGetSmoothingMode, GdipSetSmoothingMode)
LUMIGRA_GRAPHICS_INT_PROP(GetPixelOffsetMode, SetPixelOffsetMode, GdipGetPixelOffsetMode, GdipSetPixelOffsetMode)
LUMIGRA_GRAPHICS_INT_PROP(GetPageUnit, SetPageUnit, GdipGetPageUnit, GdipSetPageUnit)
#undef LUMIGRA_GRAPHICS_INT_PROP

IGPMatrix TGPGraphics::GetTransform() {
  IGPMatrix m(new TGPMatrix());
  Gp.GdipGetWorldTransform(Native(), m->Native());
  return m;
}

void TGPGraphics::SetTransform(const IGPMatrix& M) { Gp.GdipSetWorldTransform(Native(), GPHandle<GpMatrix>(M)); }

Single TGPGraphics::GetPageScale() {
  REAL v = 0;
  Gp.GdipGetPageScale(Native(), &v);
  return v;
}

void TGPGraphics::SetPageScale(Single S) { Gp.GdipSetPageScale(Native(), S); }

Single TGPGraphics::GetDpiX() {
  REAL v = 0;
  Gp.GdipGetDpiX(Native(), &v);
  return v;
}

Single TGPGraphics::GetDpiY() {
  REAL v = 0;
  Gp.GdipGetDpiY(Native(), &v);
  return v;
}

IGPRegion TGPGraphics::GetClip() {
  IGPRegion r(new TGPRegion());
  Gp.GdipGetClip(Native(), r->Native());
  return r;
}

void TGPGraphics::SetClip(const IGPRegion& R, Integer Mode) {
  GP_ASSERT(R);
  Gp.GdipSetClipRegion(Native(), R->Native(), Mode);
}

void TGPGraphics::SetClip(const TGPRectF& R, Integer Mode) { Gp.GdipSetClipRect(Native(), R.X, R.Y, R.Width, R.Height, Mode); }
void TGPGraphics::SetClip(const TGPRect& R, Integer Mode) { Gp.GdipSetClipRectI(Native(), R.X, R.Y, R.Width, R.Height, Mode); }

void TGPGraphics::SetClip(const IGPGraphicsPath& P, Integer Mode) {
  GP_ASSERT(P);
  Gp.GdipSetClipPath(Native(), P->Native(), Mode);
}

void TGPGraphics::GetClipBounds(TGPRectF& R) { Gp.GdipGetClipBounds(Native(), &R); }

bool TGPGraphics::IsClipEmpty() {
  BOOL r = 0;
  Gp.GdipIsClipEmpty(Native(), &r);
  return r != 0;
}

void TGPGraphics::ResetClip() { Gp.GdipResetClip(Native()); }
void TGPGraphics::TranslateClip(Single DX, Single DY) { Gp.GdipTranslateClip(Native(), DX, DY); }
void TGPGraphics::ResetTransform() { Gp.GdipResetWorldTransform(Native()); }

void TGPGraphics::MultiplyTransform(const IGPMatrix& M, Integer O) {
  GP_ASSERT(M);
  Gp.GdipMultiplyWorldTransform(Native(), M->Native(), O);
}

void TGPGraphics::TranslateTransform(Single X, Single Y, Integer O) { Gp.GdipTranslateWorldTransform(Native(), X, Y, O); }
void TGPGraphics::ScaleTransform(Single X, Single Y, Integer O) { Gp.GdipScaleWorldTransform(Native(), X, Y, O); }
void TGPGraphics::RotateTransform(Single A, Integer O) { Gp.GdipRotateWorldTransform(Native(), A, O); }

namespace {

// The pen or brush of a draw or fill is required.
GpPen* PenOf(const IGPPen& P) {
  GP_ASSERT(P);
  return P->Native();
}

GpBrush* BrushOf(const IGPBrush& B) {
  GP_ASSERT(B);
  return B->Native();
}

// The number of leading points to use: Count (1 .. length) or, when
// negative, the whole array; never more than the array holds.
template <class T>
INT LeadingCount(const std::vector<T>& Points, Integer Count) {
  GP_ASSERT(!Points.empty());
  if (Count < 0) return INT(Points.size());
  GP_ASSERT(Count >= 1 && size_t(Count) <= Points.size());
  return Count;
}

template <class T>
INT WholeCount(const std::vector<T>& Points) {
  GP_ASSERT(!Points.empty());
  return INT(Points.size());
}

}  // namespace

void TGPGraphics::DrawLine(const IGPPen& P, Single X1, Single Y1, Single X2, Single Y2) {
  Gp.GdipDrawLine(Native(), PenOf(P), X1, Y1, X2, Y2);
}
void TGPGraphics::DrawLine(const IGPPen& P, Integer X1, Integer Y1, Integer X2, Integer Y2) {
  Gp.GdipDrawLineI(Native(), PenOf(P), X1, Y1, X2, Y2);
}
void TGPGraphics::DrawLines(const IGPPen& P, const std::vector<TGPPointF>& Pts, Integer Count) {
  const INT n = LeadingCount(Pts, Count);
  Gp.GdipDrawLines(Native(), PenOf(P), Pts.data(), n);
}
void TGPGraphics::DrawLines(const IGPPen& P, const std::vector<TGPPoint>& Pts, Integer Count) {
  const INT n = LeadingCount(Pts, Count);
  Gp.GdipDrawLinesI(Native(), PenOf(P), Pts.data(), n);
}
void TGPGraphics::DrawArc(const IGPPen& P, Single X, Single Y, Single W, Single H, Single S, Single Sw) {
  Gp.GdipDrawArc(Native(), PenOf(P), X, Y, W, H, S, Sw);
}
void TGPGraphics::DrawArc(const IGPPen& P, Integer X, Integer Y, Integer W, Integer H, Single S, Single Sw) {
  Gp.GdipDrawArcI(Native(), PenOf(P), X, Y, W, H, S, Sw);
}
void TGPGraphics::DrawBezier(const IGPPen& P, Single X1, Single Y1, Single X2, Single Y2, Single X3, Single Y3,
                             Single X4, Single Y4) {
  Gp.GdipDrawBezier(Native(), PenOf(P), X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}
void TGPGraphics::DrawBeziers(const IGPPen& P, const std::vector<TGPPointF>& Pts) {
  const INT n = WholeCount(Pts);
  Gp.GdipDrawBeziers(Native(), PenOf(P), Pts.data(), n);
}
void TGPGraphics::DrawBeziers(const IGPPen& P, const std::vector<TGPPoint>& Pts) {
  const INT n = WholeCount(Pts);
  Gp.GdipDrawBeziersI(Native(), PenOf(P), Pts.data(), n);
}
void TGPGraphics::DrawRectangle(const IGPPen& P, Single X, Single Y, Single W, Single H) {
  Gp.GdipDrawRectangle(Native(), PenOf(P), X, Y, W, H);
}
void TGPGraphics::DrawRectangle(const IGPPen& P, Integer X, Integer Y, Integer W, Integer H) {
  Gp.GdipDrawRectangleI(Native(), PenOf(P), X, Y, W, H);
}
void TGPGraphics::DrawEllipse(const IGPPen& P, Single X, Single Y, Single W, Single H) {
  Gp.GdipDrawEllipse(Native(), PenOf(P), X, Y, W, H);
}
void TGPGraphics::DrawEllipse(const IGPPen& P, Integer X, Integer Y, Integer W, Integer H) {
  Gp.GdipDrawEllipseI(Native(), PenOf(P), X, Y, W, H);
}
void TGPGraphics::DrawPolygon(const IGPPen& P, const std::vector<TGPPointF>& Pts, Integer Count) {
  const INT n = LeadingCount(Pts, Count);
  Gp.GdipDrawPolygon(Native(), PenOf(P), Pts.data(), n);
}
void TGPGraphics::DrawPolygon(const IGPPen& P, const std::vector<TGPPoint>& Pts, Integer Count) {
  const INT n = LeadingCount(Pts, Count);
  Gp.GdipDrawPolygonI(Native(), PenOf(P), Pts.data(), n);
}
void TGPGraphics::DrawPath(const IGPPen& P, const IGPGraphicsPath& Path) {
  Gp.GdipDrawPath(Native(), GPHandle<GpPen>(P), GPHandle<GpPath>(Path));
}
void TGPGraphics::DrawCurve(const IGPPen& P, const std::vector<TGPPointF>& Pts) {
  const INT n = WholeCount(Pts);
  Gp.GdipDrawCurve(Native(), PenOf(P), Pts.data(), n);
}
void TGPGraphics::DrawCurve(const IGPPen& P, const std::vector<TGPPointF>& Pts, Single T) {
  const INT n = WholeCount(Pts);
  Gp.GdipDrawCurve2(Native(), PenOf(P), Pts.data(), n, T);
}
void TGPGraphics::DrawCurve(const IGPPen& P, const std::vector<TGPPoint>& Pts) {
  const INT n = WholeCount(Pts);
  Gp.GdipDrawCurveI(Native(), PenOf(P), Pts.data(), n);
}
void TGPGraphics::DrawCurve(const IGPPen& P, const std::vector<TGPPoint>& Pts, Single T) {
  const INT n = WholeCount(Pts);
  Gp.GdipDrawCurve2I(Native(), PenOf(P), Pts.data(), n, T);
}
void TGPGraphics::DrawClosedCurve(const IGPPen& P, const std::vector<TGPPointF>& Pts) {
  const INT n = WholeCount(Pts);
  Gp.GdipDrawClosedCurve(Native(), PenOf(P), Pts.data(), n);
}
void TGPGraphics::DrawClosedCurve(const IGPPen& P, const std::vector<TGPPoint>& Pts) {
  const INT n = WholeCount(Pts);
  Gp.GdipDrawClosedCurveI(Native(), PenOf(P), Pts.data(), n);
}

void TGPGraphics::Clear(TGPColor C) { Gp.GdipGraphicsClear(Native(), C); }
void TGPGraphics::FillRectangle(const IGPBrush& B, Single X, Single Y, Single W, Single H) {
  Gp.GdipFillRectangle(Native(), BrushOf(B), X, Y, W, H);
}
void TGPGraphics::FillRectangle(const IGPBrush& B, Integer X, Integer Y, Integer W, Integer H) {
  Gp.GdipFillRectangleI(Native(), BrushOf(B), X, Y, W, H);
}
void TGPGraphics::FillPolygon(const IGPBrush& B, const std::vector<TGPPointF>& Pts, Integer Count, TGPFillMode M) {
  const INT n = LeadingCount(Pts, Count);
  Gp.GdipFillPolygon(Native(), BrushOf(B), Pts.data(), n, M);
}
void TGPGraphics::FillPolygon(const IGPBrush& B, const std::vector<TGPPoint>& Pts, Integer Count, TGPFillMode M) {
  const INT n = LeadingCount(Pts, Count);
  Gp.GdipFillPolygonI(Native(), BrushOf(B), Pts.data(), n, M);
}
void TGPGraphics::FillEllipse(const IGPBrush& B, Single X, Single Y, Single W, Single H) {
  Gp.GdipFillEllipse(Native(), BrushOf(B), X, Y, W, H);
}
void TGPGraphics::FillEllipse(const IGPBrush& B, Integer X, Integer Y, Integer W, Integer H) {
  Gp.GdipFillEllipseI(Native(), BrushOf(B), X, Y, W, H);
}
void TGPGraphics::FillPie(const IGPBrush& B, Single X, Single Y, Single W, Single H, Single S, Single Sw) {
  Gp.GdipFillPie(Native(), BrushOf(B), X, Y, W, H, S, Sw);
}
void TGPGraphics::FillPath(const IGPBrush& B, const IGPGraphicsPath& Path) {
  GP_ASSERT(Path);
  Gp.GdipFillPath(Native(), BrushOf(B), Path->Native());
}
void TGPGraphics::FillRegion(const IGPBrush& B, const IGPRegion& R) {
  GP_ASSERT(R);
  Gp.GdipFillRegion(Native(), BrushOf(B), R->Native());
}

void TGPGraphics::DrawString(const String& Text, const IGPFont& Font, const TGPPointF& Origin, const IGPBrush& Brush) {
  DrawString(Text, Font, TGPRectF{Origin.X, Origin.Y, 0, 0}, nullptr, Brush);
}

void TGPGraphics::DrawString(const String& Text, const IGPFont& Font, const TGPRectF& Layout,
                             const IGPStringFormat& Format, const IGPBrush& Brush) {
  // Vertical text in pixel units takes the path layout (see
  // TGPGraphicsPath::AddString), clipped to the layout rectangle as drawn
  // text is.
  if (Format && Font && Brush && (Format->GetFormatFlags() & 2) != 0 && Font->GetUnit() == UnitPixel) {
    IGPGraphicsPath path(new TGPGraphicsPath(FillModeWinding));
    path->AddString(Text, Font->GetFamily(), Font->GetStyle(), Font->GetSize(), Layout, Format);
    UINT state = 0;
    Gp.GdipSaveGraphics(Native(), &state);
    if (Layout.Width > 0 && Layout.Height > 0) IntersectClip(Layout);
    FillPath(Brush, path);
    Gp.GdipRestoreGraphics(Native(), state);
    return;
  }
  Gp.GdipDrawString(Native(), Text.c_str(), INT(Text.size()), GPHandle<GpFont>(Font), &Layout,
                     GPHandle<GpStringFormat>(Format), BrushOf(Brush));
}

void TGPGraphics::DrawString(const String& Text, const IGPFont& Font, const TGPPointF& Origin,
                             const IGPStringFormat& Format, const IGPBrush& Brush) {
  DrawString(Text, Font, TGPRectF{Origin.X, Origin.Y, 0, 0}, Format, Brush);
}

void TGPGraphics::MeasureString(const String& Text, const IGPFont& Font, const TGPRectF& Layout,
                                const IGPStringFormat& Format, TGPRectF& Box) {
  Integer fitted = 0, lines = 0;
  MeasureString(Text, Font, Layout, Format, Box, fitted, lines);
}

void TGPGraphics::MeasureString(const String& Text, const IGPFont& Font, const TGPRectF& Layout,
                                const IGPStringFormat& Format, TGPRectF& Box, Integer& Fitted, Integer& Lines) {
  Gp.GdipMeasureString(Native(), Text.c_str(), INT(Text.size()), GPHandle<GpFont>(Font), &Layout,
                        GPHandle<GpStringFormat>(Format), &Box, &Fitted, &Lines);
}

void TGPGraphics::MeasureString(const String& Text, const IGPFont& Font, const TGPSizeF& LayoutSize,
                                const IGPStringFormat& Format, TGPSizeF& Size) {
  TGPRectF box{0, 0, 0, 0};
  Integer fitted = 0, lines = 0;
  MeasureString(Text, Font, TGPRectF{0, 0, LayoutSize.Width, LayoutSize.Height}, Format, box, fitted, lines);
  Size = TGPSizeF{box.Width, box.Height};
}

void TGPGraphics::MeasureString(const String& Text, const IGPFont& Font, const TGPPointF& Origin,
                                const IGPStringFormat& Format, TGPRectF& Box) {
  const TGPRectF layout{Origin.X, Origin.Y, 0, 0};
  Gp.GdipMeasureString(Native(), Text.c_str(), INT(Text.size()), GPHandle<GpFont>(Font), &layout,
                        GPHandle<GpStringFormat>(Format), &Box, nullptr, nullptr);
}

void TGPGraphics::MeasureString(const String& Text, const IGPFont& Font, const TGPRectF& Layout, TGPRectF& Box) {
  Gp.GdipMeasureString(Native(), Text.c_str(), INT(Text.size()), GPHandle<GpFont>(Font), &Layout, nullptr, &Box,
                        nullptr, nullptr);
}

void TGPGraphics::MeasureString(const String& Text, const IGPFont& Font, const TGPPointF& Origin, TGPRectF& Box) {
  MeasureString(Text, Font, Origin, nullptr, Box);
}

void TGPGraphics::DrawImage(const IGPImage& I, Single X, Single Y) { Gp.GdipDrawImage(Native(), GPHandle<GpImage>(I), X, Y); }
void TGPGraphics::DrawImage(const IGPImage& I, Integer X, Integer Y) { Gp.GdipDrawImageI(Native(), GPHandle<GpImage>(I), X, Y); }
void TGPGraphics::DrawImage(const IGPImage& I, Single X, Single Y, Single W, Single H) {
  Gp.GdipDrawImageRect(Native(), GPHandle<GpImage>(I), X, Y, W, H);
}
void TGPGraphics::DrawImage(const IGPImage& I, Integer X, Integer Y, Integer W, Integer H) {
  Gp.GdipDrawImageRectI(Native(), GPHandle<GpImage>(I), X, Y, W, H);
}

bool TGPGraphics::IsVisible(Integer X, Integer Y) {
  BOOL r = 0;
  Gp.GdipIsVisiblePointI(Native(), X, Y, &r);
  return r != 0;
}

bool TGPGraphics::IsVisible(Single X, Single Y) {
  BOOL r = 0;
  Gp.GdipIsVisiblePoint(Native(), X, Y, &r);
  return r != 0;
}

Cardinal TGPGraphics::Save() {
  UINT s = 0;
  Gp.GdipSaveGraphics(Native(), &s);
  return s;
}

void TGPGraphics::Restore(Cardinal State) { Gp.GdipRestoreGraphics(Native(), State); }
