// The effects' generator and the colour operations and utilities.
#include "bitmap/VaZU32Vudover.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <functional>
#include <memory>
#include <thread>

#include "bitmap/Bmp32_Add_BlendModes.h"
#include "bitmap/Bmp32_Blend.h"
#include "bitmap/Bmp32_LowLevel.h"
#include "bitmap/Bmp32_Resamplers.h"
#include "rtl/ScopeGuard.h"

// ---------------------------------------------------------------------------
// Generator: the class library's linear congruential sequence, one state per
// thread.

namespace {

struct TEffectGenerator {
  Cardinal State = 0;
  bool Seeded = false;
};
thread_local TEffectGenerator GGenerator;
std::atomic<bool> GSeedFixed{false};
std::atomic<Cardinal> GFixedSeed{0};

Cardinal ClockSeed() {
  auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  size_t tid = std::hash<std::thread::id>()(std::this_thread::get_id());
  return Cardinal(uint64_t(now) ^ (uint64_t(now) >> 32) ^ uint64_t(tid) ^ (uint64_t(tid) >> 32));
}

TEffectGenerator& Generator() {
  if (!GGenerator.Seeded) EffectRandomize();
  return GGenerator;
}

size_t PixelCount(const TCustomBitmap32* B) { return size_t(B->Width()) * size_t(B->Height()); }

Integer Clamp255(Integer V) { return V < 0 ? 0 : (V > 255 ? 255 : V); }
Integer Clamp255_64(Int64 V) { return V < 0 ? 0 : (V > 255 ? 255 : Integer(V)); }

inline TColor32 WithRGB(TColor32 A, Integer R, Integer G, Integer B) {
  return (A & 0xFF000000u) | (TColor32(R) << 16) | (TColor32(G) << 8) | TColor32(B);
}

}  // namespace

Cardinal EffectRandom(Cardinal Range) {
  TEffectGenerator& g = Generator();
  g.State = g.State * 0x08088405u + 1u;
  return Cardinal((uint64_t(Range) * g.State) >> 32);
}

void EffectRandomize() {
  GGenerator.State = GSeedFixed.load() ? GFixedSeed.load() : ClockSeed();
  GGenerator.Seeded = true;
}

void EffectRandomSeed(Cardinal Seed) {
  GGenerator.State = Seed;
  GGenerator.Seeded = true;
}

void EffectRandomFixSeed(Cardinal Seed) {
  GFixedSeed.store(Seed);
  GSeedFixed.store(true);
  EffectRandomSeed(Seed);
}

void EffectRandomReleaseSeed() { GSeedFixed.store(false); }

// ---------------------------------------------------------------------------
// Colour operations

bool ColorWithinTolerance(TColor32 C1, TColor32 C2, Integer Tolerance) {
  if (Tolerance == 0) return C1 == C2;
  Integer dR = Integer((C1 >> 16) & 0xFF) - Integer((C2 >> 16) & 0xFF);
  Integer dG = Integer((C1 >> 8) & 0xFF) - Integer((C2 >> 8) & 0xFF);
  Integer dB = Integer(C1 & 0xFF) - Integer(C2 & 0xFF);
  auto ok = [&](Integer d) { return (d < 0 ? -d : d) <= Tolerance; };
  return ok(dR) && ok(dG) && ok(dB) && ok(dR - dG) && ok(dR - dB) && ok(dG - dB);
}

void RemoveRedEye(TCustomBitmap32* Bitmap) {
  if (!Bitmap) return;
  TColor32* p = Bitmap->Bits();
  for (size_t i = 0, n = PixelCount(Bitmap); i < n; ++i) {
    TColor32 c = p[i];
    Single r = Single((c >> 16) & 0xFF), g = Single((c >> 8) & 0xFF), b = Single(c & 0xFF);
    Single d = g + b;
    if (d < 1.0f) d = 1.0f;
    Single q = g > 1.0f ? b / g : b;
    Single k = std::sqrt(q);
    if (k < 0.5f) k = 0.5f;
    if (k > 1.5f) k = 1.5f;
    Single redness = r / d * k;
    if (redness <= 0.7f) continue;
    Single t = 1.775f - (redness * 0.75f + 0.25f);
    if (t < 0) t = 0;
    t = t * t;
    Integer nr = Clamp255(Integer(std::nearbyint(r * t)));
    Integer nb = Clamp255(Integer(std::nearbyint(b * (1.0f - (1.0f - t) / 2.0f))));
    Integer ng = Clamp255(Integer(std::nearbyint(g * (1.0f - (1.0f - t) / 4.0f))));
    p[i] = WithRGB(c, nr, ng, nb);
  }
}

void AdjustLightness(TCustomBitmap32* Bitmap, Integer Percent) {
  if (!Bitmap) return;
  Integer s = Integer(std::nearbyint(double(Percent) * 255.0 / 100.0));
  TColor32* p = Bitmap->Bits();
  for (size_t i = 0, n = PixelCount(Bitmap); i < n; ++i) {
    TColor32 c = p[i];
    if ((c >> 24) == 0) continue;
    Integer ch[3] = {Integer((c >> 16) & 0xFF), Integer((c >> 8) & 0xFF), Integer(c & 0xFF)};
    for (Integer& v : ch) {
      Int64 nv = s > 0 ? v + Int64(255 - v) * s / 255 : v + Int64(v) * s / 255;
      v = Clamp255_64(nv);
    }
    p[i] = WithRGB(c, ch[0], ch[1], ch[2]);
  }
}

void AdjustBrightness(TCustomBitmap32* Bitmap, Integer Amount) {
  if (!Bitmap) return;
  TColor32* p = Bitmap->Bits();
  for (size_t i = 0, n = PixelCount(Bitmap); i < n; ++i) p[i] = LightenColor(p[i], Amount);
}

void AdjustContrast(TCustomBitmap32* Bitmap, Integer Amount) {
  if (!Bitmap || Bitmap->Width() == 0 || Bitmap->Height() == 0) return;
  TColor32* p = Bitmap->Bits();
  for (size_t i = 0, n = PixelCount(Bitmap); i < n; ++i) {
    TColor32 c = p[i];
    Integer ch[3] = {Integer((c >> 16) & 0xFF), Integer((c >> 8) & 0xFF), Integer(c & 0xFF)};
    for (Integer& v : ch) {
      Int64 d = Int64(Amount) * (v > 127 ? v - 127 : 127 - v) / 255;
      v = Clamp255_64(v >= 128 ? v + d : v - d);
    }
    p[i] = WithRGB(c, ch[0], ch[1], ch[2]);
  }
}

Integer MapPercentRange(Integer Value, Integer InLow, Integer InHigh, Integer OutLow, Integer OutHigh) {
  if (InLow == InHigh || OutLow == OutHigh) return 0;
  Integer lo = InLow < InHigh ? InLow : InHigh, hi = InLow < InHigh ? InHigh : InLow;
  if (Value < lo) Value = lo;
  if (Value > hi) Value = hi;
  Extended r = (Extended(OutHigh) - OutLow) / (Extended(InHigh) - InLow) * (Extended(Value) - InLow) + OutLow;
  return Integer(std::nearbyint(r));
}

Integer MapPercent(Integer Value, Integer OutLow, Integer OutHigh) {
  int8_t v = int8_t(Value < -100 ? -100 : (Value > 100 ? 100 : Value));
  return MapPercentRange(v, -100, 100, OutLow, OutHigh);
}

void AdjustSaturation(TCustomBitmap32* Bitmap, Integer Amount) {
  if (!Bitmap || Bitmap->Empty()) return;
  Integer s = MapPercent(Amount, 0, 510);
  Integer T[256];
  for (Integer j = 0; j < 256; ++j) T[j] = (j * s) >> 8;
  TColor32* p = Bitmap->Bits();
  for (size_t i = 0, n = PixelCount(Bitmap); i < n; ++i) {
    TColor32 c = p[i];
    Integer r = Integer((c >> 16) & 0xFF), g = Integer((c >> 8) & 0xFF), b = Integer(c & 0xFF);
    Integer gray = r / 3 + g / 3 + b / 3;
    Integer base = gray - T[gray];
    p[i] = WithRGB(c, Clamp255(base + T[r]), Clamp255(base + T[g]), Clamp255(base + T[b]));
  }
}

void AdjustHueSaturation(TCustomBitmap32* Bitmap, Integer Hue, Integer Saturation) {
  if (!Bitmap) return;
  TColor32* p = Bitmap->Bits();
  for (size_t i = 0, n = PixelCount(Bitmap); i < n; ++i) {
    TColor32 c = p[i];
    Integer r = Integer((c >> 16) & 0xFF), g = Integer((c >> 8) & 0xFF), b = Integer(c & 0xFF);
    Integer mx = Max3(r, g, b), mn = Min3(r, g, b);
    if (mx == mn) continue;
    Integer L = (mx + mn) >> 1;
    Integer S = L < 128 ? (mx - mn) * 255 / (mx + mn) : (mx - mn) * 255 / (510 - mx - mn);
    if (Hue != 0) {
      Integer d = mx - mn, h;
      if (r == mx) h = (g - b) * 60 / d;
      else if (g == mx) h = (b - r) * 60 / d + 120;
      else h = (r - g) * 60 / d + 240;
      Int64 hh = Int64(h) + Hue;
      if (hh < 0) {
        hh += 360;
        if (hh < 0) hh = (hh % 360 + 360) % 360;
      } else if (hh > 360) {
        hh -= 360;
        if (hh > 360) hh %= 360;
      }
      h = Integer(hh);
      Integer sector = h / 60, f = h % 60;
      if (sector & 1) f = 60 - f;
      Integer m = (f * 255 + 30) / 60;
      Integer mid = m - (m - 128) * (255 - S) / 255;
      Integer e = L - 128;
      if (e > 0) mid = mid + (e * (255 - mid) + 64) / 128;
      else if (e < 0) mid = mid + (e * mid) / 128;
      mid = Clamp255(mid);
      switch (sector) {
        case 1: r = mid; g = mx; b = mn; break;
        case 2: r = mn; g = mx; b = mid; break;
        case 3: r = mn; g = mid; b = mx; break;
        case 4: r = mid; g = mn; b = mx; break;
        case 5: r = mx; g = mn; b = mid; break;
        default: r = mx; g = mid; b = mn; break;  // 0 and 6
      }
    }
    if (Saturation != 0) {
      Int64 k;
      if (Saturation < 0) {
        k = Saturation;
      } else {
        Integer D = Int64(S) + Saturation >= 255 ? S : 255 - Saturation;
        k = 65025 / D - 255;
      }
      auto sat = [&](Integer v) { return Clamp255_64(v + (Int64(v) - L) * k / 255); };
      r = sat(r);
      g = sat(g);
      b = sat(b);
    }
    p[i] = WithRGB(c, r, g, b);
  }
}

void AddNoise(TCustomBitmap32* Bitmap, Cardinal Range, bool Mono) {
  if (!Bitmap) return;
  Int64 half = Range >> 1;
  TColor32* p = Bitmap->Bits();
  for (size_t i = 0, n = PixelCount(Bitmap); i < n; ++i) {
    TColor32 c = p[i];
    if ((c >> 24) == 0) continue;
    Int64 ch[3] = {Int64((c >> 16) & 0xFF), Int64((c >> 8) & 0xFF), Int64(c & 0xFF)};
    if (Mono) {
      Int64 v = Int64(EffectRandom(Range)) - half;
      for (Int64& x : ch) x += v;
    } else {
      for (Int64& x : ch) x += Int64(EffectRandom(Range)) - half;
    }
    p[i] = WithRGB(c, Clamp255_64(ch[0]), Clamp255_64(ch[1]), Clamp255_64(ch[2]));
  }
}

void FillColorWithAlpha(TCustomBitmap32* Dst, TCustomBitmap32* Src, TColor32 Color) {
  if (!Dst || !Src) return;
  Integer w = std::min(Dst->Width(), Src->Width()), h = std::min(Dst->Height(), Src->Height());
  for (Integer y = 0; y < h; ++y) {
    const TColor32* s = Src->ScanLine(y);
    TColor32* d = Dst->ScanLine(y);
    for (Integer x = 0; x < w; ++x) d[x] = (s[x] & 0xFF000000u) | (Color & 0x00FFFFFFu);
  }
}

void FillColorKeepAlpha(TCustomBitmap32* Bitmap, TColor32 Color) {
  if (!Bitmap) return;
  TColor32* p = Bitmap->Bits();
  for (size_t i = 0, n = PixelCount(Bitmap); i < n; ++i) p[i] = (p[i] & 0xFF000000u) | (Color & 0x00FFFFFFu);
  Bitmap->Changed();
}

void AlphaFromIntensity(TCustomBitmap32* Dst, TCustomBitmap32* Src, bool All) {
  if (!Dst || !Src) return;
  Integer w = std::min(Dst->Width(), Src->Width()), h = std::min(Dst->Height(), Src->Height());
  for (Integer y = 0; y < h; ++y) {
    const TColor32* s = Src->ScanLine(y);
    TColor32* d = Dst->ScanLine(y);
    for (Integer x = 0; x < w; ++x)
      if (All || (d[x] >> 24) != 0) d[x] = (d[x] & 0x00FFFFFFu) | (TColor32(ColorIntensity(s[x])) << 24);
  }
}

void CopyAlphaRect(TCustomBitmap32* Dst, TCustomBitmap32* Src, const TRect& Rect) {
  if (!Dst || !Src) return;
  TRect r;
  IntersectRects(r, Rect, Dst->BoundsRect());
  IntersectRects(r, r, Src->BoundsRect());
  for (Integer y = r.Top; y < r.Bottom; ++y)
    for (Integer x = r.Left; x < r.Right; ++x) {
      TColor32& d = *Dst->PixelPtr(x, y);
      d = (d & 0x00FFFFFFu) | (Src->GetPixel(x, y) & 0xFF000000u);
    }
}

void TintSoftLight(TCustomBitmap32* Bitmap, TColor32 Color, Integer Percent) {
  if (!Bitmap || Bitmap->Empty()) return;
  TCustomBitmap32 temp;
  temp.SetSize(Bitmap->Width(), Bitmap->Height());
  FillColorWithAlpha(&temp, Bitmap, Color);
  long double ma = std::nearbyint(Extended(Percent) / 100.0L * 255.0L);
  temp.SetMasterAlpha(Cardinal(ma < 0 ? 0 : (ma > 255 ? 255 : ma)));
  temp.SetOnPixelCombine(TPixelCombineEvent(BlendSoftLight));
  temp.SetDrawMode(dmCustom);
  Bitmap->Draw(0, 0, &temp);
}

void ResizeBitmap(TCustomBitmap32* Src, TCustomBitmap32* Dst, Integer NewWidth, Integer NewHeight) {
  if (!Src || !Dst) return;
  TCustomBitmap32 temp;
  new TDraftResampler(&temp);  // installs itself; the bitmap owns it
  temp.SetSize(Src->Width(), Src->Height());
  TDrawMode saved = Src->DrawMode();
  {
    TFinally Done([&] { Src->SetDrawMode(saved); });
    Src->SetDrawMode(dmOpaque);
    temp.Draw(0, 0, Src);
  }
  Dst->SetSize(NewWidth < 0 ? 0 : NewWidth, NewHeight < 0 ? 0 : NewHeight);
  if (!Dst->Empty() && !temp.Empty()) Dst->Draw(Dst->BoundsRect(), temp.BoundsRect(), &temp);
}
