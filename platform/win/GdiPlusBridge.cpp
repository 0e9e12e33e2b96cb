// Bridge functions of the GDI+ flat table (see GdiPlusBridge.h).
#include "platform/GdiPlusBridge.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/GdiPlusStroker.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

#define NOMINMAX
#include <windows.h>

namespace gdipflat {

namespace {

struct TDcSurface {
  GpBitmap* Scratch = nullptr;
  uint32_t* ScratchBits = nullptr;
  uint32_t* Dib = nullptr;
  INT Width = 0;
  INT Height = 0;
  // What the drawing calls can have touched (device pixels, empty at first)
  // and the DC's clip region when it has one: only their overlap is
  // composed at release.
  RECT Drawn{0, 0, 0, 0};
  bool Clipped = false;
  std::vector<RECT> Clip;
};

SRWLOCK SurfacesLock = SRWLOCK_INIT;
std::unordered_map<GpGraphics*, TDcSurface>* Surfaces = nullptr;

GpStatus (*LibDeleteGraphics)(GpGraphics*) = nullptr;

// Straight-alpha source-over of one premultiplied scratch pixel S onto the
// straight ARGB pixel D.
inline uint32_t ComposePixel(uint32_t S, uint32_t D) {
  const uint32_t sa = S >> 24;
  if (sa == 255) return S;
  const uint32_t da = D >> 24;
  const uint32_t fa = 255 - sa;
  const uint32_t dw = da * fa;           // destination weight, alpha * 255
  const uint32_t A = sa * 255 + dw;      // result alpha * 255
  if (A == 0) return D;
  uint32_t r = (A + 127) / 255;
  uint32_t out = r << 24;
  for (int shift = 0; shift <= 16; shift += 8) {
    const uint32_t sc = (S >> shift) & 0xFF;
    const uint32_t dc = (D >> shift) & 0xFF;
    uint32_t c = (sc * 65025u + dc * dw + A / 2) / A;
    if (c > 255) c = 255;
    out |= c << shift;
  }
  return out;
}

void ComposeRect(const TDcSurface& S, RECT R) {
  RECT all{0, 0, S.Width, S.Height};
  if (!IntersectRect(&R, &R, &all)) return;
  for (LONG y = R.top; y < R.bottom; ++y) {
    const size_t row = size_t(y) * size_t(S.Width);
    for (size_t i = row + size_t(R.left), end = row + size_t(R.right); i < end; ++i) {
      const uint32_t s = S.ScratchBits[i];
      if ((s >> 24) == 0) continue;
      S.Dib[i] = ComposePixel(s, S.Dib[i]);
    }
  }
}

// Composes what was drawn, inside the DC's clip region when it has one.
void ComposeSurface(const TDcSurface& S) {
  if (!S.Clipped) {
    ComposeRect(S, S.Drawn);
    return;
  }
  for (RECT c : S.Clip)
    if (IntersectRect(&c, &c, &S.Drawn)) ComposeRect(S, c);
}

// The clip region of a DC as rectangles; false when it has none.
bool DcClipRects(HDC Dc, std::vector<RECT>& Rects) {
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  if (rgn == nullptr) return false;
  const bool has = GetClipRgn(Dc, rgn) == 1;
  if (has) {
    const DWORD size = GetRegionData(rgn, 0, nullptr);
    std::vector<BYTE> data(size);
    if (size >= sizeof(RGNDATAHEADER) && GetRegionData(rgn, size, reinterpret_cast<RGNDATA*>(data.data())) == size) {
      const auto* rd = reinterpret_cast<const RGNDATA*>(data.data());
      const auto* r = reinterpret_cast<const RECT*>(rd->Buffer);
      Rects.assign(r, r + rd->rdh.nCount);
    }
  }
  DeleteObject(rgn);
  return has;
}

// Scratch memory: zeroed blocks kept for the next surface of the same size
// (a fresh block of a large DIB's size costs a mapping and its page faults
// on every graphics). A block returns with what was drawn cleared again.
struct TScratchBlock {
  size_t Pixels;
  uint32_t* Bits;
};
SRWLOCK PoolLock = SRWLOCK_INIT;
std::vector<TScratchBlock>* Pool = nullptr;
constexpr size_t PoolBlocks = 2;

uint32_t* TakeScratch(size_t Pixels) {
  AcquireSRWLockExclusive(&PoolLock);
  uint32_t* bits = nullptr;
  for (auto it = Pool->begin(); it != Pool->end(); ++it)
    if (it->Pixels == Pixels) {
      bits = it->Bits;
      Pool->erase(it);
      break;
    }
  ReleaseSRWLockExclusive(&PoolLock);
  return bits ? bits : static_cast<uint32_t*>(std::calloc(Pixels, 4));
}

// Clears the drawn rectangle and keeps the block (the oldest one goes when
// the pool is full).
void ReturnScratch(const TDcSurface& S) {
  RECT r = S.Drawn;
  const RECT all{0, 0, S.Width, S.Height};
  if (IntersectRect(&r, &r, &all))
    for (LONG y = r.top; y < r.bottom; ++y)
      std::memset(S.ScratchBits + size_t(y) * size_t(S.Width) + size_t(r.left), 0, size_t(r.right - r.left) * 4);
  AcquireSRWLockExclusive(&PoolLock);
  Pool->push_back({size_t(S.Width) * size_t(S.Height), S.ScratchBits});
  uint32_t* drop = nullptr;
  if (Pool->size() > PoolBlocks) {
    drop = Pool->front().Bits;
    Pool->erase(Pool->begin());
  }
  ReleaseSRWLockExclusive(&PoolLock);
  std::free(drop);
}

void FreeSurface(TDcSurface& S) {
  if (S.Scratch != nullptr) Api.GdipDisposeImage(S.Scratch);
  std::free(S.ScratchBits);
  S = TDcSurface();
}

// GetObject reports the height of every DIB section as positive, so the row
// order is found by probing: a value written to the first row in memory must
// read back as the DC's pixel (0, 0). The probed pixel is restored.
bool IsTopDown(HDC Dc, uint32_t* Bits, INT Height) {
  if (Height == 1) return true;
  const uint32_t saved = Bits[0];
  bool top = true;
  for (uint32_t probe : {0x00123456u, 0x00654321u}) {
    Bits[0] = probe;
    GdiFlush();
    const COLORREF c = GetPixel(Dc, 0, 0);
    const uint32_t rgb = (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
    if (rgb != probe) top = false;
  }
  Bits[0] = saved;
  return top;
}

GpStatus BridgeCreateFromHDC(void* Hdc, GpGraphics** Graphics) {
  if (Graphics == nullptr) return InvalidParameter;
  *Graphics = nullptr;
  if (Hdc == nullptr) return InvalidParameter;
  HGDIOBJ bmp = GetCurrentObject(static_cast<HDC>(Hdc), OBJ_BITMAP);
  if (bmp == nullptr) return InvalidParameter;
  DIBSECTION ds;
  std::memset(&ds, 0, sizeof(ds));
  if (GetObjectW(bmp, sizeof(ds), &ds) != int(sizeof(ds))) return InvalidParameter;
  if (ds.dsBm.bmBits == nullptr || ds.dsBm.bmBitsPixel != 32) return InvalidParameter;
  if (ds.dsBmih.biCompression != BI_RGB &&
      !(ds.dsBmih.biCompression == BI_BITFIELDS && ds.dsBitfields[0] == 0x00FF0000 &&
        ds.dsBitfields[1] == 0x0000FF00 && ds.dsBitfields[2] == 0x000000FF))
    return InvalidParameter;
  const INT w = ds.dsBm.bmWidth;
  const INT h = ds.dsBm.bmHeight;
  if (w <= 0 || h <= 0 || ds.dsBm.bmWidthBytes != w * 4) return InvalidParameter;
  GdiFlush();
  if (!IsTopDown(static_cast<HDC>(Hdc), static_cast<uint32_t*>(ds.dsBm.bmBits), h))
    return InvalidParameter;

  TDcSurface s;
  s.Width = w;
  s.Height = h;
  s.Dib = static_cast<uint32_t*>(ds.dsBm.bmBits);
  s.Clipped = DcClipRects(static_cast<HDC>(Hdc), s.Clip);
  // Zeroed memory, kept from an earlier surface of this size when there is one.
  s.ScratchBits = TakeScratch(size_t(w) * size_t(h));
  if (s.ScratchBits == nullptr) return OutOfMemory;
  GpStatus st = Api.GdipCreateBitmapFromScan0(w, h, w * 4, PixelFormat32bppPARGB,
                                              reinterpret_cast<BYTE*>(s.ScratchBits), &s.Scratch);
  if (st != Ok || s.Scratch == nullptr) {
    s.Scratch = nullptr;
    FreeSurface(s);
    return st != Ok ? st : GenericError;
  }
  GpGraphics* g = nullptr;
  st = Api.GdipGetImageGraphicsContext(s.Scratch, &g);
  if (st != Ok || g == nullptr) {
    FreeSurface(s);
    return st != Ok ? st : GenericError;
  }
  AcquireSRWLockExclusive(&SurfacesLock);
  (*Surfaces)[g] = s;
  ReleaseSRWLockExclusive(&SurfacesLock);
  *Graphics = g;
  return Ok;
}

GpStatus BridgeDeleteGraphics(GpGraphics* Graphics) {
  TDcSurface s;
  bool found = false;
  if (Graphics != nullptr) {
    AcquireSRWLockExclusive(&SurfacesLock);
    auto it = Surfaces->find(Graphics);
    if (it != Surfaces->end()) {
      s = it->second;
      Surfaces->erase(it);
      found = true;
    }
    ReleaseSRWLockExclusive(&SurfacesLock);
  }
  const GpStatus st = LibDeleteGraphics(Graphics);
  if (found) {
    // The scratch bitmap is disposed first so that everything is flushed
    // into its memory (which is ours), then composed onto the DIB.
    Api.GdipDisposeImage(s.Scratch);
    s.Scratch = nullptr;
    GdiFlush();
    ComposeSurface(s);
    ReturnScratch(s);
  }
  return st;
}

// GdipWidenPath: libgdiplus only flattens. Flatten a copy (with the matrix),
// stroke its figures with the pen, and replace the path by the stroke's
// polygons (filled with the winding rule, their union is the pen's area).
GpStatus BridgeWidenPath(GpPath* Path, GpPen* Pen, GpMatrix* Matrix, REAL Flatness) {
  if (Path == nullptr || Pen == nullptr) return InvalidParameter;
  const double flat = Flatness > 0 ? Flatness : 0.25;
  GpPath* copy = nullptr;
  GpStatus st = Api.GdipClonePath(Path, &copy);
  if (st != Ok) return st;
  std::vector<TStrokeFigure> figures;
  st = Api.GdipFlattenPath(copy, Matrix, REAL(flat));
  INT n = 0;
  if (st == Ok) st = Api.GdipGetPointCount(copy, &n);
  std::vector<GpPointF> pts(size_t(n > 0 ? n : 0));
  std::vector<BYTE> types(pts.size());
  if (st == Ok && n > 0) st = Api.GdipGetPathPoints(copy, pts.data(), n);
  if (st == Ok && n > 0) st = Api.GdipGetPathTypes(copy, types.data(), n);
  Api.GdipDeletePath(copy);
  if (st != Ok) return st;
  for (INT i = 0; i < n; ++i) {
    if ((types[size_t(i)] & 0x07) == 0 || figures.empty()) figures.emplace_back();
    figures.back().Points.push_back({pts[size_t(i)].X, pts[size_t(i)].Y});
    if (types[size_t(i)] & 0x80) figures.back().Closed = true;
  }

  TStrokePen pen;
  REAL width = 1, miter = 10, offset = 0;
  INT startCap = 0, endCap = 0, dashCap = 0, join = 0, dashStyle = 0;
  Api.GdipGetPenWidth(Pen, &width);
  Api.GdipGetPenStartCap(Pen, &startCap);
  Api.GdipGetPenEndCap(Pen, &endCap);
  Api.GdipGetPenDashCap197819(Pen, &dashCap);
  Api.GdipGetPenLineJoin(Pen, &join);
  Api.GdipGetPenMiterLimit(Pen, &miter);
  Api.GdipGetPenDashStyle(Pen, &dashStyle);
  Api.GdipGetPenDashOffset(Pen, &offset);
  // The pen transform scales the width by its mean scale factor.
  double scale = 1;
  GpMatrix* pm = nullptr;
  if (Api.GdipCreateMatrix(&pm) == Ok) {
    REAL e[6] = {1, 0, 0, 1, 0, 0};
    if (Api.GdipGetPenTransform(Pen, pm) == Ok && Api.GdipGetMatrixElements(pm, e) == Ok)
      scale = std::sqrt(std::fabs(double(e[0]) * e[3] - double(e[1]) * e[2]));
    Api.GdipDeleteMatrix(pm);
  }
  pen.Width = double(width) * (scale > 0 ? scale : 1);
  pen.StartCap = startCap;
  pen.EndCap = endCap;
  pen.DashCap = dashCap;
  pen.LineJoin = join;
  pen.MiterLimit = miter;
  pen.DashOffset = offset;
  if (dashStyle == 5) {
    INT count = 0;
    Api.GdipGetPenDashCount(Pen, &count);
    std::vector<REAL> d(size_t(count > 0 ? count : 0));
    if (count > 0 && Api.GdipGetPenDashArray(Pen, d.data(), count) == Ok) pen.Dashes.assign(d.begin(), d.end());
  } else {
    pen.Dashes = DashPatternOfStyle(dashStyle);
  }

  const auto polys = StrokeFigures(figures, pen, flat);
  st = Api.GdipResetPath(Path);
  if (st != Ok) return st;
  Api.GdipSetPathFillMode(Path, 1);
  std::vector<GpPointF> poly;
  for (const auto& p : polys) {
    poly.clear();
    for (const TStrokePoint& q : p) poly.push_back({REAL(q.X), REAL(q.Y)});
    Api.GdipAddPathPolygon(Path, poly.data(), INT(poly.size()));
  }
  return Ok;
}


// ---------------------------------------------------------------------------
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
  AcquireSRWLockExclusive(&GradientsLock);
  (*Linears)[B] = S;
  ReleaseSRWLockExclusive(&GradientsLock);
}

bool FindLinear(GpBrush* B, TLinearShape& Out) {
  AcquireSRWLockShared(&GradientsLock);
  auto it = Linears->find(B);
  const bool found = it != Linears->end();
  if (found) Out = it->second;
  ReleaseSRWLockShared(&GradientsLock);
  return found;
}


GpStatus (*LibCreatePathGradientFromPath)(const GpPath*, GpBrush**) = nullptr;
GpStatus (*LibCreatePathGradient)(const GpPointF*, INT, INT, GpBrush**) = nullptr;
GpStatus (*LibCreatePathGradientI)(const GpPoint*, INT, INT, GpBrush**) = nullptr;
GpStatus (*LibCloneBrush)(GpBrush*, GpBrush**) = nullptr;
GpStatus (*LibDeleteBrush)(GpBrush*) = nullptr;
GpStatus (*LibFillPath)(GpGraphics*, GpBrush*, GpPath*) = nullptr;

void RememberGradient(GpBrush* B, std::vector<GpPointF> Pts) {
  if (B == nullptr || Pts.size() < 3) return;
  AcquireSRWLockExclusive(&GradientsLock);
  (*Gradients)[B].Boundary = std::move(Pts);
  ReleaseSRWLockExclusive(&GradientsLock);
}

bool FindGradient(GpBrush* B, TGradientShape& Out) {
  AcquireSRWLockShared(&GradientsLock);
  auto it = Gradients->find(B);
  const bool found = it != Gradients->end();
  if (found) Out = it->second;
  ReleaseSRWLockShared(&GradientsLock);
  return found;
}

GpStatus BridgeCreatePathGradientFromPath(const GpPath* Path, GpBrush** Brush) {
  const GpStatus st = LibCreatePathGradientFromPath(Path, Brush);
  if (st != Ok || Brush == nullptr || *Brush == nullptr) return st;
  GpPath* copy = nullptr;
  if (Api.GdipClonePath(const_cast<GpPath*>(Path), &copy) != Ok) return st;
  INT n = 0;
  if (Api.GdipFlattenPath(copy, nullptr, 0.25f) == Ok && Api.GdipGetPointCount(copy, &n) == Ok && n >= 3) {
    std::vector<GpPointF> pts(static_cast<size_t>(n));
    if (Api.GdipGetPathPoints(copy, pts.data(), n) == Ok) RememberGradient(*Brush, std::move(pts));
  }
  Api.GdipDeletePath(copy);
  return st;
}

GpStatus BridgeCreatePathGradient(const GpPointF* Pts, INT Count, INT Wrap, GpBrush** Brush) {
  const GpStatus st = LibCreatePathGradient(Pts, Count, Wrap, Brush);
  if (st == Ok && Brush != nullptr && Pts != nullptr && Count >= 3)
    RememberGradient(*Brush, std::vector<GpPointF>(Pts, Pts + Count));
  return st;
}

GpStatus BridgeCreatePathGradientI(const GpPoint* Pts, INT Count, INT Wrap, GpBrush** Brush) {
  const GpStatus st = LibCreatePathGradientI(Pts, Count, Wrap, Brush);
  if (st == Ok && Brush != nullptr && Pts != nullptr && Count >= 3) {
    std::vector<GpPointF> f;
    for (INT i = 0; i < Count; ++i) f.push_back({REAL(Pts[i].X), REAL(Pts[i].Y)});
    RememberGradient(*Brush, std::move(f));
  }
  return st;
}

GpStatus BridgeCloneBrush(GpBrush* Brush, GpBrush** Clone) {
  const GpStatus st = LibCloneBrush(Brush, Clone);
  TGradientShape shape;
  if (st == Ok && Clone != nullptr && *Clone != nullptr && FindGradient(Brush, shape))
    RememberGradient(*Clone, shape.Boundary);
  TLinearShape line;
  if (st == Ok && Clone != nullptr && *Clone != nullptr && FindLinear(Brush, line)) RememberLinear(*Clone, line);
  return st;
}

GpStatus BridgeDeleteBrush(GpBrush* Brush) {
  if (Brush != nullptr) {
    AcquireSRWLockExclusive(&GradientsLock);
    Gradients->erase(Brush);
    Linears->erase(Brush);
    ReleaseSRWLockExclusive(&GradientsLock);
  }
  return LibDeleteBrush(Brush);
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
      for (int k = k0 - 1; k <= k1 + 1; ++k) EdgesByDirection[size_t(((k % Directions) + Directions) % Directions)].push_back(uint32_t(i));
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
      const std::vector<uint32_t>& edges = EdgesByDirection[size_t(DirectionOf(ux, uy))];
      for (const uint32_t e : edges) {
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
template <class TPaint, class TCount, class TPreset, class TBlend>
void ReadGradientStops(TPaint& P, GpBrush* B, TCount PresetCount, TPreset Preset, TCount BlendCount, TBlend Blend) {
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
  Api.GdipGetPathGradientCenterColor(B, &G.CentreColour);
  Api.GdipGetPathGradientCenterPoint(B, &G.Centre);
  Api.GdipGetPathGradientFocusScales(B, &G.FocusX, &G.FocusY);
  BOOL gamma = 0;
  G.Gamma = Api.GdipGetPathGradientGammaCorrection(B, &gamma) == Ok && gamma;
  G.IndexEdges();
  INT n = 0;
  Api.GdipGetPathGradientSurroundColorCount(B, &n);
  if (n > 0) {
    G.Surround.resize(size_t(n));
    INT got = n;
    if (Api.GdipGetPathGradientSurroundColorsWithCount(B, G.Surround.data(), &got) != Ok) G.Surround.clear();
    else G.Surround.resize(size_t(std::max(got, 0)));
  }
  ReadGradientStops(G, B, Api.GdipGetPathGradientPresetBlendCount, Api.GdipGetPathGradientPresetBlend,
                    Api.GdipGetPathGradientBlendCount, Api.GdipGetPathGradientBlend);
  return true;
}

// Fills Path on a DC surface of W x H with the colour ColourAt gives for
// each covered pixel centre (in the coordinates before the world transform).
template <class ColourFn>
GpStatus PaintShaded(GpGraphics* G, GpPath* Path, INT W, INT H, const ColourFn& ColourAt) {
  GpMatrix* world = nullptr;
  GpStatus st = Api.GdipCreateMatrix(&world);
  if (st != Ok) return st;
  Api.GdipGetWorldTransform(G, world);
  // Only the shape's device bounds (and a margin for anti-aliasing) are
  // worked on.
  INT x0 = 0, y0 = 0, x1 = W, y1 = H;
  GpRectF wb{};
  if (Api.GdipGetPathWorldBounds(Path, &wb, world, nullptr) == Ok && std::isfinite(wb.X) && std::isfinite(wb.Y) &&
      std::isfinite(wb.Width) && std::isfinite(wb.Height)) {
    x0 = INT(std::clamp(std::floor(double(wb.X)) - 2, 0.0, double(W)));
    y0 = INT(std::clamp(std::floor(double(wb.Y)) - 2, 0.0, double(H)));
    x1 = INT(std::clamp(std::ceil(double(wb.X) + wb.Width) + 2, 0.0, double(W)));
    y1 = INT(std::clamp(std::ceil(double(wb.Y) + wb.Height) + 2, 0.0, double(H)));
  }
  const INT bw = x1 - x0, bh = y1 - y0;
  if (bw <= 0 || bh <= 0) {
    Api.GdipDeleteMatrix(world);
    return Ok;
  }
  // Coverage: the shape in opaque white with the target's transform, clip
  // and smoothing.
  std::vector<uint32_t> mask;
  try {
    mask.assign(size_t(bw) * size_t(bh), 0);
  } catch (...) {
    Api.GdipDeleteMatrix(world);
    return OutOfMemory;
  }
  GpBitmap* maskBmp = nullptr;
  st = Api.GdipCreateBitmapFromScan0(bw, bh, bw * 4, PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(mask.data()),
                                     &maskBmp);
  if (st != Ok) {
    Api.GdipDeleteMatrix(world);
    return st;
  }
  GpGraphics* mg = nullptr;
  GpRegion* clip = nullptr;
  GpBrush* white = nullptr;
  Api.GdipCreateRegion(&clip);
  st = Api.GdipGetImageGraphicsContext(maskBmp, &mg);
  if (st == Ok) {
    INT smoothing = 0;
    Api.GdipGetSmoothingMode(G, &smoothing);
    Api.GdipSetSmoothingMode(mg, smoothing);
    Api.GdipGetClip(G, clip);
    Api.GdipSetWorldTransform(mg, world);
    Api.GdipTranslateWorldTransform(mg, REAL(-x0), REAL(-y0), 1);
    Api.GdipSetClipRegion(mg, clip, 0);
    Api.GdipCreateSolidFill(0xFFFFFFFF, &white);
    st = LibFillPath(mg, white, Path);
    LibDeleteBrush(white);
    LibDeleteGraphics(mg);
  }
  Api.GdipDisposeImage(maskBmp);
  Api.GdipDeleteRegion(clip);
  // Device pixel centres back to brush space.
  REAL e[6] = {1, 0, 0, 1, 0, 0};
  Api.GdipInvertMatrix(world);
  Api.GdipGetMatrixElements(world, e);
  Api.GdipDeleteMatrix(world);
  if (st != Ok) return st;
  // Colour the covered pixels (straight ARGB, alpha times coverage).
  for (INT y = 0; y < bh; ++y)
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
  GpBitmap* colours = nullptr;
  st = Api.GdipCreateBitmapFromScan0(bw, bh, bw * 4, PixelFormat32bppARGB, reinterpret_cast<BYTE*>(mask.data()),
                                     &colours);
  if (st != Ok) return st;
  UINT state = 0;
  Api.GdipSaveGraphics(G, &state);
  Api.GdipResetWorldTransform(G);
  Api.GdipResetClip(G);
  Api.GdipSetInterpolationMode(G, 5);  // nearest neighbour: one to one
  Api.GdipSetPixelOffsetMode(G, 4);
  st = Api.GdipDrawImageRectI(G, colours, x0, y0, bw, bh);
  Api.GdipRestoreGraphics(G, state);
  Api.GdipDisposeImage(colours);
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
  const GpStatus st = LibCreateLineBrush(P1, P2, C1, C2, Wrap, B);
  if (st == Ok && B && P1 && P2) RememberLinear(*B, AxisOfPoints(P1->X, P1->Y, P2->X, P2->Y));
  return st;
}

GpStatus BridgeCreateLineBrushI(const GpPoint* P1, const GpPoint* P2, ARGB C1, ARGB C2, INT Wrap, GpBrush** B) {
  const GpStatus st = LibCreateLineBrushI(P1, P2, C1, C2, Wrap, B);
  if (st == Ok && B && P1 && P2) RememberLinear(*B, AxisOfPoints(P1->X, P1->Y, P2->X, P2->Y));
  return st;
}

GpStatus BridgeCreateLineBrushFromRect(const GpRectF* R, ARGB C1, ARGB C2, INT Mode, INT Wrap, GpBrush** B) {
  const GpStatus st = LibCreateLineBrushFromRect(R, C1, C2, Mode, Wrap, B);
  if (st == Ok && B && R) RememberLinear(*B, AxisOfRect(R->X, R->Y, R->Width, R->Height, ModeAngle(Mode), true));
  return st;
}

GpStatus BridgeCreateLineBrushFromRectI(const GpRect* R, ARGB C1, ARGB C2, INT Mode, INT Wrap, GpBrush** B) {
  const GpStatus st = LibCreateLineBrushFromRectI(R, C1, C2, Mode, Wrap, B);
  if (st == Ok && B && R) RememberLinear(*B, AxisOfRect(R->X, R->Y, R->Width, R->Height, ModeAngle(Mode), true));
  return st;
}

GpStatus BridgeCreateLineBrushFromRectWithAngle(const GpRectF* R, ARGB C1, ARGB C2, REAL A, BOOL S, INT Wrap,
                                                GpBrush** B) {
  const GpStatus st = LibCreateLineBrushFromRectWithAngle(R, C1, C2, A, S, Wrap, B);
  if (st == Ok && B && R) RememberLinear(*B, AxisOfRect(R->X, R->Y, R->Width, R->Height, A, S != 0));
  return st;
}

GpStatus BridgeCreateLineBrushFromRectWithAngleI(const GpRect* R, ARGB C1, ARGB C2, REAL A, BOOL S, INT Wrap,
                                                 GpBrush** B) {
  const GpStatus st = LibCreateLineBrushFromRectWithAngleI(R, C1, C2, A, S, Wrap, B);
  if (st == Ok && B && R) RememberLinear(*B, AxisOfRect(R->X, R->Y, R->Width, R->Height, A, S != 0));
  return st;
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
  if (Api.GdipGetLineGammaCorrection(B, &gamma) != Ok || !gamma) return false;
  if (!FindLinear(B, L.Shape)) return false;
  ARGB c[2] = {0, 0};
  Api.GdipGetLineColors(B, c);
  L.C1 = c[0];
  L.C2 = c[1];
  Api.GdipGetLineWrapMode(B, &L.Wrap);
  ReadGradientStops(L, B, Api.GdipGetLinePresetBlendCount, Api.GdipGetLinePresetBlend, Api.GdipGetLineBlendCount,
                    Api.GdipGetLineBlend);
  return true;
}

// Paints a brush the bridge paints itself; false when the library should.
bool PaintOwnBrush(GpGraphics* G, GpBrush* B, GpPath* Path, INT W, INT H, GpStatus& St) {
  INT type = -1;
  if (Api.GdipGetBrushType(B, &type) != Ok) return false;
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

bool SurfaceSize(GpGraphics* G, INT& W, INT& H) {
  AcquireSRWLockShared(&SurfacesLock);
  auto it = Surfaces->find(G);
  const bool found = it != Surfaces->end();
  if (found) {
    W = it->second.Width;
    H = it->second.Height;
  }
  ReleaseSRWLockShared(&SurfacesLock);
  return found;
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
  if (G == nullptr || B == nullptr || Api.GdipGetBrushType(B, &type) != Ok) return false;
  if (type == 4) {
    BOOL gamma = 0;
    TLinearShape shape;
    if (Api.GdipGetLineGammaCorrection(B, &gamma) != Ok || !gamma || !FindLinear(B, shape)) return false;
  } else if (type != 3) {
    return false;
  }
  return SurfaceSize(G, W, H);
}

template <class AddShape>
GpStatus FillShapeWithGradient(GpGraphics* G, GpBrush* B, INT W, INT H, INT FillMode, AddShape Add) {
  GpPath* path = nullptr;
  GpStatus st = Api.GdipCreatePath(FillMode, &path);
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
  Api.GdipDeletePath(path);
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
  return FillShapeWithGradient(G, B, w, h, 0, [&](GpPath* P) { return Api.GdipAddPathRectangle(P, X, Y, Wd, Ht); });
}

GpStatus BridgeFillRectangleI(GpGraphics* G, GpBrush* B, INT X, INT Y, INT Wd, INT Ht) {
  INT w, h;
  if (!IsGradientOnSurface(G, B, w, h)) return LibFillRectangleI(G, B, X, Y, Wd, Ht);
  return FillShapeWithGradient(G, B, w, h, 0, [&](GpPath* P) { return Api.GdipAddPathRectangleI(P, X, Y, Wd, Ht); });
}

GpStatus BridgeFillEllipse(GpGraphics* G, GpBrush* B, REAL X, REAL Y, REAL Wd, REAL Ht) {
  INT w, h;
  if (!IsGradientOnSurface(G, B, w, h)) return LibFillEllipse(G, B, X, Y, Wd, Ht);
  return FillShapeWithGradient(G, B, w, h, 0, [&](GpPath* P) { return Api.GdipAddPathEllipse(P, X, Y, Wd, Ht); });
}

GpStatus BridgeFillEllipseI(GpGraphics* G, GpBrush* B, INT X, INT Y, INT Wd, INT Ht) {
  INT w, h;
  if (!IsGradientOnSurface(G, B, w, h)) return LibFillEllipseI(G, B, X, Y, Wd, Ht);
  return FillShapeWithGradient(G, B, w, h, 0, [&](GpPath* P) { return Api.GdipAddPathEllipseI(P, X, Y, Wd, Ht); });
}

GpStatus BridgeFillPolygon(GpGraphics* G, GpBrush* B, const GpPointF* Pts, INT Count, INT Mode) {
  INT w, h;
  if (!IsGradientOnSurface(G, B, w, h)) return LibFillPolygon(G, B, Pts, Count, Mode);
  return FillShapeWithGradient(G, B, w, h, Mode, [&](GpPath* P) { return Api.GdipAddPathPolygon(P, Pts, Count); });
}

GpStatus BridgeFillPolygonI(GpGraphics* G, GpBrush* B, const GpPoint* Pts, INT Count, INT Mode) {
  INT w, h;
  if (!IsGradientOnSurface(G, B, w, h)) return LibFillPolygonI(G, B, Pts, Count, Mode);
  return FillShapeWithGradient(G, B, w, h, Mode, [&](GpPath* P) { return Api.GdipAddPathPolygonI(P, Pts, Count); });
}


// GdipWindingModeOutline: libgdiplus flattens and returns NotImplemented.
// Flatten a copy (with the matrix) and replace the path by the outline of
// the area its figures cover under the winding rule.
GpStatus BridgeWindingModeOutline(GpPath* Path, GpMatrix* Matrix, REAL Flatness) {
  if (Path == nullptr) return InvalidParameter;
  GpPath* copy = nullptr;
  GpStatus st = Api.GdipClonePath(Path, &copy);
  if (st != Ok) return st;
  st = Api.GdipFlattenPath(copy, Matrix, Flatness > 0 ? Flatness : 0.25f);
  INT n = 0;
  if (st == Ok) st = Api.GdipGetPointCount(copy, &n);
  std::vector<GpPointF> pts(size_t(n > 0 ? n : 0));
  std::vector<BYTE> types(pts.size());
  if (st == Ok && n > 0) st = Api.GdipGetPathPoints(copy, pts.data(), n);
  if (st == Ok && n > 0) st = Api.GdipGetPathTypes(copy, types.data(), n);
  Api.GdipDeletePath(copy);
  if (st != Ok) return st;
  std::vector<TStrokeFigure> figures;
  for (INT i = 0; i < n; ++i) {
    if ((types[size_t(i)] & 0x07) == 0 || figures.empty()) figures.emplace_back();
    figures.back().Points.push_back({pts[size_t(i)].X, pts[size_t(i)].Y});
  }
  std::vector<std::vector<TStrokePoint>> loops;
  try {
    loops = WindingOutline(figures);
  } catch (...) {
    return OutOfMemory;
  }
  st = Api.GdipResetPath(Path);
  if (st != Ok) return st;
  Api.GdipSetPathFillMode(Path, 1);
  std::vector<GpPointF> poly;
  for (const auto& l : loops) {
    poly.clear();
    for (const TStrokePoint& q : l) poly.push_back({REAL(q.X), REAL(q.Y)});
    Api.GdipAddPathPolygon(Path, poly.data(), INT(poly.size()));
  }
  return Ok;
}


// GdipAddPathEllipse: libgdiplus adds the ellipse counter-clockwise on the
// screen, GDI+ clockwise (like its rectangles), so an ellipse and a polygon
// in one winding path would cancel where they overlap. The bridge adds the
// library's ellipse reversed: same start point, GDI+'s direction.
GpStatus (*LibAddPathEllipse)(GpPath*, REAL, REAL, REAL, REAL) = nullptr;

GpStatus BridgeAddPathEllipse(GpPath* Path, REAL X, REAL Y, REAL W, REAL H) {
  if (Path == nullptr) return InvalidParameter;
  GpPath* tmp = nullptr;
  GpStatus st = Api.GdipCreatePath(0, &tmp);
  if (st != Ok) return st;
  st = LibAddPathEllipse(tmp, X, Y, W, H);
  if (st == Ok) st = Api.GdipReversePath(tmp);
  if (st == Ok) st = Api.GdipAddPathPath(Path, tmp, 0);
  Api.GdipDeletePath(tmp);
  return st;
}

GpStatus BridgeAddPathEllipseI(GpPath* Path, INT X, INT Y, INT W, INT H) {
  return BridgeAddPathEllipse(Path, REAL(X), REAL(Y), REAL(W), REAL(H));
}

// ---------------------------------------------------------------------------
// What a DC surface's drawing calls can touch. Every drawing slot records,
// before it draws, the device bounds of its geometry grown by its pen and
// two pixels of smoothing (the calls without a cheap bound record the whole
// surface); the release composes only there.

void AddDrawn(GpGraphics* G, const RECT& R, bool Whole) {
  AcquireSRWLockExclusive(&SurfacesLock);
  auto it = Surfaces->find(G);
  if (it != Surfaces->end()) {
    TDcSurface& s = it->second;
    const RECT all{0, 0, s.Width, s.Height};
    RECT r = Whole ? all : R;
    if (!IsRectEmpty(&r)) UnionRect(&s.Drawn, &s.Drawn, &r);
  }
  ReleaseSRWLockExclusive(&SurfacesLock);
}

void MarkAll(GpGraphics* G) { AddDrawn(G, RECT{}, true); }

// Records the world-space box (X0, Y0)-(X1, Y1) grown by Margin device
// pixels (before the world transform's scale).
void MarkBox(GpGraphics* G, double X0, double Y0, double X1, double Y1, double Margin) {
  REAL e[6] = {1, 0, 0, 1, 0, 0};
  GpMatrix* m = nullptr;
  if (Api.GdipCreateMatrix(&m) == Ok) {
    Api.GdipGetWorldTransform(G, m);
    Api.GdipGetMatrixElements(m, e);
    Api.GdipDeleteMatrix(m);
  }
  const double scale = std::sqrt(std::fabs(double(e[0]) * e[3] - double(e[1]) * e[2]));
  double lo[2] = {1e300, 1e300}, hi[2] = {-1e300, -1e300};
  for (double x : {X0, X1})
    for (double y : {Y0, Y1}) {
      const double dx = x * e[0] + y * e[2] + e[4], dy = x * e[1] + y * e[3] + e[5];
      lo[0] = std::min(lo[0], dx), lo[1] = std::min(lo[1], dy), hi[0] = std::max(hi[0], dx), hi[1] = std::max(hi[1], dy);
    }
  const double grow = Margin * (scale > 0 ? scale : 1) + 2;
  if (!(std::isfinite(lo[0]) && std::isfinite(lo[1]) && std::isfinite(hi[0]) && std::isfinite(hi[1]) &&
        std::isfinite(grow))) {
    MarkAll(G);
    return;
  }
  auto clampPixel = [](double V) { return LONG(std::clamp(V, -1e9, 1e9)); };
  AddDrawn(G, RECT{clampPixel(std::floor(lo[0] - grow)), clampPixel(std::floor(lo[1] - grow)),
                   clampPixel(std::ceil(hi[0] + grow)) + 1, clampPixel(std::ceil(hi[1] + grow)) + 1},
           false);
}

// How far a pen reaches beyond its geometry: half its width times the miter
// limit for joins, a width for caps.
double Reach(GpPen* P) {
  REAL w = 1, miter = 10;
  Api.GdipGetPenWidth(P, &w);
  Api.GdipGetPenMiterLimit(P, &miter);
  return double(w) * (std::max(double(miter), 2.0) / 2 + 2);
}
double Reach(GpBrush*) { return 0; }
double Reach(GpImage*) { return 0; }

template <class Tool, class V>
void MarkRectCall(GpGraphics* G, Tool* T, V X, V Y, V W, V H) {
  MarkBox(G, double(X), double(Y), double(X) + double(W), double(Y) + double(H), Reach(T));
}

template <class Tool, class V>
void MarkLineCall(GpGraphics* G, Tool* T, V X1, V Y1, V X2, V Y2) {
  MarkBox(G, std::min(double(X1), double(X2)), std::min(double(Y1), double(Y2)), std::max(double(X1), double(X2)),
          std::max(double(Y1), double(Y2)), Reach(T));
}

template <class Tool, class P, class... Extra>
void MarkPointsCall(GpGraphics* G, Tool* T, const P* Pts, INT Count, Extra...) {
  if (Pts == nullptr || Count <= 0) return;
  double x0 = Pts[0].X, y0 = Pts[0].Y, x1 = x0, y1 = y0;
  for (INT i = 1; i < Count; ++i) {
    x0 = std::min(x0, double(Pts[i].X)), y0 = std::min(y0, double(Pts[i].Y));
    x1 = std::max(x1, double(Pts[i].X)), y1 = std::max(y1, double(Pts[i].Y));
  }
  MarkBox(G, x0, y0, x1, y1, Reach(T));
}

template <class Tool>
void MarkPathCall(GpGraphics* G, Tool* T, GpPath* Path) {
  GpRectF b{};
  if (Path == nullptr || Api.GdipGetPathWorldBounds(Path, &b, nullptr, nullptr) != Ok) {
    MarkAll(G);
    return;
  }
  MarkBox(G, b.X, b.Y, double(b.X) + b.Width, double(b.Y) + b.Height, Reach(T));
}

// One drawing slot with its recorder (nil: the whole surface).
template <int N, class Sig>
struct TDrawingSlot;
template <int N, class... A>
struct TDrawingSlot<N, GpStatus (*)(GpGraphics*, A...)> {
  static inline GpStatus (*Next)(GpGraphics*, A...) = nullptr;
  static inline void (*Mark)(GpGraphics*, A...) = nullptr;
  static GpStatus Call(GpGraphics* G, A... Args) {
    if (G != nullptr) {
      if (Mark)
        Mark(G, Args...);
      else
        MarkAll(G);
    }
    return Next(G, Args...);
  }
};

template <int N, class F, class M = std::nullptr_t>
void RecordDrawing(F& Slot, M Mark = nullptr) {
  using S = TDrawingSlot<N, F>;
  S::Next = Slot;
  S::Mark = Mark;
  Slot = &S::Call;
}

void InstallDrawingRecorders() {
#define LUMIGRA_RECORD(Name, ...) RecordDrawing<__COUNTER__>(Api.Name __VA_OPT__(, ) __VA_ARGS__)
  LUMIGRA_RECORD(GdipFillPath, &MarkPathCall<GpBrush>);
  LUMIGRA_RECORD(GdipDrawPath, &MarkPathCall<GpPen>);
  LUMIGRA_RECORD(GdipFillRectangle, &MarkRectCall<GpBrush, REAL>);
  LUMIGRA_RECORD(GdipFillRectangleI, &MarkRectCall<GpBrush, INT>);
  LUMIGRA_RECORD(GdipFillEllipse, &MarkRectCall<GpBrush, REAL>);
  LUMIGRA_RECORD(GdipFillEllipseI, &MarkRectCall<GpBrush, INT>);
  LUMIGRA_RECORD(GdipDrawRectangle, &MarkRectCall<GpPen, REAL>);
  LUMIGRA_RECORD(GdipDrawRectangleI, &MarkRectCall<GpPen, INT>);
  LUMIGRA_RECORD(GdipDrawEllipse, &MarkRectCall<GpPen, REAL>);
  LUMIGRA_RECORD(GdipDrawEllipseI, &MarkRectCall<GpPen, INT>);
  LUMIGRA_RECORD(GdipDrawImageRect, &MarkRectCall<GpImage, REAL>);
  LUMIGRA_RECORD(GdipDrawImageRectI, &MarkRectCall<GpImage, INT>);
  LUMIGRA_RECORD(GdipDrawLine, &MarkLineCall<GpPen, REAL>);
  LUMIGRA_RECORD(GdipDrawLineI, &MarkLineCall<GpPen, INT>);
  LUMIGRA_RECORD(GdipFillPolygon, &MarkPointsCall<GpBrush, GpPointF, INT>);
  LUMIGRA_RECORD(GdipFillPolygonI, &MarkPointsCall<GpBrush, GpPoint, INT>);
  LUMIGRA_RECORD(GdipDrawPolygon, &MarkPointsCall<GpPen, GpPointF>);
  LUMIGRA_RECORD(GdipDrawPolygonI, &MarkPointsCall<GpPen, GpPoint>);
  LUMIGRA_RECORD(GdipDrawLines, &MarkPointsCall<GpPen, GpPointF>);
  LUMIGRA_RECORD(GdipDrawLinesI, &MarkPointsCall<GpPen, GpPoint>);
  LUMIGRA_RECORD(GdipDrawBeziers, &MarkPointsCall<GpPen, GpPointF>);
  LUMIGRA_RECORD(GdipDrawBeziersI, &MarkPointsCall<GpPen, GpPoint>);
  // Arcs, pies, curves, regions, text, unsized images, clearing: the whole
  // surface.
  LUMIGRA_RECORD(GdipDrawArc);
  LUMIGRA_RECORD(GdipDrawArcI);
  LUMIGRA_RECORD(GdipDrawBezier);
  LUMIGRA_RECORD(GdipDrawBezierI);
  LUMIGRA_RECORD(GdipDrawPie);
  LUMIGRA_RECORD(GdipDrawPieI);
  LUMIGRA_RECORD(GdipDrawCurve);
  LUMIGRA_RECORD(GdipDrawCurveI);
  LUMIGRA_RECORD(GdipDrawCurve2);
  LUMIGRA_RECORD(GdipDrawCurve2I);
  LUMIGRA_RECORD(GdipDrawClosedCurve);
  LUMIGRA_RECORD(GdipDrawClosedCurveI);
  LUMIGRA_RECORD(GdipGraphicsClear);
  LUMIGRA_RECORD(GdipFillPie);
  LUMIGRA_RECORD(GdipFillPieI);
  LUMIGRA_RECORD(GdipFillRegion);
  LUMIGRA_RECORD(GdipDrawString);
  LUMIGRA_RECORD(GdipDrawImage);
  LUMIGRA_RECORD(GdipDrawImageI);
#undef LUMIGRA_RECORD
}

bool Installed = false;
std::once_flag InstallOnce;

void Install() {
  Surfaces = new std::unordered_map<GpGraphics*, TDcSurface>();
  Pool = new std::vector<TScratchBlock>();
  LibDeleteGraphics = Api.GdipDeleteGraphics;
  Api.GdipDeleteGraphics = BridgeDeleteGraphics;
  Api.GdipCreateFromHDC = BridgeCreateFromHDC;
  Api.GdipWidenPath = BridgeWidenPath;
  Api.GdipWindingModeOutline = BridgeWindingModeOutline;
  LibAddPathEllipse = Api.GdipAddPathEllipse;
  Api.GdipAddPathEllipse = BridgeAddPathEllipse;
  Api.GdipAddPathEllipseI = BridgeAddPathEllipseI;
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
  InstallDrawingRecorders();
  Installed = true;
}

}  // namespace

bool LoadGdiPlus(const char** Error) {
  if (!LoadLibGdiPlus(Error)) return false;
  std::call_once(InstallOnce, Install);
  return Installed;
}

int BridgeSurfaceCount() {
  if (Surfaces == nullptr) return 0;
  AcquireSRWLockShared(&SurfacesLock);
  const int n = int(Surfaces->size());
  ReleaseSRWLockShared(&SurfacesLock);
  return n;
}

}  // namespace gdipflat
