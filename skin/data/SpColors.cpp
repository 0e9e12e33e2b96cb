#include "skin/data/SpColors.h"

#include <algorithm>
#include <cmath>

TspColor PackSpColor(Integer R, Integer G, Integer B, Integer A) {
  ClampRGB(R, G, B);
  return (Cardinal(Byte(A)) << 24) | (Cardinal(R) << 16) | (Cardinal(G) << 8) | Cardinal(B);
}

void ClampRGB(Integer& R, Integer& G, Integer& B) {
  R = std::clamp(R, 0, 255);
  G = std::clamp(G, 0, 255);
  B = std::clamp(B, 0, 255);
}

void SpColorToHSL(TspColor Color, Single& H, Single& S, Single& L) {
  const double r = ((Color >> 16) & 0xFF) / 255.0, g = ((Color >> 8) & 0xFF) / 255.0, b = (Color & 0xFF) / 255.0;
  const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
  const double l = (mx + mn) / 2;
  double h = 0, s = 0;
  if (mx != mn) {
    const double d = mx - mn;
    s = l >= 0.5 ? d / (2 - mx - mn) : d / (mx + mn);
    if (mx == r)
      h = (g - b) / d;
    else if (mx == g)
      h = (b - r) / d + 2;
    else
      h = (r - g) / d + 4;
    h /= 6;
    if (h < 0) h += 1;
  }
  H = Single(h);
  S = Single(s);
  L = Single(l);
}

namespace {

Integer Channel(double p, double q, double h) {
  h -= std::floor(h);
  double v;
  if (6 * h < 1)
    v = p + (q - p) * 6 * h;
  else if (2 * h < 1)
    v = q;
  else if (3 * h < 2)
    v = p + (q - p) * (2.0 / 3.0 - h) * 6;
  else
    v = p;
  return Integer(std::nearbyint(v * 255));
}

}  // namespace

TspColor HSLToSpColor(Single L, Single S, Single H) {
  const double l = L, s = S, h = H;
  if (s == 0) {
    const Integer c = Integer(std::nearbyint(l * 255));
    return PackSpColor(c, c, c, 255);
  }
  const double q = l > 0.5 ? s + l - s * l : l * (s + 1);
  const double p = 2 * l - q;
  return PackSpColor(Channel(p, q, h + 1.0 / 3.0), Channel(p, q, h), Channel(p, q, h - 1.0 / 3.0), 255);
}

namespace {

// n wrapped once into 0..255 as the adjusters do.
Integer WrapOnce(Integer n) {
  if (n >= 256) n -= 255;
  if (n < 0) n += 255;
  return n;
}

}  // namespace

TspColor SetHueOfColor(TspColor Color, Integer Hue) {
  Single h, s, l;
  SpColorToHSL(Color, h, s, l);
  return HSLToSpColor(l, s, Single(std::clamp(Hue, 0, 255) / 255.0));
}

TspColor ChangeHueOfColor(TspColor Color, Integer Delta) {
  Single h, s, l;
  SpColorToHSL(Color, h, s, l);
  const Integer n = WrapOnce(Integer(std::nearbyint(double(h) * 255)) + Delta);
  return HSLToSpColor(l, s, Single(n / 255.0));
}

TspColor ChangeSatOfColor(TspColor Color, Integer Delta) {
  Single h, s, l;
  SpColorToHSL(Color, h, s, l);
  const Integer n = WrapOnce(Integer(std::nearbyint(double(s) * 255)) + Delta);
  return HSLToSpColor(l, Single(n / 255.0), h);
}

TspColor ChangeBrightnessOfColor(TspColor Color, Integer Delta) {
  return PackSpColor(Integer((Color >> 16) & 0xFF) + Delta, Integer((Color >> 8) & 0xFF) + Delta,
                     Integer(Color & 0xFF) + Delta, 255);
}

void AdjustPixels(TspColor* Bits, Int64 Count, TspColorOp Op, Integer Value) {
  if (!Bits) return;
  if (Op != coSetHue && Value == 0) return;
  for (Int64 i = 0; i < Count; ++i) {
    const TspColor p = Bits[i];
    if ((p >> 24) == 0) continue;
    TspColor c = p;
    switch (Op) {
      case coSetHue: c = SetHueOfColor(p, Value); break;
      case coChangeHue: c = ChangeHueOfColor(p, Value); break;
      case coChangeSat: c = ChangeSatOfColor(p, Value); break;
      case coChangeBrightness: c = ChangeBrightnessOfColor(p, Value); break;
    }
    Bits[i] = (c & 0x00FFFFFFu) | (p & 0xFF000000u);
  }
}
