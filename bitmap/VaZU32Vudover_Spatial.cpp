// Spatial effects: alpha masks, edges, torn edges, mosaic, smoothing, frames.
#include <algorithm>
#include <cmath>
#include <vector>

#include "bitmap/Bmp32_Blend.h"
#include "bitmap/Bmp32_LowLevel.h"
#include "bitmap/VaZU32Vudover.h"
#include "rtl/ScopeGuard.h"

namespace {

Integer RoundS(Single V) { return Integer(std::nearbyint(V)); }

// Rounds and clamps V; the alpha becomes it only when smaller.
void LimitAlpha(TColor32& P, Single V) {
  if (!(V == V)) return;  // NaN
  Integer a = V <= 0 ? 0 : (V >= 255 ? 255 : RoundS(V));
  if (TColor32(a) < (P >> 24)) P = (P & 0x00FFFFFFu) | (TColor32(a) << 24);
}

void SetAlpha(TColor32& P, Integer A) { P = (P & 0x00FFFFFFu) | (TColor32(A < 0 ? 0 : (A > 255 ? 255 : A)) << 24); }

// ---------------------------------------------------------------------------
// Nonzero-winding polygon fill, pixel centres at (x + 0.5, y + 0.5).

struct TPt {
  Integer X, Y;
};

template <class Put>
void FillPolygonWinding(const std::vector<TPt>& Poly, Integer Width, Integer Height, Put put) {
  size_t n = Poly.size();
  if (n < 3) return;
  struct TCross {
    double X;
    int Dir;
  };
  std::vector<TCross> xs;
  for (Integer y = 0; y < Height; ++y) {
    double yc = y + 0.5;
    xs.clear();
    for (size_t i = 0; i < n; ++i) {
      const TPt& a = Poly[i];
      const TPt& b = Poly[(i + 1) % n];
      if (a.Y == b.Y) continue;
      bool up = a.Y < b.Y;
      double y0 = up ? a.Y : b.Y, y1 = up ? b.Y : a.Y;
      if (yc < y0 || yc >= y1) continue;
      double t = (yc - a.Y) / double(b.Y - a.Y);
      xs.push_back(TCross{a.X + t * (b.X - a.X), up ? 1 : -1});
    }
    std::sort(xs.begin(), xs.end(), [](const TCross& p, const TCross& q) { return p.X < q.X; });
    int wind = 0;
    for (size_t i = 0; i + 1 <= xs.size(); ++i) {
      wind += xs[i].Dir;
      if (wind == 0 || i + 1 >= xs.size()) continue;
      // pixels whose centre lies in [xs[i], xs[i+1])
      double xa = xs[i].X, xb = xs[i + 1].X;
      Int64 x0 = Int64(std::ceil(xa - 0.5)), x1 = Int64(std::ceil(xb - 0.5)) - 1;
      if (x0 < 0) x0 = 0;
      if (x1 > Width - 1) x1 = Width - 1;
      for (Int64 x = x0; x <= x1; ++x) put(Integer(x), y);
    }
  }
}

// The torn outline along one side: points (a, b) with a the depth into the
// bitmap (0..D-1) and b the position along the side (0..Extent-1).
std::vector<TPt> TornOutline(Integer D, Integer Extent, bool Style) {
  std::vector<TPt> pts;
  pts.push_back(TPt{-10, -10});
  pts.push_back(TPt{Integer(EffectRandom(Cardinal(D))), 0});
  for (;;) {
    TPt prev = pts.back();
    Integer a = 0, b = 0;
    bool found = false;
    for (int tries = 0; tries < 100000; ++tries) {
      a = Integer(EffectRandom(Cardinal(D)));
      b = prev.Y + Integer(EffectRandom(Cardinal(D) + 5)) + 3;
      Integer da = a > prev.X ? a - prev.X : prev.X - a;
      Integer db = b - prev.Y;
      if (a == prev.X) continue;
      if (!Style && da > D / 2 - 1) continue;
      if (Style && da < db - 2) continue;
      found = true;
      break;
    }
    if (!found) {  // a generator stuck in an unlucky stretch: a short legal step
      a = prev.X > 0 ? prev.X - 1 : prev.X + 1;
      b = prev.Y + 3;
    }
    if (b >= Extent - 1) {
      pts.push_back(TPt{a, Extent - 1});
      pts.push_back(TPt{-10, Extent + 9});
      break;
    }
    pts.push_back(TPt{a, b});
  }
  return pts;
}

constexpr TColor32 TornPixel = 0x00FFFFFFu;

void HalveAlpha(TColor32& P) { P = (P & 0x00FFFFFFu) | (((P >> 24) >> 1) << 24); }

// Along each of Lines lines, walks Depth steps in from the edge (At(line,
// step) gives the pixel) and halves the alpha of the first visible pixel met.
template <class F>
void HalveFirstVisible(Integer Lines, Integer Depth, F At) {
  for (Integer l = 0; l < Lines; ++l)
    for (Integer s = 0; s < Depth; ++s) {
      TColor32& p = At(l, s);
      if (p >> 24) {
        HalveAlpha(p);
        break;
      }
    }
}

}  // namespace

// ---------------------------------------------------------------------------
// Alpha masks

void CircleFadeAlpha(TCustomBitmap32* Bitmap, const TRect& Rect, Integer MaxAlpha) {
  if (!Bitmap) return;
  Single half = Single(Int64(Rect.Right) - Rect.Left) / 2.0f;
  Single cx = Single(Rect.Left) + half, cy = Single(Rect.Top) + half;
  Integer ox = std::max(Rect.Left, 0), oy = std::max(Rect.Top, 0);
  Single scale = half > 0 ? Single(MaxAlpha) / half : 0.0f;
  for (Integer y = 0; y < Bitmap->Height(); ++y) {
    TColor32* row = Bitmap->ScanLine(y);
    for (Integer x = 0; x < Bitmap->Width(); ++x) {
      TColor32& p = row[x];
      if ((p >> 24) == 0) continue;
      if (half <= 0) {
        p &= 0x00FFFFFFu;
        continue;
      }
      Single d = std::hypot(Single(Int64(x) + ox) - cx, Single(Int64(y) + oy) - cy);
      if (d > half) p &= 0x00FFFFFFu;
      else LimitAlpha(p, (half - d) * scale);
    }
  }
}

void VignetteAlpha(TCustomBitmap32* Bitmap, Integer Percent) {
  if (!Bitmap || Percent < 1 || Bitmap->Empty()) return;
  Single cx = Single(Bitmap->Width()) / 2.0f, cy = Single(Bitmap->Height()) / 2.0f;
  Single R = std::hypot(cx, cy);
  Single k = 255.0f / ((100.0f / Single(Percent)) * R);
  for (Integer y = 0; y < Bitmap->Height(); ++y) {
    TColor32* row = Bitmap->ScanLine(y);
    for (Integer x = 0; x < Bitmap->Width(); ++x) {
      TColor32& p = row[x];
      if ((p >> 24) == 0) continue;
      LimitAlpha(p, k * std::hypot(Single(x) - cx, Single(y) - cy));
    }
  }
}

void EdgeVignetteAlpha(TCustomBitmap32* Dst, TCustomBitmap32* Src, Integer Size, Integer Strength) {
  if (!Dst || !Src) return;
  Integer W = std::min(Dst->Width(), Src->Width()), H = std::min(Dst->Height(), Src->Height());
  if (W <= 0 || H <= 0) return;
  Integer A = RoundS(Single(Size) / 100.0f * 255.0f * Single(Strength) / 100.0f);
  A = A < 0 ? 0 : (A > 255 ? 255 : A);
  Single f = std::min(Single(W) / 2.0f, Single(H) / 2.0f);
  Integer band = RoundS(Single(Size) / 100.0f * f * 0.95f);
  if (band < 2) return;
  auto srcAlpha = [&](Integer x, Integer y) { return Src->GetPixel(x, y) >> 24; };
  for (Integer y = 0; y < H; ++y)
    for (Integer x = 0; x < W; ++x) {
      TColor32& d = *Dst->PixelPtr(x, y);
      if (srcAlpha(x, y) == 0) {
        SetAlpha(d, 0);
        continue;
      }
      Integer o = std::min(std::min(x, y), std::min(H - y, W - x));
      SetAlpha(d, o <= band ? A - RoundS(Single(o) * Single(A) / Single(band)) : 0);
    }
  auto corner = [&](Integer cx, Integer cy, Integer x0, Integer x1, Integer y0, Integer y1) {
    for (Integer y = std::max(y0, 0); y <= std::min(y1, H - 1); ++y)
      for (Integer x = std::max(x0, 0); x <= std::min(x1, W - 1); ++x) {
        TColor32& d = *Dst->PixelPtr(x, y);
        if (srcAlpha(x, y) == 0) {
          SetAlpha(d, 0);
          continue;
        }
        Single dist = std::hypot(Single(x - cx), Single(y - cy));
        SetAlpha(d, RoundS(Single(A) * dist / Single(band)));
      }
  };
  corner(band - 1, band - 1, 0, band - 1, 0, band - 1);
  corner(band - 1, H - band - 1, 0, band - 1, H - band - 1, H - 1);
  corner(W - band - 1, band - 1, W - band - 1, W - 1, 0, band - 1);
  corner(W - band - 1, H - band - 1, W - band - 1, W - 1, H - band - 1, H - 1);
}

// ---------------------------------------------------------------------------
// Edges

void FadeEdges(TCustomBitmap32* Bitmap, Integer Width, Integer Sides) {
  if (!Bitmap || Width <= 0) return;
  Integer W = Bitmap->Width(), H = Bitmap->Height();
  Width = std::min(Width, std::min(W, H));
  if (Width <= 0) return;
  Single step = 255.0f / Single(Width + 1);
  auto fade = [&](TColor32& p, Integer i) {
    Integer k = RoundS(step * Single(i));
    SetAlpha(p, Integer(std::nearbyint(double(k) * double(p >> 24) / 255.0)));
  };
  if (Sides & 1)
    for (Integer y = 0; y < H; ++y)
      for (Integer c = 0; c < Width; ++c) fade(*Bitmap->PixelPtr(c, y), c + 1);
  if (Sides & 2)
    for (Integer r = 0; r < Width; ++r)
      for (Integer x = 0; x < W; ++x) fade(*Bitmap->PixelPtr(x, r), r + 1);
  if (Sides & 4)
    for (Integer y = 0; y < H; ++y)
      for (Integer c = W - Width; c < W; ++c) fade(*Bitmap->PixelPtr(c, y), W - c);
  if (Sides & 8)
    for (Integer r = H - Width; r < H; ++r)
      for (Integer x = 0; x < W; ++x) fade(*Bitmap->PixelPtr(x, r), H - r);
}

void BevelEdges(TCustomBitmap32* Bitmap, Integer Width, Integer Sides) {
  if (!Bitmap || Width <= 0) return;
  Integer W = Bitmap->Width(), H = Bitmap->Height();
  Width = std::min(std::min(Width, 100), std::min(W / 2, H / 2));
  if (Width <= 0) return;
  Single step = 155.0f / Single(Width);
  auto amount = [&](Integer i) { return RoundS(step * Single(i)); };
  auto lighten = [&](Integer x, Integer y, Integer a) {
    TColor32& p = *Bitmap->PixelPtr(x, y);
    p = LightenColor(p, a);
  };
  if (Sides & 1)
    for (Integer i = 0; i < Width; ++i)
      for (Integer y = i; y <= H - i - 1; ++y) lighten(i, y, 155 - amount(i));
  if (Sides & 2)
    for (Integer i = 0; i < Width; ++i)
      for (Integer x = i + 1; x <= W - i - 1; ++x) lighten(x, i, 155 - amount(i));
  if (Sides & 4)
    for (Integer i = 0; i < Width; ++i)
      for (Integer y = i; y <= H - i - 1; ++y) lighten(W - 1 - i, y, amount(i) - 155);
  if (Sides & 8)
    for (Integer i = 0; i < Width; ++i)
      for (Integer x = i; x <= W - i - 2; ++x) lighten(x, H - 1 - i, amount(i) - 155);
}

void TearEdges(TCustomBitmap32* Bitmap, Integer Depth, Integer Sides, bool Style) {
  if (!Bitmap || Bitmap->Empty()) return;
  EffectRandomize();
  Integer W = Bitmap->Width(), H = Bitmap->Height();
  Integer minDepth = Style ? 2 : 4;
  if (Sides & 5) {
    Integer D = std::min(Depth, W);
    if (D >= minDepth) {
      std::vector<TPt> list = TornOutline(D, H, Style);
      if (Sides & 1) {
        FillPolygonWinding(list, D, H, [&](Integer x, Integer y) { Bitmap->SetPixel(x, y, TornPixel); });
        HalveFirstVisible(H, D, [&](Integer y, Integer s) -> TColor32& { return *Bitmap->PixelPtr(s, y); });
      }
      if (Sides & 4) {
        std::vector<TPt> m = list;
        for (TPt& p : m) p.X = W - p.X - 1;
        FillPolygonWinding(m, W, H, [&](Integer x, Integer y) {
          if (x >= W - D) Bitmap->SetPixel(x, y, TornPixel);
        });
        HalveFirstVisible(H, D, [&](Integer y, Integer s) -> TColor32& { return *Bitmap->PixelPtr(W - 1 - s, y); });
      }
    }
  }
  if (Sides & 10) {
    Integer D = std::min(Depth, H);
    if (D >= minDepth) {
      std::vector<TPt> list = TornOutline(D, W, Style);
      // (depth, along) -> (x, y) with the axes exchanged
      std::vector<TPt> top = list;
      for (TPt& p : top) p = TPt{p.Y, p.X};
      if (Sides & 2) {
        FillPolygonWinding(top, W, D, [&](Integer x, Integer y) { Bitmap->SetPixel(x, y, TornPixel); });
        HalveFirstVisible(W, D, [&](Integer x, Integer s) -> TColor32& { return *Bitmap->PixelPtr(x, s); });
      }
      if (Sides & 8) {
        std::vector<TPt> m = top;
        for (TPt& p : m) p.Y = H - p.Y - 1;
        FillPolygonWinding(m, W, H, [&](Integer x, Integer y) {
          if (y >= H - D) Bitmap->SetPixel(x, y, TornPixel);
        });
        HalveFirstVisible(W, D, [&](Integer x, Integer s) -> TColor32& { return *Bitmap->PixelPtr(x, H - 1 - s); });
      }
    }
  }
}

// ---------------------------------------------------------------------------
// Mosaic and smoothing

void Mosaic(TCustomBitmap32* Bitmap, Integer CellSize, bool CanvasTransparent, TColor32 CanvasColor) {
  if (!Bitmap || CellSize < 1) return;
  Integer W = Bitmap->Width(), H = Bitmap->Height();
  if (W <= 1 && H <= 1) return;
  TColor32 back = CanvasTransparent ? 0x00FFFFFFu : CanvasColor;
  for (Integer cy = 0; cy < H; cy = Integer(std::min<Int64>(Int64(cy) + CellSize, H))) {
    Integer y1 = Integer(std::min<Int64>(Int64(cy) + CellSize, H));
    for (Integer cx = 0; cx < W; cx = Integer(std::min<Int64>(Int64(cx) + CellSize, W))) {
      Integer x1 = Integer(std::min<Int64>(Int64(cx) + CellSize, W));
      Int64 sr = 0, sg = 0, sb = 0, count = 0;
      for (Integer y = cy; y < y1; ++y) {
        const TColor32* row = Bitmap->ScanLine(y);
        for (Integer x = cx; x < x1; ++x) {
          TColor32 c = row[x];
          if ((c >> 24) == 0) continue;
          if ((c >> 24) < 255) c = MergeOver(c, back);
          sr += (c >> 16) & 0xFF;
          sg += (c >> 8) & 0xFF;
          sb += c & 0xFF;
          ++count;
        }
      }
      if (count == 0) continue;
      TColor32 rgb = (TColor32(sr / count) << 16) | (TColor32(sg / count) << 8) | TColor32(sb / count);
      for (Integer y = cy; y < y1; ++y) {
        TColor32* row = Bitmap->ScanLine(y);
        for (Integer x = cx; x < x1; ++x) row[x] = (row[x] & 0xFF000000u) | rgb;
      }
    }
  }
  EndBlending();
}

void AverageNeighbours(TCustomBitmap32* Bitmap, Integer Passes) {
  if (!Bitmap) return;
  Integer W = Bitmap->Width(), H = Bitmap->Height();
  for (Integer pass = 0; pass < Passes; ++pass)
    for (Integer y = 1; y <= H - 2; ++y)
      for (Integer x = 1; x <= W - 2; ++x) {
        TColor32 u = Bitmap->GetPixel(x, y - 1), d = Bitmap->GetPixel(x, y + 1);
        TColor32 l = Bitmap->GetPixel(x - 1, y), r = Bitmap->GetPixel(x + 1, y);
        TColor32 res = 0;
        for (int s = 0; s < 32; s += 8)
          res |= ((((u >> s) & 0xFF) + ((d >> s) & 0xFF) + ((l >> s) & 0xFF) + ((r >> s) & 0xFF)) >> 2) << s;
        Bitmap->SetPixel(x, y, res);
      }
}

namespace {

// Window means over the pixels with alpha != 0 of Copy, windows of
// (2R+1)^2 clipped to the bitmap, kept as running sums: column sums over the
// rows of the window, then a sliding sum along the row. Apply(x, y, mean
// r, g, b) is called for every pixel whose window has count > 0.
template <class Apply>
void WindowMeans(const TCustomBitmap32& Copy, Integer Radius, Apply apply) {
  Integer W = Copy.Width(), H = Copy.Height();
  Int64 R = std::min<Int64>(Radius, std::max(W, H));
  std::vector<Int64> cs(size_t(W) * 4, 0);  // per column: r, g, b, count
  auto addRow = [&](Integer y, Int64 sign) {
    const TColor32* row = Copy.ScanLine(y);
    for (Integer x = 0; x < W; ++x) {
      TColor32 c = row[x];
      if ((c >> 24) == 0) continue;
      Int64* s = &cs[size_t(x) * 4];
      s[0] += sign * Int64((c >> 16) & 0xFF);
      s[1] += sign * Int64((c >> 8) & 0xFF);
      s[2] += sign * Int64(c & 0xFF);
      s[3] += sign;
    }
  };
  for (Int64 y = 0; y <= std::min<Int64>(R, H - 1); ++y) addRow(Integer(y), 1);
  for (Integer y = 0; y < H; ++y) {
    if (y > 0) {
      Int64 enter = y + R, leave = Int64(y) - R - 1;
      if (enter < H) addRow(Integer(enter), 1);
      if (leave >= 0) addRow(Integer(leave), -1);
    }
    Int64 sum[4] = {0, 0, 0, 0};
    for (Int64 x = 0; x <= std::min<Int64>(R, W - 1); ++x)
      for (int k = 0; k < 4; ++k) sum[k] += cs[size_t(x) * 4 + k];
    for (Integer x = 0; x < W; ++x) {
      if (x > 0) {
        Int64 enter = x + R, leave = Int64(x) - R - 1;
        if (enter < W)
          for (int k = 0; k < 4; ++k) sum[k] += cs[size_t(enter) * 4 + k];
        if (leave >= 0)
          for (int k = 0; k < 4; ++k) sum[k] -= cs[size_t(leave) * 4 + k];
      }
      if (sum[3] > 0)
        apply(x, y, Integer(sum[0] / sum[3]), Integer(sum[1] / sum[3]), Integer(sum[2] / sum[3]));
    }
  }
}

}  // namespace

void BoxSmooth(TCustomBitmap32* Bitmap, Integer Radius, TColor32 Color) {
  (void)Color;
  if (!Bitmap || Bitmap->Width() < 3 || Bitmap->Height() < 3 || Radius < 0) return;
  TCustomBitmap32 copy;
  copy.Assign(Bitmap);
  WindowMeans(copy, Radius, [&](Integer x, Integer y, Integer mr, Integer mg, Integer mb) {
    TColor32& p = *Bitmap->PixelPtr(x, y);
    if ((p >> 24) == 0) return;
    Integer r = Integer((p >> 16) & 0xFF), g = Integer((p >> 8) & 0xFF), b = Integer(p & 0xFF);
    auto move = [](Integer c, Integer m) { return std::clamp(c + (m - c) / 3, 0, 255); };
    p = (p & 0xFF000000u) | (TColor32(move(r, mr)) << 16) | (TColor32(move(g, mg)) << 8) | TColor32(move(b, mb));
  });
}

void SelectiveSmooth(TCustomBitmap32* Bitmap, Integer Radius, Integer Threshold) {
  if (!Bitmap || Bitmap->Width() < 3 || Bitmap->Height() < 3 || Radius < 0) return;
  TCustomBitmap32 copy;
  copy.Assign(Bitmap);
  WindowMeans(copy, Radius, [&](Integer x, Integer y, Integer mr, Integer mg, Integer mb) {
    TColor32& p = *Bitmap->PixelPtr(x, y);
    if ((p >> 24) == 0) return;
    Integer r = Integer((p >> 16) & 0xFF), g = Integer((p >> 8) & 0xFF), b = Integer(p & 0xFF);
    if (std::abs(mr - r) <= Threshold || std::abs(mg - g) <= Threshold || std::abs(mb - b) <= Threshold)
      p = (p & 0xFF000000u) | (TColor32(mr) << 16) | (TColor32(mg) << 8) | TColor32(mb);
  });
}

// ---------------------------------------------------------------------------
// Frames

Integer ColorLightness(TColor32 Color) {
  Integer r = Integer((Color >> 16) & 0xFF), g = Integer((Color >> 8) & 0xFF), b = Integer(Color & 0xFF);
  return (Max3(r, g, b) + Min3(r, g, b)) / 2;
}

void DrawShadedFrame(TCustomBitmap32* Bitmap, const TRect& Rect, Integer Inset, Integer Count) {
  if (!Bitmap || Count <= 0) return;
  Integer n = std::min(Count, std::min(Bitmap->Width() / 2, Bitmap->Height() / 2));
  if (n <= 0) return;
  TColor32 base = Bitmap->GetPixelS(Rect.Left, Rect.Top);
  Integer step = ColorLightness(base) / (n + 3);
  if (step == 0) return;
  Byte H, S, L;
  RGBtoHSLInt(base, H, S, L);
  TRect r = Rect;
  Integer grow = n - Inset;
  InflateRectXY(r, grow, grow);
  for (Integer k = 1; k <= n; ++k) {
    Integer l = Integer(L) - step * k;
    TColor32 c = HSLtoRGBInt(H, S, l < 0 ? 0 : l) | 0xFF000000u;
    Bitmap->FrameRectS(r, c);
    InflateRectXY(r, -1, -1);
  }
}

void TilePattern(TCustomBitmap32* Pattern, TCustomBitmap32* Dst, const TRect& Rect, bool AsFrame) {
  if (!Pattern || !Dst) return;
  TRect saved = Dst->ClipRect();
  if (Pattern->Empty() || RectIsEmpty(Rect)) return;
  Dst->SetClipRect(Rect);
  TFinally Done([&] { Dst->SetClipRect(saved); });
  if (!AsFrame) {
    Integer pw = Pattern->Width(), ph = Pattern->Height();
    for (Int64 y = Rect.Top; y < Rect.Bottom; y += ph)
      for (Int64 x = Rect.Left; x <= Int64(Rect.Right) - 1; x += pw) Dst->Draw(Integer(x), Integer(y), Pattern);
  } else {
    // a turned copy; the caller's pattern is never changed
    TCustomBitmap32 tile, corner;
    tile.Assign(Pattern);
    Int64 L = Rect.Left, T = Rect.Top, R = Rect.Right, B = Rect.Bottom;
    for (Int64 x = L; x < R; x += tile.Width()) Dst->Draw(Integer(x), Integer(T), &tile);
    tile.Rotate90();
    corner.Assign(&tile);
    corner.SetDrawMode(dmBlend);
    for (Integer j = 0; j < corner.Height(); ++j)
      for (Integer i = 0; i < corner.Width(); ++i)
        if (i + j < corner.Width()) *corner.PixelPtr(i, j) &= 0x00FFFFFFu;
    // right edge, top to bottom
    for (Int64 y = T; y < B; y += tile.Height())
      Dst->Draw(Integer(R - tile.Width()), Integer(y), y == T ? &corner : &tile);
    tile.Rotate90();
    corner.Rotate90();
    // bottom edge, right to left
    for (Int64 x = R - tile.Width(); x + tile.Width() >= L; x -= tile.Width())
      Dst->Draw(Integer(x), Integer(B - tile.Height()), x == R - tile.Width() ? &corner : &tile);
    tile.Rotate90();
    corner.Rotate90();
    // left edge, bottom to top
    for (Int64 y = B - tile.Height(); y + tile.Height() >= T; y -= tile.Height())
      Dst->Draw(Integer(L), Integer(y), y == B - tile.Height() ? &corner : &tile);
    corner.Rotate90();
    Dst->Draw(Integer(L), Integer(T), &corner);
  }
}
