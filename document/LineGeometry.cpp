// Line and arrow geometry (see LineGeometry.h).
#include "document/LineGeometry.h"

#include <algorithm>
#include <cmath>

#include "rtl/Math.h"

namespace {

TFloatPoint F(const TPoint& P) { return TFloatPoint{Single(P.X), Single(P.Y)}; }

// Which ends carry a head (arrows) or a dot, and where each head is aimed
// from.
struct TDecor {
  bool HeadStart = false, HeadEnd = false, HeadMiddle = false, DotStart = false, DotEnd = false;
  Integer StartFrom = 4, EndFrom = 1;
};

TDecor DecorOf(Integer StyleId, bool IsArrow) {
  TDecor d;
  const TLinePath path = LinePathOf(StyleId);
  if (path == TLinePath::None) return d;
  const Integer member = StyleId % 3;
  if (path == TLinePath::MiddleHead) {
    d.HeadMiddle = IsArrow;
    d.DotStart = IsArrow && member >= 1;
    d.DotEnd = IsArrow && member == 2;
    return d;
  }
  switch (path) {
    case TLinePath::Straight: d.StartFrom = 4; d.EndFrom = 1; break;
    case TLinePath::Bent: d.StartFrom = 3; d.EndFrom = 3; break;
    default: d.StartFrom = 2; d.EndFrom = 3; break;  // Bezier, elbow
  }
  if (IsArrow) {
    d.HeadEnd = true;
    d.HeadStart = member == 2;
    d.DotStart = member == 1;
  } else {
    d.DotStart = member >= 1;
    d.DotEnd = member == 2;
  }
  return d;
}

}  // namespace

TLinePath LinePathOf(Integer StyleId) {
  if (StyleId < 0 || StyleId > 14) return TLinePath::None;
  switch (StyleId / 3) {
    case 0: return TLinePath::Straight;
    case 1: return TLinePath::Bezier;
    case 2: return TLinePath::Bent;
    case 3: return TLinePath::Elbow;
    default: return TLinePath::MiddleHead;
  }
}

TLineHead LineHead(Integer ArrowType, const TPoint& From, const TPoint& Tip, Integer W) {
  TLineHead h;
  if (ArrowType == 0) {
    TFloatPoint t[3];
    CalcArrowTriangle(From, Tip, 4.0 * W, t);
    h.Points.assign(t, t + 3);
  } else if (ArrowType == 1) {
    TFloatPoint t[4];
    CalcArrowNotched(From, Tip, 5.0 * W, t);
    h.Points.assign(t, t + 4);
  } else if (ArrowType == 2) {
    TFloatPoint t[6];
    CalcArrowChevron(From, Tip, 2 * W, 5.0 * W, t);
    h.Points.assign(t, t + 6);
  }
  return h;
}

TRect LineDotBox(const TPoint& P, Integer W) {
  if (W % 2 == 0) {
    const Integer d = std::max(2 * W, 6);
    return Bounds(P.X - d / 2, P.Y - d / 2, d, d);
  }
  const Integer d = std::max(2 * W + 1, 5);
  return Bounds(P.X - d / 2 - 1, P.Y - d / 2 - 1, d, d);
}

void LineCalcPoints(TLinePoints& P, Integer StyleId, bool Creating, bool Force, bool MiddleDragged) {
  const TLinePath path = LinePathOf(StyleId);
  if ((path == TLinePath::Bezier || path == TLinePath::Bent) && !Creating && !Force) return;
  const TPoint s = P[1], e = P[4];
  if (path == TLinePath::Elbow) {
    if (MiddleDragged) return;
    const Int64 dx = Int64(e.X) - s.X, dy = Int64(e.Y) - s.Y;
    if (std::abs(dx) > std::abs(dy)) {
      P[2] = TPoint(Integer(s.X + dx / 2), s.Y);
      P[3] = TPoint(Integer(s.X + dx / 2), e.Y);
    } else {
      P[2] = TPoint(s.X, Integer(s.Y + dy / 2));
      P[3] = TPoint(e.X, Integer(s.Y + dy / 2));
    }
    return;
  }
  const Integer l = Integer(Round((long double)CalcDistance(s, e)));
  const Integer q = l / 4;
  TFloatPoint f;
  CalcPointFromEnd(e, s, q, f);
  P[2] = RoundPoint(f);
  CalcPointFromEnd(s, e, path == TLinePath::Bent ? l / 2 : q, f);
  P[3] = RoundPoint(f);
}

void LineSampleBezier(const TLinePoints& P, TArrayOfPoint& Samples) {
  auto sample = [&](Integer Count) {
    Samples.resize(size_t(Count) + 1);
    for (Integer i = 0; i <= Count; ++i) {
      const long double t = (long double)i / Count, u = 1 - t;
      const long double a = u * u * u, b = 3 * t * u * u, c = 3 * t * t * u, d = t * t * t;
      const long double x = a * P[1].X + b * P[2].X + c * P[3].X + d * P[4].X;
      const long double y = a * P[1].Y + b * P[2].Y + c * P[3].Y + d * P[4].Y;
      Samples[size_t(i)] = TPoint(Integer(Round(x)), Integer(Round(y)));
    }
  };
  sample(100);
  TRect b;
  CalcPointsBounds(Samples, b);
  const Int64 n = std::max(Int64(b.Right) - b.Left, Int64(b.Bottom) - b.Top);
  // A curve is never sampled finer than one point per pixel; the cap keeps
  // a damaged row from asking for billions of samples.
  if (n > 101) sample(Integer(std::min<Int64>(n, 1 << 20)));
}

TRect LineCalcRect(const TLinePoints& P, Integer StyleId, const TArrayOfPoint& Samples, const TRect& Old) {
  TRect r, u;
  switch (LinePathOf(StyleId)) {
    case TLinePath::Straight:
    case TLinePath::MiddleHead: return RectFromPoints(P[1], P[4]);
    case TLinePath::Bezier: CalcPointsBounds(Samples, r); return r;
    case TLinePath::Bent:
      UnionRects(u, RectFromPoints(P[1], P[4]), RectFromPoints(P[1], P[3]));
      UnionRects(r, u, RectFromPoints(P[3], P[4]));
      return r;
    case TLinePath::Elbow: UnionRects(r, RectFromPoints(P[1], P[4]), RectFromPoints(P[1], P[3])); return r;
    default: return Old;
  }
}

TLineOutline LineBuildOutline(const TLinePoints& P, Integer StyleId, bool IsArrow, Integer ArrowType, Integer W) {
  TLineOutline o;
  o.Path = LinePathOf(StyleId);
  if (o.Path == TLinePath::None || (o.Path == TLinePath::MiddleHead && !IsArrow)) {
    o.Path = TLinePath::None;
    return o;
  }
  const TDecor d = DecorOf(StyleId, IsArrow);
  TFloatPoint start = F(P[1]), end = F(P[4]);
  if (d.HeadStart) {
    o.Heads.push_back(LineHead(ArrowType, P[d.StartFrom], P[1], W));
    CalcPointFromEnd(P[d.StartFrom], P[1], 2 * W, start);
  }
  if (d.HeadEnd) {
    o.Heads.push_back(LineHead(ArrowType, P[d.EndFrom], P[4], W));
    CalcPointFromEnd(P[d.EndFrom], P[4], 2 * W, end);
  }
  switch (o.Path) {
    case TLinePath::Straight: o.Figure = {start, end}; break;
    case TLinePath::Bezier: o.Figure = {start, F(P[2]), F(P[3]), end}; break;
    case TLinePath::Bent: o.Figure = {start, F(P[3]), end}; break;
    case TLinePath::Elbow: o.Figure = {start, F(P[2]), F(P[3]), end}; break;
    default: {
      const Integer s = std::max(4 * W, 9);
      const Single dist = CalcDistance(P[1], P[4]);
      TFloatPoint m;
      CalcPointFromEnd(P[1], P[4], Integer(Round((long double)dist / 2 - (long double)s / 2)), m);
      o.Heads.push_back(LineHead(ArrowType, P[1], RoundPoint(m), W));
      o.Figure = {start, end};
      break;
    }
  }
  // Heads without a polygon (an unknown head kind) leave only the pull-back.
  std::erase_if(o.Heads, [](const TLineHead& H) { return H.Points.empty(); });
  if (d.DotStart) o.Dots.push_back(LineDotBox(P[1], W));
  if (d.DotEnd) o.Dots.push_back(LineDotBox(P[4], W));
  return o;
}

bool LineHitTest(const TLinePoints& P, Integer StyleId, const TRect& SRect, const TArrayOfPoint& Samples,
                 Integer OutWidth, const TPoint& Pt) {
  const Single t = Single(OutWidth / 2 + 1);
  const TLinePath path = LinePathOf(StyleId);
  const bool straight = path == TLinePath::Straight || path == TLinePath::MiddleHead;
  if (straight && (P[1].X == P[4].X || P[1].Y == P[4].Y)) return CalcDistanceToSegment(P[1], P[4], Pt) <= t;
  TRect area = SRect;
  // A curve's rectangle holds inclusive bounds: grown by the tolerance on
  // both sides of every sample.
  if (path == TLinePath::Bezier) area = TRect(SRect.Left - Integer(t), SRect.Top - Integer(t),
                                              SRect.Right + Integer(t) + 1, SRect.Bottom + Integer(t) + 1);
  if (!PointInRect(area, Pt)) return false;
  switch (path) {
    case TLinePath::Straight:
    case TLinePath::MiddleHead: return CalcDistanceToSegment(P[1], P[4], Pt) <= t;
    case TLinePath::Bezier:
      return std::any_of(Samples.begin(), Samples.end(), [&](const TPoint& S) { return CalcDistance(Pt, S) <= t; });
    case TLinePath::Bent:
      return CalcDistanceToSegment(P[1], P[3], Pt) <= t || CalcDistanceToSegment(P[3], P[4], Pt) <= t;
    case TLinePath::Elbow:
      return CalcDistanceToSegment(P[1], P[2], Pt) <= t || CalcDistanceToSegment(P[2], P[3], Pt) <= t ||
             CalcDistanceToSegment(P[3], P[4], Pt) <= t;
    default: return false;
  }
}

void LineAdjust(TLinePoints& P, Integer StyleId, Integer Handle, Integer X1, Integer Y1, Integer X2, Integer Y2,
                Integer StartX, Integer StartY, bool Shift) {
  if (Handle < 1 || Handle > 4) return;
  const TLinePath path = LinePathOf(StyleId);
  const TPoint moved(X2 - X1 + StartX, Y2 - Y1 + StartY);
  if (path == TLinePath::Elbow && Handle == 2) {
    if (P[2].X == P[3].X) {
      P[2].X = P[3].X = moved.X;
    } else {
      P[2].Y = P[3].Y = moved.Y;
    }
    return;
  }
  P[size_t(Handle)] = moved;
  const bool snaps = path == TLinePath::Straight || path == TLinePath::Bent || path == TLinePath::MiddleHead;
  if (!Shift || !snaps || (Handle != 1 && Handle != 4)) return;
  const TPoint r = path == TLinePath::Straight ? P[Handle == 1 ? 4 : 1] : P[3];
  TPoint& e = P[size_t(Handle)];
  if (std::abs(Int64(e.X) - r.X) > std::abs(Int64(e.Y) - r.Y))
    e.Y = r.Y;
  else
    e.X = r.X;
}

TPoint LineElbowHandle(const TPoint& V2, const TPoint& V3) {
  if (V2.X == V3.X) return TPoint(V2.X, V2.Y + (V3.Y - V2.Y) / 2);
  return TPoint(V2.X + (V3.X - V2.X) / 2, V2.Y);
}

TRect LinePaintBounds(const TLinePoints& P, Integer W) {
  TRect r = RectFromPoints(P[1], P[4]);
  TRect u;
  UnionRects(u, r, RectFromPoints(P[2], P[3]));
  // Heads reach up to 5w (at least 10) across the line, dots 2w + 1, miter
  // joins 5w; two more pixels for smoothing.
  const Integer m = std::max(5 * std::max(W, 0), 10) + 2 * std::max(W, 0) + 3;
  InflateRectXY(u, m, m);
  return u;
}
