#include "platform/GdiPlusStroker.h"

#include <algorithm>
#include <cmath>

namespace gdipflat {

namespace {

using TPoly = std::vector<TStrokePoint>;

constexpr double Pi = 3.14159265358979323846;

double SignedArea(const TPoly& P) {
  double a = 0;
  for (size_t i = 0, n = P.size(); i < n; ++i) {
    const TStrokePoint& p = P[i];
    const TStrokePoint& q = P[(i + 1) % n];
    a += p.X * q.Y - q.X * p.Y;
  }
  return a / 2;
}

void Emit(std::vector<TPoly>& Out, TPoly P) {
  if (P.size() < 3) return;
  const double a = SignedArea(P);
  if (std::fabs(a) < 1e-12) return;
  if (a < 0) std::reverse(P.begin(), P.end());
  Out.push_back(std::move(P));
}

int ArcSteps(double Radius, double Angle, double Flatness) {
  const double f = std::max(Flatness, 0.01);
  if (Radius <= f) return std::max(2, int(std::ceil(Angle / (Pi / 2))));
  const double step = 2 * std::acos(std::max(-1.0, 1 - f / Radius));
  return std::clamp(int(std::ceil(Angle / std::max(step, 1e-3))), 2, 1024);
}

void EmitDisc(std::vector<TPoly>& Out, TStrokePoint C, double R, double Flatness) {
  const int n = std::max(8, ArcSteps(R, 2 * Pi, Flatness));
  TPoly p;
  for (int i = 0; i < n; ++i) {
    const double a = 2 * Pi * i / n;
    p.push_back({C.X + R * std::cos(a), C.Y + R * std::sin(a)});
  }
  Emit(Out, std::move(p));
}

// Cap at end point E of a segment arriving with unit direction (Dx, Dy).
void EmitCap(std::vector<TPoly>& Out, TStrokePoint E, double Dx, double Dy, double Hw, int Cap, double Flatness) {
  const double nx = -Dy * Hw, ny = Dx * Hw;
  switch (Cap) {
    case 1:  // square
      Emit(Out, {{E.X + nx, E.Y + ny}, {E.X - nx, E.Y - ny}, {E.X - nx + Dx * Hw, E.Y - ny + Dy * Hw},
                 {E.X + nx + Dx * Hw, E.Y + ny + Dy * Hw}});
      break;
    case 2:  // round
      EmitDisc(Out, E, Hw, Flatness);
      break;
    case 3:  // triangle
      Emit(Out, {{E.X + nx, E.Y + ny}, {E.X - nx, E.Y - ny}, {E.X + Dx * Hw, E.Y + Dy * Hw}});
      break;
    default:
      break;
  }
}

void EmitJoin(std::vector<TPoly>& Out, TStrokePoint P, double D0x, double D0y, double D1x, double D1y,
              const TStrokePen& Pen, double Hw, double Flatness) {
  const double cross = D0x * D1y - D0y * D1x;
  const double dot = D0x * D1x + D0y * D1y;
  if (std::fabs(cross) < 1e-9 && dot > 0) return;  // straight on
  if (Pen.LineJoin == 2) {
    EmitDisc(Out, P, Hw, Flatness);
    return;
  }
  // The outer side is left of the turn when turning right, and so on.
  const double side = cross > 0 ? -1 : 1;
  const TStrokePoint a{P.X + side * -D0y * Hw, P.Y + side * D0x * Hw};
  const TStrokePoint b{P.X + side * -D1y * Hw, P.Y + side * D1x * Hw};
  Emit(Out, {P, a, b});  // bevel
  if (Pen.LineJoin == 0 || Pen.LineJoin == 3) {
    // Miter tip: intersection of the two offset edges.
    const double cosHalf = std::sqrt(std::max(0.0, (1 + dot) / 2));
    if (cosHalf < 1e-6) return;
    const double miterLen = 1 / cosHalf;  // in half-widths
    if (miterLen > Pen.MiterLimit) return;  // beyond the limit: bevel
    double mx = (-D0y + -D1y) * side, my = (D0x + D1x) * side;
    const double ml = std::hypot(mx, my);
    if (ml < 1e-12) return;
    mx /= ml;
    my /= ml;
    const TStrokePoint tip{P.X + mx * Hw * miterLen, P.Y + my * Hw * miterLen};
    Emit(Out, {a, tip, b, P});
  }
}

// Strokes one open or closed polyline (no repeated points).
void StrokePolyline(std::vector<TPoly>& Out, const TPoly& Pts, bool Closed, const TStrokePen& Pen, int StartCap,
                    int EndCap, double Flatness) {
  const double hw = Pen.Width / 2;
  if (Pts.size() == 1) return;
  const size_t n = Pts.size();
  const size_t segs = Closed ? n : n - 1;
  for (size_t i = 0; i < segs; ++i) {
    const TStrokePoint p = Pts[i], q = Pts[(i + 1) % n];
    const double len = std::hypot(q.X - p.X, q.Y - p.Y);
    if (len < 1e-12) continue;
    const double nx = -(q.Y - p.Y) / len * hw, ny = (q.X - p.X) / len * hw;
    Emit(Out, {{p.X + nx, p.Y + ny}, {q.X + nx, q.Y + ny}, {q.X - nx, q.Y - ny}, {p.X - nx, p.Y - ny}});
  }
  auto dir = [&](size_t i, size_t j, double& dx, double& dy) {
    dx = Pts[j].X - Pts[i].X;
    dy = Pts[j].Y - Pts[i].Y;
    const double l = std::hypot(dx, dy);
    dx /= l;
    dy /= l;
  };
  const size_t firstJoin = Closed ? 0 : 1;
  const size_t lastJoin = Closed ? n : n - 1;
  for (size_t k = firstJoin; k < lastJoin; ++k) {
    const size_t prev = (k + n - 1) % n, next = (k + 1) % n;
    double d0x, d0y, d1x, d1y;
    dir(prev, k, d0x, d0y);
    dir(k, next, d1x, d1y);
    EmitJoin(Out, Pts[k], d0x, d0y, d1x, d1y, Pen, hw, Flatness);
  }
  if (!Closed) {
    double dx, dy;
    dir(1, 0, dx, dy);
    EmitCap(Out, Pts[0], dx, dy, hw, StartCap, Flatness);
    dir(n - 2, n - 1, dx, dy);
    EmitCap(Out, Pts[n - 1], dx, dy, hw, EndCap, Flatness);
  }
}

TPoly WithoutRepeats(const std::vector<TStrokePoint>& P, bool Closed) {
  TPoly r;
  for (const TStrokePoint& p : P)
    if (r.empty() || std::hypot(p.X - r.back().X, p.Y - r.back().Y) > 1e-9) r.push_back(p);
  if (Closed && r.size() > 1 && std::hypot(r.front().X - r.back().X, r.front().Y - r.back().Y) <= 1e-9) r.pop_back();
  return r;
}

}  // namespace

std::vector<double> DashPatternOfStyle(int Style) {
  switch (Style) {
    case 1: return {3, 1};
    case 2: return {1, 1};
    case 3: return {3, 1, 1, 1};
    case 4: return {3, 1, 1, 1, 1, 1};
    default: return {};
  }
}

std::vector<std::vector<TStrokePoint>> StrokeFigures(const std::vector<TStrokeFigure>& Figures, const TStrokePen& Pen,
                                                     double Flatness) {
  std::vector<TPoly> out;
  if (!(Pen.Width > 0) || !std::isfinite(Pen.Width)) return out;
  double period = 0;
  bool dashed = !Pen.Dashes.empty();
  for (double d : Pen.Dashes) {
    if (!(d >= 0) || !std::isfinite(d)) dashed = false;
    period += d;
  }
  if (!(period > 0)) dashed = false;
  for (const TStrokeFigure& f : Figures) {
    TPoly pts = WithoutRepeats(f.Points, f.Closed);
    if (pts.size() < 2) {
      // A lone point: only round or square caps show it.
      if (!pts.empty() && !dashed) {
        EmitCap(out, pts[0], 1, 0, Pen.Width / 2, Pen.StartCap == 1 || Pen.StartCap == 2 ? Pen.StartCap : 0, Flatness);
        if (Pen.StartCap == 1) EmitCap(out, pts[0], -1, 0, Pen.Width / 2, 1, Flatness);
      }
      continue;
    }
    if (!dashed) {
      StrokePolyline(out, pts, f.Closed, Pen, Pen.StartCap, Pen.EndCap, Flatness);
      continue;
    }
    // Walk the polyline and cut it into dashes (lengths in pen widths).
    if (f.Closed) pts.push_back(pts.front());
    const double w = Pen.Width;
    size_t di = 0;
    double left = 0;
    {
      double off = std::fmod(Pen.DashOffset, period);
      if (!(off >= 0)) off = off < 0 ? off + period : 0;
      while (off >= Pen.Dashes[di]) {
        off -= Pen.Dashes[di];
        di = (di + 1) % Pen.Dashes.size();
      }
      left = (Pen.Dashes[di] - off) * w;
    }
    bool on = di % 2 == 0;
    bool firstDash = true;
    TPoly cur;
    if (on) cur.push_back(pts[0]);
    for (size_t i = 0; i + 1 < pts.size(); ++i) {
      TStrokePoint p = pts[i];
      const TStrokePoint q = pts[i + 1];
      double segLen = std::hypot(q.X - p.X, q.Y - p.Y);
      while (segLen > 1e-12) {
        if (left >= segLen) {
          left -= segLen;
          if (on) cur.push_back(q);
          segLen = 0;
        } else {
          const double t = left / segLen;
          const TStrokePoint m{p.X + (q.X - p.X) * t, p.Y + (q.Y - p.Y) * t};
          if (on) {
            cur.push_back(m);
            const TPoly dash = WithoutRepeats(cur, false);
            if (dash.size() >= 2)
              StrokePolyline(out, dash, false, Pen, firstDash && !f.Closed ? Pen.StartCap : Pen.DashCap, Pen.DashCap,
                             Flatness);
            firstDash = false;
            cur.clear();
          } else {
            cur.assign(1, m);
          }
          segLen -= left;
          p = m;
          di = (di + 1) % Pen.Dashes.size();
          on = !on;
          left = Pen.Dashes[di] * w;
        }
      }
    }
    if (on) {
      const TPoly dash = WithoutRepeats(cur, false);
      if (dash.size() >= 2)
        StrokePolyline(out, dash, false, Pen, firstDash && !f.Closed ? Pen.StartCap : Pen.DashCap,
                       f.Closed ? Pen.DashCap : Pen.EndCap, Flatness);
    }
  }
  return out;
}

}  // namespace gdipflat

namespace gdipflat {

namespace {

struct TEdge {
  TStrokePoint A, B;
};

int WindingAt(const std::vector<TEdge>& Edges, double X, double Y) {
  int w = 0;
  for (const TEdge& e : Edges) {
    if (e.A.Y <= Y) {
      if (e.B.Y > Y && (e.B.X - e.A.X) * (Y - e.A.Y) - (X - e.A.X) * (e.B.Y - e.A.Y) > 0) ++w;
    } else if (e.B.Y <= Y && (e.B.X - e.A.X) * (Y - e.A.Y) - (X - e.A.X) * (e.B.Y - e.A.Y) < 0) {
      --w;
    }
  }
  return w;
}

}  // namespace

std::vector<std::vector<TStrokePoint>> WindingOutline(const std::vector<TStrokeFigure>& Figures) {
  // Every figure counts as closed.
  std::vector<TEdge> edges;
  for (const TStrokeFigure& f : Figures) {
    const TPoly p = WithoutRepeats(f.Points, true);
    if (p.size() < 3) continue;
    for (size_t i = 0; i < p.size(); ++i) edges.push_back({p[i], p[(i + 1) % p.size()]});
  }
  // Split every edge at its crossings with the others.
  std::vector<TEdge> pieces;
  for (size_t i = 0; i < edges.size(); ++i) {
    const TEdge& e = edges[i];
    const double ex = e.B.X - e.A.X, ey = e.B.Y - e.A.Y;
    std::vector<double> cuts{0.0, 1.0};
    for (size_t j = 0; j < edges.size(); ++j) {
      if (j == i) continue;
      const TEdge& o = edges[j];
      const double ox = o.B.X - o.A.X, oy = o.B.Y - o.A.Y;
      const double den = ex * oy - ey * ox;
      if (std::fabs(den) < 1e-12) continue;
      const double ax = o.A.X - e.A.X, ay = o.A.Y - e.A.Y;
      const double t = (ax * oy - ay * ox) / den;
      const double s = (ax * ey - ay * ex) / den;
      if (t > 1e-9 && t < 1 - 1e-9 && s >= -1e-9 && s <= 1 + 1e-9) cuts.push_back(t);
    }
    std::sort(cuts.begin(), cuts.end());
    for (size_t k = 0; k + 1 < cuts.size(); ++k) {
      if (cuts[k + 1] - cuts[k] < 1e-9) continue;
      pieces.push_back({{e.A.X + ex * cuts[k], e.A.Y + ey * cuts[k]}, {e.A.X + ex * cuts[k + 1], e.A.Y + ey * cuts[k + 1]}});
    }
  }
  // Keep the pieces with covered area on exactly one side, oriented with it
  // on their left (in y-down coordinates: the positive side of the normal).
  std::vector<TEdge> kept;
  for (const TEdge& p : pieces) {
    const double dx = p.B.X - p.A.X, dy = p.B.Y - p.A.Y;
    const double len = std::hypot(dx, dy);
    if (len < 1e-12) continue;
    const double eps = std::min(1e-4, len * 1e-3);
    const double mx = (p.A.X + p.B.X) / 2, my = (p.A.Y + p.B.Y) / 2;
    const double nx = -dy / len * eps, ny = dx / len * eps;
    const bool left = WindingAt(edges, mx + nx, my + ny) != 0;
    const bool right = WindingAt(edges, mx - nx, my - ny) != 0;
    if (left == right) continue;
    if (left) kept.push_back(p);
    else kept.push_back({p.B, p.A});
  }
  // Chain the pieces into loops by their end points.
  std::vector<std::vector<TStrokePoint>> loops;
  std::vector<bool> used(kept.size(), false);
  auto same = [](TStrokePoint a, TStrokePoint b) { return std::fabs(a.X - b.X) < 1e-6 && std::fabs(a.Y - b.Y) < 1e-6; };
  for (size_t start = 0; start < kept.size(); ++start) {
    if (used[start]) continue;
    used[start] = true;
    TPoly loop{kept[start].A};
    TStrokePoint at = kept[start].B;
    for (size_t guard = 0; guard <= kept.size(); ++guard) {
      if (same(at, loop.front())) break;
      loop.push_back(at);
      size_t next = kept.size();
      for (size_t k = 0; k < kept.size(); ++k)
        if (!used[k] && same(kept[k].A, at)) {
          next = k;
          break;
        }
      if (next == kept.size()) break;
      used[next] = true;
      at = kept[next].B;
    }
    if (loop.size() >= 3) loops.push_back(std::move(loop));
  }
  return loops;
}

}  // namespace gdipflat
