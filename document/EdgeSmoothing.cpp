#include "document/EdgeSmoothing.h"

#include <algorithm>
#include <unordered_set>

namespace {

uint64_t PackPoint(Integer X, Integer Y) { return (uint64_t(uint32_t(X)) << 32) | uint32_t(Y); }

}  // namespace

std::vector<TPoint> GetRectCorners(const std::vector<TRect>& Rects, Integer Inclusive) {
  std::vector<TPoint> c;
  c.reserve(Rects.size() * 4);
  for (const TRect& r : Rects) {
    const bool wide = r.Right - r.Left > 1;
    if (r.Bottom - r.Top <= 1) {
      c.push_back(TPoint(r.Left, r.Top));
      if (wide) c.push_back(TPoint(r.Right - Inclusive, r.Top));
    } else {
      c.push_back(TPoint(r.Left, r.Top));
      c.push_back(TPoint(r.Left, r.Bottom - Inclusive));
      if (wide) {
        c.push_back(TPoint(r.Right - Inclusive, r.Top));
        c.push_back(TPoint(r.Right - Inclusive, r.Bottom - Inclusive));
      }
    }
  }
  return c;
}

void UpdateAliasPointList(std::vector<TPoint>& Alias, const TRegion& Selection, const TRegion& RH, TAliasMode Mode,
                          bool IsAntialiasing) {
  if (Mode == TAliasMode::Subtract && !IsAntialiasing) {
    Alias.erase(std::remove_if(Alias.begin(), Alias.end(), [&](const TPoint& P) { return !Selection.Contains(P); }),
                Alias.end());
    return;
  }
  if (IsAntialiasing) {
    const std::vector<TPoint> k = GetRectCorners(RH.Rects(), 1);
    if (Mode == TAliasMode::Add) {
      Alias.insert(Alias.end(), k.begin(), k.end());
    } else {
      for (const TPoint& p : k)
        for (const TPoint& n : {TPoint(p.X - 1, p.Y), TPoint(p.X + 1, p.Y), TPoint(p.X, p.Y - 1), TPoint(p.X, p.Y + 1)})
          if (!RH.Contains(n)) Alias.push_back(n);
    }
  }
  std::unordered_set<uint64_t> wanted, seen;
  wanted.reserve(Alias.size());
  for (const TPoint& p : Alias) wanted.insert(PackPoint(p.X, p.Y));
  Alias.clear();
  for (const TPoint& c : GetRectCorners(Selection.Rects(), 1)) {
    const uint64_t key = PackPoint(c.X, c.Y);
    if (wanted.count(key) && seen.insert(key).second) Alias.push_back(c);
  }
}

TRect CutArea(const TRegion& Region, const TRect& Bounds) {
  const TRect b = Region.Box();
  TRect r;
  if (Region.Empty() || !IntersectRects(r, TRect(b.Left - 1, b.Top - 1, b.Right + 1, b.Bottom + 1), Bounds))
    return TRect();
  return RectIsEmpty(r) ? TRect() : r;
}

void SplitSelectionPictures(TCustomBitmap32* Src, const TRegion& Region, const TRect& Area, TCustomBitmap32* Z,
                            TCustomBitmap32* F) {
  const Integer w = std::max(Area.Width(), 0), h = std::max(Area.Height(), 0);
  Z->SetSize(w, h);
  F->SetSize(w, h);
  if (w == 0 || h == 0) return;
  F->Clear(0x00FFFFFFu);
  for (Integer y = 0; y < h; ++y) std::copy_n(Src->PixelPtr(Area.Left, Area.Top + y), w, Z->PixelPtr(0, y));
  for (const TRect& q : Region.Rects()) {
    TRect r;
    if (!IntersectRects(r, q, Area) || RectIsEmpty(r)) continue;
    for (Integer y = r.Top; y < r.Bottom; ++y) {
      TColor32* z = Z->PixelPtr(r.Left - Area.Left, y - Area.Top);
      std::copy_n(z, r.Width(), F->PixelPtr(r.Left - Area.Left, y - Area.Top));
      std::fill_n(z, r.Width(), 0x00FFFFFFu);
    }
  }
}

namespace {

// The smoothing of one pair of pictures.
class TSmoother {
 public:
  TSmoother(TCustomBitmap32* Z, TCustomBitmap32* F)
      : FZ(Z), FF(F), FW(Z->Width()), FH(Z->Height()), FN(size_t(FW) * size_t(FH)) {
    FZA.resize(FN);
    FFA.resize(FN);
    FZC.assign(FN, 0);
    FFC.assign(FN, 0);
    FZWritten.assign(FN, 0);
    FFWritten.assign(FN, 0);
    FSrcA.resize(FN);
    const TColor32* z = Z->Bits();
    const TColor32* f = F->Bits();
    for (size_t i = 0; i < FN; ++i) {
      FZA[i] = Integer(z[i] >> 24);
      FFA[i] = Integer(f[i] >> 24);
      // One of the two holds the source pixel, the other $00FFFFFF.
      FSrcA[i] = std::min(FZA[i] + FFA[i], 255);
    }
    const size_t longest = size_t(std::max(FW, FH));
    FInH.reserve(longest);
    FInV.reserve(longest);
    FOutH.reserve(longest);
    FOutV.reserve(longest);
  }

  void Corner(Integer X, Integer Y);
  void WriteBack();
  void Notch(Integer X, Integer Y);

 private:
  size_t At(Integer X, Integer Y) const { return size_t(Y) * size_t(FW) + size_t(X); }
  bool Inside(Integer X, Integer Y) const { return X >= 0 && Y >= 0 && X < FW && Y < FH; }
  // Alpha of the pictures as they were filled.
  Cardinal ZAlpha(Integer X, Integer Y) const { return FZ->GetPixel(X, Y) >> 24; }
  Integer Code(const TCustomBitmap32* B, Integer X, Integer Y) const {
    Integer c = 0;
    if (X > 0 && (B->GetPixel(X - 1, Y) >> 24) != 0) c |= 1;
    if (Y > 0 && (B->GetPixel(X, Y - 1) >> 24) != 0) c |= 2;
    if (X < FW - 1 && (B->GetPixel(X + 1, Y) >> 24) != 0) c |= 4;
    if (Y < FH - 1 && (B->GetPixel(X, Y + 1) >> 24) != 0) c |= 8;
    return c;
  }
  // Steps away from the corner along inside pixels of the listed codes.
  void TraceInside(Integer X, Integer Y, Integer DX, Integer DY, Integer C1, Integer C2, std::vector<TPoint>& Run) {
    for (Integer x = X + DX, y = Y + DY; Inside(x, y) && ZAlpha(x, y) == 0; x += DX, y += DY) {
      const Integer c = Code(FZ, x, y);
      if (c != C1 && c != C2) break;
      Run.push_back(TPoint(x, y));
      FLastCode = c;
    }
  }
  // Steps from (X, Y) along outside pixels whose inside-picture code is
  // listed, at most Max of them.
  void TraceOutside(Integer X, Integer Y, Integer DX, Integer DY, Integer C1, Integer C2, size_t Max,
                    std::vector<TPoint>& Run) {
    for (Integer x = X, y = Y; Run.size() < Max && Inside(x, y) && ZAlpha(x, y) != 0; x += DX, y += DY) {
      const Integer c = Code(FF, x, y);
      if (c != C1 && c != C2) break;
      Run.push_back(TPoint(x, y));
    }
  }
  // One ramp: the outside run from its far end, then the first Half pixels
  // of the inside run from the corner.
  void Ramp(const std::vector<TPoint>& In, const std::vector<TPoint>& Out, Integer Half, TColor32 Cin,
            TColor32 OutColour) {
    const Integer p = Half + Integer(Out.size());
    const Integer step = 275 / (p + 1);
    Integer v = 255;
    for (auto it = Out.rbegin(); it != Out.rend(); ++it) {
      v -= step;
      const size_t i = At(it->X, it->Y);
      Share(i, std::max(v, 0));
      FFC[i] = Cin;
      FFWritten[i] = 1;
    }
    for (Integer n = 0; n < Half && n < Integer(In.size()); ++n) {
      v = std::max(v - step, 0);
      const size_t i = At(In[size_t(n)].X, In[size_t(n)].Y);
      Share(i, v);
      FZC[i] = OutColour;
      FZWritten[i] = 1;
    }
  }
  // The outside picture takes V of 255 parts of the pixel's alpha, the
  // inside picture the rest.
  void Share(size_t I, Integer V) {
    const Integer a = FSrcA[I];
    FZA[I] = (V * a + 127) / 255;
    FFA[I] = a - FZA[I];
  }

  TCustomBitmap32* FZ;
  TCustomBitmap32* FF;
  Integer FW, FH;
  size_t FN;
  std::vector<Integer> FZA, FFA, FSrcA;
  std::vector<TColor32> FZC, FFC;
  std::vector<uint8_t> FZWritten, FFWritten;
  std::vector<TPoint> FInH, FInV, FOutH, FOutV;
  Integer FLastCode = 0;
};

void TSmoother::Corner(Integer X, Integer Y) {
  if (FZA[At(X, Y)] > 0) return;
  const Integer code = Code(FZ, X, Y);
  if (code != 3 && code != 6 && code != 9 && code != 12) return;
  FInH.assign(1, TPoint(X, Y));
  FInV.assign(1, TPoint(X, Y));
  FOutH.clear();
  FOutV.clear();
  const TColor32 cin = FF->GetPixel(X, Y);
  // By corner: the inside runs' directions and codes, the outside runs'
  // directions and inside-picture codes.
  struct TWay {
    Integer HIn, HIn1, HIn2, HOut1, HOut2;  // horizontal: inside step, codes
    Integer VIn, VIn1, VIn2, VOut1, VOut2;  // vertical
  };
  TWay w{};
  switch (code) {
    case 3: w = {+1, 2, 6, 8, 12, +1, 1, 9, 4, 12}; break;
    case 6: w = {-1, 2, 3, 8, 9, +1, 4, 12, 1, 9}; break;
    case 9: w = {+1, 8, 12, 2, 6, -1, 1, 3, 4, 6}; break;
    default: w = {-1, 8, 9, 2, 3, -1, 4, 6, 1, 3}; break;
  }
  const TColor32 hout = FZ->GetPixel(X - w.HIn, Y);
  const TColor32 vout = FZ->GetPixel(X, Y - w.VIn);
  TraceInside(X, Y, w.HIn, 0, w.HIn1, w.HIn2, FInH);
  const Integer j = Integer(FInH.size());
  TraceOutside(X - w.HIn, Y, -w.HIn, 0, w.HOut1, w.HOut2, size_t(j / 4 + 1), FOutH);
  TraceInside(X, Y, 0, w.VIn, w.VIn1, w.VIn2, FInV);
  const Integer k = Integer(FInV.size());
  TraceOutside(X, Y - w.VIn, 0, -w.VIn, w.VOut1, w.VOut2, size_t(k / 4 + 1), FOutV);
  const bool horz = !(j == 1 && k > 1), vert = !(j > 1 && k == 1);
  if (horz) {
    const bool four = (code == 3 || code == 6) ? FLastCode == 2 : FLastCode == 8;
    const Integer jp = j == 1 ? 2 : ((j == 2 || j == 3) && four) ? 4 : j;
    Ramp(FInH, FOutH, jp / 2, cin, hout);
  }
  if (vert) {
    const bool four = (code == 3 || code == 9) ? FLastCode == 1 : FLastCode == 4;
    const Integer kp = k == 1 ? 2 : ((k == 2 || k == 3) && four) ? 4 : k;
    Ramp(FInV, FOutV, kp / 2, cin, vout);
  }
}

void TSmoother::WriteBack() {
  TColor32* z = FZ->Bits();
  TColor32* f = FF->Bits();
  for (size_t i = 0; i < FN; ++i) {
    const TColor32 zc = FZWritten[i] ? FZC[i] : z[i];
    z[i] = (zc & 0x00FFFFFFu) | (TColor32(FZA[i]) << 24);
    const TColor32 fc = FFWritten[i] ? FFC[i] : f[i];
    f[i] = (fc & 0x00FFFFFFu) | (TColor32(FFA[i]) << 24);
  }
}

void TSmoother::Notch(Integer X, Integer Y) {
  if ((FZ->GetPixel(X, Y) >> 24) != 0) return;
  TColor32 n[4];
  Integer count = 0;
  for (const TPoint& d : {TPoint(-1, 0), TPoint(1, 0), TPoint(0, -1), TPoint(0, 1)}) {
    const Integer x = X + d.X, y = Y + d.Y;
    if (Inside(x, y) && (FZ->GetPixel(x, y) >> 24) != 0) n[count++] = FZ->GetPixel(x, y);
  }
  if (count != 3) return;
  Cardinal minA = 255, r = 0, g = 0, b = 0;
  for (Integer i = 0; i < 3; ++i) {
    minA = std::min<Cardinal>(minA, n[i] >> 24);
    r += (n[i] >> 16) & 0xFF;
    g += (n[i] >> 8) & 0xFF;
    b += n[i] & 0xFF;
  }
  const Cardinal a = (minA / 2 * Cardinal(FSrcA[At(X, Y)]) + 127) / 255;
  FZ->SetPixel(X, Y, (a << 24) | ((r / 3) << 16) | ((g / 3) << 8) | (b / 3));
}

}  // namespace

void AntiAliasing(TCustomBitmap32* Z, TCustomBitmap32* F, const std::vector<TPoint>& AliasPoints, Integer DX,
                  Integer DY) {
  if (AliasPoints.empty() || Z->Empty() || Z->Width() != F->Width() || Z->Height() != F->Height()) return;
  std::vector<TPoint> corners;
  for (const TPoint& p : AliasPoints) {
    const Integer x = p.X - DX, y = p.Y - DY;
    if (x >= 0 && y >= 0 && x < Z->Width() && y < Z->Height()) corners.push_back(TPoint(x, y));
  }
  if (corners.empty()) return;
  TSmoother s(Z, F);
  for (const TPoint& c : corners) s.Corner(c.X, c.Y);
  s.WriteBack();
  for (const TPoint& c : corners) s.Notch(c.X, c.Y);
}
