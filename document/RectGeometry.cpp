// Rectangle outlines (see RectGeometry.h).
#include "document/RectGeometry.h"

#include <algorithm>
#include <cmath>

#include "document/ShapeCore.h"
#include "document/ShapeRows.h"
#include "rtl/Math.h"

namespace {

struct TInitial {
  Integer Count;
  Single X0, Y0, X1, Y1;
};

TInitial InitialOf(Integer StyleId, bool IsDrawStyle) {
  switch (StyleId) {
    case 1: return {1, IsDrawStyle ? 0.16f : 0.1f, 0, 0, 0};
    case 3: return {2, 0, 0.12f, 0.12f, 0};
    case 4: return {2, 0.12f, 0, 0, 1};
    case 5: return {2, 0.12f, 0, 1, 0};
    case 6: return {2, 0.18f, 0, 0, 1};
    case 7: return {2, 0.18f, 0, 1, 0};
    case 8:
    case 10: return {1, 0.15f, 0, 0, 0};
    case 9:
    case 11: return {1, 0.15f, 1, 0, 0};
    default: return {0, 0, 0, 0, 0};
  }
}

Integer CheckCountOf(Integer StyleId) {
  if (StyleId >= 3 && StyleId <= 5) return 8;
  if (StyleId >= 8 && StyleId <= 11) return 4;
  return 0;
}

Integer Scaled(Integer Extent, Single Ratio) { return Integer(Round((long double)Extent * Ratio)); }

TGPPoint G(Integer X, Integer Y) { return TGPPoint{X, Y}; }

bool NearEdges(const TRect& E, const TPoint& P, Single Tolerance) {
  const TPoint c[4] = {TPoint(E.Left, E.Top), TPoint(E.Right, E.Top), TPoint(E.Right, E.Bottom),
                       TPoint(E.Left, E.Bottom)};
  for (int i = 0; i < 4; ++i)
    if (CalcDistanceToSegment(c[i], c[(i + 1) % 4], P) <= Tolerance) return true;
  return false;
}

bool NearPolygon(const TArrayOfGPPoint& Poly, const TPoint& P, Single Tolerance) {
  const size_t n = Poly.size();
  for (size_t i = 0; i < n; ++i) {
    const TGPPoint a = Poly[i], b = Poly[(i + 1) % n];
    if (CalcDistanceToSegment(TPoint(a.X, a.Y), TPoint(b.X, b.Y), P) <= Tolerance) return true;
  }
  return false;
}

bool HitOutline0(const TRect& E, bool Filled, Integer OutWidth, const TPoint& P) {
  if (!PointInRect(E, P)) return false;
  return Filled || NearEdges(E, P, Single(OutWidth + 1));
}

}  // namespace

void RectInitPoints(Integer StyleId, bool IsDrawStyle, TRectHandles& H) {
  const TInitial i = InitialOf(StyleId, IsDrawStyle);
  H.Count = i.Count;
  H.RX.assign(size_t(i.Count), 0);
  H.RY.assign(size_t(i.Count), 0);
  if (i.Count >= 1) {
    H.RX[0] = i.X0;
    H.RY[0] = i.Y0;
  }
  if (i.Count >= 2) {
    H.RX[1] = i.X1;
    H.RY[1] = i.Y1;
  }
  H.Points.assign(size_t(i.Count), TGPPoint{0, 0});
  H.CheckCount = CheckCountOf(StyleId);
}

void RectCalcPoints(const TRect& Box, TRectHandles& H) {
  H.Points.resize(size_t(H.Count));
  for (size_t i = 0; i < size_t(H.Count); ++i)
    H.Points[i] = G(Scaled(Box.Width(), H.RX[i]) + Box.Left, Scaled(Box.Height(), H.RY[i]) + Box.Top);
}

Single RectRatio(Integer V, Integer Origin, Integer Extent) {
  if (Extent == 0) return 0;
  return Single((long double)(Int64(V) - Origin) / Extent);
}

void RectAdjustHandle(Integer StyleId, Integer I, const TRect& Box, const TPoint& P, TRectHandles& H) {
  if (I < 0 || I >= H.Count) return;
  const size_t i = size_t(I);
  if (StyleId == 3) {
    if (I == 0) {
      H.RY[0] = RectRatio(P.Y, Box.Top, Box.Height());
      TShapeCore::ClampValue(H.RY[0], 0.5f, 0);
    } else {
      H.RX[1] = RectRatio(P.X, Box.Left, Box.Width());
      TShapeCore::ClampValue(H.RX[1], 0.5f, 0);
    }
    return;
  }
  H.RX[i] = RectRatio(P.X, Box.Left, Box.Width());
  if (StyleId >= 8 && StyleId <= 11) TShapeCore::ClampValue(H.RX[i], 1, 0);
}

void RectClampHandles(Integer StyleId, const TRect& Box, TRectHandles& H) {
  if (!(StyleId == 1 || (StyleId >= 4 && StyleId <= 7)) || H.Count < 1) return;
  const Integer w = Box.Width();
  const Single b = w == 0 ? 0 : Single((long double)(std::min(w, Box.Height()) / 2) / w);
  TShapeCore::ClampValue(H.RX[0], b, 0);
  if (H.Count < 2) return;
  if (StyleId == 4 || StyleId == 6) TShapeCore::ClampValue(H.RX[1], b, 0);
  if (StyleId == 5 || StyleId == 7) TShapeCore::ClampValue(H.RX[1], 1, 1 - b);
}

void RectMakeSquare(Integer Handle, TRect& Box) {
  const Integer w = Box.Width(), h = Box.Height();
  const bool wide = w > h;
  switch (Handle) {
    case 1: wide ? Box.Top = Box.Bottom - w : Box.Left = Box.Right - h; break;
    case 2: wide ? Box.Top = Box.Bottom - w : Box.Right = Box.Left + h; break;
    case 3: wide ? Box.Bottom = Box.Top + w : Box.Right = Box.Left + h; break;
    case 4: wide ? Box.Bottom = Box.Top + w : Box.Left = Box.Right - h; break;
    default: break;
  }
}

TRectOutline RectBuildOutline(Integer StyleId, const TRect& Box, const TRectHandles& H, bool HasOutline) {
  TRectOutline o;
  const Integer w = Box.Width(), h = Box.Height();
  const bool inset = HasOutline && w > 1 && h > 1;
  o.Q = TRect(Box.Left, Box.Top, inset ? w - 1 : w, inset ? h - 1 : h);
  const Integer qRight = o.Q.Left + o.Q.Right;
  const Integer qMin = std::min(o.Q.Right, o.Q.Bottom);
  auto diameter = [&](Int64 Twice) { return Integer(std::clamp<Int64>(std::min<Int64>(Twice, qMin), 0, qMin)); };
  const TGPPoint h0 = H.Count >= 1 ? H.Points[0] : G(Box.Left, Box.Top);
  const TGPPoint h1 = H.Count >= 2 ? H.Points[1] : G(Box.Left, Box.Top);
  switch (StyleId) {
    case 2: o.Kind = TRectPathKind::Ellipse; break;
    case 1:
    case 6:
    case 7: {
      o.FR = diameter(2 * (Int64(h0.X) - Box.Left));
      if (StyleId == 6) o.FR2 = diameter(2 * (Int64(h1.X) - Box.Left));
      if (StyleId == 7) o.FR2 = diameter(2 * (Int64(qRight) - h1.X));
      if (StyleId == 1) o.Corners = {o.FR, o.FR, o.FR, o.FR};
      if (StyleId == 6) o.Corners = {o.FR, o.FR, o.FR2, o.FR2};
      if (StyleId == 7) o.Corners = {o.FR, o.FR2, o.FR, o.FR2};
      o.Kind = (StyleId == 1 && o.FR == 0) ? TRectPathKind::Rectangle : TRectPathKind::Rounded;
      break;
    }
    case 3:
    case 4:
    case 5:
    case 8:
    case 9:
    case 10:
    case 11: {
      o.Kind = TRectPathKind::Polygon;
      const Integer L = Box.Left, T = Box.Top, R = Box.Right, B = Box.Bottom;
      const Integer a = h0.X - L, c2 = h1.X - L, c3 = R - h1.X, v = h0.Y - T;
      switch (StyleId) {
        case 3: o.Polygon = {G(L, T + v), G(h1.X, T), G(R + L - h1.X, T), G(R, T + v), G(R, B - v),
                             G(R + L - h1.X, B), G(h1.X, B), G(L, B - v)}; break;
        case 4: o.Polygon = {G(L, T + a), G(L + a, T), G(R - a, T), G(R, T + a), G(R, B - c2), G(R - c2, B),
                             G(L + c2, B), G(L, B - c2)}; break;
        case 5: o.Polygon = {G(L, T + a), G(L + a, T), G(R - c3, T), G(R, T + c3), G(R, B - a), G(R - a, B),
                             G(L + c3, B), G(L, B - c3)}; break;
        case 8: o.Polygon = {G(L, B), G(h0.X, T), G(R, T), G(R - a, B)}; break;
        case 9: o.Polygon = {G(h0.X, B), G(L, T), G(R - a, T), G(R, B)}; break;
        case 10: o.Polygon = {G(L, B), G(h0.X, T), G(R - a, T), G(R, B)}; break;
        default: o.Polygon = {G(h0.X, B), G(L, T), G(R, T), G(R - a, B)}; break;
      }
      break;
    }
    default: o.Kind = TRectPathKind::Rectangle; break;
  }
  return o;
}

TFloatRect RectRadialEllipse(const TRect& Q, const TFloatPoint& Centre, const TRect& Box) {
  for (Integer k = 0;; ++k) {
    const long double a = Q.Right / 2.0L + 10.0L * k, b = Q.Bottom / 2.0L + 10.0L * k;
    const long double dx = Box.Left - (long double)Centre.X, dy = Box.Top - (long double)Centre.Y;
    if ((a > 0 && b > 0 && (dx * dx) / (a * a) + (dy * dy) / (b * b) < 1) || k > 1000000)
      return TFloatRect{Single(Centre.X - a), Single(Centre.Y - b), Single(Centre.X + a), Single(Centre.Y + b)};
  }
}

bool RectHitTest(const TRectHitInput& In, const TPoint& Point) {
  const TPoint P = In.Angle != 0 ? RotatePoint(In.Centre, Point, -In.Angle) : Point;
  TRect e = In.Box;
  InflateRectXY(e, In.OutWidth / 2, In.OutWidth / 2);
  const TRect& b = In.Box;
  switch (In.StyleId) {
    case 1:
    case 6:
    case 7: {
      if (!PointInRect(e, P)) return false;
      const Integer h = In.FR / 2, o = In.FR2 / 2;
      const Integer tr = In.StyleId == 7 ? o : h, br = In.StyleId == 6 ? o : h, bl = In.StyleId == 1 ? h : o;
      struct TCorner {
        TRect Square;
        Integer R;
        TPoint K;
      };
      const TCorner corners[4] = {
          {TRect(e.Left, e.Top, e.Left + h, e.Top + h), h, TPoint(b.Left + h, b.Top + h)},
          {TRect(e.Right - tr, e.Top, e.Right, e.Top + tr), tr, TPoint(b.Right - tr, b.Top + tr)},
          {TRect(e.Right - br, e.Bottom - br, e.Right, e.Bottom), br, TPoint(b.Right - br, b.Bottom - br)},
          {TRect(e.Left, e.Bottom - bl, e.Left + bl, e.Bottom), bl, TPoint(b.Left + bl, b.Bottom - bl)}};
      for (const TCorner& c : corners)
        if (PointInRect(c.Square, P)) {
          const Integer w = In.OutWidth / 2;
          const Single d = CalcDistance(P, c.K);
          if (Single(w + c.R + 1) < d) return false;
          return In.Filled || Single(c.R - w - 1) <= d;
        }
      return HitOutline0(e, In.Filled, In.OutWidth, P);
    }
    case 2: {
      if (b.Width() == 0 || b.Height() == 0) return HitOutline0(e, In.Filled, In.OutWidth, P);
      const long double cx = b.Left + b.Width() / 2.0L, cy = b.Top + b.Height() / 2.0L;
      const long double w2 = (long double)b.Width() * b.Width() / 4, h2 = (long double)b.Height() * b.Height() / 4;
      const long double t = (P.X - cx) * (P.X - cx) / w2 + (P.Y - cy) * (P.Y - cy) / h2;
      return In.Filled ? t < 1.2L : (t > 0.8L && t < 1.2L);
    }
    case 3:
    case 4:
    case 5:
    case 8:
    case 9:
    case 10:
    case 11: {
      if (!PointInRect(e, P) || In.Check == nullptr) return false;
      if (In.Filled) return PtInPolygon(P, *In.Check);
      return NearPolygon(*In.Check, P, Single(In.OutWidth / 2 + 1));
    }
    default: return HitOutline0(e, In.Filled, In.OutWidth, P);
  }
}

String RectHandlesText(const TRectHandles& H) { return PointsToText(H.Points); }

void RectSetHandlesText(const String& Text, Integer StyleId, const TRect& Box, TRectHandles& H) {
  TArrayOfGPPoint pts;
  RectInitPoints(StyleId, false, H);
  if (!TextToPoints(Text, pts) || Integer(pts.size()) != H.Count) {
    RectCalcPoints(Box, H);
    return;
  }
  H.Points = pts;
  for (size_t i = 0; i < pts.size(); ++i) {
    H.RX[i] = RectRatio(pts[i].X, Box.Left, Box.Width());
    H.RY[i] = RectRatio(pts[i].Y, Box.Top, Box.Height());
  }
}
