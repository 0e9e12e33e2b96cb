#include "document/FrameGeometry.h"

#include <algorithm>

namespace {

using TItem = TFramePathItem;

TFramePointF Pt(Double X, Double Y) { return TFramePointF{Single(X), Single(Y)}; }

TItem Box(TItem::TKind Kind, Double X, Double Y, Double W, Double H) {
  TItem it;
  it.Kind = Kind;
  it.X = Single(X);
  it.Y = Single(Y);
  it.W = Single(W);
  it.H = Single(H);
  return it;
}

TItem Arc(Double X, Double Y, Double D, Double Start) {
  TItem it = Box(TItem::Arc, X, Y, D, D);
  it.Start = Single(Start);
  it.Sweep = 90;
  return it;
}

TItem Line(TFramePointF A, TFramePointF B) {
  TItem it;
  it.Kind = TItem::Line;
  it.Points = {A, B};
  return it;
}

TItem Corner(Double X, Double Y) {
  TItem it;
  it.Kind = TItem::Point;
  it.Points = {Pt(X, Y)};
  return it;
}

TItem Points(TItem::TKind Kind, std::vector<TFramePointF> P) {
  TItem it;
  it.Kind = Kind;
  it.Points = std::move(P);
  return it;
}

// The ellipse inset by Percent % of half the width and half the height, in a
// picture whose image lies at (V1, V1).
TItem InsetEllipse(Integer W, Integer H, Integer V1, Integer Percent) {
  const Double e = W / 2.0 * Percent / 100.0, f = H / 2.0 * Percent / 100.0;
  return Box(TItem::Ellipse, V1 + e - 1, V1 + f - 1, W - 2 * e + 1, H - 2 * f + 1);
}

// Rounded corners in the order top-left, top-right, bottom-right,
// bottom-left; each either an arc of diameter D in its corner square or a
// plain corner point.
void RoundedCorners(TFramePath& Path, Double L, Double T, Double R, Double B, Double D, const bool Round[4]) {
  if (Round[0]) Path.push_back(Arc(L, T, D, 180)); else Path.push_back(Corner(L, T));
  if (Round[1]) Path.push_back(Arc(R - D, T, D, 270)); else Path.push_back(Corner(R, T));
  if (Round[2]) Path.push_back(Arc(R - D, B - D, D, 0)); else Path.push_back(Corner(R, B));
  if (Round[3]) Path.push_back(Arc(L, B - D, D, 90)); else Path.push_back(Corner(L, B));
}

}  // namespace

Integer RoundFraction(Int64 Num, Int64 Den) {
  Int64 q = Num / Den, r = Num % Den;
  if (r < 0) {  // floor division
    --q;
    r += Den;
  }
  const Int64 twice = 2 * r;
  if (twice > Den || (twice == Den && (q & 1) != 0)) ++q;
  return Integer(q);
}

bool Frame0Layout(Integer Mode, Integer W, Integer H, Integer V1, Integer V2, Integer V3, TFrame0Layout& Layout) {
  if (Mode < 1 || Mode > 10 || W <= 0 || H <= 0) return false;
  TFrame0Layout L;
  Integer mx = V1, top = V1, bottom = V1;  // margins: left and right, top, bottom
  switch (Mode) {
    case 2: mx = top = bottom = V1 + V2 + V3; break;
    case 3: case 4: case 9: case 10: mx = top = bottom = V1 + V2; break;
    case 5: bottom = V2; break;
    case 6: mx = V2; top = V1; bottom = V3; break;
    default: break;
  }
  L.Width = W + 2 * mx;
  L.Height = H + top + bottom;
  L.X0 = mx;
  L.Y0 = top;
  auto inset = [&](Integer N, Integer Color) {
    L.Bands.push_back(TFrameBand{TRect(N, N, L.Width - N, L.Height - N), Color});
  };
  const TItem imageRect = Box(TItem::Rect, L.X0, L.Y0, W, H);
  const Integer m = std::min(W, H);
  switch (Mode) {
    case 1: L.CutOut = {imageRect}; break;
    case 2:
      inset(V1, 2);
      inset(V1 + V2, 3);
      L.CutOut = {imageRect};
      break;
    case 3: case 9: case 10: {
      inset(V1, 2);
      const Double d = Double(V3) * m / 100.0;
      if (d <= 1) {
        L.CutOut = {imageRect};
        break;
      }
      const Double p = V1 + V2, q = p, R = W + p, B = H + q;
      L.Outline = true;
      TFramePath& c = L.CutOut;
      if (Mode == 3) {
        c = {Arc(p - 1, q - 1, d, 180), Arc(R - d, q - 1, d, 270), Arc(R - d, B - d, d, 0), Arc(p - 1, B - d, d, 90)};
        if (H > d) c.push_back(Line(Pt(p - 1, B - d / 2), Pt(p - 1, q + d / 2)));
      } else if (Mode == 9) {
        c = {Arc(p - 1, q - 1, d, 180), Corner(R, q - 1), Arc(R - d, B - d, d, 0), Corner(p - 1, B),
             Line(Pt(p - 1, B), Pt(p - 1, q + d / 2))};
      } else {
        c = {Corner(p - 1, q - 1), Arc(R - d, q - 1, d, 270), Corner(R, B), Arc(p - 1, B - d, d, 90),
             Line(Pt(p - 1, B - d / 2), Pt(p - 1, q - 1))};
      }
      break;
    }
    case 4: {
      inset(V1, 2);
      const Integer k = RoundFraction(Int64(m) * V3, 200);
      const Integer x = L.X0, y = L.Y0;
      L.CutOut = {Points(TItem::Polygon, {Pt(x + k, y), Pt(x + W - k, y), Pt(x + W, y + k), Pt(x + W, y + H - k),
                                          Pt(x + W - k, y + H), Pt(x + k, y + H), Pt(x, y + H - k), Pt(x, y + k)})};
      break;
    }
    case 5:
      L.Bands.push_back(TFrameBand{TRect(0, L.Height - V2, L.Width, L.Height), 2});
      L.CutOut = {imageRect};
      break;
    case 6:
      L.FillColor = 2;
      L.Bands.push_back(TFrameBand{TRect(0, 0, L.Width, V1), 1});
      L.Bands.push_back(TFrameBand{TRect(0, L.Height - V3, L.Width, L.Height), 3});
      L.CutOut = {imageRect};
      break;
    case 7: {
      L.Bands.push_back(TFrameBand{TRect(V1, V1, V1 + W, V1 + H), 2});
      const Double r = (100 - V2) / 100.0 * std::max(W, H) / 2.0;
      const Double cx = V1 + W / 2.0, cy = V1 + H / 2.0;
      L.CutOut = {Box(TItem::Ellipse, cx - r, cy - r, 2 * r, 2 * r)};
      L.Outline = true;
      if (V1 > 0)
        L.Margins = {TRect(0, 0, V1, L.Height), TRect(L.Width - V1, 0, L.Width, L.Height), TRect(0, 0, L.Width, V1),
                     TRect(0, L.Height - V1, L.Width, L.Height)};
      break;
    }
    case 8:
      L.Bands.push_back(TFrameBand{TRect(V1, V1, V1 + W, V1 + H), 2});
      L.CutOut = {InsetEllipse(W, H, V1, V2)};
      L.Outline = true;
      break;
  }
  Layout = std::move(L);
  return true;
}

bool Frame1Shape(Integer Mode, Integer W, Integer H, Integer V1, Integer V2, TFramePath& Shape) {
  if (Mode < 1 || Mode > 16 || W <= 0 || H <= 0) return false;
  const Integer w = W + 2 * V1, h = H + 2 * V1, m = std::min(W, H);
  const Integer k = RoundFraction(Int64(V2) * (m / 4), 100);
  const Integer t = V1 / 3;
  auto Rw = [w](Integer Hundredths) { return RoundFraction(Int64(w) * Hundredths, 100); };
  auto Rh = [h](Integer Hundredths) { return RoundFraction(Int64(h) * Hundredths, 100); };
  const Integer cx = w / 2, cy = h / 2;
  // The near and far edges of the inset polygons.
  const Integer n = V1 + k, fx = w - V1 - k - 1, fy = h - V1 - k - 1;
  TFramePath s;
  switch (Mode) {
    case 1: case 5: case 6: case 15: case 16: {
      const Double d = Double(V2) * m / 100.0;
      if (d <= 1) {
        s = {Box(TItem::Rect, V1, V1, W, H)};
        break;
      }
      static const bool round[17][4] = {{}, {true, true, true, true}, {}, {}, {}, {true, false, true, false},
                                        {false, true, false, true}, {}, {}, {}, {}, {}, {}, {}, {},
                                        {true, true, false, false}, {false, false, true, true}};
      RoundedCorners(s, V1 - 1, V1 - 1, w - V1, h - V1, d, round[Mode]);
      break;
    }
    case 2: {
      const Integer k2 = RoundFraction(Int64(V2) * m, 200);
      s = {Points(TItem::Polygon, {Pt(V1, V1 + k2), Pt(V1 + k2, V1), Pt(w - V1 - k2 - 1, V1), Pt(w - V1 - 1, V1 + k2),
                                   Pt(w - V1 - 1, h - V1 - k2 - 1), Pt(w - V1 - k2 - 1, h - V1 - 1),
                                   Pt(V1 + k2, h - V1 - 1), Pt(V1, h - V1 - k2 - 1)})};
      break;
    }
    case 3: {
      const Double r = (100 - V2) / 100.0 * m / 2.0;
      const Double x = V1 + W / 2.0, y = V1 + H / 2.0;
      s = {Box(TItem::Ellipse, x - r, y - r, 2 * r, 2 * r)};
      break;
    }
    case 4: s = {InsetEllipse(W, H, V1, V2)}; break;
    case 7: s = {Points(TItem::Polygon, {Pt(cx, n), Pt(n, cy), Pt(cx, fy), Pt(fx, cy)})}; break;
    case 8:
      s = {Points(TItem::Polygon, {Pt(cx, n), Pt(k + Rw(32), k + Rh(32)), Pt(n, cy), Pt(k + Rw(32), Rh(68) - k),
                                   Pt(cx, fy), Pt(Rw(68) - k, Rh(68) - k), Pt(fx, cy), Pt(Rw(68) - k, k + Rh(32))})};
      break;
    case 9: {
      const Integer q = w / 4;
      s = {Points(TItem::Polygon, {Pt(q, n), Pt(n, cy), Pt(q, fy), Pt(w - q, fy), Pt(fx, cy), Pt(w - q, n)})};
      break;
    }
    case 10:
      s = {Points(TItem::Polygon, {Pt(cx, n), Pt(k + Rw(30), k + Rh(20)), Pt(n, Rh(30)), Pt(n + Rw(10), cy),
                                   Pt(n, Rh(70)), Pt(k + Rw(30), Rh(80) - k), Pt(cx, fy), Pt(Rw(70) - k, Rh(80) - k),
                                   Pt(fx, Rh(70)), Pt(fx - Rw(10), cy), Pt(fx, Rh(30)), Pt(Rw(70) - k, k + Rh(20))})};
      break;
    case 11: case 12: {
      // The shield's outline; the heart adds the dip at the top.
      const TFramePointF tip = Pt(cx, h - V1 - 1);
      std::vector<TFramePointF> left = {Pt(Rw(6), V1), Pt(-Rw(4) - t, Rh(25)), Pt(V1 + Rw(3), Rh(52)),
                                        Pt(V1 + Rw(10), Rh(72)), tip, tip, tip};
      std::vector<TFramePointF> right = {Pt(Rw(90) - V1, Rh(72)), Pt(Rw(97) - V1, Rh(52)), Pt(t + Rw(104), Rh(25)),
                                         Pt(Rw(94), V1)};
      std::vector<TFramePointF> p;
      if (Mode == 11) {
        p.push_back(Pt(cx, V1));
        p.insert(p.end(), left.begin(), left.end());
        p.insert(p.end(), right.begin(), right.end());
        p.push_back(Pt(cx, V1));
      } else {
        const TFramePointF dip = Pt(cx, h / 4);
        p = {dip, dip, Pt(cx, V1), Pt(Rw(30), V1)};
        p.insert(p.end(), left.begin(), left.end());
        p.insert(p.end(), right.begin(), right.end());
        p.insert(p.end(), {Pt(Rw(70), V1), Pt(cx, V1), dip, dip});
      }
      s = {Points(TItem::Beziers, std::move(p))};
      break;
    }
    case 13:
      s = {Points(TItem::Polygon, {Pt(cx, n), Pt(n, cy), Pt(n, fy), Pt(fx, fy), Pt(fx, cy)})};
      break;
    case 14:
      s = {Points(TItem::Polygon, {Pt(n, n), Pt(n, cy), Pt(cx, fy), Pt(fx, cy), Pt(fx, n)})};
      break;
  }
  Shape = std::move(s);
  return true;
}

TFrame2Layout Frame2Layout(Integer W, Integer H, const std::vector<TFrameLayerWidths>& Layers) {
  TFrame2Layout L;
  L.Outer.assign(Layers.size(), TRect());
  std::vector<Integer> counted;
  Int64 sum = 0;
  for (size_t i = 0; i < Layers.size() && Integer(counted.size()) < FrameMaxLayers; ++i) {
    if (!Layers[i].Enabled) continue;
    counted.push_back(Integer(i));
    const TFrameLayerWidths& l = Layers[i];
    sum += std::max(l.Top, 0) + std::max(l.Left, 0) + std::max(l.Right, 0) + std::max(l.Bottom, 0);
  }
  if (sum == 0) {
    L.Width = W;
    L.Height = H;
    return L;
  }
  for (Integer i : counted) {
    L.X0 += std::max(Layers[size_t(i)].Left, 0);
    L.Y0 += std::max(Layers[size_t(i)].Top, 0);
  }
  TRect r(L.X0, L.Y0, L.X0 + W, L.Y0 + H);
  for (Integer i : counted) {
    const TFrameLayerWidths& l = Layers[size_t(i)];
    r = TRect(r.Left - std::max(l.Left, 0), r.Top - std::max(l.Top, 0), r.Right + std::max(l.Right, 0),
              r.Bottom + std::max(l.Bottom, 0));
    L.Outer[size_t(i)] = r;
  }
  L.Width = r.Right;
  L.Height = r.Bottom;
  for (auto it = counted.rbegin(); it != counted.rend(); ++it) {
    const TFrameLayerWidths& l = Layers[size_t(*it)];
    if (l.Top > 0 || l.Left > 0 || l.Right > 0 || l.Bottom > 0) L.Painted.push_back(*it);
  }
  return L;
}

Integer Frame3MasterAlpha(Integer V1) { return RoundFraction(Int64(V1) * 255, 100); }
