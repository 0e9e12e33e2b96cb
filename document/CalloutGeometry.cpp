// Callout frames and points (see CalloutGeometry.h).
#include "document/CalloutGeometry.h"

#include <algorithm>
#include <cmath>

#include "document/ShapeRows.h"
#include "rtl/Math.h"

namespace {

struct TCloudPoint {
  Single X, Y, R1, R2, R3, R4;
};

const TCloudPoint kCloud2[11] = {
    {0.22f, 0.22f, 0.18f, 0.05f, 0.45f, 0},      {0.45f, 0.15f, 0.5f, -0.05f, 0.7f, 0},
    {0.72f, 0.18f, 0.8f, 0.15f, 0.96f, 0.2f},    {0.85f, 0.35f, 0.96f, 0.4f, 1.05f, 0.5f},
    {0.92f, 0.6f, 0.98f, 0.75f, 0.95f, 0.9f},    {0.76f, 0.85f, 0.75f, 0.95f, 0.65f, 1.02f},
    {0.53f, 0.88f, 0.5f, 0.95f, 0.4f, 1.06f},    {0.3f, 0.85f, 0.23f, 0.89f, 0.13f, 0.9f},
    {0.15f, 0.72f, 0.05f, 0.75f, -0.05f, 0.5f},  {0.08f, 0.45f, 0, 0.33f, 0.15f, 0.12f},
    {0.22f, 0.22f, 0, 0, 0, 0},
};
const TCloudPoint kCloud4[12] = {
    {0.13f, 0.2f, 0.13f, 0.1f, 0.255f, 0.05f},   {0.35f, 0.1f, 0.42f, 0, 0.56f, -0.03f},
    {0.625f, 0.12f, 0.72f, 0.03f, 0.89f, 0.1f},  {0.865f, 0.24f, 0.97f, 0.24f, 1.03f, 0.35f},
    {0.95f, 0.42f, 1.03f, 0.52f, 0.97f, 0.65f},  {0.85f, 0.64f, 0.86f, 0.76f, 0.78f, 0.865f},
    {0.62f, 0.78f, 0.55f, 0.9f, 0.42f, 0.97f},   {0.28f, 1, 0.33f, 0.97f, 0.5f, 0.88f},
    {0.37f, 0.77f, 0.27f, 0.8f, 0.12f, 0.77f},   {0.13f, 0.65f, 0.03f, 0.63f, -0.03f, 0.53f},
    {0.04f, 0.42f, 0.02f, 0.38f, -0.03f, 0.25f}, {0.13f, 0.2f, 0, 0, 0, 0},
};
const Single kExplosion[24][2] = {
    {0.05f, 0.07f}, {0.4f, 0.3f},   {0.42f, 0.12f}, {0.5f, 0.25f},  {0.7f, 0},      {0.75f, 0.25f},
    {0.95f, 0.28f}, {0.78f, 0.42f}, {1, 0.48f},     {0.8f, 0.53f},  {0.9f, 0.7f},   {0.77f, 0.72f},
    {0.85f, 0.85f}, {0.65f, 0.75f}, {0.6f, 0.85f},  {0.49f, 0.76f}, {0.28f, 1},     {0.35f, 0.68f},
    {0.17f, 0.69f}, {0.21f, 0.56f}, {0, 0.51f},     {0.12f, 0.45f}, {0.06f, 0.35f}, {0.2f, 0.33f},
};
// Base fractions by zone 1..8: style 1 points 0 and 2 (X, Y), style 9
// points 0 and 2 (X).
const Single kZone1[8][4] = {{0.15f, 0, 0.35f, 0}, {0.65f, 0, 0.85f, 0}, {1, 0.15f, 1, 0.35f}, {1, 0.65f, 1, 0.85f},
                             {0.85f, 1, 0.65f, 1}, {0.35f, 1, 0.15f, 1}, {0, 0.85f, 0, 0.65f}, {0, 0.35f, 0, 0.15f}};
const Single kZone9[8][2] = {{0.23f, 0.33f}, {0.67f, 0.77f}, {0.85f, 0.95f}, {0.95f, 0.85f},
                             {0.77f, 0.67f}, {0.33f, 0.23f}, {0.15f, 0.05f}, {0.05f, 0.15f}};

Integer RoundL(long double V) { return std::isfinite((double)V) ? Integer(Round(V)) : 0; }

Integer Scaled(Integer Extent, Single Ratio) { return RoundL((long double)Extent * Ratio); }

Single Fraction(Integer V, Integer Origin, Integer Extent) {
  return Extent == 0 ? 0.0f : Single((long double)(V - Origin) / Extent);
}

TFloatPoint CentreOf(const TRect& B) {
  return TFloatPoint{Single(B.Left + (B.Right - B.Left) / 2.0L), Single(B.Top + (B.Bottom - B.Top) / 2.0L)};
}

TPoint Pt(const TGPPoint& G) { return TPoint(G.X, G.Y); }

bool UpperZone(Integer Zone) { return Zone == 1 || Zone == 2 || Zone == 3 || Zone == 8; }

void Burst(const TRect& Box, bool Fresh, bool Force, TCalloutPoints& C) {
  const Integer n = Integer(C.Points.size());
  if (n < 2) return;
  const Integer w = Box.Right - Box.Left, h = Box.Bottom - Box.Top;
  const TFloatPoint c = CentreOf(Box);
  const Integer d = std::min(w, h);  // R = d / 2
  const Single outer = Single(d / 2.0L);
  const Single step = 360.0f / n;
  Single a0, inner;
  if (Fresh) {
    a0 = 330;
    inner = Single(RoundRatio(d, Force ? 72 : 82, 200));
  } else {
    a0 = CalcVectorAngle(C.Points[1].X, C.Points[1].Y, c.X, c.Y) - step;
    inner = CalcDistanceFromFloatPoint(c, C.Points[1]);
  }
  for (Integer i = 0; i < n; ++i) {
    TPoint p;
    CalcPolarPoint(c, i % 2 == 0 ? outer : inner, TDegrees(step * i + a0), p);
    C.Points[i] = TGPPoint{p.X, p.Y};
  }
}

TPathOp Op(TPathOpKind K, std::vector<TPoint> P = {}) {
  TPathOp o;
  o.Kind = K;
  o.Points = std::move(P);
  return o;
}

TPathOp ArcOp(Integer X, Integer Y, Integer A, Single Start) {
  TPathOp o = Op(TPathOpKind::Arc);
  o.Box = TRect(X, Y, X + A, Y + A);
  o.Start = Start;
  o.Sweep = 90;
  return o;
}

TPathOp EllipseOp(Integer X, Integer Y, Integer W, Integer H) {
  TPathOp o = Op(TPathOpKind::Ellipse);
  o.Box = TRect(X, Y, X + W, Y + H);
  return o;
}

}  // namespace

Integer RoundRatio(Int64 V, Int64 Num, Int64 Den) {
  if (Den < 0) {
    Den = -Den;
    Num = -Num;
  }
  if (Den == 0) return 0;
  const Int64 p = V * Num;
  Int64 q = p / Den, r = p % Den;
  if (r < 0) {
    r += Den;
    --q;
  }
  if (2 * r > Den || (2 * r == Den && (q & 1) != 0)) ++q;
  return Integer(q);
}

Single CalloutClamp(Single V, Single Lo, Single Hi) {
  if (V < Lo) V = Lo;
  if (V > Hi) V = Hi;
  return V;
}

Integer CalloutPointCount(Integer StyleId, bool IsDrawStyle) {
  static const Integer counts[12] = {1, 3, 11, 24, 12, 3, 2, 2, 1, 3, 1, 80};
  if (StyleId < 0 || StyleId > 11) return 0;
  return StyleId == 11 && IsDrawStyle ? 40 : counts[StyleId];
}

void CalloutInitPoints(Integer StyleId, bool IsDrawStyle, TCalloutPoints& C) {
  const Integer n = CalloutPointCount(StyleId, IsDrawStyle);
  C.RX.assign(n, 0);
  C.RY.assign(n, 0);
  C.Points.assign(n, TGPPoint{0, 0});
  C.R1.clear();
  C.R2.clear();
  C.R3.clear();
  C.R4.clear();
  auto set = [&C](std::initializer_list<std::pair<Single, Single>> L) {
    Integer i = 0;
    for (const auto& p : L) {
      C.RX[i] = p.first;
      C.RY[i++] = p.second;
    }
  };
  switch (StyleId) {
    case 0: set({{0.22f, 0.2f}}); break;
    case 1:
      if (IsDrawStyle)
        set({{0.8f, 1}, {0.55f, 1.3f}, {0.6f, 1}});
      else
        set({{0.85f, 1}, {0.55f, 1.3f}, {0.65f, 1}});
      C.Zone = 5;
      break;
    case 2:
    case 4: {
      const TCloudPoint* t = StyleId == 2 ? kCloud2 : kCloud4;
      for (Integer i = 0; i < n; ++i) {
        C.RX[i] = t[i].X;
        C.RY[i] = t[i].Y;
        C.R1.push_back(t[i].R1);
        C.R2.push_back(t[i].R2);
        C.R3.push_back(t[i].R3);
        C.R4.push_back(t[i].R4);
      }
      break;
    }
    case 3:
      for (Integer i = 0; i < n; ++i) {
        C.RX[i] = kExplosion[i][0];
        C.RY[i] = kExplosion[i][1];
      }
      break;
    case 5: set({{0.75f, 0.25f}, {0, 0.13f}, {0.1f, 0.5f}}); break;
    case 6: set({{0.75f, 0}, {0.7f, 0.58f}}); break;
    case 7: set({{0.25f, 0}, {0.3f, 0.58f}}); break;
    case 8: set({{0.2f, 1.6f}}); break;
    case 9:
      set({{IsDrawStyle ? 0.4f : 0.33f, 0}, {0, 1.4f}, {0.23f, 0}});
      C.Zone = 6;
      break;
    case 10: set({{0.75f, 0.25f}}); break;
    default: break;
  }
}

Integer CalloutZone(const TPoint& Tip, const TRect& Box) {
  const TFloatPoint c = CentreOf(Box);
  const Single w = CalcVectorAngle(Tip.X, Tip.Y, c.X, c.Y);
  const Single k = CalcVectorAngle(Box.Right, Box.Bottom, c.X, c.Y);
  if (w < k) return 4;
  if (w < 90) return 5;
  if (w < 180 - k) return 6;
  if (w < 180) return 7;
  if (w < 180 + k) return 8;
  if (w < 270) return 1;
  if (w < 360 - k) return 2;
  return 3;
}

void CalloutCalcPoints(Integer StyleId, const TRect& Box, bool IsForceCalc, bool Creating, bool DraggingTip,
                       TCalloutPoints& C) {
  if (StyleId < 0 || StyleId > 11 || StyleId == 2 || StyleId == 4) return;
  const Integer n = Integer(std::min({C.RX.size(), C.RY.size(), C.Points.size()}));
  if (StyleId == 11) {
    Burst(Box, Creating || IsForceCalc || !DraggingTip, IsForceCalc, C);
    return;
  }
  const Integer w = Box.Right - Box.Left, h = Box.Bottom - Box.Top;
  const bool balloon = (StyleId == 1 || StyleId == 9) && n == 3;
  if (balloon) {
    const TPoint tip(Box.Left + Scaled(w, C.RX[1]), Box.Top + Scaled(h, C.RY[1]));
    Integer zone = CalloutZone(tip, Box);
    if (StyleId == 1 && C.RX[1] >= 0 && C.RX[1] <= 1 && C.RY[1] >= 0 && C.RY[1] <= 1) zone = 0;
    if (zone != C.Zone && zone >= 1) {
      if (StyleId == 1) {
        C.RX[0] = kZone1[zone - 1][0];
        C.RY[0] = kZone1[zone - 1][1];
        C.RX[2] = kZone1[zone - 1][2];
        C.RY[2] = kZone1[zone - 1][3];
      } else {
        C.RX[0] = kZone9[zone - 1][0];
        C.RX[2] = kZone9[zone - 1][1];
      }
    }
    C.Zone = zone;
  }
  const Integer b = CalloutCornerDiameter(w, h) / 2 + 1;
  for (Integer i = 0; i < n; ++i) {
    Integer x = Scaled(w, C.RX[i]), y = Scaled(h, C.RY[i]);
    if (balloon && i != 1) {
      if (StyleId == 9) {
        const long double e = CalcEllipseHalfHeight(w, h, Single(x - w / 2.0L));
        y = UpperZone(C.Zone) ? Integer(std::trunc(h / 2 - e)) + 2 : Integer(std::trunc(h / 2 + e)) - 2;
      } else if (C.Zone == 1 || C.Zone == 2 || C.Zone == 5 || C.Zone == 6) {
        x = Integer(CalloutClamp(Single(x), Single(b), Single(w - b)));
      } else {
        y = Integer(CalloutClamp(Single(y), Single(b), Single(h - b)));
      }
    }
    C.Points[i] = TGPPoint{x + Box.Left, y + Box.Top};
  }
}

void CalloutAdjustPoint(Integer StyleId, Integer K, const TPoint& U, const TRect& Box, TCalloutPoints& C) {
  const Integer n = Integer(std::min({C.RX.size(), C.RY.size(), C.Points.size()}));
  if (K < 0 || K >= n) return;
  const Integer w = Box.Right - Box.Left, h = Box.Bottom - Box.Top;
  const Single ux = Fraction(U.X, Box.Left, w), uy = Fraction(U.Y, Box.Top, h);
  auto& rx = C.RX;
  auto& ry = C.RY;
  const bool balloon = StyleId == 1 || StyleId == 9;
  if (StyleId == 11) {
    const TFloatPoint c = CentreOf(Box);
    if (CalcDistanceToFloatPoint(U, c) < std::min(w / 2.0L, h / 2.0L)) C.Points[K] = TGPPoint{U.X, U.Y};
    return;
  }
  if (!balloon || K == 1) {
    rx[K] = ux;
    ry[K] = uy;
  }
  // A base point moves along its edge, keeping 0.05 from the other base
  // point and on its own side of it.
  auto base = [](Single& V, Single New, Single Other, Single Lo, Single Hi) {
    V = V >= Other ? CalloutClamp(New, Other + 0.05f, Hi) : CalloutClamp(New, Lo, Other - 0.05f);
  };
  switch (StyleId) {
    case 0:
      rx[0] = CalloutClamp(rx[0], 0, 1);
      ry[0] = CalloutClamp(ry[0], 0, 1);
      break;
    case 1:
      if (K == 0 || K == 2) {
        const Integer o = 2 - K;
        if (rx[K] <= 0 || rx[K] >= 1)
          base(ry[K], uy, ry[o], 0.13f, 0.87f);
        else
          base(rx[K], ux, rx[o], 0.13f, 0.87f);
      }
      break;
    case 5:
      if (K == 0) {
        rx[0] = CalloutClamp(rx[0], rx[2], 0.95f);
        ry[0] = CalloutClamp(ry[0], 0, 0.5f);
      } else if (K == 1) {
        rx[1] = 0;
        ry[1] = CalloutClamp(ry[1], 0, 0.5f);
      } else {
        rx[2] = CalloutClamp(rx[2], 0, rx[0]);
        ry[2] = 0.5f;
      }
      break;
    case 6:
    case 7: {
      const bool right = StyleId == 6;
      if (K == 0) {
        rx[0] = right ? CalloutClamp(rx[0], 0.5f, 1) : CalloutClamp(rx[0], 0, 0.5f);
        ry[0] = 0;
      } else {
        rx[1] = right ? CalloutClamp(rx[1], 0.5f, 0.85f) : CalloutClamp(rx[1], 0.15f, 0.5f);
        ry[1] = CalloutClamp(ry[1], 0.5f, 0.7f);
      }
      break;
    }
    case 9:
      if (K == 0 || K == 2) base(rx[K], ux, rx[2 - K], 0.05f, 0.95f);
      break;
    case 10:
      rx[0] = CalloutClamp(rx[0], 0.5f, 0.95f);
      ry[0] = CalloutClamp(ry[0], 0, 0.5f);
      break;
    default: break;
  }
}

String CalloutPointsText(Integer StyleId, const TCalloutPoints& C) {
  if (StyleId == 2 || StyleId == 4) return String();
  return PointsToText(C.Points);
}

bool CalloutSetPointsText(const String& Text, Integer StyleId, const TRect& Box, TCalloutPoints& C) {
  TArrayOfGPPoint pts;
  const Integer need = CalloutPointCount(StyleId, false);
  if (StyleId == 2 || StyleId == 4 || !TextToPoints(Text, pts) || Integer(pts.size()) != need) {
    CalloutInitPoints(StyleId, false, C);
    CalloutCalcPoints(StyleId, Box, true, false, false, C);
    return false;
  }
  const Integer w = Box.Right - Box.Left, h = Box.Bottom - Box.Top;
  C.Points = pts;
  C.RX.resize(pts.size());
  C.RY.resize(pts.size());
  for (size_t i = 0; i < pts.size(); ++i) {
    C.RX[i] = Fraction(pts[i].X, Box.Left, w);
    C.RY[i] = Fraction(pts[i].Y, Box.Top, h);
  }
  return true;
}

void CalloutUpgradePoints(Integer StyleId, const TRect& Box, TCalloutPoints& C) {
  if (StyleId == 2 || StyleId == 4) return;
  for (TGPPoint& p : C.Points) OffsetPoint(p, Box.Left, Box.Top);
}

Integer CalloutMaxOutLength(Integer StyleId, const TRect& Box, const TCalloutPoints& C) {
  const auto& p = C.Points;
  if ((StyleId == 1 || StyleId == 9) && p.size() >= 3)
    return std::max(RoundL(CalcDistance(Pt(p[1]), Pt(p[0]))), RoundL(CalcDistance(Pt(p[1]), Pt(p[2]))));
  if (StyleId == 8 && !p.empty()) return RoundL(CalcDistanceFromFloatPoint(CentreOf(Box), p[0]));
  return 0;
}

// --- frame paths

Integer CalloutCornerDiameter(Integer W, Integer H) { return std::min({RoundRatio(Int64(W) + H, 1, 10), W, H}); }

TPathOps CalloutFramePath(Integer StyleId, const TRect& Box, const TCalloutPoints& C) {
  const Integer X = Box.Left, Y = Box.Top, W = Box.Right - Box.Left, H = Box.Bottom - Box.Top;
  const Integer Right = X + W, Bottom = Y + H;
  const Integer n = Integer(C.Points.size());
  auto P = [&C](Integer i) { return Pt(C.Points[i]); };
  auto fx = [X, W](Single f) { return X + Scaled(W, f); };
  auto fy = [Y, H](Single f) { return Y + Scaled(H, f); };
  TPathOps ops;
  // A style whose points do not fit draws no frame.
  if (StyleId < 0 || StyleId > 11 || n < CalloutPointCount(StyleId, StyleId == 11 && n == 40)) return ops;
  switch (StyleId) {
    case 0:
      ops.push_back(Op(TPathOpKind::Polygon, {TPoint(X, P(0).Y), TPoint(P(0).X, Y), TPoint(Right, Y),
                                              TPoint(Right, Bottom), TPoint(X, Bottom)}));
      break;
    case 1: {
      const Integer a = CalloutCornerDiameter(W, H);
      const Integer z = C.Zone;
      auto pointer = [&](Integer Z1, Integer Z2) {
        if (z != Z1 && z != Z2) return;
        ops.push_back(Op(TPathOpKind::Line, {P(0), P(1)}));
        ops.push_back(Op(TPathOpKind::Line, {P(1), P(2)}));
      };
      ops.push_back(Op(TPathOpKind::StartFigure));
      ops.push_back(ArcOp(X, Y, a, 180));
      pointer(1, 2);
      ops.push_back(ArcOp(Right - a, Y, a, 270));
      pointer(3, 4);
      ops.push_back(ArcOp(Right - a, Bottom - a, a, 0));
      pointer(5, 6);
      ops.push_back(ArcOp(X, Bottom - a, a, 90));
      pointer(7, 8);
      ops.push_back(Op(TPathOpKind::CloseFigure));
      break;
    }
    case 2:
    case 4: {
      const size_t m = std::min({C.RX.size(), C.RY.size(), C.R1.size(), C.R2.size(), C.R3.size(), C.R4.size()});
      ops.push_back(Op(TPathOpKind::StartFigure));
      for (size_t i = 0; i + 1 < m; ++i)
        ops.push_back(Op(TPathOpKind::Bezier, {TPoint(fx(C.RX[i]), fy(C.RY[i])), TPoint(fx(C.R1[i]), fy(C.R2[i])),
                                               TPoint(fx(C.R3[i]), fy(C.R4[i])),
                                               TPoint(fx(C.RX[i + 1]), fy(C.RY[i + 1]))}));
      ops.push_back(Op(TPathOpKind::CloseFigure));
      break;
    }
    case 3:
    case 11: {
      std::vector<TPoint> all;
      for (Integer i = 0; i < n; ++i) all.push_back(P(i));
      ops.push_back(Op(TPathOpKind::Polygon, all));
      break;
    }
    case 5:
      ops.push_back(Op(TPathOpKind::Polygon,
                       {P(0), TPoint(P(0).X, Y), TPoint(Right, Y + H / 2), TPoint(P(0).X, Bottom),
                        TPoint(P(0).X, Bottom - (P(0).Y - Y)), TPoint(X, Bottom - (P(1).Y - Y)), P(2), P(1)}));
      break;
    case 6:
    case 7: {
      const bool right = StyleId == 6;
      const Integer e1 = Y + RoundRatio(H, 45, 100), e4 = Bottom - (P(1).Y - e1);
      const TPoint tip(right ? Right : X, Y + RoundRatio(H, 725, 1000));
      const TPoint a1 = right ? TPoint(X - RoundRatio(W, 2, 10), Y + RoundRatio(H, 85, 100))
                              : TPoint(X + RoundRatio(W, 12, 10), Y + RoundRatio(H, 85, 100));
      const TPoint a2 = right ? TPoint(X - RoundRatio(W, 25, 100), Y + RoundRatio(H, 5, 100))
                              : TPoint(X + RoundRatio(W, 125, 100), Y + RoundRatio(H, 5, 100));
      const TPoint b1 = right ? TPoint(X + RoundRatio(W, 1, 10), Y + RoundRatio(H, 25, 100))
                              : TPoint(X + RoundRatio(W, 9, 10), Y + RoundRatio(H, 25, 100));
      const TPoint b2 = right ? TPoint(X + RoundRatio(W, 4, 10), Y + RoundRatio(H, 55, 100))
                              : TPoint(X + RoundRatio(W, 6, 10), Y + RoundRatio(H, 55, 100));
      ops.push_back(Op(TPathOpKind::StartFigure));
      ops.push_back(Op(TPathOpKind::Line, {P(1), TPoint(P(1).X, e1)}));
      ops.push_back(Op(TPathOpKind::Line, {TPoint(P(1).X, e1), tip}));
      ops.push_back(Op(TPathOpKind::Line, {tip, TPoint(P(1).X, Bottom)}));
      ops.push_back(Op(TPathOpKind::Line, {TPoint(P(1).X, Bottom), TPoint(P(1).X, e4)}));
      ops.push_back(Op(TPathOpKind::Bezier, {TPoint(P(1).X, e4), a1, a2, P(0)}));
      ops.push_back(Op(TPathOpKind::Bezier, {P(0), b1, b2, P(1)}));
      ops.push_back(Op(TPathOpKind::CloseFigure));
      break;
    }
    case 8: {
      const TFloatPoint cf = CentreOf(Box);
      const TPoint z = RoundPoint(cf);
      const Single d = CalcDistance(z, P(0));
      TFloatPoint mf;
      CalcPointFromEnd(z, P(0), Integer(RoundL(d / 3.0L)), mf);
      const TPoint m = RoundPoint(mf);
      ops.push_back(EllipseOp(X, Y, W, H));
      ops.push_back(EllipseOp(m.X - W / 6, m.Y - H / 6, W / 3, H / 3));
      ops.push_back(EllipseOp(P(0).X - W / 12, P(0).Y - H / 12, W / 6, H / 6));
      break;
    }
    case 9:
      ops.push_back(EllipseOp(X, Y, W, H));
      ops.push_back(Op(TPathOpKind::Polygon, {P(0), P(1), P(2)}));
      ops.push_back(Op(TPathOpKind::Outline));
      break;
    case 10: {
      const Integer q = Right + X - P(0).X;
      ops.push_back(Op(TPathOpKind::Polygon,
                       {P(0), TPoint(P(0).X, Y), TPoint(Right, Y + H / 2), TPoint(P(0).X, Bottom),
                        TPoint(P(0).X, Bottom + Y - P(0).Y), TPoint(q, Bottom + Y - P(0).Y), TPoint(q, Bottom),
                        TPoint(X, Y + H / 2), TPoint(q, Y), TPoint(q, P(0).Y)}));
      break;
    }
    default: break;
  }
  return ops;
}

Integer TextFrameCornerDiameter(Integer W, Integer H) {
  return std::min({RoundRatio(Int64(W) + H, 15, 100), W, H});
}

TPathOps TextFramePath(Integer StyleId, const TRect& Box) {
  const Integer X = Box.Left, Y = Box.Top, W = Box.Right - Box.Left, H = Box.Bottom - Box.Top;
  const Integer Right = X + W, Bottom = Y + H;
  TPathOps ops;
  switch (StyleId) {
    case 0:
      ops.push_back(Op(TPathOpKind::Polygon, {TPoint(X, Y), TPoint(Right, Y), TPoint(Right, Bottom), TPoint(X, Bottom)}));
      break;
    case 1: {
      const Integer r = TextFrameCornerDiameter(W, H);
      ops.push_back(Op(TPathOpKind::StartFigure));
      ops.push_back(ArcOp(X, Y, r, 180));
      ops.push_back(ArcOp(Right - r, Y, r, 270));
      ops.push_back(ArcOp(Right - r, Bottom - r, r, 0));
      ops.push_back(ArcOp(X, Bottom - r, r, 90));
      ops.push_back(Op(TPathOpKind::CloseFigure));
      break;
    }
    case 2: ops.push_back(EllipseOp(X, Y, W, H)); break;
    case 3:
      ops.push_back(Op(TPathOpKind::Polygon, {TPoint(X, Y + H / 2), TPoint(X + W / 2, Y), TPoint(Right, Y + H / 2),
                                              TPoint(X + W / 2, Bottom)}));
      break;
    case 4:
      ops.push_back(Op(TPathOpKind::Polygon,
                       {TPoint(X, Y + H / 4), TPoint(X + W / 5, Y), TPoint(Right - W / 5, Y), TPoint(Right, Y + H / 4),
                        TPoint(Right, Bottom - H / 4), TPoint(Right - W / 5, Bottom), TPoint(X + W / 5, Bottom),
                        TPoint(X, Bottom - H / 4)}));
      break;
    case 5:
      ops.push_back(Op(TPathOpKind::Polygon, {TPoint(X, Y + H / 2), TPoint(X + W / 5, Y), TPoint(Right - W / 5, Y),
                                              TPoint(Right, Y + H / 2), TPoint(Right - W / 5, Bottom),
                                              TPoint(X + W / 5, Bottom)}));
      break;
    default: break;
  }
  return ops;
}

// ---------------------------------------------------------------------------
// Gradient areas

bool CalloutTip(Integer StyleId, const TCalloutPoints& C, TPoint& Tip) {
  const size_t k = StyleId == 1 || StyleId == 9 ? 1 : StyleId == 8 ? 0 : SIZE_MAX;
  if (k >= C.Points.size()) return false;
  Tip = TPoint(C.Points[k].X, C.Points[k].Y);
  return true;
}

TRect TextLinearGradientRect(bool IsCallout, Integer StyleId, const TRect& Box, const TCalloutPoints& C) {
  TRect r = Box;
  TPoint tip;
  if (!IsCallout || !CalloutTip(StyleId, C, tip)) return r;
  r = TRect(std::min(r.Left, tip.X), std::min(r.Top, tip.Y), std::max(r.Right, tip.X), std::max(r.Bottom, tip.Y));
  if (StyleId == 8) InflateRectXY(r, (Box.Right - Box.Left) / 6, (Box.Bottom - Box.Top) / 6);
  return r;
}

TFloatRect TextRadialGradientRect(bool IsCallout, Integer StyleId, const TRect& Box, const TFloatPoint& Centre,
                                  const TCalloutPoints& C) {
  long double l = Box.Left, t = Box.Top, r = Box.Right, b = Box.Bottom;
  TPoint tip;
  const bool reach = IsCallout && CalloutTip(StyleId, C, tip) && !PointInRect(Box, tip);
  if (reach) {
    if (tip.X < l) {
      r += l - tip.X;
      l = tip.X;
    } else if (tip.X > r) {
      l -= tip.X - r;
      r = tip.X;
    }
    if (tip.Y < t) {
      b += t - tip.Y;
      t = tip.Y;
    } else if (tip.Y > b) {
      t -= tip.Y - b;
      b = tip.Y;
    }
  }
  auto inside = [&](long double X, long double Y) {
    const long double a2 = (r - l) * (r - l) / 4, b2 = (b - t) * (b - t) / 4;
    const long double dx = X - Centre.X, dy = Y - Centre.Y;
    return a2 > 0 && b2 > 0 && dx * dx / a2 + dy * dy / b2 <= 1;
  };
  // Each growth adds 10 to both half-axes, so the corner's distance is
  // reached after a bounded number of steps.
  for (Integer k = 0; k < 1000000; ++k) {
    l -= 10;
    t -= 10;
    r += 10;
    b += 10;
    if (inside(Box.Left, Box.Top) && (!reach || inside(tip.X, tip.Y))) break;
  }
  if (IsCallout && StyleId == 8) {
    const Integer gx = (Box.Right - Box.Left) / 6, gy = (Box.Bottom - Box.Top) / 6;
    l -= gx;
    r += gx;
    t -= gy;
    b += gy;
  }
  return TFloatRect{Single(l), Single(t), Single(r), Single(b)};
}
