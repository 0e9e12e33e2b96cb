// The gradient brushes the bridge paints itself on DC surfaces: path
// gradients (libgdiplus paints a circle whatever the path) and linear
// gradients with gamma correction (libgdiplus ignores the flag).
#include <algorithm>
#include <atomic>
#include <cmath>
#include <unordered_map>
#include <vector>

#include "platform/GdiPlusStatus.h"
#include "platform/win/GdiPlusBridgeParts.h"
#include "rtl/ParallelBands.h"
#include "rtl/ScopeGuard.h"

namespace gdipflat::bridge {

namespace {

// Path gradients. libgdiplus paints a circle of radius min(w, h) / 2 about
// the centre whatever the path; the bridge paints them itself on DC
// surfaces: libgdiplus gives the anti-aliased coverage (the shape filled in
// opaque white on a scratch mask with the same transform, clip and
// smoothing), our code colours each covered pixel from the brush (centre
// colour and point, surround colours, focus scales, factor or preset blend),
// and the result is drawn over the target.

struct TGradientShape {
  std::vector<GpPointF> Boundary;  // the brush's flattened outline
};

SRWLOCK GradientsLock = SRWLOCK_INIT;
std::unordered_map<GpBrush*, TGradientShape>* Gradients = nullptr;

struct TLinearShape {
  double X0 = 0, Y0 = 0, Ax = 1, Ay = 0;
};

std::unordered_map<GpBrush*, TLinearShape>* Linears = nullptr;

void RememberLinear(GpBrush* B, const TLinearShape& S) {
  if (B == nullptr || !std::isfinite(S.Ax) || !std::isfinite(S.Ay)) return;
  TSrwLockExclusive lock(GradientsLock);
  (*Linears)[B] = S;
}

bool FindLinear(GpBrush* B, TLinearShape& Out) {
  TSrwLockShared lock(GradientsLock);
  auto it = Linears->find(B);
  if (it == Linears->end()) return false;
  Out = it->second;
  return true;
}


GpStatus (*LibCreatePathGradientFromPath)(const GpPath*, GpBrush**) = nullptr;
GpStatus (*LibCreatePathGradient)(const GpPointF*, INT, INT, GpBrush**) = nullptr;
GpStatus (*LibCreatePathGradientI)(const GpPoint*, INT, INT, GpBrush**) = nullptr;
GpStatus (*LibCloneBrush)(GpBrush*, GpBrush**) = nullptr;
GpStatus (*LibDeleteBrush)(GpBrush*) = nullptr;
GpStatus (*LibFillPath)(GpGraphics*, GpBrush*, GpPath*) = nullptr;

void RememberGradient(GpBrush* B, std::vector<GpPointF> Pts) {
  if (B == nullptr || Pts.size() < 3) return;
  TSrwLockExclusive lock(GradientsLock);
  (*Gradients)[B].Boundary = std::move(Pts);
}

bool FindGradient(GpBrush* B, TGradientShape& Out) {
  TSrwLockShared lock(GradientsLock);
  auto it = Gradients->find(B);
  if (it == Gradients->end()) return false;
  Out = it->second;
  return true;
}

GpStatus BridgeDeleteBrush(GpBrush* Brush) {
  if (Brush != nullptr) {
    TSrwLockExclusive lock(GradientsLock);
    Gradients->erase(Brush);
    Linears->erase(Brush);
  }
  return LibDeleteBrush(Brush);
}

// A brush the library has made (St Ok, *B set) gets what the bridge records
// of it; when that fails (no memory) the brush goes again and the creation
// answers OutOfMemory: a brush the bridge knows nothing of would be painted
// the library's wrong way.
template <class F>
GpStatus Recorded(GpStatus St, GpBrush** B, F Record) {
  if (St != Ok || B == nullptr || *B == nullptr) return St;
  try {
    Record(*B);
    return St;
  } catch (...) {
    BridgeDeleteBrush(*B);
    *B = nullptr;
    return OutOfMemory;
  }
}

GpStatus BridgeCreatePathGradientFromPath(const GpPath* Path, GpBrush** Brush) {
  return Recorded(LibCreatePathGradientFromPath(Path, Brush), Brush, [&](GpBrush* B) {
    GpPath* copy = nullptr;
    if (Gp.GdipClonePath(const_cast<GpPath*>(Path), &copy) != Ok) return;
    TFinally drop([&] { Gp.GdipDeletePath(copy); });
    INT n = 0;
    if (Gp.GdipFlattenPath(copy, nullptr, 0.25f) == Ok && Gp.GdipGetPointCount(copy, &n) == Ok && n >= 3) {
      std::vector<GpPointF> pts(static_cast<size_t>(n));
      if (Gp.GdipGetPathPoints(copy, pts.data(), n) == Ok) RememberGradient(B, std::move(pts));
    }
  });
}

GpStatus BridgeCreatePathGradient(const GpPointF* Pts, INT Count, INT Wrap, GpBrush** Brush) {
  return Recorded(LibCreatePathGradient(Pts, Count, Wrap, Brush), Brush, [&](GpBrush* B) {
    if (Pts != nullptr && Count >= 3) RememberGradient(B, std::vector<GpPointF>(Pts, Pts + Count));
  });
}

GpStatus BridgeCreatePathGradientI(const GpPoint* Pts, INT Count, INT Wrap, GpBrush** Brush) {
  return Recorded(LibCreatePathGradientI(Pts, Count, Wrap, Brush), Brush, [&](GpBrush* B) {
    if (Pts == nullptr || Count < 3) return;
    std::vector<GpPointF> f;
    for (INT i = 0; i < Count; ++i) f.push_back({REAL(Pts[i].X), REAL(Pts[i].Y)});
    RememberGradient(B, std::move(f));
  });
}

GpStatus BridgeCloneBrush(GpBrush* Brush, GpBrush** Clone) {
  return Recorded(LibCloneBrush(Brush, Clone), Clone, [&](GpBrush* B) {
    TGradientShape shape;
    if (FindGradient(Brush, shape)) RememberGradient(B, shape.Boundary);
    TLinearShape line;
    if (FindLinear(Brush, line)) RememberLinear(B, line);
  });
}

inline double Lerp(double A, double B, double T) { return A + (B - A) * T; }

uint32_t LerpColour(uint32_t A, uint32_t B, double T) {
  uint32_t out = 0;
  for (int sh = 0; sh < 32; sh += 8) {
    const double c = Lerp(double((A >> sh) & 0xFF), double((B >> sh) & 0xFF), T);
    out |= uint32_t(std::clamp(c, 0.0, 255.0) + 0.5) << sh;  // rounded half up, as lround for 0..255
  }
  return out;
}

// The blend a gradient brush carries: either preset colours or blend
// factors, each at positions 0..1 along the gradient.
struct TGradientStops {
  std::vector<REAL> BlendFactors, BlendPositions;
  std::vector<ARGB> PresetColours;
  std::vector<REAL> PresetPositions;

  // The preset colour at Pos, mixed by Mix; false when there are no presets.
  bool PresetAt(double Pos, uint32_t (*Mix)(uint32_t, uint32_t, double), uint32_t& Out) const {
    if (PresetColours.empty()) return false;
    const size_t n = PresetColours.size();
    Out = PresetColours[n - 1];
    if (Pos <= PresetPositions[0]) Out = PresetColours[0];
    else
      for (size_t i = 1; i < n; ++i)
        if (Pos <= PresetPositions[i]) {
          const double span = double(PresetPositions[i]) - PresetPositions[i - 1];
          Out = Mix(PresetColours[i - 1], PresetColours[i], span > 0 ? (Pos - PresetPositions[i - 1]) / span : 1);
          break;
        }
    return true;
  }

  // The blend factor at Pos (Pos itself when no factors are set).
  double FactorAt(double Pos) const {
    if (BlendFactors.size() < 2) return Pos;
    const size_t n = BlendFactors.size();
    if (Pos <= BlendPositions[0]) return BlendFactors[0];
    for (size_t i = 1; i < n; ++i)
      if (Pos <= BlendPositions[i]) {
        const double span = double(BlendPositions[i]) - BlendPositions[i - 1];
        return Lerp(BlendFactors[i - 1], BlendFactors[i], span > 0 ? (Pos - BlendPositions[i - 1]) / span : 1);
      }
    return BlendFactors[n - 1];
  }
};

uint32_t LerpColourGamma(uint32_t A, uint32_t B, double T);

struct TGradientPaint : TGradientStops {
  bool Gamma = false;  // colours mixed in linear light
  std::vector<GpPointF> Boundary;
  std::vector<ARGB> Surround;  // one per boundary point (or one for all)
  ARGB CentreColour = 0;
  GpPointF Centre{};
  REAL FocusX = 0, FocusY = 0;
  // The boundary's edges by the directions from the centre they can be seen
  // in (a ray's candidates, in boundary order; each list holds every edge
  // its ray can meet, so the answer is that of testing all edges).
  static constexpr int Directions = 512;
  std::vector<std::vector<uint32_t>> EdgesByDirection;

  // A direction as a pseudo-angle in [0, 4): it grows with the angle from
  // the x axis (clockwise on the screen) and needs no trigonometry.
  static double PseudoAngle(double X, double Y) {
    const double p = Y / (std::fabs(X) + std::fabs(Y));
    return X < 0 ? 2 - p : (Y < 0 ? 4 + p : p);
  }
  static int DirectionOf(double X, double Y) {
    return std::clamp(int(PseudoAngle(X, Y) * (Directions / 4.0)), 0, Directions - 1);
  }

  void IndexEdges() {
    EdgesByDirection.assign(Directions, {});
    const size_t n = Boundary.size();
    for (size_t i = 0; i < n; ++i) {
      const GpPointF a = Boundary[i], b = Boundary[(i + 1) % n];
      const double ax = double(a.X) - Centre.X, ay = double(a.Y) - Centre.Y;
      const double bx = double(b.X) - Centre.X, by = double(b.Y) - Centre.Y;
      // The centre's distance to the edge: an edge through it is seen from
      // every direction.
      const double ex = bx - ax, ey = by - ay, len2 = ex * ex + ey * ey;
      const double u = len2 > 0 ? std::clamp(-(ax * ex + ay * ey) / len2, 0.0, 1.0) : 0;
      if (std::hypot(ax + u * ex, ay + u * ey) < 1e-6) {
        for (auto& list : EdgesByDirection) list.push_back(uint32_t(i));
        continue;
      }
      // The edge subtends less than half a turn: from the end with the
      // smaller angle the short way round to the other, one direction cell
      // of margin on each side.
      const double cross = ax * by - ay * bx;
      const bool forward = cross >= 0;  // a to b turns clockwise on the screen
      int k0 = forward ? DirectionOf(ax, ay) : DirectionOf(bx, by);
      int k1 = forward ? DirectionOf(bx, by) : DirectionOf(ax, ay);
      if (k1 < k0) k1 += Directions;
      for (int k = k0 - 1; k <= k1 + 1; ++k)
        EdgesByDirection[size_t(((k % Directions) + Directions) % Directions)].push_back(uint32_t(i));
    }
    for (auto& list : EdgesByDirection) list.erase(std::unique(list.begin(), list.end()), list.end());
  }

  // The colour at brush-space point P.
  uint32_t ColourAt(double Px, double Py) const {
    const double dx = Px - Centre.X, dy = Py - Centre.Y;
    const double dist = std::sqrt(dx * dx + dy * dy);
    // Distance from the centre to the boundary along the ray through P, and
    // the surround colour there.
    double best = -1;
    uint32_t edgeColour = Surround.empty() ? 0xFFFFFFFFu : Surround[0];
    if (dist > 1e-9) {
      const double ux = dx / dist, uy = dy / dist;
      const size_t n = Boundary.size();
      for (const uint32_t e : EdgesByDirection[size_t(DirectionOf(ux, uy))]) {
        const size_t i = e;
        const GpPointF a = Boundary[i], b = Boundary[(i + 1) % n];
        const double ex = double(b.X) - a.X, ey = double(b.Y) - a.Y;
        const double den = ux * ey - uy * ex;
        if (std::fabs(den) < 1e-12) continue;
        const double ax = double(a.X) - Centre.X, ay = double(a.Y) - Centre.Y;
        const double t = (ax * ey - ay * ex) / den;   // along the ray
        const double s = (ax * uy - ay * ux) / den;   // along the edge
        if (t <= 1e-9 || s < -1e-9 || s > 1 + 1e-9) continue;
        if (t > best) {
          best = t;
          if (Surround.size() > 1) {
            const uint32_t ca = Surround[std::min(i, Surround.size() - 1)];
            const uint32_t cb = Surround[std::min((i + 1) % n, Surround.size() - 1)];
            edgeColour = (Gamma ? LerpColourGamma : LerpColour)(ca, cb, std::clamp(s, 0.0, 1.0));
          }
        }
      }
    }
    // Position from the boundary (0) to the centre (1).
    double pos = best > 0 ? 1 - std::min(1.0, dist / best) : 1;
    const double focus = std::max(double(FocusX), double(FocusY));
    if (focus > 0 && focus < 1) pos = std::min(1.0, pos / (1 - focus));
    else if (focus >= 1) pos = 1;
    const auto mix = Gamma ? LerpColourGamma : LerpColour;
    uint32_t preset = 0;
    if (PresetAt(pos, mix, preset)) return preset;
    const double factor = FactorAt(pos);
    return mix(edgeColour, CentreColour, std::clamp(factor, 0.0, 1.0));
  }
};

// A gradient brush's colour stops (its preset blend) or, without them, its
// blend factors, read through the brush kind's own calls; what the library
// refuses stays empty.
template <class TPaint, class TPresetCount, class TPreset, class TBlendCount, class TBlend>
void ReadGradientStops(TPaint& P, GpBrush* B, TPresetCount PresetCount, TPreset Preset, TBlendCount BlendCount,
                       TBlend Blend) {
  INT n = 0;
  if (PresetCount(B, &n) == Ok && n >= 2) {
    P.PresetColours.resize(size_t(n));
    P.PresetPositions.resize(size_t(n));
    if (Preset(B, P.PresetColours.data(), P.PresetPositions.data(), n) != Ok) {
      P.PresetColours.clear();
      P.PresetPositions.clear();
    }
  }
  n = 0;
  if (P.PresetColours.empty() && BlendCount(B, &n) == Ok && n >= 2) {
    P.BlendFactors.resize(size_t(n));
    P.BlendPositions.resize(size_t(n));
    if (Blend(B, P.BlendFactors.data(), P.BlendPositions.data(), n) != Ok) {
      P.BlendFactors.clear();
      P.BlendPositions.clear();
    }
  }
}

bool ReadGradient(GpBrush* B, TGradientPaint& G) {
  TGradientShape shape;
  if (!FindGradient(B, shape)) return false;
  G.Boundary = shape.Boundary;
  Gp.GdipGetPathGradientCenterColor(B, &G.CentreColour);
  Gp.GdipGetPathGradientCenterPoint(B, &G.Centre);
  Gp.GdipGetPathGradientFocusScales(B, &G.FocusX, &G.FocusY);
  BOOL gamma = 0;
  G.Gamma = Gp.GdipGetPathGradientGammaCorrection(B, &gamma) == Ok && gamma;
  G.IndexEdges();
  INT n = 0;
  Gp.GdipGetPathGradientSurroundColorCount(B, &n);
  if (n > 0) {
    G.Surround.resize(size_t(n));
    INT got = n;
    if (Gp.GdipGetPathGradientSurroundColorsWithCount(B, G.Surround.data(), &got) != Ok) G.Surround.clear();
    else G.Surround.resize(size_t(std::max(got, 0)));
  }
  ReadGradientStops(G, B, GP_FUNCTION(GdipGetPathGradientPresetBlendCount), GP_FUNCTION(GdipGetPathGradientPresetBlend),
                    GP_FUNCTION(GdipGetPathGradientBlendCount), GP_FUNCTION(GdipGetPathGradientBlend));
  return true;
}

std::atomic<int> PaintThreads{0};  // 0: one per processor, at most 8

// Runs Row(y) for y = 0 .. Rows - 1: from about a million pixels (RowLength
// pixels a row) on, bands of eight rows are shared out among threads
// (PaintThreads of them; 0: one per processor, at most 8); smaller jobs stay
// on the calling thread. Row must not throw.
template <class RowFn>
void ForEachRowInParallel(INT Rows, size_t RowLength, const RowFn& Row) {
  const size_t pixels = size_t(std::max(Rows, 0)) * RowLength;
  const int threads = pixels < (size_t(1) << 20) ? 1 : PaintThreads.load();
  ParallelBands(Rows, 8, threads, [&](Integer From, Integer To) {
    for (INT y = From; y < To; ++y) Row(y);
  });
}

// Fills Path on a DC surface of W x H with the colour ColourAt gives for
// each covered pixel centre (in the coordinates before the world transform).
template <class ColourFn>
GpStatus PaintShaded(GpGraphics* G, GpPath* Path, INT W, INT H, const ColourFn& ColourAt) {
  GpMatrix* world = nullptr;
  GpStatus st = Gp.GdipCreateMatrix(&world);
  if (st != Ok) return st;
  Gp.GdipGetWorldTransform(G, world);
  // Only the shape's device bounds (and a margin for anti-aliasing) are
  // worked on.
  INT x0 = 0, y0 = 0, x1 = W, y1 = H;
  GpRectF wb{};
  if (Gp.GdipGetPathWorldBounds(Path, &wb, world, nullptr) == Ok && std::isfinite(wb.X) && std::isfinite(wb.Y) &&
      std::isfinite(wb.Width) && std::isfinite(wb.Height)) {
    x0 = INT(std::clamp(std::floor(double(wb.X)) - 2, 0.0, double(W)));
    y0 = INT(std::clamp(std::floor(double(wb.Y)) - 2, 0.0, double(H)));
    x1 = INT(std::clamp(std::ceil(double(wb.X) + wb.Width) + 2, 0.0, double(W)));
    y1 = INT(std::clamp(std::ceil(double(wb.Y) + wb.Height) + 2, 0.0, double(H)));
  }
  const INT bw = x1 - x0, bh = y1 - y0;
  if (bw <= 0 || bh <= 0) {
    Gp.GdipDeleteMatrix(world);
    return Ok;
  }
  // Coverage: the shape in opaque white with the target's transform, clip
  // and smoothing.
  std::vector<uint32_t> mask;
  try {
    mask.assign(size_t(bw) * size_t(bh), 0);
  } catch (...) {
    Gp.GdipDeleteMatrix(world);
    return OutOfMemory;
  }
  GpBitmap* maskBmp = nullptr;
  st = Gp.GdipCreateBitmapFromScan0(bw, bh, bw * 4, PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(mask.data()),
                                     &maskBmp);
  if (st != Ok) {
    Gp.GdipDeleteMatrix(world);
    return st;
  }
  GpGraphics* mg = nullptr;
  GpRegion* clip = nullptr;
  GpBrush* white = nullptr;
  Gp.GdipCreateRegion(&clip);
  st = Gp.GdipGetImageGraphicsContext(maskBmp, &mg);
  if (st == Ok) {
    INT smoothing = 0;
    Gp.GdipGetSmoothingMode(G, &smoothing);
    Gp.GdipSetSmoothingMode(mg, smoothing);
    Gp.GdipGetClip(G, clip);
    Gp.GdipSetWorldTransform(mg, world);
    Gp.GdipTranslateWorldTransform(mg, REAL(-x0), REAL(-y0), 1);
    Gp.GdipSetClipRegion(mg, clip, 0);
    Gp.GdipCreateSolidFill(0xFFFFFFFF, &white);
    st = LibFillPath(mg, white, Path);
    LibDeleteBrush(white);
    LibDeleteGraphics(mg);
  }
  Gp.GdipDisposeImage(maskBmp);
  Gp.GdipDeleteRegion(clip);
  // Device pixel centres back to brush space.
  REAL e[6] = {1, 0, 0, 1, 0, 0};
  Gp.GdipInvertMatrix(world);
  Gp.GdipGetMatrixElements(world, e);
  Gp.GdipDeleteMatrix(world);
  if (st != Ok) return st;
  // Colour the covered pixels (straight ARGB, alpha times coverage); each
  // pixel on its own, so the rows are shared out among threads.
  ForEachRowInParallel(bh, size_t(bw), [&](INT y) {
    for (INT x = 0; x < bw; ++x) {
      uint32_t& m = mask[size_t(y) * size_t(bw) + size_t(x)];
      const uint32_t cover = m >> 24;
      if (cover == 0) continue;
      const double dx = x0 + x + 0.5, dy = y0 + y + 0.5;
      const double bx = dx * e[0] + dy * e[2] + e[4], by = dx * e[1] + dy * e[3] + e[5];
      const uint32_t c = ColourAt(bx, by);
      const uint32_t a = ((c >> 24) * cover + 127) / 255;
      m = (a << 24) | (c & 0x00FFFFFF);
    }
  });
  GpBitmap* colours = nullptr;
  st = Gp.GdipCreateBitmapFromScan0(bw, bh, bw * 4, PixelFormat32bppARGB, reinterpret_cast<BYTE*>(mask.data()),
                                     &colours);
  if (st != Ok) return st;
  UINT state = 0;
  Gp.GdipSaveGraphics(G, &state);
  Gp.GdipResetWorldTransform(G);
  Gp.GdipResetClip(G);
  Gp.GdipSetInterpolationMode(G, 5);  // nearest neighbour: one to one
  Gp.GdipSetPixelOffsetMode(G, 4);
  st = Gp.GdipDrawImageRectI(G, colours, x0, y0, bw, bh);
  Gp.GdipRestoreGraphics(G, state);
  Gp.GdipDisposeImage(colours);
  return st;
}


// ---------------------------------------------------------------------------
// Gamma-corrected linear gradients: libgdiplus stores the flag and ignores
// it. The bridge records each linear brush's axis at creation (position
// t = (P - Origin) . Axis, 0 at the first colour, 1 at the second) and paints
// gamma-corrected fills on DC surfaces itself, interpolating in linear light
// (gamma 2.2).

TLinearShape AxisOfPoints(double X1, double Y1, double X2, double Y2) {
  const double dx = X2 - X1, dy = Y2 - Y1, l2 = dx * dx + dy * dy;
  TLinearShape s;
  s.X0 = X1;
  s.Y0 = Y1;
  s.Ax = l2 > 0 ? dx / l2 : 0;
  s.Ay = l2 > 0 ? dy / l2 : 0;
  return s;
}

// The axis through a rectangle at Angle degrees: the corners farthest back
// and forward along the direction get the two colours. Scalable angles are
// taken in the rectangle's unit square.
TLinearShape AxisOfRect(double X, double Y, double W, double H, double Angle, bool Scalable) {
  const double a = Angle * 3.14159265358979323846 / 180;
  const double c = std::cos(a), s = std::sin(a);
  const double sx = Scalable && W != 0 ? 1 / W : 1, sy = Scalable && H != 0 ? 1 / H : 1;
  // Projections of the four corners on the direction (in the scaled space).
  double lo = 1e300, hi = -1e300, loX = X, loY = Y;
  for (int k = 0; k < 4; ++k) {
    const double px = X + ((k & 1) ? W : 0), py = Y + ((k & 2) ? H : 0);
    const double pr = (px - X) * sx * c + (py - Y) * sy * s;
    if (pr < lo) {
      lo = pr;
      loX = px;
      loY = py;
    }
    hi = std::max(hi, pr);
  }
  TLinearShape r;
  r.X0 = loX;
  r.Y0 = loY;
  const double span = hi - lo;
  r.Ax = span > 0 ? c * sx / span : 0;
  r.Ay = span > 0 ? s * sy / span : 0;
  return r;
}

double ModeAngle(INT Mode) {
  switch (Mode) {
    case 1: return 90;   // vertical
    case 2: return 45;   // forward diagonal
    case 3: return 135;  // backward diagonal
    default: return 0;   // horizontal
  }
}

GpStatus (*LibCreateLineBrush)(const GpPointF*, const GpPointF*, ARGB, ARGB, INT, GpBrush**) = nullptr;
GpStatus (*LibCreateLineBrushI)(const GpPoint*, const GpPoint*, ARGB, ARGB, INT, GpBrush**) = nullptr;
GpStatus (*LibCreateLineBrushFromRect)(const GpRectF*, ARGB, ARGB, INT, INT, GpBrush**) = nullptr;
GpStatus (*LibCreateLineBrushFromRectI)(const GpRect*, ARGB, ARGB, INT, INT, GpBrush**) = nullptr;
GpStatus (*LibCreateLineBrushFromRectWithAngle)(const GpRectF*, ARGB, ARGB, REAL, BOOL, INT, GpBrush**) = nullptr;
GpStatus (*LibCreateLineBrushFromRectWithAngleI)(const GpRect*, ARGB, ARGB, REAL, BOOL, INT, GpBrush**) = nullptr;

GpStatus BridgeCreateLineBrush(const GpPointF* P1, const GpPointF* P2, ARGB C1, ARGB C2, INT Wrap, GpBrush** B) {
  return Recorded(LibCreateLineBrush(P1, P2, C1, C2, Wrap, B), B, [&](GpBrush* Made) {
    if (P1 && P2) RememberLinear(Made, AxisOfPoints(P1->X, P1->Y, P2->X, P2->Y));
  });
}

GpStatus BridgeCreateLineBrushI(const GpPoint* P1, const GpPoint* P2, ARGB C1, ARGB C2, INT Wrap, GpBrush** B) {
  return Recorded(LibCreateLineBrushI(P1, P2, C1, C2, Wrap, B), B, [&](GpBrush* Made) {
    if (P1 && P2) RememberLinear(Made, AxisOfPoints(P1->X, P1->Y, P2->X, P2->Y));
  });
}

GpStatus BridgeCreateLineBrushFromRect(const GpRectF* R, ARGB C1, ARGB C2, INT Mode, INT Wrap, GpBrush** B) {
  return Recorded(LibCreateLineBrushFromRect(R, C1, C2, Mode, Wrap, B), B, [&](GpBrush* Made) {
    if (R) RememberLinear(Made, AxisOfRect(R->X, R->Y, R->Width, R->Height, ModeAngle(Mode), true));
  });
}

GpStatus BridgeCreateLineBrushFromRectI(const GpRect* R, ARGB C1, ARGB C2, INT Mode, INT Wrap, GpBrush** B) {
  return Recorded(LibCreateLineBrushFromRectI(R, C1, C2, Mode, Wrap, B), B, [&](GpBrush* Made) {
    if (R) RememberLinear(Made, AxisOfRect(R->X, R->Y, R->Width, R->Height, ModeAngle(Mode), true));
  });
}

GpStatus BridgeCreateLineBrushFromRectWithAngle(const GpRectF* R, ARGB C1, ARGB C2, REAL A, BOOL S, INT Wrap,
                                                GpBrush** B) {
  return Recorded(LibCreateLineBrushFromRectWithAngle(R, C1, C2, A, S, Wrap, B), B, [&](GpBrush* Made) {
    if (R) RememberLinear(Made, AxisOfRect(R->X, R->Y, R->Width, R->Height, A, S != 0));
  });
}

GpStatus BridgeCreateLineBrushFromRectWithAngleI(const GpRect* R, ARGB C1, ARGB C2, REAL A, BOOL S, INT Wrap,
                                                 GpBrush** B) {
  return Recorded(LibCreateLineBrushFromRectWithAngleI(R, C1, C2, A, S, Wrap, B), B, [&](GpBrush* Made) {
    if (R) RememberLinear(Made, AxisOfRect(R->X, R->Y, R->Width, R->Height, A, S != 0));
  });
}

double ToLinear(uint32_t C) { return std::pow(C / 255.0, 2.2); }

uint32_t LerpColourGamma(uint32_t A, uint32_t B, double T) {
  uint32_t out = uint32_t(std::lround(std::clamp(Lerp(double(A >> 24), double(B >> 24), T), 0.0, 255.0))) << 24;
  for (int sh = 0; sh < 24; sh += 8) {
    const double l = Lerp(ToLinear((A >> sh) & 0xFF), ToLinear((B >> sh) & 0xFF), T);
    out |= uint32_t(std::lround(std::clamp(255.0 * std::pow(std::max(l, 0.0), 1 / 2.2), 0.0, 255.0))) << sh;
  }
  return out;
}

struct TLinearPaint : TGradientStops {
  TLinearShape Shape;
  ARGB C1 = 0, C2 = 0;
  INT Wrap = 0;

  uint32_t ColourAt(double Px, double Py) const {
    double t = (Px - Shape.X0) * Shape.Ax + (Py - Shape.Y0) * Shape.Ay;
    if (Wrap == 1 || Wrap == 3) {  // flipped tiles
      t = std::fmod(t, 2.0);
      if (t < 0) t += 2;
      if (t > 1) t = 2 - t;
    } else if (Wrap == 4) {
      t = std::clamp(t, 0.0, 1.0);
    } else {
      t -= std::floor(t);
    }
    uint32_t preset = 0;
    if (PresetAt(t, LerpColourGamma, preset)) return preset;
    const double f = FactorAt(t);
    return LerpColourGamma(C1, C2, std::clamp(f, 0.0, 1.0));
  }
};

bool ReadLinear(GpBrush* B, TLinearPaint& L) {
  BOOL gamma = 0;
  if (Gp.GdipGetLineGammaCorrection(B, &gamma) != Ok || !gamma) return false;
  if (!FindLinear(B, L.Shape)) return false;
  ARGB c[2] = {0, 0};
  Gp.GdipGetLineColors(B, c);
  L.C1 = c[0];
  L.C2 = c[1];
  Gp.GdipGetLineWrapMode(B, &L.Wrap);
  ReadGradientStops(L, B, GP_FUNCTION(GdipGetLinePresetBlendCount), GP_FUNCTION(GdipGetLinePresetBlend),
                    GP_FUNCTION(GdipGetLineBlendCount), GP_FUNCTION(GdipGetLineBlend));
  return true;
}

// Paints a brush the bridge paints itself; false when the library should.
bool PaintOwnBrush(GpGraphics* G, GpBrush* B, GpPath* Path, INT W, INT H, GpStatus& St) {
  INT type = -1;
  if (Gp.GdipGetBrushType(B, &type) != Ok) return false;
  if (type == 3) {
    TGradientPaint paint;
    if (!ReadGradient(B, paint)) return false;
    St = PaintShaded(G, Path, W, H, [&](double X, double Y) { return paint.ColourAt(X, Y); });
    return true;
  }
  if (type == 4) {
    TLinearPaint paint;
    if (!ReadLinear(B, paint)) return false;
    St = PaintShaded(G, Path, W, H, [&](double X, double Y) { return paint.ColourAt(X, Y); });
    return true;
  }
  return false;
}
GpStatus BridgeFillPath(GpGraphics* G, GpBrush* B, GpPath* Path) {
  INT w = 0, h = 0;
  if (G != nullptr && B != nullptr && Path != nullptr && SurfaceSize(G, w, h)) {
    try {
      GpStatus st = Ok;
      if (PaintOwnBrush(G, B, Path, w, h, st)) return st;
    } catch (...) {
      return GenericError;
    }
  }
  return LibFillPath(G, B, Path);
}

// The other fills with a brush the bridge paints go through a temporary path.
bool IsGradientOnSurface(GpGraphics* G, GpBrush* B, INT& W, INT& H) {
  INT type = -1;
  if (G == nullptr || B == nullptr || Gp.GdipGetBrushType(B, &type) != Ok) return false;
  if (type == 4) {
    BOOL gamma = 0;
    TLinearShape shape;
    if (Gp.GdipGetLineGammaCorrection(B, &gamma) != Ok || !gamma || !FindLinear(B, shape)) return false;
  } else if (type != 3) {
    return false;
  }
  return SurfaceSize(G, W, H);
}

template <class AddShape>
GpStatus FillShapeWithGradient(GpGraphics* G, GpBrush* B, INT W, INT H, INT FillMode, AddShape Add) {
  GpPath* path = nullptr;
  GpStatus st = Gp.GdipCreatePath(FillMode, &path);
  if (st != Ok) return st;
  st = Add(path);
  if (st == Ok) {
    try {
      GpStatus painted = Ok;
      st = PaintOwnBrush(G, B, path, W, H, painted) ? painted : LibFillPath(G, B, path);
    } catch (...) {
      st = GenericError;
    }
  }
  Gp.GdipDeletePath(path);
  return st;
}

GpStatus (*LibFillRectangle)(GpGraphics*, GpBrush*, REAL, REAL, REAL, REAL) = nullptr;
GpStatus (*LibFillRectangleI)(GpGraphics*, GpBrush*, INT, INT, INT, INT) = nullptr;
GpStatus (*LibFillEllipse)(GpGraphics*, GpBrush*, REAL, REAL, REAL, REAL) = nullptr;
GpStatus (*LibFillEllipseI)(GpGraphics*, GpBrush*, INT, INT, INT, INT) = nullptr;
GpStatus (*LibFillPolygon)(GpGraphics*, GpBrush*, const GpPointF*, INT, INT) = nullptr;
GpStatus (*LibFillPolygonI)(GpGraphics*, GpBrush*, const GpPoint*, INT, INT) = nullptr;

GpStatus BridgeFillRectangle(GpGraphics* G, GpBrush* B, REAL X, REAL Y, REAL Wd, REAL Ht) {
  INT w, h;
  if (!IsGradientOnSurface(G, B, w, h)) return LibFillRectangle(G, B, X, Y, Wd, Ht);
  return FillShapeWithGradient(G, B, w, h, 0, [&](GpPath* P) { return Gp.GdipAddPathRectangle(P, X, Y, Wd, Ht); });
}

GpStatus BridgeFillRectangleI(GpGraphics* G, GpBrush* B, INT X, INT Y, INT Wd, INT Ht) {
  INT w, h;
  if (!IsGradientOnSurface(G, B, w, h)) return LibFillRectangleI(G, B, X, Y, Wd, Ht);
  return FillShapeWithGradient(G, B, w, h, 0, [&](GpPath* P) { return Gp.GdipAddPathRectangleI(P, X, Y, Wd, Ht); });
}

GpStatus BridgeFillEllipse(GpGraphics* G, GpBrush* B, REAL X, REAL Y, REAL Wd, REAL Ht) {
  INT w, h;
  if (!IsGradientOnSurface(G, B, w, h)) return LibFillEllipse(G, B, X, Y, Wd, Ht);
  return FillShapeWithGradient(G, B, w, h, 0, [&](GpPath* P) { return Gp.GdipAddPathEllipse(P, X, Y, Wd, Ht); });
}

GpStatus BridgeFillEllipseI(GpGraphics* G, GpBrush* B, INT X, INT Y, INT Wd, INT Ht) {
  INT w, h;
  if (!IsGradientOnSurface(G, B, w, h)) return LibFillEllipseI(G, B, X, Y, Wd, Ht);
  return FillShapeWithGradient(G, B, w, h, 0, [&](GpPath* P) { return Gp.GdipAddPathEllipseI(P, X, Y, Wd, Ht); });
}

GpStatus BridgeFillPolygon(GpGraphics* G, GpBrush* B, const GpPointF* Pts, INT Count, INT Mode) {
  INT w, h;
  if (!IsGradientOnSurface(G, B, w, h)) return LibFillPolygon(G, B, Pts, Count, Mode);
  return FillShapeWithGradient(G, B, w, h, Mode, [&](GpPath* P) { return Gp.GdipAddPathPolygon(P, Pts, Count); });
}

GpStatus BridgeFillPolygonI(GpGraphics* G, GpBrush* B, const GpPoint* Pts, INT Count, INT Mode) {
  INT w, h;
  if (!IsGradientOnSurface(G, B, w, h)) return LibFillPolygonI(G, B, Pts, Count, Mode);
  return FillShapeWithGradient(G, B, w, h, Mode, [&](GpPath* P) { return Gp.GdipAddPathPolygonI(P, Pts, Count); });
}

}  // namespace

int SetPaintThreads(int N) { return PaintThreads.exchange(std::max(N, 0)); }

void InstallGradients() {
  Gradients = new std::unordered_map<GpBrush*, TGradientShape>();
  LibCreatePathGradientFromPath = Api.GdipCreatePathGradientFromPath;
  LibCreatePathGradient = Api.GdipCreatePathGradient;
  LibCreatePathGradientI = Api.GdipCreatePathGradientI;
  LibCloneBrush = Api.GdipCloneBrush;
  LibDeleteBrush = Api.GdipDeleteBrush;
  LibFillPath = Api.GdipFillPath;
  Api.GdipCreatePathGradientFromPath = BridgeCreatePathGradientFromPath;
  Api.GdipCreatePathGradient = BridgeCreatePathGradient;
  Api.GdipCreatePathGradientI = BridgeCreatePathGradientI;
  Api.GdipCloneBrush = BridgeCloneBrush;
  Api.GdipDeleteBrush = BridgeDeleteBrush;
  Api.GdipFillPath = BridgeFillPath;
  Linears = new std::unordered_map<GpBrush*, TLinearShape>();
  LibCreateLineBrush = Api.GdipCreateLineBrush;
  LibCreateLineBrushI = Api.GdipCreateLineBrushI;
  LibCreateLineBrushFromRect = Api.GdipCreateLineBrushFromRect;
  LibCreateLineBrushFromRectI = Api.GdipCreateLineBrushFromRectI;
  LibCreateLineBrushFromRectWithAngle = Api.GdipCreateLineBrushFromRectWithAngle;
  LibCreateLineBrushFromRectWithAngleI = Api.GdipCreateLineBrushFromRectWithAngleI;
  Api.GdipCreateLineBrush = BridgeCreateLineBrush;
  Api.GdipCreateLineBrushI = BridgeCreateLineBrushI;
  Api.GdipCreateLineBrushFromRect = BridgeCreateLineBrushFromRect;
  Api.GdipCreateLineBrushFromRectI = BridgeCreateLineBrushFromRectI;
  Api.GdipCreateLineBrushFromRectWithAngle = BridgeCreateLineBrushFromRectWithAngle;
  Api.GdipCreateLineBrushFromRectWithAngleI = BridgeCreateLineBrushFromRectWithAngleI;
  LibFillRectangle = Api.GdipFillRectangle;
  LibFillRectangleI = Api.GdipFillRectangleI;
  LibFillEllipse = Api.GdipFillEllipse;
  LibFillEllipseI = Api.GdipFillEllipseI;
  LibFillPolygon = Api.GdipFillPolygon;
  LibFillPolygonI = Api.GdipFillPolygonI;
  Api.GdipFillRectangle = BridgeFillRectangle;
  Api.GdipFillRectangleI = BridgeFillRectangleI;
  Api.GdipFillEllipse = BridgeFillEllipse;
  Api.GdipFillEllipseI = BridgeFillEllipseI;
  Api.GdipFillPolygon = BridgeFillPolygon;
  Api.GdipFillPolygonI = BridgeFillPolygonI;
}

}  // namespace gdipflat::bridge
