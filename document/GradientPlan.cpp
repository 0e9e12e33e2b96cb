#include "document/GradientPlan.h"

#include <algorithm>
#include <cmath>

#include "document/DuVura.h"

namespace {

TFloatPoint FP(const TPoint& P) { return TFloatPoint{Single(P.X), Single(P.Y)}; }

TFloatPoint Foot(const TPoint& S, const TPoint& E, const TPoint& Q) {
  TFloatPoint f;
  CalcPerpendicularFoot(S, E, Q, f);
  return f;
}

// The largest distance from S to the raster's corner pixels.
Single FarthestCorner(const TPoint& S, Integer W, Integer Hr) {
  Single o = 0;
  for (const TPoint& c : {TPoint(0, 0), TPoint(W - 1, 0), TPoint(0, Hr - 1), TPoint(W - 1, Hr - 1)})
    o = std::max(o, CalcDistance(S, c));
  return o;
}

// The feet of the back and front corners of the raster for the drag's angle.
void LinearFeet(const TPoint& S, const TPoint& E, Integer W, Integer Hr, TFloatPoint& D, TFloatPoint& G) {
  const Single a = CalcVectorAngle(E.X, E.Y, Single(S.X), Single(S.Y));
  TPoint b, f;
  if (a > 0 && a <= 90) {
    b = TPoint(0, 0), f = TPoint(W, Hr);
  } else if (a > 90 && a <= 180) {
    b = TPoint(W, 0), f = TPoint(0, Hr);
  } else if (a > 180 && a <= 270) {
    b = TPoint(W, Hr), f = TPoint(0, 0);
  } else {
    b = TPoint(0, Hr), f = TPoint(W, 0);
  }
  D = Foot(S, E, b);
  G = Foot(S, E, f);
}

// The path brushes' stops: reversed, and when H < O the outer colour in
// front with the rings moved so that the last colour lies at radius H.
void PathStops(TGradientPlan& P, const std::vector<Cardinal>& Colors, const std::vector<Single>& Positions,
               Single H, Single O) {
  const size_t n = Colors.size();
  for (size_t k = 0; k < n; ++k) {
    const size_t i = n - 1 - k;
    P.Colors.push_back(Colors[i]);
    P.Positions.push_back(1 - Positions[i]);
  }
  if (H < O) {
    for (size_t k = 0; k + 1 < n; ++k) P.Positions[k] = (H * P.Positions[k] + (O - H)) / O;
    P.Colors.insert(P.Colors.begin(), Colors.back());
    P.Positions.insert(P.Positions.begin(), 0.0f);
  }
}

// The last stop := the last colour at 1 (appended when the end extends).
void CloseStops(TGradientPlan& P, Cardinal Last) {
  if (P.EndExtended || P.Colors.empty()) {
    P.Colors.push_back(Last);
    P.Positions.push_back(1);
  } else {
    P.Colors.back() = Last;
    P.Positions.back() = 1;
  }
}

}  // namespace

TGradientPlan PlanGradient(Integer Type, const TPoint& S, const TPoint& E, Integer W, Integer Hr,
                           const std::vector<Cardinal>& Colors, const std::vector<Single>& Positions) {
  TGradientPlan p;
  p.Type = Type;
  const size_t n = std::min(Colors.size(), Positions.size());
  const Single h = CalcDistance(S, E);
  if (n == 0 || h <= 0 || W <= 0 || Hr <= 0) return p;
  const std::vector<Cardinal> colors(Colors.begin(), Colors.begin() + std::ptrdiff_t(n));
  const std::vector<Single> positions(Positions.begin(), Positions.begin() + std::ptrdiff_t(n));
  p.Centre = FP(S);
  switch (Type) {
    case 0: {
      TFloatPoint d, g;
      LinearFeet(S, E, W, Hr, d, g);
      p.StartExtended = p.EndExtended = true;
      Single m = CalcFloatDistance(d, g);
      if (CalcDistanceToFloatPoint(S, g) >= m) d = FP(S), p.StartExtended = false;
      if (CalcDistanceToFloatPoint(E, d) >= m) g = FP(E), p.EndExtended = false;
      const Single l = CalcDistanceToFloatPoint(S, d);
      m = CalcFloatDistance(d, g);
      p.From = d, p.To = g;
      if (!p.StartExtended && !p.EndExtended) {
        p.Colors = colors;
        p.Positions = positions;
      } else {
        if (p.StartExtended) {
          p.Colors.push_back(colors[0]);
          p.Positions.push_back(0);
        }
        for (size_t i = 0; i < n; ++i) {
          p.Colors.push_back(colors[i]);
          p.Positions.push_back(p.StartExtended ? (h * positions[i] + l) / m : h * positions[i] / m);
        }
        CloseStops(p, colors.back());
      }
      break;
    }
    case 3: {
      TFloatPoint d, g;
      LinearFeet(S, E, W, Hr, d, g);
      const TPoint mirror(2 * S.X - E.X, 2 * S.Y - E.Y);
      if (CalcDistanceToFloatPoint(S, d) < CalcDistance(S, mirror)) d = FP(mirror);
      p.StartExtended = p.EndExtended = true;
      Single m = CalcFloatDistance(d, g);
      if (CalcDistanceToFloatPoint(mirror, g) >= m) d = FP(mirror), p.StartExtended = false;
      if (CalcDistanceToFloatPoint(E, d) >= m) g = FP(E), p.EndExtended = false;
      const Single pd = CalcDistanceToFloatPoint(mirror, d), l = CalcDistanceToFloatPoint(S, d);
      m = CalcFloatDistance(d, g);
      p.From = d, p.To = g;
      if (p.StartExtended) {
        p.Colors.push_back(colors.back());
        p.Positions.push_back(0);
      }
      for (size_t k = 0; k < n; ++k) {
        const size_t i = n - 1 - k;
        p.Colors.push_back(colors[i]);
        p.Positions.push_back(p.StartExtended ? ((1 - positions[i]) * h + pd) / m : (1 - positions[i]) * h / m);
      }
      for (size_t i = 1; i < n; ++i) {
        p.Colors.push_back(colors[i]);
        p.Positions.push_back((h * positions[i] + l) / m);
      }
      CloseStops(p, colors.back());
      break;
    }
    case 1: {
      const Single o = FarthestCorner(S, W, Hr);
      PathStops(p, colors, positions, h, o);
      p.Radius = std::max(h, o);
      break;
    }
    case 4: {
      Single o = Single(std::nearbyint(FarthestCorner(S, W, Hr) * 1.5f + 0.5f));
      PathStops(p, colors, positions, h, o);
      TFloatPoint t;
      if (h >= o) {
        t = FP(E);
        o = h;
      } else {
        CalcExtendedPoint(S, E, o - h, t);
      }
      const TPoint tip = RoundPoint(t);
      const Single angle = CalcVectorAngle(tip.X, tip.Y, Single(S.X), Single(S.Y));
      for (Integer k = 0; k < 4; ++k) CalcPolarPoint(S, o, TDegrees(angle + Single(90 * k)), p.Corners[size_t(k)]);
      p.Radius = o;
      break;
    }
    default:
      return p;
  }
  p.Paints = true;
  return p;
}
