// The bridge's DC surfaces: a graphics made on a DC draws into a zeroed
// premultiplied scratch bitmap, composed onto the DC's DIB section when the
// graphics is deleted (platform/GdiPlusBridge.h).
#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/GdiPlusStatus.h"
#include "platform/win/GdiPlusBridgeParts.h"
#include "rtl/ScopeGuard.h"

namespace gdipflat::bridge {

GpStatus (*LibDeleteGraphics)(GpGraphics*) = nullptr;

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
  const RECT all{0, 0, S.Width, S.Height};
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

// The clip region of a DC as rectangles; false when it has none. Throws
// std::bad_alloc when the rectangles find no memory.
bool DcClipRects(HDC Dc, std::vector<RECT>& Rects) {
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  if (rgn == nullptr) return false;
  TFinally drop([&] { DeleteObject(rgn); });
  if (GetClipRgn(Dc, rgn) != 1) return false;
  const DWORD size = GetRegionData(rgn, 0, nullptr);
  std::vector<BYTE> data(size);
  if (size >= sizeof(RGNDATAHEADER) && GetRegionData(rgn, size, reinterpret_cast<RGNDATA*>(data.data())) == size) {
    const auto* rd = reinterpret_cast<const RGNDATA*>(data.data());
    const auto* r = reinterpret_cast<const RECT*>(rd->Buffer);
    Rects.assign(r, r + rd->rdh.nCount);
  }
  return true;
}

// Scratch memory: zeroed blocks kept for the next surface of the same size
// (a fresh block of a large DIB's size costs a mapping and its page faults
// on every graphics). A block returns with what was drawn cleared again.
struct TScratchBlock {
  size_t Pixels;
  uint32_t* Bits;
};
SRWLOCK PoolLock = SRWLOCK_INIT;
// Room for one block more than it keeps is reserved at installation, so
// returning a block never allocates.
std::vector<TScratchBlock>* Pool = nullptr;
constexpr size_t PoolBlocks = 2;

uint32_t* TakeScratch(size_t Pixels) {
  uint32_t* bits = nullptr;
  {
    TSrwLockExclusive lock(PoolLock);
    for (auto it = Pool->begin(); it != Pool->end(); ++it)
      if (it->Pixels == Pixels) {
        bits = it->Bits;
        Pool->erase(it);
        break;
      }
  }
  return bits ? bits : static_cast<uint32_t*>(std::calloc(Pixels, 4));
}

// Clears the drawn rectangle and keeps the block (the oldest one goes when
// the pool is full).
void ReturnScratch(TDcSurface& S) {
  RECT r = S.Drawn;
  const RECT all{0, 0, S.Width, S.Height};
  if (IntersectRect(&r, &r, &all))
    for (LONG y = r.top; y < r.bottom; ++y)
      std::memset(S.ScratchBits + size_t(y) * size_t(S.Width) + size_t(r.left), 0, size_t(r.right - r.left) * 4);
  uint32_t* drop = nullptr;
  {
    TSrwLockExclusive lock(PoolLock);
    Pool->push_back({size_t(S.Width) * size_t(S.Height), S.ScratchBits});
    if (Pool->size() > PoolBlocks) {
      drop = Pool->front().Bits;
      Pool->erase(Pool->begin());
    }
  }
  std::free(drop);
  S.ScratchBits = nullptr;
}

void FreeSurface(TDcSurface& S) {
  if (S.Scratch != nullptr) Gp.GdipDisposeImage(S.Scratch);
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
  try {
    s.Clipped = DcClipRects(static_cast<HDC>(Hdc), s.Clip);
  } catch (...) {  // no memory for the clip's rectangles
    return OutOfMemory;
  }
  // Zeroed memory, kept from an earlier surface of this size when there is one.
  s.ScratchBits = TakeScratch(size_t(w) * size_t(h));
  if (s.ScratchBits == nullptr) return OutOfMemory;
  GpStatus st = Gp.GdipCreateBitmapFromScan0(w, h, w * 4, PixelFormat32bppPARGB,
                                              reinterpret_cast<BYTE*>(s.ScratchBits), &s.Scratch);
  if (st != Ok || s.Scratch == nullptr) {
    s.Scratch = nullptr;
    FreeSurface(s);
    return st != Ok ? st : GenericError;
  }
  GpGraphics* g = nullptr;
  st = Gp.GdipGetImageGraphicsContext(s.Scratch, &g);
  if (st != Ok || g == nullptr) {
    FreeSurface(s);
    return st != Ok ? st : GenericError;
  }
  try {
    TSrwLockExclusive lock(SurfacesLock);
    (*Surfaces)[g] = std::move(s);
  } catch (...) {  // no memory for the map's entry: nothing was made
    LibDeleteGraphics(g);
    FreeSurface(s);
    return OutOfMemory;
  }
  *Graphics = g;
  return Ok;
}

GpStatus BridgeDeleteGraphics(GpGraphics* Graphics) {
  TDcSurface s;
  bool found = false;
  if (Graphics != nullptr) {
    TSrwLockExclusive lock(SurfacesLock);
    auto it = Surfaces->find(Graphics);
    if (it != Surfaces->end()) {
      s = std::move(it->second);
      Surfaces->erase(it);
      found = true;
    }
  }
  const GpStatus st = LibDeleteGraphics(Graphics);
  if (found) {
    // The scratch bitmap is disposed first so that everything is flushed
    // into its memory (which is ours), then composed onto the DIB.
    Gp.GdipDisposeImage(s.Scratch);
    s.Scratch = nullptr;
    GdiFlush();
    ComposeSurface(s);
    ReturnScratch(s);
  }
  return st;
}

}  // namespace

bool SurfaceSize(GpGraphics* G, INT& W, INT& H) {
  TSrwLockShared lock(SurfacesLock);
  auto it = Surfaces->find(G);
  if (it == Surfaces->end()) return false;
  W = it->second.Width;
  H = it->second.Height;
  return true;
}

void AddDrawn(GpGraphics* G, const RECT* R) {
  TSrwLockExclusive lock(SurfacesLock);
  auto it = Surfaces->find(G);
  if (it == Surfaces->end()) return;
  TDcSurface& s = it->second;
  const RECT all{0, 0, s.Width, s.Height};
  const RECT r = R != nullptr ? *R : all;
  if (!IsRectEmpty(&r)) UnionRect(&s.Drawn, &s.Drawn, &r);
}

int SurfaceCount() {
  if (Surfaces == nullptr) return 0;
  TSrwLockShared lock(SurfacesLock);
  return int(Surfaces->size());
}

void InstallSurfaces() {
  Surfaces = new std::unordered_map<GpGraphics*, TDcSurface>();
  Pool = new std::vector<TScratchBlock>();
  Pool->reserve(PoolBlocks + 1);
  LibDeleteGraphics = Api.GdipDeleteGraphics;
  Api.GdipDeleteGraphics = BridgeDeleteGraphics;
  Api.GdipCreateFromHDC = BridgeCreateFromHDC;
}

}  // namespace gdipflat::bridge
