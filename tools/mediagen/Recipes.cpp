#include "tools/mediagen/Recipes.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <stdexcept>

#include "document/FrameGeometry.h"

namespace mediagen {

namespace {

constexpr double Pi = 3.14159265358979323846;

double Clamp01(double V) { return std::clamp(V, 0.0, 1.0); }
double SmoothStep(double A, double B, double X) {
  const double t = Clamp01((X - A) / (B - A));
  return t * t * (3 - 2 * t);
}
TRgba Scale(const TRgba& C, float K) { return TRgba{C.R * K, C.G * K, C.B * K, C.A}; }
TRgba Add(const TRgba& A, const TRgba& B, float K) { return TRgba{A.R + B.R * K, A.G + B.G * K, A.B + B.B * K, A.A}; }

// Adds Src's light (screen) onto Dst: 1 - (1 - d)(1 - s a).
void Screen(TImage& Dst, const TImage& Src) {
  for (size_t i = 0; i < Dst.Px.size(); ++i) {
    TRgba& d = Dst.Px[i];
    const TRgba& s = Src.Px[i];
    d.R = 1 - (1 - d.R) * (1 - s.R * s.A);
    d.G = 1 - (1 - d.G) * (1 - s.G * s.A);
    d.B = 1 - (1 - d.B) * (1 - s.B * s.A);
  }
}

template <class F>
void Shade(TImage& Img, F Fn) {
  for (int y = 0; y < Img.H; ++y)
    for (int x = 0; x < Img.W; ++x) Img.At(x, y) = Fn((x + 0.5) / Img.W, (y + 0.5) / Img.H);
}

// A picture of W x H whose pixel at (u, v) (0..1 across) is Fn(u, v).
template <class F>
TImage Shaded(int W, int H, F Fn) {
  TImage img(W, H);
  Shade(img, Fn);
  return img;
}

TPath HeartPath(double Cx, double Cy, double S) {
  // A heart of width about 2 S centred on (Cx, Cy), point down.
  TPath p;
  p.MoveTo(Cx, Cy - 0.35 * S);
  p.BezierTo({Cx + 0.1 * S, Cy - 1.0 * S}, {Cx + 1.15 * S, Cy - 0.85 * S}, {Cx + 0.95 * S, Cy - 0.1 * S});
  p.BezierTo({Cx + 0.8 * S, Cy + 0.4 * S}, {Cx + 0.25 * S, Cy + 0.65 * S}, {Cx, Cy + 0.95 * S});
  p.BezierTo({Cx - 0.25 * S, Cy + 0.65 * S}, {Cx - 0.8 * S, Cy + 0.4 * S}, {Cx - 0.95 * S, Cy - 0.1 * S});
  p.BezierTo({Cx - 1.15 * S, Cy - 0.85 * S}, {Cx - 0.1 * S, Cy - 1.0 * S}, {Cx, Cy - 0.35 * S});
  p.Close();
  return p;
}

TPath RoundRectPath(double X, double Y, double W, double H, double R) {
  TPath p;
  const double d = 2 * R;
  p.MoveTo(X + R, Y);
  p.ArcTo(X + W - d, Y, d, d, 270, 90);
  p.ArcTo(X + W - d, Y + H - d, d, d, 0, 90);
  p.ArcTo(X, Y + H - d, d, d, 90, 90);
  p.ArcTo(X, Y, d, d, 180, 90);
  p.Close();
  return p;
}

// ---------------------------------------------------------------------------
// Scene textures: shaped by colour alone (JPEG has no alpha); black leaves
// the image alone under Screen, mid-grey under Soft Light.

TImage SceneSunshine(int W, int H) {
  // Reflect has no neutral colour: a warm field that lightens near the sun
  // and darkens gently away from it.
  TImage img(W, H);
  const double sx = 0.8, sy = 0.14, aspect = double(W) / H;
  Shade(img, [&](double u, double v) {
    const double dx = (u - sx) * aspect, dy = v - sy, d = std::hypot(dx, dy);
    const double a = std::atan2(dy, dx);
    TRgba c = Mix(Rgb(236, 206, 150), Rgb(156, 112, 66), float(SmoothStep(0, 1.25, d)));
    const double rays = std::pow(0.5 + 0.5 * std::cos(a * 13 + 2 * std::sin(a * 5)), 10) * std::exp(-d * 1.6);
    c = Mix(c, Rgb(255, 244, 214), float(Clamp01(rays * 0.55)));
    c = Mix(c, Rgb(255, 252, 240), float(std::exp(-(d / 0.11) * (d / 0.11))));
    return c;
  });
  return img;
}

TImage SceneSunny(int W, int H) {
  TImage img(W, H, Rgb(0, 0, 0));
  const double sx = 0.16, sy = 0.1, aspect = double(W) / H;
  Shade(img, [&](double u, double v) {
    const double dx = (u - sx) * aspect, dy = v - sy, d = std::hypot(dx, dy);
    const double a = std::atan2(dy, dx);
    const double glow = std::exp(-d * 3.2), core = std::exp(-(d / 0.07) * (d / 0.07));
    const double rays = std::pow(0.5 + 0.5 * std::cos(a * 9), 16) * std::exp(-d * 1.3) * 0.55;
    TRgba c = Scale(Rgb(255, 190, 90), float(glow * 0.95));
    c = Add(c, Rgb(255, 225, 150), float(rays));
    c = Add(c, Rgb(255, 250, 235), float(core));
    return c;
  });
  // Lens flares along the line from the sun through the centre.
  TImage flares(W, H);
  const struct {
    double T, R;
    TRgba C;
  } rings[] = {{0.45, 0.035, Rgb(120, 255, 160, 0.22f)}, {0.62, 0.06, Rgb(90, 160, 255, 0.18f)},
               {0.75, 0.022, Rgb(255, 210, 120, 0.35f)}, {0.95, 0.09, Rgb(140, 120, 255, 0.12f)},
               {1.15, 0.045, Rgb(255, 150, 100, 0.2f)}};
  for (const auto& r : rings) {
    const double x = (sx + (0.5 - sx) * 2 * r.T) * W, y = (sy + (0.5 - sy) * 2 * r.T) * H;
    FillCircle(flares, x, y, r.R * W, r.C);
  }
  Blur(flares, 3);
  Screen(img, flares);
  return img;
}

TImage SceneDroplet(int W, int H) {
  TImage img(W, H, Rgb(0, 0, 0));
  TRandom rnd(HashText("droplet"));
  for (int i = 0; i < 150; ++i) {
    const double x = rnd.Uniform(0, W), y = rnd.Uniform(0, H);
    const double r = std::exp(rnd.Uniform(std::log(5.0), std::log(30.0))) * W / 1024.0;
    FillCircle(img, x, y, r, Rgb(30, 46, 62, 0.55f));
    TPath rim;
    rim.Ellipse(x - r * 0.9, y - r * 0.9, r * 1.8, r * 1.8);
    StrokePath(img, rim, std::max(1.0, r * 0.14), Rgb(150, 190, 220, 0.55f));
    FillCircle(img, x + r * 0.35, y + r * 0.45, r * 0.28, Rgb(120, 170, 210, 0.5f));  // light through the drop
    TPath spot;
    spot.Ellipse(x - r * 0.55, y - r * 0.6, r * 0.45, r * 0.3);
    FillPath(img, spot, Rgb(255, 255, 255, 0.9f));
  }
  return img;
}

TImage SceneHeart(int W, int H) {
  TImage img(W, H, Rgb(0, 0, 0));
  TRandom rnd(HashText("heart"));
  const TRgba colours[] = {Rgb(255, 90, 140), Rgb(255, 60, 90), Rgb(240, 120, 220), Rgb(255, 150, 170)};
  for (int layer = 0; layer < 3; ++layer) {
    TImage l(W, H);
    const int n = layer == 0 ? 40 : layer == 1 ? 22 : 9;
    for (int i = 0; i < n; ++i) {
      const double s = (layer == 0 ? rnd.Uniform(8, 18) : layer == 1 ? rnd.Uniform(18, 36) : rnd.Uniform(36, 70)) * W / 1024.0;
      TRgba c = colours[rnd.Next() % 4];
      c.A = float(layer == 2 ? 0.75 : 0.6);
      FillPath(l, HeartPath(rnd.Uniform(0, W), rnd.Uniform(0, H), s), c);
    }
    Blur(l, layer == 0 ? 3 : layer == 1 ? 1 : 6);
    Screen(img, l);
  }
  return img;
}

void Flake(TImage& Img, double X, double Y, double R, float A) {
  TPath arms;
  for (int k = 0; k < 6; ++k) {
    const double a = k * Pi / 3, c = std::cos(a), s = std::sin(a);
    arms.MoveTo(X, Y);
    arms.LineTo(X + c * R, Y + s * R);
    arms.Close();
    for (double t : {0.45, 0.7}) {
      const double bx = X + c * R * t, by = Y + s * R * t, l = R * 0.28;
      for (double side : {-1.0, 1.0}) {
        const double b = a + side * Pi / 4;
        arms.MoveTo(bx, by);
        arms.LineTo(bx + std::cos(b) * l, by + std::sin(b) * l);
        arms.Close();
      }
    }
  }
  StrokePath(Img, arms, std::max(1.0, R * 0.09), Rgb(255, 255, 255, A), false);
}

TImage SceneSnow(int W, int H) {
  TImage img(W, H, Rgb(0, 0, 0));
  TRandom rnd(HashText("snow"));
  const double k = W / 1024.0;
  struct {
    int N;
    double R0, R1;
    float A;
    int Blur;
  } layers[] = {{420, 1.0, 2.2, 0.55f, 1}, {160, 2.5, 4.5, 0.8f, 1}, {40, 5, 9, 0.85f, 3}};
  for (const auto& ly : layers) {
    TImage l(W, H);
    for (int i = 0; i < ly.N; ++i) FillCircle(l, rnd.Uniform(0, W), rnd.Uniform(0, H), rnd.Uniform(ly.R0, ly.R1) * k, Rgb(255, 255, 255, ly.A));
    Blur(l, ly.Blur, 2);
    Screen(img, l);
  }
  TImage flakes(W, H);
  for (int i = 0; i < 14; ++i) Flake(flakes, rnd.Uniform(0, W), rnd.Uniform(0, H), rnd.Uniform(14, 34) * k, 0.85f);
  Screen(img, flakes);
  return img;
}

TImage SceneStar(int W, int H) {
  // Soft Light: grey 128 leaves the image alone; the night tone darkens the
  // top, the stars lighten.
  TImage img(W, H);
  const std::uint32_t seed = HashText("star");
  Shade(img, [&](double u, double v) {
    const double band = std::exp(-std::pow((v - 0.55 + (u - 0.5) * 0.6) / 0.12, 2)) * (0.6 + 0.4 * TileNoise(u, v, 6, 4, seed));
    TRgba c = Mix(Rgb(84, 92, 128), Rgb(128, 128, 128), float(SmoothStep(0.0, 0.85, v)));
    return Mix(c, Rgb(150, 148, 160), float(band * 0.7));
  });
  TRandom rnd(seed);
  const double k = W / 1024.0;
  TImage stars(W, H);
  for (int i = 0; i < 320; ++i) {
    const float a = float(rnd.Uniform(0.35, 0.9));
    FillCircle(stars, rnd.Uniform(0, W), rnd.Uniform(0, H * 0.9), rnd.Uniform(0.6, 1.6) * k, Rgb(255, 255, 255, a));
  }
  TImage bright(W, H);
  for (int i = 0; i < 12; ++i) {
    const double x = rnd.Uniform(0, W), y = rnd.Uniform(0, H * 0.75), r = rnd.Uniform(10, 26) * k;
    FillCircle(bright, x, y, r * 0.25, Rgb(255, 255, 240, 0.9f));
    for (int d = 0; d < 2; ++d) {
      TPath p;
      if (d == 0) p.Polygon({{x - r * 2, y}, {x, y - r * 0.08}, {x + r * 2, y}, {x, y + r * 0.08}});
      else p.Polygon({{x, y - r * 2}, {x + r * 0.08, y}, {x, y + r * 2}, {x - r * 0.08, y}});
      FillPath(bright, p, Rgb(255, 255, 245, 0.8f));
    }
  }
  Blur(bright, 1, 2);
  for (TImage* l : {&stars, &bright}) Over(img, *l, 0, 0);
  return img;
}

// ---------------------------------------------------------------------------
// Seamless tiles (the value at u and u + 1 agree).

TImage TileChecker(int S) {
  return Shaded(S, S, [&](double u, double v) {
    const bool a = (int(u * 4) + int(v * 4)) % 2 == 0;
    return a ? Rgb(214, 218, 226) : Rgb(168, 176, 190);
  });
}

TImage TileBricks(int S) {
  const std::uint32_t seed = HashText("bricks");
  return Shaded(S, S, [&](double u, double v) {
    const int row = int(v * 4);
    const double bu = u * 2 + (row % 2) * 0.5, bv = v * 4;
    const double fu = bu - std::floor(bu), fv = bv - std::floor(bv);
    const bool mortar = fu < 0.04 || fu > 0.96 || fv < 0.07 || fv > 0.93;
    const double n = TileNoise(u, v, 8, 3, seed);
    if (mortar) return Mix(Rgb(190, 184, 172), Rgb(160, 152, 140), float(n));
    const int brick = int(std::floor(bu)) * 7 + row * 3;
    const float tone = float(((brick * 37) % 5) / 5.0 * 0.25);
    return Mix(Mix(Rgb(170, 72, 48), Rgb(128, 52, 40), tone), Rgb(90, 40, 30), float(n * 0.35));
  });
}

TImage TileWood(int S, const char* Name = "wood", TRgba Light = Rgb(206, 158, 104), TRgba Dark = Rgb(140, 90, 52)) {
  TImage img(S, S);
  const std::uint32_t seed = HashText(Name);
  Shade(img, [&](double u, double v) {
    const double warp = TileNoise(u, v, 2, 3, seed) * 3.0;
    const double rings = 0.5 + 0.5 * std::sin((v * 6 + warp) * 2 * Pi);
    const double fibre = TileNoise(u, v * 0.25 + 0.5, 16, 2, seed + 1);
    return Mix(Light, Dark, float(rings * 0.7 + fibre * 0.3));
  });
  return img;
}

TImage TileCanvas(int S, const char* Name = "canvas", TRgba Base = Rgb(222, 212, 190)) {
  TImage img(S, S);
  const std::uint32_t seed = HashText(Name);
  Shade(img, [&](double u, double v) {
    const double wx = 0.5 + 0.5 * std::sin(u * 16 * 2 * Pi), wy = 0.5 + 0.5 * std::sin(v * 16 * 2 * Pi);
    const double weave = (int(u * 16) + int(v * 16)) % 2 ? wx : wy;
    return Mix(Base, Scale(Base, 0.78f), float(weave * 0.5 + TileNoise(u, v, 8, 3, seed) * 0.4));
  });
  return img;
}

TImage TileDots(int S) {
  TImage img(S, S, Rgb(250, 236, 214));
  const double r = S * 0.11;
  for (double cx : {0.25, 0.75})
    for (double cy : {0.25, 0.75}) FillCircle(img, cx * S, cy * S, r, Rgb(226, 96, 90));
  // The offset dots, wrapped round the edges.
  for (int dx : {0, S})
    for (int dy : {0, S}) FillCircle(img, dx, dy, r * 0.7, Rgb(96, 150, 200));
  FillCircle(img, S / 2.0, S / 2.0, r * 0.7, Rgb(96, 150, 200));
  return img;
}

TImage TileStripes(int S) {
  return Shaded(S, S, [&](double u, double v) {
    const double t = (u + v) * 4;  // four stripes per tile along the diagonal
    const double f = t - std::floor(t);
    const double edge = SmoothStep(0.46, 0.5, f) - SmoothStep(0.96, 1.0, f);
    return Mix(Rgb(64, 110, 160), Rgb(236, 240, 246), float(edge));
  });
}

TImage TileMarble(int S) {
  const std::uint32_t seed = HashText("marble");
  return Shaded(S, S, [&](double u, double v) {
    const double n = TileNoise(u, v, 3, 5, seed);
    const double vein = std::pow(1 - std::fabs(std::sin((u + v + n * 2.5) * 2 * Pi)), 8);
    return Mix(Rgb(232, 230, 226), Rgb(120, 120, 128), float(vein * 0.8 + n * 0.1));
  });
}

TImage TileGold(int S) {
  const std::uint32_t seed = HashText("gold");
  return Shaded(S, S, [&](double u, double v) {
    const double n = TileNoise(u, v, 4, 4, seed);
    const double sheen = 0.5 + 0.5 * std::sin((v * 2 + n) * 2 * Pi);
    return Mix(Rgb(150, 108, 36), Rgb(246, 214, 120), float(sheen * 0.8 + n * 0.2));
  });
}

TImage TileMetal(int S) {
  const std::uint32_t seed = HashText("metal");
  return Shaded(S, S, [&](double u, double v) {
    // Brushed along the rows: fine streaks that vary down the tile only.
    const double streak = TileNoise(0.5, v, 32, 2, seed) * 0.6 + TileNoise(u, v, 4, 2, seed + 3) * 0.4;
    return Mix(Rgb(150, 156, 164), Rgb(222, 226, 232), float(streak));
  });
}

TImage TileBamboo(int S) {
  const std::uint32_t seed = HashText("bamboo");
  return Shaded(S, S, [&](double u, double v) {
    const double node = std::exp(-std::pow((u - 0.5) / 0.03, 2));  // a joint across the stem
    const double fibre = TileNoise(u, v, 8, 2, seed);
    TRgba c = Mix(Rgb(176, 190, 96), Rgb(120, 140, 60), float(fibre * 0.5 + 0.25 * std::sin(v * 6 * Pi) + 0.25));
    return Mix(c, Rgb(90, 100, 40), float(node * 0.8));
  });
}

TImage TileLinen(int S) { return TileCanvas(S, "linen", Rgb(204, 196, 178)); }

// ---------------------------------------------------------------------------
// Brush tips: square greyscale, black where the brush paints.

TImage TipRound(int S, bool Soft) {
  TImage img(S, S);
  const double c = S / 2.0;
  Shade(img, [&](double u, double v) {
    const double d = std::hypot(u * S - c, v * S - c);
    double ink;
    if (Soft) {
      // The dab is the nominal size plus 30 % on every side: the core fills
      // the nominal circle (radius S / 3.2) and the feather reaches the edge.
      const double core = S / 3.2 * 0.7;
      ink = 1 - SmoothStep(core, c, d);
    } else {
      ink = Clamp01(c - 1 - d + 0.5);
    }
    const float g = float(1 - ink);
    return TRgba{g, g, g, 1};
  });
  return img;
}

TImage TipChalk(int S) {
  TImage img(S, S);
  const std::uint32_t seed = HashText("chalk");
  const double c = S / 2.0;
  Shade(img, [&](double u, double v) {
    const double d = std::hypot(u * S - c, v * S - c) / c;
    const double n = TileNoise(u, v, 16, 3, seed);
    const double ink = Clamp01((1 - SmoothStep(0.75, 1.0, d)) * SmoothStep(0.25, 0.55, n) * 1.3);
    const float g = float(1 - ink);
    return TRgba{g, g, g, 1};
  });
  return img;
}

TImage TipSpatter(int S) {
  TImage ink(S, S);
  TRandom rnd(HashText("spatter"));
  for (int i = 0; i < 90; ++i) {
    const double a = rnd.Uniform(0, 2 * Pi), r = std::sqrt(rnd.Uniform()) * S * 0.44;
    FillCircle(ink, S / 2.0 + std::cos(a) * r, S / 2.0 + std::sin(a) * r, rnd.Uniform(2, 12) * S / 256.0, Rgb(0, 0, 0));
  }
  TImage img(S, S, Rgb(255, 255, 255));
  Over(img, ink, 0, 0);
  return img;
}

TImage DrawTip(const std::string& Name, int S) {
  if (Name == "hard") return TipRound(S, false);
  if (Name == "soft") return TipRound(S, true);
  if (Name == "chalk") return TipChalk(S);
  if (Name == "spatter") return TipSpatter(S);
  throw std::invalid_argument("unknown brush tip \"" + Name + "\"");
}

// The preview: the tip's ink as a dark colour with alpha.
TImage TipPreview(const std::string& Name, int S) {
  TImage tip = Resample(DrawTip(Name, 256), S, S);
  for (TRgba& p : tip.Px) p = Rgb(40, 40, 48, 1 - p.R);
  return tip;
}

// ---------------------------------------------------------------------------
// Shadow and reflection icons, 32 x 32.

TPath IconObject(double X, double Y, double W, double H) { return RoundRectPath(X, Y, W, H, 3); }

void DrawIconObject(TImage& Img, double X, double Y, double W, double H) {
  TImage obj(Img.W, Img.H);
  FillPath(obj, IconObject(X, Y, W, H), Rgb(64, 120, 204));
  for (int y = 0; y < obj.H; ++y)  // lighter at the top
    for (int x = 0; x < obj.W; ++x) obj.At(x, y) = Mix(obj.At(x, y), TRgba{0.62f, 0.78f, 0.95f, obj.At(x, y).A},
                                                        float(Clamp01(1 - (y - Y) / H) * 0.7));
  StrokePath(obj, IconObject(X + 0.5, Y + 0.5, W - 1, H - 1), 1, Rgb(28, 60, 120));
  Over(Img, obj, 0, 0);
}

void CustomDots(TImage& Img) {
  for (int i = 0; i < 3; ++i) FillCircle(Img, 21 + i * 4, 28, 1.3, Rgb(40, 40, 40));
}

TImage ShadowIcon(int Preset) {
  TImage img(32, 32);
  const double x = 8, y = 8, w = 15, h = 15;
  if (Preset > 0) {
    TImage sh(32, 32);
    // The presets of the shadow table: angles 45, 135, 225, 315 at distance
    // 4 with blur 3; then glows of zoom 3 / blur 10 and zoom 8 / blur 20.
    double dx = 0, dy = 0, grow = 0;
    int blur = 1;
    float alpha = 0.6f;
    if (Preset <= 4 || Preset == 7) {
      const double a = (45 + 90 * ((Preset == 7 ? 1 : Preset) - 1)) * Pi / 180;
      dx = std::cos(a) * 3.2;
      dy = std::sin(a) * 3.2;
    } else {
      grow = Preset == 5 ? 1.5 : 3;
      blur = Preset == 5 ? 2 : 3;
      alpha = Preset == 5 ? 0.65f : 0.9f;
    }
    FillPath(sh, IconObject(x + dx - grow, y + dy - grow, w + 2 * grow, h + 2 * grow), Rgb(0, 0, 0, alpha));
    Blur(sh, blur, 2);
    Over(img, sh, 0, 0);
  }
  DrawIconObject(img, x, y, w, h);
  if (Preset == 7) CustomDots(img);
  return img;
}

TImage ReflectIcon(int Preset) {
  TImage img(32, 32);
  const double x = 8, y = 3, w = 16, h = 13;
  if (Preset > 0) {
    // Heights 50, 60, 75, 90 %, then 60 and 75 % blurred.
    const double heights[] = {0, 0.5, 0.6, 0.75, 0.9, 0.6, 0.75, 0.66};
    TImage obj(32, 32);
    DrawIconObject(obj, x, y, w, h);
    TImage refl(32, 32);
    const double rh = h * heights[Preset];
    for (int yy = 0; yy < 32; ++yy) {
      const double t = (yy - (y + h + 1)) / rh;  // 0 at the mirror line
      if (t < 0 || t >= 1) continue;
      const int src = int(std::lround(y + h - 1 - (yy - (y + h + 1))));
      if (src < 0) continue;
      for (int xx = 0; xx < 32; ++xx) {
        TRgba p = obj.At(xx, src);
        p.A *= float(0.55 * (1 - t));
        refl.At(xx, yy) = p;
      }
    }
    if (Preset == 5 || Preset == 6) Blur(refl, 1, 1);
    Over(img, refl, 0, 0);
    Over(img, obj, 0, 0);
  } else {
    DrawIconObject(img, x, y, w, h);
  }
  if (Preset == 7) CustomDots(img);
  return img;
}

// ---------------------------------------------------------------------------
// The sample picture the frame thumbnails and previews show.

TImage SamplePicture(int W, int H) {
  TImage img(W, H);
  const std::uint32_t seed = HashText("sample");
  Shade(img, [&](double u, double v) {
    const double hill1 = 0.58 + 0.08 * std::sin(u * 5.5 + 1.2) + 0.04 * TileNoise(u, 0.2, 4, 2, seed);
    const double hill2 = 0.72 + 0.06 * std::sin(u * 8 + 3.0);
    if (v > hill2) return Mix(Rgb(82, 150, 66), Rgb(50, 112, 44), float((v - hill2) / (1 - hill2)));
    if (v > hill1) return Mix(Rgb(112, 160, 128), Rgb(80, 132, 104), float((v - hill1) / 0.2));
    return Mix(Rgb(86, 146, 222), Rgb(186, 218, 244), float(v / hill1));
  });
  FillCircle(img, W * 0.76, H * 0.24, W * 0.07, Rgb(255, 222, 110));
  TRandom rnd(seed);
  for (int i = 0; i < 30; ++i)
    FillCircle(img, rnd.Uniform(0, W), H * rnd.Uniform(0.82, 0.98), W * 0.008, i % 2 ? Rgb(240, 200, 60) : Rgb(226, 90, 110));
  return img;
}

TPath FromFramePath(const TFramePath& F) {
  TPath p;
  bool open = false;
  auto start = [&](double X, double Y) {
    if (!open) p.MoveTo(X, Y);
    open = true;
  };
  for (const TFramePathItem& it : F) {
    switch (it.Kind) {
      case TFramePathItem::Arc: {
        const double a = it.Start * Pi / 180;
        start(it.X + it.W / 2 * (1 + std::cos(a)), it.Y + it.H / 2 * (1 + std::sin(a)));
        p.ArcTo(it.X, it.Y, it.W, it.H, it.Start, it.Sweep);
        break;
      }
      case TFramePathItem::Line:
      case TFramePathItem::Point:
        for (const TFramePointF& q : it.Points) {
          start(q.X, q.Y);
          p.LineTo(q.X, q.Y);
        }
        break;
      case TFramePathItem::Beziers:
        p.MoveTo(it.Points[0].X, it.Points[0].Y);
        for (size_t i = 1; i + 2 < it.Points.size(); i += 3)
          p.BezierTo({it.Points[i].X, it.Points[i].Y}, {it.Points[i + 1].X, it.Points[i + 1].Y},
                     {it.Points[i + 2].X, it.Points[i + 2].Y});
        p.Close();
        break;
      case TFramePathItem::Polygon: {
        std::vector<TPt> pts;
        for (const TFramePointF& q : it.Points) pts.push_back({q.X, q.Y});
        p.Polygon(pts);
        break;
      }
      case TFramePathItem::Ellipse: p.Ellipse(it.X, it.Y, it.W, it.H); break;
      case TFramePathItem::Rect: p.Rect(it.X, it.Y, it.W, it.H); break;
    }
  }
  p.Close();
  return p;
}

TImage FitInto(const TImage& Src, int MaxW, int MaxH) {
  const double k = std::min(double(MaxW) / Src.W, double(MaxH) / Src.H);
  return Resample(Src, std::max(1, int(std::lround(Src.W * k))), std::max(1, int(std::lround(Src.H * k))));
}

constexpr int SampleW = 240, SampleH = 180;

TImage Frame0Thumb(int Mode, int V1, std::uint32_t C1, int V2, std::uint32_t C2, int V3, std::uint32_t C3) {
  TFrame0Layout l;
  if (!Frame0Layout(Mode, SampleW, SampleH, V1, V2, V3, l)) throw std::invalid_argument("no drawn frame of this mode");
  const TRgba col[4] = {TRgba{}, FromTColor(C1), FromTColor(C2), FromTColor(C3)};
  TImage f(l.Width, l.Height, col[l.FillColor]);
  for (const TFrameBand& b : l.Bands) FillRect(f, b.Rect.Left, b.Rect.Top, b.Rect.Right, b.Rect.Bottom, col[b.Color]);
  const TPath cut = FromFramePath(l.CutOut);
  const TContours cc = cut.Contours();
  TMask m = MaskAround(cc, f.W, f.H);
  FillMask(m, cc);
  ClearThrough(f, m);
  if (l.Outline) StrokePath(f, cut, 1, col[2]);
  TImage t(l.Width, l.Height, col[1]);
  Over(t, SamplePicture(SampleW, SampleH), l.X0, l.Y0);
  Over(t, f, 0, 0);
  for (const TRect& r : l.Margins) FillRect(t, r.Left, r.Top, r.Right, r.Bottom, col[1]);
  return FitInto(t, 78, 66);
}

TImage Frame1Thumb(int Mode, int V1, std::uint32_t C1, int V2) {
  TFramePath shape;
  if (!Frame1Shape(Mode, SampleW, SampleH, V1, V2, shape)) throw std::invalid_argument("no cut frame of this mode");
  TImage t(SampleW + 2 * V1, SampleH + 2 * V1);
  Over(t, SamplePicture(SampleW, SampleH), V1, V1);
  const TPath p = FromFramePath(shape);
  const TContours cc = p.Contours();
  TMask inside(t.W, t.H);
  FillMask(inside, cc);
  for (int y = 0; y < t.H; ++y)
    for (int x = 0; x < t.W; ++x) t.At(x, y).A *= inside.At(x, y);
  if (V1 >= 1) StrokePath(t, p, V1, FromTColor(C1));
  return FitInto(t, 78, 66);
}

// ---------------------------------------------------------------------------
// Mask frames: white where the picture shows, dark where the frame colour
// covers.

TImage MaskFrame(const std::string& Name, int W, int H) {
  TImage m(W, H, Rgb(0, 0, 0));
  const TRgba white = Rgb(255, 255, 255);
  TRandom rnd(HashText(Name.c_str()));
  const std::uint32_t seed = HashText(Name.c_str());
  if (Name == "oval") {
    TPath p;
    p.Ellipse(W * 0.07, H * 0.07, W * 0.86, H * 0.86);
    FillPath(m, p, white);
    Blur(m, 18);
  } else if (Name == "rounded") {
    FillPath(m, RoundRectPath(44, 44, W - 88, H - 88, 110), white);
    Blur(m, 2, 2);
  } else if (Name == "torn" || Name == "brush") {
    // A rectangle whose edge wanders: torn paper (sharp) or brush strokes
    // (streaked along the edge, softer).
    const bool torn = Name == "torn";
    const double inset = torn ? 60 : 100, amp = torn ? 26 : 34;
    std::vector<TPt> pts;
    auto edge = [&](double t) { return (TileNoise(t, 0.5, torn ? 24 : 10, torn ? 4 : 3, seed) - 0.5) * 2 * amp; };
    const int n = 400;
    for (int i = 0; i < n; ++i) pts.push_back({inset + (W - 2 * inset) * i / n, inset + edge(i / double(n) * 0.25)});
    for (int i = 0; i < n; ++i) pts.push_back({W - inset - edge(0.25 + i / double(n) * 0.25), inset + (H - 2 * inset) * i / n});
    for (int i = 0; i < n; ++i) pts.push_back({W - inset - (W - 2 * inset) * i / n, H - inset - edge(0.5 + i / double(n) * 0.25)});
    for (int i = 0; i < n; ++i) pts.push_back({inset + edge(0.75 + i / double(n) * 0.25), H - inset - (H - 2 * inset) * i / n});
    TPath p;
    p.Polygon(pts);
    FillPath(m, p, white);
    if (!torn) {
      // Strokes along the edge, straddling it.
      for (int i = 0; i < 140; ++i) {
        const int side = i % 4;
        const bool horiz = side % 2 == 0;
        const double a = rnd.Uniform(0.0, 1.0), len = rnd.Uniform(80, 220), th = rnd.Uniform(8, 22);
        const double off = rnd.Uniform(-amp, amp * 0.4);
        double x, y;
        if (horiz) {
          x = a * W - len / 2;
          y = (side == 0 ? inset + off : H - inset - off) - th / 2;
        } else {
          x = (side == 1 ? W - inset - off : inset + off) - th / 2;
          y = a * H - len / 2;
        }
        FillPath(m, RoundRectPath(x, y, horiz ? len : th, horiz ? th : len, th / 2), white);
      }
      Blur(m, 2, 2);
    } else {
      Blur(m, 1, 1);
    }
  } else if (Name == "film") {
    FillRect(m, 70, 110, W - 70, H - 110, white);
    for (int x = 30; x + 24 < W; x += 56) {
      FillPath(m, RoundRectPath(x, 38, 26, 40, 5), white);
      FillPath(m, RoundRectPath(x, H - 78, 26, 40, 5), white);
    }
  } else if (Name == "heart") {
    FillPath(m, HeartPath(W / 2.0, H * 0.47, H * 0.46), white);
    Blur(m, 6);
  } else if (Name == "stamp") {
    FillRect(m, 60, 60, W - 60, H - 60, white);
    const double r = 16;
    for (double x = 60; x <= W - 60 + 0.5; x += 40) {
      FillCircle(m, x, 60, r, Rgb(0, 0, 0));
      FillCircle(m, x, H - 60, r, Rgb(0, 0, 0));
    }
    for (double y = 60; y <= H - 60 + 0.5; y += 40) {
      FillCircle(m, 60, y, r, Rgb(0, 0, 0));
      FillCircle(m, W - 60, y, r, Rgb(0, 0, 0));
    }
    TPath inner;
    inner.Rect(100, 100, W - 200, H - 200);
    StrokePath(m, inner, 3, Rgb(60, 60, 60));
  } else if (Name == "clouds") {
    FillRect(m, 150, 150, W - 150, H - 150, white);
    for (int i = 0; i < 70; ++i) {
      const double t = i / 70.0 * 4;
      const int side = int(t);
      const double f = t - side;
      double x = 0, y = 0;
      switch (side) {
        case 0: x = 150 + f * (W - 300); y = 150; break;
        case 1: x = W - 150; y = 150 + f * (H - 300); break;
        case 2: x = W - 150 - f * (W - 300); y = H - 150; break;
        default: x = 150; y = H - 150 - f * (H - 300); break;
      }
      FillCircle(m, x, y, rnd.Uniform(70, 120), white);
    }
    Blur(m, 10);
  } else {
    throw std::invalid_argument("unknown mask frame \"" + Name + "\"");
  }
  return m;
}

// ---------------------------------------------------------------------------

int IntArg(const TRecipe& R, size_t I) {
  if (I >= R.Args.size()) throw std::invalid_argument("recipe \"" + R.Name + "\" needs " + std::to_string(I + 1) + " arguments");
  const std::string& s = R.Args[I];
  size_t used = 0;
  long long v = 0;
  try {
    v = std::stoll(s, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != s.size() || s.empty() || v < -2147483648LL || v > 4294967295LL)
    throw std::invalid_argument("recipe \"" + R.Name + "\": argument " + std::to_string(I + 1) + " \"" + s + "\" is not a number");
  return int(std::uint32_t(v));
}

const std::string& NameArg(const TRecipe& R, size_t I) {
  if (I >= R.Args.size()) throw std::invalid_argument("recipe \"" + R.Name + "\" needs " + std::to_string(I + 1) + " arguments");
  return R.Args[I];
}

TImage DrawSceneNew(const std::string& Name, int W, int H) {
  if (Name == "sunshine") return SceneSunshine(W, H);
  if (Name == "sunny") return SceneSunny(W, H);
  if (Name == "droplet") return SceneDroplet(W, H);
  if (Name == "heart") return SceneHeart(W, H);
  if (Name == "snow") return SceneSnow(W, H);
  if (Name == "star") return SceneStar(W, H);
  throw std::invalid_argument("unknown scene \"" + Name + "\"");
}

// A scene is drawn once: its texture and its small copy use the same picture.
const TImage& DrawScene(const std::string& Name, int W, int H) {
  static std::map<std::string, TImage> drawn;
  const std::string key = Name + "/" + std::to_string(W) + "x" + std::to_string(H);
  auto it = drawn.find(key);
  if (it == drawn.end()) it = drawn.emplace(key, DrawSceneNew(Name, W, H)).first;
  return it->second;
}

TImage DrawTile(const std::string& Name, int S) {
  static const std::map<std::string, std::function<TImage(int)>> tiles = {
      {"checker", TileChecker}, {"bricks", TileBricks}, {"wood", [](int s) { return TileWood(s); }},
      {"canvas", [](int s) { return TileCanvas(s); }}, {"dots", TileDots}, {"stripes", TileStripes},
      {"marble", TileMarble}, {"gold", TileGold}, {"metal", TileMetal}, {"bamboo", TileBamboo}, {"linen", TileLinen},
      {"walnut", [](int s) { return TileWood(s, "walnut", Rgb(150, 100, 64), Rgb(84, 52, 32)); }}};
  auto it = tiles.find(Name);
  if (it == tiles.end()) throw std::invalid_argument("unknown tile \"" + Name + "\"");
  return it->second(S);
}

// A scene texture scaled down, or the other recipes.
const std::map<std::string, std::function<TImage(const TRecipe&)>>& Recipes() {
  static const std::map<std::string, std::function<TImage(const TRecipe&)>> r = {
      {"scene", [](const TRecipe& R) { return DrawScene(NameArg(R, 0), IntArg(R, 1), IntArg(R, 2)); }},
      {"scene-copy",
       [](const TRecipe& R) { return Resample(DrawScene(NameArg(R, 0), IntArg(R, 1), IntArg(R, 2)), IntArg(R, 3), IntArg(R, 4)); }},
      {"tile", [](const TRecipe& R) { return DrawTile(NameArg(R, 0), IntArg(R, 1)); }},
      {"tip", [](const TRecipe& R) { return DrawTip(NameArg(R, 0), IntArg(R, 1)); }},
      {"tip-preview", [](const TRecipe& R) { return TipPreview(NameArg(R, 0), IntArg(R, 1)); }},
      {"shadow-icon", [](const TRecipe& R) { return ShadowIcon(IntArg(R, 0)); }},
      {"reflection-icon", [](const TRecipe& R) { return ReflectIcon(IntArg(R, 0)); }},
      {"drawn-frame",
       [](const TRecipe& R) {
         return Frame0Thumb(IntArg(R, 0), IntArg(R, 1), std::uint32_t(IntArg(R, 2)), IntArg(R, 3), std::uint32_t(IntArg(R, 4)),
                            IntArg(R, 5), std::uint32_t(IntArg(R, 6)));
       }},
      {"cut-frame",
       [](const TRecipe& R) { return Frame1Thumb(IntArg(R, 0), IntArg(R, 1), std::uint32_t(IntArg(R, 2)), IntArg(R, 3)); }},
      {"mask", [](const TRecipe& R) { return MaskFrame(NameArg(R, 0), IntArg(R, 1), IntArg(R, 2)); }},
      {"sample", [](const TRecipe& R) { return SamplePicture(IntArg(R, 0), IntArg(R, 1)); }},
  };
  return r;
}

}  // namespace

bool KnownRecipe(const std::string& Name) { return Recipes().count(Name) != 0; }

TImage DrawRecipe(const TRecipe& Recipe) {
  auto it = Recipes().find(Recipe.Name);
  if (it == Recipes().end()) throw std::invalid_argument("unknown recipe \"" + Recipe.Name + "\"");
  return it->second(Recipe);
}

TImage DrawLayeredPreview(const std::vector<TPreviewLayer>& Layers, int MaxW, int MaxH) {
  std::vector<TFrameLayerWidths> widths;
  for (const TPreviewLayer& l : Layers) widths.push_back({l.Enabled, l.Top, l.Left, l.Right, l.Bottom});
  const TFrame2Layout lay = Frame2Layout(SampleW, SampleH, widths);
  TImage t(lay.Width, lay.Height, Rgb(255, 255, 255));
  for (Integer i : lay.Painted) {
    const TPreviewLayer& l = Layers[size_t(i)];
    const TRect& r = lay.Outer[size_t(i)];
    if (l.Solid || l.Texture == nullptr) {
      FillRect(t, r.Left, r.Top, r.Right, r.Bottom, FromTColor(l.Color));
      if (l.Shaded)  // nested one-pixel frames stepping darker
        for (int k = 0; k < l.ShadeCount; ++k) {
          TPath f;
          f.Rect(r.Left + k + 0.5, r.Top + k + 0.5, r.Right - r.Left - 2 * k - 1, r.Bottom - r.Top - 2 * k - 1);
          StrokePath(t, f, 1, Rgb(0, 0, 0, 0.12f + 0.05f * float(l.ShadeCount - k)));
        }
    } else {
      for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) t.At(x, y) = l.Texture->At((x - r.Left) % l.Texture->W, (y - r.Top) % l.Texture->H);
    }
  }
  Over(t, SamplePicture(SampleW, SampleH), lay.X0, lay.Y0);
  return FitInto(t, MaxW, MaxH);
}

}  // namespace mediagen
