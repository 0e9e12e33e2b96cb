#include "tools/mediagen/Raster.h"

#include <algorithm>
#include <cmath>

namespace mediagen {

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr int SubRows = 4;

// Adds the coverage of the span [A, B) of one sub-row to Row (pixels 0..W-1).
void AddSpan(std::vector<float>& Row, double A, double B, float Weight) {
  const int w = int(Row.size());
  A = std::max(A, 0.0);
  B = std::min(B, double(w));
  if (B <= A) return;
  int ia = int(std::floor(A)), ib = int(std::floor(B));
  if (ia == ib) {
    Row[size_t(ia)] += float((B - A) * Weight);
    return;
  }
  Row[size_t(ia)] += float((ia + 1 - A) * Weight);
  for (int i = ia + 1; i < ib && i < w; ++i) Row[size_t(i)] += Weight;
  if (ib < w) Row[size_t(ib)] += float((B - ib) * Weight);
}

struct TEdge {
  double X0, Y0, X1, Y1;
  int Dir;
};

}  // namespace

TRgba Mix(const TRgba& A, const TRgba& B, float T) {
  return TRgba{A.R + (B.R - A.R) * T, A.G + (B.G - A.G) * T, A.B + (B.B - A.B) * T, A.A + (B.A - A.A) * T};
}

// ---------------------------------------------------------------------------
// Paths

void TPath::MoveTo(double X, double Y) {
  Close();
  FCur.push_back({X, Y});
}

void TPath::LineTo(double X, double Y) { FCur.push_back({X, Y}); }

void TPath::ArcTo(double X, double Y, double W, double H, double Start, double Sweep) {
  const double rx = W / 2, ry = H / 2, cx = X + rx, cy = Y + ry;
  const int n = std::max(4, int(std::ceil(std::fabs(Sweep) / 360 * std::max(16.0, (rx + ry) * 2))));
  for (int i = 0; i <= n; ++i) {
    const double a = (Start + Sweep * i / n) * Pi / 180;
    FCur.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
  }
}

void TPath::BezierTo(TPt C1, TPt C2, TPt P) {
  const TPt p0 = FCur.empty() ? C1 : FCur.back();
  const double len = std::hypot(C1.X - p0.X, C1.Y - p0.Y) + std::hypot(C2.X - C1.X, C2.Y - C1.Y) +
                     std::hypot(P.X - C2.X, P.Y - C2.Y);
  const int n = std::max(4, int(len / 2));
  for (int i = 1; i <= n; ++i) {
    const double t = double(i) / n, u = 1 - t;
    FCur.push_back({u * u * u * p0.X + 3 * u * u * t * C1.X + 3 * u * t * t * C2.X + t * t * t * P.X,
                    u * u * u * p0.Y + 3 * u * u * t * C1.Y + 3 * u * t * t * C2.Y + t * t * t * P.Y});
  }
}

void TPath::Close() {
  if (FCur.size() >= 2) FDone.push_back(FCur);
  FCur.clear();
}

void TPath::Ellipse(double X, double Y, double W, double H) {
  Close();
  ArcTo(X, Y, W, H, 0, 360);
  Close();
}

void TPath::Rect(double X, double Y, double W, double H) { Polygon({{X, Y}, {X + W, Y}, {X + W, Y + H}, {X, Y + H}}); }

void TPath::Polygon(const std::vector<TPt>& P) {
  Close();
  FCur = P;
  Close();
}

TContours TPath::Contours() const {
  TContours c = FDone;
  if (FCur.size() >= 2) c.push_back(FCur);
  return c;
}

// ---------------------------------------------------------------------------
// Coverage

TMask MaskAround(const TContours& Contours, int ImgW, int ImgH, double Margin) {
  double x0 = 1e18, y0 = 1e18, x1 = -1e18, y1 = -1e18;
  for (const TContour& c : Contours)
    for (const TPt& p : c) {
      x0 = std::min(x0, p.X);
      y0 = std::min(y0, p.Y);
      x1 = std::max(x1, p.X);
      y1 = std::max(y1, p.Y);
    }
  const int ix0 = std::clamp(int(std::floor(x0 - Margin)), 0, ImgW), iy0 = std::clamp(int(std::floor(y0 - Margin)), 0, ImgH);
  const int ix1 = std::clamp(int(std::ceil(x1 + Margin)) + 1, ix0, ImgW), iy1 = std::clamp(int(std::ceil(y1 + Margin)) + 1, iy0, ImgH);
  return TMask(ix1 - ix0, iy1 - iy0, ix0, iy0);
}

void FillMask(TMask& Mask, const TContours& Contours) {
  std::vector<TEdge> edges;
  double ymin = 1e18, ymax = -1e18;
  for (const TContour& c : Contours) {
    for (size_t i = 0; i < c.size(); ++i) {
      TPt a = c[i], b = c[(i + 1) % c.size()];
      a.X -= Mask.OX;
      a.Y -= Mask.OY;
      b.X -= Mask.OX;
      b.Y -= Mask.OY;
      if (a.Y == b.Y) continue;
      edges.push_back(a.Y < b.Y ? TEdge{a.X, a.Y, b.X, b.Y, 1} : TEdge{b.X, b.Y, a.X, a.Y, -1});
      ymin = std::min(ymin, std::min(a.Y, b.Y));
      ymax = std::max(ymax, std::max(a.Y, b.Y));
    }
  }
  if (edges.empty()) return;
  const int y0 = std::max(0, int(std::floor(ymin))), y1 = std::min(Mask.H - 1, int(std::ceil(ymax)));
  std::vector<float> row(size_t(Mask.W));
  std::vector<std::pair<double, int>> xs;
  for (int y = y0; y <= y1; ++y) {
    std::fill(row.begin(), row.end(), 0.f);
    for (int s = 0; s < SubRows; ++s) {
      const double sy = y + (s + 0.5) / SubRows;
      xs.clear();
      for (const TEdge& e : edges)
        if (sy >= e.Y0 && sy < e.Y1) xs.push_back({e.X0 + (sy - e.Y0) * (e.X1 - e.X0) / (e.Y1 - e.Y0), e.Dir});
      std::sort(xs.begin(), xs.end());
      int wind = 0;
      for (size_t i = 0; i + 1 < xs.size(); ++i) {
        wind += xs[i].second;
        if (wind != 0) AddSpan(row, xs[i].first, xs[i + 1].first, 1.f / SubRows);
      }
    }
    for (int x = 0; x < Mask.W; ++x) Mask.At(x, y) = std::max(Mask.At(x, y), std::min(row[size_t(x)], 1.f));
  }
}

void StrokeMask(TMask& Mask, const TContours& Contours, double Width, bool Closed) {
  const double h = Width / 2;
  for (const TContour& c : Contours) {
    const size_t n = c.size();
    for (size_t i = 0; i < n; ++i) {
      if (!Closed && i + 1 == n) break;
      const TPt a = c[i], b = c[(i + 1) % n];
      const double len = std::hypot(b.X - a.X, b.Y - a.Y);
      if (len > 0) {
        const double nx = -(b.Y - a.Y) / len * h, ny = (b.X - a.X) / len * h;
        FillMask(Mask, {{{a.X + nx, a.Y + ny}, {b.X + nx, b.Y + ny}, {b.X - nx, b.Y - ny}, {a.X - nx, a.Y - ny}}});
      }
      if (h > 0.75) {  // round joins for wide pens
        TPath p;
        p.Ellipse(b.X - h, b.Y - h, Width, Width);
        FillMask(Mask, p.Contours());
      }
    }
  }
}

void Over(TRgba& D, const TRgba& S) {
  const float a = S.A + D.A * (1 - S.A);
  if (a <= 0) {
    D = TRgba{};
    return;
  }
  D.R = (S.R * S.A + D.R * D.A * (1 - S.A)) / a;
  D.G = (S.G * S.A + D.G * D.A * (1 - S.A)) / a;
  D.B = (S.B * S.A + D.B * D.A * (1 - S.A)) / a;
  D.A = a;
}

void Paint(TImage& Img, const TMask& Mask, const TRgba& Color) {
  for (int y = 0; y < Mask.H; ++y)
    for (int x = 0; x < Mask.W; ++x) {
      const float c = Mask.At(x, y);
      if (c <= 0) continue;
      TRgba s = Color;
      s.A *= c;
      Over(Img.At(Mask.OX + x, Mask.OY + y), s);
    }
}

void Over(TImage& Dst, const TImage& Src, int X, int Y) {
  for (int y = 0; y < Src.H; ++y)
    for (int x = 0; x < Src.W; ++x) {
      const int dx = X + x, dy = Y + y;
      if (dx >= 0 && dy >= 0 && dx < Dst.W && dy < Dst.H) Over(Dst.At(dx, dy), Src.At(x, y));
    }
}

void ClearThrough(TImage& Img, const TMask& Mask) {
  for (int y = 0; y < Mask.H; ++y)
    for (int x = 0; x < Mask.W; ++x) Img.At(Mask.OX + x, Mask.OY + y).A *= 1 - Mask.At(x, y);
}

void FillPath(TImage& Img, const TPath& Path, const TRgba& Color) {
  const TContours c = Path.Contours();
  TMask m = MaskAround(c, Img.W, Img.H);
  FillMask(m, c);
  Paint(Img, m, Color);
}

void StrokePath(TImage& Img, const TPath& Path, double Width, const TRgba& Color, bool Closed) {
  const TContours c = Path.Contours();
  TMask m = MaskAround(c, Img.W, Img.H, Width);
  StrokeMask(m, c, Width, Closed);
  Paint(Img, m, Color);
}

void FillCircle(TImage& Img, double Cx, double Cy, double R, const TRgba& Color) {
  TPath p;
  p.Ellipse(Cx - R, Cy - R, 2 * R, 2 * R);
  FillPath(Img, p, Color);
}

void FillRect(TImage& Img, int X1, int Y1, int X2, int Y2, const TRgba& Color) {
  for (int y = std::max(Y1, 0); y < std::min(Y2, Img.H); ++y)
    for (int x = std::max(X1, 0); x < std::min(X2, Img.W); ++x) Over(Img.At(x, y), Color);
}

// ---------------------------------------------------------------------------
// Noise and random numbers

std::uint32_t TRandom::Next() {
  // xorshift32
  std::uint32_t x = FState ? FState : 0x6D2B79F5u;
  x ^= x << 13;
  x ^= x >> 17;
  x ^= x << 5;
  FState = x;
  return x;
}

double TRandom::Uniform(double Lo, double Hi) { return Lo + (Hi - Lo) * (Next() / 4294967296.0); }

std::uint32_t HashText(const char* Text) {
  std::uint32_t h = 2166136261u;
  for (; *Text; ++Text) h = (h ^ std::uint8_t(*Text)) * 16777619u;
  return h;
}

namespace {

double Lattice(int X, int Y, std::uint32_t Seed) {
  std::uint32_t h = std::uint32_t(X) * 374761393u + std::uint32_t(Y) * 668265263u + Seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xFFFFFF) / double(0xFFFFFF);
}

double Smooth(double T) { return T * T * (3 - 2 * T); }

}  // namespace

double TileNoise(double U, double V, int Cells, int Octaves, std::uint32_t Seed) {
  double sum = 0, weight = 0, amp = 1;
  for (int o = 0; o < Octaves; ++o) {
    const int n = Cells << o;
    const double x = U * n, y = V * n;
    const int ix = int(std::floor(x)), iy = int(std::floor(y));
    const double fx = Smooth(x - ix), fy = Smooth(y - iy);
    auto at = [&](int i, int j) { return Lattice(((i % n) + n) % n, ((j % n) + n) % n, Seed + std::uint32_t(o) * 7919u); };
    const double a = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * fx;
    const double b = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * fx;
    sum += amp * (a + (b - a) * fy);
    weight += amp;
    amp /= 2;
  }
  return sum / weight;
}

// ---------------------------------------------------------------------------
// Blur and resampling

void Blur(TImage& Img, int Radius, int Passes) {
  if (Radius <= 0) return;
  for (TRgba& p : Img.Px) {
    p.R *= p.A;
    p.G *= p.A;
    p.B *= p.A;
  }
  std::vector<TRgba> line;
  auto pass = [&](int Count, int Len, auto Get) {
    line.resize(size_t(Len));
    for (int k = 0; k < Count; ++k) {
      for (int i = 0; i < Len; ++i) line[size_t(i)] = Get(k, i);
      TRgba acc{};
      auto add = [&](const TRgba& p, float s) {
        acc.R += p.R * s;
        acc.G += p.G * s;
        acc.B += p.B * s;
        acc.A += p.A * s;
      };
      auto px = [&](int i) { return line[size_t(std::clamp(i, 0, Len - 1))]; };
      for (int i = -Radius; i <= Radius; ++i) add(px(i), 1);
      const float inv = 1.f / (2 * Radius + 1);
      for (int i = 0; i < Len; ++i) {
        TRgba& d = Get(k, i);
        d = TRgba{acc.R * inv, acc.G * inv, acc.B * inv, acc.A * inv};
        add(px(i + Radius + 1), 1);
        add(px(i - Radius), -1);
      }
    }
  };
  for (int p = 0; p < Passes; ++p) {
    pass(Img.H, Img.W, [&](int Y, int X) -> TRgba& { return Img.At(X, Y); });
    pass(Img.W, Img.H, [&](int X, int Y) -> TRgba& { return Img.At(X, Y); });
  }
  for (TRgba& p : Img.Px) {
    if (p.A > 1e-6f) {
      p.R /= p.A;
      p.G /= p.A;
      p.B /= p.A;
    }
  }
}

TImage Resample(const TImage& Src, int W, int H) {
  TImage d(W, H);
  const double sx = double(Src.W) / W, sy = double(Src.H) / H;
  for (int y = 0; y < H; ++y) {
    const double ya = y * sy, yb = (y + 1) * sy;
    for (int x = 0; x < W; ++x) {
      const double xa = x * sx, xb = (x + 1) * sx;
      double r = 0, g = 0, b = 0, a = 0, wsum = 0;
      for (int j = int(ya); j < int(std::ceil(yb)) && j < Src.H; ++j) {
        const double wy = std::min(yb, j + 1.0) - std::max(ya, double(j));
        for (int i = int(xa); i < int(std::ceil(xb)) && i < Src.W; ++i) {
          const double w = wy * (std::min(xb, i + 1.0) - std::max(xa, double(i)));
          const TRgba& p = Src.At(i, j);
          r += p.R * p.A * w;
          g += p.G * p.A * w;
          b += p.B * p.A * w;
          a += p.A * w;
          wsum += w;
        }
      }
      TRgba& o = d.At(x, y);
      o.A = float(a / wsum);
      if (a > 0) {
        o.R = float(r / a);
        o.G = float(g / a);
        o.B = float(b / a);
      }
    }
  }
  return d;
}

std::uint8_t ToByte(float V) { return std::uint8_t(std::lround(std::clamp(V, 0.f, 1.f) * 255)); }

std::vector<std::uint8_t> ToBgr(const TImage& Img) {
  std::vector<std::uint8_t> b;
  b.reserve(Img.Px.size() * 3);
  for (const TRgba& p : Img.Px) b.insert(b.end(), {ToByte(p.B), ToByte(p.G), ToByte(p.R)});
  return b;
}

std::vector<std::uint8_t> ToBgra(const TImage& Img) {
  std::vector<std::uint8_t> b;
  b.reserve(Img.Px.size() * 4);
  for (const TRgba& p : Img.Px) b.insert(b.end(), {ToByte(p.B), ToByte(p.G), ToByte(p.R), ToByte(p.A)});
  return b;
}

}  // namespace mediagen
