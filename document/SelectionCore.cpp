#include "document/SelectionCore.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "document/DuVura.h"
#include "rtl/Math.h"
#include "rtl/SysUtils.h"

namespace {

uint64_t PackPoint(const TPoint& P) { return (uint64_t(uint32_t(P.X)) << 32) | uint32_t(P.Y); }

}  // namespace

// ---------------------------------------------------------------------------
// Gathered input

void TSelectionInput::AddPoint(Integer Kind, Integer X, Integer Y) {
  if (Kind == SelKind::PixelList) {
    if (!Runs.empty() && Runs.back().Y == Y && Runs.back().X1 - 1 == X) return;  // the last pixel again
    AddRun(Y, X, X + 1);
    return;
  }
  if (!Points.empty() && Points.back() == TPoint(X, Y)) return;
  Points.push_back(TPoint(X, Y));
}

void TSelectionInput::AddRun(Integer Y, Integer X0, Integer X1) {
  if (X0 >= X1) return;
  if (!Runs.empty() && Runs.back().Y == Y && Runs.back().X1 == X0)
    Runs.back().X1 = X1;
  else
    Runs.push_back({Y, X0, X1});
}

void TSelectionInput::DeleteLastPoint() {
  if (Points.size() > 1) Points.pop_back();
}

void TSelectionInput::Clear() {
  Points.clear();
  Runs.clear();
  PointMoved = TPoint(UnsetPosition, 0);
}

// ---------------------------------------------------------------------------
// Pixel sets

std::vector<TRegionRun> EllipseRuns(const TRect& R) {
  std::vector<TRegionRun> runs;
  const Integer w = R.Width(), h = R.Height();
  if (w <= 0 || h <= 0) return runs;
  const Single rx = Single(w) / 2, ry = Single(h) / 2;
  const Integer wd = w / 2, hd = h / 2;
  auto dyOf = [&](Integer r) -> Single {
    if (h % 2 == 0) return ry - Single(r) - 0.5f;
    if (r == 0) return ry - 0.5f;
    if (r < hd) return ry - (ry / Single(hd)) * Single(r) - 0.5f;
    if (r == hd) return 0;
    if (r == h - 1) return -ry + 0.5f;
    return (ry / Single(hd)) * Single(hd - r) + 0.5f;
  };
  auto dxOf = [&](Integer c) -> Single {
    if (w % 2 == 0) return Single(c) + 0.5f - rx;
    if (c == 0) return -rx + 0.5f;
    if (c < wd) return (rx / Single(wd)) * Single(c) - rx + 0.5f;
    if (c == wd) return 0;
    if (c == w - 1) return rx - 0.5f;
    return (rx / Single(wd)) * Single(c - wd) - 0.5f;
  };
  auto eOf = [&](Integer c) -> Single {
    if (w % 2 == 0) {
      if (c == 0 || c == w - 1) return 0.1f;
      if (c == 1 || c == w - 2) return 0.02f;
      return 0;
    }
    return (c == 0 || c == w - 1) ? 0.15f : 0.0f;
  };
  // The limit of each column does not depend on the row.
  std::vector<Single> limit(static_cast<size_t>(w));
  for (Integer c = 0; c < w; ++c) limit[size_t(c)] = CalcEllipseHalfHeight(w, h, dxOf(c)) - eOf(c);
  for (Integer r = 0; r < h; ++r) {
    const Single dy = std::fabs(dyOf(r));
    for (Integer c = 0; c < w;) {
      if (!(dy <= limit[size_t(c)])) {
        ++c;
        continue;
      }
      Integer e = c + 1;
      while (e < w && dy <= limit[size_t(e)]) ++e;
      runs.push_back({R.Top + r, R.Left + c, R.Left + e});
      c = e;
    }
  }
  return runs;
}

TRegion KindRegion(Integer Kind, const TRect& R, const TSelectionInput& In, const TRect& ImageRect) {
  switch (Kind) {
    case SelKind::Rectangle: return TRegion(R);
    case SelKind::Ellipse: return TRegion::FromRuns(EllipseRuns(R));
    case SelKind::PolygonLasso:
    case SelKind::FreeLasso:
    case SelKind::NodeLasso: return TRegion::Polygon(In.Points);
    case SelKind::PixelList: return TRegion::FromRuns(In.Runs);
    case SelKind::Row:
      return TRegion(TRect(ImageRect.Left, In.PointMoved.Y, ImageRect.Right, In.PointMoved.Y + 1));
    case SelKind::Column:
      return TRegion(TRect(In.PointMoved.X, ImageRect.Top, In.PointMoved.X + 1, ImageRect.Bottom));
    default: return TRegion();
  }
}

std::vector<TPoint> DeriveNodePoints(const TRegion& Region, const std::vector<TPoint>& Points) {
  std::unordered_set<uint64_t> corners;
  for (const TPoint& c : GetRectCorners(Region.Rects(), 0)) corners.insert(PackPoint(c));
  std::vector<TPoint> kept;
  for (const TPoint& p : Points)
    if (!Region.Contains(p) || corners.count(PackPoint(p))) kept.push_back(p);
  if (kept.size() < 2) return kept;
  // Thinning: a point close to the last one kept goes, and so does one a
  // little further that keeps the direction to the next point.
  auto drops = [](const TPoint& S, const TPoint& P, const TPoint& Next) {
    const Single d = CalcDistance(S, P);
    if (d < 3) return true;
    if (d < 10) {
      const Single a = CalcVectorAngle(P.X, P.Y, Single(S.X), Single(S.Y));
      const Single b = CalcVectorAngle(Next.X, Next.Y, Single(S.X), Single(S.Y));
      return std::fabs(a - b) < 10;
    }
    return false;
  };
  std::vector<TPoint> nodes{kept.front()};
  TPoint s = kept.front();
  const size_t n = kept.size();
  for (size_t j = 1; j + 1 < n; ++j)
    if (!drops(s, kept[j], kept[j + 1])) {
      nodes.push_back(kept[j]);
      s = kept[j];
    }
  if (n > 2) {
    if (!drops(s, kept[n - 1], kept.front())) nodes.push_back(kept[n - 1]);
  } else {
    nodes.push_back(kept[n - 1]);
  }
  return nodes;
}

Integer NodeInsertIndex(const std::vector<TPoint>& Nodes, const TPoint& P) {
  if (Nodes.empty()) return 0;
  Single best = 100000;
  Integer at = Integer(Nodes.size());
  for (size_t i = 0; i + 1 < Nodes.size(); ++i) {
    const Single d = CalcDistanceToSegment(Nodes[i], Nodes[i + 1], P);
    if (d < best) {
      best = d;
      at = Integer(i) + 1;
    }
  }
  if (CalcDistanceToSegment(Nodes.front(), Nodes.back(), P) < best) at = Integer(Nodes.size());
  return at;
}

// ---------------------------------------------------------------------------
// Outline

namespace {

struct TGap {
  Integer L, R;
};

void BandGaps(const std::vector<TRect>& Rects, size_t First, size_t Last, const TRect& Box, std::vector<TGap>& Gaps) {
  Gaps.clear();
  Integer x = Box.Left;
  for (size_t i = First; i < Last; ++i) {
    if (Rects[i].Left > x) Gaps.push_back({x, Rects[i].Left});
    x = Rects[i].Right;
  }
  if (x < Box.Right) Gaps.push_back({x, Box.Right});
}

}  // namespace

void CalcOutlineLines(const TRegion& Region, Single Scale, TArrayOfLine& Horz, TArrayOfLine& Vert) {
  Horz.clear();
  Vert.clear();
  if (Region.Empty()) return;
  // At 100 % the region is its own scaled copy.
  TRegion scaledCopy;
  if (Scale != 1) scaledCopy = Region.Scaled(Scale);
  const TRegion& scaled = Scale != 1 ? scaledCopy : Region;
  const std::vector<TRect>& r = scaled.Rects();
  const TRect box = scaled.Box();
  struct TB {
    size_t First, Last;
  };
  std::vector<TB> bands;
  for (size_t i = 0; i < r.size();) {
    size_t j = i + 1;
    while (j < r.size() && r[j].Top == r[i].Top) ++j;
    bands.push_back({i, j});
    i = j;
  }
  Vert.reserve(r.size() * 2);
  Horz.reserve(r.size() * 2);
  auto horz = [&](Integer L, Integer R, Integer Y) { Horz.push_back({TPoint(L, Y), TPoint(R - 1, Y)}); };
  std::vector<TGap> above, own;
  for (size_t b = 0; b < bands.size(); ++b) {
    const Integer top = r[bands[b].First].Top, bottom = r[bands[b].First].Bottom;
    const bool adjAbove = b > 0 && r[bands[b - 1].First].Bottom == top;
    const bool adjBelow = b + 1 < bands.size() && r[bands[b + 1].First].Top == bottom;
    if (adjAbove) BandGaps(r, bands[b - 1].First, bands[b - 1].Last, box, above);
    size_t g = 0;
    for (size_t i = bands[b].First; i < bands[b].Last; ++i) {
      const TRect& q = r[i];
      Vert.push_back({TPoint(q.Left, q.Top), TPoint(q.Left, q.Bottom - 1)});
      Vert.push_back({TPoint(q.Right - 1, q.Top), TPoint(q.Right - 1, q.Bottom - 1)});
      if (!adjAbove) {
        horz(q.Left, q.Right, q.Top);
      } else {
        while (g < above.size() && above[g].R <= q.Left) ++g;
        for (size_t k = g; k < above.size() && above[k].L < q.Right; ++k)
          horz(std::max(q.Left, above[k].L), std::min(q.Right, above[k].R), q.Top);
      }
      if (!adjBelow) horz(q.Left, q.Right, q.Bottom - 1);
    }
  }
  // The lower edges of a band over the gaps of the band below it.
  for (size_t b = 1; b < bands.size(); ++b) {
    const Integer top = r[bands[b].First].Top;
    if (r[bands[b - 1].First].Bottom != top) continue;
    BandGaps(r, bands[b].First, bands[b].Last, box, own);
    size_t i = bands[b - 1].First;
    for (const TGap& gap : own) {
      while (i < bands[b - 1].Last && r[i].Right <= gap.L) ++i;
      for (size_t k = i; k < bands[b - 1].Last && r[k].Left < gap.R; ++k)
        horz(std::max(gap.L, r[k].Left), std::min(gap.R, r[k].Right), top - 1);
    }
  }
}

TPoint TOutlineShift::Step(Integer DX, Integer DY, Single Scale) {
  FTotalX += double(DX) * Scale;
  FTotalY += double(DY) * Scale;
  const Int64 x = Int64(Round((long double)FTotalX)), y = Int64(Round((long double)FTotalY));
  const TPoint d(Integer(x - FAppliedX), Integer(y - FAppliedY));
  FAppliedX = x;
  FAppliedY = y;
  return d;
}

void OffsetLines(TArrayOfLine& Lines, Integer DX, Integer DY) {
  if (DX == 0 && DY == 0) return;
  for (TLine& l : Lines) {
    l.StartPoint = TPoint(l.StartPoint.X + DX, l.StartPoint.Y + DY);
    l.EndPoint = TPoint(l.EndPoint.X + DX, l.EndPoint.Y + DY);
  }
}

void MakeAntsPattern(TCustomBitmap32* Pattern) {
  Pattern->SetSize(8, 8);
  for (Integer y = 0; y < 8; ++y)
    for (Integer x = 0; x < 8; ++x) Pattern->SetPixel(x, y, (x + y) % 8 < 4 ? 0xFF000000u : 0xFFFFFFFFu);
}

void DrawAnts(TCustomBitmap32* Target, const TArrayOfLine& Horz, const TArrayOfLine& Vert, Integer OffsetX,
              Integer OffsetY, const TCustomBitmap32* Pattern, Integer Phase) {
  const Integer w = Target->Width(), h = Target->Height();
  if (w <= 0 || h <= 0 || Pattern->Width() < 8 || Pattern->Height() < 8) return;
  auto colour = [&](Integer X, Integer Y) { return Pattern->GetPixel(X % 8, (Y - Phase % 8 + 8) % 8); };
  for (const TLine& l : Horz) {
    const Int64 y = Int64(l.StartPoint.Y) + OffsetY;
    if (y < 0 || y >= h) continue;
    const Int64 x0 = std::max<Int64>(Int64(l.StartPoint.X) + OffsetX, 0);
    const Int64 x1 = std::min<Int64>(Int64(l.EndPoint.X) + OffsetX, w - 1);
    for (Int64 x = x0; x <= x1; ++x) Target->SetPixel(Integer(x), Integer(y), colour(Integer(x), Integer(y)));
  }
  for (const TLine& l : Vert) {
    const Int64 x = Int64(l.StartPoint.X) + OffsetX;
    if (x < 0 || x >= w) continue;
    const Int64 y0 = std::max<Int64>(Int64(l.StartPoint.Y) + OffsetY, 0);
    const Int64 y1 = std::min<Int64>(Int64(l.EndPoint.Y) + OffsetY, h - 1);
    for (Int64 y = y0; y <= y1; ++y) Target->SetPixel(Integer(x), Integer(y), colour(Integer(x), Integer(y)));
  }
}

// ---------------------------------------------------------------------------
// Text

String RegionToText(const TRegion& Region) {
  String s;
  for (const TRect& r : Region.Rects()) {
    if (!s.empty()) s += u'.';
    s += IntToStr(r.Left) + u'.' + IntToStr(r.Top) + u'.' + IntToStr(r.Right) + u'.' + IntToStr(r.Bottom);
  }
  return s;
}

namespace {

// A decimal Integer (optional sign, digits only, in range).
bool ParseInteger(const Char* P, size_t N, Integer& V) {
  size_t i = 0;
  bool neg = false;
  if (i < N && (P[i] == u'-' || P[i] == u'+')) neg = P[i++] == u'-';
  if (i == N) return false;
  Int64 v = 0;
  for (; i < N; ++i) {
    if (P[i] < u'0' || P[i] > u'9') return false;
    v = v * 10 + (P[i] - u'0');
    if (v > Int64(2147483648LL)) return false;
  }
  if (neg) v = -v;
  if (v < -2147483648LL || v > 2147483647LL) return false;
  V = Integer(v);
  return true;
}

}  // namespace

bool TextToRects(const String& Text, std::vector<TRect>& Rects) {
  Rects.clear();
  Integer v[4];
  Integer n = 0;
  bool good = true;
  size_t start = 0;
  for (size_t i = 0; i <= Text.size(); ++i) {
    if (i < Text.size() && Text[i] != u'.') continue;
    good = ParseInteger(Text.data() + start, i - start, v[n]) && good;
    start = i + 1;
    if (++n == 4) {
      if (good && v[2] > v[0] && v[3] > v[1]) Rects.push_back(TRect(v[0], v[1], v[2], v[3]));
      n = 0;
      good = true;
    }
  }
  return !Rects.empty();
}

// ---------------------------------------------------------------------------
// Pictures of a region

namespace {

// Copies Src's pixels inside the region and inside Clip (Src coordinates)
// into Dst at (DX, DY) relative to Src.
void CopyRegionPixels(const TRegion& Region, const TRect& Clip, TCustomBitmap32* Src, TCustomBitmap32* Dst, Integer DX,
                      Integer DY) {
  for (const TRect& q : Region.Rects()) {
    TRect r;
    if (!IntersectRects(r, q, Clip) || RectIsEmpty(r)) continue;
    for (Integer y = r.Top; y < r.Bottom; ++y)
      std::copy_n(Src->PixelPtr(r.Left, y), r.Width(), Dst->PixelPtr(r.Left + DX, y + DY));
  }
}

}  // namespace

TCustomBitmap32* RegionToBitmap(const TRegion& Region, TCustomBitmap32* Src, bool UseSrcSize, bool IsClearOutRegion,
                                TPoint& OriginPoint) {
  TRect box;
  IntersectRects(box, Region.Box(), Src->BoundsRect());
  OriginPoint = TPoint();
  if (UseSrcSize) {
    auto* b = new TCustomBitmap32();
    b->SetSize(Src->Width(), Src->Height());
    b->Clear(0);
    CopyRegionPixels(Region, Src->BoundsRect(), Src, b, 0, 0);
    return b;
  }
  if (RectIsEmpty(box)) return nullptr;
  auto* b = new TCustomBitmap32();
  b->SetSize(box.Width(), box.Height());
  OriginPoint = box.TopLeft();
  if (IsClearOutRegion) {
    b->Clear(0);
    CopyRegionPixels(Region, box, Src, b, -box.Left, -box.Top);
  } else {
    for (Integer y = box.Top; y < box.Bottom; ++y)
      std::copy_n(Src->PixelPtr(box.Left, y), box.Width(), b->PixelPtr(0, y - box.Top));
  }
  return b;
}

void TrimLiftedPicture(TCustomBitmap32* Picture, const TRect& OldBox, const TRect& NewBox,
                       const TRegion& Subtracted) {
  TCustomBitmap32 old;
  old.SetSize(Picture->Width(), Picture->Height());
  if (!Picture->Empty()) std::copy_n(Picture->Bits(), size_t(Picture->Width()) * Picture->Height(), old.Bits());
  Picture->SetSize(std::max(NewBox.Width(), 0), std::max(NewBox.Height(), 0));
  Picture->Clear(0);
  TRect both;
  const TRect oldArea(OldBox.Left, OldBox.Top, OldBox.Left + old.Width(), OldBox.Top + old.Height());
  if (IntersectRects(both, oldArea, NewBox) && !RectIsEmpty(both))
    for (Integer y = both.Top; y < both.Bottom; ++y)
      std::copy_n(old.PixelPtr(both.Left - OldBox.Left, y - OldBox.Top), both.Width(),
                  Picture->PixelPtr(both.Left - NewBox.Left, y - NewBox.Top));
  for (const TRect& q : Subtracted.Rects()) {
    TRect r;
    if (!IntersectRects(r, q, NewBox) || RectIsEmpty(r)) continue;
    for (Integer y = r.Top; y < r.Bottom; ++y)
      std::fill_n(Picture->PixelPtr(r.Left - NewBox.Left, y - NewBox.Top), r.Width(), TColor32(0));
  }
  Picture->SetDrawMode(dmBlend);
  Picture->SetCombineMode(cmMerge);
}

// ---------------------------------------------------------------------------
// TSelectionCore

bool TSelectionCore::CreateRegion(Integer Kind, const TRect& R, const TRect& ImageRect, bool IsAntialiasing,
                                  Single Scale) {
  FRegion = KindRegion(Kind, R, Input, ImageRect);
  if (FRegion.Empty()) return false;
  if (Kind == SelKind::NodeLasso) {
    FNodePoints = DeriveNodePoints(FRegion, Input.Points);
    RegionFromNodes();
    if (FRegion.Empty()) return false;
    FNodeAntialiasing = IsAntialiasing;
  }
  CalcRegionRects(Scale);
  if (Kind != SelKind::NodeLasso) UpdateAliasPoints(FRegion, TAliasMode::Add, IsAntialiasing);
  return true;
}

bool TSelectionCore::CreateRegionFromRects(bool IsAntialiasing, const std::vector<TRect>& Rects, Single Scale) {
  FRegion = TRegion::FromRects(Rects);
  if (FRegion.Empty()) return false;
  CalcRegionRects(Scale);
  if (IsAntialiasing) UpdateAliasPoints(FRegion, TAliasMode::Add, true);
  return true;
}

bool TSelectionCore::CombineRegion(bool Expanding, bool IsAntialiasing, Integer Kind, const TRect& R,
                                   const TSelectionInput& In, const TRect& ImageRect, Single Scale,
                                   TRegion* Subtracted) {
  if (Kind == SelKind::NodeLasso) return false;
  const TRegion second = KindRegion(Kind, R, In, ImageRect);
  if (Expanding) {
    FRegion = Union(FRegion, second);
    if (FRegion.Empty()) return false;
    UpdateAliasPoints(second, TAliasMode::Add, IsAntialiasing);
  } else {
    TRegion rest = Difference(FRegion, second);
    if (rest.Empty()) return false;
    FRegion = std::move(rest);
    if (Subtracted) *Subtracted = second;
    UpdateAliasPoints(second, TAliasMode::Subtract, IsAntialiasing);
  }
  CalcRegionRects(Scale);
  return true;
}

bool TSelectionCore::CombineRegionAuto(bool IsAntialiasing, bool All, const TRect& ImageRect, Single Scale) {
  FAliasPoints.clear();
  if (All) {
    FRegion = TRegion(ImageRect);
  } else {
    FRegion = Difference(TRegion(ImageRect), FRegion);
    UpdateAliasPoints(FRegion, TAliasMode::Add, IsAntialiasing);
  }
  if (FRegion.Empty()) return false;
  CalcRegionRects(Scale);
  return true;
}

void TSelectionCore::UpdateAliasPoints(const TRegion& RH, TAliasMode Mode, bool IsAntialiasing) {
  UpdateAliasPointList(FAliasPoints, FRegion, RH, Mode, IsAntialiasing);
}

void TSelectionCore::RegionFromNodes() { FRegion = TRegion::Polygon(FNodePoints); }

void TSelectionCore::AddNodePoint(Integer X, Integer Y, Single Scale) {
  const Integer at = NodeInsertIndex(FNodePoints, TPoint(X, Y));
  FNodePoints.insert(FNodePoints.begin() + at, TPoint(X, Y));
  RegionFromNodes();
  CalcRegionRects(Scale);
}

void TSelectionCore::MoveNode(Integer Index, Integer X, Integer Y, Single Scale) {
  if (Index < 0 || Index >= Integer(FNodePoints.size())) return;
  FNodePoints[size_t(Index)] = TPoint(X, Y);
  RegionFromNodes();
  CalcRegionRects(Scale);
}

void TSelectionCore::Offset(Integer DX, Integer DY, Single Scale) {
  FRegion.Offset(DX, DY);
  for (TPoint& p : FAliasPoints) p = TPoint(p.X + DX, p.Y + DY);
  for (TPoint& p : FNodePoints) p = TPoint(p.X + DX, p.Y + DY);
  const TPoint v = FShift.Step(DX, DY, Scale);
  OffsetLines(FHorzLines, v.X, v.Y);
  OffsetLines(FVertLines, v.X, v.Y);
}

void TSelectionCore::CalcRegionRects(Single Scale) {
  CalcOutlineLines(FRegion, Scale, FHorzLines, FVertLines);
  FShift.Reset();
}
