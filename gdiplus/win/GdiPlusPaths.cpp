// Paths and regions.
#include <cmath>
#include <cstdlib>
#include <vector>

#include "gdiplus/win/GdiPlus.h"
#include "gdiplus/win/GdiPlusShared.h"

using namespace gdipflat;

// ---------------------------------------------------------------------------
// Path data

void TGPPathData::SetCount(Integer Count) {
  const size_t n = Count > 0 ? size_t(Count) : 0;
  if (n != FPoints.size()) {
    FPoints.resize(n);
    FTypes.resize(n);
  }
}

GpPathData TGPPathData::GetNativePathData() {
  return GpPathData{Integer(FPoints.size()), FPoints.data(), FTypes.data()};
}

// ---------------------------------------------------------------------------
// Paths

TGPGraphicsPath::TGPGraphicsPath(TGPFillMode FillMode) {
  GpPath* p = nullptr;
  Api.GdipCreatePath(FillMode, &p);
  FNativeHandle = p;
}

TGPGraphicsPath::TGPGraphicsPath(const std::vector<TGPPointF>& Points, const std::vector<Byte>& Types,
                                 TGPFillMode FillMode) {
  GP_ASSERT(!Points.empty() && Points.size() == Types.size());
  GpPath* p = nullptr;
  Api.GdipCreatePath2(Points.data(), Types.data(), INT(Points.size()), FillMode, &p);
  FNativeHandle = p;
}

TGPGraphicsPath::TGPGraphicsPath(const std::vector<TGPPoint>& Points, const std::vector<Byte>& Types,
                                 TGPFillMode FillMode) {
  GP_ASSERT(!Points.empty() && Points.size() == Types.size());
  GpPath* p = nullptr;
  Api.GdipCreatePath2I(Points.data(), Types.data(), INT(Points.size()), FillMode, &p);
  FNativeHandle = p;
}

TGPGraphicsPath::~TGPGraphicsPath() { Api.GdipDeletePath(Native()); }

TGPFillMode TGPGraphicsPath::GetFillMode() {
  INT m = 0;
  Api.GdipGetPathFillMode(Native(), &m);
  return TGPFillMode(m);
}

void TGPGraphicsPath::SetFillMode(TGPFillMode M) { Api.GdipSetPathFillMode(Native(), M); }

IGPPathData TGPGraphicsPath::GetPathData() {
  IGPPathData d(new TGPPathData(GetPointCount()));
  GpPathData nd = d->GetNativePathData();
  Api.GdipGetPathData(Native(), &nd);
  return d;
}

Integer TGPGraphicsPath::GetPointCount() {
  INT n = 0;
  Api.GdipGetPointCount(Native(), &n);
  return n;
}

IGPArray<Byte> TGPGraphicsPath::GetPathTypes() {
  const Integer n = GetPointCount();
  IGPArray<Byte> a(new TGPArray<Byte>(n));
  Api.GdipGetPathTypes(Native(), a->GetItemPtr(), n);
  return a;
}

IGPArray<TGPPointF> TGPGraphicsPath::GetPathPoints() {
  const Integer n = GetPointCount();
  IGPArray<TGPPointF> a(new TGPArray<TGPPointF>(n));
  Api.GdipGetPathPoints(Native(), a->GetItemPtr(), n);
  return a;
}

IGPArray<TGPPoint> TGPGraphicsPath::GetPathPointsI() {
  const Integer n = GetPointCount();
  IGPArray<TGPPoint> a(new TGPArray<TGPPoint>(n));
  Api.GdipGetPathPointsI(Native(), a->GetItemPtr(), n);
  return a;
}

IGPGraphicsPath TGPGraphicsPath::Clone() {
  GpPath* p = nullptr;
  Api.GdipClonePath(Native(), &p);
  return new TGPGraphicsPath(TWrapTag{}, p);
}

void TGPGraphicsPath::Reset() { Api.GdipResetPath(Native()); }
void TGPGraphicsPath::StartFigure() { Api.GdipStartPathFigure(Native()); }
void TGPGraphicsPath::CloseFigure() { Api.GdipClosePathFigure(Native()); }
void TGPGraphicsPath::CloseAllFigures() { Api.GdipClosePathFigures(Native()); }
void TGPGraphicsPath::Reverse() { Api.GdipReversePath(Native()); }
void TGPGraphicsPath::GetLastPoint(TGPPointF& P) { Api.GdipGetPathLastPoint(Native(), &P); }

void TGPGraphicsPath::AddLine(Single X1, Single Y1, Single X2, Single Y2) { Api.GdipAddPathLine(Native(), X1, Y1, X2, Y2); }
void TGPGraphicsPath::AddLine(Integer X1, Integer Y1, Integer X2, Integer Y2) { Api.GdipAddPathLineI(Native(), X1, Y1, X2, Y2); }

#define LUMIGRA_PATH_ARRAY_OP(Name, FlatF, FlatI)                         \
  void TGPGraphicsPath::Name(const std::vector<TGPPointF>& P) {           \
    GP_ASSERT(!P.empty());                                                \
    Api.FlatF(Native(), P.data(), INT(P.size()));                         \
  }                                                                       \
  void TGPGraphicsPath::Name(const std::vector<TGPPoint>& P) {            \
    GP_ASSERT(!P.empty());                                                \
    Api.FlatI(Native(), P.data(), INT(P.size()));                         \
  }
LUMIGRA_PATH_ARRAY_OP(AddLines, GdipAddPathLine2, GdipAddPathLine2I)
LUMIGRA_PATH_ARRAY_OP(AddBeziers, GdipAddPathBeziers, GdipAddPathBeziersI)
LUMIGRA_PATH_ARRAY_OP(AddCurve, GdipAddPathCurve, GdipAddPathCurveI)
LUMIGRA_PATH_ARRAY_OP(AddClosedCurve, GdipAddPathClosedCurve, GdipAddPathClosedCurveI)
LUMIGRA_PATH_ARRAY_OP(AddPolygon, GdipAddPathPolygon, GdipAddPathPolygonI)
#undef LUMIGRA_PATH_ARRAY_OP

void TGPGraphicsPath::AddCurve(const std::vector<TGPPointF>& P, Single Tension) {
  GP_ASSERT(!P.empty());
  Api.GdipAddPathCurve2(Native(), P.data(), INT(P.size()), Tension);
}

void TGPGraphicsPath::AddCurve(const std::vector<TGPPoint>& P, Single Tension) {
  GP_ASSERT(!P.empty());
  Api.GdipAddPathCurve2I(Native(), P.data(), INT(P.size()), Tension);
}

void TGPGraphicsPath::AddArc(Single X, Single Y, Single W, Single H, Single S, Single Sw) {
  Api.GdipAddPathArc(Native(), X, Y, W, H, S, Sw);
}
void TGPGraphicsPath::AddArc(Integer X, Integer Y, Integer W, Integer H, Single S, Single Sw) {
  Api.GdipAddPathArcI(Native(), X, Y, W, H, S, Sw);
}
void TGPGraphicsPath::AddBezier(Single X1, Single Y1, Single X2, Single Y2, Single X3, Single Y3, Single X4, Single Y4) {
  Api.GdipAddPathBezier(Native(), X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}
void TGPGraphicsPath::AddBezier(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3, Integer X4,
                                Integer Y4) {
  Api.GdipAddPathBezierI(Native(), X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}
void TGPGraphicsPath::AddRectangle(const TGPRectF& R) { Api.GdipAddPathRectangle(Native(), R.X, R.Y, R.Width, R.Height); }
void TGPGraphicsPath::AddRectangle(const TGPRect& R) { Api.GdipAddPathRectangleI(Native(), R.X, R.Y, R.Width, R.Height); }
void TGPGraphicsPath::AddEllipse(Single X, Single Y, Single W, Single H) { Api.GdipAddPathEllipse(Native(), X, Y, W, H); }
void TGPGraphicsPath::AddEllipse(Integer X, Integer Y, Integer W, Integer H) { Api.GdipAddPathEllipseI(Native(), X, Y, W, H); }
void TGPGraphicsPath::AddPie(Single X, Single Y, Single W, Single H, Single S, Single Sw) {
  Api.GdipAddPathPie(Native(), X, Y, W, H, S, Sw);
}
void TGPGraphicsPath::AddPie(Integer X, Integer Y, Integer W, Integer H, Single S, Single Sw) {
  Api.GdipAddPathPieI(Native(), X, Y, W, H, S, Sw);
}

void TGPGraphicsPath::AddPath(const IGPGraphicsPath& Path, bool Connect) {
  Api.GdipAddPathPath(Native(), GPHandle<GpPath>(Path), GPBool(Connect));
}

void TGPGraphicsPath::AddString(const String& Text, const IGPFontFamily& Family, TGPFontStyle Style, Single EmSize,
                                const TGPPointF& Origin, const IGPStringFormat& Format) {
  AddString(Text, Family, Style, EmSize, TGPRectF{Origin.X, Origin.Y, 0, 0}, Format);
}

void TGPGraphicsPath::AddString(const String& Text, const IGPFontFamily& Family, TGPFontStyle Style, Single EmSize,
                                const TGPRectF& Layout, const IGPStringFormat& Format) {
  Api.GdipAddPathString(Native(), Text.c_str(), INT(Text.size()), GPHandle<GpFontFamily>(Family), Style, EmSize,
                        &Layout, GPHandle<GpStringFormat>(Format));
}

void TGPGraphicsPath::AddString(const String& Text, const IGPFontFamily& Family, TGPFontStyle Style, Single EmSize,
                                const TGPPoint& Origin, const IGPStringFormat& Format) {
  AddString(Text, Family, Style, EmSize, TGPRect{Origin.X, Origin.Y, 0, 0}, Format);
}

void TGPGraphicsPath::AddString(const String& Text, const IGPFontFamily& Family, TGPFontStyle Style, Single EmSize,
                                const TGPRect& Layout, const IGPStringFormat& Format) {
  Api.GdipAddPathStringI(Native(), Text.c_str(), INT(Text.size()), GPHandle<GpFontFamily>(Family), Style, EmSize,
                         &Layout, GPHandle<GpStringFormat>(Format));
}

void TGPGraphicsPath::Transform(const IGPMatrix& M) {
  if (M) Api.GdipTransformPath(Native(), M->Native());
}

void TGPGraphicsPath::GetBounds(TGPRectF& B, const IGPMatrix& M, const IGPPen& Pen) {
  Api.GdipGetPathWorldBounds(Native(), &B, GPHandle<GpMatrix>(M), GPHandle<GpPen>(Pen));
}

void TGPGraphicsPath::GetBounds(TGPRect& B, const IGPMatrix& M, const IGPPen& Pen) {
  Api.GdipGetPathWorldBoundsI(Native(), &B, GPHandle<GpMatrix>(M), GPHandle<GpPen>(Pen));
}

void TGPGraphicsPath::Flatten(const IGPMatrix& M, Single Flatness) {
  Api.GdipFlattenPath(Native(), GPHandle<GpMatrix>(M), Flatness);
}

void TGPGraphicsPath::Widen(const IGPPen& Pen, const IGPMatrix& M, Single Flatness) {
  GP_ASSERT(Pen);
  Api.GdipWidenPath(Native(), Pen->Native(), GPHandle<GpMatrix>(M), Flatness);
}

void TGPGraphicsPath::Outline(const IGPMatrix& M, Single Flatness) {
  Api.GdipWindingModeOutline(Native(), GPHandle<GpMatrix>(M), Flatness);
}

bool TGPGraphicsPath::IsVisible(Single X, Single Y, const IGPGraphics& G) {
  BOOL r = 0;
  Api.GdipIsVisiblePathPoint(Native(), X, Y, GPHandle<GpGraphics>(G), &r);
  return r != 0;
}

bool TGPGraphicsPath::IsVisible(Integer X, Integer Y, const IGPGraphics& G) {
  BOOL r = 0;
  Api.GdipIsVisiblePathPointI(Native(), X, Y, GPHandle<GpGraphics>(G), &r);
  return r != 0;
}

bool TGPGraphicsPath::IsOutlineVisible(Single X, Single Y, const IGPPen& Pen, const IGPGraphics& G) {
  BOOL r = 0;
  Api.GdipIsOutlineVisiblePathPoint(Native(), X, Y, GPHandle<GpPen>(Pen), GPHandle<GpGraphics>(G), &r);
  return r != 0;
}

bool TGPGraphicsPath::IsOutlineVisible(Integer X, Integer Y, const IGPPen& Pen, const IGPGraphics& G) {
  BOOL r = 0;
  Api.GdipIsOutlineVisiblePathPointI(Native(), X, Y, GPHandle<GpPen>(Pen), GPHandle<GpGraphics>(G), &r);
  return r != 0;
}

// ---------------------------------------------------------------------------
// Regions

TGPRegion::TGPRegion() {
  GpRegion* r = nullptr;
  Api.GdipCreateRegion(&r);
  FNativeHandle = r;
}

TGPRegion::TGPRegion(const TGPRectF& Rect) {
  GpRegion* r = nullptr;
  Api.GdipCreateRegionRect(&Rect, &r);
  FNativeHandle = r;
}

TGPRegion::TGPRegion(const TGPRect& Rect) {
  GpRegion* r = nullptr;
  Api.GdipCreateRegionRectI(&Rect, &r);
  FNativeHandle = r;
}

TGPRegion::TGPRegion(const IGPGraphicsPath& Path) {
  GP_ASSERT(Path);
  GpRegion* r = nullptr;
  Api.GdipCreateRegionPath(Path->Native(), &r);
  FNativeHandle = r;
}

TGPRegion::TGPRegion(const Byte* Data, Integer Size) {
  GpRegion* r = nullptr;
  Api.GdipCreateRegionRgnData(Data, Size, &r);
  FNativeHandle = r;
}

namespace {

// A libgdiplus region holding the rectangles of a Windows region; nullptr
// when the handle is no region.
GpRegion* RegionFromHrgn(HRGN Rgn) {
  if (Rgn == nullptr || GetObjectType(Rgn) != OBJ_REGION) return nullptr;
  const DWORD size = GetRegionData(Rgn, 0, nullptr);
  if (size < sizeof(RGNDATAHEADER)) return nullptr;
  std::vector<Byte> buf(size);
  auto* data = reinterpret_cast<RGNDATA*>(buf.data());
  if (GetRegionData(Rgn, size, data) != size) return nullptr;
  GpRegion* r = nullptr;
  if (Api.GdipCreateRegion(&r) != Ok) return nullptr;
  Api.GdipSetEmpty(r);
  const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
  for (DWORD i = 0; i < data->rdh.nCount; ++i) {
    const GpRect gr{rects[i].left, rects[i].top, rects[i].right - rects[i].left, rects[i].bottom - rects[i].top};
    Api.GdipCombineRegionRectI(r, &gr, CombineModeUnion);
  }
  return r;
}

}  // namespace

TGPRegion::TGPRegion(HRGN Rgn) { FNativeHandle = RegionFromHrgn(Rgn); }

IGPRegion TGPRegion::FromHRGN(HRGN Rgn) {
  GpRegion* r = RegionFromHrgn(Rgn);
  if (r == nullptr) return nullptr;
  return new TGPRegion(TWrapTag{}, r);
}

TGPRegion::~TGPRegion() { Api.GdipDeleteRegion(Native()); }

IGPRegion TGPRegion::Clone() {
  GpRegion* r = nullptr;
  Api.GdipCloneRegion(Native(), &r);
  return new TGPRegion(TWrapTag{}, r);
}

void TGPRegion::MakeInfinite() { Api.GdipSetInfinite(Native()); }
void TGPRegion::MakeEmpty() { Api.GdipSetEmpty(Native()); }

IGPBuffer TGPRegion::GetData() {
  UINT size = 0;
  Api.GdipGetRegionDataSize(Native(), &size);
  void* block = nullptr;
  if (size != 0) {
    block = std::malloc(size);
    if (block == nullptr || Api.GdipGetRegionData(Native(), static_cast<BYTE*>(block), size, nullptr) != Ok) {
      std::free(block);
      block = nullptr;
      size = 0;
    }
  }
  return new TGPBuffer(block, size);
}

void TGPRegion::Combine(const TGPRect& R, Integer Mode) { Api.GdipCombineRegionRectI(Native(), &R, Mode); }
void TGPRegion::Combine(const TGPRectF& R, Integer Mode) { Api.GdipCombineRegionRect(Native(), &R, Mode); }
void TGPRegion::Combine(const IGPGraphicsPath& P, Integer Mode) {
  GP_ASSERT(P);
  Api.GdipCombineRegionPath(Native(), P->Native(), Mode);
}
void TGPRegion::Combine(const IGPRegion& R, Integer Mode) {
  GP_ASSERT(R);
  Api.GdipCombineRegionRegion(Native(), R->Native(), Mode);
}

void TGPRegion::Translate(Single DX, Single DY) { Api.GdipTranslateRegion(Native(), DX, DY); }
void TGPRegion::Translate(Integer DX, Integer DY) { Api.GdipTranslateRegionI(Native(), DX, DY); }
void TGPRegion::Transform(const IGPMatrix& M) {
  GP_ASSERT(M);
  Api.GdipTransformRegion(Native(), M->Native());
}

void TGPRegion::GetBounds(TGPRectF& R, const IGPGraphics& G) {
  GP_ASSERT(G);
  Api.GdipGetRegionBounds(Native(), GPHandle<GpGraphics>(G), &R);
}

// libgdiplus has no integer form: the smallest integer rectangle holding the
// float bounds.
void TGPRegion::GetBounds(TGPRect& R, const IGPGraphics& G) {
  GP_ASSERT(G);
  TGPRectF f{};
  if (Api.GdipGetRegionBounds(Native(), GPHandle<GpGraphics>(G), &f) != Ok) return;
  const double x0 = std::floor(double(f.X)), y0 = std::floor(double(f.Y));
  const double x1 = std::ceil(double(f.X) + f.Width), y1 = std::ceil(double(f.Y) + f.Height);
  R = TGPRect{Integer(x0), Integer(y0), Integer(x1 - x0), Integer(y1 - y0)};
}

HRGN TGPRegion::GetHRGN(const IGPGraphics& G) {
  GP_ASSERT(G);
  BOOL inf = 0;
  if (Api.GdipIsInfiniteRegion(Native(), G->Native(), &inf) != Ok) return nullptr;
  if (inf) return nullptr;  // Windows' convention: NULL means infinite
  IGPMatrix m(new TGPMatrix());
  UINT n = 0;
  if (Api.GdipGetRegionScansCount(Native(), &n, m->Native()) != Ok) return nullptr;
  std::vector<GpRect> rects(n);
  INT got = INT(n);
  if (n != 0 && Api.GdipGetRegionScansI(Native(), rects.data(), &got, m->Native()) != Ok) return nullptr;
  HRGN result = CreateRectRgn(0, 0, 0, 0);
  for (INT i = 0; i < got; ++i) {
    HRGN part = CreateRectRgn(rects[size_t(i)].X, rects[size_t(i)].Y, rects[size_t(i)].X + rects[size_t(i)].Width,
                              rects[size_t(i)].Y + rects[size_t(i)].Height);
    CombineRgn(result, result, part, RGN_OR);
    DeleteObject(part);
  }
  return result;
}

bool TGPRegion::IsEmpty(const IGPGraphics& G) {
  GP_ASSERT(G);
  BOOL r = 0;
  Api.GdipIsEmptyRegion(Native(), G->Native(), &r);
  return r != 0;
}

bool TGPRegion::IsInfinite(const IGPGraphics& G) {
  GP_ASSERT(G);
  BOOL r = 0;
  Api.GdipIsInfiniteRegion(Native(), G->Native(), &r);
  return r != 0;
}

bool TGPRegion::IsVisible(Integer X, Integer Y, const IGPGraphics& G) {
  BOOL r = 0;
  Api.GdipIsVisibleRegionPointI(Native(), X, Y, GPHandle<GpGraphics>(G), &r);
  return r != 0;
}

bool TGPRegion::IsVisible(Single X, Single Y, const IGPGraphics& G) {
  BOOL r = 0;
  Api.GdipIsVisibleRegionPoint(Native(), X, Y, GPHandle<GpGraphics>(G), &r);
  return r != 0;
}

bool TGPRegion::IsVisible(Integer X, Integer Y, Integer W, Integer H, const IGPGraphics& G) {
  BOOL r = 0;
  Api.GdipIsVisibleRegionRectI(Native(), X, Y, W, H, GPHandle<GpGraphics>(G), &r);
  return r != 0;
}

bool TGPRegion::IsVisible(Single X, Single Y, Single W, Single H, const IGPGraphics& G) {
  BOOL r = 0;
  Api.GdipIsVisibleRegionRect(Native(), X, Y, W, H, GPHandle<GpGraphics>(G), &r);
  return r != 0;
}

bool TGPRegion::Equals(const IGPRegion& Region, const IGPGraphics& G) {
  GP_ASSERT(Region && G);
  BOOL r = 0;
  Api.GdipIsEqualRegion(Native(), Region->Native(), G->Native(), &r);
  return r != 0;
}

IGPArray<TGPRectF> TGPRegion::GetRegionScans(const IGPMatrix& M) {
  GP_ASSERT(M);
  UINT n = 0;
  Api.GdipGetRegionScansCount(Native(), &n, M->Native());
  IGPArray<TGPRectF> a(new TGPArray<TGPRectF>(Integer(n)));
  if (n >= 1) {
    INT got = INT(n);
    Api.GdipGetRegionScans(Native(), a->GetItemPtr(), &got, M->Native());
    a->SetCount(got);
  }
  return a;
}

IGPArray<TGPRect> TGPRegion::GetRegionScansI(const IGPMatrix& M) {
  GP_ASSERT(M);
  UINT n = 0;
  Api.GdipGetRegionScansCount(Native(), &n, M->Native());
  IGPArray<TGPRect> a(new TGPArray<TGPRect>(Integer(n)));
  if (n >= 1) {
    INT got = INT(n);
    Api.GdipGetRegionScansI(Native(), a->GetItemPtr(), &got, M->Native());
    a->SetCount(got);
  }
  return a;
}
