#include "document/Region.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

struct TSpan {
  Integer L, R;
  friend bool operator==(const TSpan&, const TSpan&) = default;
};
using TSpans = std::vector<TSpan>;

// A band of a banded list: rows Top .. Bottom - 1, rectangles First .. Last - 1.
struct TBand {
  Integer Top, Bottom;
  size_t First, Last;
};

std::vector<TBand> BandsOf(const std::vector<TRect>& Rects) {
  std::vector<TBand> bands;
  for (size_t i = 0; i < Rects.size();) {
    size_t j = i + 1;
    while (j < Rects.size() && Rects[j].Top == Rects[i].Top) ++j;
    bands.push_back({Rects[i].Top, Rects[i].Bottom, i, j});
    i = j;
  }
  return bands;
}

void SpansOf(const std::vector<TRect>& Rects, const TBand& B, TSpans& Out) {
  Out.clear();
  for (size_t i = B.First; i < B.Last; ++i) Out.push_back({Rects[i].Left, Rects[i].Right});
}

// Spans of both lists united; touching spans become one.
void UniteSpans(const TSpans& A, const TSpans& B, TSpans& Out) {
  Out.clear();
  size_t i = 0, j = 0;
  while (i < A.size() || j < B.size()) {
    const TSpan s = (j >= B.size() || (i < A.size() && A[i].L <= B[j].L)) ? A[i++] : B[j++];
    if (!Out.empty() && s.L <= Out.back().R)
      Out.back().R = std::max(Out.back().R, s.R);
    else
      Out.push_back(s);
  }
}

void IntersectSpans(const TSpans& A, const TSpans& B, TSpans& Out) {
  Out.clear();
  size_t i = 0, j = 0;
  while (i < A.size() && j < B.size()) {
    const Integer l = std::max(A[i].L, B[j].L), r = std::min(A[i].R, B[j].R);
    if (l < r) Out.push_back({l, r});
    if (A[i].R < B[j].R)
      ++i;
    else
      ++j;
  }
}

void SubtractSpans(const TSpans& A, const TSpans& B, TSpans& Out) {
  Out.clear();
  size_t j = 0;
  for (const TSpan& a : A) {
    Integer l = a.L;
    while (j < B.size() && B[j].R <= l) ++j;
    size_t k = j;
    while (k < B.size() && B[k].L < a.R) {
      if (B[k].L > l) Out.push_back({l, B[k].L});
      l = std::max(l, B[k].R);
      if (B[k].R > a.R) break;
      ++k;
    }
    if (l < a.R) Out.push_back({l, a.R});
  }
}

}  // namespace

// Appends bands from top to bottom; a band that continues the last one with
// the same spans extends it.
class TRegionBuilder {
 public:
  void AddBand(Integer Top, Integer Bottom, const TSpans& Spans) {
    if (Spans.empty() || Top >= Bottom) return;
    if (FLastCount == Spans.size() && !FRects.empty() && FRects.back().Bottom == Top) {
      bool same = true;
      const size_t first = FRects.size() - FLastCount;
      for (size_t i = 0; i < Spans.size() && same; ++i)
        same = FRects[first + i].Left == Spans[i].L && FRects[first + i].Right == Spans[i].R;
      if (same) {
        for (size_t i = first; i < FRects.size(); ++i) FRects[i].Bottom = Bottom;
        return;
      }
    }
    for (const TSpan& s : Spans) FRects.push_back(TRect(s.L, Top, s.R, Bottom));
    FLastCount = Spans.size();
  }
  TRegion Finish() {
    TRegion r;
    r.SetRects(std::move(FRects));
    return r;
  }

 private:
  std::vector<TRect> FRects;
  size_t FLastCount = 0;
};

TRegion::TRegion(const TRect& R) {
  if (R.Left < R.Right && R.Top < R.Bottom) SetRects({R});
}

void TRegion::SetRects(std::vector<TRect> Rects) {
  FRects = std::move(Rects);
  FBox = TRect();
  if (FRects.empty()) return;
  FBox = TRect(FRects.front().Left, FRects.front().Top, FRects.front().Right, FRects.back().Bottom);
  for (const TRect& r : FRects) {
    FBox.Left = std::min(FBox.Left, r.Left);
    FBox.Right = std::max(FBox.Right, r.Right);
  }
}

void TRegion::Clear() {
  FRects.clear();
  FBox = TRect();
}

Int64 TRegion::PixelCount() const {
  Int64 n = 0;
  for (const TRect& r : FRects) n += Int64(r.Right - r.Left) * (r.Bottom - r.Top);
  return n;
}

bool TRegion::Contains(Integer X, Integer Y) const {
  if (FRects.empty() || X < FBox.Left || X >= FBox.Right || Y < FBox.Top || Y >= FBox.Bottom) return false;
  // The band holding row Y: the last rectangle whose Top is at most Y.
  auto after = std::upper_bound(FRects.begin(), FRects.end(), Y, [](Integer V, const TRect& R) { return V < R.Top; });
  if (after == FRects.begin()) return false;
  const Integer top = std::prev(after)->Top;
  if (std::prev(after)->Bottom <= Y) return false;
  auto first = std::lower_bound(FRects.begin(), after, top, [](const TRect& R, Integer V) { return R.Top < V; });
  auto right = std::upper_bound(first, after, X, [](Integer V, const TRect& R) { return V < R.Left; });
  return right != first && std::prev(right)->Right > X;
}

void TRegion::Offset(Integer DX, Integer DY) {
  if (FRects.empty()) return;
  for (TRect& r : FRects) r = TRect(r.Left + DX, r.Top + DY, r.Right + DX, r.Bottom + DY);
  FBox = TRect(FBox.Left + DX, FBox.Top + DY, FBox.Right + DX, FBox.Bottom + DY);
}

// Op: 0 union, 1 difference, 2 intersection. Walks the rows at which
// either region's bands start or end, combining the spans in between.
TRegion Combine(const TRegion& A, const TRegion& B, int Op) {
  if (Op == 0 && A.Empty()) return B;
  if (B.Empty()) return Op == 2 ? TRegion() : A;
  if (A.Empty()) return TRegion();
  const std::vector<TBand> ba = BandsOf(A.FRects), bb = BandsOf(B.FRects);
  TRegionBuilder out;
  TSpans sa, sb, res;
  const TSpans none;
  size_t ia = 0, ib = 0;
  Integer y = std::min(ba.front().Top, bb.front().Top);
  for (;;) {
    while (ia < ba.size() && ba[ia].Bottom <= y) ++ia;
    while (ib < bb.size() && bb[ib].Bottom <= y) ++ib;
    if (ia >= ba.size() && ib >= bb.size()) break;
    if (Op == 2 && (ia >= ba.size() || ib >= bb.size())) break;
    if (Op == 1 && ia >= ba.size()) break;
    constexpr Integer inf = std::numeric_limits<Integer>::max();
    const Integer ta = ia < ba.size() ? std::max(ba[ia].Top, y) : inf;
    const Integer tb = ib < bb.size() ? std::max(bb[ib].Top, y) : inf;
    const Integer lo = std::min(ta, tb);
    Integer hi = inf;
    if (ia < ba.size()) hi = std::min(hi, ba[ia].Top > lo ? ba[ia].Top : ba[ia].Bottom);
    if (ib < bb.size()) hi = std::min(hi, bb[ib].Top > lo ? bb[ib].Top : bb[ib].Bottom);
    const bool inA = ia < ba.size() && ba[ia].Top <= lo;
    const bool inB = ib < bb.size() && bb[ib].Top <= lo;
    if (inA)
      SpansOf(A.FRects, ba[ia], sa);
    else
      sa.clear();
    if (inB)
      SpansOf(B.FRects, bb[ib], sb);
    else
      sb.clear();
    switch (Op) {
      case 0:
        // A band of one region alone keeps its spans as they are.
        if (!inB)
          res = sa;
        else if (!inA)
          res = sb;
        else
          UniteSpans(sa, sb, res);
        break;
      case 1: SubtractSpans(sa, sb, res); break;
      default: IntersectSpans(sa, sb, res); break;
    }
    out.AddBand(lo, hi, res);
    y = hi;
  }
  return out.Finish();
}

TRegion Union(const TRegion& A, const TRegion& B) { return Combine(A, B, 0); }
TRegion Difference(const TRegion& A, const TRegion& B) { return Combine(A, B, 1); }
TRegion Intersection(const TRegion& A, const TRegion& B) { return Combine(A, B, 2); }

namespace {

TRegion UniteRange(const TRect* Rects, size_t Count) {
  if (Count == 0) return TRegion();
  if (Count == 1) return TRegion(Rects[0]);
  const size_t half = Count / 2;
  return Union(UniteRange(Rects, half), UniteRange(Rects + half, Count - half));
}

}  // namespace

TRegion TRegion::FromRects(const TRect* Rects, size_t Count) {
  std::vector<TRect> rects;
  rects.reserve(Count);
  for (size_t i = 0; i < Count; ++i)
    if (Rects[i].Left < Rects[i].Right && Rects[i].Top < Rects[i].Bottom) rects.push_back(Rects[i]);
  // Rectangles that are one row high each are runs: no pairwise merging.
  bool rows = true;
  for (const TRect& r : rects) rows = rows && r.Bottom - r.Top == 1;
  if (rows) {
    std::vector<TRegionRun> runs;
    runs.reserve(rects.size());
    for (const TRect& r : rects) runs.push_back({r.Top, r.Left, r.Right});
    return FromRuns(std::move(runs));
  }
  std::sort(rects.begin(), rects.end(),
            [](const TRect& A, const TRect& B) { return A.Top != B.Top ? A.Top < B.Top : A.Left < B.Left; });
  return UniteRange(rects.data(), rects.size());
}

TRegion TRegion::FromRuns(std::vector<TRegionRun> Runs) {
  auto less = [](const TRegionRun& A, const TRegionRun& B) { return A.Y != B.Y ? A.Y < B.Y : A.X0 < B.X0; };
  if (!std::is_sorted(Runs.begin(), Runs.end(), less)) std::sort(Runs.begin(), Runs.end(), less);
  TRegionBuilder out;
  TSpans spans;
  size_t i = 0;
  while (i < Runs.size()) {
    const Integer y = Runs[i].Y;
    spans.clear();
    for (; i < Runs.size() && Runs[i].Y == y; ++i) {
      const TRegionRun& r = Runs[i];
      if (r.X0 >= r.X1) continue;
      if (!spans.empty() && r.X0 <= spans.back().R)
        spans.back().R = std::max(spans.back().R, r.X1);
      else
        spans.push_back({r.X0, r.X1});
    }
    out.AddBand(y, y + 1, spans);
  }
  return out.Finish();
}

namespace {

// floor(A / B) and ceil(A / B) for B > 0.
__int128 FloorDiv(__int128 A, __int128 B) { return A >= 0 ? A / B : -((-A + B - 1) / B); }
__int128 CeilDiv(__int128 A, __int128 B) { return -FloorDiv(-A, B); }

struct TEdge {
  Int64 YTop, YBottom;  // rows YTop .. YBottom - 1
  Int64 XTop, XBottom;
  int Dir;  // +1 downwards, -1 upwards
  // The column where row Y crosses the edge, rounded up: the first pixel
  // whose corner point lies right of the crossing.
  Int64 XAt(Int64 Y) const {
    return XTop + Int64(CeilDiv(__int128(Y - YTop) * (XBottom - XTop), YBottom - YTop));
  }
};

Integer ClampToInteger(Int64 V) {
  return Integer(std::clamp<Int64>(V, std::numeric_limits<Integer>::min(), std::numeric_limits<Integer>::max()));
}

}  // namespace

TRegion TRegion::Polygon(const TPoint* Points, size_t Count) {
  // Edges from the closing one (last point to first) on; horizontal edges
  // do not count.
  std::vector<TEdge> edges;
  for (size_t i = 0; i < Count; ++i) {
    const TPoint a = Points[(i + Count - 1) % Count], b = Points[i];
    if (a.Y == b.Y) continue;
    if (a.Y < b.Y)
      edges.push_back({a.Y, b.Y, a.X, b.X, +1});
    else
      edges.push_back({b.Y, a.Y, b.X, a.X, -1});
  }
  if (edges.empty()) return TRegion();
  // Edges by their first row, then by column; of two alike the earlier
  // edge first. Where edges cross a row at the same column, their order decides
  // whether the spans on both sides stay apart: the active edges keep their
  // order (a stable sort by the column of each new row), and an edge that
  // starts is put before those at its column.
  std::vector<size_t> order(edges.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t A, size_t B) {
    return edges[A].YTop != edges[B].YTop ? edges[A].YTop < edges[B].YTop : edges[A].XTop < edges[B].XTop;
  });
  TRegionBuilder out;
  std::vector<size_t> active;
  std::vector<Int64> xs(edges.size());
  TSpans spans;
  size_t next = 0;
  Int64 y = edges[order.front()].YTop;
  while (next < order.size() || !active.empty()) {
    if (active.empty()) y = std::max(y, edges[order[next]].YTop);
    for (size_t e : active) xs[e] = edges[e].XAt(y);
    std::stable_sort(active.begin(), active.end(), [&](size_t A, size_t B) { return xs[A] < xs[B]; });
    size_t at = 0;
    for (; next < order.size() && edges[order[next]].YTop == y; ++next) {
      const size_t e = order[next];
      xs[e] = edges[e].XTop;
      while (at < active.size() && xs[active[at]] < xs[e]) ++at;
      active.insert(active.begin() + Integer(at), e);
      ++at;
    }
    spans.clear();
    int w = 0;
    Int64 start = 0;
    for (size_t e : active) {
      const int before = w;
      w += edges[e].Dir;
      if (before == 0 && w != 0)
        start = xs[e];
      else if (before != 0 && w == 0 && xs[e] > start)
        spans.push_back({ClampToInteger(start), ClampToInteger(xs[e])});
    }
    out.AddBand(ClampToInteger(y), ClampToInteger(y + 1), spans);
    ++y;
    active.erase(std::remove_if(active.begin(), active.end(), [&](size_t e) { return edges[e].YBottom <= y; }),
                 active.end());
  }
  return out.Finish();
}

TRegion TRegion::Scaled(double Scale) const {
  if (Scale == 1) return *this;
  auto s = [&](Integer V) { return ClampToInteger(Int64(std::floor(double(V) * Scale + 0.5))); };
  std::vector<TRect> rects;
  rects.reserve(FRects.size());
  for (const TRect& r : FRects) rects.push_back(TRect(s(r.Left), s(r.Top), s(r.Right), s(r.Bottom)));
  return FromRects(rects);
}
