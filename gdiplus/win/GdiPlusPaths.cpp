// Paths and regions.
#include <algorithm>
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
  Gp.GdipCreatePath(FillMode, &p);
  FNativeHandle = p;
}

TGPGraphicsPath::TGPGraphicsPath(const std::vector<TGPPointF>& Points, const std::vector<Byte>& Types,
                                 TGPFillMode FillMode) {
  GP_ASSERT(!Points.empty() && Points.size() == Types.size());
  GpPath* p = nullptr;
  Gp.GdipCreatePath2(Points.data(), Types.data(), INT(Points.size()), FillMode, &p);
  FNativeHandle = p;
}

TGPGraphicsPath::TGPGraphicsPath(const std::vector<TGPPoint>& Points, const std::vector<Byte>& Types,
                                 TGPFillMode FillMode) {
  GP_ASSERT(!Points.empty() && Points.size() == Types.size());
  GpPath* p = nullptr;
  Gp.GdipCreatePath2I(Points.data(), Types.data(), INT(Points.size()), FillMode, &p);
  FNativeHandle = p;
}

TGPGraphicsPath::~TGPGraphicsPath() { Gp.GdipDeletePath(Native()); }

TGPFillMode TGPGraphicsPath::GetFillMode() {
  INT m = 0;
  Gp.GdipGetPathFillMode(Native(), &m);
  return TGPFillMode(m);
}

void TGPGraphicsPath::SetFillMode(TGPFillMode M) { Gp.GdipSetPathFillMode(Native(), M); }

IGPPathData TGPGraphicsPath::GetPathData() {
  IGPPathData d(new TGPPathData(GetPointCount()));
  GpPathData nd = d->GetNativePathData();
  Gp.GdipGetPathData(Native(), &nd);
  return d;
}

Integer TGPGraphicsPath::GetPointCount() {
  INT n = 0;
  Gp.GdipGetPointCount(Native(), &n);
  return n;
}

IGPArray<Byte> TGPGraphicsPath::GetPathTypes() {
  const Integer n = GetPointCount();
  IGPArray<Byte> a(new TGPArray<Byte>(n));
  Gp.GdipGetPathTypes(Native(), a->GetItemPtr(), n);
  return a;
}

IGPArray<TGPPointF> TGPGraphicsPath::GetPathPoints() {
  const Integer n = GetPointCount();
  IGPArray<TGPPointF> a(new TGPArray<TGPPointF>(n));
  Gp.GdipGetPathPoints(Native(), a->GetItemPtr(), n);
  return a;
}

IGPArray<TGPPoint> TGPGraphicsPath::GetPathPointsI() {
  const Integer n = GetPointCount();
  IGPArray<TGPPoint> a(new TGPArray<TGPPoint>(n));
  Gp.GdipGetPathPointsI(Native(), a->GetItemPtr(), n);
  return a;
}

IGPGraphicsPath TGPGraphicsPath::Clone() {
  GpPath* p = nullptr;
  Gp.GdipClonePath(Native(), &p);
  return new TGPGraphicsPath(TWrapTag{}, p);
}

void TGPGraphicsPath::Reset() { Gp.GdipResetPath(Native()); }
void TGPGraphicsPath::StartFigure() { Gp.GdipStartPathFigure(Native()); }
void TGPGraphicsPath::CloseFigure() { Gp.GdipClosePathFigure(Native()); }
void TGPGraphicsPath::CloseAllFigures() { Gp.GdipClosePathFigures(Native()); }
void TGPGraphicsPath::Reverse() { Gp.GdipReversePath(Native()); }
void TGPGraphicsPath::GetLastPoint(TGPPointF& P) { Gp.GdipGetPathLastPoint(Native(), &P); }

void TGPGraphicsPath::AddLine(Single X1, Single Y1, Single X2, Single Y2) { Gp.GdipAddPathLine(Native(), X1, Y1, X2, Y2); }
void TGPGraphicsPath::AddLine(Integer X1, Integer Y1, Integer X2, Integer Y2) { Gp.GdipAddPathLineI(Native(), X1, Y1, X2, Y2); }

#define LUMIGRA_PATH_ARRAY_OP(Name, FlatF, FlatI)                         \
  void TGPGraphicsPath::Name(const std::vector<TGPPointF>& P) {           \
    GP_ASSERT(!P.empty());                                                \
    Gp.FlatF(Native(), P.data(), INT(P.size()));                         \
  }                                                                       \
  void TGPGraphicsPath::Name(const std::vector<TGPPoint>& P) {            \
    GP_ASSERT(!P.empty());                                                \
    Gp.FlatI(Native(), P.data(), INT(P.size()));                         \
  }
LUMIGRA_PATH_ARRAY_OP(AddLines, GdipAddPathLine2, GdipAddPathLine2I)
LUMIGRA_PATH_ARRAY_OP(AddBeziers, GdipAddPathBeziers, GdipAddPathBeziersI)
LUMIGRA_PATH_ARRAY_OP(AddCurve, GdipAddPathCurve, GdipAddPathCurveI)
LUMIGRA_PATH_ARRAY_OP(AddClosedCurve, GdipAddPathClosedCurve, GdipAddPathClosedCurveI)
LUMIGRA_PATH_ARRAY_OP(AddPolygon, GdipAddPathPolygon, GdipAddPathPolygonI)
#undef LUMIGRA_PATH_ARRAY_OP

void TGPGraphicsPath::AddCurve(const std::vector<TGPPointF>& P, Single Tension) {
  GP_ASSERT(!P.empty());
  Gp.GdipAddPathCurve2(Native(), P.data(), INT(P.size()), Tension);
}

void TGPGraphicsPath::AddCurve(const std::vector<TGPPoint>& P, Single Tension) {
  GP_ASSERT(!P.empty());
  Gp.GdipAddPathCurve2I(Native(), P.data(), INT(P.size()), Tension);
}

void TGPGraphicsPath::AddArc(Single X, Single Y, Single W, Single H, Single S, Single Sw) {
  Gp.GdipAddPathArc(Native(), X, Y, W, H, S, Sw);
}
void TGPGraphicsPath::AddArc(Integer X, Integer Y, Integer W, Integer H, Single S, Single Sw) {
  Gp.GdipAddPathArcI(Native(), X, Y, W, H, S, Sw);
}
void TGPGraphicsPath::AddBezier(Single X1, Single Y1, Single X2, Single Y2, Single X3, Single Y3, Single X4, Single Y4) {
  Gp.GdipAddPathBezier(Native(), X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}
void TGPGraphicsPath::AddBezier(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3, Integer X4,
                                Integer Y4) {
  Gp.GdipAddPathBezierI(Native(), X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}
void TGPGraphicsPath::AddRectangle(const TGPRectF& R) { Gp.GdipAddPathRectangle(Native(), R.X, R.Y, R.Width, R.Height); }
void TGPGraphicsPath::AddRectangle(const TGPRect& R) { Gp.GdipAddPathRectangleI(Native(), R.X, R.Y, R.Width, R.Height); }
void TGPGraphicsPath::AddEllipse(Single X, Single Y, Single W, Single H) { Gp.GdipAddPathEllipse(Native(), X, Y, W, H); }
void TGPGraphicsPath::AddEllipse(Integer X, Integer Y, Integer W, Integer H) { Gp.GdipAddPathEllipseI(Native(), X, Y, W, H); }
void TGPGraphicsPath::AddPie(Single X, Single Y, Single W, Single H, Single S, Single Sw) {
  Gp.GdipAddPathPie(Native(), X, Y, W, H, S, Sw);
}
void TGPGraphicsPath::AddPie(Integer X, Integer Y, Integer W, Integer H, Single S, Single Sw) {
  Gp.GdipAddPathPieI(Native(), X, Y, W, H, S, Sw);
}

void TGPGraphicsPath::AddPath(const IGPGraphicsPath& Path, bool Connect) {
  Gp.GdipAddPathPath(Native(), GPHandle<GpPath>(Path), GPBool(Connect));
}

void TGPGraphicsPath::AddString(const String& Text, const IGPFontFamily& Family, TGPFontStyle Style, Single EmSize,
                                const TGPPointF& Origin, const IGPStringFormat& Format) {
  AddString(Text, Family, Style, EmSize, TGPRectF{Origin.X, Origin.Y, 0, 0}, Format);
}

namespace {

constexpr TGPStringFormatFlags VerticalFlag = 2;

// Characters that stand upright in a vertical column (the ideographic
// scripts, their punctuation and the full-width forms); the others are laid
// on their side, turned a quarter clockwise, as the text drawing does.
bool IsUpright(char16_t C) {
  return (C >= 0x1100 && C <= 0x11FF) || (C >= 0x2E80 && C <= 0x33FF) || (C >= 0x3400 && C <= 0x4DBF) ||
         (C >= 0x4E00 && C <= 0x9FFF) || (C >= 0xA960 && C <= 0xA97F) || (C >= 0xAC00 && C <= 0xD7AF) ||
         (C >= 0xF900 && C <= 0xFAFF) || (C >= 0xFE30 && C <= 0xFE4F) || (C >= 0xFF00 && C <= 0xFFEF) ||
         (C >= 0xD840 && C <= 0xD87F);  // high halves of the supplementary ideographs
}

struct TVerticalRun {
  String Text;
  bool Upright;
};

// One line cut into runs of upright and turned characters; an upright run
// holds one character (with its low surrogate), so each is placed alone.
std::vector<TVerticalRun> VerticalRuns(const String& Line) {
  std::vector<TVerticalRun> runs;
  for (size_t i = 0; i < Line.size(); ++i) {
    const bool upright = IsUpright(Line[i]);
    const size_t n = upright && i + 1 < Line.size() && Line[i] >= 0xD800 && Line[i] <= 0xDBFF ? 2 : 1;
    if (!upright && !runs.empty() && !runs.back().Upright)
      runs.back().Text += Line.substr(i, n);
    else
      runs.push_back({Line.substr(i, n), upright});
    i += n - 1;
  }
  return runs;
}

}  // namespace

// libgdiplus lays a path string out horizontally whatever the format says,
// and its drawn vertical text ignores the alignments (centred and far text
// lands outside the layout rectangle). With the vertical flag the columns
// are laid out here, one per line from right to left, each read from top to
// bottom: runs of upright characters one by one, other runs as horizontal
// path strings turned a quarter clockwise. The alignment places each column
// along the rectangle's height, the line alignment the block of columns
// across its width (near = right).
void TGPGraphicsPath::AddVerticalString(const String& Text, const IGPFontFamily& Family, TGPFontStyle Style,
                                        Single EmSize, const TGPRectF& Layout, const IGPStringFormat& Format) {
  IGPBitmap scratch(new TGPBitmap(1, 1));
  IGPGraphics g = TGPGraphics::FromImage(scratch);
  IGPFont font(new TGPFont(Family, EmSize, Style, UnitPixel));
  IGPStringFormat horizontal(new TGPStringFormat(Format->GetFormatFlags() & ~VerticalFlag, 0));
  const TGPRectF unbounded{0, 0, 0, 0};
  auto measure = [&](const String& S) {
    TGPRectF box{0, 0, 0, 0};
    g->MeasureString(S, font, unbounded, horizontal, box);
    return box;
  };

  std::vector<String> lines(1);
  for (char16_t c : Text) {
    if (c == u'\n') lines.emplace_back();
    else if (c != u'\r') lines.back() += c;
  }
  struct TPlaced {
    TVerticalRun Run;
    TGPRectF Flat;  // the run's horizontal extent
  };
  std::vector<std::vector<TPlaced>> columns;
  std::vector<Single> widths, lengths;
  Single total = 0;
  for (const String& line : lines) {
    columns.emplace_back();
    // An empty line keeps the width of a column of one space.
    Single width = measure(u" ").Height, length = 0;
    for (const TVerticalRun& run : VerticalRuns(line)) {
      const TGPRectF flat = measure(run.Text);
      columns.back().push_back({run, flat});
      width = std::max(width, run.Upright ? flat.Width : flat.Height);
      length += run.Upright ? flat.Height : flat.Width;
    }
    widths.push_back(width);
    lengths.push_back(length);
    total += width;
  }
  auto offset = [](Integer Align, Single Room, Single Size) {
    return Align == StringAlignmentCenter ? (Room - Size) / 2 : Align == StringAlignmentFar ? Room - Size : Single(0);
  };
  const bool bounded = Layout.Width > 0 && Layout.Height > 0;
  Single right = Layout.X + (bounded ? Layout.Width - offset(Format->GetLineAlignment(), Layout.Width, total) : total);
  for (size_t k = 0; k < columns.size(); ++k) {
    const Single left = right - widths[k];
    Single pen = Layout.Y + (bounded ? offset(Format->GetAlignment(), Layout.Height, lengths[k]) : 0);
    for (const TPlaced& p : columns[k]) {
      IGPGraphicsPath glyphs(new TGPGraphicsPath());
      Gp.GdipAddPathString(glyphs->Native(), p.Run.Text.c_str(), INT(p.Run.Text.size()), GPHandle<GpFontFamily>(Family),
                           Style, EmSize, &unbounded, GPHandle<GpStringFormat>(horizontal));
      IGPMatrix m(p.Run.Upright ? new TGPMatrix(1, 0, 0, 1, left + (widths[k] - p.Flat.Width) / 2, pen)
                                // a quarter turn clockwise: the line's top faces right
                                : new TGPMatrix(0, 1, -1, 0, left + (widths[k] + p.Flat.Height) / 2, pen));
      glyphs->Transform(m);
      if (glyphs->GetPointCount() > 0) AddPath(glyphs, false);
      pen += p.Run.Upright ? p.Flat.Height : p.Flat.Width;
    }
    right = left;
  }
}

void TGPGraphicsPath::AddString(const String& Text, const IGPFontFamily& Family, TGPFontStyle Style, Single EmSize,
                                const TGPRectF& Layout, const IGPStringFormat& Format) {
  if (Format && (Format->GetFormatFlags() & VerticalFlag) != 0) {
    AddVerticalString(Text, Family, Style, EmSize, Layout, Format);
    return;
  }
  Gp.GdipAddPathString(Native(), Text.c_str(), INT(Text.size()), GPHandle<GpFontFamily>(Family), Style, EmSize,
                        &Layout, GPHandle<GpStringFormat>(Format));
}

void TGPGraphicsPath::AddString(const String& Text, const IGPFontFamily& Family, TGPFontStyle Style, Single EmSize,
                                const TGPPoint& Origin, const IGPStringFormat& Format) {
  AddString(Text, Family, Style, EmSize, TGPRect{Origin.X, Origin.Y, 0, 0}, Format);
}

void TGPGraphicsPath::AddString(const String& Text, const IGPFontFamily& Family, TGPFontStyle Style, Single EmSize,
                                const TGPRect& Layout, const IGPStringFormat& Format) {
  if (Format && (Format->GetFormatFlags() & VerticalFlag) != 0) {
    AddVerticalString(Text, Family, Style, EmSize,
                      TGPRectF{Single(Layout.X), Single(Layout.Y), Single(Layout.Width), Single(Layout.Height)}, Format);
    return;
  }
  Gp.GdipAddPathStringI(Native(), Text.c_str(), INT(Text.size()), GPHandle<GpFontFamily>(Family), Style, EmSize,
                         &Layout, GPHandle<GpStringFormat>(Format));
}

void TGPGraphicsPath::Transform(const IGPMatrix& M) {
  if (M) Gp.GdipTransformPath(Native(), M->Native());
}

void TGPGraphicsPath::GetBounds(TGPRectF& B, const IGPMatrix& M, const IGPPen& Pen) {
  Gp.GdipGetPathWorldBounds(Native(), &B, GPHandle<GpMatrix>(M), GPHandle<GpPen>(Pen));
}

void TGPGraphicsPath::GetBounds(TGPRect& B, const IGPMatrix& M, const IGPPen& Pen) {
  Gp.GdipGetPathWorldBoundsI(Native(), &B, GPHandle<GpMatrix>(M), GPHandle<GpPen>(Pen));
}

void TGPGraphicsPath::Flatten(const IGPMatrix& M, Single Flatness) {
  Gp.GdipFlattenPath(Native(), GPHandle<GpMatrix>(M), Flatness);
}

void TGPGraphicsPath::Widen(const IGPPen& Pen, const IGPMatrix& M, Single Flatness) {
  GP_ASSERT(Pen);
  Gp.GdipWidenPath(Native(), Pen->Native(), GPHandle<GpMatrix>(M), Flatness);
}

void TGPGraphicsPath::Outline(const IGPMatrix& M, Single Flatness) {
  Gp.GdipWindingModeOutline(Native(), GPHandle<GpMatrix>(M), Flatness);
}

bool TGPGraphicsPath::IsVisible(Single X, Single Y, const IGPGraphics& G) {
  BOOL r = 0;
  Gp.GdipIsVisiblePathPoint(Native(), X, Y, GPHandle<GpGraphics>(G), &r);
  return r != 0;
}

bool TGPGraphicsPath::IsVisible(Integer X, Integer Y, const IGPGraphics& G) {
  BOOL r = 0;
  Gp.GdipIsVisiblePathPointI(Native(), X, Y, GPHandle<GpGraphics>(G), &r);
  return r != 0;
}

bool TGPGraphicsPath::IsOutlineVisible(Single X, Single Y, const IGPPen& Pen, const IGPGraphics& G) {
  BOOL r = 0;
  Gp.GdipIsOutlineVisiblePathPoint(Native(), X, Y, GPHandle<GpPen>(Pen), GPHandle<GpGraphics>(G), &r);
  return r != 0;
}

bool TGPGraphicsPath::IsOutlineVisible(Integer X, Integer Y, const IGPPen& Pen, const IGPGraphics& G) {
  BOOL r = 0;
  Gp.GdipIsOutlineVisiblePathPointI(Native(), X, Y, GPHandle<GpPen>(Pen), GPHandle<GpGraphics>(G), &r);
  return r != 0;
}

// ---------------------------------------------------------------------------
// Regions

TGPRegion::TGPRegion() {
  GpRegion* r = nullptr;
  Gp.GdipCreateRegion(&r);
  FNativeHandle = r;
}

TGPRegion::TGPRegion(const TGPRectF& Rect) {
  GpRegion* r = nullptr;
  Gp.GdipCreateRegionRect(&Rect, &r);
  FNativeHandle = r;
}

TGPRegion::TGPRegion(const TGPRect& Rect) {
  GpRegion* r = nullptr;
  Gp.GdipCreateRegionRectI(&Rect, &r);
  FNativeHandle = r;
}

TGPRegion::TGPRegion(const IGPGraphicsPath& Path) {
  GP_ASSERT(Path);
  GpRegion* r = nullptr;
  Gp.GdipCreateRegionPath(Path->Native(), &r);
  FNativeHandle = r;
}

TGPRegion::TGPRegion(const Byte* Data, Integer Size) {
  GpRegion* r = nullptr;
  Gp.GdipCreateRegionRgnData(Data, Size, &r);
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
  if (Gp.GdipCreateRegion(&r) != Ok) return nullptr;
  Gp.GdipSetEmpty(r);
  const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
  for (DWORD i = 0; i < data->rdh.nCount; ++i) {
    const GpRect gr{rects[i].left, rects[i].top, rects[i].right - rects[i].left, rects[i].bottom - rects[i].top};
    Gp.GdipCombineRegionRectI(r, &gr, CombineModeUnion);
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

TGPRegion::~TGPRegion() { Gp.GdipDeleteRegion(Native()); }

IGPRegion TGPRegion::Clone() {
  GpRegion* r = nullptr;
  Gp.GdipCloneRegion(Native(), &r);
  return new TGPRegion(TWrapTag{}, r);
}

void TGPRegion::MakeInfinite() { Gp.GdipSetInfinite(Native()); }
void TGPRegion::MakeEmpty() { Gp.GdipSetEmpty(Native()); }

IGPBuffer TGPRegion::GetData() {
  UINT size = 0;
  Gp.GdipGetRegionDataSize(Native(), &size);
  void* block = nullptr;
  if (size != 0) {
    block = std::malloc(size);
    if (block == nullptr || Gp.GdipGetRegionData(Native(), static_cast<BYTE*>(block), size, nullptr) != Ok) {
      std::free(block);
      block = nullptr;
      size = 0;
    }
  }
  return new TGPBuffer(block, size);
}

void TGPRegion::Combine(const TGPRect& R, Integer Mode) { Gp.GdipCombineRegionRectI(Native(), &R, Mode); }
void TGPRegion::Combine(const TGPRectF& R, Integer Mode) { Gp.GdipCombineRegionRect(Native(), &R, Mode); }
void TGPRegion::Combine(const IGPGraphicsPath& P, Integer Mode) {
  GP_ASSERT(P);
  Gp.GdipCombineRegionPath(Native(), P->Native(), Mode);
}
void TGPRegion::Combine(const IGPRegion& R, Integer Mode) {
  GP_ASSERT(R);
  Gp.GdipCombineRegionRegion(Native(), R->Native(), Mode);
}

void TGPRegion::Translate(Single DX, Single DY) { Gp.GdipTranslateRegion(Native(), DX, DY); }
void TGPRegion::Translate(Integer DX, Integer DY) { Gp.GdipTranslateRegionI(Native(), DX, DY); }
void TGPRegion::Transform(const IGPMatrix& M) {
  GP_ASSERT(M);
  Gp.GdipTransformRegion(Native(), M->Native());
}

void TGPRegion::GetBounds(TGPRectF& R, const IGPGraphics& G) {
  GP_ASSERT(G);
  Gp.GdipGetRegionBounds(Native(), GPHandle<GpGraphics>(G), &R);
}

// libgdiplus has no integer form: the smallest integer rectangle holding the
// float bounds.
void TGPRegion::GetBounds(TGPRect& R, const IGPGraphics& G) {
  GP_ASSERT(G);
  TGPRectF f{};
  if (Gp.GdipGetRegionBounds(Native(), GPHandle<GpGraphics>(G), &f) != Ok) return;
  const double x0 = std::floor(double(f.X)), y0 = std::floor(double(f.Y));
  const double x1 = std::ceil(double(f.X) + f.Width), y1 = std::ceil(double(f.Y) + f.Height);
  R = TGPRect{Integer(x0), Integer(y0), Integer(x1 - x0), Integer(y1 - y0)};
}

HRGN TGPRegion::GetHRGN(const IGPGraphics& G) {
  GP_ASSERT(G);
  BOOL inf = 0;
  if (Gp.GdipIsInfiniteRegion(Native(), G->Native(), &inf) != Ok) return nullptr;
  if (inf) return nullptr;  // Windows' convention: NULL means infinite
  IGPMatrix m(new TGPMatrix());
  UINT n = 0;
  if (Gp.GdipGetRegionScansCount(Native(), &n, m->Native()) != Ok) return nullptr;
  std::vector<GpRect> rects(n);
  INT got = INT(n);
  if (n != 0 && Gp.GdipGetRegionScansI(Native(), rects.data(), &got, m->Native()) != Ok) return nullptr;
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
  Gp.GdipIsEmptyRegion(Native(), G->Native(), &r);
  return r != 0;
}

bool TGPRegion::IsInfinite(const IGPGraphics& G) {
  GP_ASSERT(G);
  BOOL r = 0;
  Gp.GdipIsInfiniteRegion(Native(), G->Native(), &r);
  return r != 0;
}

bool TGPRegion::IsVisible(Integer X, Integer Y, const IGPGraphics& G) {
  BOOL r = 0;
  Gp.GdipIsVisibleRegionPointI(Native(), X, Y, GPHandle<GpGraphics>(G), &r);
  return r != 0;
}

bool TGPRegion::IsVisible(Single X, Single Y, const IGPGraphics& G) {
  BOOL r = 0;
  Gp.GdipIsVisibleRegionPoint(Native(), X, Y, GPHandle<GpGraphics>(G), &r);
  return r != 0;
}

bool TGPRegion::IsVisible(Integer X, Integer Y, Integer W, Integer H, const IGPGraphics& G) {
  BOOL r = 0;
  Gp.GdipIsVisibleRegionRectI(Native(), X, Y, W, H, GPHandle<GpGraphics>(G), &r);
  return r != 0;
}

bool TGPRegion::IsVisible(Single X, Single Y, Single W, Single H, const IGPGraphics& G) {
  BOOL r = 0;
  Gp.GdipIsVisibleRegionRect(Native(), X, Y, W, H, GPHandle<GpGraphics>(G), &r);
  return r != 0;
}

bool TGPRegion::Equals(const IGPRegion& Region, const IGPGraphics& G) {
  GP_ASSERT(Region && G);
  BOOL r = 0;
  Gp.GdipIsEqualRegion(Native(), Region->Native(), G->Native(), &r);
  return r != 0;
}

IGPArray<TGPRectF> TGPRegion::GetRegionScans(const IGPMatrix& M) {
  GP_ASSERT(M);
  UINT n = 0;
  Gp.GdipGetRegionScansCount(Native(), &n, M->Native());
  IGPArray<TGPRectF> a(new TGPArray<TGPRectF>(Integer(n)));
  if (n >= 1) {
    INT got = INT(n);
    Gp.GdipGetRegionScans(Native(), a->GetItemPtr(), &got, M->Native());
    a->SetCount(got);
  }
  return a;
}

IGPArray<TGPRect> TGPRegion::GetRegionScansI(const IGPMatrix& M) {
  GP_ASSERT(M);
  UINT n = 0;
  Gp.GdipGetRegionScansCount(Native(), &n, M->Native());
  IGPArray<TGPRect> a(new TGPArray<TGPRect>(Integer(n)));
  if (n >= 1) {
    INT got = INT(n);
    Gp.GdipGetRegionScansI(Native(), a->GetItemPtr(), &got, M->Native());
    a->SetCount(got);
  }
  return a;
}
